#include "capture/new_picture.h"

#include <algorithm>

namespace orv {

bool NewPictureArrived(Context& ctx, uint32_t mark) {
    platform::Clipboard& cb = ctx.os.clipboard;
    const uint32_t now = cb.SequenceNumber();
    // A session without clipboard numbers (0 both times) cannot tell old from new.
    const bool unknown = now == 0 && mark == 0;
    if (!unknown && (now == mark || now == ctx.state.OwnClipboardWrite)) return false;
    return cb.HasBitmap();
}

bool WaitForNewPicture(Context& ctx, uint32_t mark, double seconds) {
    const double start = ctx.os.clock.MonotonicSeconds();
    for (;;) {
        ctx.os.ui.ProcessMessages();
        if (NewPictureArrived(ctx, mark)) return true;
        const double left = seconds - (ctx.os.clock.MonotonicSeconds() - start);
        if (left <= 0) return false;
        ctx.os.ui.WaitForMessages(std::min(left, 0.05));
    }
}

void TellNoNewPicture(Context& ctx) {
    if (ctx.state.NoPictureTold) return;
    ctx.state.NoPictureTold = true;
    ctx.os.ui.MsgBox(
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
    ctx.state.OwnClipboardWrite = ctx.os.clipboard.SequenceNumber();
}

}  // namespace orv
