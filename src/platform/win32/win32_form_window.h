#pragma once
// What the Win32 renderer keeps per window, shared by its two source files.
#include <windows.h>

#include <string>
#include <vector>

#include "platform/forms.h"
#include "platform/win32/win32_util.h"

namespace orv::win32 {

class Win32FormHost;

constexpr int kFirstControlId = 1000;  // clear of IDOK and IDCANCEL
// The window property holding a control's name tag, a global atom.
constexpr const wchar_t* kNameTagProperty = L"Orvanex.Name";

struct NativeControl {
    HWND hwnd = nullptr;
    HFONT font = nullptr;
    HBRUSH brush = nullptr;
    COLORREF brushColour = 0;
    HICON icon = nullptr;          // a picture's image, loaded at the control's size
    platform::ControlState shown;  // what the native control was last given
    UINT dpi = 0;                  // the scale its font and picture were made for
    bool created = false;
    RECT band{};  // image surfaces: the selection last painted, in pixels
    bool bandShown = false;
    ATOM nameTag = 0;  // the control's program name, for tools that drive the window
};

struct FormWindow {
    Win32FormHost* host = nullptr;
    platform::FormEvents* model = nullptr;
    HWND hwnd = nullptr;
    HWND tooltip = nullptr;
    UINT dpi = 96;
    std::vector<NativeControl> controls;
    std::vector<bool> timerSet;
    platform::FormState shown;  // what the window was last given
    bool done = false;          // a modal loop on it may end
    bool syncing = false;       // notifications caused by our own updates are not the user's
    std::wstring tipText;       // storage for the tooltip being shown
    std::vector<HWND> disabledForModal;
};

COLORREF ResolveColour(uint32_t colour);
int ToPixels(int twips, UINT dpi);
int ToTwips(int pixels, UINT dpi);
UINT DpiOf(HWND hwnd);

// Native controls (win32_form_controls.cpp).
void CreateControls(FormWindow& w);
void SyncControl(FormWindow& w, int id);
// Before the window goes: the name tags are ours to remove.
void UntagControls(FormWindow& w);
void DestroyControls(FormWindow& w);
HBRUSH ControlBrush(FormWindow& w, HWND control, HDC dc);

// Image surface controls (win32_image_surface.cpp): the window class that
// shows a surface's picture and hands the mouse to the window.
const char* SurfaceClassName();
FormWindow* FormOf(HWND form);

}  // namespace orv::win32
