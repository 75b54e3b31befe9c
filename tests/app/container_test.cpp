#include "app/container.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <deque>

#include "capture_rig.h"

namespace orv {
namespace {

using namespace orv::testing;

class ContainerTest : public ::testing::Test, public SimProgram {
  protected:
    void SetUp() override {
        ASSERT_TRUE(program.Start("-startup"));
        container().hooks.showSettingsDialog = [this] { ++settingsShown; };
    }
    Container& container() { return program.container(); }
    void RightClickTray(const char* choice) {
        if (choice) desk.menuChoices.push_back(choice);
        container().OnTrayNotify(0x205);
    }
    int settingsShown = 0;
};

TEST_F(ContainerTest, TipAndIconFollowEnabled) {
    ASSERT_TRUE(desk.tray.visible());
    EXPECT_EQ(desk.tray.Tip(), "Orvanex is Enabled");
    EXPECT_EQ(desk.tray.icon()->icon, platform::TrayIcon::Enabled);
    RightClickTray(nullptr);
    EXPECT_TRUE(desk.menus.back().menu.items[9].checked);

    RightClickTray("&Enable Orvanex");
    EXPECT_FALSE(st.Settings.Enabled);
    EXPECT_EQ(desk.tray.Tip(), "Orvanex is Disabled");
    EXPECT_EQ(desk.tray.icon()->icon, platform::TrayIcon::Disabled);
    EXPECT_EQ(desk.registry.writes(), 0);  // the toggle is stored only at exit

    RightClickTray(nullptr);
    EXPECT_FALSE(desk.menus.back().menu.items[9].checked);
    EXPECT_EQ(desk.menus.back().chosen, 0);
}

TEST_F(ContainerTest, OnlyDoubleClickAndRightReleaseMeanAnything) {
    for (int msg : {0x200, 0x201, 0x202, 0x204, 0x206}) container().OnTrayNotify(msg);
    EXPECT_TRUE(desk.menus.empty());
    EXPECT_EQ(settingsShown, 0);
    container().OnTrayNotify(0x203);
    EXPECT_EQ(settingsShown, 1);
}

TEST_F(ContainerTest, ConfigureFocusesTheOpenWindowInOrder) {
    std::string focused;
    auto& h = container().hooks;
    h.focusSelectionWindow = [&] { focused = "selection"; };
    h.focusOptionsDialog = [&] { focused = "options"; };
    h.focusSettingsDialog = [&] { focused = "settings"; };
    struct Case {
        bool selection, options, settings;
        const char* expected;
    };
    for (Case c : {Case{true, true, true, "selection"}, Case{false, true, true, "options"},
                   Case{false, false, true, "settings"}}) {
        focused.clear();
        st.SelectionWindowOpen = c.selection;
        st.OptionsDialogOpen = c.options;
        st.SettingsDialogOpen = c.settings;
        container().Configure();
        EXPECT_EQ(focused, c.expected);
    }
    EXPECT_EQ(settingsShown, 0);
}

// The configure signal opens the dialog once, at the next tick; no tick runs
// while it is up.
TEST_F(ContainerTest, ConfigureSignalOpensTheDialogOnceAndNoTickRunsMeanwhile) {
    int ticksInside = -1;
    container().hooks.showSettingsDialog = [&] {
        ++settingsShown;
        int before = desk.keyboard.queries();
        proc.RunFor(1.0);  // ten timer periods while the dialog is up
        ticksInside = desk.keyboard.queries() - before;
    };
    desk.keyboard.Tap(0xE8);
    proc.RunFor(0.6);
    EXPECT_EQ(settingsShown, 1);
    EXPECT_EQ(ticksInside, 0);
    EXPECT_GT(desk.keyboard.queries(), 0);
}

TEST_F(ContainerTest, OtherCaptureKeysMakeTheSystemCopyTheScreen) {
    desk.keyboard.Tap(44);  // the system copies the screen for Print Screen itself
    proc.RunFor(0.1);
    EXPECT_TRUE(desk.keyboard.synthesized().empty());
    st.Settings.Key = 121;
    for (bool enabled : {true, false}) {
        st.Settings.Enabled = enabled;
        desk.clipboard.SetText("text");
        desk.keyboard.Tap(121);
        proc.RunFor(0.1);
        ASSERT_TRUE(desk.clipboard.bitmap().has_value()) << enabled;
        EXPECT_EQ(*desk.clipboard.bitmap(), desk.screen);
    }
    st.Settings.PrintArea = 3;
    desk.keyboard.Tap(121);
    proc.RunFor(0.1);
    EXPECT_EQ(*desk.clipboard.bitmap(), desk.activeWindow);
}

// One capture per press: a press during a capture, the user's or the one a
// capture fakes for the system, is forgotten once the capture ends.
TEST(KeyWatch, APressDuringACaptureNeverStartsASecond) {
    struct Case {
        const char* what;
        int key;
        const char* trayChoice;  // or the capture key
        bool pressDuringCapture;
        std::size_t pages, files;
    };
    const Case cases[] = {
        {"tray Print Desktop, Print Screen as the key", 44, "Print Desktop", false, 1, 0},
        {"Print Screen pressed again while the popup shows", 44, nullptr, true, 0, 1},
        {"F10 pressed again while the popup shows", 121, nullptr, true, 0, 1},
    };
    for (const auto& c : cases) {
        CaptureRig rig;
        rig.st.Settings.Key = static_cast<int16_t>(c.key);
        rig.st.Settings.Save = 1;  // a second capture by key would write a file
        rig.st.Settings.SaveFileName = "cap[counter]";
        rig.st.Settings.HidePopup = 0;
        if (c.pressDuringCapture)
            rig.proc.forms.OnAppear(
                "Popup",
                {sim::user::Run([&](platform::FormEvents&) { rig.desk.keyboard.Tap(c.key); })});
        if (c.trayChoice) {
            rig.desk.menuChoices.push_back(c.trayChoice);
            rig.program.container().OnTrayNotify(0x205);
        } else {
            rig.desk.keyboard.Tap(c.key);
        }
        rig.proc.RunFor(1.0);
        EXPECT_EQ(rig.desk.printing.documents.size(), c.pages) << c.what;
        EXPECT_EQ(rig.desk.files.List().size(), c.files) << c.what;
        EXPECT_TRUE(rig.desk.messageBoxes.empty()) << c.what;
    }
}

TEST(KeyWatch, APressBetweenTwoLooksOfAnIdleTickIsKept) {
    CaptureRig rig;
    rig.st.Settings.Save = 1;
    bool pressed = false;
    rig.desk.keyboard.afterQuery = [&](int vk) {
        if (vk != 44 || pressed) return;
        pressed = true;
        rig.desk.keyboard.Tap(44);
    };
    rig.proc.RunFor(0.5);
    EXPECT_TRUE(pressed);
    EXPECT_EQ(rig.desk.files.List().size(), 1u);
}

// The press lands right after the capture forgot the presses made during it.
TEST(KeyWatch, APressAsACaptureEndsTakesItsOwnPicture) {
    CaptureRig rig;
    rig.st.Settings.Save = 1;
    rig.st.Settings.SaveFileName = "cap[counter]";
    bool pressed = false;
    rig.desk.keyboard.afterQuery = [&](int vk) {
        if (vk != 44 || pressed || rig.desk.files.List().empty()) return;
        pressed = true;
        rig.desk.keyboard.Tap(44);
    };
    rig.desk.keyboard.Tap(44);
    rig.proc.RunFor(1.0);
    EXPECT_TRUE(pressed);
    EXPECT_EQ(rig.desk.files.List().size(), 2u);
    EXPECT_TRUE(rig.desk.messageBoxes.empty());
}

TEST_F(ContainerTest, DestroyedWithoutUnloadRemovesTheIconAndEnds) {
    container().OnDestroyed();
    EXPECT_FALSE(desk.tray.visible());
    EXPECT_EQ(st.Settings.ShowIcon, 0);
    EXPECT_TRUE(proc.quitRequested());
    EXPECT_EQ(desk.registry.writes(), 0);
}

TEST(TrayIconStart, FailedAddIsRetriedAfterTheDialog) {
    SimProgram p;
    platform::NotifyIconData squatter;
    p.desk.tray.ShellNotifyIcon(platform::kNimAdd, squatter);  // the shell refuses the add
    ASSERT_TRUE(p.program.Start("-startup"));
    EXPECT_FALSE(p.program.container().TrayIconShown());
    p.desk.tray.ShellNotifyIcon(platform::kNimDelete, squatter);
    p.proc.forms.OnAppear("Setup", {sim::user::Click("cmdCancel")});
    p.program.container().Configure();
    EXPECT_TRUE(p.program.container().TrayIconShown());
}

// F12 is reserved for debuggers: watched, never registered, and no box
// blames another program for it.
TEST(CaptureHotKey, FunctionKeysAreTakenFromTheAppInFrontUnlessHeldElsewhere) {
    struct Case {
        int key;
        bool heldElsewhere, reachesApp;
        int boxes;
    };
    for (Case c :
         {Case{121, false, false, 0}, Case{122, false, false, 0}, Case{122, true, false, 1},
          Case{123, false, true, 0}, Case{44, false, true, 0}}) {
        SimProgram p;
        p.desk.registry.Put(RegRoot::LocalMachine, kKey, "Key", std::to_string(c.key));
        if (c.heldElsewhere) p.desk.keyboard.HeldElsewhere(c.key);
        ASSERT_TRUE(p.program.Start("-startup"));
        int captures = 0;
        p.program.container().hooks.runCapture = [&] { ++captures; };
        p.proc.RunFor(0.1);
        for (int press = 0; press < 2; ++press) {
            p.desk.keyboard.Tap(c.key);
            p.proc.RunFor(0.3);
        }
        const auto& seen = p.desk.keyboard.reachedApp();
        EXPECT_EQ(std::count(seen.begin(), seen.end(), c.key), c.reachesApp ? 2 : 0) << c.key;
        EXPECT_EQ(captures, 2) << c.key;  // one capture per press, polled or not
        EXPECT_EQ(p.desk.keyboard.IsHotKey(c.key), !c.reachesApp && !c.heldElsewhere) << c.key;
        ASSERT_EQ(p.desk.messageBoxes.size(), std::size_t(c.boxes)) << c.key;
        if (c.boxes) {
            EXPECT_EQ(p.desk.messageBoxes[0].text.rfind("F11 is already taken by another", 0), 0u);
        }
    }
}

// Each way a capture starts, and the windows the user must answer on the way:
// the on-the-fly options, the selection window, the save dialog, the header's
// input box and the PDF printer's own box all open in front. Only a polled key
// comes without the right to the foreground, so only then is an Alt needed.
TEST(Foreground, EveryWindowTheUserMustAnswerComesForwardOnEveryPath) {
    enum Path { kPolled, kHotKey, kTray, kSecondStart };
    struct Case {
        const char* what;
        Path path;
        int key;
        bool altSynthesised;
        std::vector<std::string> inFront;
    };
    const std::string prompt = "Prompt", area = "Capture",
                      save = "save dialog: Orvanex - v3.5 Save to File",
                      header = "input box: Enter the Header Text for the Printout",
                      pdf = "Save Print Output As";
    const Case cases[] = {
        {"Print Screen, polled", kPolled, 44, true, {prompt, area, save, header, pdf}},
        {"F11, a hot key", kHotKey, 122, false, {prompt, area, save, header, pdf}},
        {"tray Save Rectangle", kTray, 44, false, {area, save}},
        {"second start -printscreen", kSecondStart, 44, false, {prompt, area, save, header, pdf}},
    };
    using namespace gesture;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        SimProgram p;
        p.desk.screen = Pattern(320, 200);
        p.desk.printing.printers = {"Microsoft Print to PDF"};
        p.desk.registry.Put(RegRoot::LocalMachine, kKey, "Key", std::to_string(c.key));
        ASSERT_TRUE(p.program.Start("-startup"));
        SettingsRecord& s = p.st.Settings;
        s.OnTheFly = 1, s.PrintScreen = 1, s.Header = "[Prompt User for Header]";
        p.proc.RunFor(0.3);
        p.desk.UserSwitchesAway();  // the user works in another program
        p.desk.keyboard.ClearLog();
        p.desk.dialogs.saveAnswers.push_back(platform::SaveDialogResult{"C:\\cap.bmp", 3});
        p.desk.inputBoxAnswers.push_back("Quarterly");
        p.desk.menuChoices = {"Capture Selected Area"};
        p.proc.forms.OnAppear("Prompt", {sim::user::Click("obPrintArea", 2),
                                         sim::user::Click("cbxSave"), sim::user::Click("cmdOK")});
        p.proc.forms.OnAppear("Capture", Steps({Drag(10, 20, 50, 60), RightClick(), Tick()}));
        if (c.path == kTray) {
            p.desk.menuChoices.push_front("Save Rectangle");
            p.proc.ClickTray(0x205);
        } else if (c.path == kSecondStart) {
            p.StartAnother("-printscreen");
        } else {
            p.desk.keyboard.Tap(c.key);
        }
        p.proc.RunFor(2.0);
        EXPECT_EQ(p.desk.shownInFront, c.inFront);
        EXPECT_TRUE(p.desk.files.Read("C:\\cap.bmp"));
        const auto& keys = p.desk.keyboard.synthesized();
        const auto alts = std::count_if(keys.begin(), keys.end(), [](const sim::KeyEvent& e) {
            return e.vk == platform::kVkMenu && e.down;
        });
        EXPECT_EQ(alts > 0, c.altSynthesised);
    }
}

TEST(CaptureHotKey, FollowsTheKeyAndEnabledAndIsGivenBackAtExit) {
    SimProgram p;
    p.desk.registry.Put(RegRoot::LocalMachine, kKey, "Key", "121");
    ASSERT_TRUE(p.program.Start("-startup"));
    Container& c = p.program.container();
    c.hooks.showSettingsDialog = [&] { p.st.Settings.Key = 122; };
    p.proc.RunFor(0.1);
    EXPECT_TRUE(p.desk.keyboard.IsHotKey(121));
    c.Configure();
    EXPECT_FALSE(p.desk.keyboard.IsHotKey(121));
    EXPECT_TRUE(p.desk.keyboard.IsHotKey(122));
    p.desk.menuChoices = {"&Enable Orvanex"};  // disabled: F11 belongs to the app in front again
    c.OnTrayNotify(0x205);
    p.proc.RunFor(0.1);
    EXPECT_FALSE(p.desk.keyboard.IsHotKey(122));
    c.mnuEnable_Click();
    p.proc.RunFor(0.1);
    EXPECT_TRUE(p.desk.keyboard.IsHotKey(122));
    c.mnuExit_Click();
    EXPECT_FALSE(p.desk.keyboard.IsHotKey(122));
}

TEST(TrayFollowsEnabled, AfterResetDefaultsAndTheSharedSettingsSwitch) {
    struct Case {
        const char* what;
        bool startEnabled;
        sim::FormScript script;
        std::deque<int> answers;
        bool enabled;
    };
    namespace mb = platform::mb;
    const Case cases[] = {
        {"Reset Defaults",
         false,
         {sim::user::Click("cmdReset"), sim::user::Click("cmdOK")},
         {mb::kIdYes},
         true},
        {"back to the shared settings",
         true,
         {sim::user::Click("cbxGlobalSettings"), sim::user::Click("cmdOK")},
         {mb::kIdNo, mb::kIdYes},
         false},
        {"Cancel", false, {sim::user::Click("cmdCancel")}, {}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        SimProgram p;
        p.desk.registry.Put(RegRoot::CurrentUser, kKey, "GlobalSettings", "0");
        p.desk.registry.Put(RegRoot::LocalMachine, kKey, "Enabled", "False");
        ASSERT_TRUE(p.program.Start("-startup"));
        Container& con = p.program.container();
        if (!c.startEnabled) con.mnuEnable_Click();
        p.desk.messageBoxAnswers = c.answers;
        p.proc.forms.OnAppear("Setup", c.script);
        con.Configure();
        EXPECT_EQ(p.st.Settings.Enabled, c.enabled);
        EXPECT_EQ(con.mnuEnableChecked(), c.enabled);
        EXPECT_EQ(p.desk.tray.Tip(), c.enabled ? "Orvanex is Enabled" : "Orvanex is Disabled");
        ASSERT_TRUE(p.desk.tray.icon());
        EXPECT_EQ(p.desk.tray.icon()->icon,
                  c.enabled ? platform::TrayIcon::Enabled : platform::TrayIcon::Disabled);
    }
}

TEST(TrayShellRestart, IconComesBackAndLeavesNoGhostAtExit) {
    struct Case {
        const char* what;
        bool shellKeepsIcon;
        int failedAdds;
    };
    for (Case c : {Case{"shell forgot the icon", false, 0}, Case{"shell still shows it", true, 0},
                   Case{"shell not ready for the re-add", false, 1}}) {
        SCOPED_TRACE(c.what);
        SimProgram p;
        ASSERT_TRUE(p.program.Start("-startup"));
        p.desk.tray.RestartShell(c.shellKeepsIcon);
        p.desk.tray.failAdds = c.failedAdds;
        p.program.container().OnTaskbarCreated();
        EXPECT_EQ(p.desk.tray.visible(), c.failedAdds == 0);
        p.program.container().OnTaskbarCreated();  // the shell's next start takes it
        EXPECT_TRUE(p.desk.tray.visible());
        p.program.container().mnuExit_Click();
        EXPECT_FALSE(p.desk.tray.visible());
    }
}

}  // namespace
}  // namespace orv
