#include "screenshots.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace orv::bench {
namespace {

struct Random {
    uint32_t s;
    uint32_t Next() { return s = s * 1664525u + 1013904223u, s >> 8; }
    int Below(int n) { return int(Next() % uint32_t(n)); }
};

uint32_t Rgb(int r, int g, int b) {
    auto c = [](int v) { return uint32_t(std::clamp(v, 0, 255)); };
    return c(r) << 16 | c(g) << 8 | c(b);
}

uint32_t Blend(uint32_t a, uint32_t b, int t) {  // t of 255 towards b
    auto ch = [&](int s) {
        return int((a >> s) & 0xFF) + (int((b >> s) & 0xFF) - int((a >> s) & 0xFF)) * t / 255;
    };
    return Rgb(ch(16), ch(8), ch(0));
}

void Fill(Image& img, int x0, int y0, int w, int h, uint32_t c) {
    for (int y = std::max(0, y0); y < std::min(img.height, y0 + h); ++y)
        for (int x = std::max(0, x0); x < std::min(img.width, x0 + w); ++x) img.at(x, y) = c;
}

// Lines of word-like glyph runs: vertical and horizontal strokes, with
// softened edges when `smooth` (anti-aliased text) and crisp otherwise.
void Text(Image& img, Random& rnd, int x0, int y0, int w, int h, uint32_t ink, bool smooth) {
    const int line = 18;
    for (int ly = y0 + 8; ly + line < y0 + h; ly += line) {
        int x = x0 + 8;
        const int end = x0 + w - 8 - rnd.Below(std::max(1, w / 3));
        while (x < end) {
            const int word = 3 + rnd.Below(8);
            for (int g = 0; g < word && x + 7 < end; ++g, x += 7) {
                const int tall = rnd.Below(3) == 0 ? 11 : 8;
                for (int y = ly + 11 - tall; y < ly + 11; ++y) {
                    if (y < 0 || y >= img.height) continue;
                    img.at(x + 1, y) = smooth ? Blend(img.at(x + 1, y), ink, 120) : ink;
                    img.at(x + 2, y) = ink;
                    if (smooth) img.at(x + 3, y) = Blend(img.at(x + 3, y), ink, 60);
                }
                if (rnd.Below(2)) {
                    for (int xx = x + 2; xx < x + 6; ++xx) {
                        img.at(xx, ly + 10) = ink;
                        if (smooth) img.at(xx, ly + 6) = Blend(img.at(xx, ly + 6), ink, 90);
                    }
                }
            }
            x += 7;
        }
    }
}

void Window(Image& img, Random& rnd, int x, int y, int w, int h, uint32_t title, bool rich) {
    Fill(img, x - 1, y - 1, w + 2, h + 2, Rgb(100, 100, 100));
    Fill(img, x, y, w, h, Rgb(250, 250, 250));
    for (int i = 0; i < 30; ++i) {
        const uint32_t c = rich ? Blend(title, Rgb(255, 255, 255), i * 4) : title;
        Fill(img, x, y + i, w, 1, c);
    }
    Text(img, rnd, x + 30, y + 4, std::min(w - 40, 300), 26, Rgb(255, 255, 255), rich);
    Fill(img, x, y + 30, w, 24, Rgb(236, 236, 236));  // toolbar
    for (int i = 0; i < 8; ++i)
        Fill(img, x + 8 + i * 28, y + 34, 16, 16, title ^ uint32_t(i * 0x203040));
    Text(img, rnd, x, y + 60, w, h - 60, Rgb(30, 30, 30), rich);
}

void Photo(Image& img, Random& rnd, int x0, int y0, int w, int h) {
    for (int y = y0; y < std::min(img.height, y0 + h); ++y)
        for (int x = x0; x < std::min(img.width, x0 + w); ++x) {
            const double u = (x - x0) / double(w), v = (y - y0) / double(h);
            const double sky = 1 - v, hills = std::sin(u * 9 + std::sin(v * 5) * 2) * 0.5 + 0.5;
            const int grain = rnd.Below(9) - 4;
            img.at(x, y) = Rgb(int(90 + 120 * sky * hills) + grain,
                               int(120 + 100 * hills + 20 * std::sin(u * 40) * v) + grain,
                               int(200 * sky + 40 * std::cos(v * 13 + u * 7)) + grain);
        }
}

}  // namespace

Image RichScreenshot(int width, int height) {
    Image img(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            img.at(x, y) = Rgb(20 + 60 * y / height, 60 + 80 * x / width, 140 + 100 * y / height);
    Random rnd{12345};
    const double s = width / 1920.0;
    Photo(img, rnd, int(1100 * s), int(80 * s), int(700 * s), int(460 * s));
    Window(img, rnd, int(60 * s), int(50 * s), int(900 * s), int(620 * s), Rgb(0, 84, 166), true);
    Window(img, rnd, int(700 * s), int(560 * s), int(1000 * s), int(420 * s), Rgb(120, 40, 140),
           true);
    Fill(img, 0, height - int(40 * s), width, int(40 * s), Rgb(32, 36, 44));  // task bar
    return img;
}

Image FlatScreenshot(int width, int height) {
    Image img(width, height, Rgb(0, 99, 177));
    Random rnd{777};
    const double s = width / 1920.0;
    Window(img, rnd, int(40 * s), int(40 * s), int(1100 * s), int(700 * s), Rgb(0, 120, 215),
           false);
    Window(img, rnd, int(900 * s), int(300 * s), int(900 * s), int(650 * s), Rgb(200, 60, 40),
           false);
    Window(img, rnd, int(300 * s), int(600 * s), int(500 * s), int(350 * s), Rgb(40, 140, 60),
           false);
    Fill(img, 0, height - int(40 * s), width, int(40 * s), Rgb(32, 36, 44));
    for (int i = 0; i < 12; ++i)
        Fill(img, int((8 + i * 48) * s), height - int(34 * s), int(28 * s), int(28 * s),
             Rgb(60 + i * 15, 200 - i * 10, 90 + i * 12));
    return img;
}

}  // namespace orv::bench
