// A file printer: Wine's PostScript driver with a small PPD, its port mapped
// to a file by the caller (HKCU\Software\Wine\Printing\Spooler).
#include "drive.h"
// after windows.h, which drive.h brings
#include <winspool.h>

namespace drive {

int CmdInstallPrinter(const Args& args) {
    if (args.size() != 3) return Usage("install-printer NAME PPD-FILE-NAME PORT");
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

}  // namespace drive

namespace drive {

// Prints one page with a line of text on the default printer, through plain
// GDI as the program does.
int CmdPrintTest(const Args& args) {
    if (args.size() != 1) return Usage("print-test TEXT");
    char name[512];
    DWORD size = sizeof name;
    if (!GetDefaultPrinterA(name, &size)) return Fail("GetDefaultPrinter");
    HDC dc = CreateDCA("WINSPOOL", name, nullptr, nullptr);
    if (!dc) return Fail(std::string("CreateDC ") + name);
    DOCINFOA doc{};
    doc.cbSize = sizeof doc;
    doc.lpszDocName = "orvdrive";
    bool ok = StartDocA(dc, &doc) > 0;
    ok = ok && StartPage(dc) > 0;
    ok = ok && TextOutA(dc, 300, 300, args[0].c_str(), static_cast<int>(args[0].size()));
    ok = ok && EndPage(dc) > 0;
    ok = ok && EndDoc(dc) > 0;
    if (!ok) {
        AbortDoc(dc);
        DeleteDC(dc);
        return Fail("printing");
    }
    DeleteDC(dc);
    return kOk;
}

}  // namespace drive
