#pragma once
// Names Windows would read as something other than a plain file.
#include <string>

namespace orv {

// False for a path that would write somewhere the user did not mean: a ':'
// beyond the drive (a hidden stream), a device name as a base name with any
// extension (NUL, CON, COM1, ...), control or wildcard characters, a part
// ending in a dot or blank (silently dropped), or the \\.\ and \\?\ forms.
bool IsPlainFilePath(const std::string& path);

// A code's value made fit for the inside of a file name: separators, ':' and
// every character Windows refuses in a name become '_', so the value can
// neither choose the folder nor make the name unusable.
std::string FileNamePart(const std::string& value);

}  // namespace orv
