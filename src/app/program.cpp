#include "app/program.h"

#include "app/exit_notice.h"
#include "app/snipping_notice.h"
#include "app/startup.h"
#include "state/settings_store.h"

namespace orv {

Program::Program(platform::Platform& os)
    : ctx_{os, state_},
      containerSurface_(os.clipboard, os.codecs),
      popup_(ctx_),
      captureWindows_{containerSurface_, popup_, {}, {}},
      setup_(ctx_),
      selection_(ctx_, [this](bool okEnabled) { container_->PopupCaptureMenu(okEnabled); }),
      options_(ctx_) {
    // The hidden window's surface is never shown: it takes the capture's size.
    containerSurface_.autoSize = true;
}

Program::~Program() = default;

bool Program::Start(const std::string& commandLine) {
    ClassifyOs(ctx_);
    LoadSettings(ctx_);
    const std::string cmd = NormaliseCommandLine(commandLine);
    platform::Registry& reg = ctx_.os.registry;
    constexpr platform::RegRoot kUser = platform::RegRoot::CurrentUser;
    const bool resident = !ctx_.os.system.AnotherInstanceRunning();
    if (cmd == kExitSwitch) {
        // The mark says whether "-restart" has a resident to bring back; a
        // stale one would start a resident nobody had.
        if (!resident && ctx_.os.ui.CloseResident(kResidentExitSeconds))
            reg.SetValue(kUser, kNoticesKeyPath, kEndedByExitValue, "1");
        else
            reg.DeleteValue(kUser, kNoticesKeyPath, kEndedByExitValue);
        return false;
    }
    if (cmd == kRestartSwitch) {
        // Another resident runs already, or none was ended: nothing to do, no dialog.
        const bool ended =
            reg.QueryValue(kUser, kNoticesKeyPath, kEndedByExitValue, 16).status == 0;
        if (ended) reg.DeleteValue(kUser, kNoticesKeyPath, kEndedByExitValue);
        if (!resident || !ended) return false;
    } else if (!resident) {
        SendToResident(ctx_, cmd);
        return false;
    }
    // A press of the capture key made before start-up must not capture at the first tick.
    ctx_.os.keyboard.GetAsyncKeyState(state_.Settings.Key);
    state_.SelectionWindowBounds.reset();
    container_ = std::make_unique<Container>(ctx_);
    ConnectWindows();
    container_->Form_Load();
    if (state_.Settings.ShowIcon != 0) container_->AddTrayIcon();
    ShowExitNotice(ctx_);
    CheckPrintScreenSnipping(ctx_);
    if (cmd != "-startup" && cmd != kRestartSwitch) {
        ctx_.os.keyboard.KeybdEvent(platform::kVkConfigure, 0);
        ctx_.os.keyboard.KeybdEvent(platform::kVkConfigure, platform::kKeyEventKeyUp);
    }
    return true;
}

void Program::ConnectWindows() {
    Container::Hooks& h = container_->hooks;
    h.runCapture = [this] { RunCapture(ctx_, captureWindows_); };
    h.clearContainerSurface = [this] { containerSurface_.ClearImage(); };
    h.showSettingsDialog = [this] { setup_.ShowModal(); };
    h.focusSettingsDialog = [this] { setup_.Focus(); };
    h.settingsDialogClosed = [this] { CheckPrintScreenSnipping(ctx_); };
    h.closeWindowsForExit = [this] {
        setup_.Close();
        selection_.Close();
        options_.Close();
        popup_.Close();
    };
    h.focusSelectionWindow = [this] { selection_.Focus(); };
    h.focusOptionsDialog = [this] { options_.Focus(); };
    captureWindows_.showSelectionWindow = [this] { selection_.Show(); };
    captureWindows_.showOptionsDialog = [this] { options_.Show(); };
}

}  // namespace orv
