#include "capture/keys.h"

#include "capture/snipping_setting.h"
#include "platform/pump.h"
#include "state/error_box.h"

namespace orv {

void PumpPause(Context& ctx, double seconds) {
    platform::PumpPause(ctx.os.ui, ctx.os.clock, seconds);
}

namespace {

void Key(Context& ctx, int vk, bool down) {
    ctx.os.keyboard.KeybdEvent(static_cast<uint8_t>(vk), down ? 0 : platform::kKeyEventKeyUp);
}

// What the keys would have put there, copied by the program; the clipboard
// may be busy for a moment, as for the transfers.
bool CopyScreen(Context& ctx, bool activeWindow) {
    try {
        platform::RetryWhileBusy(ctx.os.ui, ctx.os.clock,
                                 [&] { ctx.os.clipboard.CopyScreen(activeWindow); });
        return true;
    } catch (const Error& last) {
        ShowStagedError(ctx,
                        "Failed to copy the screen to the clipboard. Ensure that no other "
                        "software is utilising the clipboard.",
                        last);
        return false;
    }
}

}  // namespace

bool SimulatePrintScreen(Context& ctx) {
    PumpPause(ctx, 0.1);
    ctx.state.Pictures.KeysSynthesised(ctx.os.clipboard.SequenceNumber());
    if (PrintScreenOpensCapture(ctx)) {
        if (!CopyScreen(ctx, false)) return false;
    } else {
        Key(ctx, platform::kVkSnapshot, true);
        Key(ctx, platform::kVkSnapshot, false);
    }
    PumpPause(ctx, 0.1);
    return true;
}

bool SimulateAltPrintScreen(Context& ctx) {
    PumpPause(ctx, 0.4);
    ctx.state.Pictures.KeysSynthesised(ctx.os.clipboard.SequenceNumber());
    if (PrintScreenOpensCapture(ctx)) {
        if (!CopyScreen(ctx, true)) return false;
    } else {
        Key(ctx, platform::kVkMenu, true);
        Key(ctx, platform::kVkSnapshot, true);
        Key(ctx, platform::kVkSnapshot, false);
        Key(ctx, platform::kVkMenu, false);
    }
    PumpPause(ctx, 0.1);
    return true;
}

}  // namespace orv
