#include "app/startup.h"

#include "settings/text_convert.h"

namespace orv {

void ClassifyOs(Context& ctx) {
    platform::OsVersion v = ctx.os.system.GetVersion();
    ctx.state.PrinterListAvailable = !(v.major == 4 && v.minor == 0 && v.platformId == 1);
}

std::string NormaliseCommandLine(const std::string& commandLine) {
    return ToLower(TrimBlanks(commandLine));
}

void SendToResident(Context& ctx, const std::string& cmd) {
    platform::Keyboard& kb = ctx.os.keyboard;
    // The window the resident opens in answer must come to the front.
    ctx.os.system.AllowResidentForeground();
    const uint8_t key = static_cast<uint8_t>(ctx.state.Settings.Key);
    if (cmd == "-printscreen") {
        kb.KeybdEvent(key, 0);
        kb.KeybdEvent(key, platform::kKeyEventKeyUp);
    } else if (cmd == "-printwindow") {
        kb.KeybdEvent(platform::kVkMenu, 0);
        kb.KeybdEvent(key, 0);
        kb.KeybdEvent(key, platform::kKeyEventKeyUp);
        kb.KeybdEvent(platform::kVkMenu, platform::kKeyEventKeyUp);
    } else {
        kb.KeybdEvent(platform::kVkConfigure, 0);
        kb.KeybdEvent(platform::kVkConfigure, platform::kKeyEventKeyUp);
    }
}

}  // namespace orv
