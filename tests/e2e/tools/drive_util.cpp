// Parsing, text and window helpers shared by the subcommands.
#include <cstdio>
#include <cstdlib>

#include "drive.h"

namespace drive {

void Out(const std::string& line) {
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

int Fail(const std::string& what) {
    const DWORD code = GetLastError();
    std::fprintf(stderr, "error: %s (system error %lu)\n", what.c_str(),
                 static_cast<unsigned long>(code));
    return kFailed;
}

Options Parse(const Args& args, const std::vector<std::string>& flags) {
    Options options;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a.size() > 2 && a.rfind("--", 0) == 0) {
            const std::string name = a.substr(2);
            bool flag = false;
            for (const auto& f : flags) flag = flag || f == name;
            if (flag || i + 1 >= args.size()) {
                options.named.emplace_back(name, "");
            } else {
                options.named.emplace_back(name, args[++i]);
            }
        } else {
            options.positional.push_back(a);
        }
    }
    return options;
}

bool Options::Has(const std::string& name) const {
    for (const auto& [n, v] : named)
        if (n == name) return true;
    return false;
}

std::string Options::Get(const std::string& name, const std::string& fallback) const {
    for (const auto& [n, v] : named)
        if (n == name) return v;
    return fallback;
}

double Options::Seconds(const std::string& name, double fallback) const {
    const std::string text = Get(name);
    if (text.empty()) return fallback;
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    return (end && *end == '\0' && value >= 0) ? value : fallback;
}

bool ParseNumber(const std::string& text, unsigned long long& value) {
    if (text.empty()) return false;
    char* end = nullptr;
    errno = 0;
    value = std::strtoull(text.c_str(), &end, 0);
    return errno == 0 && end && *end == '\0';
}

bool ParseInts(const Args& args, size_t first, size_t count, std::vector<int>& out) {
    out.clear();
    for (size_t i = first; i < first + count && i < args.size(); ++i) {
        char* end = nullptr;
        const long v = std::strtol(args[i].c_str(), &end, 10);
        if (!end || *end != '\0' || args[i].empty()) return false;
        out.push_back(static_cast<int>(v));
    }
    return out.size() == count;
}

HWND ParseWindow(const std::string& text) {
    unsigned long long value = 0;
    if (!ParseNumber(text, value) || value == 0) return nullptr;
    return reinterpret_cast<HWND>(static_cast<uintptr_t>(value));
}

std::string HandleText(HWND h) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "0x%llX",
                  static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(h)));
    return buffer;
}

std::string Utf8(const std::wstring& text) {
    if (text.empty()) return {};
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                      nullptr, 0, nullptr, nullptr);
    if (n <= 0) return {};
    std::string out(static_cast<size_t>(n), '\0');
    if (WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n,
                            nullptr, nullptr) != n)
        return {};
    return out;
}

std::wstring Wide(const std::string& utf8) {
    if (utf8.empty()) return {};
    const int n =
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    if (n <= 0) return {};
    std::wstring out(static_cast<size_t>(n), L'\0');
    if (MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(),
                            n) != n)
        return {};
    return out;
}

std::string ClassOf(HWND h) {
    wchar_t buffer[256];
    const int n = GetClassNameW(h, buffer, 256);
    return n > 0 ? Utf8(std::wstring(buffer, static_cast<size_t>(n))) : std::string();
}

std::string NameTag(HWND h) {
    const auto atom = static_cast<ATOM>(reinterpret_cast<UINT_PTR>(GetPropW(h, L"Orvanex.Name")));
    wchar_t name[256];
    const UINT n = atom ? GlobalGetAtomNameW(atom, name, 256) : 0;
    return Utf8(std::wstring(name, n));
}

std::string ControlRef(HWND h) {
    const std::string name = NameTag(h);
    return name.empty() ? std::to_string(GetDlgCtrlID(h)) : name;
}

std::string TextOf(HWND h) {
    wchar_t buffer[1024];
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutW(h, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(buffer),
                             SMTO_ABORTIFHUNG, 2000, &copied))
        return {};
    if (copied > 1023) copied = 1023;
    return Utf8(std::wstring(buffer, static_cast<size_t>(copied)));
}

DWORD ProcessOf(HWND h) {
    DWORD pid = 0;
    if (!GetWindowThreadProcessId(h, &pid)) return 0;
    return pid;
}

bool FileExists(const std::string& path) {
    return GetFileAttributesW(Wide(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool Touch(const std::string& path) {
    HANDLE file =
        CreateFileW(Wide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    return file != INVALID_HANDLE_VALUE && CloseHandle(file);
}

std::vector<HWND> Descendants(HWND parent) {
    std::vector<HWND> found;
    EnumChildWindows(
        parent,
        [](HWND c, LPARAM p) -> BOOL {
            reinterpret_cast<std::vector<HWND>*>(p)->push_back(c);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

}  // namespace drive
