#pragma once
// Shared helpers of the Win32 backend.
#include <windows.h>

#include <string>

#include "platform/error.h"

namespace orv::win32 {

// The system's text for an error code, without the trailing line break.
std::string SystemMessage(DWORD code);
// The calling thread's last error as the program's error: the code and the
// system's text for it, which is what the user's box shows. The failing
// call's name is for whoever reads the code; the user cannot act on it.
Error LastError(const char* call);
[[noreturn]] inline void ThrowLastError(const char* call) {
    throw LastError(call);
}
HINSTANCE Instance();
// The program's texts are UTF-8. The manifest makes that the process's code
// page, so most A calls take them as they are; the calls that ignore the
// process's code page (registry data, GDI text, common dialogs, locale data)
// go through the W functions with these. Throws on malformed input.
std::wstring Wide(const std::string& utf8);
std::string Utf8(const wchar_t* text, std::size_t length);
inline std::string Utf8(const std::wstring& text) {
    return Utf8(text.data(), text.size());
}
// A window's text as UTF-8: what the copy holds, since the length the system
// reports first may be larger than the text.
std::string WindowText(HWND h);

}  // namespace orv::win32
