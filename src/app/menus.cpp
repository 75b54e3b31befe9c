#include "app/menus.h"

namespace orv {
namespace {
platform::MenuItem Item(int id, const char* caption) {
    return {id, caption, false, false, true};
}
platform::MenuItem Separator() {
    return {0, "-", true, false, true};
}
}  // namespace

platform::Menu TrayMenu(bool enabledChecked) {
    platform::Menu m;
    using namespace menu_id;
    m.items = {Item(kCaptureDesktop, "Capture Desktop"),
               Item(kCaptureRectangle, "Capture Rectangle"),
               Separator(),
               Item(kPrintDesktop, "Print Desktop"),
               Item(kPrintRectangle, "Print Rectangle"),
               Separator(),
               Item(kSaveDesktop, "Save Desktop"),
               Item(kSaveRectangle, "Save Rectangle"),
               Separator(),
               Item(menu_id::kEnable, "&Enable Orvanex"),
               Item(menu_id::kConfigure, "&Configure"),
               Separator(),
               Item(menu_id::kExit, "E&xit")};
    m.items[9].checked = enabledChecked;  // the Enable item
    return m;
}

platform::Menu CaptureMenu(bool captureOkEnabled) {
    platform::Menu m;
    m.items = {Item(menu_id::kCaptureOK, "Capture Selected Area"), Separator(),
               Item(menu_id::kCancel, "Cancel Capture"),
               Item(menu_id::kResetArea, "Reset Capture Area")};
    m.items[0].enabled = captureOkEnabled;
    return m;
}

}  // namespace orv
