#pragma once
// What the encoders are measured against.
#include <cstdint>
#include <vector>

#include "platform/image.h"

namespace orv::bench {

// A picture as palette indices, one byte per pixel, rows top-down.
struct IndexedImage {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> palette;  // 0x00RRGGBB
    std::vector<uint8_t> indices;
};

// The textbook median cut: boxes over the distinct colours, the most
// populous box split at the median of its longest side, entries the box
// means, each pixel mapped to its exactly nearest entry.
IndexedImage TextbookMedianCut(const Image& image, int colours = 256);

Image Expand(const IndexedImage& image);
double Psnr(const Image& a, const Image& b);

}  // namespace orv::bench
