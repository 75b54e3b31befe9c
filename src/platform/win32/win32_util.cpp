#include "platform/win32/win32_util.h"

namespace orv::win32 {

std::string SystemMessage(DWORD code) {
    char* buf = nullptr;
    DWORD n = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                 FORMAT_MESSAGE_IGNORE_INSERTS,
                             nullptr, code, 0, reinterpret_cast<LPSTR>(&buf), 0, nullptr);
    std::string text = n && buf ? std::string(buf, n) : "System error " + std::to_string(code);
    if (buf) LocalFree(buf);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' '))
        text.pop_back();
    return text;
}

Error LastError(const char* what) {
    DWORD code = GetLastError();
    return Error(static_cast<long>(code), std::string(what) + ": " + SystemMessage(code));
}

HINSTANCE Instance() { return GetModuleHandleA(nullptr); }

}  // namespace orv::win32
