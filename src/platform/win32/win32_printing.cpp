#include "platform/win32/win32_printing.h"

#include <winspool.h>

#include <cmath>
#include <cstring>
#include <cwchar>

#include "platform/error.h"
#include "platform/win32/win32_util.h"

namespace orv::win32 {
namespace {

constexpr double kTwipsPerInch = 1440;

Error SystemError(DWORD code) {
    if (code == 0) return err::PrinterError();
    char text[512] = {};
    DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                             code, 0, text, sizeof text, nullptr);
    std::string description(text, n);
    while (!description.empty() &&
           (description.back() == '\r' || description.back() == '\n' || description.back() == ' '))
        description.pop_back();
    if (description.empty()) description = "Printer error";
    return Error(static_cast<long>(code), description);
}

Error LastError() {
    return SystemError(GetLastError());
}

Error NoPrinter() {
    return Error(484,
                 "Problem getting printer information from the system. Make sure the printer is "
                 "set up correctly.");
}

Error InvalidProperty() {
    return Error(380, "Invalid property value");
}

class PrinterHandle {
  public:
    explicit PrinterHandle(const std::string& name) {
        std::wstring wide = Wide(name);
        if (!OpenPrinterW(wide.data(), &handle_, nullptr)) throw LastError();
    }
    ~PrinterHandle() { ClosePrinter(handle_); }
    PrinterHandle(const PrinterHandle&) = delete;
    PrinterHandle& operator=(const PrinterHandle&) = delete;
    HANDLE get() const { return handle_; }

  private:
    HANDLE handle_ = nullptr;
};

std::string DefaultPrinter() {
    DWORD size = 0;
    if (GetDefaultPrinterW(nullptr, &size) || GetLastError() != ERROR_INSUFFICIENT_BUFFER)
        return {};  // no default printer
    std::wstring name(size, L'\0');
    if (!GetDefaultPrinterW(name.data(), &size)) return {};
    return Utf8(name.c_str(), std::wcslen(name.c_str()));
}

}  // namespace

Win32Printing::Win32Printing() : current_(DefaultPrinter()) {}

Win32Printing::~Win32Printing() {
    try {
        Release();
    } catch (...) {  // a destructor cannot report: the handles are gone either way
    }
}

std::vector<std::string> Win32Printing::InstalledPrinters() {
    const DWORD flags = PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS;
    std::vector<BYTE> buffer;
    DWORD needed = 0, count = 0;
    // The list can grow between the size query and the read; try again then.
    for (int attempt = 0;; ++attempt) {
        if (EnumPrintersW(flags, nullptr, 4, buffer.empty() ? nullptr : buffer.data(),
                          static_cast<DWORD>(buffer.size()), &needed, &count))
            break;
        DWORD code = GetLastError();
        if (code != ERROR_INSUFFICIENT_BUFFER || attempt == 4) throw SystemError(code);
        buffer.resize(needed);
    }
    std::vector<std::string> names;
    const auto* info = reinterpret_cast<const PRINTER_INFO_4W*>(buffer.data());
    for (DWORD i = 0; i < count; ++i)
        names.push_back(info[i].pPrinterName ? Utf8(std::wstring(info[i].pPrinterName))
                                             : std::string());
    return names;
}

std::string Win32Printing::CurrentPrinter() {
    if (current_.empty()) current_ = DefaultPrinter();  // none was set up at start
    return current_;
}

void Win32Printing::SelectPrinter(const std::string& deviceName) {
    if (deviceName == current_) return;
    Release();
    current_ = deviceName;
}

void Win32Printing::SelectDefaultPrinter() {
    // The system moves the default with the user's location: read it now.
    std::string name = DefaultPrinter();
    if (name == current_) return;
    Release();
    current_ = name;
}

bool Win32Printing::OutputAsksForFile() {
    PrinterHandle printer(CurrentPrinter());
    DWORD needed = 0;
    if (GetPrinterW(printer.get(), 5, nullptr, 0, &needed) ||
        GetLastError() != ERROR_INSUFFICIENT_BUFFER)
        throw LastError();
    std::vector<BYTE> buffer(needed);
    if (!GetPrinterW(printer.get(), 5, buffer.data(), needed, &needed)) throw LastError();
    const auto* info = reinterpret_cast<const PRINTER_INFO_5W*>(buffer.data());
    if (!info->pPortName) return false;
    // Ports may be listed together, comma-separated; any asking one asks.
    std::wstring ports = std::wstring(info->pPortName) + L",";
    for (std::size_t start = 0, comma; (comma = ports.find(L',', start)) != std::wstring::npos;
         start = comma + 1) {
        std::wstring port = ports.substr(start, comma - start);
        while (!port.empty() && port.front() == L' ') port.erase(0, 1);
        if (_wcsicmp(port.c_str(), L"PORTPROMPT:") == 0 || _wcsicmp(port.c_str(), L"FILE:") == 0)
            return true;
    }
    return false;
}

std::vector<BYTE> Win32Printing::DevMode() {
    PrinterHandle printer(current_);
    std::wstring wide = Wide(current_);
    wchar_t* name = wide.data();
    LONG size = DocumentPropertiesW(nullptr, printer.get(), name, nullptr, nullptr, 0);
    if (size <= 0) throw LastError();
    std::vector<BYTE> buffer(static_cast<std::size_t>(size));
    auto* mode = reinterpret_cast<DEVMODEW*>(buffer.data());
    if (DocumentPropertiesW(nullptr, printer.get(), name, mode, nullptr, DM_OUT_BUFFER) != IDOK)
        throw LastError();
    if (orientation_ != 0) {
        mode->dmFields |= DM_ORIENTATION;
        mode->dmOrientation = orientation_;
        if (DocumentPropertiesW(nullptr, printer.get(), name, mode, mode,
                                DM_IN_BUFFER | DM_OUT_BUFFER) != IDOK)
            throw LastError();
        if (mode->dmOrientation != orientation_) throw InvalidProperty();  // the driver refused
    }
    return buffer;
}

HDC Win32Printing::Dc() {
    if (dc_) return dc_;
    if (CurrentPrinter().empty()) throw NoPrinter();
    std::vector<BYTE> mode = DevMode();
    HDC dc = CreateDCW(L"WINSPOOL", Wide(current_).c_str(), nullptr,
                       reinterpret_cast<const DEVMODEW*>(mode.data()));
    if (!dc) throw LastError();
    int lx = GetDeviceCaps(dc, LOGPIXELSX), ly = GetDeviceCaps(dc, LOGPIXELSY);
    if (lx <= 0 || ly <= 0) {
        DeleteDC(dc);
        throw NoPrinter();
    }
    dc_ = dc;
    logPixelsX_ = lx, logPixelsY_ = ly;
    try {
        ApplyFont();
        ApplyBackColor();
    } catch (...) {
        Release();
        throw;
    }
    return dc_;
}

void Win32Printing::ApplyFont() {
    if (!dc_) return;
    int height = -static_cast<int>(std::lround(fontSize_ * logPixelsY_ / 72.0));
    if (height == 0) height = -1;  // 0 would ask for the default size
    HFONT font = CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                             OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                             DEFAULT_PITCH | FF_DONTCARE, Wide(fontFace_).c_str());
    if (!font) throw LastError();
    HGDIOBJ previous = SelectObject(dc_, font);
    if (!previous || previous == HGDI_ERROR) {
        DeleteObject(font);
        throw LastError();
    }
    if (font_)
        DeleteObject(font_);
    else
        originalFont_ = previous;
    font_ = font;
}

// The colour goes behind the text (opaque background), not into it: on white
// paper the text keeps the printer's ordinary text colour.
void Win32Printing::ApplyBackColor() {
    if (!dc_ || !backColorSet_) return;
    if (SetBkColor(dc_, backColor_) == CLR_INVALID) throw LastError();
    if (!SetBkMode(dc_, OPAQUE)) throw LastError();
}

void Win32Printing::SetBackColor(uint32_t colorRef) {
    backColor_ = colorRef & 0xFFFFFF;
    backColorSet_ = true;
    Dc();
    ApplyBackColor();
}

void Win32Printing::SetOrientation(int16_t orientation) {
    if (orientation != DMORIENT_PORTRAIT && orientation != DMORIENT_LANDSCAPE)
        throw InvalidProperty();
    if (docStarted_) throw Error(396, "Property cannot be set within a page");
    if (orientation == orientation_ && dc_) return;
    Release();
    int16_t previous = orientation_;
    orientation_ = orientation;
    try {
        Dc();
    } catch (...) {
        orientation_ = previous;
        throw;
    }
}

void Win32Printing::SetFontName(const std::string& face) {
    fontFace_ = face;
    Dc();
    ApplyFont();
}

void Win32Printing::SetFontSize(double points) {
    if (!(points > 0 && points <= 2160)) throw InvalidProperty();
    fontSize_ = points;
    Dc();
    ApplyFont();
}

float Win32Printing::ScaleWidth() {
    int pixels = GetDeviceCaps(Dc(), HORZRES);
    if (pixels <= 0) throw NoPrinter();
    return static_cast<float>(pixels * kTwipsPerInch / logPixelsX_);
}

float Win32Printing::ScaleHeight() {
    int pixels = GetDeviceCaps(Dc(), VERTRES);
    if (pixels <= 0) throw NoPrinter();
    return static_cast<float>(pixels * kTwipsPerInch / logPixelsY_);
}

float Win32Printing::TextHeight(const std::string&) {
    TEXTMETRICW metrics{};
    if (!GetTextMetricsW(Dc(), &metrics)) throw LastError();
    return static_cast<float>((metrics.tmHeight + metrics.tmExternalLeading) * kTwipsPerInch /
                              logPixelsY_);
}

int Win32Printing::DeviceX(float twips) const {
    return static_cast<int>(std::lround(double(twips) * logPixelsX_ / kTwipsPerInch));
}

int Win32Printing::DeviceY(float twips) const {
    return static_cast<int>(std::lround(double(twips) * logPixelsY_ / kTwipsPerInch));
}

void Win32Printing::StartOutput() {
    Dc();
    if (docStarted_) return;
    DOCINFOW doc{};
    doc.cbSize = sizeof doc;
    doc.lpszDocName = L"Orvanex";
    if (StartDocW(dc_, &doc) <= 0) throw LastError();
    if (StartPage(dc_) <= 0) {
        Error e = LastError();
        AbortDoc(dc_);
        throw e;
    }
    docStarted_ = true;
    // Some drivers reset the DC's attributes on a new page.
    ApplyFont();
    ApplyBackColor();
}

void Win32Printing::PrintLine(float x, float y, const std::string& text) {
    StartOutput();
    if (SetTextAlign(dc_, TA_LEFT | TA_TOP | TA_NOUPDATECP) == GDI_ERROR) throw LastError();
    if (text.empty()) return;
    // Tabs from "[tab]" stop at the font's default tab positions. GDI's A calls
    // read the system's code page, not the process's: the W call prints any script.
    const std::wstring wide = Wide(text);
    if (TabbedTextOutW(dc_, DeviceX(x), DeviceY(y), wide.c_str(), static_cast<int>(wide.size()), 0,
                       nullptr, DeviceX(x)) == 0)
        throw LastError();
}

void Win32Printing::PaintPicture(const Image& picture, float x, float y, float width, float height,
                                 uint32_t rasterOp) {
    StartOutput();
    if (picture.empty()) throw Error(481, "Invalid picture");
    int left = DeviceX(x), top = DeviceY(y);
    int w = DeviceX(x + width) - left, h = DeviceY(y + height) - top;
    if (w <= 0 || h <= 0) return;  // smaller than one printer dot
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = picture.width;
    info.bmiHeader.biHeight = -picture.height;  // rows top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;  // 0x00RRGGBB is B, G, R, 0 in memory
    info.bmiHeader.biCompression = BI_RGB;
    if (!SetStretchBltMode(dc_, HALFTONE)) throw LastError();
    if (!SetBrushOrgEx(dc_, 0, 0, nullptr)) throw LastError();
    int lines = StretchDIBits(dc_, left, top, w, h, 0, 0, picture.width, picture.height,
                              picture.pixels.data(), &info, DIB_RGB_COLORS, rasterOp);
    if (lines == 0 || lines == static_cast<int>(GDI_ERROR)) throw LastError();
}

void Win32Printing::EndDoc() {
    if (!docStarted_) {
        Release();  // nothing was printed
        return;
    }
    if (::EndPage(dc_) <= 0 || ::EndDoc(dc_) <= 0) {
        Error e = LastError();
        Release();
        throw e;
    }
    docStarted_ = false;
    Release();
}

void Win32Printing::Release() {
    if (!dc_) return;
    if (docStarted_) AbortDoc(dc_);
    docStarted_ = false;
    if (font_) {
        if (originalFont_) SelectObject(dc_, originalFont_);
        DeleteObject(font_);
    }
    font_ = nullptr;
    originalFont_ = nullptr;
    DeleteDC(dc_);
    dc_ = nullptr;
}

}  // namespace orv::win32
