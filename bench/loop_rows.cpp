#include "loop_rows.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>

#include "capture/image_surface.h"
#include "imaging/png_filters.h"
#include "platform/dib_decode.h"

namespace orv::bench {
namespace {

// The print effects need a surface; nothing here reaches the clipboard.
struct NoClipboard : platform::Clipboard {
    bool HasBitmap() override { return false; }
    uint32_t SequenceNumber() override { return 0; }
    void Clear() override {}
    Image GetBitmap() override { return {}; }
    void SetBitmap(const Image&, std::span<const platform::ClipboardFlag>) override {}
    void CopyScreen(bool) override {}
};
struct NoCodecs : platform::Codecs {
    std::vector<uint8_t> EncodeJpeg(const Image&, int) override { return {}; }
};

template <typename Work>
double MedianMs(Work work, int rounds) {
    std::vector<double> t;
    for (int i = 0; i < rounds; ++i) {
        const auto t0 = std::chrono::steady_clock::now();
        work();
        t.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0)
                        .count());
    }
    std::sort(t.begin(), t.end());
    return t[t.size() / 2];
}

void Row(const char* loop, const Shot& shot, double ms) {
    std::printf("loop\t%s %s\t%.2f\n", loop, shot.name, ms);
}

void Put32(std::vector<uint8_t>& b, std::size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = uint8_t(v >> (8 * i));
}

// A packed bitmap as the clipboard holds one: a 40-byte header, then rows
// bottom-up of 32 bits (what the system makes of a screen copy) or 24.
std::vector<uint8_t> PackedDib(const Image& image, int bits) {
    const std::size_t stride = (std::size_t(image.width) * bits + 31) / 32 * 4;
    std::vector<uint8_t> b(40 + stride * image.height);
    Put32(b, 0, 40);
    Put32(b, 4, uint32_t(image.width));
    Put32(b, 8, uint32_t(image.height));
    b[12] = 1, b[14] = uint8_t(bits);
    for (int y = 0; y < image.height; ++y) {
        uint8_t* row = &b[40 + stride * std::size_t(image.height - 1 - y)];
        for (int x = 0; x < image.width; ++x, row += bits / 8) {
            const uint32_t p = image.at(x, y);
            row[0] = uint8_t(p), row[1] = uint8_t(p >> 8), row[2] = uint8_t(p >> 16);
        }
    }
    return b;
}

}  // namespace

void LoopRows(const std::vector<Shot>& shots) {
    NoClipboard clipboard;
    NoCodecs codecs;
    for (const Shot& shot : shots) {
        if (shot.label.rfind("photo", 0) != 0) continue;  // no loop here looks at the content
        const int rounds = shot.image.width > 2000 ? 5 : 9;
        for (int bits : {32, 24}) {
            const std::vector<uint8_t> dib = PackedDib(shot.image, bits);
            Image decoded;
            const double ms = MedianMs(
                [&] { decoded = DecodePackedDib(dib.data(), dib.size()).value(); }, rounds);
            if (decoded.pixels != shot.image.pixels) std::fprintf(stderr, "dib%d differs\n", bits);
            Row(bits == 32 ? "clipboard 32-bit" : "clipboard 24-bit", shot, ms);
        }
        ImageSurface surface(clipboard, codecs);
        surface.SetImage(shot.image);
        Row("fade", shot, MedianMs([&] { surface.FadeImage(50); }, rounds));
        Row("greyscale", shot, MedianMs([&] { surface.GreyscaleImage(); }, rounds));
        Row("negative", shot, MedianMs([&] { surface.NegativeImage(); }, rounds));

        // Every row packed and filter four ways, as the encoder does before choosing.
        const std::size_t n = std::size_t(shot.image.width) * 3;
        std::vector<uint8_t> rows(2 * (n + 3)), sub(n), up(n), average(n), paeth(n);
        Row("png filters", shot,
            MedianMs(
                [&] {
                    uint8_t* cur = &rows[3];
                    uint8_t* prior = &rows[n + 6];
                    for (int y = 0; y < shot.image.height; ++y) {
                        std::swap(cur, prior);
                        png::PackRgb(&shot.image.pixels[std::size_t(y) * shot.image.width],
                                     std::size_t(shot.image.width), cur);
                        png::FilterRgbRow(cur, prior, n, sub.data(), up.data(), average.data(),
                                          paeth.data());
                    }
                },
                rounds));
    }
}

}  // namespace orv::bench
