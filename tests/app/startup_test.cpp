#include "app/startup.h"

#include <gtest/gtest.h>

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

struct MessengerCase {
    const char* commandLine;
    int key;
    std::vector<std::pair<int, bool>> expected;
};

class Messenger : public ::testing::TestWithParam<MessengerCase> {};

TEST_P(Messenger, SendsExactlyOneSequenceAndCreatesNothing) {
    auto c = GetParam();
    SimProgram resident;
    resident.desk.registry.Put(RegRoot::LocalMachine, kKey, "Key", std::to_string(c.key));
    ASSERT_TRUE(resident.program.Start("-startup"));
    resident.desk.keyboard.ClearLog();
    int addsBefore = resident.desk.tray.adds();

    auto& proc = resident.desk.StartProcess();
    Program second(proc.os());
    EXPECT_FALSE(second.Start(c.commandLine));
    EXPECT_EQ(Events(resident.desk.keyboard), c.expected) << '"' << c.commandLine << '"';
    // The resident may take the foreground before any key reaches it.
    EXPECT_EQ(resident.desk.foregroundAllowedAt, std::vector<std::size_t>{0});
    EXPECT_EQ(proc.windowCount(), 0);
    EXPECT_EQ(resident.desk.tray.adds(), addsBefore);
}

const std::vector<std::pair<int, bool>> kConfigure = {{0xE8, true}, {0xE8, false}};

INSTANTIATE_TEST_SUITE_P(
    CommandLines, Messenger,
    ::testing::Values(
        MessengerCase{"-printscreen", 44, {{44, true}, {44, false}}},
        MessengerCase{" -PrintScreen ", 121, {{121, true}, {121, false}}},
        MessengerCase{"-PRINTWINDOW", 44, {{0x12, true}, {44, true}, {44, false}, {0x12, false}}},
        MessengerCase{"", 44, kConfigure}, MessengerCase{"-printscreen now", 44, kConfigure},
        MessengerCase{"-startup", 44, kConfigure}, MessengerCase{"/printscreen", 44, kConfigure},
        MessengerCase{"-exit now", 44, kConfigure}));

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

TEST(ExitSwitch, FirstStartEndsWithoutBecomingResident) {
    SimProgram p;
    EXPECT_FALSE(p.program.Start("-exit"));
    EXPECT_EQ(p.proc.windowCount(), 0);
    EXPECT_FALSE(p.desk.tray.visible());
    EXPECT_TRUE(Events(p.desk.keyboard).empty());
}

struct ResidentCase {
    const char* commandLine;
    bool opensSettings;
};

class Resident : public ::testing::TestWithParam<ResidentCase> {};

TEST_P(Resident, OpensTheSettingsUnlessStartedForStartup) {
    auto c = GetParam();
    SimProgram p;
    int dialogs = 0;
    ASSERT_TRUE(p.program.Start(c.commandLine));
    p.program.container().hooks.showSettingsDialog = [&] { ++dialogs; };
    p.proc.RunFor(0.35);
    EXPECT_EQ(dialogs, c.opensSettings ? 1 : 0) << '"' << c.commandLine << '"';
    EXPECT_TRUE(p.desk.tray.visible());
    EXPECT_EQ(p.desk.registry.writes(), 0);  // start-up never writes settings
    EXPECT_TRUE(p.proc.HasTimer(kKeyWatchTimerId));
}

INSTANTIATE_TEST_SUITE_P(CommandLines, Resident,
                         ::testing::Values(ResidentCase{"", true}, ResidentCase{"-printscreen", true},
                                           ResidentCase{"-printwindow", true},
                                           ResidentCase{" -StartUp ", false}));

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
        EXPECT_EQ(p.st.PrinterListAvailable, printerList) << version.minor << ',' << version.platformId;
    }
}

}  // namespace
}  // namespace orv
