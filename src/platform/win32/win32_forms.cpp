#include "platform/win32/win32_forms.h"

#include "platform/win32/win32_util.h"

// after windows.h (through win32_forms.h): the common controls header needs its types
#include <commctrl.h>

#include <string>

#include "platform/error.h"
#include "platform/win32/win32_form_window.h"

namespace orv::win32 {

using platform::FormBorder;
using platform::FormEvents;
using platform::WindowState;

// ---- helpers shared with the controls

COLORREF ResolveColour(uint32_t colour) {
    return platform::colour::IsSystem(colour) ? GetSysColor(static_cast<int>(colour & 0xFF))
                                              : static_cast<COLORREF>(colour & 0xFFFFFF);
}

int ToPixels(int twips, UINT dpi) {
    return MulDiv(twips, static_cast<int>(dpi), 1440);
}
int ToTwips(int pixels, UINT dpi) {
    return MulDiv(pixels, 1440, static_cast<int>(dpi));
}

UINT DpiOf(HWND hwnd) {
    // Per-window DPI where the system has it (Windows 10), else the screen's.
    using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
    static const auto getDpi = [] {
        HMODULE user = GetModuleHandleA("user32.dll");
        return user ? reinterpret_cast<GetDpiForWindowFn>(
                          reinterpret_cast<void*>(GetProcAddress(user, "GetDpiForWindow")))
                    : nullptr;
    }();
    if (getDpi)
        if (UINT dpi = getDpi(hwnd)) return dpi;
    HDC dc = GetDC(hwnd);
    if (!dc) return 96;
    int dpi = GetDeviceCaps(dc, LOGPIXELSX);
    ReleaseDC(hwnd, dc);  // 0 only for a DC that is not ours
    return dpi > 0 ? static_cast<UINT>(dpi) : 96;
}

FormWindow* FormOf(HWND form) {
    return reinterpret_cast<FormWindow*>(GetWindowLongPtrW(form, GWLP_USERDATA));
}

namespace {

constexpr const wchar_t* kClassName = L"OrvanexForm";

// A maximised window that is to cover every monitor takes the virtual
// screen's rectangle whenever the system places it.
void CoverAllScreens(HWND h, const FormWindow& w, WINDOWPOS& pos) {
    if (!w.model->State().coversAllScreens || !IsZoomed(h)) return;
    if ((pos.flags & SWP_NOMOVE) && (pos.flags & SWP_NOSIZE)) return;
    int width = GetSystemMetrics(SM_CXVIRTUALSCREEN), height = GetSystemMetrics(SM_CYVIRTUALSCREEN);
    if (width <= 0 || height <= 0) return;  // keep the system's own choice
    pos.x = GetSystemMetrics(SM_XVIRTUALSCREEN);
    pos.y = GetSystemMetrics(SM_YVIRTUALSCREEN);
    pos.cx = width;
    pos.cy = height;
    pos.flags &= ~static_cast<UINT>(SWP_NOMOVE | SWP_NOSIZE);
}

FormWindow* FromHwnd(HWND h) {
    return FormOf(h);
}

// Input methods and shell extensions (the file dialogs load them) create
// windows on this thread with user data of their own: only a window of the
// form class carries a FormWindow there.
FormWindow* FormOfOurs(HWND h) {
    wchar_t cls[32] = {};
    if (!GetClassNameW(h, cls, 32) || lstrcmpW(cls, kClassName) != 0) return nullptr;
    return FromHwnd(h);
}

// Handlers of the program run inside the window procedure: nothing may
// escape into the system's frames, so a failure is shown here.
template <class F>
void Guard(HWND h, F&& f) {
    try {
        f();
    } catch (const std::exception& e) {
        const std::string text = StagedText("", ToError(e));
        MessageBoxW(h, Wide(text).c_str(), nullptr, MB_OK | MB_ICONSTOP);
    } catch (...) {  // not ours to name: still never into the system's frames
        MessageBoxW(h, L"Unexpected failure", nullptr, MB_OK | MB_ICONSTOP);
    }
}

int FindButton(const FormEvents& f, bool isDefault) {
    for (int id = 0; id < f.ControlCount(); ++id) {
        const auto& c = f.ControlAt(id);
        if (c.kind == platform::ControlKind::CommandButton &&
            (isDefault ? c.isDefault : c.isCancel))
            return id;
    }
    return -1;
}

void ResyncIfAlive(HWND h, int id) {
    if (FormWindow* w = FromHwnd(h)) SyncControl(*w, id);
}

LRESULT OnCommand(HWND h, FormWindow& w, WPARAM wp, LPARAM lp) {
    int code = HIWORD(wp);
    int item = LOWORD(wp);
    FormEvents& f = *w.model;
    if (!lp) {  // Enter and Esc, as the dialog manager reports them
        if (item == IDOK || item == IDCANCEL) {
            int id = FindButton(f, item == IDOK);
            if (id >= 0) f.UserClick(id);
        }
        return 0;
    }
    int id = item - kFirstControlId;
    if (id < 0 || id >= f.ControlCount() || w.syncing) return 0;
    HWND control = reinterpret_cast<HWND>(lp);
    using K = platform::ControlKind;
    K kind = f.ControlAt(id).kind;
    if (code == BN_CLICKED &&
        (kind == K::CheckBox || kind == K::OptionButton || kind == K::CommandButton)) {
        f.UserClick(id);
    } else if ((code == EN_CHANGE && kind == K::TextBox) ||
               (code == CBN_EDITCHANGE && kind == K::EditableCombo)) {
        f.UserType(id, WindowText(control));
        ResyncIfAlive(h, id);  // puts back what the window refused
    } else if (code == CBN_SELCHANGE) {
        auto sel = static_cast<int>(SendMessageA(control, CB_GETCURSEL, 0, 0));
        f.UserChoose(id, sel);
        ResyncIfAlive(h, id);
    }
    return 0;
}

LRESULT OnNotify(HWND h, FormWindow& w, LPARAM lp) {
    auto* hdr = reinterpret_cast<NMHDR*>(lp);
    FormEvents& f = *w.model;
    if (hdr->code == TTN_GETDISPINFOW) {
        auto* info = reinterpret_cast<NMTTDISPINFOW*>(lp);
        w.tipText.clear();
        if (hdr->hwndFrom == w.tooltip) {
            for (std::size_t id = 0; id < w.controls.size(); ++id)
                if (reinterpret_cast<UINT_PTR>(w.controls[id].hwnd) == hdr->idFrom)
                    w.tipText = Wide(f.ControlAt(static_cast<int>(id)).toolTip);
        } else {  // a tab strip's own tooltip: idFrom is the tab
            for (std::size_t id = 0; id < w.controls.size(); ++id) {
                const auto& s = f.ControlAt(static_cast<int>(id));
                if (s.kind == platform::ControlKind::TabStrip &&
                    reinterpret_cast<HWND>(SendMessageA(w.controls[id].hwnd, TCM_GETTOOLTIPS, 0,
                                                        0)) == hdr->hwndFrom &&
                    hdr->idFrom < s.listToolTips.size())
                    w.tipText = Wide(s.listToolTips[hdr->idFrom]);
            }
        }
        info->lpszText = w.tipText.data();
        return 0;
    }
    int id = static_cast<int>(hdr->idFrom) - kFirstControlId;
    if (id < 0 || id >= f.ControlCount() || w.syncing) return 0;
    if (hdr->code == UDN_DELTAPOS) {
        int delta = reinterpret_cast<NMUPDOWN*>(lp)->iDelta;
        if (delta) f.UserSpin(id, delta > 0 ? 1 : -1);
        return 1;  // the arrows report; the position stays put
    }
    if (hdr->code == TCN_SELCHANGE) {
        auto sel = static_cast<int>(SendMessageA(hdr->hwndFrom, TCM_GETCURSEL, 0, 0));
        f.UserChoose(id, sel);
        ResyncIfAlive(h, id);
    }
    return 0;
}

// Moved to a monitor of another scale: fonts, pictures and control places
// are made again for it. A window laid over the screen's picture keeps its
// pixels; the others take the place and size the system suggests.
void OnDpiChanged(HWND h, FormWindow& w, UINT dpi, const RECT& suggested) {
    if (dpi == 0 || dpi == w.dpi) return;
    w.dpi = dpi;
    if (!w.model->State().boundsInPixels && !IsZoomed(h)) {
        w.syncing = true;
        BOOL placed = SetWindowPos(h, nullptr, suggested.left, suggested.top,
                                   suggested.right - suggested.left,
                                   suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
        w.syncing = false;
        if (!placed) ThrowLastError("SetWindowPos");
    }
    // The program lays its controls out again: a window that kept its pixels
    // has another size in twips now (the selection surface must still fill it).
    w.model->Moved();
    for (int id = 0; id < static_cast<int>(w.controls.size()); ++id)
        if (w.controls[id].created) SyncControl(w, id);
    if (!InvalidateRect(h, nullptr, TRUE)) ThrowLastError("InvalidateRect");
}

LRESULT CALLBACK FormProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
        auto* cs = reinterpret_cast<CREATESTRUCTW*>(lp);
        SetLastError(0);
        if (!SetWindowLongPtrW(h, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams)) &&
            GetLastError() != 0)
            return FALSE;
        return DefWindowProcW(h, msg, wp, lp);
    }
    FormWindow* w = FromHwnd(h);
    if (!w || !w->model) return DefWindowProcW(h, msg, wp, lp);
    LRESULT result = 0;
    switch (msg) {
        case WM_COMMAND:
            Guard(h, [&] { result = OnCommand(h, *w, wp, lp); });
            return result;
        case WM_NOTIFY:
            Guard(h, [&] { result = OnNotify(h, *w, lp); });
            return result;
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORLISTBOX:
            if (HBRUSH b = ControlBrush(*w, reinterpret_cast<HWND>(lp), reinterpret_cast<HDC>(wp)))
                return reinterpret_cast<LRESULT>(b);
            return DefWindowProcW(h, msg, wp, lp);
        case WM_TIMER:
            Guard(h, [&] { w->model->TimerTick(static_cast<int>(wp) - 1); });
            return 0;
        case WM_CLOSE:
            // The window decides; it unloads through the host when it agrees.
            Guard(h, [&] { w->model->UserClose(); });
            return 0;
        case WM_SIZE:
            if (!w->syncing) Guard(h, [&] { w->model->Moved(); });
            return 0;
        case WM_DPICHANGED:
            Guard(h, [&] { OnDpiChanged(h, *w, HIWORD(wp), *reinterpret_cast<const RECT*>(lp)); });
            return 0;
        case WM_WINDOWPOSCHANGING:
            CoverAllScreens(h, *w, *reinterpret_cast<WINDOWPOS*>(lp));
            return DefWindowProcW(h, msg, wp, lp);
        case DM_GETDEFID: {
            int id = FindButton(*w->model, true);
            return id < 0 ? 0 : MAKELRESULT(kFirstControlId + id, DC_HASDEFID);
        }
        default:
            return DefWindowProcW(h, msg, wp, lp);
    }
}

void RegisterFormClass() {
    static bool done = false;
    if (done) return;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = FormProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    if (!wc.hCursor) ThrowLastError("LoadCursorW");
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    wc.lpszClassName = kClassName;
    if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        ThrowLastError("RegisterClassExW");
    done = true;
}

struct Styles {
    DWORD style, exStyle;
};

Styles StylesOf(const platform::FormState& s) {
    // No WS_CLIPCHILDREN: group boxes leave their inside to the window's
    // own background, as in any dialog.
    DWORD style = 0;
    DWORD ex = WS_EX_CONTROLPARENT;
    bool titled = !s.caption.empty() || s.controlBox;
    switch (s.border) {
        case FormBorder::None:
            style |= WS_POPUP;
            break;
        case FormBorder::FixedSingle:
            style |= titled ? WS_OVERLAPPED | WS_CAPTION : WS_POPUP | WS_BORDER;
            break;
        case FormBorder::FixedDialog:
            style |= WS_POPUP | WS_CAPTION | DS_MODALFRAME;
            ex |= WS_EX_DLGMODALFRAME;
            break;
        case FormBorder::Sizable:
            style |= WS_OVERLAPPED | WS_CAPTION | WS_THICKFRAME;
            break;
    }
    if (s.controlBox && titled) style |= WS_SYSMENU;
    if (s.minButton && s.border != FormBorder::FixedDialog) style |= WS_MINIMIZEBOX;
    if (s.maxButton && s.border != FormBorder::FixedDialog) style |= WS_MAXIMIZEBOX;
    return {style, ex};
}

RECT OuterRect(HWND h, const platform::FormState& s, UINT dpi) {
    RECT r{0, 0, ToPixels(s.clientWidth, dpi), ToPixels(s.clientHeight, dpi)};
    auto style = static_cast<DWORD>(GetWindowLongPtrA(h, GWL_STYLE));
    auto ex = static_cast<DWORD>(GetWindowLongPtrA(h, GWL_EXSTYLE));
    if (!AdjustWindowRectEx(&r, style, FALSE, ex)) ThrowLastError("AdjustWindowRectEx");
    return r;
}

// A form's outer bounds in screen pixels.
RECT BoundsRect(const FormWindow& w) {
    const auto& s = w.model->State();
    const auto& b = s.bounds;
    if (s.boundsInPixels) return {b.left, b.top, b.left + b.width, b.top + b.height};
    return {ToPixels(b.left, w.dpi), ToPixels(b.top, w.dpi), ToPixels(b.left + b.width, w.dpi),
            ToPixels(b.top + b.height, w.dpi)};
}

void PlaceNew(FormWindow& w) {
    const auto& s = w.model->State();
    HWND h = w.hwnd;
    if (s.boundsSet) {
        RECT r = BoundsRect(w);
        if (!SetWindowPos(h, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                          SWP_NOZORDER | SWP_NOACTIVATE))
            ThrowLastError("SetWindowPos");
        return;
    }
    RECT r = OuterRect(h, s, w.dpi);
    int width = r.right - r.left, height = r.bottom - r.top;
    int x = 0, y = 0;
    UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
    if (s.centerOnScreen) {
        RECT work{};
        if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0))
            ThrowLastError("SystemParametersInfoA");
        x = work.left + (work.right - work.left - width) / 2;
        y = work.top + (work.bottom - work.top - height) / 2;
    } else {
        flags |= SWP_NOMOVE;
    }
    if (!SetWindowPos(h, nullptr, x, y, width, height, flags)) ThrowLastError("SetWindowPos");
}

int ShowCommand(WindowState s) {
    return s == WindowState::Maximized   ? SW_SHOWMAXIMIZED
           : s == WindowState::Minimized ? SW_SHOWMINIMIZED
                                         : SW_SHOW;
}

}  // namespace

// ---- host

Win32FormHost::Win32FormHost() = default;

Win32FormHost::~Win32FormHost() {
    for (auto& [model, w] : windows_) {
        SetWindowLongPtrW(w->hwnd, GWLP_USERDATA, 0);
        UntagControls(*w);
        DestroyWindow(w->hwnd);  // the process is ending; nothing to report to
        DestroyControls(*w);
    }
    if (owner_) DestroyWindow(owner_);
}

FormWindow* Win32FormHost::WindowOf(const FormEvents& form) const {
    auto it = windows_.find(&form);
    return it == windows_.end() ? nullptr : it->second.get();
}

FormWindow& Win32FormHost::Require(const FormEvents& form) const {
    if (FormWindow* w = WindowOf(form)) return *w;
    throw err::InvalidCall();
}

HWND Win32FormHost::Owner() {
    if (owner_) return owner_;
    RegisterFormClass();
    owner_ = CreateWindowExW(0, kClassName, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                             GetModuleHandleW(nullptr), nullptr);
    if (!owner_) ThrowLastError("CreateWindowExW(owner)");
    return owner_;
}

void Win32FormHost::Wake() {
    // A modal loop waits in GetMessage; this gets it to look at its flag.
    if (!PostThreadMessageA(GetCurrentThreadId(), WM_NULL, 0, 0))
        ThrowLastError("PostThreadMessageA");
}

void Win32FormHost::Load(FormEvents& form) {
    if (WindowOf(form)) return;
    static const bool commonControls = [] {
        INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES | ICC_UPDOWN_CLASS |
                                                 ICC_TAB_CLASSES | ICC_WIN95_CLASSES};
        return InitCommonControlsEx(&icc) != FALSE;
    }();
    if (!commonControls) ThrowLastError("InitCommonControlsEx");
    RegisterFormClass();
    const auto& s = form.State();
    auto w = std::make_unique<FormWindow>();
    w->host = this;
    w->model = &form;
    Styles st = StylesOf(s);
    HWND owner = s.showInTaskbar ? nullptr : Owner();
    // The sizes the system sends while creating the window are not the
    // user's, and the window is not ours to ask about until it is listed.
    w->syncing = true;
    w->hwnd =
        CreateWindowExW(st.exStyle, kClassName, Wide(s.caption).c_str(), st.style, CW_USEDEFAULT,
                        CW_USEDEFAULT, 0, 0, owner, nullptr, GetModuleHandleW(nullptr), w.get());
    if (!w->hwnd) ThrowLastError("CreateWindowExW(form)");
    FormWindow& fw = *w;
    windows_[&form] = std::move(w);
    try {
        fw.dpi = DpiOf(fw.hwnd);
        fw.syncing = true;
        PlaceNew(fw);
        fw.syncing = false;
        CreateControls(fw);
        fw.shown = s;
        if (s.topmost) SetTopmost(form, true);
        fw.timerSet.assign(static_cast<std::size_t>(form.TimerCount()), false);
        for (int id = 0; id < form.TimerCount(); ++id) TimerChanged(form, id);
    } catch (...) {
        Unload(form);
        throw;
    }
}

void Win32FormHost::Unload(FormEvents& form) {
    auto it = windows_.find(&form);
    if (it == windows_.end()) return;
    std::unique_ptr<FormWindow> w = std::move(it->second);
    windows_.erase(it);
    for (HWND other : w->disabledForModal) EnableWindow(other, TRUE);  // returns the old state
    // Detach first: messages sent while the window goes must not reach the model.
    SetWindowLongPtrA(w->hwnd, GWLP_USERDATA, 0);
    UntagControls(*w);
    BOOL destroyed = DestroyWindow(w->hwnd);
    DestroyControls(*w);
    if (!destroyed) ThrowLastError("DestroyWindow");
    Wake();
}

void Win32FormHost::Show(FormEvents& form) {
    FormWindow& w = Require(form);
    w.done = false;
    if (!IsWindowVisible(w.hwnd)) ShowWindow(w.hwnd, ShowCommand(form.State().windowState));
    if (!UpdateWindow(w.hwnd)) ThrowLastError("UpdateWindow");
}

void Win32FormHost::Hide(FormEvents& form) {
    FormWindow& w = Require(form);
    ShowWindow(w.hwnd, SW_HIDE);  // returns the previous visibility
    w.done = true;
    Wake();
}

void Win32FormHost::ShowModal(FormEvents& form) {
    FormWindow& w = Require(form);
    // Every other window of ours waits while this one is up.
    for (auto& [model, other] : windows_)
        if (other.get() != &w && IsWindowEnabled(other->hwnd) && IsWindowVisible(other->hwnd)) {
            EnableWindow(other->hwnd, FALSE);
            w.disabledForModal.push_back(other->hwnd);
        }
    Show(form);
    MSG msg;
    for (FormWindow* now = &w; now && !now->done; now = WindowOf(form)) {
        BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == -1) ThrowLastError("GetMessageW");
        if (got == 0) {  // the program is ending: leave the quit for the main loop
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (!PreTranslate(msg)) {
            TranslateMessage(&msg);  // reports only whether a character came of it
            DispatchMessageW(&msg);  // returns the window procedure's result
        }
    }
    if (FormWindow* still = WindowOf(form)) {
        for (HWND other : still->disabledForModal) EnableWindow(other, TRUE);
        still->disabledForModal.clear();
    }
}

bool Win32FormHost::PreTranslate(MSG& msg) {
    if (!msg.hwnd) return false;
    HWND root = GetAncestor(msg.hwnd, GA_ROOT);
    FormWindow* w = root ? FormOfOurs(root) : nullptr;
    if (!w || w->host != this) return false;
    if (msg.message == WM_KEYUP) {
        Guard(root, [&] { w->model->UserKeyUp(static_cast<int>(msg.wParam)); });
        // The key still goes on to the control (a button clicks on the space
        // bar's release) unless the handler closed the window.
        if (FormOfOurs(root) != w) return true;
    }
    return IsDialogMessageW(root, &msg) != FALSE;
}

void Win32FormHost::Repaint(FormEvents& form) {
    FormWindow& w = Require(form);
    if (!RedrawWindow(w.hwnd, nullptr, nullptr,
                      RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW))
        ThrowLastError("RedrawWindow");
}

void Win32FormHost::Activate(FormEvents& form) {
    FormWindow& w = Require(form);
    if (IsIconic(w.hwnd)) ShowWindow(w.hwnd, SW_RESTORE);
    // The system may refuse the foreground to a process the user is not in;
    // then at least lift the window above its siblings.
    if (!SetForegroundWindow(w.hwnd) && !BringWindowToTop(w.hwnd))
        ThrowLastError("BringWindowToTop");
}

void Win32FormHost::FocusControl(FormEvents& form, int id) {
    FormWindow& w = Require(form);
    SetLastError(0);
    if (!SetFocus(w.controls.at(static_cast<std::size_t>(id)).hwnd) && GetLastError() != 0)
        ThrowLastError("SetFocus");
}

void Win32FormHost::SetTopmost(FormEvents& form, bool on) {
    FormWindow& w = Require(form);
    if (!SetWindowPos(w.hwnd, on ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                      SWP_NOMOVE | SWP_NOSIZE))
        ThrowLastError("SetWindowPos");
}

platform::WindowId Win32FormHost::Handle(const FormEvents& form) {
    FormWindow* w = WindowOf(form);
    return w ? reinterpret_cast<platform::WindowId>(w->hwnd) : 0;
}

platform::WindowPlacement Win32FormHost::Placement(const FormEvents& form) {
    FormWindow& w = Require(form);
    WINDOWPLACEMENT wp{};
    wp.length = sizeof wp;
    if (!GetWindowPlacement(w.hwnd, &wp)) ThrowLastError("GetWindowPlacement");
    platform::WindowPlacement p;
    p.state = IsIconic(w.hwnd)   ? WindowState::Minimized
              : IsZoomed(w.hwnd) ? WindowState::Maximized
                                 : WindowState::Normal;
    const RECT& r = wp.rcNormalPosition;
    if (form.State().boundsInPixels)
        p.bounds = {r.left, r.top, r.right - r.left, r.bottom - r.top};
    else
        p.bounds = {ToTwips(r.left, w.dpi), ToTwips(r.top, w.dpi), ToTwips(r.right - r.left, w.dpi),
                    ToTwips(r.bottom - r.top, w.dpi)};
    RECT client{};
    if (!GetClientRect(w.hwnd, &client)) ThrowLastError("GetClientRect");
    p.clientPixelWidth = client.right;
    p.clientPixelHeight = client.bottom;
    p.clientWidth = ToTwips(client.right, w.dpi);
    p.clientHeight = ToTwips(client.bottom, w.dpi);
    return p;
}

void Win32FormHost::FormChanged(FormEvents& form) {
    FormWindow& w = Require(form);
    const auto& s = form.State();
    w.syncing = true;
    struct Reset {
        FormWindow& w;
        ~Reset() { w.syncing = false; }
    } reset{w};
    if (s.caption != w.shown.caption && !SetWindowTextW(w.hwnd, Wide(s.caption).c_str()))
        ThrowLastError("SetWindowTextW");
    if (s.boundsSet && (!w.shown.boundsSet || !(s.bounds == w.shown.bounds))) {
        WINDOWPLACEMENT wp{};
        wp.length = sizeof wp;
        if (!GetWindowPlacement(w.hwnd, &wp)) ThrowLastError("GetWindowPlacement");
        wp.rcNormalPosition = BoundsRect(w);
        wp.showCmd =
            IsWindowVisible(w.hwnd) ? static_cast<UINT>(ShowCommand(s.windowState)) : SW_HIDE;
        if (!SetWindowPlacement(w.hwnd, &wp)) ThrowLastError("SetWindowPlacement");
    } else if ((s.clientWidth != w.shown.clientWidth || s.clientHeight != w.shown.clientHeight) &&
               !IsZoomed(w.hwnd)) {
        RECT r = OuterRect(w.hwnd, s, w.dpi);
        if (!SetWindowPos(w.hwnd, nullptr, 0, 0, r.right - r.left, r.bottom - r.top,
                          SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE))
            ThrowLastError("SetWindowPos");
    }
    if (s.windowState != w.shown.windowState && IsWindowVisible(w.hwnd)) {
        int cmd = s.windowState == WindowState::Maximized   ? SW_MAXIMIZE
                  : s.windowState == WindowState::Minimized ? SW_MINIMIZE
                                                            : SW_RESTORE;
        ShowWindow(w.hwnd, cmd);  // returns the previous visibility
    }
    w.shown = s;
}

void Win32FormHost::ControlChanged(FormEvents& form, int id) {
    SyncControl(Require(form), id);
}

void Win32FormHost::TimerChanged(FormEvents& form, int id) {
    FormWindow& w = Require(form);
    const auto& t = form.TimerAt(id);
    auto slot = static_cast<std::size_t>(id);
    if (slot >= w.timerSet.size()) w.timerSet.resize(slot + 1, false);
    UINT_PTR timerId = static_cast<UINT_PTR>(id) + 1;  // 0 is not a timer id
    if (t.enabled && t.interval > 0) {
        if (!SetTimer(w.hwnd, timerId, static_cast<UINT>(t.interval), nullptr))
            ThrowLastError("SetTimer");
        w.timerSet[slot] = true;
    } else if (w.timerSet[slot]) {
        if (!KillTimer(w.hwnd, timerId)) ThrowLastError("KillTimer");
        w.timerSet[slot] = false;
    }
}

}  // namespace orv::win32
