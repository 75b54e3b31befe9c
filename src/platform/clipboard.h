#pragma once
#include <cstdint>
#include <span>

#include "platform/image.h"

namespace orv::platform {

// A registered clipboard format put beside a picture, holding a DWORD.
struct ClipboardFlag {
    const char* name;
    uint32_t value;
};

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
    // The picture, and each flag in its registered format, in one opening.
    virtual void SetBitmap(const Image& image, std::span<const ClipboardFlag> flags) = 0;
    // What Print Screen puts there, taken by the program itself: the whole
    // virtual screen or (with Alt) the active window's visible frame, as a
    // bitmap and nothing else.
    virtual void CopyScreen(bool activeWindow) = 0;
};

}  // namespace orv::platform
