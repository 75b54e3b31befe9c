// Reading and setting another process's windows and their controls.
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

// The W form: the system copies the text across the process boundary.
std::string ComboItem(HWND combo, int index) {
    LRESULT length = 0;
    if (!Ask(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0, length) || length < 0)
        return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    LRESULT copied = 0;
    if (!Ask(combo, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()),
             copied) ||
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
    if (!form) return Usage();
    if (!IsWindow(form)) return kNotFound;
    for (HWND c : Descendants(form)) {
        const std::string cls = ClassOf(c);
        const int id = GetDlgCtrlID(c);
        LRESULT state = 0;
        bool ok = true;
        if (cls == "Button") ok = Ask(c, BM_GETCHECK, 0, 0, state);
        if (cls == "ComboBox") ok = Ask(c, CB_GETCURSEL, 0, 0, state);
        if (!ok) return Fail("no answer from control " + std::to_string(id));
        Out("control " + std::to_string(id) + " " + cls +
            (IsWindowEnabled(c) ? " enabled" : " disabled") +
            (IsWindowVisible(c) ? " visible" : " hidden") + " state=" + std::to_string(state) +
            " name=" + NameTag(c) + " text=" + TextOf(c));
        if (cls != "ComboBox") continue;
        LRESULT count = 0;
        if (!Ask(c, CB_GETCOUNT, 0, 0, count)) return Fail("CB_GETCOUNT");
        for (int i = 0; i < count; ++i)
            Out("item " + std::to_string(id) + " " + std::to_string(i) + " " + ComboItem(c, i));
    }
    return kOk;
}

}  // namespace drive
