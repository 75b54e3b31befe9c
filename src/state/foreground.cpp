#include "state/foreground.h"

#include "platform/keyboard.h"

namespace orv {

bool ComeForward(Context& ctx, platform::WindowId window) {
    platform::Ui& ui = ctx.os.ui;
    platform::Keyboard& kb = ctx.os.keyboard;
    if (ui.TakeForeground(window)) return true;
    // The user's own Alt has lifted the lock already; releasing it for the
    // user would break whatever Alt combination is under way.
    if (kb.GetAsyncKeyState(platform::kVkMenu) & 0x8000) return false;
    kb.KeybdEvent(platform::kVkMenu, 0);
    const bool taken = ui.TakeForeground(window);
    kb.KeybdEvent(platform::kVkMenu, platform::kKeyEventKeyUp);
    return taken;
}

int ShowBox(Context& ctx, const std::string& text, const std::string& title, unsigned style) {
    ComeForward(ctx);
    return ctx.os.ui.MsgBox(text, title, style);
}

}  // namespace orv
