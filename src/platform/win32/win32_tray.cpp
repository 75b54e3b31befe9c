#include "platform/win32/win32_tray.h"

#include <shellapi.h>

#include <cstring>

#include "platform/win32/win32_util.h"
#include "resources/resource_ids.h"

namespace orv::win32 {
namespace {

template <class Fn>
Fn Export(const char* module, const char* name) {
    HMODULE m = GetModuleHandleA(module);
    if (!m) m = LoadLibraryA(module);  // stays loaded for the process: the answer is cached
    return m ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(m, name))) : nullptr;
}

// The small icon size at the primary monitor's current scale, where the
// taskbar is: 16 px at 100 %, 20 at 125 %, 24 at 150 %, 32 at 200 %. Older
// systems know only the scale the session started with.
int SmallIconSize() {
    using MetricsForDpiFn = int(WINAPI*)(int, UINT);
    using DpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
    static const auto metricsForDpi =
        Export<MetricsForDpiFn>("user32.dll", "GetSystemMetricsForDpi");
    static const auto dpiForMonitor = Export<DpiForMonitorFn>("shcore.dll", "GetDpiForMonitor");
    if (metricsForDpi && dpiForMonitor) {
        UINT dpiX = 0, dpiY = 0;
        HMONITOR primary = MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY);
        if (primary && SUCCEEDED(dpiForMonitor(primary, 0 /* effective */, &dpiX, &dpiY)) &&
            dpiX > 0)
            if (int size = metricsForDpi(SM_CXSMICON, dpiX); size > 0) return size;
    }
    int size = GetSystemMetrics(SM_CXSMICON);
    return size > 0 ? size : 16;
}

HICON LoadSmallIcon(int id, int size) {
    // The icons carry frames of every standard size, so this picks one
    // drawn for it rather than stretching another.
    return static_cast<HICON>(
        LoadImageA(Instance(), MAKEINTRESOURCEA(id), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
}

}  // namespace

Win32Tray::Win32Tray() {
    LoadForCurrentScale();
}

Win32Tray::~Win32Tray() {
    Free();
}

void Win32Tray::Free() {
    if (enabled_) DestroyIcon(enabled_);  // fails only for a handle that is not an icon
    if (disabled_) DestroyIcon(disabled_);
    enabled_ = disabled_ = nullptr;
}

void Win32Tray::LoadForCurrentScale() {
    const int size = SmallIconSize();
    if (size == size_ && enabled_ && disabled_) return;
    HICON enabled = LoadSmallIcon(IDI_ENABLED, size), disabled = LoadSmallIcon(IDI_DISABLED, size);
    if (!enabled || !disabled) {  // keep what there is: an icon of the old size beats none
        if (enabled) DestroyIcon(enabled);
        if (disabled) DestroyIcon(disabled);
        return;
    }
    Free();
    enabled_ = enabled, disabled_ = disabled, size_ = size;
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
    if (data.flags & NIF_ICON) LoadForCurrentScale();
    nid.hIcon = data.icon == platform::TrayIcon::Enabled ? enabled_ : disabled_;
    std::memcpy(nid.szTip, data.tip, sizeof data.tip);
    nid.szTip[sizeof nid.szTip - 1] = '\0';
    return Shell_NotifyIconA(message, &nid) != FALSE;
}

}  // namespace orv::win32
