#include "platform/win32/win32_registry.h"

#include <windows.h>

#include <vector>

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
    return RegCreateKeyExA(Root(root), KeyPath(path).c_str(), 0, const_cast<char*>(""),
                           REG_OPTION_NON_VOLATILE, 0x3F, nullptr, key, &disposition);
}

}  // namespace

platform::RegQueryResult Win32Registry::QueryValue(platform::RegRoot root, const std::string& path,
                                                   const std::string& name,
                                                   std::size_t bufferSize) {
    HKEY key = nullptr;
    long status = RegOpenKeyExA(Root(root), KeyPath(path).c_str(), 0, KEY_QUERY_VALUE, &key);
    if (status != ERROR_SUCCESS) return {status, {}};
    std::vector<char> buf(bufferSize);
    DWORD size = static_cast<DWORD>(bufferSize);
    DWORD type = 0;
    status = RegQueryValueExA(key, name.c_str(), nullptr, &type,
                              reinterpret_cast<BYTE*>(buf.data()), &size);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS) return {status, {}};
    return {status, std::string(buf.data(), size)};
}

long Win32Registry::SetValue(platform::RegRoot root, const std::string& path,
                             const std::string& name, const std::string& text) {
    HKEY key = nullptr;
    long status = CreateKey(root, path, &key);
    if (status != ERROR_SUCCESS) return status;
    status = RegSetValueExA(key, name.c_str(), 0, REG_SZ,
                            reinterpret_cast<const BYTE*>(text.c_str()),
                            static_cast<DWORD>(text.size() + 1));
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
    status = RegDeleteValueA(key, name.c_str());
    RegCloseKey(key);
    return status;
}

}  // namespace orv::win32
