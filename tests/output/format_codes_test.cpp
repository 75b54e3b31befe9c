// Each code's value, the order of codes, values that look like codes, bad
// times and growth are checked against the fuzzer's own reference on its
// seeds (fuzz_replay_test); here what that reference takes from the program.
#include "output/format_codes.h"

#include <gtest/gtest.h>

#include "platform/sim/sim_desktop.h"

namespace orv {
namespace {

constexpr const char* kNotSaved = " The image was not saved to disk ";

class FormatCodes : public ::testing::Test {
  protected:
    FormatCodes() {
        desktop.clock.SetDate({2026, 3, 5, 14, 7, 9});
        state.CaptureTime = "14:07:09";
        state.CaptureSettings.SaveFileName = "ORVX-20260305";
    }
    sim::SimDesktop desktop;
    sim::SimProcess& process = desktop.StartProcess();
    ProgramState state;
    Context ctx{process.os(), state};
};

TEST_F(FormatCodes, MonthNamesBesideTheMonthNumber) {
    EXPECT_EQ(ExpandFormatCodes(ctx, "[month][MonthLong][monthshort]", false), "03MarchMar");
    EXPECT_EQ(ExpandFormatCodes(ctx, "[monthlong", false), "[monthlong");
}

TEST_F(FormatCodes, FileNameOnlyForAPrintedHeaderOfASavedCapture) {
    const std::tuple<bool, int16_t, std::string> cases[] = {{false, 1, "ORVX-20260305"},
                                                            {true, 1, kNotSaved},
                                                            {false, 0, kNotSaved},
                                                            {false, 2, kNotSaved}};
    for (const auto& [fileNameFlag, save, expected] : cases) {
        state.CaptureSettings.Save = save;
        EXPECT_EQ(ExpandFormatCodes(ctx, "[filename]", fileNameFlag), expected)
            << fileNameFlag << save;
    }
}

}  // namespace
}  // namespace orv
