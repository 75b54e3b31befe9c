#pragma once
// Loading and saving the settings record in the registry.
#include "settings/program_state.h"

namespace orv {

// Fills ctx.state.Settings from the registry (shared or per user, as the chooser says).
void LoadSettings(Context& ctx);
// Writes ctx.state.Settings and the start-up entry.
void SaveSettings(Context& ctx);
// The start-up entry's command: the program's own path and " -startup".
std::string StartupCommand(Context& ctx);

}  // namespace orv
