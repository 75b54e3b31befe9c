#include "capture/transfers.h"

#include "capture/keys.h"
#include "capture/new_picture.h"
#include "platform/error.h"
#include "platform/pump.h"
#include "state/error_box.h"

namespace orv {

namespace {

// Another program may hold the clipboard for a moment: tried ten times about
// 0.1 s apart before the user is told. False once the user has been told.
bool Retrying(Context& ctx, const char* failureText, const std::function<void()>& op) {
    try {
        platform::RetryWhileBusy(ctx.os.ui, ctx.os.clock, op);
        return true;
    } catch (const Error& last) {
        ShowStagedError(ctx, failureText, last, platform::mb::kCritical);
        return false;
    }
}

}  // namespace

bool sfnPasteFromClipboard(Context& ctx, ImageSurface& surface) {
    return Retrying(ctx,
                    "Failed to copy an image from the clipboard. Ensure that no other software is "
                    "utilising the clipboard.",
                    [&] { surface.PasteFromClipboard(); });
}

void sfnCopyAllToClipboard(Context& ctx, ImageSurface& surface) {
    Retrying(ctx,
             "Failed to copy an image to the clipboard. Ensure that no other software is "
             "utilising the clipboard.",
             [&] {
                 surface.CopyToClipboard();
                 NoteOwnClipboardWrite(ctx);
             });
    PumpPause(ctx, 0.1);
}

void sfnPasteFromClipboardtoCaptureWindow(Context& ctx, ImageSurface& surface) {
    Retrying(ctx,
             "Failed to copy an image from the clipboard to the capture form. Ensure that no "
             "other software is utilising the clipboard.",
             [&] { surface.PasteFromClipboard(); });
}

}  // namespace orv
