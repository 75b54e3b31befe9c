#pragma once
// Small pieces shared by the file encoders.
#include <cstdint>
#include <vector>

#include "platform/image.h"

namespace orv::encoding {

// Throws orv::Error unless the image has pixels and a buffer that matches its
// size, so no encoder ever writes an empty or truncated file.
void RequirePicture(const Image& image);

inline uint32_t Rgb(uint32_t pixel) {
    return pixel & 0x00FFFFFFu;
}

inline void Put16LE(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}
inline void Put32LE(std::vector<uint8_t>& out, uint32_t v) {
    Put16LE(out, v & 0xFFFF);
    Put16LE(out, v >> 16);
}
inline void Put32BE(std::vector<uint8_t>& out, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(v >> shift));
}

}  // namespace orv::encoding
