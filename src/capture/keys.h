#pragma once
// Waiting while serving window messages, and the synthesised screen-copy keys.
#include "state/program_state.h"

namespace orv {

// Waits at least `seconds` on the monotonic clock, processing messages at least once.
void PumpPause(Context& ctx, double seconds);
// The system copies the whole screen to the clipboard; only what comes after
// the keys counts as the capture's picture. While Windows takes Print Screen
// for its capture tool, the program copies the screen itself instead. False
// when that copy failed and the user has been told.
bool SimulatePrintScreen(Context& ctx);
// The system copies the active window to the clipboard, as above.
bool SimulateAltPrintScreen(Context& ctx);

}  // namespace orv
