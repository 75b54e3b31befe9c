#pragma once
// The process-wide variables the windows and modules share. One object per
// running program, handed around by reference.
#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "platform/image.h"
#include "platform/platform.h"
#include "settings/settings_record.h"
#include "state/picture_watch.h"

namespace orv {

struct ProgramState {
    SettingsRecord Settings;
    SettingsRecord CaptureSettings;
    long LastRegistryStatus = 0;
    bool PerUserOffered = false;  // the offer of per-user settings is made once a run

    bool SettingsDialogOpen = false;
    bool OptionsDialogOpen = false;
    bool SelectionWindowOpen = false;
    bool CaptureCancelled = false;
    int16_t TrayCaptureChoice = 0;
    std::string SelectionCommand;
    std::string CaptureTime = "00:00:00";
    bool PrinterListAvailable = true;
    // Left, top, width, height in screen pixels, once a selection window was
    // closed restored. Left can be any value: -1 is a place on a monitor
    // left of the primary one, so "nothing yet" is no value at all.
    std::optional<std::array<int32_t, 4>> SelectionWindowBounds;
    int16_t SelectionWindowState = 0;
    PictureWatch Pictures;             // which clipboard picture a capture may use
    bool NoPictureTold = false;        // the "no new picture" box, once per run
    bool SnippingNoticeShown = false;  // the Print Screen setting box, once per run
    bool SnippingSeenOn = false;       // Windows' Print Screen setting was on in this run
};

// What every module receives: the system and the shared state.
struct Context {
    platform::Platform& os;
    ProgramState& state;
    std::string ProductTitle() const { return os.system.ProductName(); }
};

}  // namespace orv
