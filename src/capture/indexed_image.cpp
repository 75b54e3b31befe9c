#include "capture/indexed_image.h"

#include <array>

#include "capture/encoding.h"

namespace orv {

namespace {

// Open addressing over four times the largest palette; a key holds
// colour + 1 so that zero marks a free slot.
class ColourTable {
public:
    // The colour's index, adding it when there is room; -1 when full.
    int Find(uint32_t c, std::vector<uint32_t>& palette, std::size_t maxColours) {
        if (c == last_) return lastIndex_;  // screens are mostly runs of one colour
        uint32_t h = (c * 2654435761u) >> 22;
        while (keys_[h] != 0 && keys_[h] != c + 1) h = (h + 1) & (kSlots - 1);
        if (keys_[h] == 0) {
            if (palette.size() == maxColours) return -1;
            keys_[h] = c + 1;
            values_[h] = static_cast<uint8_t>(palette.size());
            palette.push_back(c);
        }
        last_ = c;
        return lastIndex_ = values_[h];
    }

private:
    static constexpr uint32_t kSlots = 1024;
    std::array<uint32_t, kSlots> keys_{};
    std::array<uint8_t, kSlots> values_{};
    uint32_t last_ = 0xFFFFFFFFu;  // never a masked colour
    int lastIndex_ = 0;
};

}  // namespace

std::optional<IndexedImage> IndexExactly(const Image& image, std::size_t maxColours) {
    if (maxColours > 256) maxColours = 256;
    IndexedImage out;
    out.width = image.width;
    out.height = image.height;
    // Count first, so a many-coloured picture costs no index buffer.
    ColourTable table;
    for (uint32_t p : image.pixels)
        if (table.Find(encoding::Rgb(p), out.palette, maxColours) < 0) return std::nullopt;
    out.indices.resize(image.pixels.size());
    for (std::size_t i = 0; i < image.pixels.size(); ++i)
        out.indices[i] = static_cast<uint8_t>(table.Find(encoding::Rgb(image.pixels[i]), out.palette, maxColours));
    return out;
}

}  // namespace orv
