// A standard account: the machine-wide keys refuse writes, per key.
#include <gtest/gtest.h>

#include "sim_program.h"
#include "state/settings_store.h"

namespace orv {
namespace {

using namespace orv::testing;
namespace mb = platform::mb;

constexpr const char* kQuoted = "\"C:\\Program Files\\Orvanex\\orvanex.exe\" -startup";
constexpr const char* kBare = "C:\\Program Files\\Orvanex\\orvanex.exe -startup";
constexpr const char* kOffer =
    "Your settings could not be saved for all users of this PC: Windows lets only an administrator "
    "change those.\r\n\r\nDo you want to keep your own settings for your user account instead?";
constexpr const char* kPrivileges =
    "Failed to save settings to registry. Ensure that you have the proper privilages.";
constexpr const char* kNoRunEntry =
    "Windows did not let Orvanex add its start-up entry, so it will not load at startup (error 5)";
constexpr const char* kMachineRunKept =
    "Windows did not let Orvanex remove its start-up entry for all users of this PC; only an "
    "administrator can remove it (error 5)";

TEST(StandardAccount, SaveWithRefusedKeys) {
    const RegRoot M = RegRoot::LocalMachine, U = RegRoot::CurrentUser;
    struct Case {
        const char* what;
        int16_t global, autoLoad;
        std::vector<std::pair<RegRoot, const char*>> refused;
        const char *machineRun, *userRun;  // planted before the save; nullptr: none
        std::vector<int> answers;
        std::vector<std::string> boxes;
        // What ends up stored.
        const char *machineCounter, *userCounter, *userChooser, *machineRunAfter, *userRunAfter;
    };
    // clang-format off
    const Case cases[] = {
        {"shared refused, take per-user", 1, 1, {{M, kKey}, {M, kRunKey}}, nullptr, nullptr, {mb::kIdYes},
         {kOffer}, "<none>", "7", "0", "<none>", kQuoted},
        {"shared refused, decline", 1, 1, {{M, kKey}, {M, kRunKey}}, nullptr, nullptr, {mb::kIdNo},
         {kOffer, kPrivileges}, "<none>", "<none>", "<none>", "<none>", "<none>"},
        {"only the machine's Run key refused", 1, 1, {{M, kRunKey}}, nullptr, nullptr, {}, {}, "7", "<none>",
         "<none>", "<none>", kQuoted},
        {"an administrator's entry already starts it", 1, 1, {{M, kRunKey}}, kBare, nullptr, {}, {}, "7",
         "<none>", "<none>", kBare, "<none>"},
        {"per user, the old machine entry goes", 0, 1, {}, kBare, nullptr, {}, {}, "<none>", "7", "0",
         "<none>", kQuoted},
        {"per user under an administrator's entry it cannot move", 0, 1, {{M, kRunKey}}, kQuoted, kQuoted,
         {}, {}, "<none>", "7", "0", kQuoted, "<none>"},
        {"per user, own Run key refused", 0, 1, {{U, kRunKey}}, nullptr, nullptr, {}, {kNoRunEntry},
         "<none>", "7", "0", "<none>", "<none>"},
        {"unticked: both entries go where allowed", 1, 0, {{M, kRunKey}}, kQuoted, kQuoted, {},
         {kMachineRunKept}, "7", "<none>", "<none>", kQuoted, "<none>"},
        {"unticked with no entries: nothing to say", 0, 0, {}, nullptr, nullptr, {}, {}, "<none>", "7", "0",
         "<none>", "<none>"},
    };
    // clang-format on
    for (const Case& c : cases) {
        SimProgram p;
        auto& reg = p.desk.registry;
        if (c.machineRun) reg.Put(M, kRunKey, "Orvanex", c.machineRun);
        if (c.userRun) reg.Put(U, kRunKey, "Orvanex", c.userRun);
        for (const auto& [root, path] : c.refused) reg.RefuseKeyWrites(root, path);
        p.st.Settings.GlobalSettings = c.global;
        p.st.Settings.AutoLoad = c.autoLoad;
        p.st.Settings.Counter = 7;
        p.desk.messageBoxAnswers = {c.answers.begin(), c.answers.end()};
        SaveSettings(p.ctx);
        EXPECT_EQ(BoxTexts(p.desk), c.boxes) << c.what;
        EXPECT_EQ(Reg(p.desk, M, "Counter"), c.machineCounter) << c.what;
        EXPECT_EQ(Reg(p.desk, U, "Counter"), c.userCounter) << c.what;
        EXPECT_EQ(Reg(p.desk, U, "GlobalSettings"), c.userChooser) << c.what;
        EXPECT_EQ(Reg(p.desk, M, "Orvanex", kRunKey), c.machineRunAfter) << c.what;
        EXPECT_EQ(Reg(p.desk, U, "Orvanex", kRunKey), c.userRunAfter) << c.what;
        // The switch to per-user settings holds for the rest of the run, and the
        // offer is made once: a declined one is not asked again.
        p.desk.messageBoxes.clear();
        SaveSettings(p.ctx);
        for (const auto& text : BoxTexts(p.desk)) EXPECT_NE(text, kOffer) << c.what;
    }
}

// Exit writes the counter; where the shared key refuses it, it is kept per
// user (said once), and the next start counts on from it.
TEST(StandardAccount, CounterNeverGoesBackAtExit) {
    constexpr const char* kKept =
        "Windows did not let Orvanex store the file counter in the settings shared by all users of "
        "this "
        "PC, so it is kept with your own settings from now on.";
    sim::SimDesktop desk;
    desk.registry.Put(RegRoot::LocalMachine, kKey, "Counter", "7");
    desk.registry.RefuseKeyWrites(RegRoot::LocalMachine, kKey);
    for (int run = 0; run < 2; ++run) {
        Program program(desk.StartProcess().os());
        ASSERT_TRUE(program.Start("-startup"));
        EXPECT_EQ(program.state().Settings.Counter, 7 + run * 5) << "run " << run;
        program.state().Settings.Counter += 5;
        desk.messageBoxes.clear();
        desk.menuChoices = {"E&xit"};
        program.container().OnTrayNotify(0x205);
        EXPECT_EQ(BoxTexts(desk),
                  run == 0 ? std::vector<std::string>{kKept} : std::vector<std::string>{})
            << "run " << run;
        EXPECT_EQ(desk.registry.Get(RegRoot::CurrentUser, kKey, "SharedCounter"),
                  std::to_string(12 + run * 5));
        EXPECT_EQ(desk.registry.Get(RegRoot::LocalMachine, kKey, "Counter"), "7");
        desk.residentClaimed = false;  // the process has ended, and its mutex with it
    }

    // When this user's key refuses as well, the loss is reported.
    SimProgram own;
    own.desk.registry.Put(RegRoot::CurrentUser, kKey, "GlobalSettings", "0");
    ASSERT_TRUE(own.program.Start("-startup"));
    own.desk.registry.RefuseKeyWrites(RegRoot::CurrentUser, kKey);
    own.st.Settings.Counter = 3;
    own.desk.menuChoices = {"E&xit"};
    own.program.container().OnTrayNotify(0x205);
    ASSERT_EQ(own.desk.messageBoxes.size(), 1u);
    EXPECT_EQ(own.desk.messageBoxes[0].text.rfind(
                  "Windows did not let Orvanex store the file counter (3).", 0),
              0u);

    // A later save to a writable shared key holds what the user chose; the kept copy goes.
    SimProgram admin;
    admin.desk.registry.Put(RegRoot::CurrentUser, kKey, "SharedCounter", "40");
    LoadSettings(admin.ctx);
    EXPECT_EQ(admin.st.Settings.Counter, 40);
    admin.st.Settings.Counter = 0;  // Reset Counter, then OK
    SaveSettings(admin.ctx);
    LoadSettings(admin.ctx);
    EXPECT_EQ(admin.st.Settings.Counter, 0);
    EXPECT_EQ(admin.desk.registry.Get(RegRoot::CurrentUser, kKey, "SharedCounter"), std::nullopt);
}

// Ended by the end of the session or by "-exit" (the installer; Restart
// Manager's close arrives as the end of the session): the counter goes where it
// can, no box holds the close up, and the next start says what was not
// stored, once.
TEST(StandardAccount, UnattendedExitTellsAtTheNextStart) {
    constexpr const char* kWhen = "When Orvanex was last ended by Windows or by its installer: ";
    struct Case {
        const char* what;
        bool endSession, userKeyRefused;
        const char *sharedCounter, *notice;
    };
    const Case cases[] = {
        {"end of session, shared key refused", true, false, "12",
         "Windows did not let Orvanex store the file counter in the settings shared by all"},
        {"-exit, shared key refused", false, false, "12",
         "Windows did not let Orvanex store the file counter in the settings shared by all"},
        {"end of session, both keys refused", true, true, "<none>",
         "Windows did not let Orvanex store the file counter, so it counts on from the last "
         "stored value (7)"},
    };
    for (const Case& c : cases) {
        sim::SimDesktop desk;
        desk.registry.Put(RegRoot::LocalMachine, kKey, "Counter", "7");
        desk.registry.RefuseKeyWrites(RegRoot::LocalMachine, kKey);
        if (c.userKeyRefused) desk.registry.RefuseKeyWrites(RegRoot::CurrentUser, kKey);
        sim::SimProcess& resident = desk.StartProcess();
        Program program(resident.os());
        ASSERT_TRUE(program.Start("-startup")) << c.what;
        program.state().Settings.Counter = 12;
        if (c.endSession) {
            desk.EndSession();
        } else {
            Program exit(desk.StartProcess().os());
            EXPECT_FALSE(exit.Start("-exit")) << c.what;
        }
        EXPECT_TRUE(resident.quitRequested()) << c.what;
        EXPECT_EQ(BoxTexts(desk), std::vector<std::string>{}) << c.what;
        // The shell is ending with the session: its tray is not called then.
        EXPECT_EQ(desk.tray.deletes(), c.endSession ? 0 : 1) << c.what;
        EXPECT_EQ(Reg(desk, RegRoot::CurrentUser, "SharedCounter"), c.sharedCounter) << c.what;
        desk.residentClaimed = false;
        for (int start = 0; start < 2; ++start) {
            desk.messageBoxes.clear();
            Program next(desk.StartProcess().os());
            ASSERT_TRUE(next.Start("-startup")) << c.what;
            const auto boxes = BoxTexts(desk);
            if (start == 0) {
                ASSERT_EQ(boxes.size(), 1u) << c.what;
                EXPECT_EQ(boxes[0].rfind(kWhen + std::string(c.notice), 0), 0u) << boxes[0];
            } else {
                EXPECT_EQ(boxes, std::vector<std::string>{}) << c.what << ": shown again";
            }
            desk.residentClaimed = false;
        }
    }
}

}  // namespace
}  // namespace orv
