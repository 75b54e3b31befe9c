// A user's mouse and pop-up menus: real input through the system stream,
// aimed at a window's client coordinates, so the target sees ordinary
// button, move and key messages.
#include <cstdlib>

#include "drive.h"

namespace drive {
namespace {

bool ToScreen(HWND h, int x, int y, POINT& at) {
    at = {x, y};
    return ClientToScreen(h, &at) != FALSE;
}

bool ParseInts(const Args& args, size_t first, size_t count, std::vector<int>& out) {
    out.clear();
    for (size_t i = first; i < first + count; ++i) {
        char* end = nullptr;
        const long v = std::strtol(args[i].c_str(), &end, 10);
        if (!end || *end != '\0' || args[i].empty()) return false;
        out.push_back(static_cast<int>(v));
    }
    return true;
}

// The pointer is moved first and the button event carries no position, as a
// real mouse reports where it already is. Every step gets a short gap so the
// receiving thread reads each transition rather than a coalesced move.
bool MoveTo(const POINT& p) {
    if (!SetCursorPos(p.x, p.y)) return false;
    Sleep(20);
    return true;
}

void Button(DWORD flags) {
    mouse_event(flags, 0, 0, 0, 0);
    Sleep(40);
}

}  // namespace

// drag HWND X1 Y1 X2 Y2: left button pressed at (X1,Y1), moved in steps to
// (X2,Y2) and released there; client coordinates of HWND.
int CmdDrag(const Args& args) {
    const char* usage = "drag HWND X1 Y1 X2 Y2";
    std::vector<int> v;
    HWND h = args.size() == 5 ? ParseWindow(args[0]) : nullptr;
    if (!h || !ParseInts(args, 1, 4, v)) return Usage(usage);
    POINT from, to;
    if (!ToScreen(h, v[0], v[1], from) || !ToScreen(h, v[2], v[3], to)) return Fail("ClientToScreen");
    if (!MoveTo(from)) return Fail("SetCursorPos");
    Button(MOUSEEVENTF_LEFTDOWN);
    constexpr int kSteps = 4;
    for (int i = 1; i <= kSteps; ++i) {
        const POINT p{from.x + (to.x - from.x) * i / kSteps, from.y + (to.y - from.y) * i / kSteps};
        if (!MoveTo(p)) return Fail("SetCursorPos");
    }
    Button(MOUSEEVENTF_LEFTUP);
    return kOk;
}

// right-click HWND X Y: right button pressed and released at (X,Y), client
// coordinates of HWND.
int CmdRightClick(const Args& args) {
    const char* usage = "right-click HWND X Y";
    std::vector<int> v;
    HWND h = args.size() == 3 ? ParseWindow(args[0]) : nullptr;
    if (!h || !ParseInts(args, 1, 2, v)) return Usage(usage);
    POINT at;
    if (!ToScreen(h, v[0], v[1], at)) return Fail("ClientToScreen");
    if (!MoveTo(at)) return Fail("SetCursorPos");
    Button(MOUSEEVENTF_RIGHTDOWN);
    Button(MOUSEEVENTF_RIGHTUP);
    return kOk;
}

}  // namespace drive

namespace drive {

// pick-menu KEY... [--timeout S]: waits for a pop-up menu (#32768) to show,
// picks from it with the keys (as `keys` sends them) and waits until it has
// gone. 1 when no menu came or it stayed.
int CmdPickMenu(const Args& args) {
    const Options o = Parse(args, {});
    if (o.positional.empty()) return Usage("pick-menu KEY... [--timeout S]");
    const double timeout = o.Seconds("timeout", 5);
    HWND menu = nullptr;
    const bool shown = WaitFor(timeout, [&] {
        menu = FindWindowW(L"#32768", nullptr);
        return menu && IsWindowVisible(menu);
    });
    if (!shown) return kNotFound;
    const int keys = CmdKeys(o.positional);
    if (keys != kOk) return keys;
    return WaitFor(timeout, [&] { return !IsWindow(menu) || !IsWindowVisible(menu); }) ? kOk : kNotFound;
}

}  // namespace drive
