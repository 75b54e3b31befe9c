#pragma once
// Telling the picture a capture asked for from whatever the clipboard held before.
#include <cstdint>

#include "state/program_state.h"

namespace orv {

// How long the system gets to put its copy of the screen on the clipboard.
constexpr double kNewPictureWaitSeconds = 2.0;

// True when a bitmap that the program did not put there has arrived on the
// clipboard since its sequence number was `mark`.
bool NewPictureArrived(Context& ctx, uint32_t mark);
// Waits, serving window messages, until such a picture arrives or the time is up.
bool WaitForNewPicture(Context& ctx, uint32_t mark, double seconds = kNewPictureWaitSeconds);
// Says once per run why a capture ended without a picture.
void TellNoNewPicture(Context& ctx);
// Remembers the program's own write, which never counts as a capture.
void NoteOwnClipboardWrite(Context& ctx);

}  // namespace orv
