#include "settings/text_convert.h"

#include <cctype>
#include <cmath>
#include <cstdlib>

namespace orv {

std::string TrimBlanks(std::string_view text) {
    std::size_t b = 0, e = text.size();
    while (b < e && text[b] == ' ') ++b;
    while (e > b && text[e - 1] == ' ') --e;
    return std::string(text.substr(b, e - b));
}

std::string AsStoredText(std::string_view text) {
    std::string line(text.substr(0, text.find('\0')));
    for (char& c : line)
        if (c == '\r' || c == '\n') c = ' ';
    return TrimBlanks(line);
}

std::optional<double> ToNumber(std::string_view text, char decimalSeparator) {
    std::size_t b = 0, e = text.size();
    auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (b < e && blank(text[b])) ++b;
    while (e > b && blank(text[e - 1])) --e;
    std::string_view t = text.substr(b, e - b);
    if (t.empty()) return std::nullopt;

    std::size_t i = 0;
    bool negative = false;
    if (t[i] == '+' || t[i] == '-') negative = t[i++] == '-';
    if (t.size() - i > 2 && t[i] == '&' && (t[i + 1] == 'H' || t[i + 1] == 'h')) {
        if (t.size() - i - 2 > 8) return std::nullopt;
        uint32_t v = 0;
        for (std::size_t k = i + 2; k < t.size(); ++k) {
            int d = std::isxdigit(static_cast<unsigned char>(t[k]))
                        ? (std::isdigit(static_cast<unsigned char>(t[k]))
                               ? t[k] - '0'
                               : std::tolower(static_cast<unsigned char>(t[k])) - 'a' + 10)
                        : -1;
            if (d < 0) return std::nullopt;
            v = v * 16 + static_cast<uint32_t>(d);
        }
        // A hex literal of up to four digits is a 16-bit pattern, as in the settings' language.
        double r = t.size() - i - 2 <= 4 ? static_cast<int16_t>(v) : static_cast<int32_t>(v);
        return negative ? -r : r;
    }

    std::string normal;
    bool digits = false;
    for (; i < t.size() && std::isdigit(static_cast<unsigned char>(t[i])); ++i, digits = true)
        normal += t[i];
    if (i < t.size() && (t[i] == '.' || t[i] == decimalSeparator)) {
        normal += '.';
        for (++i; i < t.size() && std::isdigit(static_cast<unsigned char>(t[i]));
             ++i, digits = true)
            normal += t[i];
    }
    if (!digits) return std::nullopt;
    if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
        normal += 'e';
        ++i;
        if (i < t.size() && (t[i] == '+' || t[i] == '-')) normal += t[i++];
        bool expDigits = false;
        for (; i < t.size() && std::isdigit(static_cast<unsigned char>(t[i]));
             ++i, expDigits = true)
            normal += t[i];
        if (!expDigits) return std::nullopt;
    }
    if (i != t.size()) return std::nullopt;
    double v = std::strtod(normal.c_str(), nullptr);
    if (!std::isfinite(v)) return std::nullopt;
    return negative ? -v : v;
}

std::optional<int64_t> ToWholeNumber(std::string_view text, char decimalSeparator, int64_t lo,
                                     int64_t hi) {
    auto v = ToNumber(text, decimalSeparator);
    if (!v) return std::nullopt;
    double r = std::nearbyint(*v);  // default rounding mode: half to even
    if (r < static_cast<double>(lo) || r > static_cast<double>(hi)) return std::nullopt;
    return static_cast<int64_t>(r);
}

std::optional<bool> ToBoolean(std::string_view text, char decimalSeparator) {
    std::string t = TrimBlanks(text);
    if (EqualsNoCase(t, "True")) return true;
    if (EqualsNoCase(t, "False")) return false;
    auto v = ToNumber(t, decimalSeparator);
    if (!v) return std::nullopt;
    return *v != 0;
}

}  // namespace orv
