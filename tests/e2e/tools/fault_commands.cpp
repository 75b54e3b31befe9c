// The world around the program going wrong: another process sitting on the
// clipboard, a printer taken away.
#include "drive.h"
// (windows.h comes first, through drive.h)
#include <winspool.h>

#include <cstdlib>

namespace drive {

// clip-hold SECONDS --ready FILE: opens the clipboard, creates FILE, keeps
// the clipboard open that long, then closes it. It opens with a window of its
// own: Wine lets a second opener without a window in while the clipboard is
// open without one.
int CmdClipHold(const Args& args) {
    const Options o = Parse(args, {});
    const std::string ready = o.Get("ready");
    if (o.positional.size() != 1 || ready.empty()) return Usage();
    const double seconds = std::atof(o.positional[0].c_str());
    HWND owner = CreateWindowExA(0, "STATIC", "clip-hold", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                 nullptr, nullptr);
    if (!owner) return Fail("CreateWindowEx");
    if (!WaitFor(5.0, [owner] { return OpenClipboard(owner) != FALSE; }))
        return Fail("OpenClipboard");
    if (!Touch(ready))
        return Fail("cannot create " + ready);  // the process end lets go of the rest
    Sleep(static_cast<DWORD>(seconds * 1000.0));
    if (!CloseClipboard()) return Fail("CloseClipboard");
    if (!DestroyWindow(owner)) return Fail("DestroyWindow");
    return kOk;
}

// delete-printer NAME
int CmdDeletePrinter(const Args& args) {
    if (args.size() != 1) return Usage();
    PRINTER_DEFAULTSA access{nullptr, nullptr, PRINTER_ALL_ACCESS};
    HANDLE printer = nullptr;
    if (!OpenPrinterA(const_cast<LPSTR>(args[0].c_str()), &printer, &access))
        return Fail("OpenPrinter");
    const bool deleted = DeletePrinter(printer) != FALSE;
    const bool closed = ClosePrinter(printer) != FALSE;
    if (!deleted) return Fail("DeletePrinter");
    if (!closed) return Fail("ClosePrinter");
    return kOk;
}

}  // namespace drive
