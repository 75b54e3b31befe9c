#include "state/error_box.h"

#include "state/foreground.h"

namespace orv {

void ShowStagedError(Context& ctx, const std::string& stage, const Error& e, unsigned style) {
    ShowBox(ctx, StagedText(stage, e), ctx.ProductTitle(), style);
}

}  // namespace orv
