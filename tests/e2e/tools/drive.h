#pragma once
// Shared helpers of orvdrive's subcommands.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace drive {

using Args = std::vector<std::string>;

// Exit codes: 0 done, 1 the awaited condition did not come, 2 bad usage or a
// system call failed.
constexpr int kOk = 0;
constexpr int kNotFound = 1;
constexpr int kFailed = 2;
constexpr int kBadUsage = -1;  // shown as the command's usage line and kFailed

// Prints to stdout / stderr as UTF-8 lines.
void Out(const std::string& line);
int Fail(const std::string& what);  // prints "error: what" plus GetLastError, returns kFailed
inline int Usage() {
    return kBadUsage;
}

// Options are "--name value" pairs anywhere among the arguments; what is
// left are the positional arguments.
struct Options {
    Args positional;
    std::vector<std::pair<std::string, std::string>> named;
    bool Has(const std::string& name) const;
    std::string Get(const std::string& name, const std::string& fallback = "") const;
    double Seconds(const std::string& name, double fallback) const;
};
// Flags take no value; every other option consumes the following argument.
Options Parse(const Args& args, const std::vector<std::string>& flags);

bool ParseNumber(const std::string& text, unsigned long long& value);
// count signed decimal numbers from args[first] on.
bool ParseInts(const Args& args, size_t first, size_t count, std::vector<int>& out);
HWND ParseWindow(const std::string& text);  // nullptr when not a number
std::string HandleText(HWND h);

std::string Utf8(const std::wstring& text);
std::wstring Wide(const std::string& utf8);
std::string ClassOf(HWND h);
// Another process's window text needs WM_GETTEXT; a hung owner gives "".
std::string TextOf(HWND h);
// The name the program gave a control ("cmdOK", "obOrientation(1)"); empty when untagged.
std::string NameTag(HWND h);
std::string ControlRef(HWND h);              // the name tag, or the control id where there is none
std::vector<HWND> Descendants(HWND parent);  // every child, nested ones included
DWORD ProcessOf(HWND h);

// Polls `probe` every 10 ms until it returns true or `seconds` pass.
template <class Probe>
bool WaitFor(double seconds, Probe probe) {
    const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(seconds * 1000.0);
    for (;;) {
        if (probe()) return true;
        if (GetTickCount64() >= deadline) return false;
        Sleep(10);
    }
}

bool FileExists(const std::string& path);
bool Touch(const std::string& path);  // creates an empty file: the sign that a helper is ready

// The packed DIB (header, then pixels) of an uncompressed 24/32-bit BMP file.
bool LoadDib(const std::string& path, std::vector<char>& dib);

// Subcommands, one per file group.
int CmdFindWindow(const Args& args);
int CmdWaitGone(const Args& args);
int CmdWindows(const Args& args);
int CmdWatchWindows(const Args& args);
int CmdPost(const Args& args);
int CmdEndSession(const Args& args);
int CmdKeys(const Args& args);
int CmdKeyWindow(const Args& args);
int CmdClipPut(const Args& args);
int CmdClipDump(const Args& args);
int CmdClipFormats(const Args& args);
int CmdSnapshotKey(const Args& args);
int CmdMsgBox(const Args& args);
int CmdPress(const Args& args);
int CmdInstallPrinter(const Args& args);
int CmdTray(const Args& args);
int CmdReg(const Args& args);
int CmdPrinterCaps(const Args& args);
int CmdSetText(const Args& args);
int CmdLaunch(const Args& args);
int CmdDialog(const Args& args);
int CmdDrag(const Args& args);
int CmdDragPaint(const Args& args);
int CmdRightClick(const Args& args);
int CmdPickMenu(const Args& args);
int CmdControls(const Args& args);
int CmdHold(const Args& args);
int CmdNote(const Args& args);
int CmdCursor(const Args& args);
int CmdProcessStats(const Args& args);
int CmdClipHold(const Args& args);
int CmdDeletePrinter(const Args& args);

}  // namespace drive
