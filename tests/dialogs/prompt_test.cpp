#include "dialogs/prompt.h"

#include <gtest/gtest.h>

#include "capture_rig.h"

namespace orv {
namespace {

using namespace orv::testing;
using gesture::Do;
using sim::user::Choose;
using sim::user::Click;

// What the dialog shows as it opens.
struct Shown {
    int area = -1;  // the selected obPrintArea index, -1 for none
    std::string printer;
    std::vector<std::string> entries;
    bool listEnabled = true;
    int save = -1;
    bool operator==(const Shown&) const = default;
};

Shown Read(const platform::FormEvents& f) {
    Shown s;
    for (int id = 0; id < f.ControlCount(); ++id) {
        const auto& c = f.ControlAt(id);
        if (c.name == "obPrintArea" && c.value == 1) s.area = c.index;
        if (c.name == "ddlbPrinter")
            s.printer = c.text, s.entries = c.list, s.listEnabled = c.enabled;
        if (c.name == "cbxSave") s.save = c.value;
    }
    return s;
}

struct OnTheFly : CaptureRig {
    OnTheFly() {
        st.Settings.OnTheFly = 1;
        desk.printing.printers = {"Office Laser", "Colour Inkjet"};
    }
    // One capture with the user's actions on the dialog; returns what it showed.
    Shown Capture(sim::FormScript script) {
        Shown shown;
        script.insert(script.begin(), Do([&](platform::FormEvents& f) { shown = Read(f); }));
        proc.forms.OnAppear("Prompt", std::move(script));
        PressCaptureKey();
        EXPECT_EQ(proc.forms.pendingScripts("Prompt"), 0) << "the dialog did not open";
        return shown;
    }
};

class PromptTest : public ::testing::Test, public OnTheFly {};

TEST_F(PromptTest, OpensOnTheCaptureSettingsAndOkWithoutChangesKeepsThem) {
    const std::string d = "<Default Printer>", x = "<Disabled>", a = "Office Laser",
                      b = "Colour Inkjet";
    struct Case {
        const char* what;
        int16_t area, print;
        std::string printer;
        int16_t save;
        bool listAvailable;
        Shown shown;
        std::string printerAfter;  // CaptureSettings.Printer after OK
        int boxes;                 // the gone printer is reported
    };
    // clang-format off
    const Case cases[] = {
        {"defaults", 0, 1, d, 0, true, {0, d, {d, a, b, x}, true, 0}, d, 0},
        {"printing off", 3, 0, b, 0, true, {3, x, {d, a, b, x}, true, 0}, b, 0},
        {"named printer, saving", 0, 1, b, 1, true, {0, b, {d, a, b, x}, true, 1}, b, 0},
        {"pre-defined area has no option", 1, 1, a, 0, true, {-1, a, {d, a, b, x}, true, 0}, a, 0},
        {"stored printer gone, printing off", 0, 0, "Gone", 0, true, {0, x, {d, a, b, x}, true, 0}, d, 1},
        {"stored printer gone", 0, 1, "Gone", 0, true, {0, d, {d, a, b, x}, true, 0}, d, 1},
        {"printer lists unavailable", 0, 1, b, 0, false, {0, d, {d, x}, false, 0}, d, 0},
    };
    // clang-format on
    for (const auto& c : cases) {
        OnTheFly rig;
        SCOPED_TRACE(c.what);
        rig.st.Settings.PrintArea = c.area;
        rig.st.Settings.PrintScreen = c.print;
        rig.st.Settings.Printer = c.printer;
        rig.st.Settings.Save = c.save;
        rig.st.PrinterListAvailable = c.listAvailable;
        rig.st.Settings.x2 = rig.st.Settings.y2 = 99;  // inside the screen
        rig.desk.dialogs.saveAnswers.push_back(platform::SaveDialogResult{"C:\\s.bmp", 3});
        SettingsRecord before = rig.st.Settings;
        EXPECT_EQ(rig.Capture({Click("cmdOK")}), c.shown);
        const SettingsRecord& cs = rig.st.CaptureSettings;
        EXPECT_EQ(cs.PrintArea, c.area);
        EXPECT_EQ(cs.PrintScreen, c.shown.printer == x ? 0 : 1);
        EXPECT_EQ(cs.Printer, c.printerAfter);
        EXPECT_EQ(cs.Save, c.save);
        EXPECT_EQ(static_cast<int>(rig.desk.messageBoxes.size()), c.boxes);
        before.Counter = c.save;  // a save advances the counter, nothing else changes
        EXPECT_EQ(rig.st.Settings, before);
        EXPECT_FALSE(rig.st.CaptureCancelled);
    }
}

TEST_F(PromptTest, ChoicesCarryOverToTheNextCapturesOnly) {
    const std::string d = "<Default Printer>", x = "<Disabled>";
    st.Settings.PrintScreen = 0;
    const SettingsRecord settings = st.Settings;

    // First of the run, printing off: choosing a printer prints this capture.
    Shown first =
        Capture({Choose("ddlbPrinter", "Colour Inkjet"), Click("obPrintArea", 3), Click("cmdOK")});
    EXPECT_EQ(first.printer, x);
    EXPECT_EQ(first.area, 0);
    ASSERT_EQ(desk.printing.documents.size(), 1u);
    EXPECT_EQ(desk.printing.documents[0].printer, "Colour Inkjet");
    EXPECT_EQ(st.Settings, settings);

    // Whatever the settings now say, the dialog opens on the last choices; Cancel ends quietly.
    st.Settings.Printer = "Office Laser";
    st.Settings.PrintScreen = 1;
    st.Settings.Save = 1;
    Shown second = Capture({Click("cmdCancel")});
    EXPECT_EQ(second.printer, "Colour Inkjet");
    EXPECT_EQ(second.area, 3);
    EXPECT_EQ(second.save, 0);
    EXPECT_TRUE(st.CaptureCancelled);
    EXPECT_EQ(desk.printing.documents.size(), 1u);
    EXPECT_TRUE(desk.files.List().empty());

    // The cancelled dialog's choices are kept too. Save ticked always asks for the name.
    desk.dialogs.saveAnswers.push_back(platform::SaveDialogResult{"C:\\asked.bmp", 3});
    Shown third = Capture(
        {Click("cbxSave"), Choose("ddlbPrinter", x), Click("obPrintArea", 0), Click("cmdOK")});
    EXPECT_EQ(third, second);
    EXPECT_EQ(desk.dialogs.saveRequests.size(), 1u);
    EXPECT_TRUE(desk.files.Read("C:\\asked.bmp"));
    EXPECT_EQ(desk.printing.documents.size(), 1u);

    // Save unticked writes nothing, though the settings save.
    Shown fourth = Capture({Click("cbxSave"), Click("cmdOK")});
    EXPECT_EQ(fourth.save, 1);
    EXPECT_EQ(fourth.printer, x);
    EXPECT_EQ(desk.files.List().size(), 1u);
    EXPECT_EQ(*desk.clipboard.bitmap(), desk.screen);
    EXPECT_EQ(desk.dialogs.saveRequests.size(), 1u);
}

TEST_F(PromptTest, EveryWayOfClosingDecidesTheCapture) {
    struct Case {
        const char* what;
        sim::FormAction action;
        bool cancelled;
    };
    const Case cases[] = {
        {"OK", Click("cmdOK"), false},           {"Enter", sim::user::Key(13), false},
        {"Cancel", Click("cmdCancel"), true},    {"Escape", sim::user::Key(27), true},
        {"close box", sim::user::Close(), true},
    };
    for (const auto& c : cases) {
        OnTheFly rig;
        rig.st.Settings.Save = 1;                // a capture that goes on saves a file
        rig.st.CaptureCancelled = !c.cancelled;  // what an earlier capture may have left
        rig.desk.dialogs.saveAnswers.push_back(platform::SaveDialogResult{"C:\\cap.bmp", 3});
        rig.Capture({Choose("ddlbPrinter", "Office Laser"), c.action});
        SCOPED_TRACE(c.what);
        EXPECT_EQ(rig.st.CaptureCancelled, c.cancelled);
        EXPECT_EQ(rig.desk.files.List().size(), c.cancelled ? 0u : 1u);
        EXPECT_EQ(rig.desk.printing.documents.size(), c.cancelled ? 0u : 1u);
        EXPECT_FALSE(rig.st.OptionsDialogOpen);
        EXPECT_EQ(rig.proc.forms.loadedCount(), 0);
        // Kept whichever way it closed: what OK applied, or what the dialog opened with.
        Shown next = rig.Capture({Click("cmdCancel")});
        EXPECT_EQ(next.printer, c.cancelled ? "<Disabled>" : "Office Laser");
    }
}

TEST_F(PromptTest, WhileOpenItStaysOnTopTakesTheFocusOnceAndAnswersConfigure) {
    int settingsShown = 0;
    program.container().hooks.showSettingsDialog = [&] { ++settingsShown; };
    sim::SimForms::Record early, later;
    bool open = false;
    Capture({Do([&](platform::FormEvents&) {
                 early = proc.forms.record("Prompt");
                 open = st.OptionsDialogOpen;
             }),
             sim::user::Wait(1.0), Do([&](platform::FormEvents&) {
                 desk.menuChoices.push_back("&Configure");
                 program.container().OnTrayNotify(0x205);
                 later = proc.forms.record("Prompt");
             }),
             Click("cmdCancel")});
    EXPECT_TRUE(open);
    EXPECT_FALSE(st.OptionsDialogOpen);
    EXPECT_TRUE(early.topmost);
    EXPECT_EQ(early.activations, 0);
    EXPECT_EQ(early.focusedControl, "");
    // Five timer ticks, one focus; then Configure brings it forward once more.
    EXPECT_EQ(later.focusedControl, "cmdOK");
    EXPECT_EQ(later.activations, 2);
    proc.RunFor(0.5);
    EXPECT_EQ(settingsShown, 0);
}

}  // namespace
}  // namespace orv
