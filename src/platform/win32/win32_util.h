#pragma once
// Shared helpers of the Win32 backend.
#include <windows.h>

#include <string>

#include "platform/error.h"

namespace orv::win32 {

// The system's text for an error code, without the trailing line break.
std::string SystemMessage(DWORD code);
// An orv::Error for the calling thread's last error.
Error LastError(const char* what);
HINSTANCE Instance();
// The program's text for a W function: UTF-8, or the ANSI code page for
// text that is not valid UTF-8 (names that came from an A function).
std::wstring Widen(const std::string& text);
// A W function's text as UTF-8.
std::string Narrow(const std::wstring& text);

}  // namespace orv::win32
