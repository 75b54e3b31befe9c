// Finding, listing, watching and poking other processes' windows.
#include <map>
#include <set>

#include "drive.h"

namespace drive {
namespace {

struct Filter {
    std::string className;
    std::string title;
    DWORD pid = 0;
    bool visibleOnly = false;
};

struct Found {
    HWND window;
    DWORD pid;
    bool visible;
    std::string className;
};

std::vector<Found> TopLevel() {
    std::vector<Found> found;
    EnumWindows(
        [](HWND h, LPARAM p) -> BOOL {
            reinterpret_cast<std::vector<Found>*>(p)->push_back(
                {h, ProcessOf(h), IsWindowVisible(h) != FALSE, ClassOf(h)});
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

bool Matches(const Found& w, const Filter& f) {
    if (!f.className.empty() && w.className != f.className) return false;
    if (f.pid != 0 && w.pid != f.pid) return false;
    if (f.visibleOnly && !w.visible) return false;
    if (!f.title.empty() && TextOf(w.window) != f.title) return false;
    return true;
}

std::string Describe(const Found& w) {
    return HandleText(w.window) + " pid=" + std::to_string(w.pid) +
           (w.visible ? " visible" : " hidden") + " class=" + w.className +
           " title=" + TextOf(w.window);
}

// Waits up to the timeout for the first top-level window that matches.
bool FindFirst(const Filter& f, double timeout, Found& hit) {
    return WaitFor(timeout, [&] {
        for (const Found& w : TopLevel())
            if (Matches(w, f)) {
                hit = w;
                return true;
            }
        return false;
    });
}

bool ReadPid(const Options& o, DWORD& pid) {
    unsigned long long value = 0;
    if (!o.Has("pid")) return true;
    if (!ParseNumber(o.Get("pid"), value)) return false;
    pid = static_cast<DWORD>(value);
    return true;
}

}  // namespace

int CmdFindWindow(const Args& args) {
    const Options o = Parse(args, {"visible"});
    Filter f{o.Get("class"), o.Get("title"), 0, o.Has("visible")};
    if (!ReadPid(o, f.pid) || (f.className.empty() && f.title.empty())) return Usage();
    Found hit{};
    if (!FindFirst(f, o.Seconds("timeout", 0), hit)) return kNotFound;
    Out(Describe(hit));
    return kOk;
}

int CmdWaitGone(const Args& args) {
    const Options o = Parse(args, {});
    if (o.positional.size() != 1) return Usage();
    HWND h = ParseWindow(o.positional[0]);
    if (!h) return Usage();
    return WaitFor(o.Seconds("timeout", 0), [&] { return !IsWindow(h); }) ? kOk : kNotFound;
}

int CmdWindows(const Args& args) {
    const Options o = Parse(args, {"all"});
    Filter f{"", "", 0, !o.Has("all")};
    if (!ReadPid(o, f.pid)) return Usage();
    for (const Found& w : TopLevel())
        if (Matches(w, f)) Out(Describe(w));
    return kOk;
}

// Notes every top-level window that a process which had none when the watch
// began creates, however briefly it lives; with --pid, every window that this
// one process creates after the watch began. Lines are printed as they are seen:
// "new ..." at first sight, "shown ..." when a window first seen hidden
// becomes visible.
int CmdWatchWindows(const Args& args) {
    const Options o = Parse(args, {});
    const std::string ready = o.Get("ready"), stop = o.Get("stop");
    DWORD only = 0;
    if (ready.empty() || stop.empty() || !ReadPid(o, only)) return Usage();
    std::set<DWORD> known{GetCurrentProcessId()};
    std::set<HWND> before;
    for (const Found& w : TopLevel()) {
        known.insert(w.pid);
        before.insert(w.window);
    }
    std::map<HWND, bool> seenVisible;
    if (!Touch(ready)) return Fail("cannot create " + ready);
    const bool stopped = WaitFor(o.Seconds("timeout", 60), [&] {
        for (const Found& w : TopLevel()) {
            if (only ? w.pid != only || before.count(w.window) : known.count(w.pid) != 0) continue;
            auto [it, first] = seenVisible.emplace(w.window, w.visible);
            if (first) {
                Out("new " + Describe(w));
            } else if (w.visible && !it->second) {
                it->second = true;
                Out("shown " + Describe(w));
            }
        }
        return FileExists(stop);
    });
    return stopped ? kOk : kNotFound;
}

// Types into another process's control: the descendant with that id, an edit
// box first where a combo box and its edit box share the id.
int CmdSetText(const Args& args) {
    unsigned long long id = 0;
    if (args.size() != 3 || !ParseWindow(args[0]) || !ParseNumber(args[1], id)) return Usage();
    HWND target = nullptr;
    for (HWND c : Descendants(ParseWindow(args[0]))) {
        if (static_cast<unsigned long long>(GetDlgCtrlID(c)) != id) continue;
        if (!target || ClassOf(c) == "Edit") target = c;
    }
    if (!target) {
        SetLastError(0);
        return Fail("no control " + args[1]);
    }
    const std::wstring text = Wide(args[2]);
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(target, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()),
                             SMTO_ABORTIFHUNG, 5000, &result) ||
        !result)
        return Fail("WM_SETTEXT");
    return kOk;
}

int CmdPost(const Args& args) {
    if (args.size() != 4) return Usage();
    HWND h = ParseWindow(args[0]);
    unsigned long long msg = 0, wp = 0, lp = 0;
    if (!h || !ParseNumber(args[1], msg) || !ParseNumber(args[2], wp) || !ParseNumber(args[3], lp))
        return Usage();
    if (!PostMessageW(h, static_cast<UINT>(msg), static_cast<WPARAM>(wp), static_cast<LPARAM>(lp)))
        return Fail("PostMessage to " + args[0]);
    return kOk;
}

// What Windows sends at sign-out (ENDSESSION_LOGOFF) or Restart Manager
// (ENDSESSION_CLOSEAPP): WM_QUERYENDSESSION, then WM_ENDSESSION(TRUE), each
// waited for as the system waits; a handler that blocks (a box) times out.
int CmdEndSession(const Args& args) {
    const Options o = Parse(args, {"close-app"});
    HWND h = o.positional.size() == 1 ? ParseWindow(o.positional[0]) : nullptr;
    if (!h) return Usage();
    const LPARAM why =
        o.Has("close-app") ? ENDSESSION_CLOSEAPP : static_cast<LPARAM>(ENDSESSION_LOGOFF);
    const UINT ms = static_cast<UINT>(o.Seconds("timeout", 5) * 1000);
    const ULONGLONG began = GetTickCount64();
    DWORD_PTR agreed = 0, done = 0;
    if (!SendMessageTimeoutW(h, WM_QUERYENDSESSION, 0, why, SMTO_NORMAL, ms, &agreed))
        return Fail("WM_QUERYENDSESSION unanswered");
    Out("query=" + std::to_string(agreed));
    if (!agreed) return kNotFound;
    if (!SendMessageTimeoutW(h, WM_ENDSESSION, TRUE, why, SMTO_NORMAL, ms, &done) &&
        GetLastError() == ERROR_TIMEOUT)
        return Fail("WM_ENDSESSION not handled within the timeout");
    Out("handled_ms=" + std::to_string(GetTickCount64() - began));
    return kOk;
}

// A message box is a visible #32770 window; its texts are its Static children.
int CmdMsgBox(const Args& args) {
    const Options o = Parse(args, {});
    Filter f{"#32770", o.Get("title"), 0, true};
    Found hit{};
    if (!FindFirst(f, o.Seconds("timeout", 0), hit)) return kNotFound;
    Out(Describe(hit));
    for (HWND child : Descendants(hit.window)) {
        const std::string cls = ClassOf(child);
        if (cls == "Static") {
            const std::string text = TextOf(child);
            if (!text.empty()) Out("text " + text);
        } else if (cls == "Button") {
            Out("button " + std::to_string(GetDlgCtrlID(child)) + " " + TextOf(child));
        }
    }
    return kOk;
}

int CmdPress(const Args& args) {
    HWND dialog = args.size() == 2 ? ParseWindow(args[0]) : nullptr;
    if (!dialog) return Usage();
    unsigned long long id = 0;
    const bool byId = ParseNumber(args[1], id);
    HWND hit = nullptr;
    for (HWND c : Descendants(dialog)) {
        if (ClassOf(c) != "Button") continue;
        std::string caption;
        for (char ch : TextOf(c))
            if (ch != '&') caption += ch;
        if (byId ? static_cast<unsigned long long>(GetDlgCtrlID(c)) == id
                 : caption == args[1] || NameTag(c) == args[1]) {
            hit = c;
            break;
        }
    }
    if (!hit) {
        SetLastError(0);
        return Fail("no button " + args[1]);
    }
    // Posted, not sent: a modal loop in the owner may not return to us.
    if (!PostMessageW(hit, BM_CLICK, 0, 0)) return Fail("BM_CLICK");
    return kOk;
}

}  // namespace drive
