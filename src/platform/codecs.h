#pragma once
#include <cstdint>
#include <vector>

#include "platform/error.h"
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
    // Baseline JPEG at quality 1..100 (clamped); throws orv::Error on failure.
    virtual std::vector<uint8_t> EncodeJpeg(const Image& image, int quality) = 0;
    // The same with a chosen layout. A backend that cannot lay the file out
    // so refuses rather than writing something else.
    virtual std::vector<uint8_t> EncodeJpegAs(const Image& image, int quality,
                                              const JpegOptions& options) {
        if (options.fullChroma || options.greyscale)
            throw Error(err::kInvalidCall, "This JPEG layout is not available");
        return EncodeJpeg(image, quality);
    }
};

}  // namespace orv::platform
