#pragma once
#include <cstdint>
#include <vector>

#include "platform/image.h"

namespace orv {

// A 24-bit, bottom-up Windows bitmap file.
std::vector<uint8_t> EncodeBmp(const Image& image);

}  // namespace orv
