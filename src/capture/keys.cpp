#include "capture/keys.h"

#include "platform/pump.h"

namespace orv {

void PumpPause(Context& ctx, double seconds) {
    platform::PumpPause(ctx.os.ui, ctx.os.clock, seconds);
}

namespace {
void Key(Context& ctx, int vk, bool down) {
    ctx.os.keyboard.KeybdEvent(static_cast<uint8_t>(vk), down ? 0 : platform::kKeyEventKeyUp);
}
}  // namespace

void SimulatePrintScreen(Context& ctx) {
    PumpPause(ctx, 0.1);
    ctx.state.Pictures.KeysSynthesised(ctx.os.clipboard.SequenceNumber());
    Key(ctx, platform::kVkSnapshot, true);
    Key(ctx, platform::kVkSnapshot, false);
    PumpPause(ctx, 0.1);
}

void SimulateAltPrintScreen(Context& ctx) {
    PumpPause(ctx, 0.4);
    ctx.state.Pictures.KeysSynthesised(ctx.os.clipboard.SequenceNumber());
    Key(ctx, platform::kVkMenu, true);
    Key(ctx, platform::kVkSnapshot, true);
    Key(ctx, platform::kVkSnapshot, false);
    Key(ctx, platform::kVkMenu, false);
    PumpPause(ctx, 0.1);
}

}  // namespace orv
