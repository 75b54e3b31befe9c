#include "output/format_codes.h"

#include <gtest/gtest.h>

#include "platform/sim/sim_desktop.h"

namespace orv {
namespace {

constexpr const char* kNotSaved = " The image was not saved to disk ";

// 5 March 2026, a capture at 14:07:09, Counter 42, SaveFormat 1, SaveFolder "C:\".
class FormatCodes : public ::testing::Test {
  protected:
    FormatCodes() {
        desktop.clock.SetDate({2026, 3, 5, 14, 7, 9});
        state.CaptureTime = "14:07:09";
        state.CaptureSettings.Counter = 42;
        state.CaptureSettings.SaveFormat = 1;
        state.CaptureSettings.SaveFileName = "ORVX-20260305";
    }
    std::string Expand(const std::string& text, bool fileName = false) {
        return ExpandFormatCodes(ctx, text, fileName);
    }
    sim::SimDesktop desktop;
    sim::SimProcess& process = desktop.StartProcess();
    ProgramState state;
    Context ctx{process.os(), state};
};

TEST_F(FormatCodes, EachCodeAndTheOrderingTraps) {
    // clang-format off
    const std::pair<const char*, const char*> cases[] = {
        {"[rdate]", "20260305"}, {"[date]", "05032026"}, {"[usdate]", "03052026"},
        {"[counter]", "42"}, {"[time]", "140709"}, {"[name]", "Test User"},
        {"[company]", "Test Company"}, {"[month]", "03"}, {"[monthlong]", "March"},
        {"[monthshort]", "Mar"}, {"[day]", "05"}, {"[year]", "26"}, {"[tab]", "\t"},
        {"[hour]", "14"}, {"[min]", "07"}, {"[sec]", "09"}, {"[fileformat]", ".png"},
        {"[filepath]", "C:\\"}, {"[filename]", kNotSaved},
        {"[DATE]", "05032026"}, {"[Rdate]-[TIME]", "20260305-140709"}, {"[date", "[date"},
        {"[dates]", "[dates]"}, {"no codes", "no codes"}, {"a[day]b[day]", "a05b05"},
        {"[rdate][date][usdate]", "202603050503202603052026"},
        {"[month][monthlong][monthshort]", "03MarchMar"},
    };
    // clang-format on
    for (const auto& [text, expected] : cases) EXPECT_EQ(Expand(text), expected) << text;
}

TEST_F(FormatCodes, FileNameOnlyForAPrintedHeaderOfASavedCapture) {
    const std::tuple<bool, int16_t, std::string> cases[] = {{false, 1, "ORVX-20260305"},
                                                            {true, 1, kNotSaved},
                                                            {false, 0, kNotSaved},
                                                            {false, 2, kNotSaved}};
    for (const auto& [fileNameFlag, save, expected] : cases) {
        state.CaptureSettings.Save = save;
        EXPECT_EQ(Expand("[filename]", fileNameFlag), expected) << fileNameFlag << save;
    }
}

TEST_F(FormatCodes, ValuesAreNeverReadAsCodes) {
    struct Case {
        const char *userName, *folder, *text, *expected;
    };
    const Case cases[] = {
        {"A[tab]B", "C:\\", "[name]", "A[tab]B"},
        {"[date]", "C:\\", "[name] [date]", "[date] 05032026"},
        {"x", "D:\\[filename]\\", "Saved in [filepath]", "Saved in D:\\[filename]\\"},
        {"", "C:\\", "[mo[name]nth]", "[month]"},  // a value joined to the text stays a value
    };
    for (const Case& c : cases) {
        desktop.userName = c.userName;
        state.CaptureSettings.SaveFolder = c.folder;
        EXPECT_EQ(Expand(c.text), c.expected) << c.text;
    }
}

TEST_F(FormatCodes, GrowthIsBounded) {
    state.CaptureSettings.SaveFolder = std::string(200, 'f');
    std::string text;
    for (int i = 0; i < 150; ++i) text += "[filepath]";  // 1.5 KB
    EXPECT_EQ(Expand(text).size(), 30000u);
    state.CaptureSettings.SaveFolder = std::string(230, 'f');  // past 32 KiB: nothing expands
    EXPECT_EQ(Expand(text), text);
}

TEST_F(FormatCodes, NumbersAndDateParts) {
    const std::tuple<int32_t, int16_t, platform::DateTime, const char*> cases[] = {
        {0, 0, {2026, 3, 5}, "0 .gif 05 03 26"},
        {-7, 2, {2005, 12, 9}, "-7 .bmp 09 12 05"},
        {1, 3, {2100, 1, 31}, "1 .jpg 31 01 00"},
        {1, 4, {2026, 3, 5}, "1  05 03 26"},
    };
    for (const auto& [counter, format, date, expected] : cases) {
        state.CaptureSettings.Counter = counter;
        state.CaptureSettings.SaveFormat = format;
        desktop.clock.SetDate(date);
        EXPECT_EQ(Expand("[counter] [fileformat] [day] [month] [year]"), expected);
    }
}

TEST_F(FormatCodes, AFailingStepLeavesTheWholeTextUnexpanded) {
    for (const char* time : {"", "1407", "14-07-09", "ab:cd:ef"}) {
        state.CaptureTime = time;
        EXPECT_EQ(Expand("[date] [time]"), "[date] [time]") << time;
        EXPECT_EQ(Expand("[date]"), "05032026") << time;
    }
}

}  // namespace
}  // namespace orv
