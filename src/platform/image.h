#pragma once
#include <cstdint>
#include <vector>

namespace orv {

// A 32-bit picture, rows top-down, each pixel 0x00RRGGBB.
struct Image {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;

    Image() = default;
    Image(int w, int h, uint32_t fill = 0)
        : width(w), height(h), pixels(std::size_t(w) * h, fill) {}
    bool empty() const { return width <= 0 || height <= 0; }
    uint32_t& at(int x, int y) { return pixels[std::size_t(y) * width + x]; }
    uint32_t at(int x, int y) const { return pixels[std::size_t(y) * width + x]; }
    bool operator==(const Image&) const = default;
};

}  // namespace orv
