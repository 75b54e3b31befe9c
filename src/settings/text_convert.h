#pragma once
// Text conversions of stored values, lenient the way users expect and safe
// on any input: what does not convert yields nothing.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/strings.h"

namespace orv {

std::string TrimBlanks(std::string_view text);  // leading and trailing spaces
// A text setting as it reads back once stored: up to its first NUL, as every
// text function reads it, on one line (CR and LF become blanks: no box,
// printed line or file name holds them), trimmed of blanks.
std::string AsStoredText(std::string_view text);

// A decimal number: optional blanks and sign, digits with an optional fraction
// ('.' or the locale's separator) and exponent, or "&H" hex. Finite only.
std::optional<double> ToNumber(std::string_view text, char decimalSeparator);
// A number rounded half to even, within [lo, hi] after rounding.
std::optional<int64_t> ToWholeNumber(std::string_view text, char decimalSeparator, int64_t lo,
                                     int64_t hi);
// "True"/"False" in any case, or a number (non-zero is true).
std::optional<bool> ToBoolean(std::string_view text, char decimalSeparator);

}  // namespace orv
