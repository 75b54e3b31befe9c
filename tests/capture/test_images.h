#pragma once
// Pictures for the image tests, each reproducible from its seed.
#include <cstdint>

#include "platform/image.h"

namespace orv::testing {

// Every pixel an independent colour: as many colours as pixels, near enough.
inline Image Noise(int w, int h, uint32_t seed = 1) {
    Image img(w, h);
    uint32_t s = seed * 2654435761u + 1;
    for (auto& p : img.pixels) {
        s = s * 1664525u + 1013904223u;
        p = s >> 8;
    }
    return img;
}

// Exactly min(colours, w*h) distinct colours, scattered so that no filter
// or run gets an easy time; the top byte carries junk the file must drop.
inline Image FewColours(int w, int h, int colours, uint32_t seed = 7) {
    Image img(w, h);
    uint32_t s = seed;
    for (std::size_t i = 0; i < img.pixels.size(); ++i) {
        s = s * 1664525u + 1013904223u;
        const uint32_t k = i < uint32_t(colours) ? uint32_t(i) : (s >> 8) % uint32_t(colours);
        img.pixels[i] = ((k * 0x9E3779B1u) & 0x00FFFFFFu) | (s & 0xFF000000u);
    }
    return img;
}

// Smooth ramps in all three channels.
inline Image Gradient(int w, int h) {
    Image img(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.at(x, y) = uint32_t(x * 255 / (w > 1 ? w - 1 : 1)) << 16 |
                           uint32_t(y * 255 / (h > 1 ? h - 1 : 1)) << 8 |
                           uint32_t((x + y) * 255 / (w + h));
    return img;
}

inline Image WithoutTopByte(Image img) {
    for (auto& p : img.pixels) p &= 0x00FFFFFFu;
    return img;
}

}  // namespace orv::testing
