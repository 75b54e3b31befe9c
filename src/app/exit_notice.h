#pragma once
// What Exit could not store, told when someone can answer: at once after the
// tray's Exit; after an end of session, "-exit" or a Restart Manager close
// (where a box would hold up sign-out or the installer) at the next start.
#include "state/program_state.h"
#include "state/settings_store.h"

namespace orv {

inline constexpr const char* kExitNoticeValue = "ExitCounter";  // under kNoticesKeyPath

void TellCounterAtExit(Context& ctx, CounterAtExit what, bool userPresent);
// At the resident's start: the notice an unattended exit left, shown once.
void ShowExitNotice(Context& ctx);

}  // namespace orv
