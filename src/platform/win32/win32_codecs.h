#pragma once
#include "platform/codecs.h"

namespace orv::win32 {

// JPEG through the Windows Imaging Component. COM is initialised for the
// duration of each call (and left as it was found).
class Win32Codecs : public platform::Codecs {
  public:
    Win32Codecs() = default;
    std::vector<uint8_t> EncodeJpeg(const Image& image, int quality) override;
};

}  // namespace orv::win32
