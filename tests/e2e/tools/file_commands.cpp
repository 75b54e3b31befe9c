// Other programs' files: one held open, as an editor or a sync client does;
// one written by a stand-in for a program the system starts (a browser).
#include "drive.h"

namespace drive {

int CmdNote(const Args& args) {
    if (args.size() < 2) return Usage();
    std::string text;
    for (size_t i = 1; i < args.size(); ++i) text += args[i] + "\n";
    HANDLE file = CreateFileW(Wide(args[0]).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return Fail("cannot create " + args[0]);
    DWORD wrote = 0;
    const bool ok =
        WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &wrote, nullptr) &&
        wrote == text.size();
    CloseHandle(file);
    return ok ? kOk : Fail("cannot write " + args[0]);
}

int CmdHold(const Args& args) {
    const Options o = Parse(args, {});
    const std::string ready = o.Get("ready"), stop = o.Get("stop");
    if (o.positional.size() != 1 || ready.empty() || stop.empty()) return Usage();
    // No sharing at all: nobody else may read, write, rename or delete it.
    HANDLE held = CreateFileW(Wide(o.positional[0]).c_str(), GENERIC_READ, 0, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (held == INVALID_HANDLE_VALUE) return Fail("cannot open " + o.positional[0]);
    if (!Touch(ready))
        return Fail("cannot create " + ready);  // the process end lets go of the rest
    const bool stopped = WaitFor(o.Seconds("timeout", 60), [&] { return FileExists(stop); });
    CloseHandle(held);
    return stopped ? kOk : kNotFound;
}

}  // namespace drive
