#include "platform/win32/win32_ui.h"

#include <windowsx.h>

#include <algorithm>

#include "platform/win32/win32_util.h"
#include "resources/resource_ids.h"

namespace orv::win32 {
namespace {

constexpr UINT kTrayCallback = 0x200;  // WM_MOUSEMOVE, as the tray record asks

HWND H(platform::WindowId w) {
    return reinterpret_cast<HWND>(w);
}

platform::WindowEvents* EventsOf(HWND hwnd) {
    return reinterpret_cast<platform::WindowEvents*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
}

LRESULT CALLBACK ContainerProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    static const UINT taskbarCreated = RegisterWindowMessageA("TaskbarCreated");
    platform::WindowEvents* events = EventsOf(hwnd);
    if (events) {
        switch (msg) {
            case WM_TIMER:
                events->OnTimer(static_cast<int>(wp));
                return 0;
            case WM_HOTKEY:
                events->OnHotKey(static_cast<int>(wp));
                return 0;
            case kTrayCallback:
                events->OnTrayNotify(static_cast<int>(lp));
                return 0;
            case WM_CLOSE:
                events->OnCloseRequest();
                return 0;
            case WM_QUERYENDSESSION:
                // Never refused, and nothing ends here: another program may
                // still refuse, and Restart Manager (lParam ENDSESSION_CLOSEAPP)
                // closes only once every one has agreed.
                return TRUE;
            case WM_ENDSESSION:
                // The session (or Restart Manager's close) goes ahead: save
                // without asking and end; Windows may end the process as soon
                // as this returns.
                if (wp && (lp & ENDSESSION_CLOSEAPP))
                    events->OnCloseRequest();  // Restart Manager: the session goes on
                else if (wp)
                    events->OnSessionEnd();
                return 0;
            case WM_DESTROY:
                SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
                events->OnDestroyed();
                return 0;
            default:
                if (taskbarCreated && msg == taskbarCreated) {
                    events->OnTaskbarCreated();
                    return 0;
                }
        }
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}

struct InputBoxState {
    const std::string* prompt;
    const std::string* title;
    const std::string* defaultText;
    std::string result;
};

INT_PTR CALLBACK InputBoxProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp) {
    auto* st = reinterpret_cast<InputBoxState*>(GetWindowLongPtrA(dlg, DWLP_USER));
    switch (msg) {
        case WM_INITDIALOG:
            st = reinterpret_cast<InputBoxState*>(lp);
            SetWindowLongPtrA(dlg, DWLP_USER, lp);
            SetWindowTextW(dlg, Wide(*st->title).c_str());
            SetDlgItemTextW(dlg, IDC_INPUT_PROMPT, Wide(*st->prompt).c_str());
            SetDlgItemTextW(dlg, IDC_INPUT_TEXT, Wide(*st->defaultText).c_str());
            SetForegroundWindow(dlg);
            // Typing goes into the text box, replacing the proposed text.
            if (HWND edit = GetDlgItem(dlg, IDC_INPUT_TEXT)) {
                SetFocus(edit);
                SendMessageW(edit, EM_SETSEL, 0, -1);
                return FALSE;  // the focus is set
            }
            return TRUE;
        case WM_COMMAND:
            if (LOWORD(wp) == IDOK) {
                st->result = WindowText(GetDlgItem(dlg, IDC_INPUT_TEXT));
                EndDialog(dlg, IDOK);
                return TRUE;
            }
            if (LOWORD(wp) == IDCANCEL) {
                EndDialog(dlg, IDCANCEL);
                return TRUE;
            }
    }
    return FALSE;
}

}  // namespace

platform::WindowId Win32Ui::CreateHiddenWindow(platform::WindowEvents& events) {
    static ATOM cls = [] {
        WNDCLASSA wc{};
        wc.lpfnWndProc = ContainerProc;
        wc.hInstance = Instance();
        wc.lpszClassName = kContainerClass;
        return RegisterClassA(&wc);
    }();
    if (!cls) throw LastError("RegisterClass");
    HWND hwnd = CreateWindowExA(WS_EX_TOOLWINDOW, kContainerClass, "Orvanex", WS_POPUP, 0, 0, 0, 0,
                                nullptr, nullptr, Instance(), nullptr);
    if (!hwnd) throw LastError("CreateWindowEx");
    // Run elevated, the window would not hear the shell's TaskbarCreated, so the tray
    // icon would not come back after Explorer restarts: UIPI drops registered
    // messages from a lower integrity level unless the window lets them in. The
    // close that "-exit" posts from a standard start is let in too. A refusal
    // costs only that, so the program starts all the same.
    for (UINT allowed : {UINT{WM_CLOSE}, RegisterWindowMessageA("TaskbarCreated")})
        if (allowed) (void)ChangeWindowMessageFilterEx(hwnd, allowed, MSGFLT_ALLOW, nullptr);
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&events));
    if (!main_) main_ = hwnd;
    return reinterpret_cast<platform::WindowId>(hwnd);
}

HWND Win32Ui::OwnerFor(platform::WindowId owner) const {
    if (owner && IsWindow(H(owner))) return H(owner);
    // A window of ours that is active (the popup, a dialog) keeps its place
    // above what it opens; otherwise the hidden main window owns it.
    if (HWND active = GetActiveWindow()) return active;
    return main_;
}

void Win32Ui::DestroyWindow(platform::WindowId window) {
    if (H(window) == main_) main_ = nullptr;
    if (IsWindow(H(window))) {
        SetWindowLongPtrA(H(window), GWLP_USERDATA, 0);
        ::DestroyWindow(H(window));
    }
}

void Win32Ui::HideWindow(platform::WindowId window) {
    if (IsWindowVisible(H(window))) ShowWindow(H(window), SW_HIDE);
}

void Win32Ui::HideOwnerWindow(platform::WindowId window) {
    HWND owner = GetWindow(H(window), GW_OWNER);
    if (owner) ShowWindow(owner, SW_HIDE);
}

void Win32Ui::SetTimer(platform::WindowId window, int timerId, int milliseconds) {
    if (!::SetTimer(H(window), static_cast<UINT_PTR>(timerId), static_cast<UINT>(milliseconds),
                    nullptr))
        throw LastError("SetTimer");
}

void Win32Ui::KillTimer(platform::WindowId window, int timerId) {
    ::KillTimer(H(window), static_cast<UINT_PTR>(timerId));
}

int Win32Ui::RunMessageLoop() {
    MSG msg;
    while (!quitting_) {
        BOOL r = GetMessageW(&msg, nullptr, 0, 0);
        if (r == 0) return static_cast<int>(msg.wParam);
        if (r == -1) return 1;
        Dispatch(msg);
    }
    return exitCode_;
}

bool Win32Ui::CloseResident(double timeoutSeconds) {
    const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(timeoutSeconds * 1000);
    auto left = [deadline] {
        ULONGLONG now = GetTickCount64();
        return now < deadline ? static_cast<DWORD>(deadline - now) : 0;
    };
    // A resident that has just claimed its role may not have its window yet.
    HWND h;
    while (!(h = FindWindowA(kContainerClass, nullptr))) {
        if (!left()) return false;
        Sleep(50);
    }
    DWORD pid = 0;
    HANDLE process = nullptr;
    if (GetWindowThreadProcessId(h, &pid) && pid) process = OpenProcess(SYNCHRONIZE, FALSE, pid);
    if (!PostMessageA(h, WM_CLOSE, 0, 0)) {
        if (process) CloseHandle(process);
        return !IsWindow(h);
    }
    if (process) {
        // The exe stays locked until the process has gone, not just its window.
        DWORD r = WaitForSingleObject(process, left());
        CloseHandle(process);
        return r == WAIT_OBJECT_0;
    }
    while (IsWindow(h)) {
        if (!left()) return false;
        Sleep(50);
    }
    return true;
}

void Win32Ui::Dispatch(MSG& msg) {
    if (preTranslate && preTranslate(msg)) return;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
}

void Win32Ui::Quit(int exitCode) {
    quitting_ = true;
    exitCode_ = exitCode;
    PostQuitMessage(exitCode);
}

void Win32Ui::ProcessMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));  // leave it for the outer loop
            return;
        }
        Dispatch(msg);
    }
}

void Win32Ui::WaitForMessages(double maxSeconds) {
    DWORD ms = static_cast<DWORD>(std::clamp(maxSeconds * 1000.0, 1.0, 60000.0));
    // Callers loop until a deadline: a wait that cannot be made must still
    // take its time, or the loop spins a core.
    if (MsgWaitForMultipleObjects(0, nullptr, FALSE, ms, QS_ALLINPUT) == WAIT_FAILED) Sleep(ms);
}

int Win32Ui::MsgBox(const std::string& text, const std::string& title, unsigned style) {
    // Wide: before Windows 10 1903 the UTF-8 code page of the manifest is
    // ignored, and a file name in the text would come out garbled.
    int r = MessageBoxW(nullptr, Wide(text).c_str(), Wide(title).c_str(),
                        style | MB_SETFOREGROUND | MB_TOPMOST | MB_TASKMODAL);
    return r == 0 ? platform::mb::kIdCancel : r;
}

std::optional<std::string> Win32Ui::InputBox(const std::string& prompt, const std::string& title,
                                             const std::string& defaultText,
                                             platform::WindowId owner) {
    InputBoxState st{&prompt, &title, &defaultText, {}};
    // Owned, the box is modal to its owner (which is disabled meanwhile) and
    // belongs to the program's foreground rather than to the window behind.
    INT_PTR r = DialogBoxParamW(Instance(), MAKEINTRESOURCEW(IDD_INPUTBOX), OwnerFor(owner),
                                InputBoxProc, reinterpret_cast<LPARAM>(&st));
    if (r != IDOK) return std::nullopt;
    return st.result;
}

bool Win32Ui::TakeForeground(platform::WindowId window) {
    HWND h = window ? H(window) : OwnerFor(0);
    // Refused unless this process may set the foreground now; the caller
    // decides what to do then.
    return h && SetForegroundWindow(h) != FALSE;
}

int Win32Ui::TrackPopupMenu(platform::WindowId owner, const platform::Menu& menu) {
    HMENU h = CreatePopupMenu();
    if (!h) return 0;
    for (const auto& item : menu.items) {
        UINT flags = item.separator ? MF_SEPARATOR : MF_STRING;
        if (item.checked) flags |= MF_CHECKED;
        if (!item.enabled) flags |= MF_GRAYED;
        // A menu missing an item would shift what the user picks: show none.
        if (!AppendMenuA(h, flags, static_cast<UINT_PTR>(item.id),
                         item.separator ? nullptr : item.caption.c_str())) {
            DestroyMenu(h);
            return 0;
        }
    }
    POINT p{};
    if (!GetCursorPos(&p)) {
        // Where the click that opened the menu was.
        const DWORD at = GetMessagePos();
        p = {GET_X_LPARAM(at), GET_Y_LPARAM(at)};
    }
    // The owner must be foreground, or the menu will not close when the user clicks elsewhere.
    SetForegroundWindow(H(owner));
    int chosen = static_cast<int>(::TrackPopupMenu(
        h, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, p.x, p.y, 0, H(owner), nullptr));
    PostMessageA(H(owner), WM_NULL, 0, 0);
    DestroyMenu(h);
    return chosen;
}

}  // namespace orv::win32
