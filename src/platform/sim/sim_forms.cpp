#include "platform/sim/sim_forms.h"

#include <stdexcept>

#include "platform/sim/sim_desktop.h"

namespace orv::sim {

namespace user {
FormAction Click(std::string control, int index) {
    FormAction a;
    a.kind = FormAction::Kind::Click, a.control = std::move(control), a.index = index;
    return a;
}
FormAction Choose(std::string control, std::string entry, int index) {
    FormAction a;
    a.kind = FormAction::Kind::Choose, a.control = std::move(control), a.index = index;
    a.text = std::move(entry), a.number = -1;
    return a;
}
FormAction ChooseIndex(std::string control, int entry, int index) {
    FormAction a;
    a.kind = FormAction::Kind::Choose, a.control = std::move(control), a.index = index;
    a.number = entry;
    return a;
}
FormAction Type(std::string control, std::string text, int index) {
    FormAction a;
    a.kind = FormAction::Kind::Type, a.control = std::move(control), a.index = index;
    a.text = std::move(text);
    return a;
}
FormAction Spin(std::string control, int direction, int index) {
    FormAction a;
    a.kind = FormAction::Kind::Spin, a.control = std::move(control), a.index = index;
    a.number = direction;
    return a;
}
FormAction Key(int vk) {
    FormAction a;
    a.kind = FormAction::Kind::Key, a.number = vk;
    return a;
}
FormAction Close() {
    FormAction a;
    a.kind = FormAction::Kind::Close;
    return a;
}
FormAction Wait(double seconds) {
    FormAction a;
    a.kind = FormAction::Kind::Wait, a.seconds = seconds;
    return a;
}
FormAction Place(platform::WindowState state, platform::TwipsRect bounds) {
    FormAction a;
    a.kind = FormAction::Kind::Place, a.placement = {state, bounds};
    return a;
}
FormAction Run(std::function<void(platform::FormEvents&)> action) {
    FormAction a;
    a.kind = FormAction::Kind::Run, a.run = std::move(action);
    return a;
}
FormAction Mouse(std::string control, platform::MouseAction action, platform::MouseButton button,
                 int x, int y) {
    FormAction a;
    a.kind = FormAction::Kind::Mouse, a.control = std::move(control);
    a.mouse = action, a.button = button, a.x = x, a.y = y;
    return a;
}
}  // namespace user

// Hands a window's timer ticks from the process's timer list to the window.
class SimForms::TimerBridge : public platform::WindowEvents {
  public:
    explicit TimerBridge(platform::FormEvents& form) : form_(form) {}
    void OnTimer(int timerId) override { form_.TimerTick(timerId); }
    void OnTrayNotify(int) override {}

  private:
    platform::FormEvents& form_;
};

struct SimForms::Live {
    platform::FormEvents* form = nullptr;
    platform::WindowId window = 0;
    std::unique_ptr<TimerBridge> bridge;
    bool visible = false;
    bool appeared = false;  // its script (if any) has been taken
    platform::WindowPlacement placement;
};

SimForms::SimForms(SimProcess& process) : process_(process) {}
SimForms::~SimForms() = default;

SimForms::Live* SimForms::LiveOf(const platform::FormEvents& form) const {
    auto it = live_.find(&form);
    return it == live_.end() ? nullptr : it->second.get();
}

SimForms::Live& SimForms::Require(const platform::FormEvents& form) const {
    if (Live* l = LiveOf(form)) return *l;
    throw std::logic_error("window '" + form.State().name + "' is used while not loaded");
}

void SimForms::Load(platform::FormEvents& form) {
    if (LiveOf(form)) return;
    auto l = std::make_unique<Live>();
    l->form = &form;
    l->bridge = std::make_unique<TimerBridge>(form);
    l->window = process_.CreateHiddenWindow(*l->bridge);
    const auto& s = form.State();
    l->placement.state = s.windowState;
    if (s.boundsSet) {
        l->placement.bounds = s.bounds;
    } else {
        l->placement.bounds.width = s.clientWidth;
        l->placement.bounds.height = s.clientHeight;
        if (s.centerOnScreen) {
            const int tpp = process_.TwipsPerPixel();
            l->placement.bounds.left = (process_.ScreenWidthPixels() * tpp - s.clientWidth) / 2;
            l->placement.bounds.top = (process_.ScreenHeightPixels() * tpp - s.clientHeight) / 2;
        }
    }
    live_[&form] = std::move(l);
    Record& r = records_[s.name];
    ++r.loads;
    r.loaded = true;
    r.visible = false;
    r.topmost = s.topmost;
    r.focusedControl.clear();
    for (int id = 0; id < form.TimerCount(); ++id) TimerChanged(form, id);
}

void SimForms::Unload(platform::FormEvents& form) {
    auto it = live_.find(&form);
    if (it == live_.end()) return;
    process_.DestroyWindow(it->second->window);
    live_.erase(it);
    Record& r = records_[form.State().name];
    r.loaded = r.visible = false;
    process_.desktop().Answered(process_);
}

void SimForms::Show(platform::FormEvents& form) {
    Live& l = Require(form);
    Record& r = records_[form.State().name];
    const bool modal = showingModal_;
    showingModal_ = false;
    if (!l.visible) {
        l.visible = r.visible = true;
        ++r.shows;
        // ShowWindow activates it, and takes the foreground when it may.
        process_.desktop().TakeForeground(process_);
    }
    if (!l.appeared) {
        l.appeared = true;
        // A modal window waits on the user, who begins at once.
        if (modal) process_.desktop().MustAnswer(process_, form.State().name, false);
        RunScript(form);
    }
}

void SimForms::Hide(platform::FormEvents& form) {
    Live& l = Require(form);
    l.visible = records_[form.State().name].visible = false;
    process_.desktop().Answered(process_);
}

void SimForms::ShowModal(platform::FormEvents& form) {
    showingModal_ = true;
    Show(form);
    const std::string name = form.State().name;
    int steps = 0;
    for (Live* l = LiveOf(form); l && l->visible && !process_.quitRequested(); l = LiveOf(form)) {
        if (++steps > stepLimit)
            throw std::logic_error("modal window '" + name + "' was still open after " +
                                   std::to_string(stepLimit) +
                                   " timer steps; the test's script never closes it");
        process_.WaitForMessages(1.0);
        process_.FireDueTimers();
    }
}

void SimForms::RunScript(platform::FormEvents& form) {
    auto it = scripts_.find(form.State().name);
    if (it == scripts_.end() || it->second.empty()) return;
    FormScript script = std::move(it->second.front());
    it->second.pop_front();
    for (std::size_t i = 0; i < script.size(); ++i) {
        if (!LiveOf(form))
            throw std::logic_error("window '" + form.State().name + "' closed before step " +
                                   std::to_string(i + 1) + " of its script");
        Perform(form, script[i]);
    }
}

namespace {

int ControlId(const platform::FormEvents& form, const FormAction& a) {
    for (int id = 0; id < form.ControlCount(); ++id) {
        const auto& c = form.ControlAt(id);
        if (c.name == a.control && c.index == a.index) return id;
    }
    std::string which = a.control + (a.index >= 0 ? "(" + std::to_string(a.index) + ")" : "");
    throw std::logic_error("window '" + form.State().name + "' has no control " + which);
}

int ButtonWith(const platform::FormEvents& form, bool isDefault) {
    for (int id = 0; id < form.ControlCount(); ++id) {
        const auto& c = form.ControlAt(id);
        if (c.kind == platform::ControlKind::CommandButton &&
            (isDefault ? c.isDefault : c.isCancel))
            return id;
    }
    return -1;
}

}  // namespace

void SimForms::Perform(platform::FormEvents& form, const FormAction& a) {
    Require(form);
    using K = FormAction::Kind;
    switch (a.kind) {
        case K::Click:
            form.UserClick(ControlId(form, a));
            return;
        case K::Choose: {
            int id = ControlId(form, a);
            int entry = a.number;
            if (entry < 0) {
                const auto& list = form.ControlAt(id).list;
                for (std::size_t i = 0; i < list.size() && entry < 0; ++i)
                    if (list[i] == a.text) entry = static_cast<int>(i);
                if (entry < 0)
                    throw std::logic_error("control " + a.control + " of window '" +
                                           form.State().name + "' has no entry \"" + a.text + "\"");
            }
            form.UserChoose(id, entry);
            return;
        }
        case K::Type:
            form.UserType(ControlId(form, a), a.text);
            return;
        case K::Spin:
            form.UserSpin(ControlId(form, a), a.number);
            return;
        case K::Key: {
            constexpr int kEnter = 13, kEscape = 27;
            if (a.number == kEnter || a.number == kEscape) {
                int id = ButtonWith(form, a.number == kEnter);
                if (id >= 0) form.UserClick(id);
            }
            if (LiveOf(form)) form.UserKeyUp(a.number);
            return;
        }
        case K::Close:
            form.UserClose();
            return;
        case K::Wait:
            process_.RunFor(a.seconds);
            return;
        case K::Place: {
            Live& l = Require(form);
            l.placement.state = a.placement.state;
            if (a.placement.bounds.width > 0) l.placement.bounds = a.placement.bounds;
            form.Moved();
            return;
        }
        case K::Run:
            if (a.run) a.run(form);
            return;
        case K::Mouse:
            form.UserMouse(ControlId(form, a), a.mouse, a.button, a.x, a.y);
            return;
    }
}

void SimForms::Repaint(platform::FormEvents& form) {
    Require(form);
    ++records_[form.State().name].repaints;
}

void SimForms::Activate(platform::FormEvents& form) {
    Require(form);
    ++records_[form.State().name].activations;
    process_.desktop().TakeForeground(process_);
}

bool SimForms::anyVisible() const {
    for (const auto& [form, l] : live_)
        if (l->visible) return true;
    return false;
}

void SimForms::FocusControl(platform::FormEvents& form, int id) {
    Require(form);
    records_[form.State().name].focusedControl = form.ControlAt(id).name;
}

void SimForms::SetTopmost(platform::FormEvents& form, bool on) {
    Require(form);
    Record& r = records_[form.State().name];
    r.topmost = on;
    ++r.topmostCalls;
}

platform::WindowId SimForms::Handle(const platform::FormEvents& form) {
    Live* l = LiveOf(form);
    return l ? l->window : 0;
}

std::string SimForms::NameOf(platform::WindowId window) const {
    for (const auto& [form, l] : live_)
        if (l->window == window) return form->State().name;
    return {};
}

platform::WindowPlacement SimForms::Placement(const platform::FormEvents& form) {
    platform::WindowPlacement p = Require(form).placement;
    const platform::FormState& s = form.State();
    const int tpp = process_.TwipsPerPixel();
    // Maximised fills the primary monitor, or every monitor; minimised leaves
    // nothing inside. A window has no frame here: its inside is its bounds.
    switch (p.state) {
        case platform::WindowState::Maximized: {
            const platform::ScreenRect all = process_.VirtualScreen();
            p.clientPixelWidth = s.coversAllScreens ? all.width : process_.ScreenWidthPixels();
            p.clientPixelHeight = s.coversAllScreens ? all.height : process_.ScreenHeightPixels();
            break;
        }
        case platform::WindowState::Minimized:
            p.clientPixelWidth = p.clientPixelHeight = 0;
            break;
        case platform::WindowState::Normal:
            p.clientPixelWidth = s.boundsInPixels ? p.bounds.width : p.bounds.width / tpp;
            p.clientPixelHeight = s.boundsInPixels ? p.bounds.height : p.bounds.height / tpp;
            break;
    }
    p.clientWidth = p.clientPixelWidth * tpp;
    p.clientHeight = p.clientPixelHeight * tpp;
    if (p.state == platform::WindowState::Normal && !s.boundsInPixels)
        p.clientWidth = p.bounds.width, p.clientHeight = p.bounds.height;
    return p;
}

void SimForms::FormChanged(platform::FormEvents& form) {
    Live& l = Require(form);
    const auto& s = form.State();
    l.placement.state = s.windowState;
    if (s.boundsSet) l.placement.bounds = s.bounds;
}

void SimForms::ControlChanged(platform::FormEvents& form, int id) {
    Require(form);
    form.ControlAt(id);  // an id the window does not have is a fault of the window
}

void SimForms::TimerChanged(platform::FormEvents& form, int id) {
    Live& l = Require(form);
    const auto& t = form.TimerAt(id);
    if (t.enabled && t.interval > 0)
        process_.SetTimer(l.window, id, t.interval);
    else
        process_.KillTimer(l.window, id);
}

void SimForms::OnAppear(const std::string& formName, FormScript script) {
    scripts_[formName].push_back(std::move(script));
}

int SimForms::pendingScripts(const std::string& formName) const {
    auto it = scripts_.find(formName);
    return it == scripts_.end() ? 0 : static_cast<int>(it->second.size());
}

SimForms::Record SimForms::record(const std::string& formName) const {
    auto it = records_.find(formName);
    return it == records_.end() ? Record{} : it->second;
}

platform::FormEvents* SimForms::Find(const std::string& formName) const {
    for (const auto& [key, l] : live_)
        if (l->form->State().name == formName) return l->form;
    return nullptr;
}

}  // namespace orv::sim
