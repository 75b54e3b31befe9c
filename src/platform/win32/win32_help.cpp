#include "platform/win32/win32_help.h"

#include <windows.h>
#include <shellapi.h>
#include <shlwapi.h>

#include <optional>
#include <vector>

#include "platform/error.h"
#include "platform/help_url.h"
#include "platform/win32/win32_util.h"

namespace orv::win32 {
namespace {

// ShellExecute reports success as a value above 32.
bool Launched(HINSTANCE result) {
    return reinterpret_cast<INT_PTR>(result) > 32;
}

// ANSI text as UTF-8, which browsers expect of a percent-encoded file URL.
std::optional<std::string> AnsiToUtf8(const std::string& text) {
    if (text.empty()) return std::string();
    int wide =
        MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    if (wide <= 0) return std::nullopt;
    std::wstring w(static_cast<std::size_t>(wide), L'\0');
    if (MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), w.data(),
                            wide) != wide)
        return std::nullopt;
    int bytes = WideCharToMultiByte(CP_UTF8, 0, w.data(), wide, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0) return std::nullopt;
    std::string out(static_cast<std::size_t>(bytes), '\0');
    if (WideCharToMultiByte(CP_UTF8, 0, w.data(), wide, out.data(), bytes, nullptr, nullptr) !=
        bytes)
        return std::nullopt;
    return out;
}

// The open command of the user's default web browser.
std::optional<std::string> BrowserCommand() {
    DWORD size = 0;
    HRESULT hr =
        AssocQueryStringA(ASSOCF_NOTRUNCATE, ASSOCSTR_COMMAND, "http", "open", nullptr, &size);
    if ((hr != S_OK && hr != S_FALSE) || size == 0) return std::nullopt;
    std::vector<char> buf(size + 1, '\0');
    DWORD got = static_cast<DWORD>(buf.size());
    if (AssocQueryStringA(ASSOCF_NOTRUNCATE, ASSOCSTR_COMMAND, "http", "open", buf.data(), &got) !=
        S_OK)
        return std::nullopt;
    std::string command(buf.data());
    if (command.empty()) return std::nullopt;
    return command;
}

std::optional<std::string> ExpandEnvironment(const std::string& text) {
    if (text.find('%') == std::string::npos) return text;
    DWORD size = ExpandEnvironmentStringsA(text.c_str(), nullptr, 0);
    if (size == 0) return std::nullopt;
    std::vector<char> buf(size, '\0');
    DWORD got = ExpandEnvironmentStringsA(text.c_str(), buf.data(), size);
    if (got == 0 || got > size) return std::nullopt;
    return std::string(buf.data());
}

// Opens page at the topic in the default browser; false when that cannot be done.
bool OpenInBrowser(const std::string& page, int contextId) {
    auto utf8 = AnsiToUtf8(page);
    if (!utf8) return false;
    auto command = BrowserCommand();
    if (!command) return false;
    auto launch =
        FillBrowserCommand(*command, FileUrl(*utf8, "context-" + std::to_string(contextId)));
    if (!launch) return false;
    auto program = ExpandEnvironment(launch->program);
    if (!program) return false;
    return Launched(ShellExecuteA(nullptr, "open", program->c_str(), launch->parameters.c_str(),
                                  nullptr, SW_SHOWNORMAL));
}

}  // namespace

void Win32Help::ShowHelp(const std::string& helpFile, int contextId) {
    // The classic viewer first, where the system still has it.
    if (GetFileAttributesA(helpFile.c_str()) != INVALID_FILE_ATTRIBUTES &&
        WinHelpA(nullptr, helpFile.c_str(), HELP_CONTEXT, static_cast<ULONG_PTR>(contextId)))
        return;
    std::string page = helpFile;
    auto dot = page.find_last_of('.');
    auto slash = page.find_last_of("\\/");
    if (dot != std::string::npos && (slash == std::string::npos || dot > slash)) page.erase(dot);
    page += ".html";
    if (GetFileAttributesA(page.c_str()) == INVALID_FILE_ATTRIBUTES)
        throw Error(static_cast<long>(GetLastError()),
                    "The help page \"" + page + "\" could not be found");
    if (OpenInBrowser(page, contextId)) return;
    // No usable browser command: the page's own handler, at its top.
    HINSTANCE r = ShellExecuteA(nullptr, "open", page.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    if (!Launched(r))
        throw Error(static_cast<long>(reinterpret_cast<INT_PTR>(r)),
                    "The help page \"" + page + "\" could not be opened");
}

}  // namespace orv::win32
