#include "output/printer_lookup.h"

#include <limits>

#include "platform/error.h"
#include "state/foreground.h"

namespace orv {

int16_t FindPrinter(Context& ctx, const std::string& name, bool select) {
    try {
        std::vector<std::string> printers = ctx.os.printing.InstalledPrinters();
        for (std::size_t i = 0; i < printers.size(); ++i) {
            if (printers[i] != name) continue;
            if (i >= std::size_t(std::numeric_limits<int16_t>::max())) return 0;
            if (select) ctx.os.printing.SelectPrinter(name);
            return static_cast<int16_t>(i + 1);
        }
    } catch (const Error&) {
    }
    return 0;
}

PrinterList FillPrinterList(Context& ctx, SettingsRecord& record, bool withDisabled) {
    PrinterList list;
    list.entries.push_back(kDefaultPrinter);
    list.enabled = ctx.state.PrinterListAvailable;
    std::size_t listed = 0;
    if (list.enabled) {
        try {
            for (auto& name : ctx.os.printing.InstalledPrinters()) list.entries.push_back(name);
            listed = list.entries.size() - 1;
        } catch (const Error&) {
            // Listed as having no printers; the stored name is then reported below.
        }
    }
    if (withDisabled) list.entries.push_back(kDisabledPrinter);

    int index = 0;
    if (record.Printer != kDefaultPrinter) {
        index = FindPrinter(ctx, record.Printer, false);
        if (index == 0) {
            ShowBox(ctx,
                    "Printer '" + record.Printer +
                        "' does not exist anymore. Changing to Default Printer.",
                    ctx.ProductTitle(), platform::mb::kOk | platform::mb::kCritical);
            record.Printer = kDefaultPrinter;
        }
    }
    // A position beyond the listed printers (none listed, or the printers
    // changed between the two walks) falls back to the default entry.
    if (std::size_t(index) > listed) index = 0;
    list.selected = index;
    if (withDisabled && record.PrintScreen != 1) list.selected = int(list.entries.size()) - 1;
    return list;
}

}  // namespace orv
