#pragma once
#include <cstdint>
#include <vector>

#include "platform/error.h"
#include "platform/image.h"

namespace orv::platform {

// Codecs that come from a platform library (the rest are portable).
class Codecs {
  public:
    virtual ~Codecs() = default;
    // Baseline colour JPEG, chroma at half resolution both ways (4:2:0), at
    // quality 1..100 (clamped); throws orv::Error on failure.
    virtual std::vector<uint8_t> EncodeJpeg(const Image& image, int quality) = 0;
};

}  // namespace orv::platform
