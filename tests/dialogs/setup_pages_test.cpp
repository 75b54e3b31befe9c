#include <gtest/gtest.h>

#include "setup_fixture.h"
#include "state/settings_store.h"

namespace orv {
namespace {

using namespace orv::testing;

using SetupPages = SetupFixture;

TEST_F(SetupPages, SpinButtonsStepWithinTheirBounds) {
    struct Case {
        const char* spin;
        TextField SetupControls::*box;
        int16_t resize, fade;  // the two check fields
        double start;
        int direction, clicks;
        const char* expected;
    };
    const Case cases[] = {
        {"udResize", &SetupControls::tbResize, 1, 0, 299, +1, 3, "300"},
        {"udResize", &SetupControls::tbResize, 1, 0, 11, -1, 3, "10"},
        {"udResize", &SetupControls::tbResize, 1, 0, 12.5, -1, 1, "11.5"},
        {"udResize", &SetupControls::tbResize, 0, 0, 100, +1, 1,
         "100"},  // unticked: the arrow is dead
        {"udFade", &SetupControls::tbFade, 0, 1, 79, +1, 2, "80"},
        {"udFade", &SetupControls::tbFade, 0, 1, 1, -1, 2, "0"},
        {"udFade", &SetupControls::tbFade, 0, 0, 40, -1, 1, "40"},
        {"udPageBorder", &SetupControls::tbPageBorder, 0, 0, 0, +1, 31, "30"},
        {"udPageBorder", &SetupControls::tbPageBorder, 0, 0, 1, -1, 2, "0"},
    };
    for (const auto& c : cases) {
        st.Settings = SettingsRecord{};
        st.Settings.Resize = c.resize;
        st.Settings.Fade = c.fade;
        st.Settings.ResizeScale = st.Settings.FadeScale = c.start;
        st.Settings.PageBorder = static_cast<int16_t>(c.start);
        sim::FormScript script{Choose("TabStrip1", "&Print Options")};
        for (int i = 0; i < c.clicks; ++i) script.push_back(sim::user::Spin(c.spin, c.direction));
        script.push_back(With([&](Dlg& d) {
            EXPECT_EQ((d.ui.*c.box)->text(), c.expected) << c.spin << " from " << c.start;
        }));
        script.push_back(Click("cmdCancel"));
        desk.messageBoxes.clear();
        Open(script);
    }
}

TEST_F(SetupPages, CheckBoxesDriveTheirDependentsAndKeepHiddenValues) {
    st.Settings.PrintScreen = 1;
    st.Settings.Save = 1;
    st.Settings.Resize = 1;
    st.Settings.SaveFormat = 2;
    Open({With([](Dlg& d) {
              EXPECT_TRUE(d.ui.frmPrint->visible());
              EXPECT_TRUE(d.ui.frmSave->visible());
              EXPECT_EQ(d.ui.tbResize->state().backColour, kActiveColour);
              EXPECT_TRUE(d.ui.udResize->enabled());
              EXPECT_EQ(d.ui.tbFade->state().backColour, kInactiveColour);
              EXPECT_FALSE(d.ui.udFade->enabled());
          }),
          Choose("TabStrip1", "&Print Options"), Click("cbxResize"), Click("cbxPrintScreen"),
          Choose("TabStrip1", "Save Optio&ns"), Click("cbxSave"), With([](Dlg& d) {
              EXPECT_FALSE(d.ui.frmPrint->visible());
              EXPECT_FALSE(d.ui.frmSave->visible());
              EXPECT_EQ(d.ui.tbResize->state().backColour, kInactiveColour);
              EXPECT_FALSE(d.ui.udResize->enabled());
          }),
          Click("cmdOK")});
    EXPECT_EQ(st.Settings.PrintScreen, 0);
    EXPECT_EQ(st.Settings.Save, 0);
    EXPECT_EQ(st.Settings.Resize, 0);
    EXPECT_EQ(st.Settings.SaveFormat, 2);
}

TEST_F(SetupPages, BrowseLeavesTheFolderWithItsSeparator) {
    struct Case {
        std::optional<std::string> picked;
        bool fails;
        std::string expected;
        std::size_t boxes = 0;
    };
    const std::string deep =
        "D:\\" + std::string(250, 'x');  // 254 with its separator, 255 with one more
    const Case cases[] = {
        {"D:\\Shots", false, "D:\\Shots\\"},
        {"C:\\", false, "C:\\"},
        {std::nullopt, false, "E:\\Old\\"},  // cancelled
        {"D:\\Shots", true, "E:\\Old\\"},    // the picker failed
        {deep, false, deep + "\\"},
        {deep + "y", false, "E:\\Old\\", 1},  // too long to keep: not cut to another folder
    };
    for (const auto& c : cases) {
        st.Settings.SaveFolder = "E:\\Old\\";
        st.Settings.Save = 1;
        desk.dialogs.folderAnswers = {c.picked};
        desk.dialogs.failFolderBrowser = c.fails;
        Open({Choose("TabStrip1", "Save Optio&ns"), Click("cmdBrowse"), Click("cmdOK")});
        EXPECT_EQ(st.Settings.SaveFolder, c.expected);
        EXPECT_EQ(desk.messageBoxes.size(), c.boxes);
        desk.messageBoxes.clear();
    }
}

TEST_F(SetupPages, ResetCounterAnswers) {
    struct Case {
        std::optional<std::string> answer;
        int32_t expected;
        bool invalidMessage;
    };
    // clang-format off
    const Case cases[] = {
        {"12.5", 12, false},       {"13.5", 14, false},         {"0", 0, false},
        {"-1", 5, false},          {"100000000", 5, false},     {"99999999.6", 100000000, false},
        {"-0.4", 5, false},        {"abc", 5, true},            {"", 5, false},
        {std::nullopt, 5, false},
    };
    // clang-format on
    for (const auto& c : cases) {
        st.Settings.Counter = 5;
        st.Settings.Save = 1;
        desk.messageBoxes.clear();
        desk.inputPrompts.clear();
        desk.inputBoxAnswers = {c.answer};
        Open({Choose("TabStrip1", "Save Optio&ns"), Click("cmdResetCounter"), With([&](Dlg& d) {
                  EXPECT_EQ(d.ui.lblCounter->caption(), std::to_string(c.expected));
              }),
              Click("cmdOK")});
        const std::string what = c.answer.value_or("<cancel>");
        EXPECT_EQ(st.Settings.Counter, c.expected) << what;
        ASSERT_EQ(desk.inputPrompts.size(), 1u);
        EXPECT_NE(desk.inputPrompts[0].find(": 5\r\n"), std::string::npos);
        // Modal to the settings dialog: its OK waits until the box is answered.
        EXPECT_EQ(desk.inputOwners.back(), "Setup");
        ASSERT_EQ(desk.messageBoxes.size(), c.invalidMessage ? 1u : 0u) << what;
    }
}

// Each control moved alone from a record whose fields all differ from their
// neighbours': OK must change its own field and nothing else, so two boxes
// wired to each other's fields show.
TEST_F(SetupPages, EachControlMovesItsOwnFieldOnly) {
    SettingsRecord base;
    base.PrintArea = 0, base.Key = 44, base.OnTheFly = 0, base.ShowIcon = 1, base.HidePopup = 0;
    base.AutoLoad = 1, base.PrintScreen = 1, base.Orientation = 2, base.GreyScale = 0,
    base.Negative = 1;
    base.StretchImage = 0, base.Resize = 1, base.ResizeScale = 150, base.Fade = 1,
    base.FadeScale = 20;
    base.PageBorder = 4, base.Printer = "Office Laser", base.Header = "h", base.Footer = "f",
    base.Save = 1;
    base.SaveFormat = 1, base.SaveFolder = "E:\\Old\\", base.SaveFileName = "old";
    using sim::user::ChooseIndex;
    using sim::user::Spin;
    using sim::user::Type;
    using Field = std::function<void(SettingsRecord&)>;
    const char* general = "&General";
    const char* print = "&Print Options";
    const char* save = "Save Optio&ns";
    struct Move {
        const char* tab;
        sim::FormAction action;
        Field change;
    };
    const Move moves[] = {
        {general, Click("obPrintArea", 2), [](SettingsRecord& s) { s.PrintArea = 2; }},
        {general, ChooseIndex("ddlbKey", 3), [](SettingsRecord& s) { s.Key = 123; }},
        {general, Click("cbxOnTheFly"), [](SettingsRecord& s) { s.OnTheFly = 1; }},
        {general, Click("cbxShowIcon"), [](SettingsRecord& s) { s.ShowIcon = 0; }},
        {general, Click("cbxHidePopup"), [](SettingsRecord& s) { s.HidePopup = 1; }},
        {general, Click("cbxAutoLoad"), [](SettingsRecord& s) { s.AutoLoad = 0; }},
        {print, Click("cbxPrintScreen"), [](SettingsRecord& s) { s.PrintScreen = 0; }},
        {print, Click("obOrientation", 0), [](SettingsRecord& s) { s.Orientation = 1; }},
        {print, Click("cbxGreyscale"), [](SettingsRecord& s) { s.GreyScale = 1; }},
        {print, Click("cbxNegative"), [](SettingsRecord& s) { s.Negative = 0; }},
        {print, Click("cbxStretchImage"), [](SettingsRecord& s) { s.StretchImage = 1; }},
        {print, Click("cbxResize"), [](SettingsRecord& s) { s.Resize = 0; }},
        {print, Spin("udResize", +1), [](SettingsRecord& s) { s.ResizeScale = 151; }},
        {print, Click("cbxFade"), [](SettingsRecord& s) { s.Fade = 0; }},
        {print, Spin("udFade", -1), [](SettingsRecord& s) { s.FadeScale = 19; }},
        {print, Spin("udPageBorder", +1), [](SettingsRecord& s) { s.PageBorder = 5; }},
        {print, Choose("ddlbPrinter", "Colour Inkjet"),
         [](SettingsRecord& s) { s.Printer = "Colour Inkjet"; }},
        {print, Choose("ddlbHeader", "[date] - [time]"),
         [](SettingsRecord& s) { s.Header = "[date] - [time]"; }},
        {print, Type("ddlbFooter", "my own"), [](SettingsRecord& s) { s.Footer = "my own"; }},
        {save, Click("cbxSave"), [](SettingsRecord& s) { s.Save = 0; }},
        {save, Click("obSaveFormat", 0), [](SettingsRecord& s) { s.SaveFormat = 0; }},
        {save, Click("obSaveFormat", 3), [](SettingsRecord& s) { s.SaveFormat = 3; }},
        {save, Type("tbSaveFolder", "F:\\x\\"),
         [](SettingsRecord& s) { s.SaveFolder = "F:\\x\\"; }},
        {save, Type("ddlbSaveFilename", "A-[counter]"),
         [](SettingsRecord& s) { s.SaveFileName = "A-[counter]"; }},
    };
    for (std::size_t i = 0; i < std::size(moves); ++i) {
        st.Settings = base;
        Open({Choose("TabStrip1", moves[i].tab), moves[i].action, Click("cmdOK")});
        SettingsRecord want = base;
        moves[i].change(want);
        EXPECT_EQ(st.Settings, want)
            << "move " << i << ": " << moves[i].action.control << " " << moves[i].action.index;
        EXPECT_TRUE(desk.messageBoxes.empty()) << i;
    }
}

// The text boxes hold what a read gives back (254 characters as Windows
// counts them), cut only before a character, so what OK stores comes back
// whole at the next start.
TEST(SetupTextLimit, BoxesHoldWhatTheRegistryReturns) {
    const std::string l = "\xC5\x81";               // "Ł": two bytes, one unit
    const std::string camera = "\xF0\x9F\x93\xB7";  // U+1F4F7: four bytes, two units
    std::string polish;
    for (int i = 0; i < 127; ++i) polish += l;
    struct Case {
        std::string typed, held;
    };
    const Case cases[] = {
        {std::string(254, 'a'), std::string(254, 'a')},
        {std::string(255, 'a'), std::string(254, 'a')},
        {polish + polish + l, polish + polish},  // 510 bytes, 255 units
        {std::string(252, 'a') + camera, std::string(252, 'a') + camera},
        {std::string(253, 'a') + camera, std::string(253, 'a')},
    };
    using C = SetupControls;
    using R = SettingsRecord;
    const std::tuple<const char*, TextField C::*, std::string R::*, int> boxes[] = {
        {"ddlbHeader", &C::ddlbHeader, &R::Header, 1},
        {"ddlbFooter", &C::ddlbFooter, &R::Footer, 1},
        {"ddlbSaveFilename", &C::ddlbSaveFilename, &R::SaveFileName, 2},
        {"tbSaveFolder", &C::tbSaveFolder, &R::SaveFolder, 2}};
    for (const auto& [box, handle, field, tab] : boxes) {
        for (const Case& c : cases) {
            SimProgram p;
            ASSERT_TRUE(p.program.Start("-startup"));
            p.st.Settings.PrintScreen = p.st.Settings.Save = 1;  // both pages' boxes in reach
            p.proc.forms.OnAppear(
                "Setup", {sim::user::ChooseIndex("TabStrip1", tab), sim::user::Type(box, c.typed),
                          SetupFixture::With([&](Dlg& d) {
                              EXPECT_EQ((d.ui.*handle)->text(), c.held)
                                  << box << " " << c.typed.size();
                          }),
                          Click("cmdOK")});
            p.program.container().Configure();
            LoadSettings(p.ctx);
            const std::string& read = p.st.Settings.*field;
            EXPECT_EQ(read, c.held) << box << " " << c.typed.size();
        }
    }
}

}  // namespace
}  // namespace orv
