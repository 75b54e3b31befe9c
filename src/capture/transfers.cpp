#include "capture/transfers.h"

#include "capture/keys.h"
#include "platform/error.h"

namespace orv {
namespace {

constexpr int kAttempts = 10;

// Another program may hold the clipboard for a moment: try ten times about
// 0.1 s apart before telling the user. False once the user has been told.
template <class Op>
bool Retrying(Context& ctx, const char* failureText, Op&& op) {
    Error last(0, "");
    for (int attempts = 0; attempts < kAttempts;) {
        PumpPause(ctx, 0.1);
        try {
            op();
            return true;
        } catch (const Error& e) {
            last = e;
            ++attempts;
        }
    }
    ctx.os.ui.MsgBox(std::string(failureText) + "\r\n" + last.description() + " " +
                         HexNumber(last.number()),
                     ctx.ProductTitle(), platform::mb::kCritical);
    return false;
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
             [&] { surface.CopyToClipboard(); });
    PumpPause(ctx, 0.1);
}

void sfnPasteFromClipboardtoCaptureWindow(Context& ctx, ImageSurface& surface) {
    Retrying(ctx,
             "Failed to copy an image from the clipboard to the capture form. Ensure that no "
             "other software is utilising the clipboard.",
             [&] { surface.PasteFromClipboard(); });
}

}  // namespace orv
