// Encoder timings, sizes, palette quality and heap peaks on generated screen
// shots, one tab-separated line per figure (scripts/bench makes the table).
// Built twice with the shipped exe's flags: natively with libpng beside it,
// and in the win64 preset (run under Wine).
//   orvanex_bench           the figures the README shows
//   orvanex_bench --zlib    deflate level and strategy on each shot
//   orvanex_bench --png     the PNG rows alone
#include <zlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "heap_counter.h"
#include "imaging/bmp_encoder.h"
#include "imaging/exact_palette.h"
#include "imaging/gif_encoder.h"
#include "imaging/png_encoder.h"
#include "imaging/quantizer.h"
#include "loop_rows.h"
#include "native_rows.h"
#include "platform/dib_decode.h"
#include "reference_codecs.h"
#include "screenshots.h"

namespace orv::bench {
namespace {

double OnceMs(const std::function<void()>& work) {
    const auto t0 = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
}

// Median of several rounds, in milliseconds. In each round every contender
// runs once, in turn, so all see the same load on the shared machine; the
// median shrugs off the rounds another process got in the way of.
std::vector<double> MedianMs(const std::vector<std::function<void()>>& contenders, int rounds) {
    std::vector<std::vector<double>> times(contenders.size());
    for (int i = 0; i < rounds; ++i)
        for (std::size_t k = 0; k < contenders.size(); ++k)
            times[k].push_back(OnceMs(contenders[k]));
    std::vector<double> medians;
    for (std::vector<double>& t : times) {
        std::sort(t.begin(), t.end());
        medians.push_back(t[t.size() / 2]);
    }
    return medians;
}

int RoundsFor(const Shot& shot) {
    return shot.image.width > 2000 ? 5 : 9;
}

// Ours (on every core, then on one thread) and libpng (natively) in turn in
// one process, so their ratios are one run's. On a loaded machine the cores
// are shared: the one-thread ratio is the steadier figure.
void PngRows(const Shot& shot) {
    std::vector<uint8_t> ours, oneBand, theirs;
    const auto libpng = Libpng();
    PngOptions single;
    single.threads = 1;
    std::vector<std::function<void()>> contenders{[&] { ours = EncodePng(shot.image); },
                                                  [&] { oneBand = EncodePng(shot.image, single); }};
    if (libpng) contenders.push_back([&] { theirs = libpng(shot.image); });
    const auto t = MedianMs(contenders, RoundsFor(shot));
    std::printf("png\t%s\t%.1f\t%zu\n", shot.name, t[0], ours.size());
    std::printf("png1\t%s\t%.1f\t%zu\n", shot.name, t[1], oneBand.size());
    if (libpng) std::printf("libpng\t%s\t%.1f\t%zu\n", shot.name, t[2], theirs.size());
}

void GifRow(const Shot& shot) {
    std::vector<uint8_t> file;
    const double t = MedianMs({[&] { file = EncodeGif(shot.image); }}, RoundsFor(shot))[0];
    const QuantizedPalette reduced = Quantize(shot.image);
    Image mapped(shot.image.width, shot.image.height);
    for (std::size_t i = 0; i < mapped.pixels.size(); ++i)
        mapped.pixels[i] =
            reduced.colours[reduced.lookup[QuantizedPalette::BinOf(shot.image.pixels[i])]];
    std::printf("gif\t%s\t%.1f\t%zu\t%.2f\t%.2f\n", shot.name, t, file.size(),
                Psnr(mapped, shot.image), Psnr(Expand(TextbookMedianCut(shot.image)), shot.image));
}

// BMP as a save makes it (one piece at a time into one reused buffer)
// beside a plain copy of as many bytes into a new buffer, in turn: what any
// writer of a file held whole pays at least (fresh pages included), timed
// in the same process, so each build's ratio holds under any load.
void BmpRow(const Shot& shot) {
    std::vector<uint8_t> copy;
    std::size_t bytes = 0;
    const auto* pixels = reinterpret_cast<const uint8_t*>(shot.image.pixels.data());
    const std::size_t copied = shot.image.pixels.size() * 3;
    const auto t = MedianMs({[&] {
                                 std::vector<uint8_t> piece;  // one a save, as the write's
                                 bytes = 0;
                                 for (std::size_t i = 0; BmpPiece(shot.image, i, piece); ++i)
                                     bytes += piece.size();
                             },
                             [&] { copy = std::vector<uint8_t>(pixels, pixels + copied); }},
                            RoundsFor(shot));
    std::printf("bmp\t%s\t%.1f\t%zu\t%.1f\n", shot.name, t[0], bytes, t[1]);
}

// The encoder's own peak on top of the picture, threads included.
void PngHeapRow(const Shot& shot) {
    const std::size_t base = HeapInUse();
    ResetPeak();
    const std::size_t size = EncodePng(shot.image).size();
    const double frame = double(shot.image.pixels.size()) * 4;
    std::printf("pngheap\t%s\t%.2f\t%zu\n", shot.name, double(HeapPeak() - base) / frame, size);
}

// Every level with the default and filtered strategies, and run-length
// (which ignores the level), each setting alone on one thread: sizes decide,
// the times only say what a setting costs.
void ZlibSweep(const std::vector<Shot>& shots) {
    const auto libpng = Libpng();
    for (const Shot& shot : shots) {
        const bool palette = ExactPalette::Of(shot.image).has_value();
        if (libpng) std::printf("zlibref\t%s\t%zu\n", shot.name, libpng(shot.image).size());
        for (int strategy : {Z_DEFAULT_STRATEGY, Z_FILTERED, Z_RLE})
            for (int level = 1; level <= 9; ++level) {
                if (strategy == Z_RLE && level > 1) continue;
                PngOptions o;
                o.threads = 1;
                (palette ? o.palette : o.rgb) = {level, 8, strategy};
                std::vector<uint8_t> file;
                const double t = MedianMs({[&] { file = EncodePng(shot.image, o); }}, 3)[0];
                std::printf("zlib\t%s\t%s\t%d\t%d\t%d\t%.1f\t%zu\n", shot.name,
                            palette ? "palette" : "rgb", level, 8, strategy, t, file.size());
                std::fflush(stdout);
            }
    }
}

// Screens of real application windows that bench/window_shots.py saved, when
// there are any: "NAME WxH" for build/window-shots/NAME-WxH.bmp.
std::vector<Shot> WindowShots() {
    std::vector<Shot> shots;
    const std::filesystem::path dir = "build/window-shots";
    std::error_code error;
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(dir, error))
        if (entry.path().extension() == ".bmp") files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    for (const auto& path : files) {
        std::ifstream in(path, std::ios::binary);
        const std::vector<uint8_t> file{std::istreambuf_iterator<char>(in), {}};
        constexpr std::size_t kFileHeader = 14;  // the rest is a packed DIB
        auto image = file.size() > kFileHeader
                         ? DecodePackedDib(file.data() + kFileHeader, file.size() - kFileHeader)
                         : std::nullopt;
        std::string label = path.stem().string();
        std::replace(label.begin(), label.end(), '-', ' ');
        if (image)
            shots.push_back({label, std::move(*image)});
        else
            std::fprintf(stderr, "%s: not a bitmap this benchmark reads\n", path.string().c_str());
    }
    return shots;
}

}  // namespace
}  // namespace orv::bench

int main(int argc, char** argv) {
    using namespace orv::bench;
    FreshPagesLikeWindows();
    std::vector<Shot> shots;
    for (auto [w, h] : {std::pair{1920, 1080}, std::pair{3840, 2160}}) {
        const std::string size = std::to_string(w) + "x" + std::to_string(h);
        shots.push_back({"text " + size, TextScreenshot(w, h)});
        shots.push_back({"rich " + size, RichScreenshot(w, h)});
        shots.push_back({"photo " + size, PhotoScreenshot(w, h)});
        shots.push_back({"flat " + size, FlatScreenshot(w, h)});
    }
    // PNG rows only for the real screens: the other formats' rows stay as they were.
    std::vector<Shot> windows = WindowShots();
    // Names as C strings for printf; the shots outlive every use.
    for (Shot& s : shots) s.name = s.label.c_str();
    for (Shot& s : windows) s.name = s.label.c_str();
    if (argc > 1 && std::strcmp(argv[1], "--zlib") == 0) {
        ZlibSweep(shots);
        ZlibSweep(windows);
        return 0;
    }
    for (const Shot& s : shots) PngRows(s), std::fflush(stdout);
    for (const Shot& s : windows) PngRows(s), std::fflush(stdout);
    if (argc > 1 && std::strcmp(argv[1], "--png") == 0) return 0;
    for (const Shot& s : shots)
        if (s.image.width < 2000 && s.label.rfind("flat", 0) != 0) GifRow(s);
    for (const Shot& s : shots) BmpRow(s);
    LoopRows(shots);
    for (const Shot& s : shots)
        if (s.image.width > 2000) PngHeapRow(s);
    NativeRows(shots);
    return 0;
}
