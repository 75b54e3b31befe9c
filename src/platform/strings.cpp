#include "platform/strings.h"

#include <cctype>

namespace orv {

std::string ToLower(std::string_view text) {
    std::string s(text);
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

namespace {
// UTF-16 units of the character a byte starts: none for a continuation byte,
// two for a four-byte sequence (a surrogate pair), one otherwise.
std::size_t Units(char c) {
    const auto b = static_cast<unsigned char>(c);
    return (b & 0xC0) == 0x80 ? 0 : (b & 0xF8) == 0xF0 ? 2 : 1;
}
}  // namespace

std::size_t Utf16Length(std::string_view utf8) {
    std::size_t n = 0;
    for (char c : utf8) n += Units(c);
    return n;
}

std::string_view Utf16Prefix(std::string_view utf8, std::size_t maxUnits) {
    std::size_t units = 0;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        units += Units(utf8[i]);
        if (units > maxUnits) return utf8.substr(0, i);
    }
    return utf8;
}

}  // namespace orv
