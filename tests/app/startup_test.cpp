#include "app/startup.h"

#include <gtest/gtest.h>

#include "app/snipping_notice.h"
#include "sim_program.h"

namespace orv {
namespace {

using namespace orv::testing;
using sim::KeyEvent;

std::vector<std::pair<int, bool>> Events(const sim::SimKeyboard& kb) {
    std::vector<std::pair<int, bool>> out;
    for (const KeyEvent& e : kb.synthesized()) out.emplace_back(e.vk, e.down);
    return out;
}

// A second start hands its command to the resident as keys, and ends.
TEST(Messenger, SendsExactlyOneSequenceAndCreatesNothing) {
    using Keys = std::vector<std::pair<int, bool>>;
    const Keys configure = {{0xE8, true}, {0xE8, false}};
    const std::tuple<const char*, int, Keys> cases[] = {
        {"-printscreen", 44, {{44, true}, {44, false}}},
        {" -PrintScreen ", 121, {{121, true}, {121, false}}},
        {"-PRINTWINDOW", 44, {{0x12, true}, {44, true}, {44, false}, {0x12, false}}},
        {"", 44, configure},
        {"-printscreen now", 44, configure},
        {"-startup", 44, configure},
        {"/printscreen", 44, configure},
        {"-exit now", 44, configure}};
    for (const auto& [commandLine, key, expected] : cases) {
        SimProgram resident;
        resident.desk.registry.Put(RegRoot::LocalMachine, kKey, "Key", std::to_string(key));
        ASSERT_TRUE(resident.program.Start("-startup"));
        resident.desk.keyboard.ClearLog();
        int addsBefore = resident.desk.tray.adds();

        auto& proc = resident.desk.StartProcess();
        Program second(proc.os());
        EXPECT_FALSE(second.Start(commandLine));
        EXPECT_EQ(Events(resident.desk.keyboard), expected) << '"' << commandLine << '"';
        // The resident may take the foreground before any key reaches it.
        EXPECT_EQ(resident.desk.foregroundAllowedAt, std::vector<std::size_t>{0});
        EXPECT_EQ(proc.windowCount(), 0);
        EXPECT_EQ(resident.desk.tray.adds(), addsBefore);
    }
}

TEST(ExitSwitch, SecondStartEndsTheResidentAsItsExitDoes) {
    SimProgram resident;
    ASSERT_TRUE(resident.program.Start("-startup"));
    resident.st.Settings.Counter = 7;
    resident.desk.keyboard.ClearLog();

    auto& proc = resident.desk.StartProcess();
    Program second(proc.os());
    EXPECT_FALSE(second.Start(" -Exit "));
    EXPECT_TRUE(resident.proc.quitRequested());
    EXPECT_EQ(resident.desk.registry.Get(RegRoot::LocalMachine, kKey, "Counter"), "7");
    EXPECT_FALSE(resident.desk.tray.visible());
    EXPECT_FALSE(resident.proc.HasTimer(kKeyWatchTimerId));
    EXPECT_TRUE(Events(resident.desk.keyboard).empty());
    EXPECT_EQ(proc.windowCount(), 0);
}

// The installer's upgrade: "-exit" ends the resident, the new exe's "-restart"
// starts it again, silently; "-restart" with no resident ended by "-exit" (or
// after an "-exit" that found none) does nothing.
TEST(RestartSwitch, StartsAgainOnlyWhatExitEnded) {
    sim::SimDesktop desk;
    Program resident(desk.StartProcess().os());
    ASSERT_TRUE(resident.Start("-startup"));
    EXPECT_FALSE(Program(desk.StartProcess().os()).Start("-exit"));
    desk.residentClaimed = false;  // the ended process's mutex went with it
    desk.keyboard.ClearLog();
    auto& again = desk.StartProcess();
    Program restarted(again.os());
    ASSERT_TRUE(restarted.Start("-restart"));
    EXPECT_TRUE(again.HasTimer(kKeyWatchTimerId));
    EXPECT_TRUE(Events(desk.keyboard).empty());                         // no settings dialog
    EXPECT_FALSE(Program(desk.StartProcess().os()).Start("-restart"));  // one runs

    // A mark a removal left (its "-exit" ended a resident for good) goes at
    // the next "-exit" that finds none.
    SimProgram p;
    p.desk.registry.Put(RegRoot::CurrentUser, kNoticesKeyPath, kEndedByExitValue, "1");
    EXPECT_FALSE(p.program.Start("-exit"));
    p.desk.residentClaimed = false;
    auto& proc = p.desk.StartProcess();
    EXPECT_FALSE(Program(proc.os()).Start("-restart"));
    EXPECT_EQ(proc.windowCount(), 0);
}

TEST(Resident, OpensTheSettingsUnlessStartedForStartup) {
    for (const auto& [commandLine, opensSettings] :
         {std::pair{"", true}, std::pair{"-printscreen", true}, std::pair{"-printwindow", true},
          std::pair{" -StartUp ", false}}) {
        SimProgram p;
        int dialogs = 0;
        ASSERT_TRUE(p.program.Start(commandLine));
        p.program.container().hooks.showSettingsDialog = [&] { ++dialogs; };
        p.proc.RunFor(0.35);
        EXPECT_EQ(dialogs, opensSettings ? 1 : 0) << '"' << commandLine << '"';
        EXPECT_TRUE(p.desk.tray.visible());
        EXPECT_EQ(p.desk.registry.writes(), 0);  // start-up never writes settings
        EXPECT_TRUE(p.proc.HasTimer(kKeyWatchTimerId));
    }
}

TEST(ResidentStart, ShowIconOffAddsNoIcon) {
    SimProgram p;
    p.desk.registry.Put(RegRoot::LocalMachine, kKey, "ShowIcon", "0");
    ASSERT_TRUE(p.program.Start("-startup"));
    EXPECT_FALSE(p.desk.tray.visible());
}

TEST(ResidentStart, APressBeforeStartupDoesNotCapture) {
    SimProgram p;
    p.desk.keyboard.Tap(44);
    ASSERT_TRUE(p.program.Start("-startup"));
    p.st.CaptureSettings.Key = 0;  // a capture would copy the settings over this
    p.proc.RunFor(0.5);
    EXPECT_EQ(p.st.CaptureSettings.Key, 0);
}

TEST(ClassifyOs, OnlyWindows95HasNoPrinterList) {
    const std::pair<platform::OsVersion, bool> cases[] = {
        {{true, 4, 0, 1}, false}, {{true, 4, 10, 1}, true}, {{true, 4, 0, 2}, true}};
    for (const auto& [version, printerList] : cases) {
        SimProgram p;
        p.desk.osVersion = version;
        ClassifyOs(p.ctx);
        EXPECT_EQ(p.st.PrinterListAvailable, printerList)
            << version.minor << ',' << version.platformId;
    }
}

}  // namespace
}  // namespace orv
