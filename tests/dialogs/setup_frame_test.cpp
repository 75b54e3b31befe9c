#include <gtest/gtest.h>

#include "setup_fixture.h"
#include "unusual_record.h"

namespace orv {
namespace {

using namespace orv::testing;

using SetupFrame = SetupFixture;

// Each tab shows its own page only, and each page's Help opens its topic.
TEST_F(SetupFrame, TabsShowOnePageAndHelpOpensItsTopic) {
    const std::pair<const char*, int> tabs[] = {
        {"&Print Options", 30}, {"Save Optio&ns", 40}, {"&About", 60}, {"&General", 20}};
    sim::FormScript script;
    for (int i = 0; i < 4; ++i) {
        script.push_back(Choose("TabStrip1", tabs[i].first));
        const int page = (i + 1) % 4 + 1;
        script.push_back(With([page](Dlg& d) {
            EXPECT_EQ(d.CurrentPage, page);
            for (int p = 1; p <= 4; ++p) EXPECT_EQ(d.ui.frMain[p - 1]->visible(), p == page) << p;
        }));
        script.push_back(Click("cmdHelpPageSetup", page - 1));
    }
    script.push_back(Click("cmdCancel"));
    Open(script);
    std::vector<std::pair<std::string, int>> expected;
    for (auto [tab, topic] : tabs)
        expected.emplace_back("C:\\Program Files\\Orvanex\\Orvanex.hlp", topic);
    EXPECT_EQ(desk.help.shown, expected);
}

// What OK stores when nothing was edited: every field as it was, with the
// documented exception of an orientation neither option shows.
TEST_F(SetupFrame, OkWithoutEditsKeepsEveryField) {
    SettingsRecord edited = Unusual();
    edited.GlobalSettings = 0, edited.Printer = "Colour Inkjet";

    struct Case {
        const char* what;
        std::function<void(SettingsRecord&)> stored, expected;
    };
    const Case cases[] = {
        {"defaults", [](SettingsRecord&) {}, [](SettingsRecord&) {}},
        {"every field changed", [&](SettingsRecord& s) { s = edited; },
         [&](SettingsRecord& s) { s = edited; }},
        {"values no control shows",
         [](SettingsRecord& s) {
             s.Key = 99, s.PrintArea = 7, s.SaveFormat = -1, s.HidePopup = -1, s.Save = 5;
         },
         [](SettingsRecord& s) {
             s.Key = 99, s.PrintArea = 7, s.SaveFormat = -1, s.HidePopup = -1, s.Save = 5;
         }},
        {"orientation neither", [](SettingsRecord& s) { s.Orientation = 3; },
         [](SettingsRecord& s) { s.Orientation = 2; }},
    };
    st.Settings = SettingsRecord{};
    for (const auto& c : cases) {
        SettingsRecord want;
        c.stored(st.Settings);
        c.expected(want);
        Open({With([](Dlg& d) {
                  // Nothing shows a value outside its control's choices.
                  const auto& s = d.DialogSettings;
                  EXPECT_EQ(d.ui.ddlbKey->listIndex() < 0, s.Key == 99);
                  EXPECT_EQ(d.ui.obOrientation[0]->value() + d.ui.obOrientation[1]->value(),
                            s.Orientation == 3 ? 0 : 1);
              }),
              Click("cmdOK")});
        EXPECT_EQ(st.Settings, want) << c.what;
        EXPECT_TRUE(desk.messageBoxes.empty()) << c.what;
        st.Settings = SettingsRecord{};
    }
}

TEST_F(SetupFrame, GonePrinterIsReportedOncePerFillAndFallsBackOnOk) {
    st.Settings.Printer = "Gone Printer";
    Open({With([&](Dlg& d) {
              EXPECT_EQ(BoxTexts(desk).size(), 1u);
              EXPECT_EQ(d.ui.ddlbPrinter->text(), "<Default Printer>");
              EXPECT_EQ(st.Settings.Printer, "Gone Printer");  // only OK moves it on
          }),
          Click("cmdOK")});
    EXPECT_EQ(desk.messageBoxes.size(), 1u);
    EXPECT_EQ(st.Settings.Printer, "<Default Printer>");
}

// Reset twice: defaults, one entry per printer, Share ticked, Cancel and Esc
// dead; the close box leaves without changing anything stored, then or at Exit.
TEST_F(SetupFrame, ResetDefaultsThenCloseBoxThenExit) {
    st.Settings.GlobalSettings = 0;
    st.Settings.Printer = "Colour Inkjet";
    st.Settings.Counter = 9;
    st.Settings.Enabled = false;
    const SettingsRecord before = st.Settings;
    const std::vector<std::string> printers = {"<Default Printer>", "Office Laser",
                                               "Colour Inkjet"};
    Open({Click("cmdReset"), Click("cmdReset"), With([&](Dlg& d) {
              EXPECT_EQ(d.ui.ddlbPrinter->list(), printers);
              EXPECT_EQ(d.ui.cbxGlobalSettings->value(), 1);
              EXPECT_FALSE(d.ui.cmdCancel->enabled());
              EXPECT_EQ(d.DialogSettings, Defaults());
              EXPECT_EQ(st.Settings, before);
          }),
          sim::user::Key(27), With([](Dlg& d) { EXPECT_TRUE(d.loaded()); }), Click("cmdCancel"),
          With([](Dlg& d) { EXPECT_TRUE(d.loaded()); }), sim::user::Close()});
    EXPECT_EQ(desk.messageBoxes.size(), 2u);
    EXPECT_EQ(desk.messageBoxes[0].style, mb::kYesNo | mb::kQuestion);
    EXPECT_EQ(st.Settings, before);
    EXPECT_EQ(desk.registry.writes(), 0);
    program.container().mnuExit_Click();
    EXPECT_EQ(Reg(desk, RegRoot::CurrentUser, "Counter"), "9");
    EXPECT_EQ(Reg(desk, RegRoot::CurrentUser, "Enabled"), "False");
    EXPECT_EQ(Reg(desk, RegRoot::LocalMachine, "Counter"), "<none>");
}

TEST_F(SetupFrame, FocusTimerActsOnceAfterEachFill) {
    Open({With([&](Dlg&) { EXPECT_EQ(proc.forms.record("Setup").activations, 0); }),
          sim::user::Wait(0.2), With([&](Dlg&) {
              EXPECT_EQ(proc.forms.record("Setup").activations, 1);
              EXPECT_EQ(proc.forms.record("Setup").focusedControl, "cmdOK");
          }),
          sim::user::Wait(2), Click("cmdReset"), sim::user::Wait(0.2),
          With([&](Dlg&) { EXPECT_EQ(proc.forms.record("Setup").activations, 2); }),
          sim::user::Close()});
}

TEST_F(SetupFrame, SecondConfigureOnlyFocusesAndExitClosesWithoutSaving) {
    Open({With([&](Dlg&) {
              EXPECT_TRUE(st.SettingsDialogOpen);
              program.container().OnTrayNotify(0x203);  // double-click on the icon
              EXPECT_EQ(proc.forms.record("Setup").loads, 1);
              EXPECT_EQ(proc.forms.record("Setup").activations, 1);
          }),
          Click("cbxShowIcon"), With([&](Dlg&) { program.container().mnuExit_Click(); })});
    EXPECT_TRUE(proc.quitRequested());
    EXPECT_EQ(st.Settings.ShowIcon, 1);
    EXPECT_EQ(program.settingsDialog().dialog(), nullptr);
}

TEST_F(SetupFrame, OkSavesAndTheTrayIconFollows) {
    Open({Click("cbxShowIcon"), Click("cmdOK")});
    EXPECT_EQ(st.Settings.ShowIcon, 0);
    EXPECT_EQ(Reg(desk, RegRoot::LocalMachine, "ShowIcon"), "0");
    EXPECT_FALSE(desk.tray.visible());
}

}  // namespace
}  // namespace orv
