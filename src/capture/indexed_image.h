#pragma once
#include <cstdint>
#include <optional>
#include <vector>

#include "platform/image.h"

namespace orv {

// A picture as palette indices, one byte per pixel, rows top-down.
struct IndexedImage {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> palette;  // 0x00RRGGBB, at most 256 entries
    std::vector<uint8_t> indices;
};

// The image with its own colours as the palette (in order of first
// appearance), or nothing when it holds more than maxColours colours.
std::optional<IndexedImage> IndexExactly(const Image& image, std::size_t maxColours = 256);

}  // namespace orv
