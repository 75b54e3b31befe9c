#include "settings/settings_store.h"

#include <gtest/gtest.h>

#include "sim_program.h"
#include "unusual_record.h"

namespace orv {
namespace {

using namespace orv::testing;

class SettingsStore : public ::testing::Test, public SimProgram {
protected:
    void Stored(const char* name, const std::string& text, RegRoot root = RegRoot::LocalMachine) {
        desk.registry.Put(root, kKey, name, text);
    }
    std::optional<std::string> Written(const char* name, RegRoot root = RegRoot::LocalMachine) {
        return desk.registry.Get(root, kKey, name);
    }
};

TEST_F(SettingsStore, EmptyMachineGivesEveryDefault) {
    st.Settings.Save = 7;  // the upgrade rule must not keep this
    LoadSettings(ctx);
    EXPECT_EQ(st.Settings, Defaults());
    EXPECT_TRUE(desk.messageBoxes.empty());
}

TEST_F(SettingsStore, EveryFieldSurvivesSaveAndLoadUnderEitherRoot) {
    for (int16_t global : {int16_t(1), int16_t(0)}) {
        SimProgram fresh;
        SettingsRecord s = Unusual();
        s.GlobalSettings = global;
        fresh.st.Settings = s;
        SaveSettings(fresh.ctx);
        // The chooser itself lives per user; put it where the next load reads it.
        fresh.desk.registry.Put(RegRoot::CurrentUser, kKey, "GlobalSettings", std::to_string(global));
        fresh.st.Settings = SettingsRecord{};
        LoadSettings(fresh.ctx);
        EXPECT_EQ(fresh.st.Settings, s) << "GlobalSettings " << global;
        EXPECT_TRUE(fresh.desk.messageBoxes.empty());
    }
}

TEST_F(SettingsStore, WritesTheStoredSpellingsAndPlaceholders) {
    st.Settings.Header = "";
    st.Settings.SaveFolder = "";
    st.Settings.FadeScale = 100;
    SaveSettings(ctx);
    EXPECT_EQ(Written("Header"), " ");
    EXPECT_EQ(Written("Footer"), " ");
    EXPECT_EQ(Written("SaveFilename"), "ORVX-[rdate]-[time]");
    EXPECT_EQ(Written("Printer"), "<Default Printer>");
    EXPECT_EQ(Written("SaveFolder"), "C:\\");
    EXPECT_EQ(Written("Version"), "3.50");
    EXPECT_EQ(Written("Enabled"), "True");
    EXPECT_EQ(Written("FadeScale"), "100");
    LoadSettings(ctx);
    EXPECT_EQ(st.Settings.Header, "");
}

TEST_F(SettingsStore, DataOverTheBufferReadsAsMissing) {
    Stored("Header", std::string(254, 'h'));  // 255 bytes with its terminator: fits
    Stored("Footer", std::string(255, 'f'));  // 256 bytes: too long
    Stored("SaveFileName", std::string(256, 'n'));
    std::string wide;  // 254 characters, 762 bytes: the buffer counts characters
    for (int i = 0; i < 254; ++i) wide += "\xE5\x86\x99";
    Stored("Printer", wide);
    Stored("SaveFolder", wide + "x");
    LoadSettings(ctx);
    EXPECT_EQ(st.Settings.Header, std::string(254, 'h'));
    EXPECT_EQ(st.Settings.Footer, "");
    EXPECT_EQ(st.Settings.SaveFileName, SettingsRecord{}.SaveFileName);
    EXPECT_EQ(st.Settings.Printer, wide);
    EXPECT_EQ(st.Settings.SaveFolder, Defaults().SaveFolder);
}

struct UpgradeCase {
    const char* options;  // nullptr: absent
    int16_t save, printScreen;
};

class UpgradeRule : public ::testing::TestWithParam<UpgradeCase> {};

TEST_P(UpgradeRule, OptionsDecideSaveAndPrint) {
    SimProgram p;
    auto c = GetParam();
    p.desk.registry.Put(RegRoot::LocalMachine, kKey, "PrintScreen", "0");
    if (c.options) p.desk.registry.Put(RegRoot::LocalMachine, kKey, "Options", c.options);
    p.st.Settings.Save = 5;  // what the record held before the load
    LoadSettings(p.ctx);
    EXPECT_EQ(p.st.Settings.Save, c.save);
    EXPECT_EQ(p.st.Settings.PrintScreen, c.printScreen);
}

INSTANTIATE_TEST_SUITE_P(Options, UpgradeRule,
                         ::testing::Values(UpgradeCase{nullptr, 0, 0}, UpgradeCase{"0", 0, 1},
                                           UpgradeCase{"1", 1, 0}, UpgradeCase{"2", 1, 1},
                                           UpgradeCase{"3", 0, 0}, UpgradeCase{"4", 5, 0},
                                           UpgradeCase{"abc", 5, 0}));

TEST_F(SettingsStore, StoredSaveIgnoresOptions) {
    Stored("Options", "2");
    Stored("Save", "0");
    LoadSettings(ctx);
    EXPECT_EQ(st.Settings.Save, 0);
    EXPECT_EQ(st.Settings.PrintScreen, 1);
    // After an upgrade the next save writes Save, and Options no longer counts.
    SimProgram p;
    p.desk.registry.Put(RegRoot::LocalMachine, kKey, "Options", "2");
    LoadSettings(p.ctx);
    SaveSettings(p.ctx);
    EXPECT_EQ(p.desk.registry.Get(RegRoot::LocalMachine, kKey, "Save"), "1");
}

// The save folder defaults to the user's Pictures folder; a stored one, the
// old default included, is never changed.
TEST_F(SettingsStore, SaveFolderDefaultsToPicturesAndKeepsAStoredOne) {
    struct Case {
        const char* pictures;
        const char* stored;  // nullptr: none
        const char* expected;
    };
    for (const Case c : {Case{"D:\\Me\\OneDrive\\Pictures", nullptr, "D:\\Me\\OneDrive\\Pictures\\"},
                         Case{"E:\\", nullptr, "E:\\"},
                         Case{"", nullptr, "C:\\"},
                         Case{"D:\\Pictures", "C:\\", "C:\\"},
                         Case{"D:\\Pictures", "F:\\x", "F:\\x"}}) {
        SimProgram p;
        p.desk.picturesFolder = c.pictures;
        if (c.stored) p.desk.registry.Put(RegRoot::LocalMachine, kKey, "SaveFolder", c.stored);
        LoadSettings(p.ctx);
        EXPECT_EQ(p.st.Settings.SaveFolder, c.expected) << c.pictures;
    }
}

struct GarbageCase {
    const char* field;
    const char* text;
};

class GarbageValues : public ::testing::TestWithParam<GarbageCase> {};

TEST_P(GarbageValues, FallBackToTheDefaultWithoutAMessage) {
    SimProgram p;
    auto c = GetParam();
    p.desk.registry.Put(RegRoot::LocalMachine, kKey, c.field, c.text);
    p.st.Settings = Unusual();  // a bad value must give the default, not what was held before
    p.st.Settings.Save = 0;
    LoadSettings(p.ctx);
    EXPECT_EQ(p.st.Settings, p.Defaults()) << c.field << " = \"" << c.text << '"';
    EXPECT_TRUE(p.desk.messageBoxes.empty());
}

INSTANTIATE_TEST_SUITE_P(
    StoredTexts, GarbageValues,
    ::testing::Values(GarbageCase{"Key", "abc"}, GarbageCase{"Key", "99999"},
                      GarbageCase{"x2", "1e999"}, GarbageCase{"y2", ""},
                      GarbageCase{"PrintArea", "True"}, GarbageCase{"Counter", "3000000000"},
                      GarbageCase{"Enabled", "maybe"}, GarbageCase{"FadeScale", "1e999"},
                      GarbageCase{"ResizeScale", "NaN"}, GarbageCase{"GlobalSettings", "x"},
                      GarbageCase{"HeaderSize", "12,5,6"}, GarbageCase{"Save", "--1"}));

// Plain digits wherever they fit, the locale's separator, and the same bits back.
TEST_F(SettingsStore, DoublesComeBackBitForBit) {
    const std::tuple<double, char, const char*> cases[] = {
        {100, '.', "100"}, {12.5, ',', "12,5"}, {1e-17, '.', "0.00000000000000001"}, {1e300, '.', "1e+300"},
        {-2.5e-320, '.', nullptr}, {1.0 / 3, ',', nullptr}, {1.7976931348623157e308, '.', nullptr}, {33.3, '.', nullptr}};
    for (const auto& [v, sep, text] : cases) {
        desk.decimalSeparator = sep;
        st.Settings.FadeScale = v;
        SaveSettings(ctx);
        if (text) {
            EXPECT_EQ(Written("FadeScale"), text);
        }
        st.Settings.FadeScale = 0;
        LoadSettings(ctx);
        EXPECT_EQ(st.Settings.FadeScale, v) << Written("FadeScale").value_or("?");
    }
}

TEST_F(SettingsStore, TextsEndAtTheirFirstNulAndStayOnOneLineWithoutBlanks) {
    const std::pair<std::string, std::string> cases[] = {
        {std::string("Top"), "Top"},  // written without its terminator
        {std::string("  Laser 1  "), "Laser 1"},
        {std::string("Top\0", 4), "Top"},
        {std::string("Top\0old\0", 8), "Top"},
        {std::string("Top\r\nline 2\0", 12), "Top  line 2"},
    };
    for (const auto& [data, expected] : cases) {
        desk.registry.PutRaw(RegRoot::LocalMachine, kKey, "Header", data);
        LoadSettings(ctx);
        EXPECT_EQ(st.Settings.Header, expected);
    }
    EXPECT_TRUE(desk.messageBoxes.empty());
}

TEST_F(SettingsStore, DataWithoutTerminatorShowsTheRegistryErrorAndReadsEmpty) {
    desk.registry.PutRaw(RegRoot::LocalMachine, kKey, "Header", "");
    LoadSettings(ctx);
    ASSERT_EQ(desk.messageBoxes.size(), 1u);
    EXPECT_EQ(desk.messageBoxes[0].text.rfind("Registry Error # 5 :", 0), 0u);
    EXPECT_EQ(st.Settings.Header, "");
}

}  // namespace
}  // namespace orv
