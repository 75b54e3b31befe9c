// Known bitmaps in and out of the clipboard, and the OS's Print Screen part.
#include <fstream>
#include <iterator>

#include "drive.h"

namespace drive {
namespace {

bool ReadFile(const std::string& path, std::vector<char>& data) {
    std::ifstream in(Wide(path).c_str(), std::ios::binary);
    if (!in) return false;
    data.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return true;
}

// The packed DIB of an uncompressed 24- or 32-bit BMP file: the info header
// followed directly by the pixels, whatever gap the file left between them.
bool PackedDib(const std::vector<char>& file, std::vector<char>& dib) {
    BITMAPFILEHEADER fh{};
    BITMAPINFOHEADER ih{};
    if (file.size() < sizeof fh + sizeof ih) return false;
    std::memcpy(&fh, file.data(), sizeof fh);
    std::memcpy(&ih, file.data() + sizeof fh, sizeof ih);
    if (fh.bfType != 0x4D42 || ih.biSize < sizeof ih || ih.biCompression != BI_RGB ||
        (ih.biBitCount != 24 && ih.biBitCount != 32) || ih.biWidth <= 0 || ih.biHeight == 0)
        return false;
    const size_t stride = ((static_cast<size_t>(ih.biWidth) * ih.biBitCount + 31) / 32) * 4;
    const size_t rows = static_cast<size_t>(ih.biHeight < 0 ? -ih.biHeight : ih.biHeight);
    const size_t bytes = stride * rows;
    if (fh.bfOffBits > file.size() || file.size() - fh.bfOffBits < bytes) return false;
    ih.biSize = sizeof ih;
    ih.biSizeImage = static_cast<DWORD>(bytes);
    dib.resize(sizeof ih + bytes);
    std::memcpy(dib.data(), &ih, sizeof ih);
    std::memcpy(dib.data() + sizeof ih, file.data() + fh.bfOffBits, bytes);
    return true;
}

bool OpenClipboardPatiently(HWND owner) {
    return WaitFor(2.0, [&] { return OpenClipboard(owner) != FALSE; });
}

// A device bitmap of the DIB's picture, the form Print Screen leaves.
HBITMAP DeviceBitmap(const std::vector<char>& dib) {
    const auto* info = reinterpret_cast<const BITMAPINFO*>(dib.data());
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap =
        screen ? CreateDIBitmap(screen, &info->bmiHeader, CBM_INIT,
                                dib.data() + sizeof(BITMAPINFOHEADER), info, DIB_RGB_COLORS)
               : nullptr;
    if (screen) ReleaseDC(nullptr, screen);
    return bitmap;
}

// Puts the DIB on the clipboard as CF_DIB, or as a device bitmap (CF_BITMAP),
// which is what the Print Screen key leaves there; `made`, if given, is that
// device bitmap made already, which the clipboard then owns.
bool PutDib(const std::vector<char>& dib, bool ddb, HWND owner, HBITMAP made = nullptr) {
    if (!OpenClipboardPatiently(owner)) {
        if (made) DeleteObject(made);
        return false;
    }
    bool ok = EmptyClipboard() != FALSE;
    if (ddb) {
        HBITMAP bitmap = made ? made : ok ? DeviceBitmap(dib) : nullptr;
        ok = ok && bitmap && SetClipboardData(CF_BITMAP, bitmap);
        if (!ok && bitmap) DeleteObject(bitmap);
    } else if (ok) {
        HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, dib.size());
        void* target = memory ? GlobalLock(memory) : nullptr;
        if (target) {
            std::memcpy(target, dib.data(), dib.size());
            GlobalUnlock(memory);
        }
        ok = target && SetClipboardData(CF_DIB, memory);
        if (!ok && memory) GlobalFree(memory);
    }
    CloseClipboard();
    return ok;
}

}  // namespace

bool LoadDib(const std::string& path, std::vector<char>& dib) {
    std::vector<char> file;
    return ReadFile(path, file) && PackedDib(file, dib);
}

// One line per format on the clipboard: a registered format's name, else its
// number; "=N" after a format that holds a DWORD.
int CmdClipFormats(const Args& args) {
    if (!args.empty()) return Usage();
    if (!OpenClipboardPatiently(nullptr)) return Fail("OpenClipboard");
    for (UINT format = EnumClipboardFormats(0); format; format = EnumClipboardFormats(format)) {
        char name[256];
        const int n = GetClipboardFormatNameA(format, name, sizeof name);
        std::string line = n > 0 ? std::string(name, n) : std::to_string(format);
        HANDLE h = n > 0 ? GetClipboardData(format) : nullptr;
        if (h && GlobalSize(h) == sizeof(DWORD)) {
            if (const void* p = GlobalLock(h)) {
                DWORD value = 0;
                std::memcpy(&value, p, sizeof value);
                GlobalUnlock(h);
                line += "=" + std::to_string(value);
            }
        }
        Out(line);
    }
    CloseClipboard();
    return kOk;
}

int CmdClipPut(const Args& args) {
    if (args.size() != 1) return Usage();
    std::vector<char> dib;
    if (!LoadDib(args[0], dib)) return Fail("not a 24/32-bit BMP: " + args[0]);
    return PutDib(dib, false, nullptr) ? kOk : Fail("clipboard write");
}

// Writes the clipboard's bitmap as a bottom-up 24-bit BMP, whichever bitmap
// format it was put there in (the system converts between them).
int CmdClipDump(const Args& args) {
    if (args.size() != 1) return Usage();
    if (!OpenClipboardPatiently(nullptr)) return Fail("OpenClipboard");
    HBITMAP bitmap = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP));
    BITMAP bm{};
    if (!bitmap || !GetObjectW(bitmap, sizeof bm, &bm)) {
        CloseClipboard();
        return kNotFound;
    }
    BITMAPINFOHEADER ih{};
    ih.biSize = sizeof ih;
    ih.biWidth = bm.bmWidth;
    ih.biHeight = bm.bmHeight;
    ih.biPlanes = 1;
    ih.biBitCount = 24;
    ih.biCompression = BI_RGB;
    const size_t stride = ((static_cast<size_t>(bm.bmWidth) * 24 + 31) / 32) * 4;
    std::vector<char> pixels(stride * static_cast<size_t>(bm.bmHeight));
    HDC screen = GetDC(nullptr);
    const int lines =
        screen ? GetDIBits(screen, bitmap, 0, static_cast<UINT>(bm.bmHeight), pixels.data(),
                           reinterpret_cast<BITMAPINFO*>(&ih), DIB_RGB_COLORS)
               : 0;
    if (screen) ReleaseDC(nullptr, screen);
    CloseClipboard();
    if (lines != bm.bmHeight) return Fail("GetDIBits");
    BITMAPFILEHEADER fh{};
    fh.bfType = 0x4D42;
    fh.bfOffBits = sizeof fh + sizeof ih;
    fh.bfSize = static_cast<DWORD>(fh.bfOffBits + pixels.size());
    std::ofstream out(Wide(args[0]).c_str(), std::ios::binary);
    out.write(reinterpret_cast<const char*>(&fh), sizeof fh);
    out.write(reinterpret_cast<const char*>(&ih), sizeof ih);
    out.write(pixels.data(), static_cast<std::streamsize>(pixels.size()));
    out.close();
    return out ? kOk : Fail("cannot write " + args[0]);
}

// Wine's Print Screen key copies nothing. This process takes the key (and
// Alt+Print Screen) as hot keys and does what Windows would: the "screen" is
// a known bitmap, the "active window" another one, put as a device bitmap as
// Windows does (with --dib as a DIB: Wine 8 keeps two frames in every process
// that reads another's new device bitmap, which a long run must not count as
// the program's). Runs until the stop file appears.
int CmdSnapshotKey(const Args& args) {
    const Options o = Parse(args, {"dib"});
    const std::string ready = o.Get("ready"), stop = o.Get("stop");
    if (o.positional.size() != 1 || ready.empty() || stop.empty()) return Usage();
    std::vector<char> screen, active;
    if (!LoadDib(o.positional[0], screen)) return Fail("not a 24/32-bit BMP: " + o.positional[0]);
    if (!LoadDib(o.Get("alt", o.positional[0]), active))
        return Fail("not a 24/32-bit BMP: " + o.Get("alt"));
    HWND window = CreateWindowExW(0, L"STATIC", L"orvdrive snapshot", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                  nullptr, nullptr, nullptr);
    if (!window) return Fail("CreateWindow");
    if (!RegisterHotKey(window, 1, 0, VK_SNAPSHOT) ||
        !RegisterHotKey(window, 2, MOD_ALT, VK_SNAPSHOT))
        return Fail("RegisterHotKey");
    if (!Touch(ready)) return Fail("cannot create " + ready);
    // The screen's device bitmap is made before the key comes, as Windows
    // copies the screen in a few milliseconds where converting a 4K file
    // here takes a good part of a second.
    const bool ddb = !o.Has("dib");
    HBITMAP next = ddb ? DeviceBitmap(screen) : nullptr;
    int result = kOk;
    while (!FileExists(stop)) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message != WM_HOTKEY) {
                DispatchMessageW(&msg);
                continue;
            }
            const bool whole = msg.wParam != 2;
            const DWORD began = GetTickCount();
            const bool ok = PutDib(whole ? screen : active, ddb, window, whole ? next : nullptr);
            const DWORD took = GetTickCount() - began;
            if (whole && ddb) next = DeviceBitmap(screen);
            Out((ok ? (whole ? "copied screen" : "copied window") : "copy failed") +
                std::string(" in ") + std::to_string(took) + " ms");
            if (!ok) result = kFailed;
        }
    }
    if (next) DeleteObject(next);
    UnregisterHotKey(window, 1);
    UnregisterHotKey(window, 2);
    DestroyWindow(window);
    return result;
}

}  // namespace drive
