// What can be seen of the notification area from outside. With no tray on
// the X display, Wine's explorer keeps the icons in a small window of its own
// ("Wine System Tray"), one visible child window per icon.
#include "drive.h"

namespace drive {
namespace {

int CountIcons() {
    int count = 0;
    EnumWindows(
        [](HWND h, LPARAM p) -> BOOL {
            if (ClassOf(h) != "__winex11_standalone_tray") return TRUE;
            EnumChildWindows(
                h,
                [](HWND c, LPARAM q) -> BOOL {
                    if (ClassOf(c) == "__winex11_tray_icon" && IsWindowVisible(c))
                        ++*reinterpret_cast<int*>(q);
                    return TRUE;
                },
                p);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&count));
    return count;
}

}  // namespace

// tray [--count N --timeout S]: prints the number of icons; with --count,
// waits until there are exactly N.
int CmdTray(const Args& args) {
    const Options o = Parse(args, {});
    unsigned long long wanted = 0;
    const bool waiting = o.Has("count");
    if (waiting && !ParseNumber(o.Get("count"), wanted)) return Usage();
    int count = 0;
    const bool ok = WaitFor(waiting ? o.Seconds("timeout", 0) : 0, [&] {
        count = CountIcons();
        return !waiting || static_cast<unsigned long long>(count) == wanted;
    });
    Out("icons " + std::to_string(count));
    return ok ? kOk : kNotFound;
}

}  // namespace drive
