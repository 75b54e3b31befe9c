#pragma once
#include <windows.h>

#include <functional>

#include "platform/clipboard.h"

namespace orv::win32 {

// The clipboard's picture as a device-independent bitmap.
class Win32Clipboard : public platform::Clipboard {
  public:
    bool HasBitmap() override;
    uint32_t SequenceNumber() override;
    void Clear() override;
    Image GetBitmap() override;
    void SetBitmap(const Image& image, std::span<const platform::ClipboardFlag> flags) override;
    void CopyScreen(bool activeWindow) override;

    // The window that opens the clipboard (the program's hidden main window).
    std::function<HWND()> owner;

  private:
    HWND Owner() const;
};

}  // namespace orv::win32
