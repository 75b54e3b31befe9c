#pragma once
// Windows on the simulated desktop. The windows keep their state as the
// program leaves it; a test says beforehand what the user does when a window
// of a given name appears, and a modal window runs that script, then its
// timers on the virtual clock until it closes.
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/forms.h"
#include "platform/ui.h"

namespace orv::sim {

class SimProcess;

// One thing the user does to a window.
struct FormAction {
    enum class Kind { Click, Choose, Type, Spin, Key, Close, Wait, Place, Run, Mouse };
    Kind kind = Kind::Click;
    std::string control;
    int index = -1;  // control array index
    std::string text;
    int number = 0;  // list entry, spin direction or virtual key
    double seconds = 0;
    platform::WindowPlacement placement;
    platform::MouseAction mouse = platform::MouseAction::Down;
    platform::MouseButton button = platform::MouseButton::Left;
    int x = 0, y = 0;  // image pixels over an image surface
    std::function<void(platform::FormEvents&)> run;
};

namespace user {
FormAction Click(std::string control, int index = -1);
FormAction Choose(std::string control, std::string entry, int index = -1);
FormAction ChooseIndex(std::string control, int entry, int index = -1);
FormAction Type(std::string control, std::string text, int index = -1);
FormAction Spin(std::string control, int direction, int index = -1);
FormAction Key(int vk);  // Enter and Esc press the default and cancel buttons first
FormAction Close();      // the system close box
FormAction Wait(double seconds);
FormAction Place(platform::WindowState state, platform::TwipsRect bounds = {});
FormAction Run(std::function<void(platform::FormEvents&)> action);
// The mouse over an image surface control.
FormAction Mouse(std::string control, platform::MouseAction action, platform::MouseButton button,
                 int x, int y);
}  // namespace user

using FormScript = std::vector<FormAction>;

class SimForms : public platform::FormHost {
  public:
    explicit SimForms(SimProcess& process);
    ~SimForms() override;

    // platform::FormHost
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

    // Test side. Each appearance (first showing after a load) of a window of
    // that name takes the next queued script.
    void OnAppear(const std::string& formName, FormScript script);
    int pendingScripts(const std::string& formName) const;
    // Timer steps a modal window may take after its script before the test fails.
    int stepLimit = 10000;

    struct Record {
        int loads = 0, shows = 0, repaints = 0, activations = 0, topmostCalls = 0;
        bool loaded = false, visible = false, topmost = false;
        std::string focusedControl;
    };
    // What happened to windows of that name (a blank record if none appeared).
    Record record(const std::string& formName) const;
    int loadedCount() const { return static_cast<int>(live_.size()); }
    bool anyVisible() const;
    platform::FormEvents* Find(const std::string& formName) const;
    // The name of the loaded window with that handle, or "" for none.
    std::string NameOf(platform::WindowId window) const;
    // Acts as the user on a loaded window, outside any script.
    void Perform(platform::FormEvents& form, const FormAction& action);

  private:
    struct Live;
    class TimerBridge;
    Live* LiveOf(const platform::FormEvents& form) const;
    Live& Require(const platform::FormEvents& form) const;
    void RunScript(platform::FormEvents& form);

    SimProcess& process_;
    std::map<const platform::FormEvents*, std::unique_ptr<Live>> live_;
    std::map<std::string, Record> records_;
    std::map<std::string, std::deque<FormScript>> scripts_;
    bool showingModal_ = false;
};

}  // namespace orv::sim
