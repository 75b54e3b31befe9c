#pragma once
#include "platform/codecs.h"

namespace orv::sim {

// JPEG through libjpeg-turbo on the native build.
class SimCodecs : public platform::Codecs {
  public:
    std::vector<uint8_t> EncodeJpeg(const Image& image, int quality) override;
};

}  // namespace orv::sim
