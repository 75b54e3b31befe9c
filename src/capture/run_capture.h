#pragma once
#include "settings/program_state.h"

namespace orv {

// Carries one capture from the key press to the printed page or saved file.
void RunCapture(Context& ctx);

}  // namespace orv
