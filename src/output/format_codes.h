#pragma once
// The bracketed codes of file-name templates, headers and footers.
#include <string>

#include "state/program_state.h"

namespace orv {

// Replaces every code written in the text (letters compared without regard to
// case) by its value; values are taken as they are, never read for codes.
// fileNameFlag is true when the text is the image's own file name; each code's
// value then has separators and characters a name cannot hold replaced (see
// FileNamePart), so a value never picks the folder. On any failure, a result
// beyond 32 KiB included, the text comes back unchanged.
std::string ExpandFormatCodes(Context& ctx, const std::string& text, bool fileNameFlag);

}  // namespace orv
