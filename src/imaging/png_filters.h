#pragma once
// The per-row PNG filters behind the encoder, kept apart so the vector
// paths can be checked against the plain ones.
#include <cstddef>
#include <cstdint>

namespace orv::png {

// Sums of the filtered bytes' magnitudes (as signed bytes): the usual cheap
// estimate of how well a filtered row will compress.
struct RowCosts {
    unsigned sub = 0, up = 0, average = 0, paeth = 0;
    bool operator==(const RowCosts&) const = default;
};

// Sub, Up, Average and Paeth of one 8-bit RGB row of n bytes. cur and prior
// must each have three readable zero bytes in front (the pixel left of the first).
RowCosts FilterRgbRow(const uint8_t* cur, const uint8_t* prior, std::size_t n, uint8_t* sub,
                      uint8_t* up, uint8_t* average, uint8_t* paeth);
RowCosts FilterRgbRowPlain(const uint8_t* cur, const uint8_t* prior, std::size_t n, uint8_t* sub,
                           uint8_t* up, uint8_t* average, uint8_t* paeth);

// 0x00RRGGBB pixels to R, G, B bytes.
void PackRgb(const uint32_t* pixels, std::size_t count, uint8_t* rgb);

}  // namespace orv::png
