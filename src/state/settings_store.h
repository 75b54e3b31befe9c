#pragma once
// Loading and saving the settings record in the registry.
#include "state/program_state.h"

namespace orv {

// What loading gives where nothing is stored: the record's defaults, the
// save folder in the user's Pictures folder.
SettingsRecord DefaultSettings(Context& ctx);
// Fills ctx.state.Settings from the registry (shared or per user, as the chooser says).
void LoadSettings(Context& ctx);
// Writes ctx.state.Settings and the start-up entry. When the shared key
// refuses, offers (once a run) to keep this user's settings per user.
void SaveSettings(Context& ctx);
// Exit's writes: Counter and Enabled. A refused counter is kept per user, or reported.
void SaveExitValues(Context& ctx);
// The start-up entry's command: the program's own path, quoted, and " -startup".
std::string StartupCommand(Context& ctx);

}  // namespace orv
