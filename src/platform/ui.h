#pragma once
// Windows, timers, the message pump, message and input boxes, pop-up menus.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace orv::platform {

using WindowId = std::uintptr_t;

// Message box styles and answers, as MessageBoxA takes and returns them.
namespace mb {
constexpr unsigned kOk = 0x0;
constexpr unsigned kYesNo = 0x4;
constexpr unsigned kCritical = 0x10;
constexpr unsigned kQuestion = 0x20;
constexpr unsigned kExclamation = 0x30;
constexpr unsigned kInformation = 0x40;
constexpr int kIdOk = 1;
constexpr int kIdCancel = 2;
constexpr int kIdYes = 6;
constexpr int kIdNo = 7;
}  // namespace mb

struct MenuItem {
    int id = 0;  // returned when chosen; 0 for separators
    std::string caption;
    bool separator = false;
    bool checked = false;
    bool enabled = true;
};

struct Menu {
    std::vector<MenuItem> items;
};

// What the hidden window hears from the system.
class WindowEvents {
  public:
    virtual ~WindowEvents() = default;
    virtual void OnTimer(int timerId) = 0;
    virtual void OnTrayNotify(int mouseMessage) = 0;  // WM_* of the mouse over the tray icon
    // The system asks the window to close (end of session, a close message).
    virtual void OnCloseRequest() {}
    // The user's session ends (sign-out, shut-down): as a close, but the shell is
    // ending too and must not be waited on.
    virtual void OnSessionEnd() { OnCloseRequest(); }
    // The window is being destroyed by the system without having been closed.
    virtual void OnDestroyed() {}
    // The shell restarted; tray icons must be added again.
    virtual void OnTaskbarCreated() {}
    // A key registered as a hot key was pressed; the program may now bring
    // its windows to the front.
    virtual void OnHotKey(int /*id*/) {}
};

class Ui {
  public:
    virtual ~Ui() = default;

    // The invisible main window; it owns timers and receives tray callbacks.
    virtual WindowId CreateHiddenWindow(WindowEvents& events) = 0;
    virtual void DestroyWindow(WindowId window) = 0;
    virtual void HideWindow(WindowId window) = 0;
    // Hides the owner of a window (no taskbar or task-switch entry).
    virtual void HideOwnerWindow(WindowId window) = 0;
    virtual void SetTimer(WindowId window, int timerId, int milliseconds) = 0;
    virtual void KillTimer(WindowId window, int timerId) = 0;

    // Runs until Quit; returns the exit code.
    virtual int RunMessageLoop() = 0;
    virtual void Quit(int exitCode) = 0;
    // One pass over the pending window messages (timers included).
    virtual void ProcessMessages() = 0;
    // Sleeps until a message arrives or the time is up.
    virtual void WaitForMessages(double maxSeconds) = 0;

    virtual int MsgBox(const std::string& text, const std::string& title, unsigned style) = 0;
    // An input box, modal to its owner (0: the program's hidden main window);
    // nullopt when cancelled.
    virtual std::optional<std::string> InputBox(const std::string& prompt, const std::string& title,
                                                const std::string& defaultText,
                                                WindowId owner = 0) = 0;
    // Pops the menu up at the cursor over the owner; returns the chosen id or 0.
    virtual int TrackPopupMenu(WindowId owner, const Menu& menu) = 0;
    // SetForegroundWindow on the window (0: the owner of the program's boxes
    // and dialogs), so that what it opens next comes up in front with the
    // keyboard. False when the system refuses the program the foreground.
    virtual bool TakeForeground(WindowId window) = 0;

    // Asks the resident instance's hidden window to close, as its tray Exit
    // does, and waits for that process to end. False when it is still running
    // when the time is up.
    virtual bool CloseResident(double timeoutSeconds) = 0;
};

}  // namespace orv::platform
