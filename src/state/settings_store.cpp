#include "state/settings_store.h"

#include <cstdint>

#include "settings/text_convert.h"
#include "state/vbreg.h"

namespace orv {
namespace {

using platform::RegRoot;

using R = SettingsRecord;

const SettingsRecord kDefaults{};
constexpr const char* kSharedCounterName = "SharedCounter";
constexpr const char* kRunValueName = "Orvanex";

// A folder a standard account can write: the user's Pictures folder. The old
// default stays for a system without one.
std::string DefaultSaveFolder(Context& ctx) {
    std::string folder = ctx.os.system.PicturesFolder();
    if (folder.empty()) return kDefaults.SaveFolder;
    if (folder.back() != '\\') folder += '\\';
    return folder;
}

// Reads one field with its default; a stored text that does not convert gives the default.
void ReadField(Context& ctx, RegRoot root, const std::string& path, const FieldInfo& field,
               const SettingsRecord& defaults) {
    const char sep = ctx.os.system.DecimalSeparator();
    std::string text = GetRegValue(ctx, root, path, field.name, FieldText(defaults, field, sep));
    SettingsRecord& s = ctx.state.Settings;
    if (!SetFieldFromText(s, field, text, sep)) ResetField(s, field);
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
    // "Options" as the old versions wrote it: {value, Save, PrintScreen}; 99 is a missing value,
    // which leaves printing as it is.
    struct Old {
        int16_t options, save, print;
    };
    constexpr Old kOld[] = {{99, 0, -1}, {0, 0, 1}, {1, 1, 0}, {2, 1, 1}, {3, 0, 0}};
    const int16_t options = ReadInt16(ctx, root, path, "Options", 99, -1);
    for (const Old& o : kOld) {
        if (o.options != options) continue;
        s.Save = o.save;
        if (o.print >= 0) s.PrintScreen = o.print;
        return;
    }
    s.Save = saveBefore;
}

std::string VersionText(Context& ctx) {
    return std::to_string(ctx.os.system.VersionMajor()) + "." +
           std::to_string(ctx.os.system.VersionMinor());
}

std::string SaveText(Context& ctx, const SettingsRecord& s, const FieldInfo& field) {
    std::string text = FieldText(s, field, ctx.os.system.DecimalSeparator());
    if (text.empty()) {
        // Stored blank so the value exists; loading trims it back to "".
        if (&field == &FieldOf(&R::SaveFolder)) return "C:\\";
        return " ";
    }
    return text;
}

std::string ExePath(Context& ctx) {
    return ctx.os.system.AppFolder() + "\\" + ctx.os.system.ExeName() + ".exe";
}

bool OfferPerUserSettings(Context& ctx) {
    if (ctx.state.PerUserOffered) return false;
    ctx.state.PerUserOffered = true;
    return ctx.os.ui.MsgBox(
               "Your settings could not be saved for all users of this PC: Windows lets only an "
               "administrator change those.\r\n\r\nDo you want to keep your own settings for your "
               "user account instead?",
               ctx.ProductTitle(),
               platform::mb::kYesNo | platform::mb::kQuestion) == platform::mb::kIdYes;
}

void Report(Context& ctx, const std::string& text) {
    ctx.os.ui.MsgBox(text + " (error " + std::to_string(ctx.state.LastRegistryStatus) + ")",
                     ctx.ProductTitle(), platform::mb::kExclamation);
}

RegRoot Other(RegRoot root) {
    return root == RegRoot::LocalMachine ? RegRoot::CurrentUser : RegRoot::LocalMachine;
}

bool StartsThisProgram(Context& ctx, RegRoot root) {
    const std::string entry = GetRegValue(ctx, root, kRunKeyPath, kRunValueName, "");
    // Older versions stored the command without quotes.
    return EqualsNoCase(entry, StartupCommand(ctx)) ||
           EqualsNoCase(entry, ExePath(ctx) + " -startup");
}

bool RemoveStartupEntry(Context& ctx, RegRoot root) {
    if (!RegValueExists(ctx, root, kRunKeyPath, kRunValueName)) return true;
    if (DeleteRegValue(ctx, root, kRunKeyPath, kRunValueName)) return true;
    Report(ctx,
           root == RegRoot::LocalMachine
               ? "Windows did not let Orvanex remove its start-up entry for all users of this PC; "
                 "only an administrator can remove it"
               : "Windows did not let Orvanex remove its start-up entry");
    return false;
}

// One entry, beside the settings in use; the user's own Run key when the
// machine-wide one refuses. Never two, or the second start would open the settings.
void WriteStartupEntry(Context& ctx, RegRoot settingsRoot) {
    if (ctx.state.Settings.AutoLoad != 1) {
        RemoveStartupEntry(ctx, RegRoot::LocalMachine);
        RemoveStartupEntry(ctx, RegRoot::CurrentUser);
        return;
    }
    // Per-user settings on a machine deployed with a start-up entry for everyone: when that
    // entry already starts this program and this account cannot move it to its own Run key, a
    // second entry would open the settings at every logon (the second start is a messenger).
    if (settingsRoot == RegRoot::CurrentUser && StartsThisProgram(ctx, RegRoot::LocalMachine) &&
        !DeleteRegValue(ctx, RegRoot::LocalMachine, kRunKeyPath, kRunValueName)) {
        RemoveStartupEntry(ctx, RegRoot::CurrentUser);
        return;
    }
    const std::string command = StartupCommand(ctx);
    RegRoot target = settingsRoot;
    if (!SetRegValue(ctx, target, kRunKeyPath, kRunValueName, command)) {
        // An entry an administrator left there already starts the program.
        if (target == RegRoot::LocalMachine && StartsThisProgram(ctx, target)) return;
        if (target == RegRoot::CurrentUser ||
            !SetRegValue(ctx, RegRoot::CurrentUser, kRunKeyPath, kRunValueName, command)) {
            Report(ctx,
                   "Windows did not let Orvanex add its start-up entry, so it will not load at "
                   "startup");
            return;
        }
        target = RegRoot::CurrentUser;
    }
    RemoveStartupEntry(ctx, Other(target));
}

}  // namespace

SettingsRecord DefaultSettings(Context& ctx) {
    SettingsRecord s;
    s.SaveFolder = DefaultSaveFolder(ctx);
    return s;
}

void LoadSettings(Context& ctx) {
    ProgramState& st = ctx.state;
    const std::string path = kSettingsKeyPath;
    const SettingsRecord defaults = DefaultSettings(ctx);
    ReadField(ctx, RegRoot::CurrentUser, path, FieldOf(&R::GlobalSettings), defaults);
    const RegRoot root = SettingsRoot(st.Settings.GlobalSettings);

    for (const FieldInfo* field : FieldsIn(FieldOrder::Load)) {
        if (field != &FieldOf(&R::Save)) {
            ReadField(ctx, root, path, *field, defaults);
            continue;
        }
        const int16_t saveBefore = st.Settings.Save;
        int16_t save = ReadInt16(ctx, root, path, "Save", 99, kDefaults.Save);
        if (save == 99)
            ApplyUpgradeRule(ctx, root, path, saveBefore);
        else
            st.Settings.Save = save;
    }
    if (root == RegRoot::LocalMachine) {
        // Where the shared key refused this user's counter at Exit, it was kept per user.
        std::string kept = GetRegValue(ctx, RegRoot::CurrentUser, path, kSharedCounterName, "");
        auto v = ToWholeNumber(kept, ctx.os.system.DecimalSeparator(), INT32_MIN, INT32_MAX);
        if (v && *v > st.Settings.Counter) st.Settings.Counter = static_cast<int32_t>(*v);
    }
}

std::string StartupCommand(Context& ctx) {
    // Quoted: under "C:\Program Files\..." Windows would otherwise try "C:\Program.exe" first.
    return "\"" + ExePath(ctx) + "\" -startup";
}

void SaveSettings(Context& ctx) {
    SettingsRecord& s = ctx.state.Settings;
    RegRoot root = SettingsRoot(s.GlobalSettings);
    bool saved = SetRegValue(ctx, root, kSettingsKeyPath, "GlobalSettings",
                             std::to_string(s.GlobalSettings));
    if (!saved && root == RegRoot::LocalMachine && OfferPerUserSettings(ctx)) {
        // The same path the shared-settings switch takes: this user's own key.
        s.GlobalSettings = 0;
        root = RegRoot::CurrentUser;
        saved = SetRegValue(ctx, root, kSettingsKeyPath, "GlobalSettings", "0");
    }
    if (!saved) {
        ctx.os.ui.MsgBox(
            "Failed to save settings to registry. Ensure that you have the proper privilages.",
            ctx.ProductTitle(), platform::mb::kCritical);
        return;
    }
    for (const FieldInfo* field : FieldsIn(FieldOrder::Save)) {
        // The version no setting holds goes before AutoLoad, where it always went.
        if (field == &FieldOf(&R::AutoLoad))
            SetRegValue(ctx, root, kSettingsKeyPath, "Version", VersionText(ctx));
        SetRegValue(ctx, root, kSettingsKeyPath, field->savedAs, SaveText(ctx, s, *field));
    }
    // The shared counter now holds what the user chose (a reset counter included).
    if (root == RegRoot::LocalMachine &&
        RegValueExists(ctx, RegRoot::CurrentUser, kSettingsKeyPath, kSharedCounterName))
        DeleteRegValue(ctx, RegRoot::CurrentUser, kSettingsKeyPath, kSharedCounterName);
    WriteStartupEntry(ctx, root);
}

CounterAtExit SaveExitValues(Context& ctx) {
    const SettingsRecord& s = ctx.state.Settings;
    const RegRoot root = SettingsRoot(s.GlobalSettings);
    const std::string counter = std::to_string(s.Counter);
    const bool counterStored = SetRegValue(ctx, root, kSettingsKeyPath, "Counter", counter);
    SetRegValue(ctx, root, kSettingsKeyPath, "Enabled", s.Enabled ? "True" : "False");
    if (counterStored) return CounterAtExit::Stored;
    // A counter that went back would let later saves overwrite earlier pictures.
    if (root == RegRoot::LocalMachine) {
        const bool keptBefore =
            RegValueExists(ctx, RegRoot::CurrentUser, kSettingsKeyPath, kSharedCounterName);
        if (SetRegValue(ctx, RegRoot::CurrentUser, kSettingsKeyPath, kSharedCounterName, counter))
            return keptBefore ? CounterAtExit::Stored : CounterAtExit::NowKeptPerUser;
    }
    return CounterAtExit::Lost;
}

}  // namespace orv
