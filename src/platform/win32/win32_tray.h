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
    HICON enabled_, disabled_;
};

}  // namespace orv::win32
