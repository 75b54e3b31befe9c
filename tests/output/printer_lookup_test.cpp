#include "output/printer_lookup.h"

#include <gtest/gtest.h>

#include "platform/sim/sim_desktop.h"

namespace orv {
namespace {

class PrinterLookup : public ::testing::Test {
  protected:
    PrinterLookup() {
        desktop.printing.printers = {"Office Laser", "Colour Inkjet", "Office Laser", "Plotter"};
        desktop.printing.defaultPrinter = 3;
    }
    sim::SimDesktop desktop;
    sim::SimProcess& process = desktop.StartProcess();
    ProgramState state;
    Context ctx{process.os(), state};
};

TEST_F(PrinterLookup, ExactCaseSensitiveWholeNames) {
    struct Case {
        const char* name;
        int16_t position;
    } cases[] = {
        {"Office Laser", 1},  // the first of two equal names
        {"Colour Inkjet", 2},
        {"Plotter", 4},
        {"office laser", 0},
        {"Office Laser ", 0},
        {" Plotter", 0},
        {"Office", 0},
        {"", 0},
        {"<Default Printer>", 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FindPrinter(ctx, c.name, false), c.position) << c.name;
        EXPECT_EQ(desktop.printing.CurrentPrinter(), "Plotter") << "select false changed it";
    }
}

TEST_F(PrinterLookup, SelectingMakesTheFirstMatchCurrentForTheRun) {
    EXPECT_EQ(FindPrinter(ctx, "Office Laser", true), 1);
    EXPECT_EQ(desktop.printing.currentIndex(), 0u);
    EXPECT_EQ(FindPrinter(ctx, "Missing", true), 0);
    EXPECT_EQ(desktop.printing.currentIndex(), 0u);
    EXPECT_EQ(FindPrinter(ctx, "Colour Inkjet", false), 2);
    EXPECT_EQ(desktop.printing.CurrentPrinter(), "Office Laser");
}

TEST_F(PrinterLookup, NoPrintersOrAFailingListFindNothing) {
    desktop.printing.printers.clear();
    EXPECT_EQ(FindPrinter(ctx, "Office Laser", true), 0);
    desktop.printing.printers = {"Office Laser"};
    desktop.printing.failEnumeration = true;
    EXPECT_EQ(FindPrinter(ctx, "Office Laser", true), 0);
    EXPECT_EQ(desktop.printing.selections, 0);
}

TEST_F(PrinterLookup, FillsBothKindsOfList) {
    const std::vector<std::string> two = {"Office Laser", "Colour Inkjet"};
    const std::string gone = "Printer 'Gone' does not exist anymore. Changing to Default Printer.";
    struct Case {
        const char* what;
        std::vector<std::string> printers;
        bool failList, available, withDisabled;
        std::string printer;
        int16_t printScreen;
        std::vector<std::string> entries;
        int selected;
        std::string message;  // empty: no box
        std::string printerAfter;
    } cases[] = {
        {"default",
         two,
         false,
         true,
         false,
         "<Default Printer>",
         1,
         {"<Default Printer>", "Office Laser", "Colour Inkjet"},
         0,
         "",
         "<Default Printer>"},
        {"named",
         two,
         false,
         true,
         false,
         "Colour Inkjet",
         1,
         {"<Default Printer>", "Office Laser", "Colour Inkjet"},
         2,
         "",
         "Colour Inkjet"},
        {"options dialog",
         two,
         false,
         true,
         true,
         "Colour Inkjet",
         1,
         {"<Default Printer>", "Office Laser", "Colour Inkjet", "<Disabled>"},
         2,
         "",
         "Colour Inkjet"},
        {"printing off",
         two,
         false,
         true,
         true,
         "Colour Inkjet",
         0,
         {"<Default Printer>", "Office Laser", "Colour Inkjet", "<Disabled>"},
         3,
         "",
         "Colour Inkjet"},
        {"printing off, settings dialog",
         two,
         false,
         true,
         false,
         "Office Laser",
         0,
         {"<Default Printer>", "Office Laser", "Colour Inkjet"},
         1,
         "",
         "Office Laser"},
        {"removed printer",
         two,
         false,
         true,
         false,
         "Gone",
         1,
         {"<Default Printer>", "Office Laser", "Colour Inkjet"},
         0,
         gone,
         "<Default Printer>"},
        {"list unavailable",
         two,
         false,
         false,
         true,
         "Colour Inkjet",
         1,
         {"<Default Printer>", "<Disabled>"},
         0,
         "",
         "Colour Inkjet"},
        {"no printers",
         {},
         false,
         true,
         true,
         "Gone",
         1,
         {"<Default Printer>", "<Disabled>"},
         0,
         gone,
         "<Default Printer>"},
        {"listing fails",
         two,
         true,
         true,
         false,
         "Gone",
         1,
         {"<Default Printer>"},
         0,
         gone,
         "<Default Printer>"},
    };
    for (const auto& c : cases) {
        desktop.printing.printers = c.printers;
        desktop.printing.failEnumeration = c.failList;
        desktop.messageBoxes.clear();
        state.PrinterListAvailable = c.available;
        SettingsRecord record;
        record.Printer = c.printer;
        record.PrintScreen = c.printScreen;
        PrinterList list = FillPrinterList(ctx, record, c.withDisabled);
        EXPECT_EQ(list.entries, c.entries) << c.what;
        EXPECT_EQ(list.selected, c.selected) << c.what;
        EXPECT_EQ(list.enabled, c.available) << c.what;
        EXPECT_EQ(record.Printer, c.printerAfter) << c.what;
        if (c.message.empty()) {
            EXPECT_TRUE(desktop.messageBoxes.empty()) << c.what;
        } else {
            ASSERT_EQ(desktop.messageBoxes.size(), 1u) << c.what;
            EXPECT_EQ(desktop.messageBoxes[0].text, c.message);
            EXPECT_EQ(desktop.messageBoxes[0].title, "Orvanex - v3.5");
            EXPECT_EQ(desktop.messageBoxes[0].style, platform::mb::kOk | platform::mb::kCritical);
        }
    }
}

}  // namespace
}  // namespace orv
