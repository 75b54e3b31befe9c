#include "platform/sim/sim_files.h"

#include <gtest/gtest.h>

#include <functional>

#include "platform/error.h"
#include "platform/sim/sim_desktop.h"

namespace orv {
namespace {

// The simulated disk must misread names as Windows does, or tests of the
// program's refusals could never fail.
struct NameCase {
    const char* path;
    std::function<void(const sim::SimFiles&)> check;
};

TEST(SimFiles, ReadNamesAsWindowsDoes) {
    const NameCase cases[] = {
        {"C:\\shot:1.png",
         [](const sim::SimFiles& f) {
             EXPECT_EQ(f.ReadText("C:\\shot"), "");  // the visible file is empty
             EXPECT_EQ(f.streams().count("c:\\shot:1.png"), 1u);
         }},
        {"C:\\nul.png", [](const sim::SimFiles& f) { EXPECT_EQ(f.deviceBytes(), 3u); }},
        {"C:\\missing\\COM1 .tar.gz", [](const sim::SimFiles& f) { EXPECT_EQ(f.deviceBytes(), 3u); }},
        {"C:\\lpt\xB2", [](const sim::SimFiles& f) { EXPECT_EQ(f.deviceBytes(), 3u); }},
        {"C:\\shot. .", [](const sim::SimFiles& f) { EXPECT_EQ(f.ReadText("C:\\shot"), "abc"); }},
        {"C:\\com10", [](const sim::SimFiles& f) { EXPECT_EQ(f.ReadText("C:\\com10"), "abc"); }},
    };
    for (const auto& c : cases) {
        sim::SimDesktop desk;
        desk.files.WriteFile(c.path, std::string("abc"));
        c.check(desk.files);
    }
    sim::SimDesktop desk;
    EXPECT_THROW(desk.files.WriteFile("C:\\a\tb", std::string("x")), Error);
    EXPECT_THROW(desk.files.WriteFile("C:\\a:b\\c", std::string("x")), Error);
}

TEST(SimFiles, HeldAndReadOnlyFilesRefuseLikeWindows) {
    sim::SimDesktop desk;
    auto& f = desk.files;
    f.WriteFile("C:\\new", std::string("new"));
    f.WriteFile("C:\\old", std::string("old"));
    f.HoldOpen("C:\\old", 1.0);
    try {
        f.MoveReplacing("C:\\new", "C:\\old");
        FAIL() << "replaced a held file";
    } catch (const Error& e) {
        EXPECT_EQ(e.number(), platform::file_error::kAccessDenied);
    }
    try {
        f.WriteFile("C:\\old", std::string("x"));
        FAIL() << "wrote a held file";
    } catch (const Error& e) {
        EXPECT_EQ(e.number(), platform::file_error::kSharingViolation);
    }
    EXPECT_FALSE(f.RemoveFile("C:\\old"));
    desk.clock.Advance(1.0);
    f.MoveReplacing("C:\\new", "C:\\old");
    EXPECT_EQ(f.ReadText("C:\\old"), "new");
    EXPECT_EQ(f.Read("C:\\new"), std::nullopt);

    f.SetReadOnly("C:\\old");
    f.WriteFile("C:\\new", std::string("newer"));
    EXPECT_THROW(f.MoveReplacing("C:\\new", "C:\\old"), Error);
    EXPECT_THROW(f.CreateNewFile("C:\\new", {}), Error);
    EXPECT_EQ(f.ReadText("C:\\old"), "new");
}

}  // namespace
}  // namespace orv
