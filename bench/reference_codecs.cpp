#include "reference_codecs.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <stdexcept>
#include <unordered_map>

namespace orv::bench {

IndexedImage TextbookMedianCut(const Image& image, int colours) {
    std::unordered_map<uint32_t, uint32_t> counts;
    for (uint32_t p : image.pixels) ++counts[p & 0xFFFFFF];
    struct Entry {
        int c[3];
        uint32_t n;
    };
    std::vector<Entry> entries;
    for (auto [colour, n] : counts)
        entries.push_back({{int(colour >> 16), int((colour >> 8) & 0xFF), int(colour & 0xFF)}, n});
    struct Box {
        std::size_t b, e;
        uint64_t pop;
    };
    auto population = [&](std::size_t b, std::size_t e) {
        uint64_t n = 0;
        for (std::size_t i = b; i < e; ++i) n += entries[i].n;
        return n;
    };
    std::vector<Box> boxes{{0, entries.size(), population(0, entries.size())}};
    while (int(boxes.size()) < colours) {
        auto it = std::max_element(boxes.begin(), boxes.end(), [](const Box& a, const Box& b) {
            return (a.e - a.b > 1 ? a.pop : 0) < (b.e - b.b > 1 ? b.pop : 0);
        });
        if (it->e - it->b < 2) break;
        int lo[3] = {255, 255, 255}, hi[3] = {0, 0, 0};
        for (std::size_t i = it->b; i < it->e; ++i)
            for (int a = 0; a < 3; ++a)
                lo[a] = std::min(lo[a], entries[i].c[a]), hi[a] = std::max(hi[a], entries[i].c[a]);
        int axis = 0;
        for (int a = 1; a < 3; ++a)
            if (hi[a] - lo[a] > hi[axis] - lo[axis]) axis = a;
        std::sort(entries.begin() + it->b, entries.begin() + it->e,
                  [axis](const Entry& x, const Entry& y) { return x.c[axis] < y.c[axis]; });
        uint64_t acc = 0;
        std::size_t cut = it->b + 1;
        for (std::size_t i = it->b; i < it->e - 1; ++i) {
            acc += entries[i].n;
            cut = i + 1;
            if (2 * acc >= it->pop) break;
        }
        const Box right{cut, it->e, population(cut, it->e)};
        *it = Box{it->b, cut, population(it->b, cut)};
        boxes.push_back(right);
    }
    IndexedImage out;
    out.width = image.width, out.height = image.height;
    for (const Box& box : boxes) {
        double s[3] = {}, n = 0;
        for (std::size_t i = box.b; i < box.e; ++i) {
            for (int a = 0; a < 3; ++a) s[a] += double(entries[i].c[a]) * entries[i].n;
            n += entries[i].n;
        }
        out.palette.push_back(uint32_t(std::lround(s[0] / n)) << 16 |
                              uint32_t(std::lround(s[1] / n)) << 8 |
                              uint32_t(std::lround(s[2] / n)));
    }
    std::unordered_map<uint32_t, uint8_t> nearest;
    for (auto [colour, n] : counts) {
        int best = std::numeric_limits<int>::max(), index = 0;
        for (std::size_t k = 0; k < out.palette.size(); ++k) {
            int d = 0;
            for (int s = 0; s < 24; s += 8) {
                const int diff = int((colour >> s) & 0xFF) - int((out.palette[k] >> s) & 0xFF);
                d += diff * diff;
            }
            if (d < best) best = d, index = int(k);
        }
        nearest[colour] = uint8_t(index);
    }
    for (uint32_t p : image.pixels) out.indices.push_back(nearest[p & 0xFFFFFF]);
    return out;
}

Image Expand(const IndexedImage& image) {
    Image out(image.width, image.height);
    for (std::size_t i = 0; i < image.indices.size(); ++i)
        out.pixels[i] = image.palette[image.indices[i]];
    return out;
}

double Psnr(const Image& a, const Image& b) {
    double sum = 0;
    for (std::size_t i = 0; i < a.pixels.size(); ++i)
        for (int s = 0; s < 24; s += 8) {
            const double d = double((a.pixels[i] >> s) & 0xFF) - double((b.pixels[i] >> s) & 0xFF);
            sum += d * d;
        }
    return sum == 0 ? 999 : 10 * std::log10(255.0 * 255.0 * 3.0 * double(a.pixels.size()) / sum);
}

}  // namespace orv::bench
