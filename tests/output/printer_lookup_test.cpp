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
    // clang-format off
    const std::pair<const char*, int16_t> cases[] = {
        {"Office Laser", 1},  {"Colour Inkjet", 2}, {"Plotter", 4},          {"office laser", 0},
        {"Office Laser ", 0}, {"Office", 0},        {"<Default Printer>", 0}};
    for (const auto& [name, position] : cases) {
        EXPECT_EQ(FindPrinter(ctx, name, false), position) << name;
        EXPECT_EQ(desktop.printing.CurrentPrinter(), "Plotter") << "select false changed it";
    }
    // clang-format on
    EXPECT_EQ(FindPrinter(ctx, "Office Laser", true), 1);
    EXPECT_EQ(desktop.printing.currentIndex(), 0u);  // the first of the two
    EXPECT_EQ(FindPrinter(ctx, "Missing", true), 0);
    EXPECT_EQ(desktop.printing.currentIndex(), 0u);
}

TEST_F(PrinterLookup, FillsBothKindsOfList) {
    const std::vector<std::string> two = {"Office Laser", "Colour Inkjet"};
    const std::string d = kDefaultPrinter, x = kDisabledPrinter, a = two[0], b = two[1];
    struct Case {
        std::vector<std::string> printers;
        bool failList, available, withDisabled;
        std::string printer;
        int16_t printScreen;
        std::vector<std::string> entries;
        int selected;
        bool reported;  // the printer was missing and the default taken instead
    } cases[] = {
        {two, false, true, false, d, 1, {d, a, b}, 0, false},
        {two, false, true, true, b, 1, {d, a, b, x}, 2, false},
        {two, false, true, true, b, 2, {d, a, b, x}, 3, false},  // printing off
        {two, false, true, false, a, 0, {d, a, b}, 1, false},
        {two, false, true, false, "Gone", 1, {d, a, b}, 0, true},
        {two, false, false, true, b, 1, {d, x}, 0, false},  // no list: found, yet the default
        {{}, false, true, true, a, 1, {d, x}, 0, true},
        {two, true, true, false, a, 1, {d}, 0, true},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        desktop.printing.printers = c.printers;
        desktop.printing.failEnumeration = c.failList;
        desktop.messageBoxes.clear();
        state.PrinterListAvailable = c.available;
        SettingsRecord record;
        record.Printer = c.printer;
        record.PrintScreen = c.printScreen;
        PrinterList list = FillPrinterList(ctx, record, c.withDisabled);
        EXPECT_EQ(list.entries, c.entries) << i;
        EXPECT_EQ(list.selected, c.selected) << i;
        EXPECT_EQ(list.enabled, c.available) << i;
        EXPECT_EQ(record.Printer, c.reported ? d : c.printer) << i;
        ASSERT_EQ(desktop.messageBoxes.size(), c.reported ? 1u : 0u) << i;
        if (c.reported) {
            EXPECT_EQ(desktop.messageBoxes[0].text, "Printer '" + c.printer +
                                                        "' does not exist anymore. Changing to "
                                                        "Default Printer.");
            EXPECT_EQ(desktop.messageBoxes[0].style, platform::mb::kCritical);
        }
    }
}

}  // namespace
}  // namespace orv
