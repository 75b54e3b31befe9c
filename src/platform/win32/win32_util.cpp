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

std::wstring Widen(const std::string& text) {
    if (text.empty()) return {};
    const int size = static_cast<int>(text.size());
    UINT codePage = CP_UTF8;
    int wide = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, text.data(), size, nullptr, 0);
    if (wide == 0) {
        codePage = CP_ACP;
        wide = MultiByteToWideChar(codePage, 0, text.data(), size, nullptr, 0);
        if (wide == 0) throw LastError("Converting a name");
    }
    std::wstring out(static_cast<std::size_t>(wide), L'\0');
    if (MultiByteToWideChar(codePage, 0, text.data(), size, out.data(), wide) != wide)
        throw LastError("Converting a name");
    return out;
}

std::string Narrow(const std::wstring& text) {
    if (text.empty()) return {};
    const int size = static_cast<int>(text.size());
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
    if (bytes == 0) throw LastError("Converting a name");
    std::string out(static_cast<std::size_t>(bytes), '\0');
    if (WideCharToMultiByte(CP_UTF8, 0, text.data(), size, out.data(), bytes, nullptr, nullptr) != bytes)
        throw LastError("Converting a name");
    return out;
}

}  // namespace orv::win32
