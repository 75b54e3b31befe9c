#pragma once
// Waiting while the program's windows stay served, and retrying what another
// program may briefly block (the clipboard).
#include <functional>

#include "platform/clock.h"
#include "platform/ui.h"

namespace orv::platform {

// Waits at least `seconds` on the monotonic clock, processing messages at least once.
void PumpPause(Ui& ui, Clock& clock, double seconds);
// Runs op up to ten times about 0.1 s apart (pausing before each); throws the
// last orv::Error when none succeeded.
void RetryWhileBusy(Ui& ui, Clock& clock, const std::function<void()>& op);

}  // namespace orv::platform
