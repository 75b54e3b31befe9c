#include "platform/win32/win32_registry.h"

#include <windows.h>

#include <vector>

#include "platform/win32/win32_util.h"

namespace orv::win32 {
namespace {

HKEY Root(platform::RegRoot root) {
    return root == platform::RegRoot::LocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
}

// Key paths are written with a trailing separator; the registry wants none.
std::string KeyPath(const std::string& path) {
    std::string p = path;
    while (!p.empty() && p.back() == '\\') p.pop_back();
    return p;
}

long CreateKey(platform::RegRoot root, const std::string& path, HKEY* key) {
    DWORD disposition = 0;
    return RegCreateKeyExW(Root(root), Wide(KeyPath(path)).c_str(), 0, const_cast<wchar_t*>(L""),
                           REG_OPTION_NON_VOLATILE, 0x3F, nullptr, key, &disposition);
}

bool IsText(DWORD type) {
    return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ;
}

}  // namespace

// The W calls, whatever code page Windows would give the A ones: texts come
// back as UTF-8, and the buffer's size counts their UTF-16 units, terminator included.
platform::RegQueryResult Win32Registry::QueryValue(platform::RegRoot root, const std::string& path,
                                                   const std::string& name,
                                                   std::size_t bufferSize) {
    HKEY key = nullptr;
    long status = RegOpenKeyExW(Root(root), Wide(KeyPath(path)).c_str(), 0, KEY_QUERY_VALUE, &key);
    if (status != ERROR_SUCCESS) return {status, {}};
    const std::wstring wideName = Wide(name);
    std::vector<BYTE> buf(256);
    DWORD type = 0;
    for (;;) {
        DWORD size = static_cast<DWORD>(buf.size());
        status = RegQueryValueExW(key, wideName.c_str(), nullptr, &type, buf.data(), &size);
        if (status == ERROR_MORE_DATA) {
            buf.resize(size + 2);  // the value may grow between the two calls
            continue;
        }
        buf.resize(status == ERROR_SUCCESS ? size : 0);
        break;
    }
    RegCloseKey(key);
    if (status != ERROR_SUCCESS) return {status, {}};
    const bool text = IsText(type);
    if ((text ? buf.size() / sizeof(wchar_t) : buf.size()) > bufferSize)
        return {ERROR_MORE_DATA, {}};
    std::string data;
    if (text)
        data = Utf8(reinterpret_cast<const wchar_t*>(buf.data()), buf.size() / sizeof(wchar_t));
    else
        data.assign(buf.begin(), buf.end());
    return {status, data};
}

long Win32Registry::SetValue(platform::RegRoot root, const std::string& path,
                             const std::string& name, const std::string& text) {
    const std::wstring data = Wide(text);
    HKEY key = nullptr;
    long status = CreateKey(root, path, &key);
    if (status != ERROR_SUCCESS) return status;
    status = RegSetValueExW(key, Wide(name).c_str(), 0, REG_SZ,
                            reinterpret_cast<const BYTE*>(data.c_str()),
                            static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
    return status;
}

long Win32Registry::SetDwordValue(platform::RegRoot root, const std::string& path,
                                  const std::string& name, uint32_t value) {
    HKEY key = nullptr;
    long status = CreateKey(root, path, &key);
    if (status != ERROR_SUCCESS) return status;
    DWORD data = value;
    status = RegSetValueExA(key, name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data),
                            sizeof data);
    RegCloseKey(key);
    return status;
}

long Win32Registry::DeleteValue(platform::RegRoot root, const std::string& path,
                                const std::string& name) {
    HKEY key = nullptr;
    long status = CreateKey(root, path, &key);
    if (status != ERROR_SUCCESS) return status;
    status = RegDeleteValueW(key, Wide(name).c_str());
    RegCloseKey(key);
    return status;
}

}  // namespace orv::win32
