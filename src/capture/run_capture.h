#pragma once
#include <functional>

#include "capture/image_surface.h"
#include "dialogs/popup.h"
#include "state/program_state.h"

namespace orv {

// The windows and surfaces one capture works with.
struct CaptureWindows {
    ImageSurface& ContainerSurface;
    PopupController& popup;
    // Modal; each sets CaptureCancelled. The area selection leaves only the
    // chosen rectangle on the clipboard.
    std::function<void()> showOptionsDialog;
    std::function<void()> showSelectionWindow;
};

// Carries one capture from the key press to the printed page or saved file.
// The caller has told ctx.state.Pictures when the picture could have arrived.
void RunCapture(Context& ctx, CaptureWindows& windows);

// Applies a tray menu choice (1..8) to the capture's own settings.
void ApplyTrayChoice(SettingsRecord& capture, int choice);

}  // namespace orv
