#pragma once
// Bringing the program to the front before it opens a window the user must
// answer. A capture started by the polled key comes with no right to the
// foreground (the key's press went to the application in front), so the
// window would open behind it and the user's typing would go there.
#include "state/program_state.h"

namespace orv {

// Takes the foreground for the window (0: the owner of the program's boxes
// and dialogs). When the system refuses, an Alt key event lifts its
// foreground lock and the program tries once more while Alt is down, so the
// key's release reaches the program and opens no menu in the application
// behind. False when even that was refused (the window then opens behind).
bool ComeForward(Context& ctx, platform::WindowId window = 0);

// A message box that comes forward with the keyboard; MsgBox's answer.
int ShowBox(Context& ctx, const std::string& text, const std::string& title, unsigned style);

}  // namespace orv
