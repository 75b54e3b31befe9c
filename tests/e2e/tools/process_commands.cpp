// What a process holds, read from outside: the figures a long run watches
// for growth.
#include "drive.h"
// (windows.h comes first, through drive.h)
#include <psapi.h>

#include <algorithm>

namespace drive {
namespace {

// The name of another process's handle ("" when it has none or cannot be read).
std::wstring HandleName(HANDLE process, USHORT value) {
    using Query = LONG(WINAPI*)(HANDLE, ULONG, PVOID, ULONG, PULONG);
    static const auto query = reinterpret_cast<Query>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQueryObject")));
    HANDLE copy = nullptr;
    if (!query || !DuplicateHandle(process, reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(value)),
                                   GetCurrentProcess(), &copy, 0, FALSE, DUPLICATE_SAME_ACCESS))
        return L"";
    constexpr ULONG kObjectNameInformation = 1;
    std::vector<char> buffer(4096);
    ULONG length = 0;
    const bool read = query(copy, kObjectNameInformation, buffer.data(),
                            static_cast<ULONG>(buffer.size()), &length) == 0;
    CloseHandle(copy);
    if (!read) return L"";
    struct Name {
        USHORT length, capacity;
        PWSTR text;
    } name;
    std::memcpy(&name, buffer.data(), sizeof name);
    return name.text ? std::wstring(name.text, name.length / sizeof(wchar_t)) : L"";
}

struct HandleCounts {
    long long held = -1;  // -1 when the list cannot be had
    long long mru = 0;    // of which the file dialog's folder-history keys
};

// The handles the process holds, counted in the system's handle list: Wine
// answers GetProcessHandleCount for another process with 0. Wine's own file
// dialog leaves its LastVisitedMRU key open at every save; those are counted
// apart, so that what the program itself holds can be bounded.
HandleCounts HandlesInSystemList(HANDLE process, DWORD pid) {
    struct Entry {
        ULONG ownerPid;
        BYTE type, flags;
        USHORT value;
        PVOID object;
        ULONG access;
    };
    using Query = LONG(WINAPI*)(ULONG, PVOID, ULONG, PULONG);
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    auto query = ntdll ? reinterpret_cast<Query>(reinterpret_cast<void*>(
                             GetProcAddress(ntdll, "NtQuerySystemInformation")))
                       : nullptr;
    if (!query) return {};
    constexpr ULONG kSystemHandleInformation = 16;
    std::vector<char> buffer(1 << 16);
    for (int tries = 0; tries < 8; ++tries) {
        ULONG needed = 0;
        const LONG status = query(kSystemHandleInformation, buffer.data(),
                                  static_cast<ULONG>(buffer.size()), &needed);
        if (status == 0) {
            ULONG count = 0;
            std::memcpy(&count, buffer.data(), sizeof count);
            const char* entries = buffer.data() + sizeof(void*);  // the count, padded to a pointer
            if (sizeof(void*) + std::size_t(count) * sizeof(Entry) > buffer.size()) return {};
            HandleCounts mine{0, 0};
            for (ULONG i = 0; i < count; ++i) {
                Entry e;
                std::memcpy(&e, entries + std::size_t(i) * sizeof e, sizeof e);
                if (e.ownerPid != pid) continue;
                ++mine.held;
                if (HandleName(process, e.value).find(L"\\LastVisitedMRU") != std::wstring::npos)
                    ++mine.mru;
            }
            return mine;
        }
        buffer.resize(std::max<std::size_t>(buffer.size() * 2, needed + 4096));
    }
    return {};
}

}  // namespace

// process-stats PID: prints "private=BYTES handles=N gdi=N user=N windows=N
// listed=N". `windows` counts the process's windows, nested ones included: a
// second measure of USER objects where the system reports none; `listed`
// its handles in the system's handle list (-1: not to be had).
int CmdProcessStats(const Args& args) {
    const Options o = Parse(args, {});
    unsigned long long pid = 0;
    if (o.positional.size() != 1 || !ParseNumber(o.positional[0], pid)) return Usage();
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ | PROCESS_DUP_HANDLE,
                                 FALSE, static_cast<DWORD>(pid));
    if (!process) return Fail("OpenProcess " + o.positional[0]);
    PROCESS_MEMORY_COUNTERS_EX memory{};
    memory.cb = sizeof memory;
    DWORD handles = 0;
    const bool read =
        GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory),
                             sizeof memory) &&
        GetProcessHandleCount(process, &handles);
    // GetGuiResources returns 0 both for "none" and for a failure.
    const DWORD gdi = GetGuiResources(process, GR_GDIOBJECTS);
    const DWORD user = GetGuiResources(process, GR_USEROBJECTS);
    const HandleCounts listed = HandlesInSystemList(process, static_cast<DWORD>(pid));
    CloseHandle(process);
    if (!read) return Fail("GetProcessMemoryInfo/GetProcessHandleCount");
    struct Count {
        DWORD pid;
        int windows;
    } count{static_cast<DWORD>(pid), 0};
    EnumWindows(
        [](HWND h, LPARAM p) -> BOOL {
            auto& c = *reinterpret_cast<Count*>(p);
            if (ProcessOf(h) != c.pid) return TRUE;
            c.windows += 1 + static_cast<int>(Descendants(h).size());
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&count));
    Out("private=" + std::to_string(memory.PrivateUsage) + " handles=" + std::to_string(handles) +
        " gdi=" + std::to_string(gdi) + " user=" + std::to_string(user) +
        " windows=" + std::to_string(count.windows) +
        " listed=" + std::to_string(listed.held < 0 ? -1 : listed.held - listed.mru) +
        " mru=" + std::to_string(listed.mru));
    return kOk;
}

}  // namespace drive
