#pragma once
// The pixel loops that are no encoder's: the clipboard's bitmap to our
// picture, the print effects and the PNG filters alone, in both builds.
#include <vector>

#include "native_rows.h"

namespace orv::bench {

// One "loop" line a loop and shot: name, milliseconds (median).
void LoopRows(const std::vector<Shot>& shots);

}  // namespace orv::bench
