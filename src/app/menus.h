#pragma once
// The tray menu and the capture menu, with the ids their items return.
#include "platform/ui.h"

namespace orv {

namespace menu_id {
constexpr int kSelectOptionFirst = 1;  // mnuSelectOption(1..8) return 1..8
constexpr int kSelectOptionLast = 8;
// The tray's captures, in menu order; 3 and 6 are the separators between them.
constexpr int kCaptureDesktop = 1, kCaptureRectangle = 2, kPrintDesktop = 4, kPrintRectangle = 5,
              kSaveDesktop = 7, kSaveRectangle = 8;
constexpr bool IsCaptureChoice(int id) {
    return id >= kSelectOptionFirst && id <= kSelectOptionLast && id % 3 != 0;
}
constexpr int kEnable = 20;
constexpr int kConfigure = 21;
constexpr int kExit = 22;
constexpr int kCaptureOK = 30;
constexpr int kCancel = 31;
constexpr int kResetArea = 32;
}  // namespace menu_id

platform::Menu TrayMenu(bool enabledChecked);       // mnuOptions
platform::Menu CaptureMenu(bool captureOkEnabled);  // mnuCapture

}  // namespace orv
