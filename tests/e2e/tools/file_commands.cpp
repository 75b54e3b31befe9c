// Another program holding a file open, as an editor or a sync client does.
#include "drive.h"

namespace drive {

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
