#include "state/error_box.h"

namespace orv {

void ShowStagedError(Context& ctx, const std::string& stage, const Error& e, unsigned style) {
    ctx.os.ui.MsgBox(StagedText(stage, e), ctx.ProductTitle(), style);
}

}  // namespace orv
