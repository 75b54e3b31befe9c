#pragma once
// Windows' "Use the Print screen key to open screen capture": while it is on,
// Print Screen opens the system's capture tool and copies nothing.
#include <optional>
#include <string>

#include "state/program_state.h"

namespace orv {

inline constexpr const char* kKeyboardKeyPath = "Control Panel\\Keyboard\\";
inline constexpr const char* kSnippingValue = "PrintScreenKeyForSnippingEnabled";
// The program's own memory of "do not ask again", kept apart from its settings.
inline constexpr const char* kNoticesKeyPath = "SOFTWARE\\Halvorn\\Orvanexv3\\Notices\\";
inline constexpr const char* kSnippingDeclined = "PrintScreenSnipping";
// From this build on (Windows 11 2022 Update and later), Windows turns the
// setting on unless the user has chosen otherwise.
inline constexpr unsigned kSnippingDefaultOnBuild = 22621;

// The setting as Windows reads it: the user's DWORD, else the build's default.
// `stored` is the registry data, nullopt when the value is missing.
bool SnippingKeyOn(const std::optional<std::string>& stored, unsigned build);

// With Print Screen as the capture key and the setting on, explains once and
// offers to switch the setting off for this user (only on Yes). No is
// remembered, and the question is not asked again.
void CheckPrintScreenSnipping(Context& ctx);

}  // namespace orv
