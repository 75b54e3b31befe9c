#include "platform/win32/win32_clipboard.h"

#include <windows.h>

#include <cstring>
#include <optional>
#include <utility>

#include "platform/dib_decode.h"
#include "platform/trace.h"
#include "platform/win32/win32_screen_copy.h"
#include "platform/win32/win32_util.h"

namespace orv::win32 {
namespace {

// Holds the clipboard open for one operation. The program's window is named
// as the owner: SetClipboardData after EmptyClipboard fails without one. A
// busy clipboard throws; the callers retry.
class OpenClipboardScope {
  public:
    explicit OpenClipboardScope(HWND owner) {
        if (!OpenClipboard(owner)) throw Error(521, "Can't open Clipboard");
    }
    ~OpenClipboardScope() { CloseClipboard(); }
};

// Any other bitmap: let GDI convert it to 32 bits.
bool DecodeBitmap(HBITMAP bmp, Image& out) {
    BITMAP info;
    if (!GetObjectA(bmp, sizeof info, &info) || info.bmWidth <= 0 || info.bmHeight <= 0)
        return false;
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = info.bmWidth;
    bi.bmiHeader.biHeight = -info.bmHeight;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    out = Image(info.bmWidth, info.bmHeight);
    ORV_MARK("image made");
    HDC dc = GetDC(nullptr);
    int lines = GetDIBits(dc, bmp, 0, static_cast<UINT>(info.bmHeight), out.pixels.data(), &bi,
                          DIB_RGB_COLORS);
    ReleaseDC(nullptr, dc);
    if (lines != info.bmHeight) return false;
    ORV_MARK("bits read");
    for (auto& px : out.pixels) px &= 0x00FFFFFF;
    return true;
}

// Moveable memory holding a copy of the bytes, for SetClipboardData.
HGLOBAL GlobalCopy(const void* data, std::size_t size) {
    HGLOBAL g = GlobalAlloc(GMEM_MOVEABLE, size);
    if (!g) throw Error(7, "Out of memory");
    void* p = GlobalLock(g);
    if (!p) {
        GlobalFree(g);
        throw Error(7, "Out of memory");
    }
    std::memcpy(p, data, size);
    GlobalUnlock(g);  // 0 once unlocked: nothing to check
    return g;
}

// Each flag as a DWORD in its registered format, on a clipboard opened and
// emptied by the caller; the clipboard owns the memory once it is set.
void SetFlags(std::span<const platform::ClipboardFlag> flags) {
    for (const auto& flag : flags) {
        const UINT format = RegisterClipboardFormatA(flag.name);
        if (!format) throw LastError("RegisterClipboardFormat");
        const DWORD value = flag.value;
        HGLOBAL g = GlobalCopy(&value, sizeof value);
        if (!SetClipboardData(format, g)) {
            const Error failure = LastError("SetClipboardData");
            GlobalFree(g);
            throw failure;
        }
    }
}

}  // namespace

bool Win32Clipboard::HasBitmap() {
    return IsClipboardFormatAvailable(CF_BITMAP) || IsClipboardFormatAvailable(CF_DIB);
}

uint32_t Win32Clipboard::SequenceNumber() {
    return GetClipboardSequenceNumber();
}

HWND Win32Clipboard::Owner() const {
    return owner ? owner() : nullptr;
}

void Win32Clipboard::Clear() {
    OpenClipboardScope open(Owner());
    if (!EmptyClipboard()) throw LastError("EmptyClipboard");
}

namespace {

// Whether the picture was put as a device bitmap (as Print Screen puts it)
// rather than as a DIB: formats are listed in the order they were put, the
// ones the system converts to on request after them. Read in the form it was
// put in, the picture is converted once, straight into the image; asked for
// as a DIB, a device bitmap is first converted into a second whole copy
// (under Wine a 4K screen took 0.7-1.7 s that way).
// https://learn.microsoft.com/en-us/windows/win32/api/winuser/nf-winuser-enumclipboardformats
bool PutAsDeviceBitmap() {
    for (UINT f = EnumClipboardFormats(0); f; f = EnumClipboardFormats(f)) {
        if (f == CF_BITMAP) return true;
        if (f == CF_DIB || f == CF_DIBV5) return false;
    }
    return false;
}

}  // namespace

Image Win32Clipboard::GetBitmap() {
    OpenClipboardScope open(Owner());
    Image img;
    ORV_MARK("clipboard open");
    if (PutAsDeviceBitmap()) {
        if (HANDLE h = GetClipboardData(CF_BITMAP)) {
            ORV_MARK("clipboard data");
            if (DecodeBitmap(static_cast<HBITMAP>(h), img)) {
                ORV_MARK("decoded");
                return img;
            }
        }
    }
    if (HANDLE h = GetClipboardData(CF_DIB)) {
        ORV_MARK("clipboard data");
        if (const void* p = GlobalLock(h)) {
            // Unlocked on every way out: a decode that runs out of memory
            // must not leave the clipboard's memory locked.
            struct Unlock {
                HANDLE h;
                ~Unlock() { GlobalUnlock(h); }  // 0 once unlocked: nothing to check
            } unlock{h};
            if (auto decoded = DecodePackedDib(static_cast<const uint8_t*>(p), GlobalSize(h))) {
                ORV_MARK("decoded");
                return std::move(*decoded);
            }
        }
    }
    if (HANDLE h = GetClipboardData(CF_BITMAP)) {
        if (DecodeBitmap(static_cast<HBITMAP>(h), img)) return img;
    }
    throw Error(481, "Invalid picture");
}

void Win32Clipboard::SetBitmap(const Image& image, std::span<const platform::ClipboardFlag> flags) {
    if (image.empty()) throw Error(480, "There is no image to copy");
    // 24-bit bottom-up: the form every program reads.
    const std::size_t stride = ((static_cast<std::size_t>(image.width) * 24 + 31) / 32) * 4;
    const std::size_t bytes = sizeof(BITMAPINFOHEADER) + stride * image.height;
    HGLOBAL g = GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (!g) throw Error(7, "Out of memory");
    auto* p = static_cast<uint8_t*>(GlobalLock(g));
    if (!p) {
        GlobalFree(g);
        throw Error(7, "Out of memory");
    }
    BITMAPINFOHEADER h{};
    h.biSize = sizeof h;
    h.biWidth = image.width;
    h.biHeight = image.height;
    h.biPlanes = 1;
    h.biBitCount = 24;
    h.biCompression = BI_RGB;
    h.biSizeImage = static_cast<DWORD>(stride * image.height);
    std::memcpy(p, &h, sizeof h);
    uint8_t* bits = p + sizeof h;
    for (int y = 0; y < image.height; ++y) {
        uint8_t* row = bits + stride * (image.height - 1 - y);
        std::memset(row, 0, stride);
        for (int x = 0; x < image.width; ++x) {
            uint32_t c = image.at(x, y);
            row[x * 3] = static_cast<uint8_t>(c);
            row[x * 3 + 1] = static_cast<uint8_t>(c >> 8);
            row[x * 3 + 2] = static_cast<uint8_t>(c >> 16);
        }
    }
    GlobalUnlock(g);
    std::optional<OpenClipboardScope> open;
    try {
        open.emplace(Owner());
        if (!EmptyClipboard()) throw LastError("EmptyClipboard");
        if (!SetClipboardData(CF_DIB, g)) throw LastError("SetClipboardData");
    } catch (...) {
        GlobalFree(g);
        throw;
    }
    // In the same opening: the history reads the flags as the clipboard closes.
    try {
        SetFlags(flags);
    } catch (...) {
        // Not without them; the caller tries again. Emptying an open
        // clipboard of ours fails only if it was never ours.
        EmptyClipboard();
        throw;
    }
}

void Win32Clipboard::CopyScreen(bool activeWindow) {
    // Taken before the clipboard is opened, so that it is held only for the write.
    HBITMAP bitmap = CopyScreenBitmap(activeWindow);
    try {
        OpenClipboardScope open(Owner());
        if (!EmptyClipboard()) throw LastError("EmptyClipboard");
        // A device bitmap, as Print Screen leaves it; the system adds the DIB
        // forms as the clipboard closes.
        if (!SetClipboardData(CF_BITMAP, bitmap)) throw LastError("SetClipboardData");
    } catch (...) {
        DeleteObject(bitmap);  // not the clipboard's: ours to delete
        throw;
    }
}

}  // namespace orv::win32
