#include <gtest/gtest.h>

#include <deque>

#include "setup_fixture.h"

namespace orv {
namespace {

using namespace orv::testing;

using SetupGeneral = SetupFixture;

TEST_F(SetupGeneral, OnlyThePredefinedAreaShowsAndDefinesTheArea) {
    const uint32_t shown = platform::colour::kButtonText, hidden = platform::colour::kButtonFace;
    sim::FormScript script;
    for (int option : {1, 0, 3, 2, 1}) {
        script.push_back(Click("obPrintArea", option));
        script.push_back(With([=](Dlg& d) {
            EXPECT_EQ(d.ui.cmdDefineArea->enabled(), option == 1) << option;
            EXPECT_EQ(d.ui.lblCoOrd->state().foreColour, option == 1 ? shown : hidden) << option;
            EXPECT_EQ(d.ui.lblCoOrd->caption(), "(0,0 to 639,479)");
        }));
    }
    script.push_back(Click("cmdCancel"));
    Open(script);
}

TEST_F(SetupGeneral, DefineAreaTakesTwoCornersInOrder) {
    struct Case {
        platform::Point first, second;
        bool accepted;
    };
    const Case cases[] = {
        {{10, 20}, {300, 400}, true},
        // a monitor left of and above the primary one
        {{-1280, -5}, {-100, 500}, true},
        {{50, 50}, {50, 60}, false},
        {{50, 50}, {40, 60}, false},
        {{50, 50}, {60, 40}, false},
        {{50, 50}, {60, 50}, false},
    };
    for (const auto& c : cases) {
        st.Settings.PrintArea = 1;
        std::deque<platform::Point> corners = {c.first, c.second};
        // The user moves the pointer while each box is up.
        desk.onMessageBox = [&](const sim::MessageBoxRecord&) {
            if (!corners.empty()) desk.cursor = corners.front(), corners.pop_front();
        };
        desk.messageBoxes.clear();
        Open({Click("cmdDefineArea"), Click("cmdOK")});
        const SettingsRecord& s = st.Settings;
        SCOPED_TRACE(std::to_string(c.first.x) + "," + std::to_string(c.second.x));
        const std::array<int, 4> kept = {0, 0, 639, 479},
                                 taken = {c.first.x, c.first.y, c.second.x, c.second.y};
        EXPECT_EQ((std::array<int, 4>{s.x1, s.y1, s.x2, s.y2}), c.accepted ? taken : kept);
        ASSERT_EQ(desk.messageBoxes.size(), c.accepted ? 2u : 3u);
        EXPECT_NE(desk.messageBoxes[0].text.find("'Top Left'"), std::string::npos);
        EXPECT_NE(desk.messageBoxes[1].text.find("'Bottom Right'"), std::string::npos);
        st.Settings = SettingsRecord{};
    }
}

// Each branch of "Share User Settings". The working copy starts with Counter
// 1 (what is on screen); the machine's shared settings hold 200 and this
// user's own 300, so the counter tells which settings the dialog then shows.
TEST_F(SetupGeneral, SharedSettingsSwitch) {
    const char* toShared = "Do you want to use the current settings as as the new global settings?";
    const char* revert = "Are you sure that you want to revert to global settings?";
    const char* toUser = "Do you want to use the current settings as your new user settings?";
    struct Case {
        const char* what;
        int16_t global;
        const char* chooser;  // nullptr: this user has none
        std::vector<int> answers;
        bool refuseUserWrites;
        std::vector<std::string> questions;
        const char* chooserAfter;
        int boxAfter;
        int16_t globalAfter;
        int32_t counterShown;
        bool cancelEnabled;
    };
    // clang-format off
    const Case cases[] = {
        {"tick, keep screen", 0, "0", {mb::kIdYes}, false, {toShared}, "1", 1, 1, 1, false},
        {"tick, revert", 0, "0", {mb::kIdNo, mb::kIdYes}, false, {toShared, revert}, "1", 1, 1, 200, false},
        {"tick, no and no", 0, "0", {mb::kIdNo, mb::kIdNo}, false, {toShared, revert}, "0", 0, 0, 1, true},
        {"untick, no chooser", 1, nullptr, {}, false, {}, "<none>", 0, 0, 1, false},
        {"untick, keep screen", 1, "1", {mb::kIdYes}, false, {toUser}, "1", 0, 0, 1, false},
        {"untick, load own", 1, "1", {mb::kIdNo}, false, {toUser}, "0", 0, 0, 300, false},
        {"tick, revert, write refused", 0, nullptr, {mb::kIdNo, mb::kIdYes}, true,
         {toShared, revert, "Failed to save settings to registry"}, "<none>", 1, 1, 200, false},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        SimProgram fresh;  // registry and program of this case only
        ASSERT_TRUE(fresh.program.Start("-startup"));
        auto& reg = fresh.desk.registry;
        reg.Put(RegRoot::LocalMachine, kKey, "Counter", "200");
        reg.Put(RegRoot::CurrentUser, kKey, "Counter", "300");
        if (c.chooser) reg.Put(RegRoot::CurrentUser, kKey, "GlobalSettings", c.chooser);
        reg.RefuseWrites(RegRoot::CurrentUser, c.refuseUserWrites);
        fresh.st.Settings.GlobalSettings = c.global;
        fresh.st.Settings.Counter = 1;
        fresh.desk.messageBoxAnswers = {c.answers.begin(), c.answers.end()};
        fresh.proc.forms.OnAppear(
            "Setup", {Click("cbxGlobalSettings"), With([&](Dlg& d) {
                          EXPECT_EQ(d.ui.cbxGlobalSettings->value(), c.boxAfter);
                          EXPECT_EQ(d.DialogSettings.GlobalSettings, c.globalAfter);
                          EXPECT_EQ(d.ui.lblCounter->caption(), std::to_string(c.counterShown));
                          EXPECT_EQ(d.ui.cmdCancel->enabled(), c.cancelEnabled);
                      }),
                      sim::user::Close()});
        fresh.program.container().Configure();
        EXPECT_EQ(BoxTexts(fresh.desk), c.questions);
        EXPECT_EQ(Reg(fresh.desk, RegRoot::CurrentUser, "GlobalSettings"), c.chooserAfter);
        // A reload is live at once; the other branches leave the settings alone.
        EXPECT_EQ(fresh.st.Settings.Counter, c.counterShown);
    }
}

}  // namespace
}  // namespace orv
