#include "settings/settings_export.h"

#include <cstdint>

namespace orv {
namespace {

constexpr const char* kEol = "\r\n";

void PutUnit(std::string& out, uint32_t unit) {
    out += static_cast<char>(unit & 0xFF);
    out += static_cast<char>(unit >> 8);
}

// UTF-8 to UTF-16LE; a malformed sequence becomes U+FFFD rather than vanishing.
std::string Utf16LE(const std::string& text) {
    std::string out = "\xFF\xFE";
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t n = text.size();
    for (std::size_t i = 0; i < n;) {
        unsigned char c = p[i];
        int extra = c < 0x80 ? 0 : (c >> 5) == 6 ? 1 : (c >> 4) == 14 ? 2 : (c >> 3) == 30 ? 3 : -1;
        uint32_t cp = extra == 0   ? c
                      : extra == 1 ? (c & 0x1F)
                      : extra == 2 ? (c & 0x0F)
                                   : (c & 0x07);
        bool ok = extra >= 0;
        for (int k = 1; ok && k <= extra; ++k) {
            if (i + k >= n || (p[i + k] & 0xC0) != 0x80)
                ok = false;
            else
                cp = (cp << 6) | (p[i + k] & 0x3F);
        }
        static constexpr uint32_t kMin[] = {0, 0x80, 0x800, 0x10000};
        if (ok && (cp < kMin[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))) ok = false;
        if (!ok) {
            PutUnit(out, 0xFFFD);
            ++i;
            continue;
        }
        i += static_cast<std::size_t>(extra) + 1;
        if (cp >= 0x10000) {
            cp -= 0x10000;
            PutUnit(out, 0xD800 | (cp >> 10));
            PutUnit(out, 0xDC00 | (cp & 0x3FF));
        } else {
            PutUnit(out, cp);
        }
    }
    return out;
}

}  // namespace

std::string EscapeRegText(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    // A text ends at a NUL, and a line break inside the quotes would end the
    // line for the registry editor.
    for (char c : text.substr(0, text.find('\0'))) {
        if (c == '\\' || c == '"') out += '\\';
        out += c == '\r' || c == '\n' ? ' ' : c;
    }
    return out;
}

std::string SettingsExportText(const SettingsRecord& record, char decimalSeparator) {
    std::string out = "Windows Registry Editor Version 5.00";
    out += kEol;
    out += kEol;
    out += "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Halvorn\\Orvanexv3]";
    out += kEol;
    const auto line = [&](const FieldInfo& field) {
        out += '"';
        out += field.name;
        out += "\"=\"";
        out += EscapeRegText(FieldText(record, field, decimalSeparator));
        out += '"';
        out += kEol;
    };
    // The counter leads and comes again in its place: the order older exports had.
    line(FieldOf(&SettingsRecord::Counter));
    for (const FieldInfo* field : FieldsIn(FieldOrder::Export)) line(*field);
    out += kEol;
    return out;
}

std::string SettingsExportFile(const SettingsRecord& record, char decimalSeparator) {
    std::string text = SettingsExportText(record, decimalSeparator);
    for (char c : text)
        if (static_cast<unsigned char>(c) >= 0x80) return Utf16LE(text);
    return text;
}

}  // namespace orv
