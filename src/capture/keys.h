#pragma once
// Waiting while serving window messages, and the synthesised screen-copy keys.
#include "state/program_state.h"

namespace orv {

// Waits at least `seconds` on the monotonic clock, processing messages at least once.
void PumpPause(Context& ctx, double seconds);
// The system copies the whole screen to the clipboard. Returns the clipboard's
// sequence number as it was just before the keys went out.
uint32_t SimulatePrintScreen(Context& ctx);
// The system copies the active window to the clipboard. Returns as above.
uint32_t SimulateAltPrintScreen(Context& ctx);

}  // namespace orv
