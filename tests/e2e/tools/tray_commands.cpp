// What can be seen of the notification area from outside. With no tray on
// the X display, Wine's explorer keeps the icons in a small window of its own
// ("Wine System Tray"), one visible child window per icon.
#include "drive.h"

namespace drive {
namespace {

std::vector<HWND> Icons() {
    std::vector<HWND> icons;
    EnumWindows(
        [](HWND h, LPARAM p) -> BOOL {
            if (ClassOf(h) != "__winex11_standalone_tray") return TRUE;
            EnumChildWindows(
                h,
                [](HWND c, LPARAM q) -> BOOL {
                    if (ClassOf(c) == "__winex11_tray_icon" && IsWindowVisible(c))
                        reinterpret_cast<std::vector<HWND>*>(q)->push_back(c);
                    return TRUE;
                },
                p);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&icons));
    return icons;
}

}  // namespace

// tray [--count N --timeout S]: prints each icon's window (which a real click
// can aim at) and the number of icons; with --count, waits until there are exactly N.
int CmdTray(const Args& args) {
    const Options o = Parse(args, {});
    unsigned long long wanted = 0;
    const bool waiting = o.Has("count");
    if (waiting && !ParseNumber(o.Get("count"), wanted)) return Usage();
    std::vector<HWND> icons;
    const bool ok = WaitFor(waiting ? o.Seconds("timeout", 0) : 0, [&] {
        icons = Icons();
        return !waiting || icons.size() == wanted;
    });
    for (HWND icon : icons) Out("icon " + HandleText(icon));
    Out("icons " + std::to_string(icons.size()));
    return ok ? kOk : kNotFound;
}

}  // namespace drive
