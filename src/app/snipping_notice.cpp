#include "app/snipping_notice.h"

#include "app/container.h"

namespace orv {

bool SnippingKeyOn(const std::optional<std::string>& stored, unsigned build) {
    if (stored && stored->size() == 4) {
        uint32_t v = 0;
        for (int i = 3; i >= 0; --i) v = v << 8 | static_cast<uint8_t>((*stored)[i]);
        return v != 0;
    }
    // Missing, or not a DWORD: Windows goes by its default.
    return build >= kSnippingDefaultOnBuild;
}

namespace {

constexpr platform::RegRoot kUser = platform::RegRoot::CurrentUser;

std::optional<std::string> Stored(Context& ctx) {
    platform::RegQueryResult r =
        ctx.os.registry.QueryValue(kUser, kKeyboardKeyPath, kSnippingValue, 16);
    if (r.status != 0) return std::nullopt;
    return r.data;
}

constexpr const char* kQuestion =
    "Windows is set to open its own screen capture when Print Screen is pressed (\"Use the Print "
    "screen key to open screen capture\" in Settings > Accessibility > Keyboard). While that is "
    "on, Print Screen copies nothing to the clipboard, so Orvanex gets no picture and nothing is "
    "saved or printed.\r\n\r\n"
    "Switch this Windows setting off for your account?\r\n\r\n"
    "Yes: Orvanex switches it off. Windows says the change may only take effect after you "
    "restart the PC.\r\n"
    "No: the setting stays as it is, and you are not asked again. Choose F10, F11 or F12 as "
    "Orvanex's capture key on the settings' General page instead.";

}  // namespace

void CheckPrintScreenSnipping(Context& ctx) {
    ProgramState& st = ctx.state;
    if (st.SnippingNoticeShown || st.Settings.Key != platform::kVkSnapshot) return;
    if (!SnippingKeyOn(Stored(ctx), ctx.os.system.GetVersion().build)) return;
    platform::RegQueryResult declined =
        ctx.os.registry.QueryValue(kUser, kNoticesKeyPath, kSnippingDeclined, 16);
    if (declined.status == 0) return;
    st.SnippingNoticeShown = true;
    const std::string title = ctx.ProductTitle();
    namespace mb = platform::mb;
    if (ctx.os.ui.MsgBox(kQuestion, title, mb::kYesNo | mb::kQuestion) != mb::kIdYes) {
        ctx.os.registry.SetValue(kUser, kNoticesKeyPath, kSnippingDeclined, "1");
        return;
    }
    long status = ctx.os.registry.SetDwordValue(kUser, kKeyboardKeyPath, kSnippingValue, 0);
    if (status != 0)
        ctx.os.ui.MsgBox("Orvanex could not change the setting (error " + std::to_string(status) +
                             "). Switch it off in Settings > Accessibility > Keyboard, or choose "
                             "F10, F11 or F12 as the capture key.",
                         title, mb::kOk | mb::kExclamation);
}

}  // namespace orv
