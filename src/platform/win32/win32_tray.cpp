#include "platform/win32/win32_tray.h"

#include <shellapi.h>

#include <cstring>

#include "platform/win32/win32_util.h"
#include "resources/resource_ids.h"

namespace orv::win32 {
namespace {
HICON LoadSmallIcon(int id) {
    return static_cast<HICON>(LoadImageA(Instance(), MAKEINTRESOURCEA(id), IMAGE_ICON,
                                         GetSystemMetrics(SM_CXSMICON),
                                         GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR));
}
}  // namespace

Win32Tray::Win32Tray() : enabled_(LoadSmallIcon(IDI_ENABLED)), disabled_(LoadSmallIcon(IDI_DISABLED)) {}

Win32Tray::~Win32Tray() {
    if (enabled_) DestroyIcon(enabled_);
    if (disabled_) DestroyIcon(disabled_);
}

bool Win32Tray::ShellNotifyIcon(uint32_t message, const platform::NotifyIconData& data) {
    NOTIFYICONDATAA nid;
    ZeroMemory(&nid, sizeof nid);
    // The program's record is the original 32-bit layout; this build passes the
    // size of the same (first) layout for its own pointer width.
    nid.cbSize = NOTIFYICONDATAA_V1_SIZE;
    nid.hWnd = reinterpret_cast<HWND>(data.window);
    nid.uID = data.id;
    nid.uFlags = data.flags;
    nid.uCallbackMessage = data.callbackMessage;
    nid.hIcon = data.icon == platform::TrayIcon::Enabled ? enabled_ : disabled_;
    std::memcpy(nid.szTip, data.tip, sizeof data.tip);
    nid.szTip[sizeof nid.szTip - 1] = '\0';
    return Shell_NotifyIconA(message, &nid) != FALSE;
}

}  // namespace orv::win32
