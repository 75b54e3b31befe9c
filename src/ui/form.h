#pragma once
// A window of the program: its own state, the control objects it owns, its
// timers and its event handlers. A host renders it; the program creates the
// object when it first needs the window and drops it once it is closed.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/forms.h"
#include "ui/control.h"

namespace orv {

using platform::FormBorder;
using platform::MouseAction;
using platform::MouseButton;
using platform::SurfacePicture;
using platform::UnloadMode;
using platform::WindowState;

class Timer {
  public:
    Timer(Form& form, int id, std::string name, int interval, bool enabled);
    const platform::TimerState& state() const { return s_; }
    bool enabled() const { return s_.enabled; }
    int interval() const { return s_.interval; }
    void SetEnabled(bool on);
    std::function<void()> onTimer;

  private:
    Form& form_;
    int id_;
    platform::TimerState s_;
};

class Form : public platform::FormEvents {
  public:
    Form(platform::FormHost& host, std::string name);
    ~Form() override;
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    // Design: what the window is like before it loads.
    platform::FormState& Design();

    Control& Add(ControlKind kind, std::string name, int index = -1, Control* container = nullptr);
    Timer& AddTimer(std::string name, int interval, bool enabled);
    // The control of that name and array index, or nullptr.
    Control* Find(const std::string& name, int index = -1) const;
    const std::string& name() const { return s_.name; }

    bool loaded() const { return loaded_; }
    bool shown() const { return shown_; }
    bool modal() const { return modal_; }

    void Load();
    void Show();       // modeless
    void ShowModal();  // returns when the window is hidden or unloaded
    void Hide();
    // Unloads after asking Form_QueryUnload; false when the window refused.
    bool Close(UnloadMode mode = UnloadMode::Code);
    void Refresh();  // repaint now
    void Activate();
    void Focus(Control& control);
    void SetTopmost(bool on);
    // The window as the owner of a box it opens (0 when not loaded).
    platform::WindowId handle() const { return loaded_ ? host_.Handle(*this) : 0; }

    const std::string& caption() const { return s_.caption; }
    void SetCaption(std::string caption);
    void SetWindowState(WindowState state);
    void SetBounds(platform::TwipsRect bounds);
    // As the window now stands (the host's view once loaded).
    WindowState windowState() const;
    platform::TwipsRect bounds() const;

    // platform::FormEvents
    const platform::FormState& State() const override { return s_; }
    int ControlCount() const override { return static_cast<int>(controls_.size()); }
    const platform::ControlState& ControlAt(int id) const override;
    int TimerCount() const override { return static_cast<int>(timers_.size()); }
    const platform::TimerState& TimerAt(int id) const override;
    void UserClick(int id) override;
    void UserChoose(int id, int listIndex) override;
    void UserType(int id, const std::string& text) override;
    void UserSpin(int id, int direction) override;
    void UserKeyUp(int vk) override;
    void UserClose() override;
    void Moved() override;
    void TimerTick(int id) override;
    SurfacePicture SurfaceAt(int id) const override;
    void UserMouse(int id, MouseAction action, MouseButton button, int x, int y) override;

    // Used by the controls and timers, and by a window whose image surface
    // now shows something else.
    void ControlChanged(const Control& control);
    void TimerChanged(int id);
    const std::vector<std::unique_ptr<Control>>& controls() const { return controls_; }

  protected:
    virtual void Form_Load() {}
    virtual void Form_QueryUnload(bool& cancel, UnloadMode mode) { (void)cancel, (void)mode; }
    virtual void Form_Unload() {}
    virtual void Form_KeyUp(int vk) { (void)vk; }
    virtual void Form_Resize() {}
    // Image surface controls: the window supplies the picture and hears the mouse.
    virtual SurfacePicture Surface_Picture(const Control& surface) const {
        (void)surface;
        return {};
    }
    virtual void Surface_Mouse(Control& surface, MouseAction action, MouseButton button, int x,
                               int y) {
        (void)surface, (void)action, (void)button, (void)x, (void)y;
    }

    platform::FormHost& host_;

  private:
    Control& ControlById(int id) const;

    platform::FormState s_;
    std::vector<std::unique_ptr<Control>> controls_;
    std::vector<std::unique_ptr<Timer>> timers_;
    bool loaded_ = false;
    bool shown_ = false;
    bool modal_ = false;
    bool unloading_ = false;
};

}  // namespace orv
