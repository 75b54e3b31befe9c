#include "output/print_job.h"

#include <gtest/gtest.h>

#include "platform/error.h"
#include "platform/sim/sim_desktop.h"

namespace orv {
namespace {

using sim::PrintOp;

constexpr unsigned kCriticalOk = platform::mb::kOk | platform::mb::kCritical;

// Pages are 15840 x 11520 twips in landscape; lines are 23 twips per point
// (276 at 12 points, 184 at 8). The screen is 1280 x 1024.
class PrintJob : public ::testing::Test {
  protected:
    PrintJob() {
        for (int y = 0; y < surface.height; ++y)
            for (int x = 0; x < surface.width; ++x) surface.at(x, y) = uint32_t(x * 7 + y * 1000);
        desktop.clock.SetDate({2026, 3, 5, 14, 7, 9});
        state.CaptureTime = "14:07:09";
        state.CaptureSettings.Counter = 42;
        copy = [this] { desktop.clipboard.SetBitmap(surface); };
    }
    void Run() { PrintCapture(ctx, copy); }
    const sim::SimDocument& Page() {
        EXPECT_EQ(printing.documents.size(), 1u);
        if (printing.documents.empty()) printing.documents.emplace_back();
        return printing.documents.front();
    }
    const PrintOp& Picture() {
        auto pictures = Page().Find(PrintOp::Kind::Picture);
        EXPECT_EQ(pictures.size(), 1u);
        static const PrintOp none(PrintOp::Kind::Picture);
        return pictures.empty() ? none : *pictures.front();
    }

    sim::SimDesktop desktop;
    sim::SimProcess& process = desktop.StartProcess();
    sim::SimPrinting& printing = desktop.printing;
    ProgramState state;
    SettingsRecord& cs = state.CaptureSettings;
    Context ctx{process.os(), state};
    Image surface{640, 480};
    std::function<void()> copy;
};

TEST_F(PrintJob, PrintsTheCaptureOnTheCurrentPrinter) {
    Run();
    const sim::SimDocument& page = Page();
    EXPECT_EQ(page.printer, "Office Laser");
    EXPECT_EQ(page.orientation, 2);
    ASSERT_GE(page.ops.size(), 3u);
    EXPECT_EQ(page.ops[0].kind, PrintOp::Kind::BackColor);
    EXPECT_EQ(page.ops[0].value, 0xFFFFFFu);
    EXPECT_EQ(page.ops[1].kind, PrintOp::Kind::Orientation);
    EXPECT_EQ(page.ops[2].kind, PrintOp::Kind::FontName);
    EXPECT_EQ(page.ops[2].text, "Arial");
    EXPECT_TRUE(page.Lines().empty());
    // Height-limited, then 480 of the screen's 1024 rows.
    const PrintOp& picture = Picture();
    EXPECT_EQ(picture.value, 0xCC0020u);
    EXPECT_EQ(picture.picture, surface);
    EXPECT_EQ(picture.x, 0);
    EXPECT_EQ(picture.y, 0);
    EXPECT_EQ(picture.width, 7200);
    EXPECT_EQ(picture.height, 5400);
    EXPECT_EQ(printing.endDocCalls, 1);
    EXPECT_TRUE(desktop.messageBoxes.empty());
    EXPECT_EQ(state.pbScreenDump, surface);
    ASSERT_TRUE(desktop.clipboard.bitmap());
    EXPECT_EQ(*desktop.clipboard.bitmap(), surface);

    Image rendered = sim::RenderPage(page);
    EXPECT_EQ(rendered.width, 1056);
    EXPECT_EQ(rendered.at(0, 0), surface.at(0, 0));
    EXPECT_EQ(rendered.at(479, 359), surface.at(638, 478));
    EXPECT_EQ(rendered.at(480, 100), 0xFFFFFFu);
}

TEST_F(PrintJob, HeaderAndFooterSitAtTheMarginsInTheirSizes) {
    cs.PageBorder = 10;
    cs.Header = "Dept [date]";
    cs.Footer = "  Page [counter]";
    cs.StretchImage = 1;
    Run();
    auto lines = Page().Find(PrintOp::Kind::Text);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0]->text, "Dept 05032026");
    EXPECT_EQ(lines[0]->fontSize, 12);
    EXPECT_EQ(lines[0]->x, 792);
    EXPECT_EQ(lines[0]->y, 576);
    EXPECT_EQ(lines[1]->text, "  Page 42");  // untrimmed
    EXPECT_EQ(lines[1]->fontSize, 8);
    EXPECT_EQ(lines[1]->x, 792);
    EXPECT_EQ(lines[1]->y, 10944 - 184);
    EXPECT_EQ(cs.Header, "Dept 05032026");
    EXPECT_EQ(cs.Footer, "  Page 42");
    // The area runs from 576 + 2 x 276 to 10944 - 2 x 184, 14256 wide.
    const PrintOp& picture = Picture();
    EXPECT_EQ(picture.x, 792);
    EXPECT_EQ(picture.y, 1128);
    EXPECT_EQ(picture.height, 10576 - 1128);
    EXPECT_EQ(picture.width, 12597.333f);
}

TEST_F(PrintJob, PromptsAndPresenceOfTheBands) {
    struct Case {
        const char* what;
        std::string header;
        std::vector<std::optional<std::string>> answers;
        std::vector<std::string> prompts;
        std::vector<std::string> lines;
        float imageTop;
    } cases[] = {
        {"preset with blanks",
         "  [Prompt User for Header]  ",
         {"Dept [date]"},
         {"Enter the Header Text for the Printout"},
         {"Dept 05032026"},
         552},
        {"other letter case is text",
         "[prompt user for header]",
         {},
         {},
         {"[prompt user for header]"},
         552},
        {"empty answer",
         "[Prompt User for Header]",
         {""},
         {"Enter the Header Text for the Printout"},
         {},
         0},
        {"cancelled",
         "[Prompt User for Header]",
         {std::nullopt},
         {"Enter the Header Text for the Printout"},
         {},
         0},
        {"blank answer",
         "[Prompt User for Header]",
         {"   "},
         {"Enter the Header Text for the Printout"},
         {},
         0},
        {"blanks only", "    ", {}, {}, {}, 0},
        {"codes expanding to nothing", "[company]", {}, {}, {""}, 552},
    };
    for (const auto& c : cases) {
        printing.documents.clear();
        desktop.inputPrompts.clear();
        desktop.inputBoxAnswers.assign(c.answers.begin(), c.answers.end());
        desktop.userCompany = "";
        cs.Header = c.header;
        Run();
        EXPECT_EQ(desktop.inputPrompts, c.prompts) << c.what;
        EXPECT_EQ(Page().Lines(), c.lines) << c.what;
        EXPECT_EQ(Picture().y, c.imageTop) << c.what;
        EXPECT_TRUE(desktop.messageBoxes.empty()) << c.what;
    }
}

TEST_F(PrintJob, FooterPromptComesAfterTheHeaderPrompt) {
    cs.Header = "[Prompt User for Header]";
    cs.Footer = "[Prompt User for Footer]";
    desktop.inputBoxAnswers = {"top", "bottom [tab]end"};
    Run();
    EXPECT_EQ(desktop.inputPrompts,
              (std::vector<std::string>{"Enter the Header Text for the Printout",
                                        "Enter the Footer Text for the Printout"}));
    EXPECT_EQ(Page().Lines(), (std::vector<std::string>{"top", "bottom \tend"}));
}

TEST_F(PrintJob, MissingPrinterAbortsWithoutTouchingThePrinter) {
    for (const char* name : {"Gone", "office laser", "Office Laser "}) {
        desktop.messageBoxes.clear();
        cs.Printer = name;
        Run();
        ASSERT_EQ(desktop.messageBoxes.size(), 1u) << name;
        EXPECT_EQ(desktop.messageBoxes[0].text,
                  std::string("Printer '") + name + "' does not exist anymore. Aborting Print.");
        EXPECT_EQ(desktop.messageBoxes[0].title, "Orvanex - v3.5");
        EXPECT_EQ(desktop.messageBoxes[0].style, kCriticalOk);
        EXPECT_TRUE(printing.pending().ops.empty()) << name;
        EXPECT_EQ(printing.endDocCalls, 0) << name;
        EXPECT_EQ(*desktop.clipboard.bitmap(), surface) << name;
    }
    EXPECT_TRUE(printing.documents.empty());
}

TEST_F(PrintJob, ANamedPrinterStaysCurrentForLaterDefaultJobs) {
    cs.Printer = "Colour Inkjet";
    Run();
    cs.Printer = "<Default Printer>";
    Run();
    ASSERT_EQ(printing.documents.size(), 2u);
    EXPECT_EQ(printing.documents[0].printer, "Colour Inkjet");
    EXPECT_EQ(printing.documents[1].printer, "Colour Inkjet");
    EXPECT_EQ(printing.selections, 1);
}

TEST_F(PrintJob, FailuresNameTheirStage) {
    struct Case {
        const char* what;
        std::function<void()> arrange;
        std::string message;
        int endDocs;
        std::vector<std::string> printedLines;  // of the page sent, if any
        bool pageSent;
    } cases[] = {
        {"orientation refused",
         [&] { printing.refuseOrientation = true; },
         "Error Selecting Printer.\r\nInvalid property value 17C",
         0,
         {},
         false},
        {"no printer at all",
         [&] { printing.printers.clear(); },
         "Error Selecting Printer.\r\nProblem getting printer information from the system. Make "
         "sure the printer is set up correctly. 1E4",
         0,
         {},
         false},
        {"page size unreadable",
         [&] { printing.failPageSize = true; },
         "Error scaling paper size\r\nProblem getting printer information from the system. Make "
         "sure the printer is set up correctly. 1E4",
         0,
         {},
         false},
        {"footer size rejected",
         [&] { printing.rejectedFontSizes = {8}; },
         "Error calculating image area\r\nInvalid property value 17C",
         0,
         {},
         false},
        {"line not printed",
         [&] { printing.failPrintLine = true; },
         "Error writing header/footer\r\nPrinter error 1E2",
         1,
         {},
         false},
        {"resize overflow",
         [&] { cs.Resize = 1, cs.ResizeScale = 1e39; },
         "Error resizing image area\r\nOverflow 6",
         1,
         {"Head"},
         true},
        {"area of no height",
         [&] { cs.Resize = 1, cs.ResizeScale = 0; },
         "Error calcualting printer area\r\nDivision by zero B",
         1,
         {"Head"},
         true},
        {"margins past the page",
         [&] { cs.PageBorder = 300; },
         "Error calcualting printer area\r\nInvalid procedure call or argument 5",
         1,
         {"Head"},
         true},
        {"draw fails",
         [&] { printing.failDraw = true; },
         "Error printing screen image. Check your printer is properly connected.\r\nPrinter error "
         "1E2",
         1,
         {"Head"},
         true},
        {"page end fails",
         [&] { printing.failEndDoc = true; },
         "Error printing screen image. Check your printer is properly connected.\r\nPrinter error "
         "1E2",
         1,
         {},
         false},
        {"clipboard busy",
         [&] { desktop.clipboard.MakeBusy(1); },
         "Error capturing screen image 0x00\r\nCan't open Clipboard 209",
         0,
         {},
         false},
        {"negative system code",
         [&] { copy = [] { throw Error(-2147024809, "The parameter is incorrect."); }; },
         "Error capturing screen image 0x00\r\nThe parameter is incorrect. 80070057",
         0,
         {},
         false},
    };
    for (const auto& c : cases) {
        desktop.printing = sim::SimPrinting();
        desktop.messageBoxes.clear();
        cs = SettingsRecord();
        cs.Header = "Head";
        copy = [this] { desktop.clipboard.SetBitmap(surface); };
        c.arrange();
        ASSERT_NO_THROW(Run()) << c.what;
        ASSERT_EQ(desktop.messageBoxes.size(), 1u) << c.what;
        EXPECT_EQ(desktop.messageBoxes[0].text, c.message) << c.what;
        EXPECT_EQ(desktop.messageBoxes[0].title, "Orvanex - v3.5") << c.what;
        EXPECT_EQ(desktop.messageBoxes[0].style, kCriticalOk) << c.what;
        EXPECT_EQ(printing.endDocCalls, c.endDocs) << c.what;
        ASSERT_EQ(printing.documents.size(), c.pageSent ? 1u : 0u) << c.what;
        if (c.pageSent) {
            EXPECT_EQ(printing.documents[0].Lines(), c.printedLines) << c.what;
            EXPECT_TRUE(printing.documents[0].Find(PrintOp::Kind::Picture).empty()) << c.what;
        }
    }
}

TEST_F(PrintJob, EndingAHalfPrintedPageThatFailsReachesTheCaller) {
    cs.Header = "Head";
    printing.failDraw = true;
    printing.failEndDoc = true;
    EXPECT_THROW(Run(), Error);
    EXPECT_EQ(printing.endDocCalls, 1);
    EXPECT_TRUE(desktop.messageBoxes.empty());
}

TEST_F(PrintJob, AFailedCopyEndsTheJobQuietly) {
    desktop.clipboard.PutBitmap(Image(10, 10));  // an older picture must not be printed
    copy = [] {};
    Run();
    EXPECT_TRUE(desktop.messageBoxes.empty());
    EXPECT_TRUE(printing.pending().ops.empty());
    EXPECT_EQ(printing.endDocCalls, 0);
    EXPECT_FALSE(desktop.clipboard.bitmap());
}

TEST_F(PrintJob, TheClipboardKeepsTheImageAfterEveryJobPastTheCopy) {
    std::vector<std::function<void()>> setups = {
        [] {},
        [&] { cs.Printer = "Gone"; },
        [&] { printing.failDraw = true; },
        [&] { printing.refuseOrientation = true; },
        [&] { cs.Header = "[Prompt User for Header]"; },
    };
    for (std::size_t i = 0; i < setups.size(); ++i) {
        cs = SettingsRecord();
        desktop.printing = sim::SimPrinting();
        setups[i]();
        Run();
        ASSERT_TRUE(desktop.clipboard.bitmap()) << i;
        EXPECT_EQ(*desktop.clipboard.bitmap(), surface) << i;
    }
}

}  // namespace
}  // namespace orv
