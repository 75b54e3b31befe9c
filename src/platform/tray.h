#pragma once
#include <cstdint>

#include "platform/ui.h"

namespace orv::platform {

enum class TrayIcon { Enabled, Disabled };

// The ANSI NOTIFYICONDATA record as the program fills it.
struct NotifyIconData {
    uint32_t size = 88;
    WindowId window = 0;
    uint32_t id = 1;
    uint32_t flags = 7;                 // NIF_MESSAGE | NIF_ICON | NIF_TIP
    uint32_t callbackMessage = 0x200;   // WM_MOUSEMOVE
    TrayIcon icon = TrayIcon::Enabled;  // the picture of imgEnabled or imgDisabled
    char tip[64] = {};
};

constexpr uint32_t kNimAdd = 0;
constexpr uint32_t kNimDelete = 2;

class Tray {
  public:
    virtual ~Tray() = default;
    virtual bool ShellNotifyIcon(uint32_t message, const NotifyIconData& data) = 0;
};

}  // namespace orv::platform
