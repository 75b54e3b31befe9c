#include "app/container.h"

#include "app/menus.h"
#include "capture/keys.h"
#include "settings/vbreg.h"

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
    ctx_.os.ui.SetTimer(window_, kKeyWatchTimerId, kKeyWatchIntervalMs);
}

void Container::OnTimer(int timerId) {
    if (timerId == kKeyWatchTimerId) tmrInterupt_Timer();
}

void Container::tmrInterupt_Timer() {
    // A capture pumps messages; a tick falling due meanwhile is skipped.
    if (inTick_ || unloaded_) return;
    inTick_ = true;
    try {
        KeyWatchTick();
    } catch (...) {
        // The key watch must go on whatever a capture or dialog let through.
    }
    inTick_ = false;
}

void Container::KeyWatchTick() {
    ProgramState& st = ctx_.state;
    platform::Keyboard& kb = ctx_.os.keyboard;
    const int key = st.Settings.Key;
    if (kb.GetAsyncKeyState(key) != 0 || st.TrayCaptureChoice != 0) {
        if (key != kVkPrintScreen && st.TrayCaptureChoice == 0) {
            // Only Print Screen makes the system copy the screen by itself.
            if (st.Settings.PrintArea == 3)
                SimulateAltPrintScreen(ctx_);
            else
                SimulatePrintScreen(ctx_);
            ctx_.os.ui.ProcessMessages();
        }
        Call(hooks.runCapture);
        Call(hooks.clearContainerSurface);
        st.TrayCaptureChoice = 0;
        // Forget the presses made during the capture, the one it faked
        // included; only here, since a press between two looks of an idle
        // tick would be lost.
        kb.GetAsyncKeyState(key);
    }
    if (unloaded_) return;
    ctx_.os.ui.HideWindow(window_);
    if (kb.GetAsyncKeyState(platform::kVkConfigure) != 0) Configure();
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
    } catch (...) {
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
    if (index == 3 || index == 6) return;  // separators
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
    if (unloaded_) return;
    Call(hooks.closeWindowsForExit);
    Form_Unload();
}

void Container::Form_Unload() {
    if (unloaded_) return;
    const SettingsRecord& s = ctx_.state.Settings;
    const platform::RegRoot root = SettingsRoot(s.GlobalSettings);
    SetRegValue(ctx_, root, kSettingsKeyPath, "Counter", std::to_string(s.Counter));
    SetRegValue(ctx_, root, kSettingsKeyPath, "Enabled", s.Enabled ? "True" : "False");
    if (TrayIconShown()) RemoveTrayIcon();
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
    ctx_.os.ui.KillTimer(window_, kKeyWatchTimerId);
    ctx_.os.ui.Quit(0);
}

}  // namespace orv
