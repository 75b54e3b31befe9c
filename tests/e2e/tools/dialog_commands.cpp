// Working another process's dialog the way its user would: tabs, boxes,
// lists, typed text and spin arrows, each step finished when its call returns.
#include <cstdio>

#include "drive.h"
// after windows.h, which drive.h brings
#include <commctrl.h>

namespace drive {
namespace {

struct Step {
    std::string verb;
    std::string what;  // after '='; the control id and its argument, split at the first ':'
};

// The control is given by its id or by the name the program gave it.
bool SplitId(HWND dialog, const std::string& what, int& id, std::string& rest) {
    const size_t colon = what.find(':');
    const std::string which = what.substr(0, colon);
    rest = colon == std::string::npos ? std::string() : what.substr(colon + 1);
    unsigned long long value = 0;
    if (ParseNumber(which, value)) {
        id = static_cast<int>(value);
        return true;
    }
    for (HWND c : Descendants(dialog))
        if (NameTag(c) == which) {
            id = GetDlgCtrlID(c);
            return true;
        }
    return false;
}

LRESULT Send(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    return SendMessageW(h, msg, wp, lp);
}

// Tells the dialog what a user's change of the control would have told it.
void Notify(HWND dialog, HWND control, int id, WORD code) {
    Send(dialog, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id), code),
         reinterpret_cast<LPARAM>(control));
}

int Choose(HWND dialog, HWND control, int id, LRESULT index) {
    if (index < 0 || Send(control, CB_SETCURSEL, static_cast<WPARAM>(index), 0) != index)
        return Fail("no entry " + std::to_string(index) + " in list " + std::to_string(id));
    // A user's pick sends both; the common file dialog acts on the second.
    Notify(dialog, control, id, CBN_SELCHANGE);
    Notify(dialog, control, id, CBN_SELENDOK);
    return kOk;
}

// Presses the arrow as the mouse does: the control reports the press to the
// dialog before the sent button-down returns.
void SpinOnce(HWND spin, bool up) {
    RECT r{};
    GetClientRect(spin, &r);
    const int x = (r.right - r.left) / 2;
    const int y = up ? (r.bottom - r.top) / 4 : (r.bottom - r.top) * 3 / 4;
    Send(spin, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    Send(spin, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

int RunStep(HWND dialog, const Step& s) {
    if (s.verb == "rect") {
        RECT r{};
        if (!GetWindowRect(dialog, &r)) return Fail("GetWindowRect");
        Out("rect " + std::to_string(r.left) + " " + std::to_string(r.top) + " " +
            std::to_string(r.right - r.left) + " " + std::to_string(r.bottom - r.top));
        return kOk;
    }
    if (s.verb == "redraw") {
        // Painted before the call returns, so a screenshot taken next shows it.
        if (!RedrawWindow(dialog, nullptr, nullptr,
                          RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW))
            return Fail("RedrawWindow");
        return kOk;
    }
    if (s.verb == "focus") {
        // The control that has the keyboard focus in the dialog's thread.
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        if (!GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info))
            return Fail("GetGUIThreadInfo");
        HWND front = GetForegroundWindow();
        char cls[64] = "";
        if (front) GetClassNameA(front, cls, sizeof cls);
        Out("focus " + (info.hwndFocus ? ControlRef(info.hwndFocus) : std::string("0")) +
            (front == dialog ? " foreground"
                             : std::string(" behind ") + HandleText(front) + " " + cls) +
            (info.hwndActive == dialog ? " active" : " inactive"));
        return kOk;
    }
    if (s.verb == "placement") {  // the state and the screen rectangle now
        RECT r{};
        if (!GetWindowRect(dialog, &r)) return Fail("GetWindowRect");
        Out(std::string(IsZoomed(dialog)   ? "maximized"
                        : IsIconic(dialog) ? "minimized"
                                           : "normal") +
            " " + std::to_string(r.left) + " " + std::to_string(r.top) + " " +
            std::to_string(r.right) + " " + std::to_string(r.bottom));
        return kOk;
    }
    if (s.verb == "move") {  // where a user would drag it; with a size, as a user would size it
        int v[4] = {};
        const int n = std::sscanf(s.what.c_str(), "%d:%d:%d:%d", &v[0], &v[1], &v[2], &v[3]);
        if ((n != 2 && n != 4) ||
            !SetWindowPos(dialog, nullptr, v[0], v[1], v[2], v[3],
                          (n == 2 ? SWP_NOSIZE : 0) | SWP_NOZORDER | SWP_NOACTIVATE))
            return n == 2 || n == 4 ? Fail("SetWindowPos") : Usage();
        return kOk;
    }
    int id = 0;
    std::string arg;
    if (!SplitId(dialog, s.what, id, arg)) return Fail("no control " + s.what);
    HWND control = GetDlgItem(dialog, id);
    if (!control) return Fail("no control " + std::to_string(id));

    if (s.verb == "tab") {
        unsigned long long index = 0;
        if (!ParseNumber(arg, index)) return Usage();
        Send(control, TCM_SETCURFOCUS, static_cast<WPARAM>(index), 0);
        if (Send(control, TCM_GETCURSEL, 0, 0) != static_cast<LRESULT>(index)) {
            SetLastError(0);
            return Fail("tab " + arg + " not selected");
        }
        return kOk;
    }
    if (s.verb == "click") {
        Send(control, BM_CLICK, 0, 0);
        return kOk;
    }
    if (s.verb == "post-click") {  // for buttons whose handler waits on a message box
        if (!PostMessageW(control, BM_CLICK, 0, 0)) return Fail("BM_CLICK");
        return kOk;
    }
    if (s.verb == "choose") {
        unsigned long long index = 0;
        if (!ParseNumber(arg, index)) return Usage();
        return Choose(dialog, control, id, static_cast<LRESULT>(index));
    }
    if (s.verb == "choose-text") {
        const std::wstring wanted = Wide(arg);
        const LRESULT index = Send(control, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                   reinterpret_cast<LPARAM>(wanted.c_str()));
        if (index == CB_ERR) {
            SetLastError(0);
            return Fail("no entry '" + arg + "' in list " + std::to_string(id));
        }
        return Choose(dialog, control, id, index);
    }
    if (s.verb == "type") {
        const std::wstring text = Wide(arg);
        if (!Send(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str())))
            return Fail("WM_SETTEXT");
        const std::string cls = ClassOf(control);
        Notify(dialog, control, id, cls == "ComboBox" ? CBN_EDITCHANGE : EN_CHANGE);
        return kOk;
    }
    if (s.verb == "spin") {
        const size_t colon = arg.find(':');
        const std::string way = arg.substr(0, colon);
        unsigned long long times = 1;
        if ((way != "up" && way != "down") ||
            (colon != std::string::npos && !ParseNumber(arg.substr(colon + 1), times)))
            return Usage();
        for (unsigned long long i = 0; i < times; ++i) SpinOnce(control, way == "up");
        return kOk;
    }
    if (s.verb == "show") {
        Out(ControlRef(control) + " check=" + std::to_string(Send(control, BM_GETCHECK, 0, 0)) +
            " enabled=" + (IsWindowEnabled(control) ? "1" : "0") +
            " visible=" + (IsWindowVisible(control) ? "1" : "0") + " text=" + TextOf(control));
        return kOk;
    }
    return Usage();
}

}  // namespace

// dialog HWND STEP...: the steps run in order; the first that fails ends the call.
int CmdDialog(const Args& args) {
    if (args.size() < 2) return Usage();
    HWND dialog = ParseWindow(args[0]);
    if (!dialog || !IsWindow(dialog)) return Usage();
    for (size_t i = 1; i < args.size(); ++i) {
        const size_t eq = args[i].find('=');
        const Step step{args[i].substr(0, eq),
                        eq == std::string::npos ? std::string() : args[i].substr(eq + 1)};
        const int code = RunStep(dialog, step);
        if (code != kOk) return code;
    }
    return kOk;
}

}  // namespace drive
