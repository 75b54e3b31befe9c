#include "state/settings_store.h"

#include <gtest/gtest.h>

#include "orvanex_version.h"
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

TEST_F(SettingsStore, WritesTheStoredSpellingsAndPlaceholders) {
    st.Settings.Header = "";
    st.Settings.SaveFolder = "";
    SaveSettings(ctx);
    EXPECT_EQ(Written("Header"), " ");
    EXPECT_EQ(Written("Footer"), " ");
    EXPECT_EQ(Written("SaveFilename"), "ORVX-[rdate]-[time]");
    EXPECT_EQ(Written("Printer"), "<Default Printer>");
    EXPECT_EQ(Written("SaveFolder"), "C:\\");
    EXPECT_EQ(Written("Version"), ORV_VERSION_TEXT);  // the build's, from CMake
    EXPECT_EQ(Written("Enabled"), "True");
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

// Settings from before the save/print split keep both in "Options"; a stored
// Save wins over it, and the next save writes Save.
TEST(UpgradeRule, OptionsDecideSaveAndPrintUntilSaveIsStored) {
    const std::tuple<const char*, const char*, int16_t, int16_t> cases[] = {
        // Options, Save; what loads
        {nullptr, nullptr, 0, 0}, {"0", nullptr, 0, 1}, {"1", nullptr, 1, 0},
        {"2", nullptr, 1, 1},     {"3", nullptr, 0, 0}, {"4", nullptr, 5, 0},
        {"abc", nullptr, 5, 0},   {"2", "0", 0, 0}};
    for (const auto& [options, save, saveAfter, printAfter] : cases) {
        SimProgram p;
        p.desk.registry.Put(RegRoot::LocalMachine, kKey, "PrintScreen", "0");
        if (options) p.desk.registry.Put(RegRoot::LocalMachine, kKey, "Options", options);
        if (save) p.desk.registry.Put(RegRoot::LocalMachine, kKey, "Save", save);
        p.st.Settings.Save = 5;  // what the record held before the load
        LoadSettings(p.ctx);
        const std::string what = options ? options : "none";
        EXPECT_EQ(p.st.Settings.Save, saveAfter) << what;
        EXPECT_EQ(p.st.Settings.PrintScreen, printAfter) << what;
        SaveSettings(p.ctx);
        EXPECT_EQ(p.desk.registry.Get(RegRoot::LocalMachine, kKey, "Save"),
                  std::to_string(saveAfter))
            << what;
    }
}

// The save folder defaults to the user's Pictures folder; a stored one, the
// old default included, is never changed.
TEST_F(SettingsStore, SaveFolderDefaultsToPicturesAndKeepsAStoredOne) {
    struct Case {
        const char* pictures;
        const char* stored;  // nullptr: none
        const char* expected;
    };
    for (const Case c :
         {Case{"D:\\Me\\OneDrive\\Pictures", nullptr, "D:\\Me\\OneDrive\\Pictures\\"},
          Case{"E:\\", nullptr, "E:\\"}, Case{"", nullptr, "C:\\"},
          Case{"D:\\Pictures", "C:\\", "C:\\"}, Case{"D:\\Pictures", "F:\\x", "F:\\x"}}) {
        SimProgram p;
        p.desk.picturesFolder = c.pictures;
        if (c.stored) p.desk.registry.Put(RegRoot::LocalMachine, kKey, "SaveFolder", c.stored);
        LoadSettings(p.ctx);
        EXPECT_EQ(p.st.Settings.SaveFolder, c.expected) << c.pictures;
    }
}

TEST(GarbageValues, FallBackToTheDefaultWithoutAMessage) {
    // clang-format off
    const std::pair<const char*, const char*> cases[] = {
        {"Key", "abc"},         {"Key", "99999"},       {"x2", "1e999"},           {"y2", ""},
        {"PrintArea", "True"},  {"Counter", "3000000000"}, {"Enabled", "maybe"}, {"FadeScale", "1e999"},
        {"ResizeScale", "NaN"}, {"GlobalSettings", "x"}, {"HeaderSize", "12,5,6"}, {"Save", "--1"}};
    for (const auto& [field, text] : cases) {
        SimProgram p;
        p.desk.registry.Put(RegRoot::LocalMachine, kKey, field, text);
        p.st.Settings = Unusual();  // a bad value must give the default, not what was held before
        p.st.Settings.Save = 0;
        LoadSettings(p.ctx);
        EXPECT_EQ(p.st.Settings, p.Defaults()) << field << " = \"" << text << '"';
        EXPECT_TRUE(p.desk.messageBoxes.empty());
    }
    // clang-format on
}

// Plain digits wherever they fit, the locale's separator, and the same bits back.
TEST_F(SettingsStore, DoublesComeBackBitForBit) {
    // clang-format off
    const std::tuple<double, char, const char*> cases[] = {
        {100, '.', "100"},        {12.5, ',', "12,5"},    {1e-17, '.', "0.00000000000000001"},
        {1e300, '.', "1e+300"},   {-2.5e-320, '.', nullptr}, {1.0 / 3, ',', nullptr},
        {1.7976931348623157e308, '.', nullptr}};
    // clang-format on
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
    // clang-format off
    const std::pair<std::string, std::string> cases[] = {
        {std::string("Top"), "Top"},  // written without its terminator
        {std::string("  Laser 1  "), "Laser 1"},
        {std::string("Top\0old\0", 8), "Top"},
        {std::string("Top\r\nline 2\0", 12), "Top  line 2"},
    };
    // clang-format on
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
