#pragma once
// Start-up: the resident instance or a messenger to it.
#include <string>

#include "settings/program_state.h"

namespace orv {

// PrinterListAvailable is false only on Windows 95.
void ClassifyOs(Context& ctx);
// The whole argument text, trimmed and lower-cased.
std::string NormaliseCommandLine(const std::string& commandLine);
// Passes the request of a second start to the resident instance as keys.
void SendToResident(Context& ctx, const std::string& normalisedCommandLine);

}  // namespace orv
