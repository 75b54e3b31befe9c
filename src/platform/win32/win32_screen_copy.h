#pragma once
#include <windows.h>

namespace orv::win32 {

// The screen as Print Screen copies it, in physical pixels (the process is
// per-monitor DPI aware): the whole virtual screen, or the active window's
// visible frame clipped to it. The caller owns the bitmap. Throws orv::Error.
HBITMAP CopyScreenBitmap(bool activeWindow);

}  // namespace orv::win32
