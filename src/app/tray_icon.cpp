#include "app/tray_icon.h"

#include <cstring>

namespace orv {

platform::NotifyIconData TrayIconKeeper::MakeRecord(platform::WindowId window, bool enabled) {
    platform::NotifyIconData d;
    d.window = window;
    d.icon = enabled ? platform::TrayIcon::Enabled : platform::TrayIcon::Disabled;
    const char* tip = enabled ? "Orvanex is Enabled" : "Orvanex is Disabled";
    std::memset(d.tip, ' ', sizeof d.tip);
    std::size_t n = std::strlen(tip);
    std::memcpy(d.tip, tip, n);
    d.tip[n] = '\0';
    return d;
}

void TrayIconKeeper::AddTrayIcon(platform::WindowId window) {
    record_ = MakeRecord(window, ctx_.state.Settings.Enabled);
    // When the shell is not ready (early at logon) the add fails; remembering
    // that lets the next chance (dialog closed, shell restarted) add it again.
    platform::Tray& tray = ctx_.os.tray;
    tried_ = true;
    shown_ = tray.ShellNotifyIcon(platform::kNimAdd, record_);
    // A shell that kept our icon over its restart refuses a second one with
    // the same id: replace it, so that Exit has an icon to remove.
    if (!shown_ && tray.ShellNotifyIcon(platform::kNimDelete, record_))
        shown_ = tray.ShellNotifyIcon(platform::kNimAdd, record_);
}

void TrayIconKeeper::RemoveTrayIcon() {
    ctx_.os.tray.ShellNotifyIcon(platform::kNimDelete, record_);
    shown_ = false;
    tried_ = false;
}

}  // namespace orv
