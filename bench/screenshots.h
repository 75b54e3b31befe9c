#pragma once
#include "platform/image.h"

namespace orv::bench {

// A desktop with overlapping windows, anti-aliased text, gradients and a
// photograph-like area: tens of thousands of colours.
Image RichScreenshot(int width, int height);

// A flat user interface: solid fills, crisp text, icons; at most 256 colours.
Image FlatScreenshot(int width, int height);

}  // namespace orv::bench
