#include "imaging/exact_palette.h"

#include "imaging/encoding.h"

namespace orv {

int ExactPalette::Find(uint32_t c, std::size_t maxColours) {
    if (c == last_) return lastIndex_;  // screens are mostly runs of one colour
    uint32_t h = (c * 2654435761u) >> 22;
    while (keys_[h] != 0 && keys_[h] != c + 1) h = (h + 1) & (kSlots - 1);
    if (keys_[h] == 0) {
        if (colours_.size() >= maxColours) return -1;
        keys_[h] = c + 1;
        values_[h] = static_cast<uint8_t>(colours_.size());
        colours_.push_back(c);
    }
    last_ = c;
    return lastIndex_ = values_[h];
}

std::optional<ExactPalette> ExactPalette::Of(const Image& image, std::size_t maxColours) {
    if (maxColours > 256) maxColours = 256;
    ExactPalette palette;
    // Runs of one colour are skipped here, without a call per pixel.
    uint32_t previous = image.pixels.empty() ? 0 : ~image.pixels[0];
    for (uint32_t p : image.pixels) {
        if (p == previous) continue;
        previous = p;
        if (palette.Find(encoding::Rgb(p), maxColours) < 0) return std::nullopt;
    }
    return palette;
}

void ExactPalette::MapRow(const uint32_t* pixels, int count, uint8_t* indices) {
    for (int x = 0; x < count; ++x) {
        const uint32_t c = encoding::Rgb(pixels[x]);
        indices[x] = static_cast<uint8_t>(c == last_ ? lastIndex_ : Find(c, 0));
    }
}

}  // namespace orv
