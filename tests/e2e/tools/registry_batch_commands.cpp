// Several values of one key in one call: a test's stored settings go in
// without a process start per value.
#include "drive.h"

namespace drive {

// reg-put KEY NAME=TEXT...   writes each as REG_SZ, creating the key if missing
int CmdRegPut(const Args& args) {
    const char* usage = "reg-put KEY NAME=TEXT...";
    if (args.size() < 2) return Usage(usage);
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
    int result = kOk;
    for (size_t i = 1; i < args.size() && result == kOk; ++i) {
        const size_t eq = args[i].find('=');
        if (eq == std::string::npos) {
            result = Usage(usage);
            break;
        }
        const std::string name = args[i].substr(0, eq), text = args[i].substr(eq + 1);
        status = RegSetValueExA(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                                static_cast<DWORD>(text.size() + 1));
        if (status != ERROR_SUCCESS) {
            SetLastError(static_cast<DWORD>(status));
            result = Fail("RegSetValueEx " + name);
        }
    }
    RegCloseKey(key);
    return result;
}

}  // namespace drive
