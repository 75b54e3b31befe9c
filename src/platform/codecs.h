#pragma once
#include <cstdint>
#include <vector>

#include "platform/image.h"

namespace orv::platform {

// Codecs that come from a platform library (the rest are portable).
class Codecs {
public:
    virtual ~Codecs() = default;
    // Baseline JPEG at quality 1..100; throws orv::Error on failure.
    virtual std::vector<uint8_t> EncodeJpeg(const Image& image, int quality) = 0;
};

}  // namespace orv::platform
