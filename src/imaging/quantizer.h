#pragma once
#include "imaging/exact_palette.h"

namespace orv {

// A reduced palette and the index of every 5-6-5 bit colour bin.
struct QuantizedPalette {
    std::vector<uint32_t> colours;  // 0x00RRGGBB
    std::vector<uint8_t> lookup;    // by bin
    static uint32_t BinOf(uint32_t c) {
        return ((c >> 8) & 0xF800) | ((c >> 5) & 0x07E0) | ((c >> 3) & 0x001F);
    }
    void MapRow(const uint32_t* pixels, int count, uint8_t* indices) const {
        for (int x = 0; x < count; ++x) indices[x] = lookup[BinOf(pixels[x])];
    }
};

// Reduces a many-coloured picture to at most `colours` colours (2..256), no
// dithering. Colours are gathered in a 5-6-5 bit histogram; the palette comes
// from a variance-driven median cut over the histogram, refined by a few
// rounds of k-means, and each pixel takes the entry nearest its bin.
QuantizedPalette Quantize(const Image& image, int colours = 256);

}  // namespace orv
