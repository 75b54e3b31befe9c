#include "output/print_job.h"

#include <gtest/gtest.h>

#include "platform/error.h"
#include "platform/sim/sim_desktop.h"

namespace orv {
namespace {

using sim::PrintOp;
using Lines = std::vector<std::string>;

// Pages are 15840 x 11520 twips in landscape; lines are 23 twips per point
// (276 at 12 points, 184 at 8). The screen is 1280 x 1024, the capture 640 x 480.
class PrintJob : public ::testing::Test {
  protected:
    PrintJob() {
        for (int y = 0; y < surface.height; ++y)
            for (int x = 0; x < surface.width; ++x) surface.at(x, y) = uint32_t(x * 7 + y * 1000);
        desktop.clock.SetDate({2026, 3, 5, 14, 7, 9});
        state.CaptureSettings.Counter = 42;
    }
    void Run() { PrintCapture(ctx, copy); }
    const sim::SimDocument& Page() {
        if (printing.documents.size() != 1) throw std::runtime_error("not one page printed");
        return printing.documents.front();
    }
    const PrintOp& Picture() {
        auto pictures = Page().Find(PrintOp::Kind::Picture);
        if (pictures.size() != 1) throw std::runtime_error("not one picture drawn");
        return *pictures.front();
    }
    bool ClipboardHoldsTheCapture() {
        return desktop.clipboard.bitmap() && *desktop.clipboard.bitmap() == surface;
    }

    sim::SimDesktop desktop;
    sim::SimProcess& process = desktop.StartProcess();
    sim::SimPrinting& printing = desktop.printing;
    ProgramState state;
    SettingsRecord& cs = state.CaptureSettings;
    Context ctx{process.os(), state};
    Image surface{640, 480};
    std::function<void()> copy = [this] { desktop.clipboard.SetBitmap(surface, {}); };
};

TEST_F(PrintJob, PrintsTheCaptureOnTheCurrentPrinter) {
    Run();
    const sim::SimDocument& page = Page();
    EXPECT_EQ(page.printer, "Office Laser");
    // Height-limited, then 480 of the screen's 1024 rows.
    const PrintOp& picture = Picture();
    EXPECT_EQ((std::vector<float>{picture.x, picture.y, picture.width, picture.height}),
              (std::vector<float>{0, 0, 7200, 5400}));
    EXPECT_EQ(printing.endDocCalls, 1);
    EXPECT_TRUE(desktop.messageBoxes.empty());
    EXPECT_TRUE(ClipboardHoldsTheCapture());
    const Image rendered = sim::RenderPage(page);  // 15 twips a pixel
    EXPECT_EQ(rendered.at(0, 0), surface.at(0, 0));
    EXPECT_EQ(rendered.at(479, 359), surface.at(638, 478));
    EXPECT_EQ(rendered.at(480, 100), 0xFFFFFFu);
}

TEST_F(PrintJob, HeaderAndFooterSitAtTheMarginsInTheirSizes) {
    cs.PageBorder = 10;  // margins 792 and 576, bottom limit 10944
    cs.Header = "Dept [date]";
    cs.Footer = "  Page [counter]";
    Run();
    auto lines = Page().Find(PrintOp::Kind::Text);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ((std::vector<float>{lines[0]->x, lines[0]->y, float(lines[0]->fontSize)}),
              (std::vector<float>{792, 576, 12}));
    EXPECT_EQ((std::vector<float>{lines[1]->x, lines[1]->y, float(lines[1]->fontSize)}),
              (std::vector<float>{792, 10944 - 184, 8}));
    EXPECT_EQ(Page().Lines(), (Lines{"Dept 05032026", "  Page 42"}));
    EXPECT_EQ(cs.Header, "Dept 05032026");
    EXPECT_EQ(Picture().y, 576 + 2 * 276);
}

TEST_F(PrintJob, PromptsAndPresenceOfTheBands) {
    const std::string ask = "Enter the Header Text for the Printout";
    const std::string preset = "[Prompt User for Header]";
    struct Case {
        std::string header;
        std::vector<std::optional<std::string>> answers;
        Lines prompts, printed;
        float imageTop;
        // clang-format off
    } cases[] = {
        {"  " + preset + "  ", {"Dept [date]"}, {ask}, {"Dept 05032026"}, 552},
        {"[prompt user for header]", {}, {}, {"[prompt user for header]"}, 552},
        {preset, {""}, {ask}, {}, 0},
        {preset, {std::nullopt}, {ask}, {}, 0},
        {"    ", {}, {}, {}, 0},
        {"[company]", {}, {}, {""}, 552},  // expands to nothing, band kept
    };
    // clang-format on
    desktop.userCompany = "";
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        printing.documents.clear();
        desktop.inputPrompts.clear();
        desktop.inputBoxAnswers.assign(cases[i].answers.begin(), cases[i].answers.end());
        cs.Header = cases[i].header;
        Run();
        EXPECT_EQ(desktop.inputPrompts, cases[i].prompts) << i;
        EXPECT_EQ(Page().Lines(), cases[i].printed) << i;
        EXPECT_EQ(Picture().y, cases[i].imageTop) << i;
    }
    cs.Header = preset;
    cs.Footer = " [Prompt User for Footer]";
    desktop.inputBoxAnswers = {"top", "[tab]end"};
    printing.documents.clear();
    Run();
    EXPECT_EQ(desktop.inputPrompts.back(), "Enter the Footer Text for the Printout");
    EXPECT_EQ(Page().Lines(), (Lines{"top", "\tend"}));
}

// A partial capture prints at the scale the whole desktop would, and the
// whole desktop spans every monitor (page 15840 x 11520, width-limited).
TEST_F(PrintJob, PartialCapturesShrinkByTheirShareOfEveryMonitor) {
    struct Case {
        const char* what;
        std::vector<platform::ScreenRect> monitors;
        int16_t stretch;
        int pictureWidth, pictureHeight;
        float width, height;
    };
    const std::vector<platform::ScreenRect> twoSideBySide = {{0, 0, 1280, 1024},
                                                             {-1280, 0, 1280, 1024}};
    const Case cases[] = {
        {"one monitor, as wide as it", {}, 0, 1280, 512, 15840, 6336},
        {"one monitor of two", twoSideBySide, 0, 1280, 512, 7920, 3168},
        {"both monitors", twoSideBySide, 0, 2560, 1024, 15840, 6336},
        {"one monitor of two, stretched", twoSideBySide, 1, 1280, 512, 15840, 6336},
    };
    for (const auto& c : cases) {
        printing.documents.clear();
        desktop.monitors = c.monitors;
        cs.StretchImage = c.stretch;
        surface = Image(c.pictureWidth, c.pictureHeight, 0x00808080);
        Run();
        EXPECT_FLOAT_EQ(Picture().width, c.width) << c.what;
        EXPECT_FLOAT_EQ(Picture().height, c.height) << c.what;
    }
}

// A default job goes to the system's default as it is at each job (Windows
// moves it with the user's location); a missing printer aborts untouched.
TEST_F(PrintJob, EachJobFindsItsPrinterAfresh) {
    cs.Printer = "Colour Inkjet";
    Run();
    cs.Printer = "<Default Printer>";
    Run();
    printing.defaultPrinter = 1;
    Run();
    ASSERT_EQ(printing.documents.size(), 3u);
    EXPECT_EQ(printing.documents[1].printer, "Office Laser");
    EXPECT_EQ(printing.documents[2].printer, "Colour Inkjet");
    cs.Printer = "colour inkjet";
    Run();
    ASSERT_EQ(desktop.messageBoxes.size(), 1u);
    EXPECT_EQ(desktop.messageBoxes[0].text,
              "Printer 'colour inkjet' does not exist anymore. Aborting Print.");
    EXPECT_TRUE(printing.pending().ops.empty());
    EXPECT_EQ(printing.endDocCalls, 3);
    EXPECT_TRUE(ClipboardHoldsTheCapture());
}

TEST_F(PrintJob, ClearingAndReadingBackWaitForAnotherProgramToLetGo) {
    desktop.clipboard.MakeBusy(9);  // the tenth attempt of the clear gets through
    copy = [this] {
        desktop.clipboard.SetBitmap(surface, {});
        desktop.clipboard.MakeBusy(9);  // and of the read-back
    };
    Run();
    EXPECT_EQ(printing.documents.size(), 1u);
    EXPECT_TRUE(desktop.messageBoxes.empty());
}

TEST_F(PrintJob, FailuresNameTheirStage) {
    const std::string noPrinter =
        "Problem getting printer information from the system. Make sure the printer is set up "
        "correctly. 1E4";
    const std::string printStage =
        "Error printing screen image. Check your printer is properly connected.\r\n";
    struct Case {
        std::function<void()> arrange;
        std::string message;
        int endDocs;
        bool headerPageSent;
    } cases[] = {
        {[&] { printing.refuseOrientation = true; },
         "Error Selecting Printer.\r\nInvalid property value 17C", 0, false},
        {[&] { printing.printers.clear(); }, "Error Selecting Printer.\r\n" + noPrinter, 0, false},
        {[&] { printing.failPageSize = true; }, "Error scaling paper size\r\n" + noPrinter, 0,
         false},
        {[&] { printing.rejectedFontSizes = {8}; },
         "Error calculating image area\r\nInvalid property value 17C", 0, false},
        {[&] { printing.failPrintLine = true; }, "Error writing header/footer\r\nPrinter error 1E2",
         1, false},
        {[&] { cs.Resize = 1, cs.ResizeScale = 1e39; }, "Error resizing image area\r\nOverflow 6",
         1, true},
        {[&] { cs.Resize = 1, cs.ResizeScale = -50; },
         "Error resizing image area\r\nInvalid procedure call or argument 5", 1, true},
        {[&] { cs.PageBorder = -20; },
         "Error scaling paper size\r\nInvalid procedure call or argument 5", 0, false},
        {[&] { cs.PageBorder = 100; },
         "Error calcualting printer area\r\nInvalid procedure call or argument 5", 1, true},
        {[&] { printing.failDraw = true; }, printStage + "Printer error 1E2", 1, true},
        {[&] { printing.failEndDoc = true; }, printStage + "Printer error 1E2", 1, false},
        {[&] { desktop.clipboard.MakeBusy(10); },
         "Error capturing screen image 0x00\r\nCan't open Clipboard 209", 0, false},
        {[&] { copy = [] { throw Error(-2147024809, "The parameter is incorrect."); }; },
         "Error capturing screen image 0x00\r\nThe parameter is incorrect. 80070057", 0, false},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        printing = sim::SimPrinting();
        desktop.messageBoxes.clear();
        cs = SettingsRecord();
        cs.Header = "Head";
        c.arrange();
        ASSERT_NO_THROW(Run()) << i;
        ASSERT_EQ(desktop.messageBoxes.size(), 1u) << i;
        EXPECT_EQ(desktop.messageBoxes[0].text, c.message) << i;
        EXPECT_EQ(printing.endDocCalls, c.endDocs) << i;
        ASSERT_EQ(printing.documents.size(), c.headerPageSent ? 1u : 0u) << i;
        if (c.headerPageSent) {
            EXPECT_EQ(Page().Lines(), Lines{"Head"}) << i;
            EXPECT_TRUE(Page().Find(PrintOp::Kind::Picture).empty()) << i;
        }
        bool copied = c.message.find("0x00") == std::string::npos;
        EXPECT_TRUE(!copied || ClipboardHoldsTheCapture()) << i;
    }
}

TEST_F(PrintJob, EndingAHalfPrintedPageThatFailsReachesTheCaller) {
    cs.Header = "Head";
    printing.failDraw = printing.failEndDoc = true;
    EXPECT_THROW(Run(), Error);
    EXPECT_EQ(printing.endDocCalls, 1);
}

TEST_F(PrintJob, AFailedCopyEndsTheJobQuietly) {
    desktop.clipboard.PutBitmap(Image(10, 10));  // an older picture must not be printed
    copy = [] {};
    Run();
    EXPECT_TRUE(desktop.messageBoxes.empty());
    EXPECT_TRUE(printing.pending().ops.empty());
    EXPECT_EQ(printing.endDocCalls, 0);
}

}  // namespace
}  // namespace orv
