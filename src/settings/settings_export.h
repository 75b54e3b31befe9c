#pragma once
// The settings as a registry script for the system's registry editor.
#include <string>

#include "settings/settings_record.h"

namespace orv {

inline constexpr const char* kExportFileName = "orvanex.reg";

// The whole file: header, the machine-wide settings key, one string value per
// setting, lines ending in CR LF. Empty strings stay empty; backslashes and
// double quotes are escaped as the script format requires.
std::string SettingsExportText(const SettingsRecord& record, char decimalSeparator);

// The file's bytes. Plain ASCII stays as the text is; anything else is written
// as UTF-16LE with its byte-order mark, the form the registry editor reads
// whatever the system's code page.
std::string SettingsExportFile(const SettingsRecord& record, char decimalSeparator);

// A value text escaped for the inside of a quoted script string: up to its
// first NUL, line breaks (which would end the line there) written as blanks.
std::string EscapeRegText(const std::string& text);

}  // namespace orv
