#pragma once
// A simulated Windows desktop that keeps real state: registry, keys, clipboard,
// files, screen and active window, tray, timers on a virtual clock, and the
// user's scripted answers to boxes and menus. Several program instances
// (processes) can share one desktop.
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/sim/sim_codecs.h"
#include "platform/sim/sim_forms.h"
#include "platform/sim/sim_printing.h"
#include "platform/sim/sim_registry.h"

namespace orv::sim {

class SimDesktop;

struct KeyEvent {
    uint8_t vk;
    bool down;
};

class SimKeyboard : public platform::Keyboard {
public:
    explicit SimKeyboard(SimDesktop& desktop) : desktop_(desktop) {}
    int16_t GetAsyncKeyState(int vk) override;
    void KeybdEvent(uint8_t vk, uint32_t flags) override;

    // The user at the keyboard.
    void Press(int vk);    // down, latched
    void Release(int vk);  // up; Print Screen then copies the screen
    void Tap(int vk) { Press(vk), Release(vk); }
    bool IsDown(int vk) const { return down_.count(vk) > 0; }
    const std::vector<KeyEvent>& synthesized() const { return synthesized_; }
    void ClearLog() { synthesized_.clear(); }
    int queries() const { return queries_; }
    // Runs after each look at a key: the user's hand between two looks.
    std::function<void(int vk)> afterQuery;

private:
    SimDesktop& desktop_;
    std::set<int> down_, latched_;
    std::vector<KeyEvent> synthesized_;
    int queries_ = 0;
};

class SimClock : public platform::Clock {
public:
    double MonotonicSeconds() override { return now_; }
    platform::DateTime Now() override;
    void Advance(double seconds) { now_ += seconds; }
    void SetDate(platform::DateTime base) { base_ = base, baseAt_ = now_; }

private:
    double now_ = 1000.0;
    double baseAt_ = 1000.0;
    platform::DateTime base_{2026, 3, 5, 14, 7, 9};
};

class SimClipboard : public platform::Clipboard {
public:
    bool HasBitmap() override { return bitmap_.has_value(); }
    void Clear() override;
    Image GetBitmap() override;
    void SetBitmap(const Image& image) override;

    void SetText(std::string text) { bitmap_.reset(), text_ = std::move(text); }
    void PutBitmap(Image image) { bitmap_ = std::move(image), text_.reset(); }
    const std::optional<Image>& bitmap() const { return bitmap_; }
    const std::optional<std::string>& text() const { return text_; }
    void MakeBusy(int attempts) { busy_ = attempts; }
    int opens() const { return opens_; }

private:
    void Open();
    std::optional<Image> bitmap_;
    std::optional<std::string> text_;
    int busy_ = 0;
    int opens_ = 0;
};

class SimFiles : public platform::Files {
public:
    SimFiles();
    void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) override;
    using platform::Files::WriteFile;

    bool RemoveFile(const std::string& path) override;

    void AddFolder(const std::string& folder);
    void LockFolder(const std::string& folder);  // exists, but refuses writes
    void FailNextWrites(int count) { failWrites_ = count; }
    std::optional<std::vector<uint8_t>> Read(const std::string& path) const;
    std::optional<std::string> ReadText(const std::string& path) const;
    std::vector<std::string> List() const;  // every file's path as written

private:
    static std::string FolderOf(const std::string& path);
    std::set<std::string> folders_, locked_;
    std::map<std::string, std::pair<std::string, std::vector<uint8_t>>> files_;
    int failWrites_ = 0;
};

class SimTray : public platform::Tray {
public:
    bool ShellNotifyIcon(uint32_t message, const platform::NotifyIconData& data) override;
    bool visible() const { return icon_.has_value(); }
    const std::optional<platform::NotifyIconData>& icon() const { return icon_; }
    std::string Tip() const;  // tip up to its NUL
    int adds() const { return adds_; }
    int deletes() const { return deletes_; }

private:
    std::optional<platform::NotifyIconData> icon_;
    int adds_ = 0, deletes_ = 0;
};

class SimCommonDialogs : public platform::CommonDialogs {
public:
    std::optional<platform::SaveDialogResult> ShowSave(
        const platform::SaveDialogRequest& request) override;
    // The user's answers in order; none queued means Cancel.
    std::deque<std::optional<platform::SaveDialogResult>> saveAnswers;
    std::vector<platform::SaveDialogRequest> saveRequests;

    std::optional<std::string> BrowseForFolder(const std::string& title) override;
    // The folders the user picks in order; none queued means Cancel.
    std::deque<std::optional<std::string>> folderAnswers;
    std::vector<std::string> folderRequests;  // the titles asked with
    bool failFolderBrowser = false;
};

// Records which help topics were asked for.
class SimHelp : public platform::Help {
public:
    void ShowHelp(const std::string& helpFile, int contextId) override {
        shown.emplace_back(helpFile, contextId);
    }
    std::vector<std::pair<std::string, int>> shown;
};

struct MessageBoxRecord {
    std::string text, title;
    unsigned style;
};

struct MenuRecord {
    platform::Menu menu;
    int chosen;
};

// One program instance on the desktop: its windows, timers and instance claim.
class SimProcess : public platform::Ui, public platform::SystemInfo {
public:
    explicit SimProcess(SimDesktop& desktop);
    ~SimProcess() override;
    platform::Platform& os() { return platform_; }

    // Ui
    platform::WindowId CreateHiddenWindow(platform::WindowEvents& events) override;
    void DestroyWindow(platform::WindowId window) override;
    void HideWindow(platform::WindowId) override {}
    void HideOwnerWindow(platform::WindowId) override { ++ownerHides_; }
    void SetTimer(platform::WindowId window, int timerId, int milliseconds) override;
    void KillTimer(platform::WindowId window, int timerId) override;
    int RunMessageLoop() override;
    void Quit(int exitCode) override;
    void ProcessMessages() override;
    void WaitForMessages(double maxSeconds) override;
    int MsgBox(const std::string& text, const std::string& title, unsigned style) override;
    std::optional<std::string> InputBox(const std::string& prompt, const std::string& title,
                                        const std::string& defaultText) override;
    int TrackPopupMenu(platform::WindowId owner, const platform::Menu& menu) override;

    // SystemInfo
    platform::OsVersion GetVersion() override;
    bool AnotherInstanceRunning() override;
    std::string AppFolder() override;
    std::string ExeName() override { return "orvanex"; }
    int VersionMajor() override { return 3; }
    int VersionMinor() override { return 50; }
    std::string ProductName() override { return "Orvanex - v3.5"; }
    int ScreenWidthPixels() override;
    int ScreenHeightPixels() override;
    platform::Point CursorPos() override;
    void Beep() override;
    char DecimalSeparator() override;
    std::string UserName() override;
    std::string UserCompany() override;
    std::string MonthName(int month, bool abbreviated) override;

    // Test side.
    SimForms forms{*this};  // this process's windows
    bool quitRequested() const { return quit_; }
    int exitCode() const { return exitCode_; }
    bool HasTimer(int timerId) const;
    int windowCount() const { return static_cast<int>(windows_.size()); }
    int ownerHides() const { return ownerHides_; }
    // Advances the virtual clock by seconds, firing due timers on the way.
    void RunFor(double seconds);
    // Fires every timer that is due now, once.
    void FireDueTimers();

private:
    struct Timer {
        platform::WindowId window;
        int id;
        double interval, due;
    };
    double NextDue() const;

    SimDesktop& desktop_;
    platform::Platform platform_;
    std::map<platform::WindowId, platform::WindowEvents*> windows_;
    std::vector<Timer> timers_;
    platform::WindowId nextWindow_ = 0x100;
    bool quit_ = false;
    int exitCode_ = 0;
    bool claimed_ = false;
    int ownerHides_ = 0;
};

class SimDesktop {
public:
    SimDesktop();
    ~SimDesktop();

    // A new program instance on this desktop.
    SimProcess& StartProcess();

    SimRegistry registry;
    SimKeyboard keyboard{*this};
    SimClock clock;
    SimClipboard clipboard;
    SimFiles files;
    SimTray tray;
    SimCodecs codecs;
    SimCommonDialogs dialogs;
    SimPrinting printing;  // the current printer persists for the run
    SimHelp help;

    // The screen and the active window; Print Screen copies them to the clipboard.
    Image screen{1280, 1024, 0x00336699};
    Image activeWindow{400, 300, 0x00CCCCCC};
    bool printScreenCopies = true;

    platform::OsVersion osVersion{true, 10, 0, 2};
    std::string appFolder = "C:\\Program Files\\Orvanex";
    std::string userName = "Test User";
    std::string userCompany = "Test Company";
    char decimalSeparator = '.';
    platform::Point cursor{0, 0};
    int beeps = 0;

    // The user's answers, taken in order; when none is queued a box gets its
    // first button, an input box is cancelled and a menu is dismissed.
    std::deque<int> messageBoxAnswers;
    std::deque<std::optional<std::string>> inputBoxAnswers;
    std::deque<std::string> menuChoices;  // item captions
    // Called when a box is shown, before it is answered (to act "while it is up").
    std::function<void(const MessageBoxRecord&)> onMessageBox;

    std::vector<MessageBoxRecord> messageBoxes;
    std::vector<std::string> inputPrompts;
    std::vector<MenuRecord> menus;

    bool residentClaimed = false;

private:
    std::vector<std::unique_ptr<SimProcess>> processes_;
};

}  // namespace orv::sim
