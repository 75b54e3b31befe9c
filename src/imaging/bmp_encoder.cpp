#include "imaging/bmp_encoder.h"

#include <algorithm>

#include "imaging/encoding.h"
#include "platform/error.h"

namespace orv {
namespace {

constexpr uint32_t kHeaders = 14 + 40;
constexpr std::size_t kPieceBytes = 64 * 1024;

uint64_t Stride(const Image& image) {
    return (uint64_t(image.width) * 3 + 3) & ~uint64_t(3);
}

// The rows' bytes, checked against the 32-bit sizes of the headers.
uint64_t ImageBytes(const Image& image) {
    encoding::RequirePicture(image);
    const uint64_t bytes = Stride(image) * uint64_t(image.height);
    if (bytes + kHeaders > 0xFFFFFFFFu) throw err::Overflow();
    return bytes;
}

void PutHeaders(std::vector<uint8_t>& out, const Image& image, uint64_t imageBytes) {
    using namespace encoding;
    constexpr uint32_t kPixelsPerMetre = 3780;  // 96 dpi, the screen's
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
}

}  // namespace

bool BmpPiece(const Image& image, std::size_t index, std::vector<uint8_t>& out) {
    const uint64_t imageBytes = ImageBytes(image);
    const uint64_t stride = Stride(image);
    const uint64_t rowsPerPiece = std::max<uint64_t>(1, kPieceBytes / stride);
    const uint64_t first = index * rowsPerPiece;  // counted from the bottom row
    if (first >= uint64_t(image.height)) return false;
    const uint64_t rows = std::min<uint64_t>(rowsPerPiece, uint64_t(image.height) - first);

    out.clear();
    if (index == 0) PutHeaders(out, image, imageBytes);
    const std::size_t start = out.size();
    out.resize(start + rows * stride);  // the padding bytes stay zero
    for (uint64_t r = 0; r < rows; ++r) {
        const uint32_t* row =
            &image.pixels[std::size_t(image.height - 1 - (first + r)) * image.width];
        uint8_t* dst = out.data() + start + r * stride;
        for (int x = 0; x < image.width; ++x, dst += 3) {
            const uint32_t p = row[x];  // once: the byte stores may alias the pixels
            dst[0] = static_cast<uint8_t>(p);
            dst[1] = static_cast<uint8_t>(p >> 8);
            dst[2] = static_cast<uint8_t>(p >> 16);
        }
    }
    return true;
}

std::vector<uint8_t> EncodeBmp(const Image& image) {
    std::vector<uint8_t> file, piece;
    file.reserve(kHeaders + ImageBytes(image));
    for (std::size_t i = 0; BmpPiece(image, i, piece); ++i)
        file.insert(file.end(), piece.begin(), piece.end());
    return file;
}

}  // namespace orv
