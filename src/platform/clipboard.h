#pragma once
#include <cstdint>

#include "platform/image.h"

namespace orv::platform {

// The system clipboard's bitmap. Failures (clipboard busy, no bitmap) throw orv::Error.
class Clipboard {
  public:
    virtual ~Clipboard() = default;
    virtual bool HasBitmap() = 0;  // is a bitmap (format 2) present
    // GetClipboardSequenceNumber: changes with every change of the contents,
    // whoever makes it.
    virtual uint32_t SequenceNumber() = 0;
    virtual void Clear() = 0;
    virtual Image GetBitmap() = 0;
    virtual void SetBitmap(const Image& image) = 0;
};

}  // namespace orv::platform
