#include "capture/indexed_image.h"

#include <array>

#include "capture/encoding.h"

namespace orv {

std::optional<IndexedImage> IndexExactly(const Image& image, std::size_t maxColours) {
    if (maxColours > 256) maxColours = 256;
    IndexedImage out;
    out.width = image.width;
    out.height = image.height;
    out.indices.resize(image.pixels.size());

    // Open addressing over four times the largest palette; a key holds
    // colour + 1 so that zero marks a free slot.
    constexpr uint32_t kSlots = 1024;
    std::array<uint32_t, kSlots> keys{};
    std::array<uint8_t, kSlots> values{};
    uint32_t last = 0xFFFFFFFFu;  // never a masked colour
    uint8_t lastIndex = 0;
    const std::size_t n = image.pixels.size();
    for (std::size_t i = 0; i < n; ++i) {
        const uint32_t c = encoding::Rgb(image.pixels[i]);
        if (c != last) {  // screens are mostly runs of one colour
            uint32_t h = (c * 2654435761u) >> 22;
            while (keys[h] != 0 && keys[h] != c + 1) h = (h + 1) & (kSlots - 1);
            if (keys[h] == 0) {
                if (out.palette.size() == maxColours) return std::nullopt;
                keys[h] = c + 1;
                values[h] = static_cast<uint8_t>(out.palette.size());
                out.palette.push_back(c);
            }
            last = c;
            lastIndex = values[h];
        }
        out.indices[i] = lastIndex;
    }
    return out;
}

}  // namespace orv
