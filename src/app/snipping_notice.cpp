#include "app/snipping_notice.h"

#include "state/foreground.h"

namespace orv {

namespace {

constexpr platform::RegRoot kUser = platform::RegRoot::CurrentUser;

constexpr const char* kQuestion =
    "Windows is set to open its own screen capture when Print Screen is pressed (\"Use the Print "
    "screen key to open screen capture\" in Settings > Accessibility > Keyboard). While that is "
    "on, the Print Screen key copies nothing to the clipboard, so a press of it gives Orvanex no "
    "picture and nothing is saved or printed.\r\n\r\n"
    "Everything else still captures: F10, F11 or F12 as Orvanex's capture key (on the settings' "
    "General page), the tray's captures and a start with -printscreen or -printwindow. Orvanex "
    "then copies the screen itself.\r\n\r\n"
    "Switch this Windows setting off for your account, so that the Print Screen key copies the "
    "screen again?\r\n\r\n"
    "Yes: Orvanex switches it off. Windows says the change may only take effect after you "
    "restart the PC.\r\n"
    "No: the setting stays as it is, and you are not asked again.";

}  // namespace

void CheckPrintScreenSnipping(Context& ctx) {
    ProgramState& st = ctx.state;
    if (st.SnippingNoticeShown || !PrintScreenOpensCapture(ctx)) return;
    platform::RegQueryResult declined =
        ctx.os.registry.QueryValue(kUser, kNoticesKeyPath, kSnippingDeclined, 16);
    if (declined.status == 0) return;
    st.SnippingNoticeShown = true;
    const std::string title = ctx.ProductTitle();
    namespace mb = platform::mb;
    if (ShowBox(ctx, kQuestion, title, mb::kYesNo | mb::kQuestion) != mb::kIdYes) {
        ctx.os.registry.SetValue(kUser, kNoticesKeyPath, kSnippingDeclined, "1");
        return;
    }
    long status = ctx.os.registry.SetDwordValue(kUser, kKeyboardKeyPath, kSnippingValue, 0);
    if (status != 0)
        ShowBox(ctx,
                "Orvanex could not change the setting (error " + std::to_string(status) +
                    "). Switch it off in Settings > Accessibility > Keyboard, or choose "
                    "F10, F11 or F12 as the capture key.",
                title, mb::kOk | mb::kExclamation);
}

}  // namespace orv
