#pragma once
#include "platform/image.h"

namespace orv::bench {

// Generated screen shots of the kinds people save, scaled to the size (the
// text keeps its pixel size, as on a screen of that resolution):
// application windows full of anti-aliased text on a plain desktop,
Image TextScreenshot(int width, int height);
// windows over a photograph as wallpaper,
Image RichScreenshot(int width, int height);
// a photograph filling the screen,
Image PhotoScreenshot(int width, int height);

// A flat user interface: solid fills, crisp text, icons; at most 256 colours.
Image FlatScreenshot(int width, int height);

}  // namespace orv::bench
