#pragma once
#include <cstdint>
#include <vector>

#include "platform/image.h"

namespace orv {

// A GIF89a file: the picture's own colours when it has at most 256,
// otherwise a quantised palette (no dithering). Interlaced files store rows
// in the four-pass order so viewers can show a coarse picture early.
std::vector<uint8_t> EncodeGif(const Image& image);

}  // namespace orv
