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

#include "orvanex_version.h"
#include "platform/platform.h"
#include "platform/sim/sim_codecs.h"
#include "platform/sim/sim_files.h"
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
    bool RegisterHotKey(platform::WindowId window, int id, int vk) override;
    void UnregisterHotKey(platform::WindowId window, int id) override;

    // The user at the keyboard.
    // Down, latched; a hot key's press goes to its window, not to the app in front.
    void Press(int vk) { Down(vk, true); }
    void Release(int vk);  // up; Print Screen then copies the screen
    void Tap(int vk) { Press(vk), Release(vk); }
    bool IsDown(int vk) const { return down_.count(vk) > 0; }
    const std::vector<KeyEvent>& synthesized() const { return synthesized_; }
    void ClearLog() { synthesized_.clear(); }
    int queries() const { return queries_; }
    // Another program has taken this key as its hot key.
    void HeldElsewhere(int vk) { elsewhere_.insert(vk); }
    bool IsHotKey(int vk) const { return hotKeys_.count(vk) > 0; }
    // Key presses the application in front received, in order.
    const std::vector<int>& reachedApp() const { return reachedApp_; }
    // Runs after each look at a key: the user's hand between two looks.
    std::function<void(int vk)> afterQuery;

  private:
    struct HotKey {
        platform::WindowId window;
        int id;
    };
    SimDesktop& desktop_;
    std::map<int, HotKey> hotKeys_;
    std::set<int> elsewhere_;
    std::vector<int> reachedApp_;
    void Down(int vk, bool byUser);
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

// One write by the program: the picture's format and the flags beside it.
struct ClipboardWrite {
    std::string format;  // "CF_DIB" for a picture, "CF_BITMAP" for a copy of the screen
    std::map<std::string, uint32_t> flags;
};

class SimClipboard : public platform::Clipboard {
  public:
    SimClipboard(SimClock& clock, SimDesktop& desktop) : clock_(clock), desktop_(desktop) {}
    bool HasBitmap() override;
    uint32_t SequenceNumber() override;
    void Clear() override;
    Image GetBitmap() override;
    void SetBitmap(const Image& image, std::span<const platform::ClipboardFlag> flags) override;
    void CopyScreen(bool activeWindow) override;

    // Another program (or the system) changes the contents.
    void SetText(std::string text);
    void PutBitmap(Image image);
    // The system's copy of the screen, landing after `delay` seconds.
    void PutBitmapAfter(Image image, double delay);
    const std::optional<Image>& bitmap() {
        Settle();
        return bitmap_;
    }
    const std::optional<std::string>& text() const { return text_; }
    void MakeBusy(int attempts) { busy_ = attempts; }
    int opens() const { return opens_; }
    const std::vector<ClipboardWrite>& writes() const { return writes_; }

  private:
    void Open();
    void Settle();  // lands a late copy whose time has come
    SimClock& clock_;
    SimDesktop& desktop_;
    std::vector<ClipboardWrite> writes_;
    std::optional<std::pair<double, Image>> late_;
    uint32_t sequence_ = 1;
    std::optional<Image> bitmap_;
    std::optional<std::string> text_;
    int busy_ = 0;
    int opens_ = 0;
};

class SimTray : public platform::Tray {
  public:
    bool ShellNotifyIcon(uint32_t message, const platform::NotifyIconData& data) override;
    bool visible() const { return icon_.has_value(); }
    const std::optional<platform::NotifyIconData>& icon() const { return icon_; }
    std::string Tip() const;  // tip up to its NUL
    int adds() const { return adds_; }
    int deletes() const { return deletes_; }
    // The shell restarts and forgets its icons (when keepIcons, it still shows them).
    void RestartShell(bool keepIcons = false) {
        if (!keepIcons) icon_.reset();
    }
    int failAdds = 0;  // the next adds fail (the shell is not ready)

  private:
    std::optional<platform::NotifyIconData> icon_;
    int adds_ = 0, deletes_ = 0;
};

class SimCommonDialogs : public platform::CommonDialogs {
  public:
    explicit SimCommonDialogs(SimDesktop& desktop) : desktop_(desktop) {}
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

  private:
    SimDesktop& desktop_;
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
    SimDesktop& desktop() { return desktop_; }

    // Ui
    platform::WindowId CreateHiddenWindow(platform::WindowEvents& events) override;
    void DestroyWindow(platform::WindowId window) override;
    void HideWindow(platform::WindowId) override {}
    void HideOwnerWindow(platform::WindowId) override {}
    void SetTimer(platform::WindowId window, int timerId, int milliseconds) override;
    void KillTimer(platform::WindowId window, int timerId) override;
    // WM_HOTKEY to a window of this process; false when it has no such window.
    bool DeliverHotKey(platform::WindowId window, int id);
    // The user clicks the tray icon (mouse message as the icon reports it).
    void ClickTray(int mouseMessage);
    void DeliverEndSession();
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

    // SystemInfo
    platform::OsVersion GetVersion() override;
    bool AnotherInstanceRunning() override;
    void AllowResidentForeground() override;
    std::string AppFolder() override;
    std::string ExeName() override { return "orvanex"; }
    int VersionMajor() override { return ORV_VERSION_MAJOR; }
    int VersionMinor() override { return ORV_VERSION_MINOR; }
    std::string ProductName() override { return ORV_PRODUCT_NAME; }
    int ScreenWidthPixels() override;
    int ScreenHeightPixels() override;
    platform::ScreenRect VirtualScreen() override;
    platform::Point CursorPos() override;
    void Beep() override;
    char DecimalSeparator() override;
    std::string UserName() override;
    std::string UserCompany() override;
    std::string MonthName(int month, bool abbreviated) override;
    std::string PicturesFolder() override;

    // Test side.
    SimForms forms{*this};  // this process's windows
    bool quitRequested() const { return quit_; }
    int exitCode() const { return exitCode_; }
    bool HasTimer(int timerId) const;
    int windowCount() const { return static_cast<int>(windows_.size()); }
    int TwipsPerPixel() const;
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
    bool quit_ = false;
    int exitCode_ = 0;
    bool claimed_ = false;
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
    SimClipboard clipboard{clock, *this};
    SimFiles files{clock};
    SimTray tray;
    SimCodecs codecs;
    SimCommonDialogs dialogs{*this};
    SimPrinting printing;  // the current printer persists for the run
    SimHelp help;

    // The screen and the active window; Print Screen copies them to the clipboard.
    // `screen` is the whole virtual screen, its pixel (0, 0) at the top-left
    // corner of the rectangle around every monitor.
    Image screen{1280, 1024, 0x00336699};
    // The monitors in screen pixels, the primary first at (0, 0); the others
    // may lie left of or above it. Empty: one monitor as large as `screen`.
    std::vector<platform::ScreenRect> monitors;
    // The system's dots per inch, one that gives whole twips per pixel (96, 120,
    // 144, 240): a window's twips per pixel are 1440 / dpi.
    int dpi = 96;
    Image activeWindow{400, 300, 0x00CCCCCC};
    bool printScreenCopies = true;
    double printScreenDelay = 0;  // seconds until the system's copy lands
    // Windows' "Use the Print screen key to open screen capture" as the system
    // reads it (the user's DWORD, else on from build 22621): while it is on,
    // Print Screen, pressed or synthesised, with Alt or without, opens the
    // capture tool and copies nothing.
    bool PrintScreenOpensCapture();
    int captureToolOpened = 0;

    // WM_HOTKEY to whichever process owns the window.
    void DeliverHotKey(platform::WindowId window, int id);

    // Who may take the foreground, as SetForegroundWindow's rules give it.
    // `foreground` is the process in front (nullptr: another application,
    // where the user works). A process may take it when it is in front,
    // when it was just started by the user, when the user's last input went
    // to it (a hot key, a click on its tray icon), when a process that may
    // allowed it, or after an Alt key event (which lifts the foreground lock
    // for everyone); the user's next input elsewhere, a polled key among
    // them, takes every such right away.
    SimProcess* foreground = nullptr;
    bool MayTakeForeground(const SimProcess& p) const;
    bool TakeForeground(SimProcess& p);
    // The user's input, to `to` (nullptr: the application in front).
    void UserInput(const SimProcess* to);
    // The user clicks a window of another application.
    void UserSwitchesAway() { foreground = nullptr, UserInput(nullptr); }
    // Windows the user must answer that came up behind the application in
    // front, without the keyboard (window name, or the box's title).
    std::vector<std::string> shownBehind, shownInFront;
    // A window the user must answer appears: in front when its process holds
    // the foreground (after the window's own try, when it makes one).
    void MustAnswer(SimProcess& p, const std::string& what, bool triesForeground);
    // It was answered: Windows activates the window behind it again, the
    // other application's unless the process still shows a window.
    void Answered(SimProcess& p);
    // The same for a window the program does not open itself (a common
    // dialog, a printer driver's): it is in front when the program is.
    void MustAnswer(const std::string& what);
    void Answered();
    // Sign-out, shut-down or a Restart Manager close: every process's top-level
    // windows get WM_ENDSESSION (the program grants WM_QUERYENDSESSION). Windows
    // waits on each handler, so a box shown in one holds the session up.
    void EndSession();
    platform::WindowId NewWindowId() { return nextWindow_++; }

    platform::OsVersion osVersion{true, 10, 0, 2};
    std::string appFolder = "C:\\Program Files\\Orvanex";
    std::string userName = "Test User";
    std::string userCompany = "Test Company";
    std::string picturesFolder = "C:\\Users\\Test User\\Pictures";  // exists from the start
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
    std::vector<std::string> inputOwners;  // the owner window's name, "" for the main window
    // For each time a process let the resident take the foreground: how many
    // keyboard events had been synthesised on the desktop by then.
    std::vector<std::size_t> foregroundAllowedAt;
    std::vector<MenuRecord> menus;

    bool residentClaimed = false;

  private:
    friend class SimProcess;
    friend class SimKeyboard;
    std::set<const SimProcess*> mayForeground_;
    bool altUnlocked_ = false;
    platform::WindowId nextWindow_ = 0x100;
    std::vector<std::unique_ptr<SimProcess>> processes_;
};

}  // namespace orv::sim
