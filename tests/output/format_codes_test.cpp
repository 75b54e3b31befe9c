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
        state.CaptureSettings.SaveFolder = "C:\\";
        state.CaptureSettings.SaveFileName = "ORVX-20260305-140709";
    }
    std::string Expand(const std::string& text, bool fileName = false) {
        return ExpandFormatCodes(ctx, text, fileName);
    }
    sim::SimDesktop desktop;
    sim::SimProcess& process = desktop.StartProcess();
    ProgramState state;
    Context ctx{process.os(), state};
};

struct Expansion {
    const char* text;
    const char* expected;
};

TEST_F(FormatCodes, EachCodeAndItsTraps) {
    const Expansion cases[] = {
        {"[rdate]", "20260305"},
        {"[date]", "05032026"},
        {"[usdate]", "03052026"},
        {"[counter]", "42"},
        {"[time]", "140709"},
        {"[name]", "Test User"},
        {"[company]", "Test Company"},
        {"[month]", "03"},
        {"[monthlong]", "March"},
        {"[monthshort]", "Mar"},
        {"[day]", "05"},
        {"[year]", "26"},
        {"[tab]", "\t"},
        {"[hour]", "14"},
        {"[min]", "07"},
        {"[sec]", "09"},
        {"[fileformat]", ".png"},
        {"[filepath]", "C:\\"},
        {"[filename]", kNotSaved},
        // Letter case, partial words, unknown words, repeats.
        {"[DATE]", "05032026"},
        {"[Rdate]-[TIME]", "20260305-140709"},
        {"[date", "[date"},
        {"date]", "date]"},
        {"[dates]", "[dates]"},
        {"plain text", "plain text"},
        {"", ""},
        {"a[day]b[day]c", "a05b05c"},
        // Longer codes are replaced first or do not contain the shorter one.
        {"[rdate][date][usdate]", "202603050503202603052026"},
        {"[month][monthlong][monthshort]", "03MarchMar"},
        {"[hour]:[min]:[sec]", "14:07:09"},
        {"[filepath]ORVX[fileformat]", "C:\\ORVX.png"},
    };
    for (const auto& c : cases) EXPECT_EQ(Expand(c.text), c.expected) << c.text;
}

TEST_F(FormatCodes, FileNameDependsOnTheFlagAndTheSave) {
    struct Case {
        bool fileNameFlag;
        int16_t save;
        std::string expected;
    } cases[] = {
        {false, 1, "ORVX-20260305-140709"},
        {true, 1, kNotSaved},
        {false, 0, kNotSaved},
        {false, 2, kNotSaved},
        {true, 0, kNotSaved},
    };
    for (const auto& c : cases) {
        state.CaptureSettings.Save = c.save;
        EXPECT_EQ(Expand("[FileName]", c.fileNameFlag), c.expected)
            << c.fileNameFlag << " " << c.save;
    }
}

TEST_F(FormatCodes, ReplacementsExpandOnlyLaterCodes) {
    struct Case {
        const char* userName;
        const char* expected;
    } cases[] = {
        {"A[tab]B", "A\tB"},  // "[tab]" comes after "[name]"
        {"[company] Ltd", "Test Company Ltd"},
        {"[date]", "[date]"},  // "[date]" was replaced before "[name]"
        {"[name]", "[name]"},  // no endless expansion
        {"[NAME][name]", "[NAME][name]"},
    };
    for (const auto& c : cases) {
        desktop.userName = c.userName;
        EXPECT_EQ(Expand("[name]"), c.expected) << c.userName;
    }
    state.CaptureSettings.SaveFolder = "D:\\[filename]\\";
    EXPECT_EQ(Expand("[filepath]"), std::string("D:\\") + kNotSaved + "\\");
}

TEST_F(FormatCodes, NumbersAndDatesAreFormatted) {
    struct Case {
        int32_t counter;
        int16_t saveFormat;
        platform::DateTime date;
        const char* expected;
    } cases[] = {
        {0, 0, {2026, 3, 5}, "0 .gif 05 03 26"},
        {-7, 2, {2005, 12, 9}, "-7 .bmp 09 12 05"},
        {2147483647, 3, {2100, 1, 31}, "2147483647 .jpg 31 01 00"},
        {1, 4, {2026, 3, 5}, "1  05 03 26"},
        {1, -1, {2026, 3, 5}, "1  05 03 26"},
    };
    for (const auto& c : cases) {
        state.CaptureSettings.Counter = c.counter;
        state.CaptureSettings.SaveFormat = c.saveFormat;
        desktop.clock.SetDate(c.date);
        EXPECT_EQ(Expand("[counter] [fileformat] [day] [month] [year]"), c.expected);
    }
}

TEST_F(FormatCodes, TheDateIsReadAtExpansionAndTheTimeComesFromTheCapture) {
    desktop.clock.SetDate({2026, 3, 5, 23, 59, 59});
    state.CaptureTime = "23:59:58";
    desktop.clock.Advance(1);  // past midnight
    EXPECT_EQ(Expand("[rdate] [time]"), "20260306 235958");
}

TEST_F(FormatCodes, AFailingStepLeavesTheWholeTextUnexpanded) {
    for (const char* time : {"", "1407", "14-07-09", "ab:cd:ef"}) {
        state.CaptureTime = time;
        EXPECT_EQ(Expand("[date] [time]"), "[date] [time]") << time;
        EXPECT_EQ(Expand("[date] [sec]"), "[date] [sec]") << time;
        EXPECT_EQ(Expand("[date]"), "05032026") << time;  // time codes absent: no failure
    }
}

}  // namespace
}  // namespace orv
