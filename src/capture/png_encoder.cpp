#include "capture/png_encoder.h"

#include <zlib.h>

#include <array>
#include <cstdlib>
#include <cstring>
#include <new>

#include "capture/encoding.h"
#include "capture/exact_palette.h"
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
        // The compressor's state lives on the program's heap like the rest.
        z_.zalloc = [](voidpf, uInt items, uInt size) -> voidpf {
            return ::operator new(std::size_t(items) * size, std::nothrow);
        };
        z_.zfree = [](voidpf, voidpf p) { ::operator delete(p); };
        if (deflateInit2(&z_, level, Z_DEFLATED, 15, 8, strategy) != Z_OK)
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
            if (rc == Z_STREAM_ERROR)
                throw Error(kCompressFailed, "The image could not be compressed");
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

// Chooses, per row, the filter whose output has the smallest sum of
// magnitudes among Sub, Up and Paeth. None and Average rarely win on screens.
// The rows carry three leading zero bytes so the loops need no edge tests
// and the compiler can vectorise them.
class RgbFilter {
  public:
    explicit RgbFilter(std::size_t bytes)
        : n_(bytes),
          prior_(bytes + 3, 0),
          row_(bytes + 3, 0),
          candidates_{std::vector<uint8_t>(bytes + 1), std::vector<uint8_t>(bytes + 1),
                      std::vector<uint8_t>(bytes + 1)} {}

    const std::vector<uint8_t>& Filter(const uint32_t* pixels, int width) {
        uint8_t* cur = row_.data() + 3;
        const uint8_t* up = prior_.data() + 3;
        for (int x = 0; x < width; ++x) {
            cur[3 * x] = static_cast<uint8_t>(pixels[x] >> 16);
            cur[3 * x + 1] = static_cast<uint8_t>(pixels[x] >> 8);
            cur[3 * x + 2] = static_cast<uint8_t>(pixels[x]);
        }
        uint8_t* sub = candidates_[0].data() + 1;
        uint8_t* vert = candidates_[1].data() + 1;
        uint8_t* paeth = candidates_[2].data() + 1;
        unsigned costSub = 0, costUp = 0, costPaeth = 0;
        for (std::size_t i = 0; i < n_; ++i) {
            const int a = row_[i], b = up[i], c = prior_[i], x = cur[i];  // left: 3 bytes back
            const int pa = std::abs(b - c), pb = std::abs(a - c), pc = std::abs(a + b - 2 * c);
            const int predicted = pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
            sub[i] = static_cast<uint8_t>(x - a);
            vert[i] = static_cast<uint8_t>(x - b);
            paeth[i] = static_cast<uint8_t>(x - predicted);
            costSub += static_cast<unsigned>(std::abs(static_cast<int8_t>(sub[i])));
            costUp += static_cast<unsigned>(std::abs(static_cast<int8_t>(vert[i])));
            costPaeth += static_cast<unsigned>(std::abs(static_cast<int8_t>(paeth[i])));
        }
        std::size_t best = costSub <= costUp ? 0 : 1;
        if (costPaeth < std::min(costSub, costUp)) best = 2;
        static constexpr uint8_t kType[] = {1, 2, 4};
        candidates_[best][0] = kType[best];
        prior_.swap(row_);
        return candidates_[best];
    }

  private:
    std::size_t n_;
    std::vector<uint8_t> prior_, row_;
    std::array<std::vector<uint8_t>, 3> candidates_;
};

std::vector<uint8_t> EncodeRgb(const Image& image) {
    std::vector<uint8_t> out;
    Header(out, image, 8, 2);
    {
        IdatStream idat(out, 1, Z_DEFAULT_STRATEGY);
        RgbFilter filter(std::size_t(image.width) * 3);
        for (int y = 0; y < image.height; ++y) {
            const auto& row =
                filter.Filter(&image.pixels[std::size_t(y) * image.width], image.width);
            idat.Write(row.data(), row.size());
        }
        idat.Finish();
    }
    Chunk(out, "IEND", nullptr, 0);
    return out;
}

// Per row, None, Sub or Up, whichever leaves the fewest non-zero bytes: in
// a user interface most rows repeat the one above (fills, upright strokes),
// and Up turns them into zeros that deflate takes in a few bits.
class IndexFilter {
  public:
    explicit IndexFilter(std::size_t bytes)
        : prior_(bytes, 0),
          candidates_{std::vector<uint8_t>(bytes + 1), std::vector<uint8_t>(bytes + 1),
                      std::vector<uint8_t>(bytes + 1)} {}

    uint8_t* Row() { return candidates_[0].data() + 1; }  // fill, then call Filter

    const std::vector<uint8_t>& Filter() {
        const std::size_t n = prior_.size();
        const uint8_t* none = candidates_[0].data() + 1;
        uint8_t* sub = candidates_[1].data() + 1;
        uint8_t* up = candidates_[2].data() + 1;
        unsigned costs[3] = {0, 0, 0};
        for (std::size_t i = 0; i < n; ++i) {
            sub[i] = static_cast<uint8_t>(none[i] - (i > 0 ? none[i - 1] : 0));
            up[i] = static_cast<uint8_t>(none[i] - prior_[i]);
            costs[0] += none[i] != 0;
            costs[1] += sub[i] != 0;
            costs[2] += up[i] != 0;
        }
        std::size_t best = costs[1] < costs[0] ? 1 : 0;
        if (costs[2] <= costs[best]) best = 2;
        std::memcpy(prior_.data(), none, n);
        candidates_[best][0] = static_cast<uint8_t>(best);  // the type numbers are 0, 1, 2
        return candidates_[best];
    }

  private:
    std::vector<uint8_t> prior_;
    std::array<std::vector<uint8_t>, 3> candidates_;
};

std::vector<uint8_t> EncodeIndexed(ExactPalette& palette, const Image& image) {
    const std::size_t colours = palette.colours().size();
    const int depth = colours <= 2 ? 1 : colours <= 4 ? 2 : colours <= 16 ? 4 : 8;
    std::vector<uint8_t> out;
    Header(out, image, depth, 3);
    std::vector<uint8_t> plte;
    for (uint32_t c : palette.colours())
        plte.insert(plte.end(), {uint8_t(c >> 16), uint8_t(c >> 8), uint8_t(c)});
    Chunk(out, "PLTE", plte.data(), plte.size());
    {
        IdatStream idat(out, 6, Z_DEFAULT_STRATEGY);
        const int perByte = 8 / depth;
        const std::size_t bytes = (std::size_t(image.width) + perByte - 1) / perByte;
        IndexFilter filter(bytes);
        std::vector<uint8_t> indices(image.width);
        for (int y = 0; y < image.height; ++y) {
            uint8_t* row = filter.Row();
            if (depth == 8) {
                palette.MapRow(&image.pixels[std::size_t(y) * image.width], image.width, row);
            } else {
                const uint8_t* src = indices.data();
                palette.MapRow(&image.pixels[std::size_t(y) * image.width], image.width,
                               indices.data());
                std::fill(row, row + bytes, 0);
                for (int x = 0; x < image.width; ++x) {
                    const int shift = 8 - depth * (x % perByte + 1);
                    row[x / perByte] |= static_cast<uint8_t>(src[x] << shift);
                }
            }
            const auto& filtered = filter.Filter();
            idat.Write(filtered.data(), filtered.size());
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
    if (auto palette = ExactPalette::Of(image)) return EncodeIndexed(*palette, image);
    return EncodeRgb(image);
}

}  // namespace orv
