#include "settings/settings_record.h"

#include <array>
#include <charconv>
#include <cmath>
#include <limits>

#include "settings/text_convert.h"

namespace orv {
namespace {

using R = SettingsRecord;
using settings_table::kFields;
// A stored value holds at most 254 characters.
constexpr long kMaxPlainDigits = 254;
template <class... F>
struct Overload : F... {
    using F::operator()...;
};
template <class... F>
Overload(F...) -> Overload<F...>;

}  // namespace

std::span<const FieldInfo> AllFields() {
    return kFields;
}

std::span<const FieldInfo* const> FieldsIn(FieldOrder order) {
    static constexpr settings_table::Ordered kLoad = settings_table::InOrder(FieldOrder::Load);
    static constexpr settings_table::Ordered kSave = settings_table::InOrder(FieldOrder::Save);
    static constexpr settings_table::Ordered kExport = settings_table::InOrder(FieldOrder::Export);
    const settings_table::Ordered& o = order == FieldOrder::Load   ? kLoad
                                       : order == FieldOrder::Save ? kSave
                                                                   : kExport;
    return {o.at.data(), o.count};
}

const FieldInfo* FindField(std::string_view name) {
    for (const auto& f : kFields) {
        if (EqualsNoCase(f.name, name)) return &f;
    }
    return nullptr;
}

void ResetField(SettingsRecord& record, const FieldInfo& field) {
    static const SettingsRecord kDefaults{};
    std::visit([&](auto member) { record.*member = kDefaults.*member; }, field.member);
}

std::string FormatDouble(double value, char decimalSeparator) {
    // The shortest digits that read back as the same double, in plain decimals
    // unless those would not fit a stored value (1e300, 5e-324).
    char buf[400];
    auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed);
    if (r.ec != std::errc{} || r.ptr - buf > kMaxPlainDigits)
        r = std::to_chars(buf, buf + sizeof buf, value);
    std::string s(buf, r.ec == std::errc{} ? r.ptr : buf);
    for (char& c : s)
        if (c == '.') c = decimalSeparator;
    return s;
}

std::string FieldText(const SettingsRecord& record, const FieldInfo& field, char decimalSeparator) {
    return std::visit(Overload{
                          [&](int16_t R::*m) { return std::to_string(record.*m); },
                          [&](int32_t R::*m) { return std::to_string(record.*m); },
                          [&](bool R::*m) { return std::string(record.*m ? "True" : "False"); },
                          [&](double R::*m) { return FormatDouble(record.*m, decimalSeparator); },
                          [&](std::string R::*m) { return record.*m; },
                      },
                      field.member);
}

bool SetFieldFromText(SettingsRecord& record, const FieldInfo& field, std::string_view text,
                      char decimalSeparator) {
    return std::visit(
        Overload{
            [&](int16_t R::*m) {
                auto v = ToWholeNumber(text, decimalSeparator, std::numeric_limits<int16_t>::min(),
                                       std::numeric_limits<int16_t>::max());
                if (v) record.*m = static_cast<int16_t>(*v);
                return v.has_value();
            },
            [&](int32_t R::*m) {
                auto v = ToWholeNumber(text, decimalSeparator, std::numeric_limits<int32_t>::min(),
                                       std::numeric_limits<int32_t>::max());
                if (v) record.*m = static_cast<int32_t>(*v);
                return v.has_value();
            },
            [&](bool R::*m) {
                auto v = ToBoolean(text, decimalSeparator);
                if (v) record.*m = *v;
                return v.has_value();
            },
            [&](double R::*m) {
                auto v = ToNumber(text, decimalSeparator);
                if (v) record.*m = *v;
                return v.has_value();
            },
            [&](std::string R::*m) {
                record.*m = AsStoredText(text);
                return true;
            },
        },
        field.member);
}

}  // namespace orv
