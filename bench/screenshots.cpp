#include "screenshots.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

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

// A made-up font: glyphs of stems, bars and bowls with anti-aliased edges,
// each drawn the same wherever it appears, as a real font is.
struct Glyph {
    int advance;
    uint8_t cover[12][9];  // 0..255, rows top-down; column 8 stays empty
};

const std::vector<Glyph>& Font() {
    static const std::vector<Glyph> font = [] {
        std::vector<Glyph> glyphs;
        Random rnd{2024};
        for (int g = 0; g < 70; ++g) {
            Glyph glyph{5 + rnd.Below(3), {}};
            auto ink = [&](int x, int y, int c) {
                if (x >= 0 && x < 8 && y >= 0 && y < 12)
                    glyph.cover[y][x] = uint8_t(std::max<int>(glyph.cover[y][x], c));
            };
            const int top = rnd.Below(3) == 0 ? 0 : 3, right = glyph.advance - 2;
            const int shape = rnd.Below(5);
            for (int y = top; y < 11; ++y) {  // the stem, soft on its right
                ink(1, y, 255), ink(2, y, 110);
                if (shape == 1 || shape == 4)
                    ink(right, y >= 3 ? y : 3, 230), ink(right + 1, y, 60);
            }
            if (shape != 3)
                for (int x = 1; x <= right; ++x) ink(x, 10, 220), ink(x, 3, shape == 2 ? 200 : 0);
            if (shape == 4)
                for (int x = 2; x < right; ++x) ink(x, 6 + (x & 1), 140), ink(x, 7 - (x & 1), 70);
            glyphs.push_back(glyph);
        }
        return glyphs;
    }();
    return font;
}

// Lines of words in that font. Smooth: anti-aliased with the colour fringes
// of subpixel rendering (red and blue each take a neighbour's share);
// otherwise crisp, every pixel all ink or none.
void Text(Image& img, Random& rnd, int x0, int y0, int w, int h, uint32_t ink, bool smooth,
          int line = 18) {
    const std::vector<Glyph>& font = Font();
    auto blend = [&](int x, int y, const Glyph& g, int gx, int gy) {
        const int c = g.cover[gy][gx];
        if (c == 0 || x < 0 || y < 0 || x >= img.width || y >= img.height) return;
        if (!smooth) {
            if (c > 128) img.at(x, y) = ink;
            return;
        }
        const int left = gx > 0 ? g.cover[gy][gx - 1] : 0, right = g.cover[gy][gx + 1];
        const uint32_t was = img.at(x, y);
        img.at(x, y) = (Blend(was, ink, (2 * c + left) / 3) & 0xFF0000) |
                       (Blend(was, ink, c) & 0x00FF00) |
                       (Blend(was, ink, (2 * c + right) / 3) & 0x0000FF);
    };
    for (int ly = y0 + 8; ly + line < y0 + h; ly += line) {
        int x = x0 + 8;
        const int end = x0 + w - 8 - rnd.Below(std::max(1, w / 3));
        while (x < end) {
            const int word = 2 + rnd.Below(9);
            for (int k = 0; k < word && x + 8 < end; ++k) {
                const Glyph& g = font[std::size_t(rnd.Below(int(font.size())))];
                for (int gy = 0; gy < 12; ++gy)
                    for (int gx = 0; gx < 8; ++gx) blend(x + gx, ly + gy, g, gx, gy);
                x += g.advance;
            }
            x += 5;
        }
    }
}

void Window(Image& img, Random& rnd, int x, int y, int w, int h, uint32_t title, bool rich,
            int line = 18) {
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
    Text(img, rnd, x, y + 60, w, h - 60, Rgb(30, 30, 30), rich, line);
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

Image TextScreenshot(int width, int height) {
    Image img(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            img.at(x, y) = Rgb(20 + 60 * y / height, 60 + 80 * x / width, 140 + 100 * y / height);
    Random rnd{4242};
    const double s = width / 1920.0;
    // Editors, mail and a browser: overlapping, each full of small text.
    const struct {
        int x, y, w, h;
        uint32_t title;
    } windows[] = {{20, 20, 1100, 900, Rgb(0, 84, 166)},
                   {620, 60, 1260, 760, Rgb(45, 45, 48)},
                   {200, 420, 900, 600, Rgb(120, 40, 140)},
                   {1180, 480, 700, 520, Rgb(16, 110, 72)},
                   {60, 640, 560, 380, Rgb(180, 70, 20)}};
    for (const auto& w : windows)
        Window(img, rnd, int(w.x * s), int(w.y * s), int(w.w * s), int(w.h * s), w.title, true, 16);
    Fill(img, 0, height - int(40 * s), width, int(40 * s), Rgb(32, 36, 44));  // task bar
    Text(img, rnd, width - int(300 * s), height - int(36 * s), int(280 * s), int(34 * s),
         Rgb(240, 240, 240), true);
    return img;
}

Image RichScreenshot(int width, int height) {
    Image img(width, height);
    Random rnd{12345};
    Photo(img, rnd, 0, 0, width, height);  // the wallpaper
    const double s = width / 1920.0;
    Window(img, rnd, int(60 * s), int(50 * s), int(900 * s), int(620 * s), Rgb(0, 84, 166), true,
           18);
    Window(img, rnd, int(700 * s), int(560 * s), int(1000 * s), int(420 * s), Rgb(120, 40, 140),
           true, 18);
    Fill(img, 0, height - int(40 * s), width, int(40 * s), Rgb(32, 36, 44));  // task bar
    return img;
}

Image PhotoScreenshot(int width, int height) {
    Image img(width, height);
    Random rnd{99};
    Photo(img, rnd, 0, 0, width, height);
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
