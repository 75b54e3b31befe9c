#pragma once
// The area selection window: the captured screen, full size and topmost, on
// which the user drags out the rectangle to keep and right-clicks for the
// capture menu.
#include <functional>
#include <memory>

#include "capture/image_surface.h"
#include "state/program_state.h"
#include "ui/form.h"

namespace orv {

// Pops the hidden window's capture menu up at the cursor, "Capture Selected
// Area" enabled or not; the choice lands in SelectionCommand.
using CaptureMenuPopup = std::function<void(bool captureOkEnabled)>;

class Capture : public Form {
  public:
    Capture(Context& ctx, CaptureMenuPopup popupCaptureMenu);

    ImageSurface SelectionSurface;
    Control& SelectionSurfaceView;  // where the host shows SelectionSurface
    Timer& tmrInterupt;

    void tmrInterupt_Timer();
    void SelectionSurface_SelectionBegun();
    void SelectionSurface_MenuArmed();
    void SelectionSurface_MenuReleased();

  protected:
    void Form_Load() override;
    void Form_Resize() override;
    void Form_KeyUp(int vk) override;
    void Form_Unload() override;
    SurfacePicture Surface_Picture(const Control& surface) const override;
    void Surface_Mouse(Control& surface, MouseAction action, MouseButton button, int x,
                       int y) override;

  private:
    void Fail(const std::string& text);

    Context& ctx_;
    CaptureMenuPopup popupCaptureMenu_;
    bool armed_ = false;
    bool ticking_ = false;  // a retry pumps messages: a tick falling due meanwhile is skipped
};

// The selection window of the capture in progress, if any.
class SelectionWindowController {
  public:
    SelectionWindowController(Context& ctx, CaptureMenuPopup popupCaptureMenu)
        : ctx_(ctx), popupCaptureMenu_(std::move(popupCaptureMenu)) {}
    ~SelectionWindowController();

    // Shows a new window modally and returns once it has closed. Afterwards
    // CaptureCancelled true means abandon the capture; false means the
    // clipboard holds the selected part.
    void Show();
    void Focus();  // to the front with the focus, when open
    // Program exit: the window closes and the capture is abandoned, whatever
    // is selected. Never throws.
    void Close();
    Capture* window() const { return window_.get(); }

  private:
    Context& ctx_;
    CaptureMenuPopup popupCaptureMenu_;
    std::unique_ptr<Capture> window_;
};

}  // namespace orv
