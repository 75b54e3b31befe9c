#pragma once
// Small text helpers shared by every layer. The program's texts are UTF-8;
// letter case is folded for ASCII only, as the registry's names need.
#include <string>
#include <string_view>

namespace orv {

std::string ToLower(std::string_view text);
bool EqualsNoCase(std::string_view a, std::string_view b);
// The longest start of text that fits in maxBytes without cutting a character.
std::string_view Utf8Prefix(std::string_view text, std::size_t maxBytes);

}  // namespace orv
