#pragma once
// The one way a failure reaches the user: the staged box.
#include <string>

#include "platform/error.h"
#include "state/program_state.h"

namespace orv {

// Shows StagedText(stage, e) under the product's title; critical unless told.
void ShowStagedError(Context& ctx, const std::string& stage, const Error& e,
                     unsigned style = platform::mb::kOk | platform::mb::kCritical);

}  // namespace orv
