#include "platform/sim/sim_desktop.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "platform/error.h"
#include "platform/strings.h"

namespace orv::sim {

// ---- clock

platform::DateTime SimClock::Now() {
    // Base date plus the virtual seconds since it was set (days roll at midnight).
    long total =
        base_.hour * 3600L + base_.minute * 60L + base_.second + static_cast<long>(now_ - baseAt_);
    platform::DateTime t = base_;
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    while (total >= 86400) {
        total -= 86400;
        bool leap = (t.year % 4 == 0 && t.year % 100 != 0) || t.year % 400 == 0;
        int dim = kDays[t.month - 1] + (t.month == 2 && leap);
        if (++t.day > dim) t.day = 1, t.month = t.month % 12 + 1, t.year += t.month == 1;
    }
    t.hour = static_cast<int>(total / 3600);
    t.minute = static_cast<int>(total / 60 % 60);
    t.second = static_cast<int>(total % 60);
    return t;
}

// ---- clipboard

void SimClipboard::Settle() {
    if (late_ && clock_.MonotonicSeconds() >= late_->first) {
        PutBitmap(std::move(late_->second));
        late_.reset();
    }
}

bool SimClipboard::HasBitmap() {
    Settle();
    return bitmap_.has_value();
}

uint32_t SimClipboard::SequenceNumber() {
    Settle();
    return sequence_;
}

void SimClipboard::SetText(std::string text) {
    Settle();
    bitmap_.reset(), text_ = std::move(text), ++sequence_;
}

void SimClipboard::PutBitmap(Image image) {
    bitmap_ = std::move(image), text_.reset(), ++sequence_;
}

void SimClipboard::PutBitmapAfter(Image image, double delay) {
    if (delay <= 0) return PutBitmap(std::move(image));
    late_.emplace(clock_.MonotonicSeconds() + delay, std::move(image));
}

void SimClipboard::Open() {
    Settle();
    ++opens_;
    if (busy_ > 0) {
        --busy_;
        throw Error(521, "Can't open Clipboard");
    }
}

void SimClipboard::Clear() {
    Open();
    bitmap_.reset();
    text_.reset();
    ++sequence_;
}

Image SimClipboard::GetBitmap() {
    Open();
    if (!bitmap_) throw Error(521, "The clipboard holds no picture");
    return *bitmap_;
}

void SimClipboard::SetBitmap(const Image& image, std::span<const platform::ClipboardFlag> flags) {
    Open();
    if (image.empty()) throw Error(480, "Can't create AutoRedraw image");
    bitmap_ = image;
    text_.reset();
    ++sequence_;
    ClipboardWrite& w = writes_.emplace_back(ClipboardWrite{"CF_DIB", {}});
    for (const auto& f : flags) w.flags[f.name] = f.value;
}

void SimClipboard::CopyScreen(bool activeWindow) {
    Open();
    PutBitmap(activeWindow ? desktop_.activeWindow : desktop_.screen);
    writes_.push_back({"CF_BITMAP", {}});
}

// ---- common dialogs

std::optional<platform::SaveDialogResult> SimCommonDialogs::ShowSave(
    const platform::SaveDialogRequest& request) {
    saveRequests.push_back(request);
    // It makes no foreground call of its own: it opens active, in front only
    // when the program is.
    desktop_.MustAnswer("save dialog: " + request.title);
    desktop_.Answered();
    if (saveAnswers.empty()) return std::nullopt;
    auto a = saveAnswers.front();
    saveAnswers.pop_front();
    return a;
}

std::optional<std::string> SimCommonDialogs::BrowseForFolder(const std::string& title) {
    folderRequests.push_back(title);
    if (failFolderBrowser) throw Error(0x80004005, "Unspecified error");
    if (folderAnswers.empty()) return std::nullopt;
    auto a = folderAnswers.front();
    folderAnswers.pop_front();
    return a;
}

// ---- tray

bool SimTray::ShellNotifyIcon(uint32_t message, const platform::NotifyIconData& data) {
    if (message == platform::kNimAdd) {
        if (failAdds > 0) {
            --failAdds;
            return false;
        }
        if (icon_) return false;
        icon_ = data;
        ++adds_;
        return true;
    }
    if (message == platform::kNimDelete) {
        if (!icon_ || icon_->id != data.id || icon_->window != data.window) return false;
        icon_.reset();
        ++deletes_;
        return true;
    }
    return false;
}

std::string SimTray::Tip() const {
    if (!icon_) return {};
    return std::string(icon_->tip, strnlen(icon_->tip, sizeof icon_->tip));
}

// ---- process

SimProcess::SimProcess(SimDesktop& d)
    : desktop_(d), platform_{d.registry, d.keyboard,  *this,   d.clock,  *this,
                             d.tray,     d.clipboard, d.files, d.codecs, d.dialogs,
                             forms,      d.printing,  d.help} {}

SimProcess::~SimProcess() {
    if (claimed_) desktop_.residentClaimed = false;
    if (desktop_.foreground == this) desktop_.foreground = nullptr;
    desktop_.mayForeground_.erase(this);
}

platform::WindowId SimProcess::CreateHiddenWindow(platform::WindowEvents& events) {
    platform::WindowId id = desktop_.NewWindowId();
    windows_[id] = &events;
    return id;
}

bool SimProcess::DeliverHotKey(platform::WindowId window, int id) {
    auto it = windows_.find(window);
    if (it == windows_.end()) return false;
    // The key went to this process: it may now take the foreground.
    desktop_.UserInput(this);
    it->second->OnHotKey(id);
    return true;
}

void SimProcess::ClickTray(int mouseMessage) {
    // The shell passes its foreground on to the icon's owner with the click.
    desktop_.UserInput(this);
    if (!windows_.empty()) windows_.begin()->second->OnTrayNotify(mouseMessage);
}

bool SimProcess::TakeForeground(platform::WindowId) {
    return desktop_.TakeForeground(*this);
}

void SimProcess::DeliverEndSession() {
    // To each top-level window while the process lives; a copy, as handling
    // it destroys windows.
    const auto windows = windows_;
    for (const auto& [id, events] : windows)
        if (!quit_ && windows_.count(id)) events->OnSessionEnd();
}

void SimProcess::DestroyWindow(platform::WindowId window) {
    windows_.erase(window);
    std::erase_if(timers_, [&](const Timer& t) { return t.window == window; });
}

void SimProcess::SetTimer(platform::WindowId window, int timerId, int milliseconds) {
    KillTimer(window, timerId);
    double interval = milliseconds / 1000.0;
    timers_.push_back({window, timerId, interval, desktop_.clock.MonotonicSeconds() + interval});
}

void SimProcess::KillTimer(platform::WindowId window, int timerId) {
    std::erase_if(timers_, [&](const Timer& t) { return t.window == window && t.id == timerId; });
}

bool SimProcess::HasTimer(int timerId) const {
    return std::any_of(timers_.begin(), timers_.end(),
                       [&](const Timer& t) { return t.id == timerId; });
}

double SimProcess::NextDue() const {
    double next = 1e300;
    for (const auto& t : timers_) next = std::min(next, t.due);
    return next;
}

void SimProcess::FireDueTimers() {
    double now = desktop_.clock.MonotonicSeconds();
    std::vector<std::pair<platform::WindowId, int>> due;
    for (auto& t : timers_)
        if (t.due <= now + 1e-9) {
            t.due = now + t.interval;
            due.emplace_back(t.window, t.id);
        }
    for (const auto& entry : due) {
        const auto w = entry.first;
        const auto id = entry.second;
        if (quit_) return;
        auto it = windows_.find(w);
        bool alive = std::any_of(timers_.begin(), timers_.end(),
                                 [&](const Timer& t) { return t.window == w && t.id == id; });
        if (it != windows_.end() && alive) it->second->OnTimer(id);
    }
}

void SimProcess::RunFor(double seconds) {
    double end = desktop_.clock.MonotonicSeconds() + seconds;
    while (!quit_) {
        double next = NextDue();
        double now = desktop_.clock.MonotonicSeconds();
        if (next > end) {
            if (end > now) desktop_.clock.Advance(end - now);
            return;
        }
        if (next > now) desktop_.clock.Advance(next - now);
        FireDueTimers();
    }
}

int SimProcess::RunMessageLoop() {
    // A test that forgets to quit ends here rather than hanging.
    double limit = desktop_.clock.MonotonicSeconds() + 3600;
    while (!quit_) {
        if (desktop_.clock.MonotonicSeconds() > limit)
            throw std::runtime_error("simulated message loop ran an hour without Quit");
        RunFor(0.1);
    }
    return exitCode_;
}

void SimProcess::Quit(int exitCode) {
    quit_ = true;
    exitCode_ = exitCode;
}

void SimProcess::ProcessMessages() {
    FireDueTimers();
}

void SimProcess::WaitForMessages(double maxSeconds) {
    double now = desktop_.clock.MonotonicSeconds();
    double step = std::min(maxSeconds, std::max(0.0, NextDue() - now));
    desktop_.clock.Advance(std::max(step, 0.001));
}

int SimProcess::MsgBox(const std::string& text, const std::string& title, unsigned style) {
    MessageBoxRecord r{text, title, style};
    desktop_.messageBoxes.push_back(r);
    // MB_SETFOREGROUND: the box tries for the foreground itself.
    desktop_.MustAnswer(*this, "box: " + text.substr(0, 40), true);
    if (desktop_.onMessageBox) desktop_.onMessageBox(r);
    int answer = (style & 0xF) == platform::mb::kYesNo ? platform::mb::kIdYes : platform::mb::kIdOk;
    if (!desktop_.messageBoxAnswers.empty()) {
        answer = desktop_.messageBoxAnswers.front();
        desktop_.messageBoxAnswers.pop_front();
    }
    desktop_.Answered(*this);
    return answer;
}

std::optional<std::string> SimProcess::InputBox(const std::string& prompt, const std::string&,
                                                const std::string&, platform::WindowId owner) {
    desktop_.inputPrompts.push_back(prompt);
    desktop_.inputOwners.push_back(owner == 0 ? "" : forms.NameOf(owner));
    // The box calls SetForegroundWindow as it opens.
    desktop_.MustAnswer(*this, "input box: " + prompt, true);
    desktop_.Answered(*this);
    if (desktop_.inputBoxAnswers.empty()) return std::nullopt;
    auto a = desktop_.inputBoxAnswers.front();
    desktop_.inputBoxAnswers.pop_front();
    return a;
}

int SimProcess::TrackPopupMenu(platform::WindowId, const platform::Menu& menu) {
    int chosen = 0;
    if (!desktop_.menuChoices.empty()) {
        std::string want = desktop_.menuChoices.front();
        desktop_.menuChoices.pop_front();
        for (const auto& item : menu.items)
            if (!item.separator && item.enabled && item.caption == want) chosen = item.id;
    }
    desktop_.menus.push_back({menu, chosen});
    return chosen;
}

bool SimProcess::CloseResident(double) {
    for (auto& p : desktop_.processes_) {
        if (p.get() == this || !p->claimed_ || p->windows_.empty()) continue;
        // The hidden window is the first one a resident creates.
        p->windows_.begin()->second->OnCloseRequest();
        return p->quit_;
    }
    return true;
}

platform::OsVersion SimProcess::GetVersion() {
    return desktop_.osVersion;
}

bool SimProcess::AnotherInstanceRunning() {
    if (claimed_) return false;
    if (desktop_.residentClaimed) return true;
    desktop_.residentClaimed = claimed_ = true;
    return false;
}

void SimProcess::AllowResidentForeground() {
    desktop_.foregroundAllowedAt.push_back(desktop_.keyboard.synthesized().size());
    // AllowSetForegroundWindow fails for a caller that may not take it itself.
    if (!desktop_.MayTakeForeground(*this)) return;
    for (auto& p : desktop_.processes_)
        if (p.get() != this && p->claimed_) desktop_.mayForeground_.insert(p.get());
}

std::string SimProcess::AppFolder() {
    return desktop_.appFolder;
}
int SimProcess::ScreenWidthPixels() {
    return desktop_.monitors.empty() ? desktop_.screen.width : desktop_.monitors[0].width;
}

int SimProcess::ScreenHeightPixels() {
    return desktop_.monitors.empty() ? desktop_.screen.height : desktop_.monitors[0].height;
}

platform::ScreenRect SimProcess::VirtualScreen() {
    if (desktop_.monitors.empty()) return {0, 0, desktop_.screen.width, desktop_.screen.height};
    int left = 0, top = 0, right = 0, bottom = 0;
    for (const auto& m : desktop_.monitors) {
        left = std::min(left, m.left), top = std::min(top, m.top);
        right = std::max(right, m.left + m.width), bottom = std::max(bottom, m.top + m.height);
    }
    return {left, top, right - left, bottom - top};
}
int SimProcess::TwipsPerPixel() const {
    return 1440 / std::max(desktop_.dpi, 1);
}

platform::Point SimProcess::CursorPos() {
    return desktop_.cursor;
}
void SimProcess::Beep() {
    ++desktop_.beeps;
}
char SimProcess::DecimalSeparator() {
    return desktop_.decimalSeparator;
}
std::string SimProcess::UserName() {
    return desktop_.userName;
}
std::string SimProcess::UserCompany() {
    return desktop_.userCompany;
}
std::string SimProcess::PicturesFolder() {
    return desktop_.picturesFolder;
}

std::string SimProcess::MonthName(int month, bool abbreviated) {
    static const char* kNames[] = {"January",   "February", "March",    "April",
                                   "May",       "June",     "July",     "August",
                                   "September", "October",  "November", "December"};
    if (month < 1 || month > 12) return {};
    std::string n = kNames[month - 1];
    return abbreviated ? n.substr(0, 3) : n;
}

// ---- desktop

bool SimDesktop::PrintScreenOpensCapture() {
    auto r = registry.QueryValue(platform::RegRoot::CurrentUser, "Control Panel\\Keyboard",
                                 "PrintScreenKeyForSnippingEnabled", 16);
    std::optional<uint32_t> v;
    if (r.status == 0) v = platform::DwordData(r.data);
    return v ? *v != 0 : osVersion.build >= 22621;
}

SimDesktop::SimDesktop() {
    files.AddFolder(picturesFolder);
    printing.onAskForFile = [this] {
        MustAnswer("Save Print Output As");
        Answered();
    };
}
SimDesktop::~SimDesktop() = default;

void SimDesktop::DeliverHotKey(platform::WindowId window, int id) {
    for (auto& p : processes_)
        if (p->DeliverHotKey(window, id)) return;
}

void SimDesktop::EndSession() {
    for (auto& p : processes_) p->DeliverEndSession();
}

SimProcess& SimDesktop::StartProcess() {
    processes_.push_back(std::make_unique<SimProcess>(*this));
    // Started by the user from the shell in front.
    mayForeground_.insert(processes_.back().get());
    return *processes_.back();
}

bool SimDesktop::MayTakeForeground(const SimProcess& p) const {
    return foreground == &p || altUnlocked_ || mayForeground_.count(&p) > 0;
}

bool SimDesktop::TakeForeground(SimProcess& p) {
    if (!MayTakeForeground(p)) return false;
    foreground = &p;
    return true;
}

void SimDesktop::UserInput(const SimProcess* to) {
    altUnlocked_ = false;
    mayForeground_.clear();
    if (to) mayForeground_.insert(to);
}

void SimDesktop::MustAnswer(SimProcess& p, const std::string& what, bool triesForeground) {
    if (triesForeground) TakeForeground(p);
    (foreground == &p ? shownInFront : shownBehind).push_back(what);
}

void SimDesktop::Answered(SimProcess& p) {
    if (foreground == &p && !p.forms.anyVisible()) foreground = nullptr;
}

void SimDesktop::MustAnswer(const std::string& what) {
    (foreground ? shownInFront : shownBehind).push_back(what);
}

void SimDesktop::Answered() {
    if (foreground) Answered(*foreground);
}

}  // namespace orv::sim
