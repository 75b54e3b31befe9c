#include "imaging/bmp_encoder.h"

#include "imaging/encoding.h"
#include "platform/error.h"

namespace orv {

std::vector<uint8_t> EncodeBmp(const Image& image) {
    using namespace encoding;
    RequirePicture(image);
    constexpr uint32_t kHeaders = 14 + 40;
    constexpr uint32_t kPixelsPerMetre = 3780;  // 96 dpi, the screen's
    const uint64_t stride = (uint64_t(image.width) * 3 + 3) & ~uint64_t(3);
    const uint64_t imageBytes = stride * uint64_t(image.height);
    if (imageBytes + kHeaders > 0xFFFFFFFFu) throw err::Overflow();

    std::vector<uint8_t> out;
    out.reserve(kHeaders + imageBytes);  // exact: no growth, no slack
    out.push_back('B');
    out.push_back('M');
    Put32LE(out, static_cast<uint32_t>(kHeaders + imageBytes));
    Put32LE(out, 0);
    Put32LE(out, kHeaders);
    Put32LE(out, 40);
    Put32LE(out, static_cast<uint32_t>(image.width));
    Put32LE(out, static_cast<uint32_t>(image.height));  // positive: bottom-up rows
    Put16LE(out, 1);
    Put16LE(out, 24);
    Put32LE(out, 0);  // BI_RGB
    Put32LE(out, static_cast<uint32_t>(imageBytes));
    Put32LE(out, kPixelsPerMetre);
    Put32LE(out, kPixelsPerMetre);
    Put32LE(out, 0);
    Put32LE(out, 0);

    // Each row is converted in a small buffer that stays in the cache and
    // then appended: the file's buffer is written once. (Sizing it first
    // zero-filled it, a second pass over freshly committed pages, which the
    // Windows heap hands out anew for every block this large.)
    std::vector<uint8_t> line(stride, 0);
    for (int y = image.height - 1; y >= 0; --y) {
        const uint32_t* row = &image.pixels[std::size_t(y) * image.width];
        uint8_t* dst = line.data();
        for (int x = 0; x < image.width; ++x, dst += 3) {
            dst[0] = static_cast<uint8_t>(row[x]);
            dst[1] = static_cast<uint8_t>(row[x] >> 8);
            dst[2] = static_cast<uint8_t>(row[x] >> 16);
        }
        out.insert(out.end(), line.begin(), line.end());
    }
    return out;
}

}  // namespace orv
