#include <gtest/gtest.h>

#include "capture/capture_window.h"
#include "capture_rig.h"

namespace orv {
namespace {

using namespace orv::testing;
using namespace orv::testing::gesture;
using sim::user::Close;
using sim::user::Key;

constexpr const char* kOk = "Capture Selected Area";
constexpr const char* kCancel = "Cancel Capture";
constexpr const char* kReset = "Reset Capture Area";

// Whether "Capture Selected Area" was enabled, per capture menu shown.
std::vector<bool> MenusOkEnabled(const sim::SimDesktop& desk) {
    std::vector<bool> v;
    for (const auto& m : desk.menus)
        if (!m.menu.items.empty() && m.menu.items[0].caption == kOk)
            v.push_back(m.menu.items[0].enabled);
    return v;
}

class SelectionWindow : public ::testing::Test, public CaptureRig {
  protected:
    void Choose(const char* item) { desk.menuChoices.push_back(item); }
};

TEST_F(SelectionWindow, GesturesDecideBetweenTheRectangleAndNothing) {
    using A = MouseAction;
    using B = MouseButton;
    struct Case {
        const char* what;
        std::vector<const char*> menu;  // the user's picks, in order
        sim::FormScript script;
        bool confirmed;  // the clipboard then holds (10,20)-(50,60)
        std::vector<bool> menusOkEnabled;
    };
    // clang-format off
    Case cases[] = {
        {"Escape at once", {}, {Key(27)}, false, {}},
        {"right-click before any rectangle", {}, Steps({RightClick(), {Key(27)}}), false, {false}},
        {"drag, right-click, Capture Selected Area", {kOk},
         Steps({Drag(10, 20, 50, 60), RightClick(), Tick()}), true, {true}},
        {"drag, Cancel Capture", {kCancel}, Steps({Drag(10, 20, 50, 60), RightClick(), Tick()}), false, {true}},
        {"drag, Escape", {}, Steps({Drag(10, 20, 50, 60), {Key(27)}}), false, {}},
        {"system close with a rectangle", {}, Steps({Drag(10, 20, 50, 60), {Close()}}), true, {}},
        {"system close without one", {}, {Close()}, false, {}},
        {"a click without dragging leaves no rectangle", {},
         Steps({Drag(10, 20, 50, 60), Drag(30, 30, 30, 30), RightClick(), {Key(27)}}), false, {false}},
        {"dismissing the menu keeps the window open", {},
         Steps({Drag(10, 20, 50, 60), RightClick(), Tick(), {Close()}}), true, {true}},
        // Only a press and a release of the right button open the menu.
        {"release alone", {}, {At(A::Up, B::Right, 5, 5), Key(27)}, false, {}},
        {"a left press in between disarms", {},
         {At(A::Down, B::Right, 5, 5), At(A::Down, B::Left, 5, 5), At(A::Up, B::Left, 9, 9),
          At(A::Up, B::Right, 5, 5), Key(27)}, false, {}},
        {"one press, two releases", {}, Steps({RightClick(), {At(A::Up, B::Right, 5, 5), Key(27)}}), false, {false}},
        {"right press, middle release", {}, {At(A::Down, B::Right, 5, 5), At(A::Up, B::Middle, 5, 5), Key(27)},
         false, {}},
    };
    // clang-format on
    for (auto& c : cases) {
        CaptureRig rig;
        rig.st.Settings.Save = 1;  // a cancelled capture must not write
        for (const char* m : c.menu) rig.desk.menuChoices.push_back(m);
        rig.AreaCapture(c.script);
        SCOPED_TRACE(c.what);
        EXPECT_EQ(rig.proc.forms.pendingScripts("Capture"), 0);
        EXPECT_EQ(rig.proc.forms.loadedCount(), 0);
        EXPECT_FALSE(rig.st.SelectionWindowOpen);
        EXPECT_EQ(rig.st.CaptureCancelled, !c.confirmed);
        ASSERT_TRUE(rig.desk.clipboard.bitmap());
        const Image expected =
            c.confirmed ? Part(rig.desk.screen, 10, 20, 50, 60) : rig.desk.screen;
        EXPECT_EQ(*rig.desk.clipboard.bitmap(), expected);
        EXPECT_EQ(rig.desk.files.List().size(), c.confirmed ? 1u : 0u);
        EXPECT_EQ(MenusOkEnabled(rig.desk), c.menusOkEnabled);
        EXPECT_TRUE(rig.desk.messageBoxes.empty());
        EXPECT_EQ(rig.st.SelectionCommand, "");
    }
}

TEST_F(SelectionWindow, TrayCaptureRectangleLeavesOnlyTheRectangleOnTheClipboard) {
    Choose("Capture Rectangle");
    Choose(kOk);
    proc.forms.OnAppear("Capture", Steps({Drag(0, 0, 319, 0), RightClick(), Tick()}));
    program.container().OnTrayNotify(0x205);
    proc.RunFor(0.2);
    EXPECT_EQ(*desk.clipboard.bitmap(), Part(desk.screen, 0, 0, 319, 0));
    EXPECT_TRUE(ClipboardWritesKeptPrivate(desk.clipboard));
    EXPECT_EQ(desk.beeps, 1);
    EXPECT_TRUE(desk.files.List().empty());
    EXPECT_TRUE(desk.printing.documents.empty());
    EXPECT_EQ(st.TrayCaptureChoice, 0);
}

TEST_F(SelectionWindow, ResetShowsTheWholeScreenAgainAndOkWithoutANewRectangleCancels) {
    Choose(kReset);
    const Image* shown = nullptr;
    bool selectedAfterReset = true;
    AreaCapture(Steps({Drag(10, 20, 50, 60),
                       RightClick(),
                       Tick(),
                       {Do([&](platform::FormEvents& f) {
                           auto pic = f.SurfaceAt(0);
                           shown = pic.image;
                           selectedAfterReset = pic.hasSelection;
                           ASSERT_TRUE(shown);
                           EXPECT_EQ(*shown, desk.screen);
                       })},
                       RightClick(),
                       // "OK" as the menu would store it, though it offered the item disabled.
                       {Do([&](platform::FormEvents&) { st.SelectionCommand = "OK"; })},
                       Tick()}));
    EXPECT_FALSE(selectedAfterReset);
    EXPECT_EQ(MenusOkEnabled(desk), (std::vector<bool>{true, false}));
    EXPECT_TRUE(st.CaptureCancelled);
    EXPECT_EQ(*desk.clipboard.bitmap(), desk.screen);
}

// The window opens maximised, lies on the screen's picture pixel for pixel at
// any scale and origin, and its restored place is kept in pixels, even where
// the scale has changed in between and a capture left it maximised.
TEST_F(SelectionWindow, RemembersItsRestoredPlaceInPixels) {
    struct Case {
        int dpi, dpiAfter;
        platform::TwipsRect moved;
    };
    const Case cases[] = {
        {96, 96, {300, 450, 120, 80}},
        {120, 240, {-1, -1, 150, 90}},  // -1 is a place, not "nothing remembered"
        {144, 96, {-320, -200, 300, 180}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.dpi << " dpi, left " << c.moved.left);
        CaptureRig rig;
        rig.desk.dpi = c.dpi;
        rig.desk.monitors = {{0, 0, 320, 100}, {-320, -100, 320, 100}};
        rig.desk.screen = Pattern(640, 200);
        std::vector<platform::WindowPlacement> seen;
        auto look = Do([&](platform::FormEvents& f) {
            seen.push_back(rig.proc.forms.Placement(f));
            EXPECT_EQ(dynamic_cast<Capture&>(f).SelectionSurface.viewWidth(), 640);
        });
        rig.AreaCapture({look, sim::user::Place(WindowState::Normal, c.moved), Key(27)});
        EXPECT_EQ(rig.st.SelectionWindowState, 0);
        rig.desk.dpi = c.dpiAfter;
        rig.AreaCapture({look, Key(27)});
        EXPECT_EQ(rig.st.SelectionWindowState, 2);
        rig.AreaCapture({look, Key(27)});
        ASSERT_EQ(seen.size(), 3u);
        for (const auto& p : seen) EXPECT_EQ(p.state, WindowState::Maximized);
        EXPECT_EQ(seen[2].clientWidth, 640 * 1440 / c.dpiAfter);
        EXPECT_NE(seen[0].bounds, c.moved);
        EXPECT_EQ(seen[1].bounds, c.moved);
        EXPECT_EQ(seen[2].bounds, c.moved);
        EXPECT_EQ(
            rig.st.SelectionWindowBounds,
            (std::array<int32_t, 4>{c.moved.left, c.moved.top, c.moved.width, c.moved.height}));
    }
}

TEST_F(SelectionWindow, WhileOpenTheCaptureKeyAndConfigureOnlyBringItForward) {
    struct Case {
        const char* what;
        std::function<void(CaptureRig&)> act;
    };
    const Case cases[] = {
        {"capture key", [](CaptureRig& r) { r.desk.keyboard.Tap(r.st.Settings.Key); }},
        {"tray Configure",
         [](CaptureRig& r) {
             r.desk.menuChoices.push_back("&Configure");
             r.program.container().OnTrayNotify(0x205);
         }},
    };
    for (const auto& c : cases) {
        CaptureRig rig;
        int settingsShown = 0;
        rig.program.container().hooks.showSettingsDialog = [&] { ++settingsShown; };
        int before = -1, after = -1;
        auto activations = [&rig] { return rig.proc.forms.record("Capture").activations; };
        rig.AreaCapture(
            Steps({Tick(),
                   {Do([&](platform::FormEvents&) {
                       before = activations();
                       c.act(rig);
                   })},
                   Tick(),
                   {Do([&](platform::FormEvents&) { after = activations(); }), Key(27)}}));
        EXPECT_GT(after, before) << c.what;
        rig.proc.RunFor(0.5);  // the key watch runs again once the capture is over
        EXPECT_EQ(settingsShown, 0) << c.what;
        EXPECT_EQ(rig.desk.beeps, 1) << c.what << ": the press must not start another capture";
    }
}

TEST_F(SelectionWindow, FailuresShowTheirBoxAndAbandonTheCapture) {
    struct Case {
        const char* what;
        const char* menu;
        std::function<void(CaptureRig&)> meanwhile;  // after the choice, before the tick acts
        std::string box;
    };
    const Case cases[] = {
        {"reset after another program replaced the clipboard", kReset,
         [](CaptureRig& r) { r.desk.clipboard.SetText("other program's text"); },
         "Error resetting image, please capture the image again. - The clipboard holds no picture "
         "- 7"},
        {"clipboard busy when the rectangle is copied", kOk,
         [](CaptureRig& r) { r.desk.clipboard.MakeBusy(10); },  // through every retry
         "Error copying image to clipboard, please capture the image again. - Can't open "
         "Clipboard"},
    };
    for (const auto& c : cases) {
        CaptureRig rig;
        rig.st.Settings.Save = 1;
        rig.desk.menuChoices.push_back(c.menu);
        rig.AreaCapture(Steps({Drag(10, 20, 50, 60),
                               RightClick(),
                               {Do([&](platform::FormEvents&) { c.meanwhile(rig); })},
                               Tick()}));
        SCOPED_TRACE(c.what);
        ASSERT_EQ(rig.desk.messageBoxes.size(), 1u);
        EXPECT_EQ(rig.desk.messageBoxes[0].text, c.box);
        EXPECT_EQ(rig.proc.forms.loadedCount(), 0);
        EXPECT_TRUE(rig.st.CaptureCancelled);
        EXPECT_TRUE(rig.desk.files.List().empty());
        EXPECT_EQ(rig.st.SelectionCommand, "");
    }
}

TEST_F(SelectionWindow, AClipboardHeldForAMomentIsWaitedFor) {
    // OK saves the rectangle; Reset shows the whole screen again, and Escape then cancels.
    for (const bool ok : {true, false}) {
        CaptureRig rig;
        rig.st.Settings.Save = 1;
        rig.desk.menuChoices.push_back(ok ? kOk : kReset);
        auto steps = Steps({Drag(10, 20, 50, 60),
                            RightClick(),
                            {Do([&](platform::FormEvents&) { rig.desk.clipboard.MakeBusy(2); })},
                            Tick()});
        if (!ok) steps.push_back(Key(27));
        rig.AreaCapture(steps);
        SCOPED_TRACE(ok ? kOk : kReset);
        EXPECT_TRUE(rig.desk.messageBoxes.empty());
        EXPECT_EQ(rig.desk.files.List().size(), ok ? 1u : 0u);
    }
}

TEST_F(SelectionWindow, ExitWhileOpenEndsTheCaptureUnsaved) {
    st.Settings.Save = 1;
    AreaCapture(Steps({Drag(10, 20, 50, 60), {Do([&](platform::FormEvents&) {
                           desk.menuChoices.push_back("E&xit");
                           program.container().OnTrayNotify(0x205);
                       })}}));
    EXPECT_TRUE(proc.quitRequested());
    EXPECT_EQ(proc.forms.loadedCount(), 0);
    EXPECT_FALSE(st.SelectionWindowOpen);
    EXPECT_TRUE(desk.files.List().empty());
    EXPECT_EQ(*desk.clipboard.bitmap(), desk.screen);
}

}  // namespace
}  // namespace orv
