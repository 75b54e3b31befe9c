#pragma once
// Moving bitmaps between the clipboard and the image surfaces, with retries.
#include "capture/image_surface.h"
#include "state/program_state.h"

namespace orv {

// Clipboard bitmap into the hidden window's surface; false (the user told)
// when the clipboard could not be read.
bool sfnPasteFromClipboard(Context& ctx, ImageSurface& surface);
// The surface's whole image onto the clipboard (for printing).
void sfnCopyAllToClipboard(Context& ctx, ImageSurface& surface);
// Clipboard bitmap into the area selection window's surface.
void sfnPasteFromClipboardtoCaptureWindow(Context& ctx, ImageSurface& surface);

}  // namespace orv
