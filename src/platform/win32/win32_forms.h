#pragma once
// Renders the program's windows with native Win32 windows and controls.
#include <windows.h>

#include <map>
#include <memory>

#include "platform/forms.h"

namespace orv::win32 {

struct FormWindow;

class Win32FormHost : public platform::FormHost {
  public:
    Win32FormHost();
    ~Win32FormHost() override;
    Win32FormHost(const Win32FormHost&) = delete;
    Win32FormHost& operator=(const Win32FormHost&) = delete;

    void Load(platform::FormEvents& form) override;
    void Unload(platform::FormEvents& form) override;
    void Show(platform::FormEvents& form) override;
    void Hide(platform::FormEvents& form) override;
    void ShowModal(platform::FormEvents& form) override;
    void Repaint(platform::FormEvents& form) override;
    void Activate(platform::FormEvents& form) override;
    void FocusControl(platform::FormEvents& form, int id) override;
    void SetTopmost(platform::FormEvents& form, bool on) override;
    platform::WindowPlacement Placement(const platform::FormEvents& form) override;
    platform::WindowId Handle(const platform::FormEvents& form) override;
    void FormChanged(platform::FormEvents& form) override;
    void ControlChanged(platform::FormEvents& form, int id) override;
    void TimerChanged(platform::FormEvents& form, int id) override;

    // For the program's own message loop: keyboard handling of the windows
    // (Tab, Enter, Esc, key release). True when the message was used up.
    bool PreTranslate(MSG& msg);

  private:
    FormWindow* WindowOf(const platform::FormEvents& form) const;
    FormWindow& Require(const platform::FormEvents& form) const;
    HWND Owner();
    void Wake();

    std::map<const platform::FormEvents*, std::unique_ptr<FormWindow>> windows_;
    HWND owner_ = nullptr;  // never shown; windows it owns get no taskbar button
};

}  // namespace orv::win32
