#include "app/exit_notice.h"

#include "app/snipping_notice.h"

namespace orv {
namespace {

constexpr platform::RegRoot kUser = platform::RegRoot::CurrentUser;
constexpr const char* kKept = "kept";
constexpr const char* kLost = "lost";

constexpr const char* kKeptText =
    "Windows did not let Orvanex store the file counter in the settings shared by all users of "
    "this PC, so it is kept with your own settings from now on.";

void Show(Context& ctx, const std::string& text, unsigned icon) {
    ctx.os.ui.MsgBox(text, ctx.ProductTitle(), icon);
}

}  // namespace

void TellCounterAtExit(Context& ctx, CounterAtExit what, bool userPresent) {
    if (what == CounterAtExit::Stored) return;
    const bool kept = what == CounterAtExit::NowKeptPerUser;
    if (!userPresent) {
        // Where even this is refused nothing can be kept, and nothing may wait on a box.
        ctx.os.registry.SetValue(kUser, kNoticesKeyPath, kExitNoticeValue, kept ? kKept : kLost);
        return;
    }
    if (kept) return Show(ctx, kKeptText, platform::mb::kInformation);
    Show(ctx,
         "Windows did not let Orvanex store the file counter (" +
             std::to_string(ctx.state.Settings.Counter) +
             "). At the next start it counts on from the last stored value, so a saved picture "
             "may replace an earlier one.",
         platform::mb::kExclamation);
}

void ShowExitNotice(Context& ctx) {
    platform::RegQueryResult r =
        ctx.os.registry.QueryValue(kUser, kNoticesKeyPath, kExitNoticeValue, 16);
    if (r.status != 0) return;
    // Once: gone before it is shown, so that a start that ends meanwhile does not repeat it.
    ctx.os.registry.DeleteValue(kUser, kNoticesKeyPath, kExitNoticeValue);
    const std::string what = r.data.substr(0, r.data.find('\0'));
    constexpr const char* kWhen = "When Orvanex was last ended by Windows or by its installer: ";
    if (what == kKept) {
        Show(ctx, kWhen + std::string(kKeptText), platform::mb::kInformation);
    } else if (what == kLost) {
        Show(ctx,
             kWhen +
                 std::string("Windows did not let Orvanex store the file counter, so it counts on "
                             "from the last stored value (") +
                 std::to_string(ctx.state.Settings.Counter) +
                 "), and a saved picture may replace an earlier one.",
             platform::mb::kExclamation);
    }
}

}  // namespace orv
