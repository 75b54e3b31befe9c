// Clipboard bitmap blocks from other programs: any bytes at all.
#include <vector>

#include "fuzz_target.h"
#include "platform/dib_decode.h"

namespace orv::fuzz {

void FuzzDib(const uint8_t* data, std::size_t size) {
    // An exact-size copy, so reading one byte past the block is caught.
    const std::vector<uint8_t> block(data, data + size);
    const auto image = DecodePackedDib(block.data(), block.size());
    if (!image) return;
    Require(image->width > 0 && image->height > 0, "empty picture accepted");
    Require(image->pixels.size() == std::size_t(image->width) * image->height, "pixel count");
    // Every row must have come out of the block.
    Require(std::size_t(image->width) * image->height <= size * 8, "more pixels than bits");
    for (uint32_t p : image->pixels) Require(p <= 0xFFFFFF, "a pixel with a top byte");
}

}  // namespace orv::fuzz
