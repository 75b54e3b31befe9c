#pragma once
// Prints the current capture on one page of the chosen printer.
#include <functional>

#include "state/program_state.h"

namespace orv {

// copyAllToClipboard puts the capture's whole image on the clipboard and tells
// the user itself when it cannot. The job reports its own failures; only a
// failure to end a half-printed document after another failure reaches the
// caller.
void PrintCapture(Context& ctx, const std::function<void()>& copyAllToClipboard);

}  // namespace orv
