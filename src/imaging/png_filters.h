#pragma once
// The per-row PNG filters behind the encoder, kept apart so the vector
// paths can be checked against the plain ones.
#include <cstddef>
#include <cstdint>

namespace orv::png {

// Sub, Up, Average and Paeth of one 8-bit RGB row of n bytes. cur and prior
// must each have three readable zero bytes in front (the pixel left of the first).
void FilterRgbRow(const uint8_t* cur, const uint8_t* prior, std::size_t n, uint8_t* sub,
                  uint8_t* up, uint8_t* average, uint8_t* paeth);
void FilterRgbRowPlain(const uint8_t* cur, const uint8_t* prior, std::size_t n, uint8_t* sub,
                       uint8_t* up, uint8_t* average, uint8_t* paeth);

// In proportion to the bits deflate's Huffman codes would spend on a filtered
// row, from a sample of its bytes' counts: m log2 m - sum of c log2 c. Unlike
// the sum of magnitudes it sees a row of a few repeated values (text, fills,
// edges) as cheap. Only for comparing rows of one length.
double EstimatedBits(const uint8_t* row, std::size_t n);

// 0x00RRGGBB pixels to R, G, B bytes.
void PackRgb(const uint32_t* pixels, std::size_t count, uint8_t* rgb);

}  // namespace orv::png
