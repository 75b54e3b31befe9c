#pragma once
// Telling the picture a capture asked for from whatever the clipboard held before.
#include <cstdint>

#include "state/program_state.h"

namespace orv {

// How long the system gets to put its copy of the screen on the clipboard.
constexpr double kNewPictureWaitSeconds = 2.0;
// How often the clipboard is looked at meanwhile.
constexpr double kNewPictureLookSeconds = 0.01;

// True when the clipboard holds the picture the capture asked for.
bool NewPictureArrived(Context& ctx);
// Waits, serving window messages, until such a picture arrives or the time is up.
bool WaitForNewPicture(Context& ctx, double seconds = kNewPictureWaitSeconds);
// Says once per run why a capture ended without a picture.
void TellNoNewPicture(Context& ctx);
// Remembers the program's own write, which never counts as a capture.
void NoteOwnClipboardWrite(Context& ctx);

}  // namespace orv
