// The monitors as the system presents them, and the pointer.
#include <cstdlib>

#include "drive.h"

namespace drive {
namespace {

BOOL CALLBACK PrintMonitor(HMONITOR m, HDC, LPRECT, LPARAM) {
    MONITORINFOEXA info{};
    info.cbSize = sizeof info;
    if (!GetMonitorInfoA(m, &info)) return TRUE;
    const RECT& r = info.rcMonitor;
    Out(std::string("monitor ") + std::to_string(r.left) + " " + std::to_string(r.top) + " " +
        std::to_string(r.right - r.left) + " " + std::to_string(r.bottom - r.top) +
        ((info.dwFlags & MONITORINFOF_PRIMARY) ? " primary" : " secondary"));
    return TRUE;
}

}  // namespace

// monitors: "virtual LEFT TOP WIDTH HEIGHT", "dpi N", then one
// "monitor LEFT TOP WIDTH HEIGHT primary|secondary" line per monitor.
int CmdMonitors(const Args& args) {
    if (!args.empty()) return Usage("monitors");
    Out("virtual " + std::to_string(GetSystemMetrics(SM_XVIRTUALSCREEN)) + " " +
        std::to_string(GetSystemMetrics(SM_YVIRTUALSCREEN)) + " " +
        std::to_string(GetSystemMetrics(SM_CXVIRTUALSCREEN)) + " " +
        std::to_string(GetSystemMetrics(SM_CYVIRTUALSCREEN)));
    HDC dc = GetDC(nullptr);
    if (!dc) return Fail("GetDC");
    Out("dpi " + std::to_string(GetDeviceCaps(dc, LOGPIXELSX)));
    ReleaseDC(nullptr, dc);
    if (!EnumDisplayMonitors(nullptr, nullptr, PrintMonitor, 0)) return Fail("EnumDisplayMonitors");
    return kOk;
}

// cursor X Y: puts the pointer at a screen position (negative left of or
// above the primary monitor).
int CmdCursor(const Args& args) {
    const char* usage = "cursor X Y";
    if (args.size() != 2) return Usage(usage);
    int v[2] = {};
    for (size_t i = 0; i < 2; ++i) {
        char* end = nullptr;
        v[i] = static_cast<int>(std::strtol(args[i].c_str(), &end, 10));
        if (!end || *end != '\0' || args[i].empty()) return Usage(usage);
    }
    if (!SetCursorPos(v[0], v[1])) return Fail("SetCursorPos");
    POINT p{};
    if (!GetCursorPos(&p)) return Fail("GetCursorPos");
    Out("cursor " + std::to_string(p.x) + " " + std::to_string(p.y));
    return kOk;
}

}  // namespace drive
