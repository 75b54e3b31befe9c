// A user's mouse and pop-up menus: real input through the system stream,
// aimed at a window's client coordinates, so the target sees ordinary
// button, move and key messages.
#include "drive.h"

namespace drive {
namespace {

bool ToScreen(HWND h, int x, int y, POINT& at) {
    at = {x, y};
    return ClientToScreen(h, &at) != FALSE;
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
    std::vector<int> v;
    HWND h = args.size() == 5 ? ParseWindow(args[0]) : nullptr;
    if (!h || !ParseInts(args, 1, 4, v)) return Usage();
    POINT from, to;
    if (!ToScreen(h, v[0], v[1], from) || !ToScreen(h, v[2], v[3], to))
        return Fail("ClientToScreen");
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

// drag-paint HWND X Y X1 Y1 X2 Y2 N: a drag measured move by move. The left
// button goes down at (X,Y) on the child window there, then the far corner
// goes from (X1,Y1) to (X2,Y2) in N moves; each move is sent and painted
// (RedrawWindow with RDW_UPDATENOW sends WM_PAINT across threads) before the
// next, so the time per move is handling plus paint. Messages rather than
// real input: real moves coalesce and paint only when the queue is empty.
int CmdDragPaint(const Args& args) {
    std::vector<int> v;
    HWND h = args.size() == 8 ? ParseWindow(args[0]) : nullptr;
    if (!h || !ParseInts(args, 1, 7, v) || v[6] < 1) return Usage();
    HWND child = ChildWindowFromPointEx(h, POINT{v[0], v[1]}, CWP_SKIPINVISIBLE);
    if (!child) return Fail("ChildWindowFromPointEx");
    auto at = [&](int x, int y) -> LPARAM {
        POINT p{x, y};
        MapWindowPoints(h, child, &p, 1);
        return MAKELPARAM(p.x, p.y);
    };
    DWORD_PTR ignored = 0;
    auto send = [&](UINT msg, WPARAM wp, LPARAM lp) {
        return SendMessageTimeoutA(child, msg, wp, lp, SMTO_NORMAL, 10000, &ignored) != 0;
    };
    auto paint = [&] {
        return RedrawWindow(child, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN) != FALSE;
    };
    if (!send(WM_LBUTTONDOWN, MK_LBUTTON, at(v[0], v[1])) || !paint())
        return Fail("WM_LBUTTONDOWN");
    const int n = v[6];
    LARGE_INTEGER freq, start, end;
    QueryPerformanceFrequency(&freq);
    QueryPerformanceCounter(&start);
    for (int i = 1; i <= n; ++i) {
        const int x = v[2] + (v[4] - v[2]) * i / n, y = v[3] + (v[5] - v[3]) * i / n;
        if (!send(WM_MOUSEMOVE, MK_LBUTTON, at(x, y)) || !paint()) return Fail("WM_MOUSEMOVE");
    }
    QueryPerformanceCounter(&end);
    if (!send(WM_LBUTTONUP, 0, at(v[4], v[5]))) return Fail("WM_LBUTTONUP");
    const double ms = 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) /
                      static_cast<double>(freq.QuadPart);
    Out("moves=" + std::to_string(n) + " total_ms=" + std::to_string(ms) +
        " per_move_ms=" + std::to_string(ms / n));
    return kOk;
}

// right-click HWND X Y: right button pressed and released at (X,Y), client
// coordinates of HWND.
int CmdRightClick(const Args& args) {
    std::vector<int> v;
    HWND h = args.size() == 3 ? ParseWindow(args[0]) : nullptr;
    if (!h || !ParseInts(args, 1, 2, v)) return Usage();
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
    if (o.positional.empty()) return Usage();
    const double timeout = o.Seconds("timeout", 5);
    HWND menu = nullptr;
    const bool shown = WaitFor(timeout, [&] {
        menu = FindWindowW(L"#32768", nullptr);
        return menu && IsWindowVisible(menu);
    });
    if (!shown) return kNotFound;
    const int keys = CmdKeys(o.positional);
    if (keys != kOk) return keys;
    return WaitFor(timeout, [&] { return !IsWindow(menu) || !IsWindowVisible(menu); }) ? kOk
                                                                                       : kNotFound;
}

}  // namespace drive
