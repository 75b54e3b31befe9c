#pragma once
// Reads the device-independent bitmap blocks other programs leave on the
// clipboard: a header (12-byte core, 40-byte info, 52/56-byte versions with
// masks, 108/124-byte versions 4 and 5), optional masks, a colour table, then
// rows of 1, 4, 8, 16, 24 or 32 bits, bottom-up or top-down. The block comes
// from another process, so every size is checked against the block before use.
#include <cstddef>
#include <cstdint>
#include <optional>

#include "platform/image.h"

namespace orv {

// The picture, or nothing when the block is not an uncompressed bitmap this
// reader understands or does not hold everything its header promises.
std::optional<Image> DecodePackedDib(const uint8_t* block, std::size_t size);

}  // namespace orv
