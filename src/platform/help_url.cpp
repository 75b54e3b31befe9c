#include "platform/help_url.h"

#include <cctype>

#include "platform/strings.h"

namespace orv {
namespace {

bool KeepsAsIs(unsigned char c) {
    return std::isalnum(c) || c == '-' || c == '.' || c == '_' || c == '~' || c == '/' || c == ':';
}

void AppendEncoded(std::string& out, std::string_view text) {
    static const char kHex[] = "0123456789ABCDEF";
    for (unsigned char c : text) {
        if (c == '\\') c = '/';
        if (KeepsAsIs(c)) {
            out += static_cast<char>(c);
        } else {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 0xF];
        }
    }
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && EqualsNoCase(text.substr(0, prefix.size()), prefix);
}

std::string_view TrimSpaces(std::string_view s) {
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
    return s;
}

}  // namespace

std::string FileUrl(std::string_view windowsPath, std::string_view fragment) {
    std::string path(windowsPath);
    for (char& c : path)
        if (c == '/') c = '\\';
    // Long-path prefixes name the same file without them.
    bool unc = false;
    if (StartsWithNoCase(path, "\\\\?\\UNC\\")) {
        path.erase(0, 8);
        unc = true;
    } else if (StartsWithNoCase(path, "\\\\?\\")) {
        path.erase(0, 4);
    } else if (StartsWithNoCase(path, "\\\\")) {
        path.erase(0, 2);
        unc = true;
    }
    std::string url = unc ? "file://" : "file:///";
    AppendEncoded(url, path);
    if (!fragment.empty()) {
        url += '#';
        AppendEncoded(url, fragment);
    }
    return url;
}

std::optional<LaunchCommand> FillBrowserCommand(std::string_view command, std::string_view url) {
    command = TrimSpaces(command);
    LaunchCommand launch;
    std::string_view rest;
    if (!command.empty() && command.front() == '"') {
        auto close = command.find('"', 1);
        if (close == std::string_view::npos) return std::nullopt;
        launch.program = std::string(command.substr(1, close - 1));
        rest = command.substr(close + 1);
    } else {
        // Unquoted: a program path may hold blanks, so end it after ".exe"
        // where there is one, else at the first blank.
        std::string lower = ToLower(command);
        std::size_t end = std::string::npos;
        for (auto at = lower.find(".exe"); at != std::string::npos; at = lower.find(".exe", at + 1))
            if (at + 4 == lower.size() || lower[at + 4] == ' ') {
                end = at + 4;
                break;
            }
        if (end == std::string::npos) end = command.find(' ');
        if (end == std::string_view::npos) end = command.size();
        launch.program = std::string(command.substr(0, end));
        rest = command.substr(end);
    }
    launch.program = std::string(TrimSpaces(launch.program));
    if (launch.program.empty()) return std::nullopt;

    rest = TrimSpaces(rest);
    bool placed = false;
    for (std::size_t i = 0; i < rest.size(); ++i) {
        char c = rest[i];
        if (c != '%' || i + 1 == rest.size()) {
            launch.parameters += c;
            continue;
        }
        char p = rest[++i];
        if (p == '1' || p == 'L' || p == 'l' || p == 'V' || p == 'v') {
            launch.parameters += url;
            placed = true;
        } else if (p == '%') {
            launch.parameters += '%';
        } else if (!std::isalnum(static_cast<unsigned char>(p)) && p != '*') {
            launch.parameters += c;
            launch.parameters += p;
        }
    }
    if (!placed) {
        if (!launch.parameters.empty()) launch.parameters += ' ';
        launch.parameters += url;
    }
    launch.parameters = std::string(TrimSpaces(launch.parameters));
    return launch;
}

}  // namespace orv
