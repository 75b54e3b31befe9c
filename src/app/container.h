#pragma once
// The resident instance's hidden main window: tray icon and menus, and the
// 100 ms key watch that is the program's main loop.
#include <functional>

#include "app/tray_icon.h"
#include "state/program_state.h"

namespace orv {

constexpr int kKeyWatchTimerId = 1;
constexpr int kKeyWatchIntervalMs = 100;
// A timer message handled late is followed at once by the next one that fell
// due. Wine answers a key query made within 50 ms of the previous one from a
// copy, so a poll that close misses a press made meanwhile while the clipboard
// number taken with it already counts the press's copy as old: such a tick is
// skipped.
constexpr double kKeyWatchMinGapSeconds = 0.06;
constexpr int kCaptureHotKeyId = 1;

class Container : public platform::WindowEvents {
  public:
    explicit Container(Context& ctx);
    ~Container() override;

    // Windows built elsewhere reach the container through these.
    struct Hooks {
        std::function<void()> runCapture;
        std::function<void()> showSettingsDialog;  // modal
        std::function<void()> focusSettingsDialog;
        std::function<void()> focusOptionsDialog;
        std::function<void()> focusSelectionWindow;
        std::function<void()> closeWindowsForExit;  // settings dialog, popup, selection window
        std::function<void()> clearContainerSurface;
        std::function<void()> settingsDialogClosed;  // after the tray has followed it
    };
    Hooks hooks;

    void Form_Load();
    void tmrInterupt_Timer();
    void KeyWatchTick();
    void Configure();
    void mnuEnable_Click();
    void mnuExit_Click();
    void mnuSelectOption_Click(int index);
    // userPresent: the tray's Exit, where a box can say what could not be stored.
    void Form_Unload(bool userPresent);
    void Form_Terminate();
    // Pops the capture menu up for the area selection window.
    void PopupCaptureMenu(bool captureOkEnabled);

    void AddTrayIcon() { tray_.AddTrayIcon(window_); }
    void RemoveTrayIcon() { tray_.RemoveTrayIcon(); }
    bool TrayIconShown() const { return tray_.TrayIconShown(); }
    bool mnuEnableChecked() const { return enableChecked_; }
    platform::WindowId window() const { return window_; }
    bool loaded() const { return window_ != 0; }

    // platform::WindowEvents
    void OnTimer(int timerId) override;
    void OnTrayNotify(int mouseMessage) override;
    void OnCloseRequest() override;
    void OnSessionEnd() override;
    void OnDestroyed() override;
    void OnTaskbarCreated() override;
    void OnHotKey(int id) override;

  private:
    void HandleMenuCommand(int id);
    void Exit(bool userPresent);
    void EndProcess();
    bool CaptureKeyPressed();
    void SyncHotKey();
    void FollowEnabled();

    Context& ctx_;
    TrayIconKeeper tray_;
    platform::WindowId window_ = 0;
    bool enableChecked_ = true;
    bool inTick_ = false;
    double lastTickEnd_ = -1.0;  // monotonic seconds
    bool unloaded_ = false;
    int hotKeyVk_ = 0;            // registered now
    int refusedVk_ = 0;           // taken by another program: polled instead
    bool sessionEnding_ = false;  // the shell ends with the session: leave its tray alone
    bool refusalTold_ = false;
    bool hotKeyPressed_ = false;
};

}  // namespace orv
