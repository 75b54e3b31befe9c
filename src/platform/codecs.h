#pragma once
#include <cstdint>
#include <vector>

#include "platform/image.h"

namespace orv::platform {

// How a JPEG file is laid out. The defaults give the common baseline colour
// file with its chroma sampled at half resolution both ways (4:2:0).
struct JpegOptions {
    bool fullChroma = false;  // keep colour at full resolution (4:4:4): sharper coloured text
    bool greyscale = false;   // one luminance channel only
};

// Codecs that come from a platform library (the rest are portable).
class Codecs {
  public:
    virtual ~Codecs() = default;
    // Baseline JPEG; quality is clamped to 1..100. Throws orv::Error on failure.
    virtual std::vector<uint8_t> EncodeJpeg(const Image& image, int quality,
                                            const JpegOptions& options) = 0;
};

}  // namespace orv::platform
