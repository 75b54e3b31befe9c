#pragma once
// The registry access layer: reads that never fail (a default stands in),
// writes that report success, and the program's box for unexpected errors.
#include <string>

#include "state/program_state.h"

namespace orv {

inline constexpr const char* kSettingsKeyPath = "SOFTWARE\\Halvorn\\Orvanexv3\\";
inline constexpr const char* kRunKeyPath = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run\\";
inline constexpr std::size_t kRegBufferSize = 255;  // characters
// The longest text a read gives back: the buffer less the text's terminator.
// Text boxes hold no more, so nothing typed is lost at the next start.
inline constexpr std::size_t kRegTextLimit = kRegBufferSize - 1;

std::string GetRegValue(Context& ctx, platform::RegRoot root, const std::string& path,
                        const std::string& name, const std::string& defaultText);
bool SetRegValue(Context& ctx, platform::RegRoot root, const std::string& path,
                 const std::string& name, const std::string& text);
bool DeleteRegValue(Context& ctx, platform::RegRoot root, const std::string& path,
                    const std::string& name);
// Whether the value is there at all (too long to read counts as there).
bool RegValueExists(Context& ctx, platform::RegRoot root, const std::string& path,
                    const std::string& name);

// The root that holds the settings for a chooser value.
inline platform::RegRoot SettingsRoot(int16_t globalSettings) {
    return globalSettings == 1 ? platform::RegRoot::LocalMachine : platform::RegRoot::CurrentUser;
}

}  // namespace orv
