#pragma once
// Windows' "Use the Print screen key to open screen capture": while it is on,
// Print Screen opens the system's capture tool and copies nothing, whether
// the user presses it or a program synthesises it (the system matches its
// hot keys against injected input too).
#include <optional>
#include <string>

#include "state/program_state.h"

namespace orv {

inline constexpr const char* kKeyboardKeyPath = "Control Panel\\Keyboard\\";
inline constexpr const char* kSnippingValue = "PrintScreenKeyForSnippingEnabled";
// From this build on (Windows 11 2022 Update and later), Windows turns the
// setting on unless the user has chosen otherwise.
inline constexpr unsigned kSnippingDefaultOnBuild = 22621;

// The setting as Windows reads it: the user's DWORD, else the build's default.
// `stored` is the registry data, nullopt when the value is missing.
bool SnippingKeyOn(const std::optional<std::string>& stored, unsigned build);

// Whether Print Screen may open the capture tool now: the setting is on, or
// was on earlier in this run (Windows may go on using it until the PC
// restarts, even after it was switched off).
bool PrintScreenOpensCapture(Context& ctx);

}  // namespace orv
