// Exact registry access for the tests: values are shown byte for byte, which
// `reg query` does not do for blanks.
#include "drive.h"

namespace drive {
namespace {

bool SplitKey(const std::string& path, HKEY& root, std::string& sub) {
    const size_t slash = path.find('\\');
    const std::string head = path.substr(0, slash);
    sub = slash == std::string::npos ? std::string() : path.substr(slash + 1);
    if (head == "HKLM" || head == "HKEY_LOCAL_MACHINE") {
        root = HKEY_LOCAL_MACHINE;
    } else if (head == "HKCU" || head == "HKEY_CURRENT_USER") {
        root = HKEY_CURRENT_USER;
    } else {
        return false;
    }
    return true;
}

const char* TypeName(DWORD type) {
    switch (type) {
        case REG_SZ:
            return "REG_SZ";
        case REG_EXPAND_SZ:
            return "REG_EXPAND_SZ";
        case REG_DWORD:
            return "REG_DWORD";
        case REG_BINARY:
            return "REG_BINARY";
        default:
            return "REG_OTHER";
    }
}

// Text values as UTF-8, whatever this process's code page.
std::string ValueText(DWORD type, const std::vector<char>& data, DWORD size) {
    std::string text(data.data(), size);
    if (type == REG_SZ || type == REG_EXPAND_SZ) {
        std::wstring wide(size / sizeof(wchar_t), L'\0');
        std::memcpy(wide.data(), data.data(), wide.size() * sizeof(wchar_t));
        if (!wide.empty() && wide.back() == L'\0') wide.pop_back();
        text = Utf8(wide);
    }
    if (type == REG_DWORD && size == 4) {
        DWORD value = 0;
        std::memcpy(&value, data.data(), 4);
        text = std::to_string(value);
    }
    return std::string(TypeName(type)) + ":" + text;
}

}  // namespace

// reg set KEY NAME DATA [NAME DATA...]  writes REG_SZ values
// reg dword KEY NAME N  writes one REG_DWORD value
// reg delete KEY [KEY...]  removes each key and everything below it; missing is fine
// reg unset KEY NAME    removes one value; missing is fine
// reg list KEY          prints "NAME=TYPE:data" per value; 1 when the key is missing
int CmdReg(const Args& args) {
    HKEY root = nullptr;
    std::string sub;
    if (args.size() < 2 || !SplitKey(args[1], root, sub)) return Usage();
    const std::string& verb = args[0];
    if (verb == "list" && args.size() == 2) {
        HKEY key = nullptr;
        if (RegOpenKeyExW(root, Wide(sub).c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
            return kNotFound;
        std::vector<char> data(64 * 1024);
        for (DWORD i = 0;; ++i) {
            wchar_t name[16384];
            DWORD nameSize = 16384, type = 0, size = static_cast<DWORD>(data.size());
            const LONG status = RegEnumValueW(key, i, name, &nameSize, nullptr, &type,
                                              reinterpret_cast<BYTE*>(data.data()), &size);
            if (status != ERROR_SUCCESS) break;
            Out(Utf8(std::wstring(name, nameSize)) + "=" + ValueText(type, data, size));
        }
        RegCloseKey(key);
        return kOk;
    }
    // Several NAME DATA pairs may follow: one process start for a whole set-up.
    if (verb == "set" && args.size() >= 4 && args.size() % 2 == 0) {
        HKEY key = nullptr;
        if (RegCreateKeyExW(root, Wide(sub).c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                            nullptr) != ERROR_SUCCESS)
            return Fail("RegCreateKeyEx " + args[1]);
        for (size_t i = 2; i < args.size(); i += 2) {
            const std::wstring data = Wide(args[i + 1]);
            const LONG status = RegSetValueExW(
                key, Wide(args[i]).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
            if (status != ERROR_SUCCESS) {
                RegCloseKey(key);
                SetLastError(static_cast<DWORD>(status));
                return Fail("RegSetValueEx " + args[i]);
            }
        }
        RegCloseKey(key);
        return kOk;
    }
    unsigned long long number = 0;
    if (verb == "dword" && args.size() == 4 && ParseNumber(args[3], number) &&
        number <= 0xFFFFFFFFu) {
        const DWORD value = static_cast<DWORD>(number);
        const LONG status =
            RegSetKeyValueA(root, sub.c_str(), args[2].c_str(), REG_DWORD, &value, sizeof value);
        if (status == ERROR_SUCCESS) return kOk;
        SetLastError(static_cast<DWORD>(status));
        return Fail("RegSetKeyValue " + args[2]);
    }
    if (verb == "delete" && !sub.empty()) {
        for (size_t i = 1; i < args.size(); ++i) {
            if (!SplitKey(args[i], root, sub) || sub.empty()) return Usage();
            const LONG status = RegDeleteTreeA(root, sub.c_str());
            if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND) {
                SetLastError(static_cast<DWORD>(status));
                return Fail("RegDeleteTree " + args[i]);
            }
        }
        return kOk;
    }
    if (verb == "unset" && args.size() == 3) {
        HKEY key = nullptr;
        LONG status = RegOpenKeyExA(root, sub.c_str(), 0, KEY_SET_VALUE, &key);
        if (status == ERROR_SUCCESS) {
            status = RegDeleteValueA(key, args[2].c_str());
            RegCloseKey(key);
        }
        if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND) {
            SetLastError(static_cast<DWORD>(status));
            return Fail("RegDeleteValue " + args[2]);
        }
        return kOk;
    }
    return Usage();
}

}  // namespace drive
