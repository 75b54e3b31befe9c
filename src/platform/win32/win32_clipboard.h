#pragma once
#include "platform/clipboard.h"

namespace orv::win32 {

// The clipboard's picture as a device-independent bitmap.
class Win32Clipboard : public platform::Clipboard {
public:
    bool HasBitmap() override;
    void Clear() override;
    Image GetBitmap() override;
    void SetBitmap(const Image& image) override;
};

}  // namespace orv::win32
