#include "app/container.h"

#include "app/exit_notice.h"
#include "app/menus.h"
#include "capture/keys.h"
#include "platform/trace.h"
#include "state/foreground.h"
#include "state/settings_store.h"

namespace orv {

namespace {
constexpr int kWmLButtonDblClk = 0x203;
constexpr int kWmRButtonUp = 0x205;

void Call(const std::function<void()>& f) {
    if (f) f();
}
}  // namespace

Container::Container(Context& ctx) : ctx_(ctx), tray_(ctx) {}

Container::~Container() {
    if (window_) ctx_.os.ui.DestroyWindow(window_);
}

void Container::Form_Load() {
    window_ = ctx_.os.ui.CreateHiddenWindow(*this);
    ctx_.os.ui.HideWindow(window_);
    ctx_.os.ui.HideOwnerWindow(window_);
    enableChecked_ = ctx_.state.Settings.Enabled;
    ctx_.state.Pictures.Restart(ctx_.os.clipboard.SequenceNumber());
    ctx_.os.ui.SetTimer(window_, kKeyWatchTimerId, kKeyWatchIntervalMs);
}

void Container::OnTimer(int timerId) {
    if (timerId == kKeyWatchTimerId) tmrInterupt_Timer();
}

void Container::tmrInterupt_Timer() {
    // A capture pumps messages; a tick falling due meanwhile is skipped.
    if (inTick_ || unloaded_) return;
    if (lastTickEnd_ >= 0 &&
        ctx_.os.clock.MonotonicSeconds() - lastTickEnd_ < kKeyWatchMinGapSeconds)
        return;
    inTick_ = true;
    try {
        KeyWatchTick();
    } catch (...) {
        // The key watch must go on whatever a capture or dialog let through.
    }
    inTick_ = false;
    lastTickEnd_ = ctx_.os.clock.MonotonicSeconds();
}

namespace {
// F10 and F11. F12 is reserved for debuggers at all times and must not be
// registered (a resident kernel or just-in-time debugger breaks on it), so it
// is watched like Print Screen and reaches the application in front as well.
bool TakenAsHotKey(int vk) {
    return vk == 121 || vk == 122;
}
}  // namespace

void Container::SyncHotKey() {
    // F10 and F11 are taken from the system while enabled, so the application
    // in front never sees them. Print Screen stays polled: the system's own
    // copy of the screen must still happen.
    const SettingsRecord& s = ctx_.state.Settings;
    const int want = s.Enabled && TakenAsHotKey(s.Key) ? s.Key : 0;
    if (want == hotKeyVk_) return;
    if (hotKeyVk_) ctx_.os.keyboard.UnregisterHotKey(window_, kCaptureHotKeyId);
    hotKeyVk_ = 0;
    hotKeyPressed_ = false;
    if (!want || want == refusedVk_) return;
    if (ctx_.os.keyboard.RegisterHotKey(window_, kCaptureHotKeyId, want)) {
        hotKeyVk_ = want;
        return;
    }
    refusedVk_ = want;
    if (refusalTold_) return;
    refusalTold_ = true;
    const std::string name = "F" + std::to_string(want - 111);
    ShowBox(ctx_,
            name +
                " is already taken by another program, so Orvanex watches the key "
                "instead: each press of " +
                name +
                " captures and also does what that program does with it. To avoid "
                "that, choose another capture key in Orvanex's settings.",
            ctx_.ProductTitle(), platform::mb::kOk | platform::mb::kInformation);
}

void Container::OnHotKey(int id) {
    if (id == kCaptureHotKeyId && !unloaded_) hotKeyPressed_ = true;
}

bool Container::CaptureKeyPressed() {
    // A press made just before the key became a hot key was only polled.
    // Polled, a quick tap between two looks is lost when another program
    // polls the same key. Raw input (RIDEV_INPUTSINK) is not used instead:
    // under Wine 8 it delivered no Print Screen at all while no window was
    // in front or while another program held the key as a hot key (as the
    // system's stand-in does), where this poll still saw every press.
    const bool polled = ctx_.os.keyboard.GetAsyncKeyState(ctx_.state.Settings.Key) != 0;
    const bool pressed = polled || hotKeyPressed_;
    hotKeyPressed_ = false;
    return pressed;
}

void Container::KeyWatchTick() {
    ProgramState& st = ctx_.state;
    platform::Keyboard& kb = ctx_.os.keyboard;
    SyncHotKey();
    if (unloaded_) return;
    const int key = st.Settings.Key;
    // Taken before the key is polled: a press this poll misses, and the
    // system's copy that follows it, come after this number.
    const uint32_t beforePoll = ctx_.os.clipboard.SequenceNumber();
    bool captured = false, configured = false;
    if (CaptureKeyPressed() || st.TrayCaptureChoice != 0) {
        ORV_MARK("key seen");
        captured = true;
        st.Pictures.PressSeen();
        bool copied = true;
        if (key != platform::kVkSnapshot && st.TrayCaptureChoice == 0) {
            // Only Print Screen makes the system copy the screen by itself.
            if (st.Settings.PrintArea == area::kActiveWindow)
                copied = SimulateAltPrintScreen(ctx_);
            else
                copied = SimulatePrintScreen(ctx_);
            ctx_.os.ui.ProcessMessages();
        }
        // A copy that failed has told the user; the capture would only add
        // that no picture came.
        if (copied) Call(hooks.runCapture);
        Call(hooks.clearContainerSurface);
        st.TrayCaptureChoice = 0;
        // Forget the presses made during the capture, the one it faked
        // included; only here, since a press between two looks of an idle
        // tick would be lost.
        kb.GetAsyncKeyState(key);
        ORV_MARK("tick end");
    }
    hotKeyPressed_ = false;
    if (unloaded_) return;
    ctx_.os.ui.HideWindow(window_);
    if (kb.GetAsyncKeyState(platform::kVkConfigure) != 0) {
        configured = true;
        Configure();
    }
    if (unloaded_) return;
    const uint32_t now = ctx_.os.clipboard.SequenceNumber();
    if (captured)
        st.Pictures.CaptureTickEnded(configured, now);
    else if (configured)
        st.Pictures.Restart(now);
    else
        st.Pictures.IdleTick(beforePoll);
}

void Container::Configure() {
    try {
        ProgramState& st = ctx_.state;
        if (st.SelectionWindowOpen) return Call(hooks.focusSelectionWindow);
        if (st.OptionsDialogOpen) return Call(hooks.focusOptionsDialog);
        if (st.SettingsDialogOpen) return Call(hooks.focusSettingsDialog);
        Call(hooks.showSettingsDialog);
        if (unloaded_) return;
        if (st.Settings.ShowIcon == 1 && !TrayIconShown())
            AddTrayIcon();
        else if (st.Settings.ShowIcon == 0 && TrayIconShown())
            RemoveTrayIcon();
        FollowEnabled();
        SyncHotKey();
        Call(hooks.settingsDialogClosed);
    } catch (...) {
        // The dialog's handlers have shown their own boxes; the tray and the
        // key watch must carry on whatever is left.
    }
}

void Container::FollowEnabled() {
    // OK, Reset Defaults and the shared-settings switch may all have changed
    // Enabled: the menu check, icon and tip show what is now in force.
    enableChecked_ = ctx_.state.Settings.Enabled;
    if (TrayIconShown() && tray_.ShowsEnabled() != enableChecked_) {
        RemoveTrayIcon();
        AddTrayIcon();
    }
}

void Container::OnTrayNotify(int mouseMessage) {
    if (unloaded_) return;
    if (mouseMessage == kWmLButtonDblClk) {
        Configure();
    } else if (mouseMessage == kWmRButtonUp) {
        HandleMenuCommand(ctx_.os.ui.TrackPopupMenu(window_, TrayMenu(enableChecked_)));
    }
}

void Container::HandleMenuCommand(int id) {
    if (id >= menu_id::kSelectOptionFirst && id <= menu_id::kSelectOptionLast)
        mnuSelectOption_Click(id);
    else if (id == menu_id::kEnable)
        mnuEnable_Click();
    else if (id == menu_id::kConfigure)
        Configure();
    else if (id == menu_id::kExit)
        mnuExit_Click();
}

void Container::mnuSelectOption_Click(int index) {
    if (!menu_id::IsCaptureChoice(index)) return;
    ctx_.state.TrayCaptureChoice = static_cast<int16_t>(index);
}

void Container::PopupCaptureMenu(bool captureOkEnabled) {
    int id = ctx_.os.ui.TrackPopupMenu(window_, CaptureMenu(captureOkEnabled));
    if (id == menu_id::kCaptureOK)
        ctx_.state.SelectionCommand = "OK";
    else if (id == menu_id::kCancel)
        ctx_.state.SelectionCommand = "Cancel";
    else if (id == menu_id::kResetArea)
        ctx_.state.SelectionCommand = "Reset";
}

void Container::mnuEnable_Click() {
    enableChecked_ = !enableChecked_;
    ctx_.state.Settings.Enabled = enableChecked_;
    if (TrayIconShown()) {
        RemoveTrayIcon();
        AddTrayIcon();
    }
}

void Container::mnuExit_Click() {
    Exit(true);
}

void Container::OnCloseRequest() {
    // "-exit", the end of the session or Restart Manager: nobody may have to
    // answer a box before the program has gone.
    Exit(false);
}

void Container::OnSessionEnd() {
    // Explorer is ending with the session: a call to its tray now may wait on
    // it, and its icons go with it anyway.
    sessionEnding_ = true;
    Exit(false);
}

void Container::Exit(bool userPresent) {
    if (unloaded_) return;
    Call(hooks.closeWindowsForExit);
    Form_Unload(userPresent);
}

void Container::Form_Unload(bool userPresent) {
    if (unloaded_) return;
    TellCounterAtExit(ctx_, SaveExitValues(ctx_), userPresent);
    if (!sessionEnding_ && (TrayIconShown() || tray_.MayLinger())) RemoveTrayIcon();
    EndProcess();
}

void Container::OnDestroyed() {
    if (!unloaded_) Form_Terminate();
}

void Container::Form_Terminate() {
    if (ctx_.state.Settings.ShowIcon != 0) RemoveTrayIcon();
    ctx_.state.Settings.ShowIcon = 0;
    EndProcess();
}

void Container::OnTaskbarCreated() {
    if (TrayIconShown() || ctx_.state.Settings.ShowIcon != 0) AddTrayIcon();
}

void Container::EndProcess() {
    unloaded_ = true;
    if (hotKeyVk_) ctx_.os.keyboard.UnregisterHotKey(window_, kCaptureHotKeyId);
    hotKeyVk_ = 0;
    ctx_.os.ui.KillTimer(window_, kKeyWatchTimerId);
    ctx_.os.ui.Quit(0);
}

}  // namespace orv
