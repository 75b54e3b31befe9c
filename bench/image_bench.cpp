// Encoder timings, sizes, palette quality and the heap of one capture, on
// generated screen shots. Prints one table; run the Release build.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "capture/gif_encoder.h"
#include "capture/image_surface.h"
#include "capture/png_encoder.h"
#include "capture/quantizer.h"
#include "heap_counter.h"
#include "platform/sim/sim_desktop.h"
#include "reference_codecs.h"
#include "screenshots.h"

namespace orv::bench {
namespace {

double OnceMs(const std::function<void()>& work) {
    const auto t0 = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
}

// Fastest of several runs, in milliseconds: the machine is shared, and other
// work only ever adds time. Contenders run in turn so both see the same load.
std::vector<double> FastestMs(const std::vector<std::function<void()>>& contenders, int runs = 7) {
    std::vector<double> best(contenders.size(), 1e300);
    for (int i = 0; i < runs; ++i)
        for (std::size_t k = 0; k < contenders.size(); ++k)
            best[k] = std::min(best[k], OnceMs(contenders[k]));
    return best;
}

// A disk: it keeps nothing on the program's heap.
class SizeOnlyFiles : public platform::Files {
  public:
    void WriteFile(const std::string&, const std::vector<uint8_t>& bytes) override {
        last = bytes.size();
    }
    using platform::Files::WriteFile;
    bool RemoveFile(const std::string&) { return false; }  // the service grows this call
    std::size_t last = 0;
};

struct Shot {
    const char* name;
    Image image;
};

int failures = 0;
const char* Verdict(bool ok) {
    if (!ok) ++failures;
    return ok ? "ok" : "MISSED";
}

void PngRow(const Shot& shot, double maxSizeRatio) {
    std::vector<uint8_t> ours, theirs;
    const auto t = FastestMs(
        {[&] { ours = EncodePng(shot.image); }, [&] { theirs = LibpngEncode(shot.image); }});
    const double tOurs = t[0], tLib = t[1];
    const double speed = tLib / tOurs, size = double(ours.size()) / double(theirs.size());
    std::printf("PNG  %-18s %8.1f ms %8.1f ms  %5.1fx  %9zu %9zu  %5.2fx  %s\n", shot.name, tOurs,
                tLib, speed, ours.size(), theirs.size(), size,
                Verdict(speed >= 3.0 && size <= maxSizeRatio));
}

void GifRow(const Shot& shot, bool timed) {
    std::vector<uint8_t> file;
    const double t = FastestMs({[&] { file = EncodeGif(shot.image, false); }})[0];
    const QuantizedPalette reduced = Quantize(shot.image);
    Image mapped(shot.image.width, shot.image.height);
    for (std::size_t i = 0; i < mapped.pixels.size(); ++i)
        mapped.pixels[i] =
            reduced.colours[reduced.lookup[QuantizedPalette::BinOf(shot.image.pixels[i])]];
    const double ours = Psnr(mapped, shot.image);
    const double textbook = Psnr(Expand(TextbookMedianCut(shot.image)), shot.image);
    std::printf("GIF  %-18s %8.1f ms  %9zu bytes  PSNR %.2f dB (median cut %.2f dB)  %s\n",
                shot.name, t, file.size(), ours, textbook,
                Verdict((!timed || t < 40.0) && ours >= textbook));
}

void HeapRow(const Shot& shot, const char* format, const std::function<void(ImageSurface&)>& save) {
    sim::SimDesktop desktop;
    SizeOnlyFiles files;
    desktop.clipboard.PutBitmap(shot.image);  // the system's copy, there before the capture
    const double frame = double(shot.image.pixels.size()) * 4;
    std::size_t peak = 0;
    {
        const std::size_t base = HeapInUse();
        ResetPeak();
        ImageSurface surface(desktop.clipboard, files, desktop.codecs);
        surface.PasteFromClipboard();
        surface.SelectRect(0, 0, shot.image.width * 7 / 8, shot.image.height * 7 / 8);
        surface.CropToSelection();
        save(surface);
        peak = HeapPeak() - base;
    }
    const double ratio = double(peak) / frame;
    std::printf("Heap %-18s %-4s peak %6.1f MB = %4.2f x frame   %s\n", shot.name, format,
                double(peak) / 1048576.0, ratio, Verdict(ratio <= 2.5));
}

}  // namespace
}  // namespace orv::bench

int main() {
    using namespace orv::bench;
    const Shot rich1080{"rich 1920x1080", RichScreenshot(1920, 1080)};
    const Shot rich2160{"rich 3840x2160", RichScreenshot(3840, 2160)};
    const Shot flat1080{"flat 1920x1080", FlatScreenshot(1920, 1080)};
    const Shot flat2160{"flat 3840x2160", FlatScreenshot(3840, 2160)};

    std::printf("%-23s %11s %11s %7s %9s %9s %7s\n", "", "ours", "libpng", "speed", "ours B",
                "libpng B", "size");
    PngRow(rich1080, 1.15);
    PngRow(rich2160, 1.15);
    PngRow(flat1080, 0.7);
    PngRow(flat2160, 0.7);
    std::printf("\n");
    GifRow(rich1080, true);
    GifRow(rich2160, false);
    GifRow(flat1080, false);
    std::printf("\n");
    for (const Shot* shot : {&rich1080, &flat1080}) {
        HeapRow(*shot, "png", [](orv::ImageSurface& s) { s.SavePng("shot.png"); });
        HeapRow(*shot, "gif", [](orv::ImageSurface& s) { s.SaveGif("shot.gif", false); });
        HeapRow(*shot, "bmp", [](orv::ImageSurface& s) { s.SaveBmp("shot.bmp"); });
        HeapRow(*shot, "jpg",
                [](orv::ImageSurface& s) { s.SaveJpg("shot.jpg", 75, false, false); });
    }
    std::printf("\n%s\n", failures == 0 ? "all targets met" : "some targets missed");
    return failures == 0 ? 0 : 1;
}
