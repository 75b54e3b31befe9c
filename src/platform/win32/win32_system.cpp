#include "platform/win32/win32_system.h"

#include <knownfolders.h>
#include <shlobj.h>

#include <vector>

#include "orvanex_version.h"
#include "platform/win32/win32_ui.h"
#include "platform/win32/win32_util.h"

namespace orv::win32 {
namespace {

// From the user's own format (Region settings), which may differ from the
// system's locale and code page.
std::string LocaleText(LCTYPE type) {
    wchar_t buf[128];
    int n = GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, type, buf, 128);
    return n > 1 ? Utf8(buf, static_cast<std::size_t>(n - 1)) : std::string();
}

// The registered owner or organisation of this machine.
std::string Registered(const wchar_t* value) {
    wchar_t buf[256];
    DWORD size = sizeof buf;
    LSTATUS s = RegGetValueW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion",
                             value, RRF_RT_REG_SZ | RRF_SUBKEY_WOW6464KEY, nullptr, buf, &size);
    return s == ERROR_SUCCESS ? Utf8(std::wstring(buf)) : std::string();
}

}  // namespace

Win32System::~Win32System() {
    if (residentMutex_) CloseHandle(residentMutex_);
}

platform::OsVersion Win32System::GetVersion() {
    OSVERSIONINFOA info;
    ZeroMemory(&info, sizeof info);
    info.dwOSVersionInfoSize = sizeof info;  // 148
    FillMemory(info.szCSDVersion, sizeof info.szCSDVersion, ' ');
    platform::OsVersion v;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (!GetVersionExA(&info)) return v;
#pragma GCC diagnostic pop
    v.ok = true;
    v.major = info.dwMajorVersion;
    v.minor = info.dwMinorVersion;
    v.platformId = info.dwPlatformId;
    v.build = info.dwBuildNumber & 0xFFFF;  // the high word is not part of the number on 9x
    return v;
}

bool Win32System::AnotherInstanceRunning() {
    if (residentMutex_) return false;
    HANDLE m = CreateMutexA(nullptr, FALSE, "Orvanex.Resident");
    if (!m) return false;  // cannot tell: better two residents than none
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        CloseHandle(m);
        return true;
    }
    residentMutex_ = m;  // held for the life of the process
    return false;
}

void Win32System::AllowResidentForeground() {
    DWORD pid = 0;
    if (HWND resident = FindWindowA(kContainerClass, nullptr))
        if (!GetWindowThreadProcessId(resident, &pid)) pid = 0;
    // Not found (still starting): let any process take it for this one input.
    // Refused when this process has lost the foreground itself; nothing to do then.
    if (!AllowSetForegroundWindow(pid ? pid : ASFW_ANY)) return;
}

std::string Win32System::ModulePath() {
    std::vector<char> buf(MAX_PATH);
    for (;;) {
        DWORD n = GetModuleFileNameA(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
        if (n == 0) return {};
        if (n < buf.size()) return std::string(buf.data(), n);
        buf.resize(buf.size() * 2);
    }
}

std::string Win32System::AppFolder() {
    std::string p = ModulePath();
    auto slash = p.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : p.substr(0, slash);
}

std::string Win32System::ExeName() {
    std::string p = ModulePath();
    auto slash = p.find_last_of("\\/");
    std::string name = slash == std::string::npos ? p : p.substr(slash + 1);
    auto dot = name.find_last_of('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

int Win32System::VersionMajor() {
    return ORV_VERSION_MAJOR;
}
int Win32System::VersionMinor() {
    return ORV_VERSION_MINOR;
}
std::string Win32System::ProductName() {
    return ORV_PRODUCT_NAME;
}

platform::Point Win32System::CursorPos() {
    POINT p{};
    if (!GetCursorPos(&p)) return {};
    return {p.x, p.y};
}

platform::ScreenRect Win32System::VirtualScreen() {
    // GetSystemMetrics has no error code; a zero size means it failed, and
    // the primary monitor is then the best answer there is.
    platform::ScreenRect r{GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
                           GetSystemMetrics(SM_CXVIRTUALSCREEN),
                           GetSystemMetrics(SM_CYVIRTUALSCREEN)};
    if (r.width <= 0 || r.height <= 0) r = {0, 0, ScreenWidthPixels(), ScreenHeightPixels()};
    return r;
}

char Win32System::DecimalSeparator() {
    std::string s = LocaleText(LOCALE_SDECIMAL);
    return s.empty() ? '.' : s[0];
}

std::string Win32System::UserName() {
    std::string owner = Registered(L"RegisteredOwner");
    if (!owner.empty()) return owner;
    wchar_t buf[257];
    DWORD size = 257;
    return GetUserNameW(buf, &size) ? Utf8(std::wstring(buf)) : std::string();
}

std::string Win32System::UserCompany() {
    std::string org = Registered(L"RegisteredOrganization");
    return org.empty() ? UserName() : org;
}

std::string Win32System::PicturesFolder() {
    PWSTR path = nullptr;
    const HRESULT hr = SHGetKnownFolderPath(FOLDERID_Pictures, KF_FLAG_DEFAULT, nullptr, &path);
    std::string folder;
    try {
        if (SUCCEEDED(hr) && path) folder = Utf8(path);
    } catch (const Error&) {
        folder.clear();  // a name that does not convert is no folder to offer
    }
    CoTaskMemFree(path);
    return folder;
}

std::string Win32System::MonthName(int month, bool abbreviated) {
    if (month < 1 || month > 12) return {};
    LCTYPE first = abbreviated ? LOCALE_SABBREVMONTHNAME1 : LOCALE_SMONTHNAME1;
    return LocaleText(first + static_cast<LCTYPE>(month - 1));
}

double Win32Clock::MonotonicSeconds() {
    static const double frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart);
    }();
    LARGE_INTEGER c;
    QueryPerformanceCounter(&c);
    return static_cast<double>(c.QuadPart) / frequency;
}

platform::DateTime Win32Clock::Now() {
    SYSTEMTIME t;
    GetLocalTime(&t);
    return {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
}

}  // namespace orv::win32
