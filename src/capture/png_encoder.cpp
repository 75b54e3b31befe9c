#include "capture/png_encoder.h"

#include <zlib.h>

#include <array>
#include <cstdlib>
#include <cstring>

#include "capture/encoding.h"
#include "capture/indexed_image.h"
#include "platform/error.h"

namespace orv {
namespace {

constexpr long kCompressFailed = 31038;
constexpr std::size_t kIdatSize = 1 << 17;

void Chunk(std::vector<uint8_t>& out, const char* type, const uint8_t* data, std::size_t size) {
    encoding::Put32BE(out, static_cast<uint32_t>(size));
    const std::size_t at = out.size();
    out.insert(out.end(), type, type + 4);
    if (size > 0) out.insert(out.end(), data, data + size);
    const uLong crc = crc32(0L, out.data() + at, static_cast<uInt>(size + 4));
    encoding::Put32BE(out, static_cast<uint32_t>(crc));
}

// Feeds filtered rows to deflate and cuts its output into IDAT chunks.
class IdatStream {
public:
    IdatStream(std::vector<uint8_t>& out, int level, int strategy) : out_(out), buffer_(kIdatSize) {
        if (deflateInit2(&z_, level, Z_DEFLATED, 15, 9, strategy) != Z_OK)
            throw Error(kCompressFailed, "The compressor could not start");
    }
    ~IdatStream() { deflateEnd(&z_); }
    IdatStream(const IdatStream&) = delete;
    IdatStream& operator=(const IdatStream&) = delete;

    void Write(const uint8_t* data, std::size_t size) { Run(data, size, Z_NO_FLUSH); }
    void Finish() { Run(nullptr, 0, Z_FINISH); }

private:
    void Run(const uint8_t* data, std::size_t size, int flush) {
        z_.next_in = const_cast<Bytef*>(data);
        z_.avail_in = static_cast<uInt>(size);
        for (;;) {
            z_.next_out = buffer_.data() + used_;
            z_.avail_out = static_cast<uInt>(buffer_.size() - used_);
            const int rc = deflate(&z_, flush);
            used_ = buffer_.size() - z_.avail_out;
            if (rc == Z_STREAM_ERROR) throw Error(kCompressFailed, "The image could not be compressed");
            if (used_ == buffer_.size()) {
                Chunk(out_, "IDAT", buffer_.data(), used_);
                used_ = 0;
                continue;
            }
            if (flush == Z_FINISH ? rc == Z_STREAM_END : z_.avail_in == 0) break;
        }
        if (flush == Z_FINISH && used_ > 0) Chunk(out_, "IDAT", buffer_.data(), used_);
    }

    std::vector<uint8_t>& out_;
    std::vector<uint8_t> buffer_;
    std::size_t used_ = 0;
    z_stream z_{};
};

void Header(std::vector<uint8_t>& out, const Image& image, int depth, int colourType) {
    static const uint8_t kSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    out.insert(out.end(), std::begin(kSignature), std::end(kSignature));
    std::vector<uint8_t> ihdr;
    encoding::Put32BE(ihdr, static_cast<uint32_t>(image.width));
    encoding::Put32BE(ihdr, static_cast<uint32_t>(image.height));
    ihdr.insert(ihdr.end(), {uint8_t(depth), uint8_t(colourType), 0, 0, 0});
    Chunk(out, "IHDR", ihdr.data(), ihdr.size());
}

inline uint8_t Paeth(int a, int b, int c) {
    const int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
    return static_cast<uint8_t>(pa <= pb && pa <= pc ? a : pb <= pc ? b : c);
}

// Chooses, per row, the filter whose output has the smallest sum of
// magnitudes among None, Sub, Up and Paeth. Average rarely wins on screens
// and costs as much as Paeth, so it is left out.
class RgbFilter {
public:
    explicit RgbFilter(std::size_t bytes)
        : prior_(bytes, 0), row_(bytes), candidates_{std::vector<uint8_t>(bytes + 1),
                                                     std::vector<uint8_t>(bytes + 1),
                                                     std::vector<uint8_t>(bytes + 1),
                                                     std::vector<uint8_t>(bytes + 1)} {}

    const std::vector<uint8_t>& Filter(const uint32_t* pixels, int width) {
        for (int x = 0; x < width; ++x) {
            row_[3 * x] = static_cast<uint8_t>(pixels[x] >> 16);
            row_[3 * x + 1] = static_cast<uint8_t>(pixels[x] >> 8);
            row_[3 * x + 2] = static_cast<uint8_t>(pixels[x]);
        }
        const std::size_t n = row_.size();
        uint8_t* none = candidates_[0].data() + 1;
        uint8_t* sub = candidates_[1].data() + 1;
        uint8_t* up = candidates_[2].data() + 1;
        uint8_t* paeth = candidates_[3].data() + 1;
        std::array<uint64_t, 4> cost{};
        for (std::size_t i = 0; i < n; ++i) {
            const int a = i >= 3 ? row_[i - 3] : 0, b = prior_[i], c = i >= 3 ? prior_[i - 3] : 0;
            none[i] = row_[i];
            sub[i] = static_cast<uint8_t>(row_[i] - a);
            up[i] = static_cast<uint8_t>(row_[i] - b);
            paeth[i] = static_cast<uint8_t>(row_[i] - Paeth(a, b, c));
            cost[0] += Magnitude(none[i]);
            cost[1] += Magnitude(sub[i]);
            cost[2] += Magnitude(up[i]);
            cost[3] += Magnitude(paeth[i]);
        }
        std::size_t best = 0;
        for (std::size_t k = 1; k < cost.size(); ++k)
            if (cost[k] < cost[best]) best = k;
        static constexpr uint8_t kType[] = {0, 1, 2, 4};
        candidates_[best][0] = kType[best];
        prior_.swap(row_);
        return candidates_[best];
    }

private:
    static uint32_t Magnitude(uint8_t v) { return v < 128 ? v : 256u - v; }
    std::vector<uint8_t> prior_, row_;
    std::array<std::vector<uint8_t>, 4> candidates_;
};

std::vector<uint8_t> EncodeRgb(const Image& image) {
    std::vector<uint8_t> out;
    Header(out, image, 8, 2);
    {
        IdatStream idat(out, 2, Z_DEFAULT_STRATEGY);
        RgbFilter filter(std::size_t(image.width) * 3);
        for (int y = 0; y < image.height; ++y) {
            const auto& row = filter.Filter(&image.pixels[std::size_t(y) * image.width], image.width);
            idat.Write(row.data(), row.size());
        }
        idat.Finish();
    }
    Chunk(out, "IEND", nullptr, 0);
    return out;
}

std::vector<uint8_t> EncodeIndexed(const IndexedImage& indexed, const Image& image) {
    const std::size_t colours = indexed.palette.size();
    const int depth = colours <= 2 ? 1 : colours <= 4 ? 2 : colours <= 16 ? 4 : 8;
    std::vector<uint8_t> out;
    Header(out, image, depth, 3);
    std::vector<uint8_t> plte;
    for (uint32_t c : indexed.palette)
        plte.insert(plte.end(), {uint8_t(c >> 16), uint8_t(c >> 8), uint8_t(c)});
    Chunk(out, "PLTE", plte.data(), plte.size());
    {
        // Palette rows go unfiltered; deflate finds their runs and repeats.
        IdatStream idat(out, 6, Z_DEFAULT_STRATEGY);
        const int perByte = 8 / depth;
        std::vector<uint8_t> row(1 + (std::size_t(image.width) + perByte - 1) / perByte);
        for (int y = 0; y < image.height; ++y) {
            const uint8_t* src = &indexed.indices[std::size_t(y) * image.width];
            if (depth == 8) {
                std::memcpy(row.data() + 1, src, image.width);
            } else {
                std::fill(row.begin() + 1, row.end(), 0);
                for (int x = 0; x < image.width; ++x) {
                    const int shift = 8 - depth * (x % perByte + 1);
                    row[1 + x / perByte] |= static_cast<uint8_t>(src[x] << shift);
                }
            }
            idat.Write(row.data(), row.size());
        }
        idat.Finish();
    }
    Chunk(out, "IEND", nullptr, 0);
    return out;
}

}  // namespace

std::vector<uint8_t> EncodePng(const Image& image) {
    encoding::RequirePicture(image);
    if (uint64_t(image.width) * 3 + 1 > 0x7FFFFFFFu)
        throw Error(err::kOverflow, "The image is too wide for a PNG file");
    if (auto indexed = IndexExactly(image)) return EncodeIndexed(*indexed, image);
    return EncodeRgb(image);
}

}  // namespace orv
