#pragma once
// Telling the user about Windows' Print Screen setting (capture/snipping_setting.h).
#include "capture/snipping_setting.h"

namespace orv {

// The program's own memory of "do not ask again", kept apart from its settings.
inline constexpr const char* kNoticesKeyPath = "SOFTWARE\\Halvorn\\Orvanexv3\\Notices\\";
inline constexpr const char* kSnippingDeclined = "PrintScreenSnipping";

// With the setting on, whatever the capture key: explains once a run that the
// Print Screen key itself is taken by Windows, and offers to switch the
// setting off for this user (only on Yes). No is remembered, and the question
// is not asked again.
void CheckPrintScreenSnipping(Context& ctx);

}  // namespace orv
