#pragma once
// Opening the help page at a topic in the user's browser. Handing the shell a
// file URL with a fragment loses the fragment with some browsers, so the page
// is given to the browser itself on its command line.
#include <optional>
#include <string>
#include <string_view>

namespace orv {

// "file:///C:/Program%20Files/Orvanex/Orvanex.html#context-20" for a Windows
// path given in UTF-8. Every byte that could end the URL early or split it on a
// command line (blanks, quotes, '#', '%', non-ASCII) is percent-encoded. UNC
// paths become "file://server/share/...". An empty fragment adds no '#'.
std::string FileUrl(std::string_view windowsPath, std::string_view fragment);

struct LaunchCommand {
    std::string program;     // the executable, without quotes
    std::string parameters;  // its arguments, the URL filled in
};

// Fills a browser's registered open command, e.g.
//   "C:\Program Files\Browser\browser.exe" -url "%1"
// with url. %1, %L and %V stand for the URL; %* and other placeholders are
// dropped; a command without a placeholder gets the URL appended. Nothing when
// the command names no program (empty, or an unterminated quote).
std::optional<LaunchCommand> FillBrowserCommand(std::string_view command, std::string_view url);

}  // namespace orv
