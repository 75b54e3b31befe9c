#pragma once
// Every setting of the program, named after its registry value.
#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <variant>

namespace orv {

// What a capture takes (PrintArea).
namespace area {
constexpr int16_t kDesktop = 0, kPredefined = 1, kUserSelects = 2, kActiveWindow = 3;
}

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
using FieldMember =
    std::variant<int16_t SettingsRecord::*, int32_t SettingsRecord::*, bool SettingsRecord::*,
                 double SettingsRecord::*, std::string SettingsRecord::*>;

// A field's place in each order the stored forms keep; kNoPlace leaves it out.
inline constexpr int8_t kNoPlace = -1;

struct FieldInfo {
    const char* name;  // as the reader spells it
    FieldMember member;
    const char* savedAs;  // as the save spells it (the registry matches any letter case)
    int8_t loadAt, saveAt, exportAt;
};

// The orders: loading, saving, the export file.
enum class FieldOrder { Load, Save, Export };

namespace settings_table {

using R = SettingsRecord;
inline constexpr int8_t kNo = kNoPlace;

// One row per setting: what it is called, where the record keeps it, and its
// place in each stored order. The chooser is read and written apart from the
// others, before them: it says where they are. Adding a setting is its member
// above and one row here.
// clang-format off
inline constexpr std::array<FieldInfo, 33> kFields = {{
    // reader's name   member              save's spelling  load save export
    {"GlobalSettings", &R::GlobalSettings, "GlobalSettings", kNo, kNo, 0},
    {"Enabled",        &R::Enabled,        "Enabled",         0,  0,  1},
    {"PrintScreen",    &R::PrintScreen,    "PrintScreen",    11,  1,  2},
    {"PrintArea",      &R::PrintArea,      "PrintArea",       1,  2,  5},
    {"Fade",           &R::Fade,           "Fade",           19,  3,  6},
    {"FadeScale",      &R::FadeScale,      "FadeScale",      20,  4,  7},
    {"Orientation",    &R::Orientation,    "Orientation",    13,  5,  8},
    {"GreyScale",      &R::GreyScale,      "Greyscale",      14,  6,  9},
    {"Negative",       &R::Negative,       "Negative",       18,  7, 10},
    {"Resize",         &R::Resize,         "Resize",         16,  8, 11},
    {"ResizeScale",    &R::ResizeScale,    "ResizeScale",    17,  9, 12},
    {"Header",         &R::Header,         "Header",         21, 10, 13},
    {"Footer",         &R::Footer,         "Footer",         22, 11, 14},
    {"Save",           &R::Save,           "Save",           26, 12, 15},
    {"SaveFolder",     &R::SaveFolder,     "SaveFolder",     29, 13, 16},
    {"SaveFormat",     &R::SaveFormat,     "SaveFormat",     28, 14, 17},
    {"SaveFileName",   &R::SaveFileName,   "SaveFilename",   27, 15, 18},
    {"ShowIcon",       &R::ShowIcon,       "ShowIcon",        9, 18, 19},
    {"HidePopup",      &R::HidePopup,      "HidePopup",      10, 19, 20},
    {"Counter",        &R::Counter,        "Counter",        30, 20, 21},
    {"Printer",        &R::Printer,        "Printer",        12, 21, 22},
    {"x1",             &R::x1,             "x1",              2, 22, 23},
    {"y1",             &R::y1,             "y1",              3, 23, 24},
    {"x2",             &R::x2,             "x2",              4, 24, 25},
    {"y2",             &R::y2,             "y2",              5, 25, 26},
    {"JpgQuality",     &R::JpgQuality,     "JpgQuality",     31, 26, 27},
    {"StretchImage",   &R::StretchImage,   "StretchImage",   15, 27, 28},
    {"HeaderSize",     &R::HeaderSize,     "HeaderSize",     24, 28, 29},
    {"FooterSize",     &R::FooterSize,     "FooterSize",     25, 29, 30},
    {"PageBorder",     &R::PageBorder,     "PageBorder",     23, 30, 31},
    {"AutoLoad",       &R::AutoLoad,       "AutoLoad",        8, 31, 32},
    {"Key",            &R::Key,            "Key",             7, 17,  4},
    {"OnTheFly",       &R::OnTheFly,       "OnTheFly",        6, 16,  3},
}};
// clang-format on

struct Ordered {
    std::array<const FieldInfo*, kFields.size()> at{};
    std::size_t count = 0;
};

// The rows with a place in the order, by place. Places count 0, 1, 2, ...
// with none taken twice, or the table does not compile.
consteval Ordered InOrder(FieldOrder order) {
    const auto column = order == FieldOrder::Load   ? &FieldInfo::loadAt
                        : order == FieldOrder::Save ? &FieldInfo::saveAt
                                                    : &FieldInfo::exportAt;
    Ordered o;
    for (const FieldInfo& f : kFields)
        if (f.*column != kNoPlace) ++o.count;
    for (const FieldInfo& f : kFields) {
        const int8_t place = f.*column;
        if (place == kNoPlace) continue;
        if (place < 0 || static_cast<std::size_t>(place) >= o.count || o.at[place] != nullptr)
            throw "a place outside the order, or taken twice";
        o.at[place] = &f;
    }
    return o;
}

}  // namespace settings_table

// The field of that registry name (any letter case), or nullptr.
const FieldInfo* FindField(std::string_view name);
// Every field, in the record's order.
std::span<const FieldInfo> AllFields();
// The fields that have a place in that order, in it.
std::span<const FieldInfo* const> FieldsIn(FieldOrder order);

// The row of a member of the record; a member without one does not compile.
consteval const FieldInfo& FieldOf(FieldMember member) {
    for (const FieldInfo& f : settings_table::kFields)
        if (f.member == member) return f;
    throw "a member without a row in the settings table";
}

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
