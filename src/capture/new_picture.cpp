#include "capture/new_picture.h"

#include <algorithm>

#include "state/foreground.h"

namespace orv {

bool NewPictureArrived(Context& ctx) {
    platform::Clipboard& cb = ctx.os.clipboard;
    const uint32_t now = cb.SequenceNumber();
    return ctx.state.Pictures.IsNew(now, cb.HasBitmap());
}

bool WaitForNewPicture(Context& ctx, double seconds) {
    const double start = ctx.os.clock.MonotonicSeconds();
    for (;;) {
        ctx.os.ui.ProcessMessages();
        if (NewPictureArrived(ctx)) return true;
        const double left = seconds - (ctx.os.clock.MonotonicSeconds() - start);
        if (left <= 0) return false;
        // Looked at often: the capture's fixed pauses only start once it is there.
        ctx.os.ui.WaitForMessages(std::min(left, kNewPictureLookSeconds));
    }
}

void TellNoNewPicture(Context& ctx) {
    if (ctx.state.NoPictureTold) return;
    ctx.state.NoPictureTold = true;
    ShowBox(
        ctx,
        "No new picture of the screen arrived on the clipboard, so nothing was saved or printed "
        "and the clipboard was left as it was.\r\n\r\n"
        "Windows puts the picture there when Print Screen is pressed. It does not when Print "
        "Screen is set to open Windows' own screen capture, when the window in front belongs to "
        "a program run as administrator, or when another program has taken the Print Screen "
        "key.\r\n\r\n"
        "This message is shown once. Until Orvanex is started again, a capture that gets no new "
        "picture ends without a message.",
        ctx.ProductTitle(), platform::mb::kOk | platform::mb::kExclamation);
}

void NoteOwnClipboardWrite(Context& ctx) {
    ctx.state.Pictures.OwnWrite(ctx.os.clipboard.SequenceNumber());
}

}  // namespace orv
