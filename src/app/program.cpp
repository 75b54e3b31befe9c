#include "app/program.h"

#include "app/startup.h"
#include "settings/settings_store.h"

namespace orv {

Program::Program(platform::Platform& os) : ctx_{os, state_} {}

Program::~Program() = default;

bool Program::Start(const std::string& commandLine) {
    ClassifyOs(ctx_);
    LoadSettings(ctx_);
    const std::string cmd = NormaliseCommandLine(commandLine);
    if (ctx_.os.system.AnotherInstanceRunning()) {
        SendToResident(ctx_, cmd);
        return false;
    }
    // A press of the capture key made before start-up must not capture at the first tick.
    ctx_.os.keyboard.GetAsyncKeyState(state_.Settings.Key);
    state_.SelectionWindowBounds[0] = -1;
    container_ = std::make_unique<Container>(ctx_);
    container_->Form_Load();
    if (state_.Settings.ShowIcon != 0) container_->AddTrayIcon();
    if (cmd != "-startup") {
        ctx_.os.keyboard.KeybdEvent(platform::kVkConfigure, 0);
        ctx_.os.keyboard.KeybdEvent(platform::kVkConfigure, platform::kKeyEventKeyUp);
    }
    return true;
}

}  // namespace orv
