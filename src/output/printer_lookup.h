#pragma once
// Printers by device name, and the printer list the two dialogs show.
#include <cstdint>
#include <string>
#include <vector>

#include "state/program_state.h"

namespace orv {

constexpr const char* kDefaultPrinter = "<Default Printer>";
constexpr const char* kDisabledPrinter = "<Disabled>";

// 1-based position of the first installed printer named exactly name (case
// and blanks count), or 0. With select, a found printer becomes current.
// A failure to list the printers counts as not found.
int16_t FindPrinter(Context& ctx, const std::string& name, bool select);

// A printer drop-down: "<Default Printer>", the installed printers when
// PrinterListAvailable, then "<Disabled>" when asked for.
struct PrinterList {
    std::vector<std::string> entries;
    int selected = 0;
    bool enabled = true;
};

// Fills the list and picks the entry of record.Printer. A printer that is no
// longer installed is reported and record.Printer falls back to the default.
// With the "<Disabled>" entry, a record whose PrintScreen is not 1 selects it.
PrinterList FillPrinterList(Context& ctx, SettingsRecord& record, bool withDisabled);

}  // namespace orv
