#include "imaging/png_encoder.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cstring>
#include <exception>
#include <mutex>
#include <new>
#include <thread>

#include "imaging/encoding.h"
#include "imaging/exact_palette.h"
#include "imaging/png_filters.h"
#include "platform/error.h"

namespace orv {
namespace {

constexpr long kCompressFailed = 31038;
constexpr std::size_t kWindow = 32768;  // deflate's reach back
constexpr std::size_t kIdatSize = 1 << 20;
// Bands stay below 2^31 bytes so their lengths fit zlib's 32-bit z_off_t.
constexpr uint64_t kMaxBandBytes = uint64_t(1) << 29;
// Below this a picture is one band on one thread: starting threads would cost
// more than they save.
constexpr uint64_t kMinParallelBytes = 1 << 20;

void Chunk(std::vector<uint8_t>& out, const char* type, const uint8_t* data, std::size_t size) {
    encoding::Put32BE(out, static_cast<uint32_t>(size));
    const std::size_t at = out.size();
    out.insert(out.end(), type, type + 4);
    if (size > 0) out.insert(out.end(), data, data + size);
    const uLong crc = crc32(0L, out.data() + at, static_cast<uInt>(size + 4));
    encoding::Put32BE(out, static_cast<uint32_t>(crc));
}

void Header(std::vector<uint8_t>& out, const Image& image, int depth, int colourType) {
    static const uint8_t kSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    out.insert(out.end(), std::begin(kSignature), std::end(kSignature));
    std::vector<uint8_t> ihdr;
    encoding::Put32BE(ihdr, static_cast<uint32_t>(image.width));
    encoding::Put32BE(ihdr, static_cast<uint32_t>(image.height));
    ihdr.insert(ihdr.end(), {uint8_t(depth), uint8_t(colourType), 0, 0, 0});
    Chunk(out, "IHDR", ihdr.data(), ihdr.size());
}

// One band's share of the zlib stream: raw deflate ending on a byte boundary
// with the dictionary reset (a full flush), or the stream's final block.
// Deflate writes straight into pieces of a fixed size: a growing buffer
// would copy its bytes (and, from fresh pages, fault them in) at every growth.
struct Band {
    std::vector<std::vector<uint8_t>> pieces;
    uLong adler = 1;  // of the band's filtered bytes alone
    std::size_t length = 0;
};

class RawDeflate {
  public:
    explicit RawDeflate(const DeflateSettings& s) {
        // The compressor's state lives on the program's heap like the rest.
        z_.zalloc = [](voidpf, uInt items, uInt size) -> voidpf {
            return ::operator new(std::size_t(items) * size, std::nothrow);
        };
        z_.zfree = [](voidpf, voidpf p) { ::operator delete(p); };
        if (deflateInit2(&z_, s.level, Z_DEFLATED, -15, s.memLevel, s.strategy) != Z_OK)
            throw Error(kCompressFailed, "The compressor could not start");
        if (s.chain > 0 && deflateTune(&z_, s.good, s.lazy, s.nice, s.chain) != Z_OK)
            throw Error(kCompressFailed, "The compressor could not start");
    }
    ~RawDeflate() { deflateEnd(&z_); }
    RawDeflate(const RawDeflate&) = delete;
    RawDeflate& operator=(const RawDeflate&) = delete;

    void Prime(const uint8_t* data, std::size_t size) {
        if (deflateSetDictionary(&z_, data, static_cast<uInt>(size)) != Z_OK)
            throw Error(kCompressFailed, "The image could not be compressed");
    }
    void Write(Band& out, const uint8_t* data, std::size_t size) {
        Run(out, data, size, Z_NO_FLUSH);
    }
    void End(Band& out, bool last) { Run(out, nullptr, 0, last ? Z_FINISH : Z_FULL_FLUSH); }

  private:
    static constexpr std::size_t kPiece = 256 * 1024;

    void Run(Band& out, const uint8_t* data, std::size_t size, int flush) {
        z_.next_in = const_cast<Bytef*>(data);
        z_.avail_in = static_cast<uInt>(size);
        for (;;) {
            if (out.pieces.empty() || out.pieces.back().size() == kPiece) {
                out.pieces.emplace_back();
                out.pieces.back().reserve(kPiece);
            }
            std::vector<uint8_t>& piece = out.pieces.back();
            const std::size_t used = piece.size();
            piece.resize(kPiece);  // within its capacity: no copy
            z_.next_out = piece.data() + used;
            z_.avail_out = static_cast<uInt>(kPiece - used);
            const int rc = deflate(&z_, flush);
            piece.resize(kPiece - z_.avail_out);
            if (rc == Z_STREAM_ERROR)
                throw Error(kCompressFailed, "The image could not be compressed");
            if (z_.avail_out != 0 && (flush != Z_FINISH || rc == Z_STREAM_END)) return;
        }
    }

    z_stream z_{};
};

// Filters and deflates rows [begin, end). The rows just above the band are
// filtered again (the filters are deterministic) to give deflate the same
// 32 KB of history it would have had without bands.
template <class Rows>
Band EncodeBand(Rows rows, int begin, int end, bool last, const DeflateSettings& settings) {
    Band band;
    RawDeflate deflater(settings);
    int first = begin;
    if (begin > 0) {
        const std::size_t primingRows = (kWindow + rows.RowBytes() - 1) / rows.RowBytes();
        first = std::max(0, begin - static_cast<int>(primingRows));
    }
    rows.Start(first);
    std::vector<uint8_t> history;
    for (int y = first; y < begin; ++y) {
        const std::vector<uint8_t>& row = rows.Next(y);
        history.insert(history.end(), row.begin(), row.end());
    }
    if (!history.empty()) {
        const std::size_t keep = std::min(history.size(), kWindow);
        deflater.Prime(history.data() + history.size() - keep, keep);
    }
    for (int y = begin; y < end; ++y) {
        const std::vector<uint8_t>& row = rows.Next(y);
        band.adler = adler32(band.adler, row.data(), static_cast<uInt>(row.size()));
        band.length += row.size();
        deflater.Write(band, row.data(), row.size());
    }
    deflater.End(band, last);
    return band;
}

// Bands of rows, each on whichever worker thread is free, joined in order
// into IDAT chunks: a zlib header, the bands' deflate output, the combined
// Adler-32.
template <class MakeRows>
void WriteIdat(std::vector<uint8_t>& out, int height, std::size_t rowBytes,
               const DeflateSettings& settings, const PngOptions& options, MakeRows makeRows) {
    const uint64_t total = uint64_t(rowBytes) * uint64_t(height);
    int threads = options.threads > 0 ? options.threads
                                      : static_cast<int>(std::thread::hardware_concurrency());
    threads = std::max(threads, 1);
    if (total < kMinParallelBytes && options.stripeRows == 0) threads = 1;
    int bandRows = options.stripeRows > 0
                       ? options.stripeRows
                       : (threads == 1 ? height : (height + 4 * threads - 1) / (4 * threads));
    bandRows = static_cast<int>(
        std::min<uint64_t>(bandRows, std::max<uint64_t>(1, kMaxBandBytes / rowBytes)));
    bandRows = std::max(bandRows, 1);
    const int count = (height + bandRows - 1) / bandRows;
    threads = std::min(threads, count);

    std::vector<Band> bands(static_cast<std::size_t>(count));
    std::atomic<int> next{0};
    std::mutex failureLock;
    std::exception_ptr failure;
    auto work = [&] {
        for (int k; (k = next++) < count;) {
            try {
                const int begin = k * bandRows, end = std::min(height, begin + bandRows);
                bands[std::size_t(k)] =
                    EncodeBand(makeRows(), begin, end, k == count - 1, settings);
            } catch (...) {
                const std::lock_guard<std::mutex> lock(failureLock);
                if (!failure) failure = std::current_exception();
            }
        }
    };
    std::vector<std::thread> helpers;
    try {
        for (int t = 1; t < threads; ++t) helpers.emplace_back(work);
    } catch (const std::exception&) {
        // No more threads to be had: the ones there (and this one) do it all.
    }
    work();
    for (std::thread& t : helpers) t.join();
    if (failure) std::rethrow_exception(failure);

    // 78: deflate with a 32 KB window; then the level class and the check bits.
    const int levelClass = settings.level <= 1   ? 0
                           : settings.level <= 5 ? 1
                           : settings.level == 6 ? 2
                                                 : 3;
    unsigned header = 0x7800u | unsigned(levelClass) << 6;
    header += 31 - header % 31;
    uLong adler = 1;
    for (const Band& b : bands)
        adler = adler32_combine(adler, b.adler, static_cast<z_off_t>(b.length));

    // The IDAT chunks go straight into the file, whose final size is known.
    std::size_t streamBytes = 2 + 4;
    for (const Band& b : bands)
        for (const std::vector<uint8_t>& piece : b.pieces) streamBytes += piece.size();
    out.reserve(out.size() + streamBytes + (streamBytes / kIdatSize + 1) * 12 + 12);
    std::size_t chunkAt = 0, chunkBytes = 0;  // the open chunk's length field, its data so far
    auto close = [&] {
        const std::size_t at = chunkAt;
        out[at] = uint8_t(chunkBytes >> 24), out[at + 1] = uint8_t(chunkBytes >> 16),
        out[at + 2] = uint8_t(chunkBytes >> 8), out[at + 3] = uint8_t(chunkBytes);
        const uLong crc = crc32(0L, out.data() + at + 4, static_cast<uInt>(chunkBytes + 4));
        encoding::Put32BE(out, static_cast<uint32_t>(crc));
        chunkBytes = 0;
    };
    auto put = [&](const uint8_t* data, std::size_t size) {
        while (size > 0) {
            if (chunkBytes == 0) {
                chunkAt = out.size();
                out.insert(out.end(), {0, 0, 0, 0, 'I', 'D', 'A', 'T'});
            }
            const std::size_t n = std::min(size, kIdatSize - chunkBytes);
            out.insert(out.end(), data, data + n);
            data += n, size -= n, chunkBytes += n;
            if (chunkBytes == kIdatSize) close();
        }
    };
    const uint8_t zlibHeader[] = {uint8_t(header >> 8), uint8_t(header)};
    put(zlibHeader, sizeof zlibHeader);
    for (Band& b : bands) {
        for (const std::vector<uint8_t>& piece : b.pieces) put(piece.data(), piece.size());
        std::vector<std::vector<uint8_t>>().swap(b.pieces);  // given back as soon as copied
    }
    const uint8_t check[] = {uint8_t(adler >> 24), uint8_t(adler >> 16), uint8_t(adler >> 8),
                             uint8_t(adler)};
    put(check, sizeof check);
    if (chunkBytes > 0) close();
}

// The filtered row (after its type byte) deflate is likely to code in the
// fewest bits; the first of equals.
template <std::size_t N>
std::size_t Cheapest(const std::array<std::vector<uint8_t>, N>& candidates, std::size_t n) {
    std::size_t best = 0;
    double fewest = png::EstimatedBits(candidates[0].data() + 1, n);
    for (std::size_t k = 1; k < N; ++k) {
        const double bits = png::EstimatedBits(candidates[k].data() + 1, n);
        if (bits < fewest) fewest = bits, best = k;
    }
    return best;
}

// Chooses, per row, the filter (None, Sub, Up, Average or Paeth) whose
// output deflate is likely to code in the fewest bits, judged by the counts
// of its bytes. The usual sum of magnitudes misjudges text: its rows repeat
// a few values that deflate codes cheaply however large they are (files of
// text screens 4-5 % smaller at the same level; photographs the same).
class RgbRows {
  public:
    explicit RgbRows(const Image& image)
        : image_(image),
          n_(std::size_t(image.width) * 3),
          prior_(n_ + 3, 0),
          row_(n_ + 3, 0),
          candidates_{std::vector<uint8_t>(n_ + 1), std::vector<uint8_t>(n_ + 1),
                      std::vector<uint8_t>(n_ + 1), std::vector<uint8_t>(n_ + 1),
                      std::vector<uint8_t>(n_ + 1)} {}

    std::size_t RowBytes() const { return n_ + 1; }

    void Start(int y) {
        if (y == 0)
            std::fill(prior_.begin(), prior_.end(), 0);
        else
            png::PackRgb(Pixels(y - 1), std::size_t(image_.width), prior_.data() + 3);
    }

    const std::vector<uint8_t>& Next(int y) {
        uint8_t* none = candidates_[0].data() + 1;
        png::PackRgb(Pixels(y), std::size_t(image_.width), none);
        std::memcpy(row_.data() + 3, none, n_);
        png::FilterRgbRow(row_.data() + 3, prior_.data() + 3, n_, candidates_[1].data() + 1,
                          candidates_[2].data() + 1, candidates_[3].data() + 1,
                          candidates_[4].data() + 1);
        const std::size_t best = Cheapest(candidates_, n_);
        candidates_[best][0] = static_cast<uint8_t>(best);  // the type numbers are 0 to 4
        prior_.swap(row_);
        return candidates_[best];
    }

  private:
    const uint32_t* Pixels(int y) const { return &image_.pixels[std::size_t(y) * image_.width]; }

    const Image& image_;
    std::size_t n_;
    std::vector<uint8_t> prior_, row_;  // three zero bytes, then the row
    std::array<std::vector<uint8_t>, 5> candidates_;
};

// Per row, None, Sub or Up, whichever deflate is likely to code in the fewest
// bits (as for RGB rows): in a user interface most rows repeat the one above
// (fills, upright strokes), and Up turns them into zeros.
class IndexRows {
  public:
    // Each band works on its own copy: the palette's lookup keeps a cache.
    IndexRows(const Image& image, const ExactPalette& palette, int depth)
        : image_(image),
          palette_(palette),
          depth_(depth),
          n_((std::size_t(image.width) * depth + 7) / 8),
          prior_(n_, 0),
          indices_(depth < 8 ? std::size_t(image.width) : 0),
          candidates_{std::vector<uint8_t>(n_ + 1), std::vector<uint8_t>(n_ + 1),
                      std::vector<uint8_t>(n_ + 1)} {}

    std::size_t RowBytes() const { return n_ + 1; }

    void Start(int y) {
        if (y == 0)
            std::fill(prior_.begin(), prior_.end(), 0);
        else
            Pack(y - 1, prior_.data());
    }

    const std::vector<uint8_t>& Next(int y) {
        uint8_t* none = candidates_[0].data() + 1;
        uint8_t* sub = candidates_[1].data() + 1;
        uint8_t* up = candidates_[2].data() + 1;
        Pack(y, none);
        sub[0] = none[0];
        for (std::size_t i = 1; i < n_; ++i) sub[i] = static_cast<uint8_t>(none[i] - none[i - 1]);
        for (std::size_t i = 0; i < n_; ++i) up[i] = static_cast<uint8_t>(none[i] - prior_[i]);
        const std::size_t best = Cheapest(candidates_, n_);
        std::memcpy(prior_.data(), none, n_);
        candidates_[best][0] = static_cast<uint8_t>(best);  // the type numbers are 0, 1, 2
        return candidates_[best];
    }

  private:
    void Pack(int y, uint8_t* row) {
        const uint32_t* pixels = &image_.pixels[std::size_t(y) * image_.width];
        if (depth_ == 8) {
            palette_.MapRow(pixels, image_.width, row);
            return;
        }
        palette_.MapRow(pixels, image_.width, indices_.data());
        const int perByte = 8 / depth_;
        std::fill(row, row + n_, 0);
        for (int x = 0; x < image_.width; ++x) {
            const int shift = 8 - depth_ * (x % perByte + 1);
            row[x / perByte] |= static_cast<uint8_t>(indices_[std::size_t(x)] << shift);
        }
    }

    const Image& image_;
    ExactPalette palette_;
    int depth_;
    std::size_t n_;
    std::vector<uint8_t> prior_, indices_;
    std::array<std::vector<uint8_t>, 3> candidates_;
};

std::vector<uint8_t> EncodeRgb(const Image& image, const PngOptions& options) {
    std::vector<uint8_t> out;
    Header(out, image, 8, 2);
    WriteIdat(out, image.height, std::size_t(image.width) * 3 + 1, options.rgb, options,
              [&] { return RgbRows(image); });
    Chunk(out, "IEND", nullptr, 0);
    return out;
}

std::vector<uint8_t> EncodeIndexed(const ExactPalette& palette, const Image& image,
                                   const PngOptions& options) {
    const std::size_t colours = palette.colours().size();
    const int depth = colours <= 2 ? 1 : colours <= 4 ? 2 : colours <= 16 ? 4 : 8;
    std::vector<uint8_t> out;
    Header(out, image, depth, 3);
    std::vector<uint8_t> plte;
    for (uint32_t c : palette.colours())
        plte.insert(plte.end(), {uint8_t(c >> 16), uint8_t(c >> 8), uint8_t(c)});
    Chunk(out, "PLTE", plte.data(), plte.size());
    WriteIdat(out, image.height, (std::size_t(image.width) * depth + 7) / 8 + 1, options.palette,
              options, [&] { return IndexRows(image, palette, depth); });
    Chunk(out, "IEND", nullptr, 0);
    return out;
}

}  // namespace

std::vector<uint8_t> EncodePng(const Image& image, const PngOptions& options) {
    encoding::RequirePicture(image);
    if (uint64_t(image.width) * 3 + 1 > 0x7FFFFFFFu)
        throw Error(err::kOverflow, "The image is too wide for a PNG file");
    if (auto palette = ExactPalette::Of(image)) return EncodeIndexed(*palette, image, options);
    return EncodeRgb(image, options);
}

}  // namespace orv
