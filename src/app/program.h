#pragma once
// One running program: its shared state and its windows.
#include <memory>
#include <string>

#include "app/container.h"
#include "capture/capture_window.h"
#include "capture/image_surface.h"
#include "capture/run_capture.h"
#include "dialogs/popup.h"
#include "dialogs/prompt.h"
#include "dialogs/setup.h"
#include "state/program_state.h"

namespace orv {

class Program {
  public:
    explicit Program(platform::Platform& os);
    ~Program();

    // Runs start-up. True when this process became the resident instance and
    // must now run the message loop; false for a messenger, which ends.
    bool Start(const std::string& commandLine);

    ProgramState& state() { return state_; }
    Context& context() { return ctx_; }
    Container& container() { return *container_; }
    PopupController& popup() { return popup_; }
    CaptureWindows& captureWindows() { return captureWindows_; }
    SetupController& settingsDialog() { return setup_; }

  private:
    void ConnectWindows();

    ProgramState state_;
    Context ctx_;
    ImageSurface containerSurface_;
    PopupController popup_;
    CaptureWindows captureWindows_;
    SetupController setup_;
    std::unique_ptr<Container> container_;
    SelectionWindowController selection_;
    OptionsDialogController options_;
};

}  // namespace orv
