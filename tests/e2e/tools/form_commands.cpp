// Reading and setting another process's windows and their controls.
#include <cstdlib>

#include "drive.h"

namespace drive {
namespace {

// A sent message that cannot hang us on a stuck owner; false when it timed out.
bool Ask(HWND h, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    DWORD_PTR r = 0;
    if (!SendMessageTimeoutW(h, msg, wp, lp, SMTO_ABORTIFHUNG, 2000, &r)) return false;
    result = static_cast<LRESULT>(r);
    return true;
}

// Nested too: a common dialog may keep its fields inside a child dialog.
HWND ChildById(HWND parent, int id) {
    for (HWND c : Descendants(parent))
        if (GetDlgCtrlID(c) == id) return c;
    return nullptr;
}

bool ParseId(const std::string& text, int& id) {
    unsigned long long v = 0;
    if (!ParseNumber(text, v) || v > 0xFFFF) return false;
    id = static_cast<int>(v);
    return true;
}

// The W form: the system copies the text across the process boundary.
std::string ComboItem(HWND combo, int index) {
    LRESULT length = 0;
    if (!Ask(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0, length) || length < 0) return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    LRESULT copied = 0;
    if (!Ask(combo, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()), copied) ||
        copied < 0)
        return {};
    text.resize(static_cast<size_t>(copied));
    return Utf8(text);
}

}  // namespace

// controls HWND: one line per child control,
//   "control ID CLASS enabled|disabled visible|hidden state=N text=T"
// where state is the check of a button or the selected index of a combo box
// (-1 none), followed for a combo box by "item ID INDEX TEXT" lines.
int CmdControls(const Args& args) {
    HWND form = args.size() == 1 ? ParseWindow(args[0]) : nullptr;
    if (!form) return Usage("controls HWND");
    if (!IsWindow(form)) return kNotFound;
    for (HWND c : Descendants(form)) {
        const std::string cls = ClassOf(c);
        const int id = GetDlgCtrlID(c);
        LRESULT state = 0;
        bool ok = true;
        if (cls == "Button") ok = Ask(c, BM_GETCHECK, 0, 0, state);
        if (cls == "ComboBox") ok = Ask(c, CB_GETCURSEL, 0, 0, state);
        if (!ok) return Fail("no answer from control " + std::to_string(id));
        Out("control " + std::to_string(id) + " " + cls + (IsWindowEnabled(c) ? " enabled" : " disabled") +
            (IsWindowVisible(c) ? " visible" : " hidden") + " state=" + std::to_string(state) +
            " text=" + TextOf(c));
        if (cls != "ComboBox") continue;
        LRESULT count = 0;
        if (!Ask(c, CB_GETCOUNT, 0, 0, count)) return Fail("CB_GETCOUNT");
        for (int i = 0; i < count; ++i)
            Out("item " + std::to_string(id) + " " + std::to_string(i) + " " + ComboItem(c, i));
    }
    return kOk;
}

// choose HWND ID TEXT: selects the combo box entry of exactly that text and
// tells the owner as a user's choice would (CB_SETCURSEL notifies nobody).
int CmdChoose(const Args& args) {
    const char* usage = "choose HWND ID TEXT";
    HWND form = args.size() == 3 ? ParseWindow(args[0]) : nullptr;
    int id = 0;
    if (!form || !ParseId(args[1], id)) return Usage(usage);
    HWND combo = ChildById(form, id);
    if (!combo) {
        SetLastError(0);
        return Fail("no control " + args[1]);
    }
    const std::wstring wanted = Wide(args[2]);
    LRESULT index = 0;
    if (!Ask(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(wanted.c_str()), index))
        return Fail("CB_FINDSTRINGEXACT");
    if (index == CB_ERR) {
        SetLastError(0);
        return Fail("no entry '" + args[2] + "'");
    }
    LRESULT set = 0;
    if (!Ask(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0, set) || set != index) return Fail("CB_SETCURSEL");
    HWND owner = GetParent(combo);
    if (!PostMessageW(owner, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo)))
        return Fail("posting CBN_SELCHANGE");
    return kOk;
}

}  // namespace drive

namespace drive {

// placement HWND: "maximized|minimized|normal LEFT TOP RIGHT BOTTOM", the
// window's state and its screen rectangle now.
int CmdPlacement(const Args& args) {
    HWND h = args.size() == 1 ? ParseWindow(args[0]) : nullptr;
    if (!h) return Usage("placement HWND");
    if (!IsWindow(h)) return kNotFound;
    RECT r{};
    if (!GetWindowRect(h, &r)) return Fail("GetWindowRect");
    const char* state = IsZoomed(h) ? "maximized" : IsIconic(h) ? "minimized" : "normal";
    Out(std::string(state) + " " + std::to_string(r.left) + " " + std::to_string(r.top) + " " +
        std::to_string(r.right) + " " + std::to_string(r.bottom));
    return kOk;
}

// move HWND X Y WIDTH HEIGHT: where a user would drag and size the window.
int CmdMove(const Args& args) {
    const char* usage = "move HWND X Y WIDTH HEIGHT";
    HWND h = args.size() == 5 ? ParseWindow(args[0]) : nullptr;
    int v[4] = {};
    for (size_t i = 1; h && i < 5; ++i) {
        char* end = nullptr;
        v[i - 1] = static_cast<int>(std::strtol(args[i].c_str(), &end, 10));
        if (!end || *end != '\0' || args[i].empty()) h = nullptr;
    }
    if (!h) return Usage(usage);
    if (!SetWindowPos(h, nullptr, v[0], v[1], v[2], v[3], SWP_NOZORDER | SWP_NOACTIVATE))
        return Fail("SetWindowPos");
    return kOk;
}

}  // namespace drive
