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
// What became of the counter at Exit, for the user to be told.
enum class CounterAtExit {
    Stored,          // where the settings in use keep it (or per user, as before)
    NowKeptPerUser,  // the shared key refused it for the first time; this user's key holds it
    Lost,            // no key took it: the next start counts on from the last stored value
};
// Exit's writes: Counter and Enabled. A counter the shared key refuses is kept per user.
// Shows nothing: the caller says what happened when someone can read it.
CounterAtExit SaveExitValues(Context& ctx);
// The start-up entry's command: the program's own path, quoted, and " -startup".
std::string StartupCommand(Context& ctx);

}  // namespace orv
