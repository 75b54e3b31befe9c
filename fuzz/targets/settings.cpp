// Settings as text: any stored text read into any field, and whole records
// through save, load and the export file.
#include <cmath>
#include <optional>
#include <vector>

#include "fuzz_target.h"
#include "platform/sim/sim_desktop.h"
#include "platform/strings.h"
#include "settings/settings_export.h"
#include "settings/settings_record.h"
#include "settings/text_convert.h"
#include "state/program_state.h"
#include "state/settings_store.h"

namespace orv::fuzz {
namespace {

// Reads the export as the registry editor does: a header, a key line, then
// "name"="text" lines with \\ and \" as the only escapes, CR LF after each.
std::vector<std::pair<std::string, std::string>> ParseExport(const std::string& file) {
    std::vector<std::string> lines;
    for (std::size_t at = 0; at < file.size();) {
        std::size_t end = file.find("\r\n", at);
        Require(end != std::string::npos, "a line without CR LF");
        lines.push_back(file.substr(at, end - at));
        at = end + 2;
    }
    Require(lines.size() >= 4 && lines[0] == "Windows Registry Editor Version 5.00" &&
                lines[1].empty() && lines.back().empty(),
            "export frame");
    std::vector<std::pair<std::string, std::string>> values;
    for (std::size_t i = 3; i + 1 < lines.size(); ++i) {
        const std::string& l = lines[i];
        for (char c : l) Require(c != '\r' && c != '\n' && c != '\0', "a break inside a line");
        const std::size_t eq = l.find("\"=\"");
        Require(l.size() >= 5 && l.front() == '"' && l.back() == '"' && eq != std::string::npos,
                "export line shape: " + l);
        std::string text;
        for (std::size_t k = eq + 3; k + 1 < l.size(); ++k) {
            if (l[k] == '\\') {
                Require(k + 2 < l.size() && (l[k + 1] == '\\' || l[k + 1] == '"'), "bad escape");
                ++k;
            } else {
                Require(l[k] != '"', "unescaped quote");
            }
            text += l[k];
        }
        values.emplace_back(l.substr(1, eq - 1), text);
    }
    return values;
}

SettingsRecord RecordFrom(Bytes& in) {
    SettingsRecord r;
    for (const FieldInfo& f : AllFields()) {
        if (auto m = std::get_if<int16_t SettingsRecord::*>(&f.member))
            r.*(*m) = static_cast<int16_t>(in.U16());
        else if (auto m32 = std::get_if<int32_t SettingsRecord::*>(&f.member))
            r.*(*m32) = static_cast<int32_t>(in.U32());
        else if (auto b = std::get_if<bool SettingsRecord::*>(&f.member))
            r.*(*b) = in.U8() & 1;
        else if (auto d = std::get_if<double SettingsRecord::*>(&f.member))
            r.*(*d) = in.U8() & 1 ? in.F64() : double(int16_t(in.U16())) / 8;
        else
            r.*std::get<std::string SettingsRecord::*>(f.member) = in.Text(300);
    }
    r.Save = r.Save & 1;  // 99 means "never stored" to the loader
    return r;
}

// What a record reads back as once stored in the registry (or, viaExport,
// imported from the export file): texts as loading gives them, values that
// cannot be stored as their defaults.
// The values the loader falls back to: the record's defaults, but the save
// folder is the user's Pictures folder.
SettingsRecord LoaderDefaults(const std::string& picturesFolder) {
    SettingsRecord d{};
    d.SaveFolder = picturesFolder + "\\";
    return d;
}

SettingsRecord ReadBack(SettingsRecord r, bool viaExport, const std::string& picturesFolder) {
    const SettingsRecord kDefaults = LoaderDefaults(picturesFolder);
    for (std::string SettingsRecord::*m :
         {&SettingsRecord::Header, &SettingsRecord::Footer, &SettingsRecord::SaveFolder,
          &SettingsRecord::SaveFileName, &SettingsRecord::Printer}) {
        std::string raw = r.*m;
        if (viaExport) raw = raw.substr(0, raw.find('\0'));
        if (!viaExport && raw.empty()) raw = m == &SettingsRecord::SaveFolder ? "C:\\" : " ";
        // The registry read counts characters as Windows does, in UTF-16 units.
        r.*m = Utf16Length(raw) > 254 ? kDefaults.*m : AsStoredText(raw);
    }
    if (!std::isfinite(r.FadeScale)) r.FadeScale = kDefaults.FadeScale;
    if (!std::isfinite(r.ResizeScale)) r.ResizeScale = kDefaults.ResizeScale;
    return r;
}

}  // namespace

void FuzzSettings(const uint8_t* data, std::size_t size) {
    Bytes in(data, size);
    const char sep = in.U8() & 1 ? ',' : '.';

    // Any stored text into every field: either refused or read back the same.
    const std::string stored = in.Text(300);
    for (const FieldInfo& f : AllFields()) {
        SettingsRecord r;
        if (!SetFieldFromText(r, f, stored, sep)) continue;
        SettingsRecord again = r;
        Require(SetFieldFromText(again, f, FieldText(r, f, sep), sep) && again == r,
                std::string(f.name) + " does not read back its own text for \"" + stored + "\"");
    }

    // A whole record through the registry and through the export file.
    static sim::SimDesktop desk;
    static sim::SimProcess& process = desk.StartProcess();
    desk.registry = sim::SimRegistry{};  // a machine without settings
    desk.messageBoxes.clear();
    desk.decimalSeparator = sep;
    ProgramState st;
    Context ctx{process.os(), st};
    const SettingsRecord original = RecordFrom(in);

    st.Settings = original;
    SaveSettings(ctx);
    st.Settings = SettingsRecord{};
    LoadSettings(ctx);
    Require(st.Settings == ReadBack(original, false, desk.picturesFolder),
            "a record changed through save and load");
    Require(desk.messageBoxes.empty(), "a message box during save and load");

    // The import as the loader then reads it: an over-long value is not read,
    // so it gives the loader's default, not the record's.
    const SettingsRecord fallback = LoaderDefaults(desk.picturesFolder);
    SettingsRecord imported;
    for (const auto& [name, text] : ParseExport(SettingsExportText(original, sep))) {
        const FieldInfo* f = FindField(name);
        Require(f != nullptr, "unknown exported name " + name);
        if (Utf16Length(text) > 254)
            SetFieldFromText(imported, *f, FieldText(fallback, *f, sep), sep);
        else if (!SetFieldFromText(imported, *f, text, sep))
            ResetField(imported, *f);
    }
    Require(imported == ReadBack(original, true, desk.picturesFolder),
            "a record changed through the export file");
}

}  // namespace orv::fuzz
