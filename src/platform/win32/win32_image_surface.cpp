// The native side of an image surface control: paints the window's picture
// one image pixel per screen pixel with the selection framed in black and white,
// through one off-screen bitmap kept for the control's life so that dragging
// neither flickers nor allocates, and hands the mouse to the window in image
// pixels. A moving frame repaints only its old and new edges: on a 4K screen
// the rectangle between them is most of the picture.
#include <windows.h>
#include <windowsx.h>

#include <algorithm>
#include <new>

#include "platform/error.h"
#include "platform/win32/win32_form_window.h"

namespace orv::win32 {

namespace {

using platform::MouseAction;
using platform::MouseButton;

constexpr const char* kSurfaceClass = "OrvanexImageSurface";

struct Target {
    FormWindow* w = nullptr;
    int id = -1;
};

Target TargetOf(HWND surface) {
    HWND form = GetParent(surface);
    FormWindow* w = form ? FormOf(form) : nullptr;
    if (!w || !w->model) return {};
    int id = GetDlgCtrlID(surface) - kFirstControlId;
    if (id < 0 || id >= w->model->ControlCount() ||
        static_cast<std::size_t>(id) >= w->controls.size())
        return {};
    return {w, id};
}

// The selection's frame in surface pixels, right and bottom exclusive.
bool BandOf(const platform::SurfacePicture& pic, RECT& band) {
    if (!pic.hasSelection) return false;
    band = {pic.left, pic.top, pic.right + 1, pic.bottom + 1};
    return true;
}

// A black line with a white one inside: visible on any screen.
void FrameLines(HDC dc, const RECT& r, int dx, int dy) {
    RECT outer{r.left - dx, r.top - dy, r.right - dx, r.bottom - dy};
    // A failed stroke only leaves that line undrawn.
    (void)FrameRect(dc, &outer, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    if (outer.right - outer.left > 2 && outer.bottom - outer.top > 2) {
        RECT inner{outer.left + 1, outer.top + 1, outer.right - 1, outer.bottom - 1};
        (void)FrameRect(dc, &inner, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    }
}

void DrawPicture(HDC dc, const RECT& client, const platform::SurfacePicture& pic) {
    // Where the picture does not reach (or while there is none).
    if (!FillRect(dc, &client, GetSysColorBrush(COLOR_APPWORKSPACE))) return;
    const Image* img = pic.image;
    if (img && !img->empty() &&
        img->pixels.size() ==
            static_cast<std::size_t>(img->width) * static_cast<std::size_t>(img->height)) {
        BITMAPINFO bi{};
        bi.bmiHeader.biSize = sizeof bi.bmiHeader;
        bi.bmiHeader.biWidth = img->width;
        bi.bmiHeader.biHeight = -img->height;  // rows top-down, as the image keeps them
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        bi.bmiHeader.biCompression = BI_RGB;
        // 0x00RRGGBB in memory is the blue, green, red, pad order GDI reads.
        // The DC's clipping keeps the copy to the area being repainted.
        if (!StretchDIBits(dc, 0, 0, img->width, img->height, 0, 0, img->width, img->height,
                           img->pixels.data(), &bi, DIB_RGB_COLORS, SRCCOPY))
            return;
    }
    RECT band;
    if (BandOf(pic, band)) FrameLines(dc, band, 0, 0);
}

// The off-screen copy of the whole control, made on the first paint and
// again only when the control's size changes; freed with the window.
struct Backing {
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ original = nullptr;
    int width = 0, height = 0;

    void Release() {
        if (dc && original) SelectObject(dc, original);
        if (bitmap) DeleteObject(bitmap);
        if (dc) DeleteDC(dc);
        *this = {};
    }
    bool Fit(HDC screen, int w, int h) {
        if (dc && width == w && height == h) return true;
        Release();
        dc = CreateCompatibleDC(screen);
        bitmap = dc ? CreateCompatibleBitmap(screen, w, h) : nullptr;
        original = bitmap ? SelectObject(dc, bitmap) : nullptr;
        if (!original || original == HGDI_ERROR) {
            original = nullptr;
            Release();
            return false;
        }
        width = w, height = h;
        return true;
    }
};

Backing* BackingOf(HWND h) {
    auto* b = reinterpret_cast<Backing*>(GetWindowLongPtrA(h, GWLP_USERDATA));
    if (b) return b;
    b = new (std::nothrow) Backing;
    if (!b) return nullptr;
    SetLastError(0);
    if (!SetWindowLongPtrA(h, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(b)) &&
        GetLastError() != 0) {
        delete b;
        return nullptr;
    }
    return b;
}

void Paint(HWND h) {
    // The update region, before BeginPaint empties it: only its pixels are drawn.
    HRGN dirty = CreateRectRgn(0, 0, 0, 0);
    if (dirty && GetUpdateRgn(h, dirty, FALSE) == ERROR) {
        DeleteObject(dirty);
        dirty = nullptr;
    }
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(h, &ps);
    Target t = TargetOf(h);
    RECT client{};
    const RECT area = ps.rcPaint;
    if (dc && t.w && GetClientRect(h, &client) && area.right > area.left &&
        area.bottom > area.top) {
        const platform::SurfacePicture pic = t.w->model->SurfaceAt(t.id);
        NativeControl& n = t.w->controls[static_cast<std::size_t>(t.id)];
        n.bandShown = BandOf(pic, n.band);
        Backing* back = BackingOf(h);
        if (back && back->Fit(dc, client.right, client.bottom)) {
            // A failed clip only means drawing more than needed.
            (void)SelectClipRgn(back->dc, dirty);
            DrawPicture(back->dc, client, pic);
            // Shown at once whole: the screen never sees the picture without its
            // frame. The paint DC is clipped to the update region already.
            (void)BitBlt(dc, area.left, area.top, area.right - area.left, area.bottom - area.top,
                         back->dc, area.left, area.top, SRCCOPY);
        } else {
            // No memory for the off-screen copy: draw straight, flicker and all.
            DrawPicture(dc, client, pic);
        }
    }
    if (dc) EndPaint(h, &ps);  // always TRUE
    if (dirty) DeleteObject(dirty);
}

// The two-pixel frame's four edges.
void InvalidateFrame(HWND h, const RECT& r) {
    const RECT edges[] = {{r.left, r.top, r.right, r.top + 2},
                          {r.left, r.bottom - 2, r.right, r.bottom},
                          {r.left, r.top, r.left + 2, r.bottom},
                          {r.right - 2, r.top, r.right, r.bottom}};
    // Not painted here: the paint records what it drew.
    for (const RECT& e : edges) (void)InvalidateRect(h, &e, FALSE);
}

// Repaints where the frame was and where it is now.
void RepaintBand(HWND h, FormWindow& w, int id) {
    NativeControl& n = w.controls[static_cast<std::size_t>(id)];
    RECT now{};
    const bool has = BandOf(w.model->SurfaceAt(id), now);
    if (has == n.bandShown && (!has || EqualRect(&now, &n.band))) return;
    if (n.bandShown) InvalidateFrame(h, n.band);
    if (has) InvalidateFrame(h, now);
}

void Mouse(HWND h, MouseAction action, MouseButton button, LPARAM lp) {
    Target t = TargetOf(h);
    if (!t.w) return;
    HWND form = GetParent(h);
    try {
        t.w->model->UserMouse(t.id, action, button, GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
        // The handler may have closed the window (and freed what t points at).
        if (FormOf(form) == t.w) RepaintBand(h, *t.w, t.id);
    } catch (const std::exception& e) {
        MessageBoxW(form, Wide(e.what()).c_str(), nullptr, MB_OK | MB_ICONSTOP);
    }
}

LRESULT CALLBACK SurfaceProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_ERASEBKGND:
            return 1;  // the paint covers everything
        case WM_PAINT:
            Paint(h);
            return 0;
        case WM_NCDESTROY:
            if (auto* back = reinterpret_cast<Backing*>(GetWindowLongPtrA(h, GWLP_USERDATA))) {
                back->Release();
                delete back;
                SetWindowLongPtrA(h, GWLP_USERDATA, 0);
            }
            return DefWindowProcA(h, msg, wp, lp);
        case WM_LBUTTONDOWN:
            SetCapture(h);  // the drag goes on outside the window; returns the old capture
            Mouse(h, MouseAction::Down, MouseButton::Left, lp);
            return 0;
        case WM_LBUTTONUP:
            Mouse(h, MouseAction::Up, MouseButton::Left, lp);
            // Fails only when another window took the mouse meanwhile.
            if (GetCapture() == h) (void)ReleaseCapture();
            return 0;
        case WM_RBUTTONDOWN:
            Mouse(h, MouseAction::Down, MouseButton::Right, lp);
            return 0;
        case WM_RBUTTONUP:
            Mouse(h, MouseAction::Up, MouseButton::Right, lp);
            return 0;
        case WM_MBUTTONDOWN:
            Mouse(h, MouseAction::Down, MouseButton::Middle, lp);
            return 0;
        case WM_MBUTTONUP:
            Mouse(h, MouseAction::Up, MouseButton::Middle, lp);
            return 0;
        case WM_MOUSEMOVE:
            Mouse(h, MouseAction::Move, MouseButton::Left, lp);
            return 0;
        default:
            return DefWindowProcA(h, msg, wp, lp);
    }
}

}  // namespace

const char* SurfaceClassName() {
    static const bool registered = [] {
        WNDCLASSEXA wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = SurfaceProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_CROSS));
        if (!wc.hCursor) ThrowLastError("LoadCursorA");
        wc.lpszClassName = kSurfaceClass;
        if (!RegisterClassExA(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
            ThrowLastError("RegisterClassExA");
        return true;
    }();
    (void)registered;
    return kSurfaceClass;
}

}  // namespace orv::win32
