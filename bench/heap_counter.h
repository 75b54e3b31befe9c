#pragma once
#include <cstddef>

namespace orv::bench {

// Bytes held through operator new right now, and the most held since the
// last ResetPeak.
std::size_t HeapInUse();
std::size_t HeapPeak();
void ResetPeak();

}  // namespace orv::bench
