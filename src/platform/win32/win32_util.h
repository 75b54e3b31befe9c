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

}  // namespace orv::win32
