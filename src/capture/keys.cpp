#include "capture/keys.h"

namespace orv {

void PumpPause(Context& ctx, double seconds) {
    const double start = ctx.os.clock.MonotonicSeconds();
    for (;;) {
        ctx.os.ui.ProcessMessages();
        double left = seconds - (ctx.os.clock.MonotonicSeconds() - start);
        if (left <= 0) return;
        ctx.os.ui.WaitForMessages(left);
    }
}

namespace {
void Key(Context& ctx, int vk, bool down) {
    ctx.os.keyboard.KeybdEvent(static_cast<uint8_t>(vk), down ? 0 : platform::kKeyEventKeyUp);
}
}  // namespace

void SimulatePrintScreen(Context& ctx) {
    PumpPause(ctx, 0.1);
    Key(ctx, platform::kVkSnapshot, true);
    Key(ctx, platform::kVkSnapshot, false);
    PumpPause(ctx, 0.1);
}

void SimulateAltPrintScreen(Context& ctx) {
    PumpPause(ctx, 0.4);
    Key(ctx, platform::kVkMenu, true);
    Key(ctx, platform::kVkSnapshot, true);
    Key(ctx, platform::kVkSnapshot, false);
    Key(ctx, platform::kVkMenu, false);
    PumpPause(ctx, 0.1);
}

}  // namespace orv
