#pragma once
// Small text helpers shared by every layer. The program's texts are UTF-8;
// letter case is folded for ASCII only, as the registry's names need.
#include <string>
#include <string_view>

namespace orv {

std::string ToLower(std::string_view text);
bool EqualsNoCase(std::string_view a, std::string_view b);
// The length of UTF-8 text in UTF-16 code units, as Windows counts characters.
std::size_t Utf16Length(std::string_view utf8);
// The longest start of UTF-8 text within maxUnits UTF-16 units, not cutting a character.
std::string_view Utf16Prefix(std::string_view utf8, std::size_t maxUnits);

}  // namespace orv
