#include "settings/settings_export.h"

#include <gtest/gtest.h>

#include "../dialogs/setup_fixture.h"

namespace orv {
namespace {

using namespace orv::testing;

TEST(SettingsExport, ValueTextsAreEscapedAndLocalised) {
    struct Case {
        std::function<void(SettingsRecord&)> set;
        const char* line;
    };
    // clang-format off
    const Case cases[] = {
        {[](SettingsRecord& s) { s.Header = "say \"hi\" \\ bye"; }, "\"Header\"=\"say \\\"hi\\\" \\\\ bye\"\r\n"},
        {[](SettingsRecord& s) { s.SaveFolder = "\\\\server\\share\\"; },
         "\"SaveFolder\"=\"\\\\\\\\server\\\\share\\\\\"\r\n"},
        {[](SettingsRecord& s) { s.FadeScale = 12.5; }, "\"FadeScale\"=\"12,5\"\r\n"},
        {[](SettingsRecord& s) { s.Enabled = false; }, "\"Enabled\"=\"False\"\r\n"},
        // A line break would split the line for the registry editor; a text ends at a NUL.
        {[](SettingsRecord& s) { s.Footer = "a\r\nb"; }, "\"Footer\"=\"a  b\"\r\n"},
        {[](SettingsRecord& s) { s.Footer = std::string("a\0b", 3); }, "\"Footer\"=\"a\"\r\n"},
    };
    // clang-format on
    for (const auto& c : cases) {
        SettingsRecord s;
        c.set(s);
        const std::string text = SettingsExportText(s, ',');
        EXPECT_NE(text.find(c.line), std::string::npos) << c.line;
        // Per-user settings go to the machine-wide key all the same.
        EXPECT_NE(text.find("\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Halvorn\\Orvanexv3]\r\n"),
                  std::string::npos);
    }
    SettingsRecord counted;
    counted.Counter = 31;
    const std::string text = SettingsExportText(counted, '.');
    EXPECT_EQ(text.find("\"Counter\"=\"31\"\r\n\"GlobalSettings\""), text.find("]\r\n") + 3);
    EXPECT_NE(text.find("\"HidePopup\"=\"0\"\r\n\"Counter\"=\"31\"\r\n\"Printer\""),
              std::string::npos);
}

using SetupExport = SetupFixture;

// The button writes what the working copy holds, twice over the same file,
// and reports a file it could not write (no folder, or a failing step),
// leaving the previous one whole.
TEST_F(SetupExport, ButtonWritesTheWorkingCopy) {
    const std::string path = "C:\\Program Files\\Orvanex\\orvanex.reg";
    st.Settings.Counter = 3;
    st.Settings.GlobalSettings = 0;
    Open({Click("cmdExport"),
          With([&](Dlg&) { desk.files.AddFolder("C:\\Program Files\\Orvanex"); }),
          Click("cmdExport"), With([&](Dlg& d) {
              EXPECT_EQ(desk.files.ReadText(path), SettingsExportText(d.DialogSettings, '.'));
              d.DialogSettings.Counter = 4;
          }),
          Click("cmdExport"), With([&](Dlg&) {
              EXPECT_NE(desk.files.ReadText(path)->find("\"Counter\"=\"4\""), std::string::npos);
              desk.files.FailNext(sim::SimFiles::Step::Create);
          }),
          Click("cmdExport"), With([&](Dlg& d) {
              d.DialogSettings.Counter = 5;
              desk.files.FailNext(sim::SimFiles::Step::Replace);
          }),
          Click("cmdExport"), Click("cmdCancel")});
    const std::string created =
        "The file '" + path + "' has been created.\r\nCheck 'help' for more details.";
    const std::string failed = "Could not create the file '" + path + "'";
    EXPECT_EQ(BoxTexts(desk), (std::vector<std::string>{failed, created, created, failed, failed}));
    // The file of the last good export stays, and nothing else is left.
    EXPECT_NE(desk.files.ReadText(path)->find("\"Counter\"=\"4\""), std::string::npos);
    EXPECT_EQ(desk.files.List(), std::vector<std::string>{path});
    EXPECT_EQ(st.Settings.Counter, 3);
}

// Ticks and typing since the dialog opened are in the file; the working copy
// is left as it was. A header beyond ASCII turns the file into UTF-16LE.
TEST_F(SetupExport, WritesWhatTheDialogShows) {
    const std::string path = "C:\\Program Files\\Orvanex\\orvanex.reg";
    desk.files.AddFolder("C:\\Program Files\\Orvanex");
    const std::string header = "Łukasz 写真";
    Open({sim::user::ChooseIndex("TabStrip1", 1), Click("cbxGreyscale"),
          sim::user::Type("ddlbHeader", header), sim::user::ChooseIndex("TabStrip1", 0),
          Click("cmdExport"), With([&](Dlg& d) {
              EXPECT_EQ(d.DialogSettings.GreyScale, 0);
              SettingsRecord shown = d.DialogSettings;
              shown.GreyScale = 1;
              shown.Header = header;
              const std::string text = SettingsExportText(shown, '.');
              EXPECT_NE(text.find("\"GreyScale\"=\"1\""), std::string::npos);
              EXPECT_EQ(desk.files.ReadText(path), SettingsExportFile(shown, '.'));
          }),
          Click("cmdCancel")});
    const std::string file = *desk.files.ReadText(path);
    ASSERT_GE(file.size(), 4u);
    EXPECT_EQ(file.substr(0, 4), std::string("\xFF\xFE"
                                             "W\0",
                                             4));
    // "写" is U+5199, "Ł" U+0141: one UTF-16 unit each, low byte first.
    EXPECT_NE(file.find(std::string("\x41\x01u\0k\0", 6)), std::string::npos);
    EXPECT_NE(file.find(std::string("\x99\x51", 2)), std::string::npos);
    EXPECT_EQ(file.size(),
              2 + 2 * (SettingsExportText(Defaults(), '.').size() + 9));  // 9 characters
}

TEST(SettingsExport, FileStaysByteForByteForAsciiAndEncodesEveryPlane) {
    SettingsRecord s;
    EXPECT_EQ(SettingsExportFile(s, '.'), SettingsExportText(s, '.'));
    s.Footer = "\xF0\x9F\x93\xB7|\xFF";  // U+1F4F7, then a byte no UTF-8 text holds
    const std::string file = SettingsExportFile(s, '.');
    EXPECT_NE(file.find(std::string("\x3D\xD8\xF7\xDC|\0\xFD\xFF", 8)), std::string::npos);
}

}  // namespace
}  // namespace orv
