#pragma once
#include <windows.h>

#include <functional>

#include "platform/ui.h"

namespace orv::win32 {

class Win32Ui : public platform::Ui {
  public:
    platform::WindowId CreateHiddenWindow(platform::WindowEvents& events) override;
    void DestroyWindow(platform::WindowId window) override;
    void HideWindow(platform::WindowId window) override;
    void HideOwnerWindow(platform::WindowId window) override;
    void SetTimer(platform::WindowId window, int timerId, int milliseconds) override;
    void KillTimer(platform::WindowId window, int timerId) override;
    int RunMessageLoop() override;
    void Quit(int exitCode) override;
    void ProcessMessages() override;
    void WaitForMessages(double maxSeconds) override;
    int MsgBox(const std::string& text, const std::string& title, unsigned style) override;
    std::optional<std::string> InputBox(const std::string& prompt, const std::string& title,
                                        const std::string& defaultText,
                                        platform::WindowId owner) override;
    int TrackPopupMenu(platform::WindowId owner, const platform::Menu& menu) override;
    bool TakeForeground(platform::WindowId window) override;
    bool CloseResident(double timeoutSeconds) override;

    // Lets modeless windows see their keyboard messages first (Tab, Enter, Esc).
    std::function<bool(MSG&)> preTranslate;

    // The owner for a box or dialog: the given window, else the program's
    // active window, else its hidden main window.
    HWND OwnerFor(platform::WindowId owner) const;
    HWND MainWindow() const { return main_; }

  private:
    HWND main_ = nullptr;
    void Dispatch(MSG& msg);
    bool quitting_ = false;
    int exitCode_ = 0;
};

// The hidden window's class, found by tests and by a second instance.
inline constexpr const char* kContainerClass = "Orvanex.Container";

}  // namespace orv::win32
