#pragma once
// Start-up: the resident instance or a messenger to it.
#include <string>

#include "state/program_state.h"

namespace orv {

// Ends the running resident as its tray Exit would (used by the uninstaller,
// which must not remove an exe that is still running); never starts one.
inline constexpr const char* kExitSwitch = "-exit";
// How long "-exit" waits for the resident to have ended.
constexpr double kResidentExitSeconds = 15;
// Starts the resident again, as "-startup" does, when the last "-exit" ended
// one for this user (the installer's last step after an upgrade); otherwise
// does nothing.
inline constexpr const char* kRestartSwitch = "-restart";
// Under kNoticesKeyPath: "-exit" ended a resident that "-restart" has not yet started again.
inline constexpr const char* kEndedByExitValue = "EndedByExit";

// PrinterListAvailable is false only on Windows 95.
void ClassifyOs(Context& ctx);
// The whole argument text, trimmed and lower-cased.
std::string NormaliseCommandLine(const std::string& commandLine);
// Passes the request of a second start to the resident instance as keys.
void SendToResident(Context& ctx, const std::string& normalisedCommandLine);

}  // namespace orv
