#pragma once
#include <windows.h>

#include "platform/tray.h"

namespace orv::win32 {

class Win32Tray : public platform::Tray {
  public:
    Win32Tray();
    ~Win32Tray() override;
    bool ShellNotifyIcon(uint32_t message, const platform::NotifyIconData& data) override;

  private:
    // Loads both icons again when the notification area's icon size has
    // changed since they were loaded (the user changed the scale).
    void LoadForCurrentScale();
    void Free();

    HICON enabled_ = nullptr, disabled_ = nullptr;
    int size_ = 0;
};

}  // namespace orv::win32
