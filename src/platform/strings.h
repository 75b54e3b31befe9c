#pragma once
// Small ANSI text helpers shared by every layer.
#include <string>
#include <string_view>

namespace orv {

std::string ToLower(std::string_view text);
bool EqualsNoCase(std::string_view a, std::string_view b);

}  // namespace orv
