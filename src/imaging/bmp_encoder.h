#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/image.h"

namespace orv {

// A 24-bit, bottom-up Windows bitmap file, made in pieces of whole rows (the
// headers in front of the first) of about 64 KB: piece `index` replaces the
// contents of `out`, and past the last piece the call returns false. A save
// writes each piece from one reused buffer; a whole file in one block would
// be a frame's worth of fresh pages on every save, as the Windows heap hands
// blocks this large out from new virtual memory and returns them on free.
bool BmpPiece(const Image& image, std::size_t index, std::vector<uint8_t>& out);

// All the pieces in one block.
std::vector<uint8_t> EncodeBmp(const Image& image);

}  // namespace orv
