#include "output/file_names.h"

#include <array>
#include <string_view>

#include "platform/strings.h"

namespace orv {
namespace {

constexpr std::string_view kForbidden = "<>:\"|?*";

bool IsControl(char c) {
    return static_cast<unsigned char>(c) < 0x20;
}

// Windows keeps these device names in every folder; the part before the
// first dot decides, blanks before that dot ignored. Superscript one to three
// count as digits, in the ANSI and in the UTF-8 spelling.
bool IsDeviceName(std::string_view part) {
    std::string base = ToLower(part.substr(0, part.find('.')));
    while (!base.empty() && base.back() == ' ') base.pop_back();
    for (const char* name : {"con", "prn", "aux", "nul", "conin$", "conout$"})
        if (base == name) return true;
    if (base.size() < 4 || (base.rfind("com", 0) != 0 && base.rfind("lpt", 0) != 0)) return false;
    const std::string_view n = std::string_view(base).substr(3);
    if (n.size() == 1 &&
        ((n[0] >= '0' && n[0] <= '9') || n[0] == '\xB9' || n[0] == '\xB2' || n[0] == '\xB3'))
        return true;
    return n == "\xC2\xB9" || n == "\xC2\xB2" || n == "\xC2\xB3";
}

bool IsPlainPart(std::string_view part) {
    if (part.empty() || part == "." || part == "..") return true;
    if (part.back() == '.' || part.back() == ' ') return false;
    return !IsDeviceName(part);
}

}  // namespace

bool IsPlainFilePath(const std::string& given) {
    // Windows reads '/' as '\' before it looks at a path, so "//./pipe/x" is the
    // device namespace too.
    std::string path = given;
    for (char& c : path)
        if (c == '/') c = '\\';
    if (path.empty() || path.rfind("\\\\.\\", 0) == 0 || path.rfind("\\\\?\\", 0) == 0 ||
        path.back() == '\\')
        return false;
    const bool drive = path.size() >= 2 && path[1] == ':' &&
                       ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
    std::size_t start = drive ? 2 : 0;
    for (std::size_t i = start; i <= path.size(); ++i) {
        if (i == path.size() || path[i] == '\\') {
            if (!IsPlainPart(std::string_view(path).substr(start, i - start))) return false;
            start = i + 1;
        } else if (IsControl(path[i]) || kForbidden.find(path[i]) != std::string_view::npos) {
            return false;
        }
    }
    return true;
}

std::string FileNamePart(const std::string& value) {
    std::string out = value;
    for (char& c : out)
        if (IsControl(c) || c == '\\' || c == '/' || kForbidden.find(c) != std::string_view::npos)
            c = '_';
    return out;
}

}  // namespace orv
