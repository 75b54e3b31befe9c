#include "imaging/encoding.h"

#include "platform/error.h"

namespace orv::encoding {

void RequirePicture(const Image& image) {
    if (image.empty()) throw Error(err::kInvalidCall, "There is no image to save");
    if (image.pixels.size() != std::size_t(image.width) * std::size_t(image.height))
        throw Error(err::kInvalidCall, "The image data does not match its size");
}

}  // namespace orv::encoding
