#pragma once
// The bracketed codes of file-name templates, headers and footers.
#include <string>

#include "settings/program_state.h"

namespace orv {

// Expands every code in the order of the code table, letters compared without
// regard to case. fileNameFlag is true when the text is the image's own file
// name; each code's value then has separators and characters a name cannot
// hold replaced (see FileNamePart), so a value never picks the folder. On any
// failure the text comes back unchanged.
std::string ExpandFormatCodes(Context& ctx, const std::string& text, bool fileNameFlag);

}  // namespace orv
