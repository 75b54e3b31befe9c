#pragma once
#include <cstdint>
#include <vector>

#include "platform/image.h"

namespace orv {

// A PNG file: palette-based (1, 2, 4 or 8 bits a pixel) when the picture has
// at most 256 colours, 8-bit RGB otherwise. Tuned for screen shots: quick
// deflate, per-row filters chosen by a cheap estimate.
std::vector<uint8_t> EncodePng(const Image& image);

}  // namespace orv
