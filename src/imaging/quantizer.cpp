#include "imaging/quantizer.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

#include "imaging/encoding.h"

namespace orv {
namespace {

constexpr int kBins = 1 << 16;  // 5 bits red, 6 green, 5 blue
constexpr int kRefinements = 2;

inline uint32_t BinOf(uint32_t c) {
    return QuantizedPalette::BinOf(c);
}

struct Colour {
    float v[3];  // mean red, green, blue of what the histogram bin holds
    uint32_t weight;
    uint32_t bin;
};

struct Box {
    std::size_t begin, end;
    double error;  // weighted sum of squared distances from the box mean
    int axis;      // the axis of widest spread
};

Box Measure(const std::vector<Colour>& colours, std::size_t begin, std::size_t end) {
    double w = 0, sum[3] = {}, sq[3] = {};
    for (std::size_t i = begin; i < end; ++i) {
        const Colour& c = colours[i];
        w += c.weight;
        for (int a = 0; a < 3; ++a) {
            sum[a] += double(c.weight) * c.v[a];
            sq[a] += double(c.weight) * c.v[a] * c.v[a];
        }
    }
    Box box{begin, end, 0, 0};
    double widest = -1;
    for (int a = 0; a < 3; ++a) {
        const double spread = sq[a] - sum[a] * sum[a] / w;
        box.error += spread;
        if (spread > widest) widest = spread, box.axis = a;
    }
    if (end - begin < 2) box.error = 0;  // a single bin cannot be split
    return box;
}

// Splits the box with the largest error at the weighted median of its widest axis.
std::vector<Box> MedianCut(std::vector<Colour>& colours, int wanted) {
    std::vector<Box> boxes{Measure(colours, 0, colours.size())};
    while (static_cast<int>(boxes.size()) < wanted) {
        auto worst = std::max_element(boxes.begin(), boxes.end(),
                                      [](const Box& a, const Box& b) { return a.error < b.error; });
        if (worst->error <= 0) break;
        const Box box = *worst;
        const int axis = box.axis;
        std::sort(colours.begin() + box.begin, colours.begin() + box.end,
                  [axis](const Colour& a, const Colour& b) { return a.v[axis] < b.v[axis]; });
        uint64_t total = 0, half = 0;
        for (std::size_t i = box.begin; i < box.end; ++i) total += colours[i].weight;
        std::size_t cut = box.begin + 1;
        for (std::size_t i = box.begin; i < box.end - 1; ++i) {
            half += colours[i].weight;
            cut = i + 1;
            if (2 * half >= total) break;
        }
        *worst = Measure(colours, box.begin, cut);
        boxes.push_back(Measure(colours, cut, box.end));
    }
    return boxes;
}

// Nearest palette entry, searching outwards from the query's green value
// over the palette sorted by green.
class Nearest {
  public:
    explicit Nearest(const std::vector<std::array<float, 3>>& palette) {
        for (std::size_t i = 0; i < palette.size(); ++i) sorted_.push_back({palette[i], int(i)});
        std::sort(sorted_.begin(), sorted_.end(),
                  [](const Entry& a, const Entry& b) { return a.v[1] < b.v[1]; });
    }
    int Find(const float* q) const {
        auto start = std::lower_bound(sorted_.begin(), sorted_.end(), q[1],
                                      [](const Entry& e, float g) { return e.v[1] < g; });
        std::ptrdiff_t up = start - sorted_.begin(), down = up - 1;
        const std::ptrdiff_t n = static_cast<std::ptrdiff_t>(sorted_.size());
        float best = std::numeric_limits<float>::max();
        int found = 0;
        while (up < n || down >= 0) {
            if (up < n) {
                const Entry& e = sorted_[up++];
                const float dg = e.v[1] - q[1];
                if (dg * dg >= best) {
                    up = n;
                } else {
                    const float dr = e.v[0] - q[0], db = e.v[2] - q[2];
                    const float d = dr * dr + dg * dg + db * db;
                    if (d < best) best = d, found = e.index;
                }
            }
            if (down >= 0) {
                const Entry& e = sorted_[down--];
                const float dg = e.v[1] - q[1];
                if (dg * dg >= best) {
                    down = -1;
                } else {
                    const float dr = e.v[0] - q[0], db = e.v[2] - q[2];
                    const float d = dr * dr + dg * dg + db * db;
                    if (d < best) best = d, found = e.index;
                }
            }
        }
        return found;
    }

  private:
    struct Entry {
        std::array<float, 3> v;
        int index;
    };
    std::vector<Entry> sorted_;
};

// The occupied histogram bins with the true mean colour of each.
template <typename Sum>
std::vector<Colour> Gather(const Image& image) {
    struct Bin {
        uint32_t count;
        Sum sum[3];
    };
    std::vector<Bin> bins(kBins);
    for (uint32_t p : image.pixels) {
        Bin& b = bins[BinOf(p)];
        ++b.count;
        b.sum[0] += (p >> 16) & 0xFF;
        b.sum[1] += (p >> 8) & 0xFF;
        b.sum[2] += p & 0xFF;
    }
    std::vector<Colour> colours;
    for (uint32_t i = 0; i < kBins; ++i) {
        const Bin& b = bins[i];
        if (b.count == 0) continue;
        const double w = b.count;
        colours.push_back({{float(double(b.sum[0]) / w), float(double(b.sum[1]) / w),
                            float(double(b.sum[2]) / w)},
                           b.count,
                           i});
    }
    return colours;
}

}  // namespace

QuantizedPalette Quantize(const Image& image, int wanted) {
    wanted = std::clamp(wanted, 2, 256);
    std::vector<Colour> colours = image.pixels.size() < (std::size_t(1) << 24)
                                      ? Gather<uint32_t>(image)  // 255 x 2^24 fits 32 bits
                                      : Gather<uint64_t>(image);

    std::vector<std::array<float, 3>> palette;
    for (const Box& box : MedianCut(colours, wanted)) {
        double w = 0, s[3] = {};
        for (std::size_t i = box.begin; i < box.end; ++i)
            for (int a = 0; a < 3; ++a) s[a] += double(colours[i].weight) * colours[i].v[a];
        for (std::size_t i = box.begin; i < box.end; ++i) w += colours[i].weight;
        palette.push_back({float(s[0] / w), float(s[1] / w), float(s[2] / w)});
    }

    // k-means over the bins: every round moves each entry to the mean of
    // the colours nearest to it, which never raises the total error.
    std::vector<uint8_t> owner(colours.size());
    for (int round = 0; round <= kRefinements; ++round) {
        Nearest nearest(palette);
        for (std::size_t i = 0; i < colours.size(); ++i)
            owner[i] = static_cast<uint8_t>(nearest.Find(colours[i].v));
        if (round == kRefinements) break;
        std::vector<std::array<double, 4>> acc(palette.size(), {0, 0, 0, 0});
        for (std::size_t i = 0; i < colours.size(); ++i) {
            auto& a = acc[owner[i]];
            for (int k = 0; k < 3; ++k) a[k] += double(colours[i].weight) * colours[i].v[k];
            a[3] += colours[i].weight;
        }
        for (std::size_t j = 0; j < palette.size(); ++j)
            if (acc[j][3] > 0)
                for (int k = 0; k < 3; ++k) palette[j][k] = float(acc[j][k] / acc[j][3]);
    }

    QuantizedPalette out;
    for (const auto& p : palette) {
        auto channel = [](float v) { return uint32_t(std::clamp(std::lround(v), 0L, 255L)); };
        out.colours.push_back(channel(p[0]) << 16 | channel(p[1]) << 8 | channel(p[2]));
    }
    out.lookup.resize(kBins);
    for (std::size_t i = 0; i < colours.size(); ++i) out.lookup[colours[i].bin] = owner[i];
    return out;
}

}  // namespace orv
