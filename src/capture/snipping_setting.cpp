#include "capture/snipping_setting.h"

namespace orv {

bool SnippingKeyOn(const std::optional<std::string>& stored, unsigned build) {
    if (stored)
        if (auto v = platform::DwordData(*stored)) return *v != 0;
    // Missing, or not a DWORD: Windows goes by its default.
    return build >= kSnippingDefaultOnBuild;
}

bool PrintScreenOpensCapture(Context& ctx) {
    platform::RegQueryResult r = ctx.os.registry.QueryValue(platform::RegRoot::CurrentUser,
                                                            kKeyboardKeyPath, kSnippingValue, 16);
    std::optional<std::string> stored;
    if (r.status == 0) stored = r.data;
    if (SnippingKeyOn(stored, ctx.os.system.GetVersion().build)) ctx.state.SnippingSeenOn = true;
    return ctx.state.SnippingSeenOn;
}

}  // namespace orv
