#pragma once
// What the encoders are measured against.
#include <cstdint>
#include <vector>

#include "capture/indexed_image.h"
#include "platform/image.h"

namespace orv::bench {

// libpng at its defaults, 8-bit RGB, written to memory.
std::vector<uint8_t> LibpngEncode(const Image& image);

// The textbook median cut: boxes over the distinct colours, the most
// populous box split at the median of its longest side, entries the box
// means, each pixel mapped to its exactly nearest entry.
IndexedImage TextbookMedianCut(const Image& image, int colours = 256);

Image Expand(const IndexedImage& image);
double Psnr(const Image& a, const Image& b);

}  // namespace orv::bench
