// The program's own Print Screen, for when Windows takes the key (and the
// injected key) for its capture tool.
#include "platform/win32/win32_screen_copy.h"

#include <dwmapi.h>

#include "platform/win32/win32_util.h"

namespace orv::win32 {
namespace {

class ScreenDc {
  public:
    ScreenDc() : dc(GetDC(nullptr)) {
        if (!dc) throw err::OutOfMemory();
    }
    ~ScreenDc() { ReleaseDC(nullptr, dc); }  // 0 only for a DC already released
    const HDC dc;
};

class MemoryDc {
  public:
    explicit MemoryDc(HDC like) : dc(CreateCompatibleDC(like)) {
        if (!dc) throw err::OutOfMemory();
    }
    ~MemoryDc() { DeleteDC(dc); }  // fails only for a DC that is not one
    const HDC dc;
};

RECT VirtualScreen() {
    const int left = GetSystemMetrics(SM_XVIRTUALSCREEN), top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    const int width = GetSystemMetrics(SM_CXVIRTUALSCREEN);
    const int height = GetSystemMetrics(SM_CYVIRTUALSCREEN);
    // GetSystemMetrics has no error code; a zero size means it failed.
    if (width <= 0 || height <= 0)
        return {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    return {left, top, left + width, top + height};
}

// What Alt+Print Screen copies: the window in front without the invisible
// resize borders and the shadow that its window rectangle includes.
RECT ActiveWindow(const RECT& screen) {
    HWND window = GetForegroundWindow();
    if (!window) throw Error(err::kInvalidCall, "No window is active");
    RECT frame{};
    if (FAILED(DwmGetWindowAttribute(window, DWMWA_EXTENDED_FRAME_BOUNDS, &frame, sizeof frame)) &&
        !GetWindowRect(window, &frame))
        throw LastError("GetWindowRect");
    RECT shown{};
    if (!IntersectRect(&shown, &frame, &screen))
        throw Error(err::kInvalidCall, "The active window is not on the screen");
    return shown;
}

}  // namespace

HBITMAP CopyScreenBitmap(bool activeWindow) {
    const RECT screen = VirtualScreen();
    const RECT area = activeWindow ? ActiveWindow(screen) : screen;
    const int width = area.right - area.left, height = area.bottom - area.top;
    if (width <= 0 || height <= 0) throw Error(err::kInvalidCall, "The screen has no size");
    ScreenDc source;
    MemoryDc target(source.dc);
    HBITMAP bitmap = CreateCompatibleBitmap(source.dc, width, height);
    if (!bitmap) throw err::OutOfMemory();
    HGDIOBJ before = SelectObject(target.dc, bitmap);
    if (!before || before == HGDI_ERROR) {
        DeleteObject(bitmap);
        throw err::OutOfMemory();
    }
    // CAPTUREBLT takes layered windows (menus, tooltips, translucent
    // windows) too, as Print Screen does. The screen DC's origin is the
    // primary monitor's corner, so a monitor left of it starts at a negative x.
    const BOOL copied = BitBlt(target.dc, 0, 0, width, height, source.dc, area.left, area.top,
                               SRCCOPY | CAPTUREBLT);
    if (!copied) {
        const Error failure = LastError("BitBlt");
        SelectObject(target.dc, before);
        DeleteObject(bitmap);  // ours, selected nowhere: cannot fail
        throw failure;
    }
    // Putting back what the DC held cannot fail: it came out of this DC.
    SelectObject(target.dc, before);
    return bitmap;
}

}  // namespace orv::win32
