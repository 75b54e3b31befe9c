// A file printer: Wine's PostScript driver with a small PPD, its port mapped
// to a file by the caller (HKCU\Software\Wine\Printing\Spooler).
#include "drive.h"
// after windows.h, which drive.h brings
#include <winspool.h>

namespace drive {

int CmdInstallPrinter(const Args& args) {
    if (args.size() != 3) return Usage();
    const std::string driverName = args[0] + " Driver";
    DRIVER_INFO_3A driver{};
    driver.cVersion = 3;
    driver.pName = const_cast<LPSTR>(driverName.c_str());
    driver.pDriverPath = const_cast<LPSTR>("wineps.drv");
    driver.pDataFile = const_cast<LPSTR>(args[1].c_str());
    driver.pConfigFile = const_cast<LPSTR>("wineps.drv");
    if (!AddPrinterDriverA(nullptr, 3, reinterpret_cast<LPBYTE>(&driver)) &&
        GetLastError() != ERROR_PRINTER_DRIVER_ALREADY_INSTALLED)
        return Fail("AddPrinterDriver");
    PRINTER_INFO_2A printer{};
    printer.pPrinterName = const_cast<LPSTR>(args[0].c_str());
    printer.pPortName = const_cast<LPSTR>(args[2].c_str());
    printer.pDriverName = const_cast<LPSTR>(driverName.c_str());
    printer.pPrintProcessor = const_cast<LPSTR>("WinPrint");
    printer.pDatatype = const_cast<LPSTR>("RAW");
    HANDLE handle = AddPrinterA(nullptr, 2, reinterpret_cast<LPBYTE>(&printer));
    if (!handle) {
        if (GetLastError() != ERROR_PRINTER_ALREADY_EXISTS) return Fail("AddPrinter");
    } else if (!ClosePrinter(handle)) {
        return Fail("ClosePrinter");
    }
    if (!SetDefaultPrinterA(args[0].c_str())) return Fail("SetDefaultPrinter");
    return kOk;
}

namespace {

// A device context of the default printer in the given orientation.
HDC PrinterDc(short orientation, std::string& name) {
    char buffer[512];
    DWORD size = sizeof buffer;
    if (!GetDefaultPrinterA(buffer, &size)) return nullptr;
    name = buffer;
    HANDLE printer = nullptr;
    if (!OpenPrinterA(buffer, &printer, nullptr)) return nullptr;
    HDC dc = nullptr;
    const LONG bytes = DocumentPropertiesA(nullptr, printer, buffer, nullptr, nullptr, 0);
    if (bytes > 0) {
        std::vector<BYTE> mode(static_cast<size_t>(bytes));
        auto* dm = reinterpret_cast<DEVMODEA*>(mode.data());
        if (DocumentPropertiesA(nullptr, printer, buffer, dm, nullptr, DM_OUT_BUFFER) == IDOK) {
            dm->dmFields |= DM_ORIENTATION;
            dm->dmOrientation = orientation;
            if (DocumentPropertiesA(nullptr, printer, buffer, dm, dm,
                                    DM_IN_BUFFER | DM_OUT_BUFFER) == IDOK)
                dc = CreateDCA("WINSPOOL", buffer, nullptr, dm);
        }
    }
    ClosePrinter(printer);
    return dc;
}

}  // namespace

// The default printer's page metrics in one orientation and, for each font
// size given, the line height of Arial at that size, all in device dots:
// what a test needs to predict where things land on the page.
int CmdPrinterCaps(const Args& args) {
    if (args.empty() || (args[0] != "portrait" && args[0] != "landscape")) return Usage();
    std::string name;
    HDC dc = PrinterDc(args[0] == "portrait" ? DMORIENT_PORTRAIT : DMORIENT_LANDSCAPE, name);
    if (!dc) return Fail("printer device context");
    // clang-format off
    const std::pair<const char*, int> caps[] = {
        {"HORZRES", HORZRES},        {"VERTRES", VERTRES},          {"LOGPIXELSX", LOGPIXELSX},
        {"LOGPIXELSY", LOGPIXELSY},  {"PHYSICALWIDTH", PHYSICALWIDTH}, {"PHYSICALHEIGHT", PHYSICALHEIGHT},
        {"PHYSICALOFFSETX", PHYSICALOFFSETX}, {"PHYSICALOFFSETY", PHYSICALOFFSETY}};
    Out("printer " + name);
    for (const auto& [label, index] : caps) Out(std::string(label) + " " + std::to_string(GetDeviceCaps(dc, index)));
    const int dpiY = GetDeviceCaps(dc, LOGPIXELSY);
    int result = kOk;
    for (size_t i = 1; i < args.size(); ++i) {
        unsigned long long points = 0;
        if (!ParseNumber(args[i], points)) {
            result = Usage();
            break;
        }
        HFONT font = CreateFontA(-MulDiv(static_cast<int>(points), dpiY, 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                                 DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                 DEFAULT_PITCH | FF_DONTCARE, "Arial");
        HGDIOBJ old = font ? SelectObject(dc, font) : nullptr;
        TEXTMETRICA tm{};
        const bool ok = old && GetTextMetricsA(dc, &tm);
        if (old) SelectObject(dc, old);
        if (font) DeleteObject(font);
        if (!ok) {
            result = Fail("text metrics");
            break;
        }
        Out("ARIAL " + args[i] + " height " + std::to_string(tm.tmHeight) + " external " +
            std::to_string(tm.tmExternalLeading) + " ascent " + std::to_string(tm.tmAscent));
    }
    // clang-format on
    DeleteDC(dc);
    return result;
}

}  // namespace drive
