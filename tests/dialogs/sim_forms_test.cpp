#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "dialogs/form.h"
#include "platform/sim/sim_desktop.h"

namespace orv {
namespace {

using sim::FormScript;
namespace user = sim::user;

// A small modal dialog: OK (default) and Cancel (cancel) close it, a check
// box, a 200 ms timer that counts its ticks and, when told to, closes the
// window after a number of ticks.
class Dialog : public Form {
public:
    explicit Dialog(platform::FormHost& host) : Form(host, "Dialog") {
        ok.SetDefault(true);
        cancel.SetCancel(true);
        ok.onClick = [this] { result = "ok", Close(); };
        cancel.onClick = [this] { result = "cancel", Close(); };
        timer.onTimer = [this] {
            if (++ticks == closeAfterTicks) Close();
        };
    }
    Control& ok = Add(ControlKind::CommandButton, "cmdOK");
    Control& cancel = Add(ControlKind::CommandButton, "cmdCancel");
    Control& check = Add(ControlKind::CheckBox, "cbxOption");
    Timer& timer = AddTimer("Timer1", 200, true);
    std::string result;
    int ticks = 0, closeAfterTicks = -1, keyUps = 0, resizes = 0;
    bool refuseUserClose = false;

protected:
    void Form_QueryUnload(bool& cancelIt, UnloadMode mode) override {
        if (mode == UnloadMode::ControlMenu) {
            result = result.empty() ? "closebox" : result;
            cancelIt = refuseUserClose;
        }
    }
    void Form_KeyUp(int) override { ++keyUps; }
    void Form_Resize() override { ++resizes; }
};

class SimForms : public ::testing::Test {
protected:
    sim::SimDesktop desktop;
    sim::SimProcess& process = desktop.StartProcess();
    sim::SimForms& forms = process.forms;
};

TEST_F(SimForms, ScriptsDecideHowAModalWindowCloses) {
    struct Case {
        const char* what;
        FormScript script;
        std::string result;
        int check;
    };
    std::vector<Case> cases = {
        {"OK", {user::Click("cmdOK")}, "ok", 0},
        {"tick, Enter", {user::Click("cbxOption"), user::Key(13)}, "ok", 1},
        {"Esc", {user::Key(27)}, "cancel", 0},
        {"close box", {user::Close()}, "closebox", 0},
        {"disabled OK, then Cancel",
         {user::Run([](platform::FormEvents& f) { static_cast<Dialog&>(f).ok.SetEnabled(false); }),
          user::Click("cmdOK"), user::Key(13), user::Click("cmdCancel")},
         "cancel",
         0},
    };
    for (auto& c : cases) {
        forms.OnAppear("Dialog", c.script);
        Dialog d(process.os().forms);
        d.ShowModal();
        EXPECT_EQ(d.result, c.result) << c.what;
        EXPECT_EQ(d.check.value(), c.check) << c.what;
        EXPECT_FALSE(d.loaded()) << c.what;
        EXPECT_EQ(d.ticks, 0) << c.what;  // the script ran before any timer
    }
    EXPECT_EQ(forms.record("Dialog").shows, 5);
    EXPECT_EQ(forms.loadedCount(), 0);
}

TEST_F(SimForms, TimersRunOnTheVirtualClockUntilTheWindowCloses) {
    Dialog d(process.os().forms);
    d.closeAfterTicks = 5;
    double start = desktop.clock.MonotonicSeconds();
    d.ShowModal();  // no script: only the timer closes it
    EXPECT_EQ(d.ticks, 5);
    EXPECT_NEAR(desktop.clock.MonotonicSeconds() - start, 1.0, 1e-6);
    EXPECT_FALSE(process.HasTimer(0));  // unloading stops the window's timers
}

TEST_F(SimForms, WaitingInAScriptLetsTheTimersRun) {
    forms.OnAppear("Dialog", {user::Wait(0.5), user::Run([](platform::FormEvents& f) {
                                  auto& d = static_cast<Dialog&>(f);
                                  d.timer.SetEnabled(false);
                                  d.result = std::to_string(d.ticks);
                              }),
                              user::Wait(1.0), user::Key(27)});
    Dialog d(process.os().forms);
    d.ShowModal();
    EXPECT_EQ(d.ticks, 2);
    EXPECT_EQ(d.result, "cancel");
}

TEST_F(SimForms, AWindowNobodyClosesFailsTheTestClearly) {
    struct Case {
        const char* what;
        FormScript script;
        bool refuse;
        std::string message;
    };
    std::vector<Case> cases = {
        {"no script", {}, false, "modal window 'Dialog' was still open after 50 timer steps"},
        {"close refused", {user::Close()}, true, "still open"},
        {"unknown control", {user::Click("cmdNope")}, false, "has no control cmdNope"},
        {"unknown entry", {user::Choose("cmdOK", "x")}, false, "has no entry \"x\""},
        {"acts after closing", {user::Click("cmdOK"), user::Click("cmdOK")}, false,
         "closed before step 2"},
    };
    forms.stepLimit = 50;
    for (auto& c : cases) {
        if (!c.script.empty()) forms.OnAppear("Dialog", c.script);
        Dialog d(process.os().forms);
        d.refuseUserClose = c.refuse;
        try {
            d.ShowModal();
            ADD_FAILURE() << c.what << ": returned";
        } catch (const std::logic_error& e) {
            EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos)
                << c.what << ": " << e.what();
        }
    }
}

TEST_F(SimForms, EachAppearanceTakesTheNextScript) {
    forms.OnAppear("Dialog", {user::Click("cmdOK")});
    forms.OnAppear("Other", {user::Close()});
    forms.OnAppear("Dialog", {user::Key(27)});
    std::vector<std::string> results;
    for (int i = 0; i < 2; ++i) {
        Dialog d(process.os().forms);
        d.ShowModal();
        results.push_back(d.result);
    }
    EXPECT_EQ(results, (std::vector<std::string>{"ok", "cancel"}));
    EXPECT_EQ(forms.pendingScripts("Dialog"), 0);
    EXPECT_EQ(forms.pendingScripts("Other"), 1);
    EXPECT_EQ(forms.shownLog(), (std::vector<std::string>{"Dialog", "Dialog"}));
}

TEST_F(SimForms, RecordsVisibilityRepaintsTopmostAndPlacement) {
    Dialog d(process.os().forms);
    d.SetWindowState(WindowState::Maximized);
    d.Show();
    d.Refresh();
    d.Refresh();
    d.SetTopmost(true);
    auto r = forms.record("Dialog");
    EXPECT_TRUE(r.loaded && r.visible && r.topmost);
    EXPECT_EQ(r.repaints, 2);
    EXPECT_EQ(d.windowState(), WindowState::Maximized);

    forms.Perform(d, user::Place(WindowState::Normal, {300, 450, 6000, 4000}));
    EXPECT_EQ(d.resizes, 1);
    EXPECT_EQ(d.windowState(), WindowState::Normal);
    EXPECT_EQ(d.bounds(), (platform::TwipsRect{300, 450, 6000, 4000}));

    d.Hide();
    EXPECT_FALSE(forms.record("Dialog").visible);
    EXPECT_TRUE(d.Close());
    r = forms.record("Dialog");
    EXPECT_FALSE(r.loaded || r.visible);
    EXPECT_EQ(forms.Find("Dialog"), nullptr);
}

TEST_F(SimForms, OtherWaysAModalShowEnds) {
    struct Case {
        const char* what;
        std::function<void(Dialog&)> onTick;
        bool loadedAfter;
    };
    std::vector<Case> cases = {
        {"hidden by the program", [](Dialog& d) { d.Hide(); }, true},
        {"closed from code", [](Dialog& d) { d.Close(); }, false},
        // last: a quit process runs no more timers
        {"program quits", [this](Dialog&) { process.Quit(0); }, true},
    };
    for (const auto& c : cases) {
        Dialog d(process.os().forms);
        d.timer.onTimer = [&] { c.onTick(d); };
        d.ShowModal();
        EXPECT_EQ(d.loaded(), c.loadedAfter) << c.what;
        EXPECT_FALSE(d.modal()) << c.what;
    }
}

TEST_F(SimForms, SpinArrowsAndTabsReachTheirHandlers) {
    std::vector<int> arrows;
    std::vector<int> tabs;
    struct Extra : Dialog {
        using Dialog::Dialog;
        Control& ud = Add(ControlKind::Spin, "udResize");
        Control& tabs = Add(ControlKind::TabStrip, "TabStrip1");
    } e(process.os().forms);
    e.ud.onSpin = [&](int dir) { arrows.push_back(dir); };
    e.tabs.onClick = [&] { tabs.push_back(e.tabs.listIndex()); };
    for (const char* t : {"&General", "&Print Options", "Save Optio&ns", "&About"}) e.tabs.AddItem(t);
    forms.OnAppear("Dialog", {user::Spin("udResize", 1), user::Spin("udResize", -1),
                              user::Choose("TabStrip1", "&About"), user::ChooseIndex("TabStrip1", 1),
                              user::ChooseIndex("TabStrip1", 1), user::Click("cmdOK")});
    e.ShowModal();
    EXPECT_EQ(arrows, (std::vector<int>{1, -1}));
    EXPECT_EQ(tabs, (std::vector<int>{3, 1}));  // choosing the tab already shown raises nothing
}

TEST_F(SimForms, DroppingAnOpenWindowTakesItDown) {
    {
        Dialog d(process.os().forms);
        d.Show();
        EXPECT_TRUE(process.HasTimer(0));
    }
    EXPECT_EQ(forms.loadedCount(), 0);
    EXPECT_FALSE(process.HasTimer(0));
}

}  // namespace
}  // namespace orv
