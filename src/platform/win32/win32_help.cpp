#include "platform/win32/win32_help.h"

#include <windows.h>
#include <shellapi.h>

#include "platform/error.h"

namespace orv::win32 {

void Win32Help::ShowHelp(const std::string& helpFile, int contextId) {
    // The classic viewer first, where the system still has it.
    if (GetFileAttributesA(helpFile.c_str()) != INVALID_FILE_ATTRIBUTES &&
        WinHelpA(nullptr, helpFile.c_str(), HELP_CONTEXT, static_cast<ULONG_PTR>(contextId)))
        return;
    std::string page = helpFile;
    auto dot = page.find_last_of('.');
    page = (dot == std::string::npos ? page : page.substr(0, dot)) + ".html";
    auto r = reinterpret_cast<INT_PTR>(ShellExecuteA(nullptr, "open", page.c_str(), nullptr,
                                                     nullptr, SW_SHOWNORMAL));
    if (r <= 32) throw Error(static_cast<long>(r), "The help page \"" + page + "\" could not be opened");
}

}  // namespace orv::win32
