#include "ui/form.h"

#include "platform/error.h"

namespace orv {

// ---- timer

Timer::Timer(Form& form, int id, std::string name, int interval, bool enabled)
    : form_(form), id_(id) {
    s_.name = std::move(name);
    s_.interval = interval;
    s_.enabled = enabled;
}

void Timer::SetEnabled(bool on) {
    if (on == s_.enabled) return;
    s_.enabled = on;
    form_.TimerChanged(id_);
}

// ---- form

Form::Form(platform::FormHost& host, std::string name) : host_(host) {
    s_.name = std::move(name);
}

Form::~Form() {
    if (!loaded_) return;
    // Dropped while still open: take the window down without running handlers.
    loaded_ = false;
    try {
        host_.Unload(*this);
    } catch (...) {  // nothing left to report to
    }
}

platform::FormState& Form::Design() {
    if (loaded_) throw err::InvalidCall();
    return s_;
}

Control& Form::Add(ControlKind kind, std::string name, int index, Control* container) {
    if (loaded_ || Find(name, index)) throw err::InvalidCall();
    if (container && (&container->form() != this || container->kind() != ControlKind::Frame))
        throw err::InvalidCall();
    int id = static_cast<int>(controls_.size());
    controls_.push_back(
        std::make_unique<Control>(*this, id, kind, std::move(name), index, container));
    return *controls_.back();
}

Timer& Form::AddTimer(std::string name, int interval, bool enabled) {
    if (loaded_) throw err::InvalidCall();
    int id = static_cast<int>(timers_.size());
    timers_.push_back(std::make_unique<Timer>(*this, id, std::move(name), interval, enabled));
    return *timers_.back();
}

Control* Form::Find(const std::string& name, int index) const {
    for (const auto& c : controls_)
        if (c->name() == name && c->index() == index) return c.get();
    return nullptr;
}

Control& Form::ControlById(int id) const {
    if (id < 0 || id >= ControlCount()) throw err::InvalidCall();
    return *controls_[id];
}

const platform::ControlState& Form::ControlAt(int id) const {
    return ControlById(id).state();
}

const platform::TimerState& Form::TimerAt(int id) const {
    if (id < 0 || id >= TimerCount()) throw err::InvalidCall();
    return timers_[id]->state();
}

void Form::Load() {
    if (loaded_) return;
    loaded_ = true;
    host_.Load(*this);
    Form_Load();
}

void Form::Show() {
    Load();
    if (!loaded_) return;  // Form_Load closed it again
    shown_ = true;
    host_.Show(*this);
}

void Form::ShowModal() {
    Load();
    if (!loaded_) return;
    shown_ = modal_ = true;
    host_.ShowModal(*this);
    modal_ = false;
}

void Form::Hide() {
    if (!loaded_ || !shown_) return;
    shown_ = false;
    host_.Hide(*this);
}

bool Form::Close(UnloadMode mode) {
    if (!loaded_) return true;
    if (unloading_) return false;
    bool cancel = false;
    Form_QueryUnload(cancel, mode);
    if (cancel || !loaded_) return !loaded_;
    unloading_ = true;
    Form_Unload();
    unloading_ = false;
    loaded_ = shown_ = false;
    host_.Unload(*this);
    return true;
}

void Form::Refresh() {
    if (loaded_) host_.Repaint(*this);
}

void Form::Activate() {
    if (loaded_) host_.Activate(*this);
}

void Form::Focus(Control& control) {
    if (&control.form() != this) throw err::InvalidCall();
    if (loaded_ && control.Reachable()) host_.FocusControl(*this, control.id());
}

void Form::SetTopmost(bool on) {
    s_.topmost = on;
    if (loaded_) host_.SetTopmost(*this, on);
}

void Form::SetCaption(std::string caption) {
    if (caption == s_.caption) return;
    s_.caption = std::move(caption);
    if (loaded_) host_.FormChanged(*this);
}

void Form::SetWindowState(WindowState state) {
    s_.windowState = state;
    if (loaded_) host_.FormChanged(*this);
}

void Form::SetBounds(platform::TwipsRect bounds) {
    s_.bounds = bounds;
    s_.boundsSet = true;
    if (loaded_) host_.FormChanged(*this);
}

WindowState Form::windowState() const {
    return loaded_ ? host_.Placement(*this).state : s_.windowState;
}

platform::TwipsRect Form::bounds() const {
    return loaded_ ? host_.Placement(*this).bounds : s_.bounds;
}

void Form::ControlChanged(const Control& control) {
    if (loaded_) host_.ControlChanged(*this, control.id());
}

void Form::TimerChanged(int id) {
    if (loaded_) host_.TimerChanged(*this, id);
}

void Form::UserClick(int id) {
    if (loaded_) ControlById(id).UserClick();
}

void Form::UserChoose(int id, int listIndex) {
    if (loaded_) ControlById(id).UserChoose(listIndex);
}

void Form::UserType(int id, const std::string& text) {
    if (loaded_) ControlById(id).UserType(text);
}

void Form::UserSpin(int id, int direction) {
    if (loaded_) ControlById(id).UserSpin(direction);
}

void Form::UserKeyUp(int vk) {
    if (loaded_) Form_KeyUp(vk);
}

void Form::UserClose() {
    Close(UnloadMode::ControlMenu);
}

void Form::Moved() {
    if (loaded_) Form_Resize();
}

void Form::TimerTick(int id) {
    if (!loaded_ || id < 0 || id >= TimerCount()) return;
    Timer& t = *timers_[id];
    if (t.enabled() && t.onTimer) t.onTimer();
}

platform::SurfacePicture Form::SurfaceAt(int id) const {
    const Control& c = ControlById(id);
    if (!loaded_ || c.kind() != ControlKind::ImageSurface) return {};
    return Surface_Picture(c);
}

void Form::UserMouse(int id, MouseAction action, MouseButton button, int x, int y) {
    if (!loaded_) return;
    Control& c = ControlById(id);
    if (c.kind() == ControlKind::ImageSurface && c.Reachable())
        Surface_Mouse(c, action, button, x, y);
}

}  // namespace orv
