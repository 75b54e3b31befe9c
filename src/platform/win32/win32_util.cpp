#include "platform/win32/win32_util.h"

#include <algorithm>

namespace orv::win32 {

std::string SystemMessage(DWORD code) {
    char* buf = nullptr;
    DWORD n = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<LPSTR>(&buf), 0, nullptr);
    std::string text = n && buf ? std::string(buf, n) : "System error " + std::to_string(code);
    if (buf) LocalFree(buf);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' '))
        text.pop_back();
    return text;
}

Error LastError(const char*) {
    const DWORD code = GetLastError();
    return Error(static_cast<long>(code), SystemMessage(code));
}

HINSTANCE Instance() {
    return GetModuleHandleA(nullptr);
}

std::wstring Wide(const std::string& utf8) {
    if (utf8.empty()) return {};
    const int size = static_cast<int>(utf8.size());
    int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
    if (n <= 0) throw LastError("MultiByteToWideChar");
    std::wstring out(static_cast<std::size_t>(n), L'\0');
    if (MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, out.data(), n) != n)
        throw LastError("MultiByteToWideChar");
    return out;
}

std::string Utf8(const wchar_t* text, std::size_t length) {
    if (length == 0) return {};
    const int size = static_cast<int>(length);
    int n = WideCharToMultiByte(CP_UTF8, 0, text, size, nullptr, 0, nullptr, nullptr);
    if (n <= 0) throw LastError("WideCharToMultiByte");
    std::string out(static_cast<std::size_t>(n), '\0');
    if (WideCharToMultiByte(CP_UTF8, 0, text, size, out.data(), n, nullptr, nullptr) != n)
        throw LastError("WideCharToMultiByte");
    return out;
}

std::string WindowText(HWND h) {
    const int n = GetWindowTextLengthW(h);
    if (n <= 0) return {};
    std::wstring text(static_cast<std::size_t>(n) + 1, L'\0');
    const int got = GetWindowTextW(h, text.data(), n + 1);
    return Utf8(text.data(), static_cast<std::size_t>(std::max(got, 0)));
}

}  // namespace orv::win32
