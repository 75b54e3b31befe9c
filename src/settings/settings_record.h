#pragma once
// Every setting of the program, named after its registry value.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <variant>

namespace orv {

struct SettingsRecord {
    int16_t GlobalSettings = 1;  // 1 shared (HKLM), else per user (HKCU)
    bool Enabled = true;
    int16_t PrintScreen = 1;
    int16_t PrintArea = 0;  // 0 desktop, 1 pre-defined area, 2 user selects, 3 active window
    int16_t Fade = 0;
    double FadeScale = 0;
    int16_t Orientation = 2;  // 1 portrait, 2 landscape
    int16_t GreyScale = 0;
    int16_t Negative = 0;
    int16_t Resize = 0;
    double ResizeScale = 100;
    std::string Header;
    std::string Footer;
    int16_t Save = 0;
    std::string SaveFolder = "C:\\";
    int16_t SaveFormat = 0;  // 0 GIF, 1 PNG, 2 BMP, 3 JPG
    std::string SaveFileName = "ORVX-[rdate]-[time]";
    int16_t ShowIcon = 1;
    int16_t HidePopup = 0;
    int32_t Counter = 0;
    std::string Printer = "<Default Printer>";
    int16_t x1 = 0;
    int16_t y1 = 0;
    int16_t x2 = 639;
    int16_t y2 = 479;
    int16_t JpgQuality = 60;
    int16_t StretchImage = 0;
    int16_t HeaderSize = 12;
    int16_t FooterSize = 8;
    int16_t PageBorder = 0;
    int16_t AutoLoad = 1;
    int16_t Key = 44;
    int16_t OnTheFly = 0;

    bool operator==(const SettingsRecord&) const = default;
};

// One row per field: its registry name, how it is stored, and where it lives.
using FieldMember = std::variant<int16_t SettingsRecord::*, int32_t SettingsRecord::*,
                                 bool SettingsRecord::*, double SettingsRecord::*,
                                 std::string SettingsRecord::*>;

struct FieldInfo {
    const char* name;  // as the reader spells it
    FieldMember member;
};

// The field of that registry name (any letter case), or nullptr.
const FieldInfo* FindField(std::string_view name);
// Every field, in the record's order.
std::span<const FieldInfo> AllFields();

// Field text in the stored encoding (decimal integers, "True"/"False",
// doubles as short decimal text with the locale's separator).
std::string FieldText(const SettingsRecord& record, const FieldInfo& field, char decimalSeparator);
// Converts stored text into the field. False (field unchanged) when the text
// does not convert or lies outside the field's range.
bool SetFieldFromText(SettingsRecord& record, const FieldInfo& field, std::string_view text,
                      char decimalSeparator);

// Gives the field its default value.
void ResetField(SettingsRecord& record, const FieldInfo& field);

// Shortest decimal text that reads back as the same double, no trailing
// zeros (100, 12.5); an exponent only where plain digits would not fit.
std::string FormatDouble(double value, char decimalSeparator);

}  // namespace orv
