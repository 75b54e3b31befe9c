#include "app/snipping_notice.h"

#include <gtest/gtest.h>

#include "capture/decoders.h"
#include "capture_rig.h"

namespace orv {
namespace {

using namespace orv::testing;
namespace mb = platform::mb;

std::string Dword(uint32_t v) {
    return std::string{char(v), char(v >> 8), char(v >> 16), char(v >> 24)};
}

TEST(PrintScreenSnipping, AskedOnlyWhenTheKeyOpensWindowsCaptureAndChangedOnlyOnYes) {
    struct Case {
        const char* what;
        unsigned build;
        std::optional<std::string> stored;
        int key;
        int answer;  // 0: no box expected
        std::optional<std::string> after;
        bool declinedAfter;
    };
    const std::optional<std::string> none;
    const Case cases[] = {
        {"Windows 11 default, Yes", 22631, none, 44, mb::kIdYes, Dword(0), false},
        {"Windows 11 default, No", 22631, none, 44, mb::kIdNo, none, true},
        {"Windows 11, switched off", 22631, Dword(0), 44, 0, Dword(0), false},
        {"Windows 11, F11 as capture key", 22631, none, 122, mb::kIdNo, none, true},
        {"Windows 11 2021 release, default", 22000, none, 44, 0, none, false},
        {"Windows 10, switched on, Yes", 19045, Dword(1), 44, mb::kIdYes, Dword(0), false},
        {"not a DWORD: Windows' default", 19045, std::string("1\0", 2), 44, 0,
         std::string("1\0", 2), false},
    };
    for (const auto& c : cases) {
        SimProgram p;
        p.desk.osVersion.build = c.build;
        if (c.stored)
            p.desk.registry.PutRaw(RegRoot::CurrentUser, kKeyboardKeyPath, kSnippingValue,
                                   *c.stored);
        p.desk.registry.Put(RegRoot::LocalMachine, kKey, "Key", std::to_string(c.key));
        if (c.answer) p.desk.messageBoxAnswers = {c.answer};
        ASSERT_TRUE(p.program.Start("-startup"));
        ASSERT_EQ(p.desk.messageBoxes.size(), c.answer ? 1u : 0u) << c.what;
        if (c.answer) {
            const auto& box = p.desk.messageBoxes[0];
            EXPECT_EQ(box.style, mb::kYesNo | mb::kQuestion) << c.what;
            EXPECT_NE(box.text.find("may only take effect after you restart the PC"),
                      std::string::npos);
        }
        auto after =
            p.desk.registry.QueryValue(RegRoot::CurrentUser, kKeyboardKeyPath, kSnippingValue, 16);
        EXPECT_EQ(after.status == 0 ? std::optional(after.data) : none, c.after) << c.what;
        EXPECT_EQ(p.desk.registry.Get(RegRoot::CurrentUser, kNoticesKeyPath, kSnippingDeclined)
                      .has_value(),
                  c.declinedAfter)
            << c.what;
        // The settings record and what is exported from it know nothing of this.
        EXPECT_EQ(p.desk.registry.ValueCount(RegRoot::CurrentUser, kKey), 0u) << c.what;
    }
}

// No is remembered for later runs; a refused change is reported, once a run.
TEST(PrintScreenSnipping, AnsweredNoIsNotAskedAgainAndARefusedChangeIsReported) {
    for (int answer : {mb::kIdNo, mb::kIdYes}) {
        SimProgram p;
        p.desk.osVersion.build = 22631;
        p.desk.registry.RefuseWrites(RegRoot::CurrentUser, answer == mb::kIdYes);
        p.desk.messageBoxAnswers = {answer};
        ASSERT_TRUE(p.program.Start("-startup"));
        const std::size_t boxes = answer == mb::kIdYes ? 2 : 1;
        ASSERT_EQ(p.desk.messageBoxes.size(), boxes);
        if (boxes == 2) {
            EXPECT_EQ(p.desk.messageBoxes[1].text.rfind(
                          "Orvanex could not change the setting (error 5)", 0),
                      0u);
        }
        p.st.SnippingNoticeShown = answer == mb::kIdYes;  // No: as in a later run
        p.proc.forms.OnAppear("Setup", {sim::user::Click("cmdCancel")});
        p.program.container().Configure();
        EXPECT_EQ(p.desk.messageBoxes.size(), boxes);
    }
}

// While Windows takes Print Screen, synthesised or pressed, for its capture
// tool, every way in but the key itself still saves what the screen shows.
TEST(PrintScreenSnipping, EveryPathButThePrintScreenKeySavesWhatTheScreenShows) {
    enum Path { kPress, kTray, kSecondStart };
    struct Case {
        const char* what;
        int key, printArea;
        Path path;
        const char* command;
        bool window;  // the active window, not the whole screen
    };
    const Case cases[] = {
        {"F11", 122, 0, kPress, "", false},
        {"F11, active window", 122, 3, kPress, "", true},
        {"tray Save Desktop", 44, 0, kTray, "", false},
        {"second start -printscreen", 122, 0, kSecondStart, "-printscreen", false},
        {"second start -printwindow", 122, 0, kSecondStart, "-printwindow", false},
        {"the Print Screen key", 44, 0, kPress, "", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        SimProgram p;
        p.desk.osVersion.build = 22631;  // on, as Windows 11 ships
        p.desk.screen = Pattern(320, 200);
        p.desk.registry.Put(RegRoot::LocalMachine, kKey, "Key", std::to_string(c.key));
        p.desk.registry.Put(RegRoot::LocalMachine, kKey, "PrintArea", std::to_string(c.printArea));
        p.desk.messageBoxAnswers = {mb::kIdNo};
        ASSERT_TRUE(p.program.Start("-startup"));
        ASSERT_EQ(p.desk.messageBoxes.size(), 1u);  // the notice, whatever the key
        p.st.Settings.Save = 1, p.st.Settings.SaveFormat = 2, p.st.Settings.PrintScreen = 0;
        p.proc.RunFor(0.3);
        if (c.path == kTray) {
            p.desk.dialogs.saveAnswers.push_back(platform::SaveDialogResult{"C:\\tray.bmp", 3});
            p.st.TrayCaptureChoice = 7;
        } else if (c.path == kSecondStart) {
            p.StartAnother(c.command);
        } else {
            p.desk.keyboard.Tap(c.key);
        }
        p.proc.RunFor(4.0);
        const auto files = p.desk.files.List();
        // The key itself: the capture tool opens, nothing is copied or saved.
        const bool key = c.key == 44 && c.path == kPress;
        EXPECT_EQ(p.desk.captureToolOpened, key ? 1 : 0);
        ASSERT_EQ(files.size(), key ? 0u : 1u);
        if (key) {
            EXPECT_TRUE(p.desk.messageBoxes.back().text.starts_with("No new picture"));
            continue;
        }
        EXPECT_EQ(testing::DecodeBmp(*p.desk.files.Read(files[0])).image,
                  c.window ? p.desk.activeWindow : p.desk.screen);
        EXPECT_EQ(p.desk.messageBoxes.size(), 1u);
        EXPECT_TRUE(ClipboardWritesKeptPrivate(p.desk.clipboard));
    }
}

}  // namespace
}  // namespace orv
