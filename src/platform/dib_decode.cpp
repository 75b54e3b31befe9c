#include "platform/dib_decode.h"

#include <array>
#include <vector>

namespace orv {
namespace {

constexpr uint32_t kRgb = 0, kBitFields = 3, kAlphaBitFields = 6;
constexpr uint32_t kCoreHeader = 12, kInfoHeader = 40, kHeaderWithMasks = 52;
constexpr uint64_t kMaxSide = 65535;
constexpr uint64_t kMaxPixels = uint64_t(1) << 28;  // 1 GiB of decoded picture

uint32_t U16(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8;
}
uint32_t U32(const uint8_t* p) {
    return U16(p) | U16(p + 2) << 16;
}

// One colour channel of a 16- or 32-bit pixel: its bits, whatever their
// number, scaled to 0..255 with rounding (5 bits 31 -> 255, 10 bits 512 -> 128).
class Channel {
  public:
    explicit Channel(uint32_t mask) : mask_(mask) {
        while (mask && !(mask & 1)) mask >>= 1, ++shift_;
        max_ = mask;
        if (max_ != 0 && max_ <= 0xFFFF) {
            table_.resize(max_ + 1);
            for (uint64_t v = 0; v <= max_; ++v) table_[v] = Scale(v);
        }
    }
    uint32_t operator()(uint32_t pixel) const {
        const uint64_t v = (pixel & mask_) >> shift_;
        if (!table_.empty()) return table_[v];
        return max_ == 0 ? 0 : Scale(v);
    }

  private:
    uint8_t Scale(uint64_t v) const { return static_cast<uint8_t>((v * 255 + max_ / 2) / max_); }

    uint32_t mask_;
    int shift_ = 0;
    uint64_t max_ = 0;
    std::vector<uint8_t> table_;
};

struct Header {
    uint32_t size = 0;
    int64_t width = 0, height = 0;  // height < 0: rows stored top-down
    uint32_t planes = 0, bits = 0, compression = kRgb;
    uint64_t colours = 0;  // entries in the colour table
    uint32_t entryBytes = 4;
};

std::optional<Header> ReadHeader(const uint8_t* p, std::size_t size) {
    if (size < 4) return std::nullopt;
    Header h;
    h.size = U32(p);
    if (h.size > size) return std::nullopt;
    if (h.size == kCoreHeader) {
        h.width = U16(p + 4);
        h.height = U16(p + 6);
        h.planes = U16(p + 8);
        h.bits = U16(p + 10);
        h.entryBytes = 3;
        if (h.bits > 8 && h.bits != 24) return std::nullopt;
        h.colours = h.bits <= 8 ? uint64_t(1) << h.bits : 0;
        return h;
    }
    if (h.size < kInfoHeader) return std::nullopt;
    h.width = static_cast<int32_t>(U32(p + 4));
    h.height = static_cast<int32_t>(U32(p + 8));
    h.planes = U16(p + 12);
    h.bits = U16(p + 14);
    h.compression = U32(p + 16);
    h.colours = U32(p + 32);
    if (h.colours == 0 && h.bits <= 8) h.colours = uint64_t(1) << h.bits;
    return h;
}

}  // namespace

std::optional<Image> DecodePackedDib(const uint8_t* block, std::size_t size) {
    const auto header = ReadHeader(block, size);
    if (!header) return std::nullopt;
    const Header& h = *header;
    if (h.planes != 1 || h.width <= 0 || h.height == 0) return std::nullopt;
    const uint64_t width = uint64_t(h.width);
    const uint64_t height = uint64_t(h.height < 0 ? -h.height : h.height);
    if (width > kMaxSide || height > kMaxSide || width * height > kMaxPixels) return std::nullopt;
    const bool paletted = h.bits == 1 || h.bits == 4 || h.bits == 8;
    if (!paletted && h.bits != 16 && h.bits != 24 && h.bits != 32) return std::nullopt;

    // Masks: defaults for plain pixels; inside the header from the 52-byte
    // version on, otherwise right after a 40-byte header.
    uint64_t offset = h.size;
    std::array<uint32_t, 3> masks = {0xFF0000, 0x00FF00, 0x0000FF};
    if (h.bits == 16) masks = {0x7C00, 0x03E0, 0x001F};
    if (h.compression == kBitFields || h.compression == kAlphaBitFields) {
        if (h.bits != 16 && h.bits != 32) return std::nullopt;
        const uint8_t* at = block + kInfoHeader;
        if (h.size < kHeaderWithMasks) {
            const uint64_t maskBytes = h.compression == kAlphaBitFields ? 16 : 12;
            if (offset + maskBytes > size) return std::nullopt;
            at = block + offset;
            offset += maskBytes;
        }
        masks = {U32(at), U32(at + 4), U32(at + 8)};
    } else if (h.compression != kRgb) {
        return std::nullopt;  // run-length and embedded JPEG/PNG: the system converts those
    }

    const uint8_t* table = block + offset;
    offset += h.colours * h.entryBytes;  // at most 2^32 * 4: no overflow in 64 bits
    const uint64_t stride = (width * h.bits + 31) / 32 * 4;
    if (offset > size || (size - offset) / stride < height) return std::nullopt;

    std::array<uint32_t, 256> palette{};  // indices past the table are black
    if (paletted)
        for (uint64_t i = 0; i < h.colours && i < palette.size(); ++i) {
            const uint8_t* e = table + i * h.entryBytes;
            palette[i] = uint32_t(e[2]) << 16 | uint32_t(e[1]) << 8 | e[0];
        }
    const Channel red(masks[0]), green(masks[1]), blue(masks[2]);

    Image out(static_cast<int>(width), static_cast<int>(height));
    const bool topDown = h.height < 0;
    // The format is chosen once a row, so each loop is straight-line code
    // the compiler can vectorise; a screen copy is 32-bit with the plain masks.
    const bool plain32 =
        h.bits == 32 && masks == std::array<uint32_t, 3>{0xFF0000, 0x00FF00, 0x0000FF};
    for (int y = 0; y < out.height; ++y) {
        const uint64_t stored = topDown ? uint64_t(y) : height - 1 - uint64_t(y);
        const uint8_t* row = block + offset + stored * stride;
        uint32_t* dest = &out.pixels[std::size_t(y) * out.width];
        if (plain32) {
            for (int x = 0; x < out.width; ++x) dest[x] = U32(row + std::size_t(x) * 4) & 0xFFFFFF;
        } else if (h.bits == 24) {
            for (int x = 0; x < out.width; ++x) {
                const uint8_t* q = row + std::size_t(x) * 3;
                dest[x] = uint32_t(q[2]) << 16 | uint32_t(q[1]) << 8 | q[0];
            }
        } else if (paletted) {
            for (int x = 0; x < out.width; ++x) {
                const std::size_t bit = std::size_t(x) * h.bits;
                dest[x] = palette[(row[bit / 8] >> (8 - h.bits - bit % 8)) & ((1u << h.bits) - 1)];
            }
        } else {
            for (int x = 0; x < out.width; ++x) {
                const uint32_t v =
                    h.bits == 16 ? U16(row + std::size_t(x) * 2) : U32(row + std::size_t(x) * 4);
                dest[x] = red(v) << 16 | green(v) << 8 | blue(v);
            }
        }
    }
    return out;
}

}  // namespace orv
