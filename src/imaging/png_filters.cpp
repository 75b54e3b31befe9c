#include "imaging/png_filters.h"

#include <cstdlib>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace orv::png {

RowCosts FilterRgbRowPlain(const uint8_t* cur, const uint8_t* prior, std::size_t n, uint8_t* sub,
                           uint8_t* up, uint8_t* average, uint8_t* paeth) {
    const uint8_t* left = cur - 3;  // the zero bytes in front stand in for a missing pixel
    const uint8_t* upLeft = prior - 3;
    RowCosts costs;
    for (std::size_t i = 0; i < n; ++i) {
        const int a = left[i], b = prior[i], c = upLeft[i], x = cur[i];
        const int pa = std::abs(b - c), pb = std::abs(a - c), pc = std::abs(a + b - 2 * c);
        const int predicted = pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
        sub[i] = static_cast<uint8_t>(x - a);
        up[i] = static_cast<uint8_t>(x - b);
        average[i] = static_cast<uint8_t>(x - (a + b) / 2);
        paeth[i] = static_cast<uint8_t>(x - predicted);
        costs.sub += static_cast<unsigned>(std::abs(static_cast<int8_t>(sub[i])));
        costs.up += static_cast<unsigned>(std::abs(static_cast<int8_t>(up[i])));
        costs.average += static_cast<unsigned>(std::abs(static_cast<int8_t>(average[i])));
        costs.paeth += static_cast<unsigned>(std::abs(static_cast<int8_t>(paeth[i])));
    }
    return costs;
}

#if defined(__SSE2__)

namespace {

// The magnitudes of 16 signed bytes, summed into the two halves.
inline __m128i Magnitudes(__m128i v) {
    const __m128i negated = _mm_sub_epi8(_mm_setzero_si128(), v);
    return _mm_sad_epu8(_mm_min_epu8(v, negated), _mm_setzero_si128());
}

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

unsigned Total(__m128i sums) {
    return static_cast<unsigned>(_mm_cvtsi128_si32(sums)) +
           static_cast<unsigned>(_mm_cvtsi128_si32(_mm_srli_si128(sums, 8)));
}

}  // namespace

RowCosts FilterRgbRow(const uint8_t* cur, const uint8_t* prior, std::size_t n, uint8_t* sub,
                      uint8_t* up, uint8_t* average, uint8_t* paeth) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i one = _mm_set1_epi8(1);
    __m128i costSub = zero, costUp = zero, costAverage = zero, costPaeth = zero;
    std::size_t i = 0;
    // Sums per lane stay far below 2^32: at most 255 per byte of a row.
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
        costSub = _mm_add_epi64(costSub, Magnitudes(s));
        costUp = _mm_add_epi64(costUp, Magnitudes(u));
        costAverage = _mm_add_epi64(costAverage, Magnitudes(v));
        costPaeth = _mm_add_epi64(costPaeth, Magnitudes(p));
    }
    RowCosts costs =
        FilterRgbRowPlain(cur + i, prior + i, n - i, sub + i, up + i, average + i, paeth + i);
    costs.sub += Total(costSub);
    costs.up += Total(costUp);
    costs.average += Total(costAverage);
    costs.paeth += Total(costPaeth);
    return costs;
}

#else

RowCosts FilterRgbRow(const uint8_t* cur, const uint8_t* prior, std::size_t n, uint8_t* sub,
                      uint8_t* up, uint8_t* average, uint8_t* paeth) {
    return FilterRgbRowPlain(cur, prior, n, sub, up, average, paeth);
}

#endif

void PackRgb(const uint32_t* pixels, std::size_t count, uint8_t* rgb) {
    for (std::size_t x = 0; x < count; ++x) {
        const uint32_t p = pixels[x];
        rgb[3 * x] = static_cast<uint8_t>(p >> 16);
        rgb[3 * x + 1] = static_cast<uint8_t>(p >> 8);
        rgb[3 * x + 2] = static_cast<uint8_t>(p);
    }
}

}  // namespace orv::png
