#include "imaging/gif_encoder.h"

#include <array>
#include <string_view>

#include "imaging/encoding.h"
#include "imaging/exact_palette.h"
#include "imaging/quantizer.h"
#include "platform/error.h"

namespace orv {
namespace {

constexpr int kMaxCodes = 4096;

// Variable-width LZW as GIF wants it: codes packed least significant bit
// first, in data sub-blocks of at most 255 bytes.
class LzwWriter {
  public:
    LzwWriter(std::vector<uint8_t>& out, int minCodeSize)
        : out_(out), minCodeSize_(minCodeSize), clear_(1 << minCodeSize), eoi_(clear_ + 1) {
        out_.push_back(static_cast<uint8_t>(minCodeSize));
        Reset();
        Emit(clear_);
    }

    void Add(uint8_t index) {
        if (prefix_ < 0) {
            prefix_ = index;
            return;
        }
        const uint32_t key = (uint32_t(prefix_) << 8 | index) + 1;
        uint32_t h = (key * 2654435761u) >> (32 - kHashBits);
        while (keys_[h] != 0) {
            if (keys_[h] == key) {
                prefix_ = codes_[h];
                return;
            }
            h = (h + 1) & (kHashSize - 1);
        }
        Emit(prefix_);
        if (next_ < kMaxCodes) {
            keys_[h] = key;
            codes_[h] = static_cast<uint16_t>(next_++);
            if (next_ > (1 << codeSize_) && codeSize_ < 12) ++codeSize_;
        } else {
            Emit(clear_);
            Reset();
        }
        prefix_ = index;
    }

    void Finish() {
        if (prefix_ >= 0) {
            Emit(prefix_);
            // A decoder adds a table entry on reading that code (unless it is the
            // first since a clear) and may widen its codes before the end code.
            if (next_ > eoi_ + 1 && next_ + 1 > (1 << codeSize_) && codeSize_ < 12) ++codeSize_;
        }
        Emit(eoi_);
        if (bitCount_ > 0) Byte(static_cast<uint8_t>(bits_));
        FlushBlock();
        out_.push_back(0);  // block terminator
    }

  private:
    static constexpr int kHashBits = 13;
    static constexpr uint32_t kHashSize = 1u << kHashBits;

    void Reset() {
        keys_.fill(0);
        next_ = eoi_ + 1;
        codeSize_ = minCodeSize_ + 1;
    }
    void Emit(int code) {
        bits_ |= uint64_t(code) << bitCount_;
        bitCount_ += codeSize_;
        while (bitCount_ >= 8) {
            Byte(static_cast<uint8_t>(bits_));
            bits_ >>= 8;
            bitCount_ -= 8;
        }
    }
    void Byte(uint8_t b) {
        block_[blockLength_++] = b;
        if (blockLength_ == 255) FlushBlock();
    }
    void FlushBlock() {
        if (blockLength_ == 0) return;
        out_.push_back(static_cast<uint8_t>(blockLength_));
        out_.insert(out_.end(), block_.begin(), block_.begin() + blockLength_);
        blockLength_ = 0;
    }

    std::vector<uint8_t>& out_;
    const int minCodeSize_, clear_, eoi_;
    int next_ = 0, codeSize_ = 0, prefix_ = -1;
    uint64_t bits_ = 0;
    int bitCount_ = 0;
    std::array<uint8_t, 255> block_{};
    int blockLength_ = 0;
    std::array<uint32_t, kHashSize> keys_{};
    std::array<uint16_t, kHashSize> codes_{};
};

// Writes the file; mapRow(y, indices) gives the palette indices of row y.
template <typename MapRow>
std::vector<uint8_t> WriteGif(const Image& image, const std::vector<uint32_t>& palette,
                              MapRow mapRow) {
    using namespace encoding;
    int tableBits = 1;  // the colour table holds 2^tableBits entries
    while ((std::size_t(1) << tableBits) < palette.size()) ++tableBits;

    std::vector<uint8_t> out;
    out.reserve(image.pixels.size() / 4 + 1024);
    for (char c : std::string_view("GIF89a")) out.push_back(static_cast<uint8_t>(c));
    Put16LE(out, static_cast<uint32_t>(image.width));
    Put16LE(out, static_cast<uint32_t>(image.height));
    out.push_back(
        static_cast<uint8_t>(0x80 | 0x70 | (tableBits - 1)));  // global table, 8-bit colour
    out.push_back(0);                                          // background index
    out.push_back(0);                                          // square pixels
    for (int i = 0; i < (1 << tableBits); ++i) {
        const uint32_t c = i < static_cast<int>(palette.size()) ? palette[i] : 0;
        out.push_back(static_cast<uint8_t>(c >> 16));
        out.push_back(static_cast<uint8_t>(c >> 8));
        out.push_back(static_cast<uint8_t>(c));
    }
    out.push_back(0x2C);
    Put16LE(out, 0);
    Put16LE(out, 0);
    Put16LE(out, static_cast<uint32_t>(image.width));
    Put16LE(out, static_cast<uint32_t>(image.height));
    out.push_back(0x00);  // rows top to bottom in one pass

    // Data must be able to name every table entry; two bits is GIF's least.
    LzwWriter lzw(out, tableBits < 2 ? 2 : tableBits);
    std::vector<uint8_t> row(image.width);
    for (int y = 0; y < image.height; ++y) {
        mapRow(y, row.data());
        for (int x = 0; x < image.width; ++x) lzw.Add(row[x]);
    }
    lzw.Finish();
    out.push_back(0x3B);
    return out;
}

}  // namespace

std::vector<uint8_t> EncodeGif(const Image& image) {
    encoding::RequirePicture(image);
    if (image.width > 0xFFFF || image.height > 0xFFFF)
        throw Error(err::kOverflow, "The image is too large for a GIF file");
    const auto pixelsOf = [&](int y) { return &image.pixels[std::size_t(y) * image.width]; };
    if (auto exact = ExactPalette::Of(image)) {
        return WriteGif(image, exact->colours(),
                        [&](int y, uint8_t* row) { exact->MapRow(pixelsOf(y), image.width, row); });
    }
    const QuantizedPalette reduced = Quantize(image);
    return WriteGif(image, reduced.colours,
                    [&](int y, uint8_t* row) { reduced.MapRow(pixelsOf(y), image.width, row); });
}

}  // namespace orv
