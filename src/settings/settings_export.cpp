#include "settings/settings_export.h"

namespace orv {
namespace {

// Counter leads and comes again after HidePopup: the order older exports had.
constexpr const char* kExportOrder[] = {
    "Counter",     "GlobalSettings", "Enabled",      "PrintScreen", "OnTheFly",   "Key",
    "PrintArea",   "Fade",           "FadeScale",    "Orientation", "GreyScale",  "Negative",
    "Resize",      "ResizeScale",    "Header",       "Footer",      "Save",       "SaveFolder",
    "SaveFormat",  "SaveFileName",   "ShowIcon",     "HidePopup",   "Counter",    "Printer",
    "x1",          "y1",             "x2",           "y2",          "JpgQuality", "StretchImage",
    "HeaderSize",  "FooterSize",     "PageBorder",   "AutoLoad"};

constexpr const char* kEol = "\r\n";

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
    for (const char* name : kExportOrder) {
        const FieldInfo* field = FindField(name);
        out += '"';
        out += field->name;
        out += "\"=\"";
        out += EscapeRegText(FieldText(record, *field, decimalSeparator));
        out += '"';
        out += kEol;
    }
    out += kEol;
    return out;
}

}  // namespace orv
