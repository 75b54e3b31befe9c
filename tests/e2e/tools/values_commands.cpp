// Several registry values in one call: each start of a Windows process costs
// a noticeable share of a test's time.
#include "drive.h"

namespace drive {

// values KEY NAME TEXT [NAME TEXT ...]: writes each as REG_SZ, creating the key.
int CmdValues(const Args& args) {
    const char* usage = "values KEY NAME TEXT [NAME TEXT ...] (HKLM\\... or HKCU\\...)";
    if (args.size() < 3 || args.size() % 2 != 1) return Usage(usage);
    const std::string& path = args[0];
    const size_t slash = path.find('\\');
    const std::string head = path.substr(0, slash);
    HKEY root = head == "HKLM" ? HKEY_LOCAL_MACHINE : head == "HKCU" ? HKEY_CURRENT_USER : nullptr;
    if (!root || slash == std::string::npos) return Usage(usage);
    HKEY key = nullptr;
    LONG status = RegCreateKeyExA(root, path.substr(slash + 1).c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                                  &key, nullptr);
    if (status != ERROR_SUCCESS) {
        SetLastError(static_cast<DWORD>(status));
        return Fail("RegCreateKeyEx " + path);
    }
    for (size_t i = 1; i < args.size() && status == ERROR_SUCCESS; i += 2) {
        status = RegSetValueExA(key, args[i].c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(args[i + 1].c_str()),
                                static_cast<DWORD>(args[i + 1].size() + 1));
        if (status != ERROR_SUCCESS) {
            RegCloseKey(key);
            SetLastError(static_cast<DWORD>(status));
            return Fail("RegSetValueEx " + args[i]);
        }
    }
    RegCloseKey(key);
    return kOk;
}

}  // namespace drive
