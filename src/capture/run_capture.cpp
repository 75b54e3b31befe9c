#include "capture/run_capture.h"

namespace orv {

void RunCapture(Context& ctx) {
    if (ctx.state.SettingsDialogOpen || !ctx.state.Settings.Enabled) return;
    ctx.state.CaptureSettings = ctx.state.Settings;
}

}  // namespace orv
