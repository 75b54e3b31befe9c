#include "settings/settings_store.h"

#include <cstdint>

#include "settings/text_convert.h"
#include "settings/vbreg.h"

namespace orv {
namespace {

using platform::RegRoot;

constexpr const char* kLoadOrder[] = {
    "Enabled",     "PrintArea",    "x1",          "y1",         "x2",          "y2",
    "OnTheFly",    "Key",          "AutoLoad",    "ShowIcon",   "HidePopup",   "PrintScreen",
    "Printer",     "Orientation",  "GreyScale",   "StretchImage", "Resize",    "ResizeScale",
    "Negative",    "Fade",         "FadeScale",   "Header",     "Footer",      "PageBorder",
    "HeaderSize",  "FooterSize"};
constexpr const char* kLoadOrderAfterSave[] = {"SaveFileName", "SaveFormat", "SaveFolder",
                                               "Counter", "JpgQuality"};

// Names as they are written; the registry matches them to the reader's spellings.
constexpr const char* kSaveOrder[] = {
    "Enabled",    "PrintScreen", "PrintArea",  "Fade",       "FadeScale",    "Orientation",
    "Greyscale",  "Negative",    "Resize",     "ResizeScale", "Header",      "Footer",
    "Save",       "SaveFolder",  "SaveFormat", "SaveFilename", "OnTheFly",   "Key",
    "ShowIcon",   "HidePopup",   "Counter",    "Printer",    "x1",           "y1",
    "x2",         "y2",          "JpgQuality", "StretchImage", "HeaderSize", "FooterSize",
    "PageBorder", "Version",     "AutoLoad"};

const SettingsRecord kDefaults{};

// A folder a standard account can write: the user's Pictures folder. The old
// default stays for a system without one.
std::string DefaultSaveFolder(Context& ctx) {
    std::string folder = ctx.os.system.PicturesFolder();
    if (folder.empty()) return kDefaults.SaveFolder;
    if (folder.back() != '\\') folder += '\\';
    return folder;
}

// Reads one field with its default; a stored text that does not convert gives the default.
void ReadField(Context& ctx, RegRoot root, const std::string& path, const char* name) {
    const FieldInfo* field = FindField(name);
    char sep = ctx.os.system.DecimalSeparator();
    std::string fallback = EqualsNoCase(name, "SaveFolder") ? DefaultSaveFolder(ctx)
                                                            : FieldText(kDefaults, *field, sep);
    std::string text = GetRegValue(ctx, root, path, name, fallback);
    SettingsRecord& s = ctx.state.Settings;
    if (!SetFieldFromText(s, *field, text, sep)) ResetField(s, *field);
}

int16_t ReadInt16(Context& ctx, RegRoot root, const std::string& path, const char* name,
                  int16_t defaultValue, int16_t onGarbage) {
    std::string text = GetRegValue(ctx, root, path, name, std::to_string(defaultValue));
    auto v = ToWholeNumber(text, ctx.os.system.DecimalSeparator(), INT16_MIN, INT16_MAX);
    return v ? static_cast<int16_t>(*v) : onGarbage;
}

// Settings written before the save/print split kept both in one "Options" value.
void ApplyUpgradeRule(Context& ctx, RegRoot root, const std::string& path, int16_t saveBefore) {
    SettingsRecord& s = ctx.state.Settings;
    switch (ReadInt16(ctx, root, path, "Options", 99, -1)) {
        case 99: s.Save = 0; break;
        case 0: s.Save = 0, s.PrintScreen = 1; break;
        case 1: s.Save = 1, s.PrintScreen = 0; break;
        case 2: s.Save = 1, s.PrintScreen = 1; break;
        case 3: s.Save = 0, s.PrintScreen = 0; break;
        default: s.Save = saveBefore; break;
    }
}

std::string SaveText(Context& ctx, const SettingsRecord& s, const char* name) {
    if (EqualsNoCase(name, "Version"))
        return std::to_string(ctx.os.system.VersionMajor()) + "." +
               std::to_string(ctx.os.system.VersionMinor());
    const FieldInfo* field = FindField(name);
    std::string text = FieldText(s, *field, ctx.os.system.DecimalSeparator());
    if (text.empty()) {
        // Stored blank so the value exists; loading trims it back to "".
        if (EqualsNoCase(name, "SaveFolder")) return "C:\\";
        return " ";
    }
    return text;
}

}  // namespace

void LoadSettings(Context& ctx) {
    ProgramState& st = ctx.state;
    const std::string path = st.SettingsKeyPrefix + kSettingsKeyPath;
    ReadField(ctx, RegRoot::CurrentUser, path, "GlobalSettings");
    const RegRoot root = SettingsRoot(st.Settings.GlobalSettings);

    for (const char* name : kLoadOrder) ReadField(ctx, root, path, name);

    const int16_t saveBefore = st.Settings.Save;
    int16_t save = ReadInt16(ctx, root, path, "Save", 99, kDefaults.Save);
    if (save == 99)
        ApplyUpgradeRule(ctx, root, path, saveBefore);
    else
        st.Settings.Save = save;

    for (const char* name : kLoadOrderAfterSave) ReadField(ctx, root, path, name);
    st.SettingsKeyPrefix.clear();
}

std::string StartupCommand(Context& ctx) {
    return ctx.os.system.AppFolder() + "\\" + ctx.os.system.ExeName() + ".exe -startup";
}

void SaveSettings(Context& ctx) {
    const SettingsRecord& s = ctx.state.Settings;
    const RegRoot root = SettingsRoot(s.GlobalSettings);
    if (!SetRegValue(ctx, root, kSettingsKeyPath, "GlobalSettings",
                     std::to_string(s.GlobalSettings))) {
        ctx.os.ui.MsgBox(
            "Failed to save settings to registry. Ensure that you have the proper privilages.",
            ctx.ProductTitle(), platform::mb::kCritical);
        return;
    }
    for (const char* name : kSaveOrder)
        SetRegValue(ctx, root, kSettingsKeyPath, name, SaveText(ctx, s, name));

    if (s.AutoLoad == 1)
        SetRegValue(ctx, RegRoot::LocalMachine, kRunKeyPath, "Orvanex", StartupCommand(ctx));
    else
        DeleteRegValue(ctx, RegRoot::LocalMachine, kRunKeyPath, "Orvanex");
}

}  // namespace orv
