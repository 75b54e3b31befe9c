#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "platform/image.h"

namespace orv {

// A picture's own colours as a palette (in order of first appearance), with
// a lookup from colour to index, so encoders can index row by row.
class ExactPalette {
  public:
    // Nothing when the picture holds more than maxColours (at most 256) colours.
    static std::optional<ExactPalette> Of(const Image& image, std::size_t maxColours = 256);

    const std::vector<uint32_t>& colours() const { return colours_; }
    void MapRow(const uint32_t* pixels, int count, uint8_t* indices);

  private:
    // Open addressing over four times the largest palette; a key holds
    // colour + 1 so that zero marks a free slot.
    static constexpr uint32_t kSlots = 1024;
    int Find(uint32_t rgb, std::size_t maxColours);  // -1 when a new colour finds no room

    std::vector<uint32_t> colours_;
    std::array<uint32_t, kSlots> keys_{};
    std::array<uint8_t, kSlots> values_{};
    uint32_t last_ = 0xFFFFFFFFu;  // never a masked colour
    int lastIndex_ = 0;
};

}  // namespace orv
