// Native child controls for the program's control objects.
#include <windows.h>
// windows.h first: the common controls header needs its types
#include <commctrl.h>

#include <cmath>

#include "platform/error.h"
#include "platform/win32/win32_form_window.h"

namespace orv::win32 {

using platform::ControlKind;
using platform::ControlState;

namespace {

struct ClassAndStyle {
    const char* cls;
    DWORD style;
    DWORD exStyle;
};

ClassAndStyle NativeKind(const ControlState& s) {
    DWORD align = s.alignment == platform::Alignment::Center  ? SS_CENTER
                  : s.alignment == platform::Alignment::Right ? SS_RIGHT
                                                              : SS_LEFT;
    switch (s.kind) {
        case ControlKind::Frame:
            return s.border ? ClassAndStyle{"BUTTON", BS_GROUPBOX, 0}
                            : ClassAndStyle{"STATIC", SS_LEFT, 0};
        case ControlKind::Label:
            return {"STATIC", align, 0};
        case ControlKind::TextBox: {
            DWORD edit = s.alignment == platform::Alignment::Center  ? ES_CENTER
                         : s.alignment == platform::Alignment::Right ? ES_RIGHT
                                                                     : ES_LEFT;
            return {"EDIT", WS_TABSTOP | ES_AUTOHSCROLL | edit | (s.readOnly ? ES_READONLY : 0u),
                    WS_EX_CLIENTEDGE};
        }
        case ControlKind::CheckBox:
            return {"BUTTON", WS_TABSTOP | BS_CHECKBOX, 0};
        case ControlKind::OptionButton:
            return {"BUTTON", WS_TABSTOP | BS_RADIOBUTTON, 0};
        case ControlKind::CommandButton:
            return {
                "BUTTON",
                static_cast<DWORD>(WS_TABSTOP | (s.isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON)),
                0};
        case ControlKind::DropDownList:
            return {"COMBOBOX", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, 0};
        case ControlKind::EditableCombo:
            return {"COMBOBOX", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL, 0};
        case ControlKind::Spin:
            return {UPDOWN_CLASSA, UDS_ARROWKEYS, 0};
        case ControlKind::TabStrip:
            return {WC_TABCONTROLA, WS_TABSTOP | TCS_TOOLTIPS, 0};
        case ControlKind::ImageSurface:
            return {SurfaceClassName(), 0, 0};
        case ControlKind::Picture:
            // The caption names the icon resource; it is loaded at the control's size.
            return {"STATIC", SS_ICON | SS_REALSIZECONTROL | SS_CENTERIMAGE, 0};
    }
    return {"STATIC", SS_LEFT, 0};
}

bool IsCombo(ControlKind k) {
    return k == ControlKind::DropDownList || k == ControlKind::EditableCombo;
}

// Visible and enabled only when every frame around it is.
bool Effective(const platform::FormEvents& f, int id, bool ControlState::*flag) {
    for (int c = id; c >= 0; c = f.ControlAt(c).container)
        if (!(f.ControlAt(c).*flag)) return false;
    return true;
}

RECT PixelRect(const platform::FormEvents& f, int id, UINT dpi) {
    int left = 0, top = 0;
    for (int c = f.ControlAt(id).container; c >= 0; c = f.ControlAt(c).container)
        left += f.ControlAt(c).bounds.left, top += f.ControlAt(c).bounds.top;
    const auto& b = f.ControlAt(id).bounds;
    RECT r{ToPixels(left + b.left, dpi), ToPixels(top + b.top, dpi), 0, 0};
    r.right = r.left + ToPixels(b.width, dpi);
    r.bottom = r.top + ToPixels(b.height, dpi);
    // A combo box's height includes its drop-down list.
    if (IsCombo(f.ControlAt(id).kind)) r.bottom += ToPixels(2400, dpi);
    return r;
}

// Freeing a GDI object we created fails only for a bad handle; there is
// nothing to recover then, and the window is going anyway.
void Release(HGDIOBJ object) {
    (void)DeleteObject(object);
}

// The controls are Unicode windows: text limits count UTF-16 units, as the
// program's own do, and no text depends on the process's code page.
LRESULT Send(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    return SendMessageW(h, msg, wp, lp);
}

void SetText(HWND h, const std::string& text) {
    if (WindowText(h) == text) return;  // leaves the caret alone while the user types
    if (!SetWindowTextW(h, Wide(text).c_str())) ThrowLastError("SetWindowTextW");
}

void FillCombo(HWND h, const std::vector<std::string>& list) {
    Send(h, CB_RESETCONTENT, 0, 0);
    for (const auto& e : list) {
        const std::wstring item = Wide(e);
        LRESULT r = Send(h, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
        if (r == CB_ERR || r == CB_ERRSPACE) throw Error(7, "Out of memory");
    }
}

void FillTabs(HWND h, const std::vector<std::string>& list) {
    if (!Send(h, TCM_DELETEALLITEMS, 0, 0)) ThrowLastError("TCM_DELETEALLITEMS");
    for (std::size_t i = 0; i < list.size(); ++i) {
        std::wstring text = Wide(list[i]);
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = text.data();
        if (Send(h, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item)) == -1)
            ThrowLastError("TCM_INSERTITEMW");
    }
}

void ApplyFont(FormWindow& w, NativeControl& n, const platform::FontStyle& f) {
    int height = -static_cast<int>(std::lround(f.points * w.dpi / 72.0));
    HFONT font = CreateFontW(height, 0, 0, 0, f.bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                             DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                             DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, Wide(f.face).c_str());
    if (!font) ThrowLastError("CreateFontW");
    Send(n.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    // The control draws with the new font from here on: it is ours to free
    // even if the old one cannot be.
    HFONT old = n.font;
    n.font = font;
    if (old && !DeleteObject(old)) ThrowLastError("DeleteObject");
}

// Loads the named icon resource to fill the control, sharp at any DPI.
void ShowPicture(NativeControl& n, const std::string& resource, const RECT& r) {
    HICON icon = nullptr;
    if (!resource.empty()) {
        icon =
            static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), resource.c_str(), IMAGE_ICON,
                                          r.right - r.left, r.bottom - r.top, LR_DEFAULTCOLOR));
        if (!icon) ThrowLastError("LoadImageA");
    }
    // Answers the previous image, which is ours to free.
    Send(n.hwnd, STM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon));
    if (n.icon) DestroyIcon(n.icon);  // fails only for a handle that is not an icon
    n.icon = icon;
}

void AddTool(FormWindow& w, HWND control) {
    TOOLINFOW ti{};
    ti.cbSize = sizeof ti;
    ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    ti.hwnd = w.hwnd;
    ti.uId = reinterpret_cast<UINT_PTR>(control);
    ti.lpszText = LPSTR_TEXTCALLBACKW;
    if (!SendMessageW(w.tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti)))
        ThrowLastError("TTM_ADDTOOLW");
}

}  // namespace

void CreateControls(FormWindow& w) {
    const auto& f = *w.model;
    w.tooltip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, w.hwnd,
                                nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!w.tooltip) ThrowLastError("CreateWindowExW(tooltips)");
    w.controls.assign(static_cast<std::size_t>(f.ControlCount()), {});
    for (int id = 0; id < f.ControlCount(); ++id) {
        const auto& s = f.ControlAt(id);
        ClassAndStyle k = NativeKind(s);
        RECT r = PixelRect(f, id, w.dpi);
        HWND h = CreateWindowExW(
            k.exStyle, Wide(k.cls).c_str(), L"", WS_CHILD | WS_CLIPSIBLINGS | k.style, r.left,
            r.top, r.right - r.left, r.bottom - r.top, w.hwnd,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirstControlId + id)),
            GetModuleHandleW(nullptr), nullptr);
        if (!h) ThrowLastError("CreateWindowExW(control)");
        NativeControl& n = w.controls[id];
        n.hwnd = h;
        // Named as the program names it ("cmdOK", "obOrientation(1)"), so that a tool
        // driving the window, accessibility or a test, need not count creation order.
        const std::string tag =
            s.index >= 0 ? s.name + "(" + std::to_string(s.index) + ")" : s.name;
        n.nameTag = GlobalAddAtomW(Wide(tag).c_str());
        if (n.nameTag &&
            !SetPropW(h, kNameTagProperty, reinterpret_cast<HANDLE>(UINT_PTR{n.nameTag})))
            ThrowLastError("SetPropW");
        if (s.kind == ControlKind::Spin) {
            // The arrows only report; the position never moves off the middle.
            Send(h, UDM_SETRANGE32, 0, 100);
            Send(h, UDM_SETPOS32, 0, 50);
        }
        AddTool(w, h);
        SyncControl(w, id);
    }
    // Frames go beneath the controls they hold, outermost lowest, and tab
    // strips beneath everything: the pages lie on them.
    for (ControlKind backdrop : {ControlKind::Frame, ControlKind::TabStrip})
        for (int id = f.ControlCount() - 1; id >= 0; --id)
            if (f.ControlAt(id).kind == backdrop &&
                !SetWindowPos(w.controls[id].hwnd, HWND_BOTTOM, 0, 0, 0, 0,
                              SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE))
                ThrowLastError("SetWindowPos");
}

void SyncControl(FormWindow& w, int id) {
    const auto& f = *w.model;
    const ControlState& s = f.ControlAt(id);
    NativeControl& n = w.controls.at(static_cast<std::size_t>(id));
    HWND h = n.hwnd;
    bool first = !n.created;
    w.syncing = true;
    struct Reset {
        FormWindow& w;
        ~Reset() { w.syncing = false; }
    } reset{w};

    const bool rescaled = n.dpi != w.dpi;
    if (first || rescaled || !(s.font == n.shown.font)) ApplyFont(w, n, s.font);
    RECT r = PixelRect(f, id, w.dpi);
    if (!SetWindowPos(h, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                      SWP_NOZORDER | SWP_NOACTIVATE))
        ThrowLastError("SetWindowPos");

    switch (s.kind) {
        case ControlKind::TextBox:
            if (first || s.readOnly != n.shown.readOnly)
                if (!Send(h, EM_SETREADONLY, s.readOnly, 0)) ThrowLastError("EM_SETREADONLY");
            if (first || s.maxLength != n.shown.maxLength) Send(h, EM_LIMITTEXT, s.maxLength, 0);
            SetText(h, s.text);
            break;
        case ControlKind::CheckBox:
        case ControlKind::OptionButton:
            SetText(h, s.caption);
            Send(h, BM_SETCHECK,
                 s.value == 1   ? BST_CHECKED
                 : s.value == 2 ? BST_INDETERMINATE
                                : BST_UNCHECKED,
                 0);
            break;
        case ControlKind::CommandButton:
            SetText(h, s.caption);
            Send(h, BM_SETSTYLE, s.isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
            break;
        case ControlKind::DropDownList:
        case ControlKind::EditableCombo:
            if (first || s.list != n.shown.list) FillCombo(h, s.list);
            // CB_SETCURSEL answers CB_ERR for -1 by design: it clears the selection.
            if (Send(h, CB_GETCURSEL, 0, 0) != s.listIndex) Send(h, CB_SETCURSEL, s.listIndex, 0);
            if (s.kind == ControlKind::EditableCombo) {
                if (first || s.maxLength != n.shown.maxLength)
                    Send(h, CB_LIMITTEXT, s.maxLength, 0);
                SetText(h, s.text);
            }
            break;
        case ControlKind::TabStrip:
            if (first || s.list != n.shown.list) FillTabs(h, s.list);
            if (Send(h, TCM_GETCURSEL, 0, 0) != s.listIndex) Send(h, TCM_SETCURSEL, s.listIndex, 0);
            break;
        case ControlKind::Spin:
            break;
        case ControlKind::Picture:
            if (first || rescaled || s.caption != n.shown.caption || !(s.bounds == n.shown.bounds))
                ShowPicture(n, s.caption, r);
            break;
        case ControlKind::ImageSurface:
            // The picture or the selection may have changed: paint afresh.
            if (!InvalidateRect(h, nullptr, FALSE)) ThrowLastError("InvalidateRect");
            n.bandShown = false;
            break;
        default:
            SetText(h, s.caption);
            break;
    }
    bool visible = Effective(f, id, &ControlState::visible);
    bool enabled = Effective(f, id, &ControlState::enabled);
    ShowWindow(h, visible ? SW_SHOWNA : SW_HIDE);  // returns the previous state, not an error
    EnableWindow(h, enabled);                      // likewise
    if (!first && (s.foreColour != n.shown.foreColour || s.backColour != n.shown.backColour) &&
        !InvalidateRect(h, nullptr, TRUE))
        ThrowLastError("InvalidateRect");
    n.shown = s;
    n.dpi = w.dpi;
    n.created = true;

    // A frame carries its children's visibility and enabled state.
    if (s.kind == ControlKind::Frame)
        for (int c = 0; c < f.ControlCount(); ++c)
            if (f.ControlAt(c).container == id && w.controls[c].created) SyncControl(w, c);
}

HBRUSH ControlBrush(FormWindow& w, HWND control, HDC dc) {
    for (auto& n : w.controls) {
        if (n.hwnd != control) continue;
        COLORREF back = ResolveColour(n.shown.backColour);
        if (SetTextColor(dc, ResolveColour(n.shown.foreColour)) == CLR_INVALID ||
            SetBkColor(dc, back) == CLR_INVALID)
            return nullptr;
        if (!n.brush || n.brushColour != back) {
            HBRUSH b = CreateSolidBrush(back);
            if (!b) return nullptr;
            if (n.brush) Release(n.brush);
            n.brush = b;
            n.brushColour = back;
        }
        return n.brush;
    }
    return nullptr;
}

void UntagControls(FormWindow& w) {
    for (auto& n : w.controls) {
        if (!n.nameTag) continue;
        (void)RemovePropW(n.hwnd, kNameTagProperty);  // answers the data; the window may be gone
        (void)GlobalDeleteAtom(n.nameTag);            // answers 0 once the last reference went
        n.nameTag = 0;
    }
}

void DestroyControls(FormWindow& w) {
    // The child windows go with their parent; fonts and brushes are ours.
    for (auto& n : w.controls) {
        if (n.font) Release(n.font);
        if (n.brush) Release(n.brush);
        if (n.icon) DestroyIcon(n.icon);  // fails only for a handle that is not an icon
        n = {};
    }
}

}  // namespace orv::win32
