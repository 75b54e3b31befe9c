// Starts a program with an exact command line. Wine quotes any argument with
// blanks in it, so " -x " given to `wine` would reach the program as "\" -x \"".
#include "drive.h"

namespace drive {

// launch EXE TAIL [--timeout S]: runs `"EXE"TAIL` and waits for it; prints
// "ended CODE after T s". When it is still running at the deadline it is
// ended (it is ours) and the answer is "running after T s", exit code 1.
int CmdLaunch(const Args& args) {
    const Options o = Parse(args, {});
    if (o.positional.size() != 2) return Usage();
    std::wstring line = L"\"" + Wide(o.positional[0]) + L"\"" + Wide(o.positional[1]);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    const ULONGLONG began = GetTickCount64();
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        return Fail("CreateProcess " + o.positional[0]);
    CloseHandle(process.hThread);
    const double seconds = o.Seconds("timeout", 10);
    const DWORD wait = WaitForSingleObject(process.hProcess, static_cast<DWORD>(seconds * 1000.0));
    const double took = static_cast<double>(GetTickCount64() - began) / 1000.0;
    char when[64];
    std::snprintf(when, sizeof when, "%.3f", took);
    int result = kOk;
    if (wait == WAIT_OBJECT_0) {
        DWORD code = 0;
        GetExitCodeProcess(process.hProcess, &code);
        Out("ended " + std::to_string(code) + " after " + when + " s");
    } else {
        Out(std::string("running after ") + when + " s");
        if (!TerminateProcess(process.hProcess, 1))
            result = Fail("TerminateProcess");
        else
            result = kNotFound;
    }
    CloseHandle(process.hProcess);
    return result;
}

}  // namespace drive
