#include "capture/capture_window.h"

#include "capture/new_picture.h"
#include "capture/transfers.h"
#include "platform/error.h"
#include "platform/pump.h"
#include "state/foreground.h"

namespace orv {

namespace {

constexpr int kVkEscape = 27;
constexpr const char* kTip = "Select the capture area and 'Right-Click' to complete";

WindowState StateFrom(int16_t stored) {
    switch (stored) {
        case 1:
            return WindowState::Minimized;
        case 2:
            return WindowState::Maximized;
        default:
            return WindowState::Normal;
    }
}

}  // namespace

Capture::Capture(Context& ctx, CaptureMenuPopup popupCaptureMenu)
    : Form(ctx.os.forms, "Capture"),
      SelectionSurface(ctx.os.clipboard, ctx.os.codecs),
      SelectionSurfaceView(Add(ControlKind::ImageSurface, "SelectionSurface")),
      tmrInterupt(AddTimer("tmrInterupt", 100, true)),
      ctx_(ctx),
      popupCaptureMenu_(std::move(popupCaptureMenu)) {
    // No border: image pixel (0,0) must sit on screen pixel (0,0).
    SelectionSurface.borderStyle = 0;
    SelectionSurface.SelectionBegun = [this] { SelectionSurface_SelectionBegun(); };
    SelectionSurface.MenuArmed = [this] { SelectionSurface_MenuArmed(); };
    SelectionSurface.MenuReleased = [this] { SelectionSurface_MenuReleased(); };
    SelectionSurfaceView.SetToolTip(kTip);
    tmrInterupt.onTimer = [this] { tmrInterupt_Timer(); };

    // No frame and no title bar: maximised, the inside is the whole screen.
    // The system menu stays (Alt+Space restores and moves it, Alt+F4 closes).
    // Restored, it first takes the middle of the primary monitor, in pixels
    // like the picture it lies on.
    platform::FormState& d = Design();
    d.border = FormBorder::None;
    d.coversAllScreens = true;
    d.boundsInPixels = true;
    const int w = ctx.os.system.ScreenWidthPixels(), h = ctx.os.system.ScreenHeightPixels();
    d.boundsSet = true;
    d.bounds = {w / 8, h / 8, w * 3 / 4, h * 3 / 4};
}

void Capture::Fail(const std::string& text) {
    ShowBox(ctx_, text, ctx_.ProductTitle(), platform::mb::kOk | platform::mb::kCritical);
}

void Capture::Form_Load() {
    ProgramState& st = ctx_.state;
    try {
        st.SelectionWindowOpen = true;
        ctx_.os.system.Beep();
        SetTopmost(true);
        SetWindowState(StateFrom(st.SelectionWindowState));
        if (const auto& b = st.SelectionWindowBounds)
            SetBounds({(*b)[0], (*b)[1], (*b)[2], (*b)[3]});
        // Remembered bounds become the restored position and size.
        SetWindowState(WindowState::Maximized);
        SetCaption("");
        Form_Resize();
        sfnPasteFromClipboardtoCaptureWindow(ctx_, SelectionSurface);
        ControlChanged(SelectionSurfaceView);
    } catch (const std::exception&) {
        // The window stays up; Escape still ends the capture.
        Fail("Error Loading Capture Form");
    }
}

void Capture::Form_Resize() {
    const platform::WindowPlacement p = host_.Placement(*this);
    SelectionSurfaceView.SetBounds({0, 0, p.clientWidth, p.clientHeight});
    SelectionSurface.SetViewSize(p.clientPixelWidth, p.clientPixelHeight);
}

SurfacePicture Capture::Surface_Picture(const Control&) const {
    SurfacePicture pic;
    pic.image = &SelectionSurface.image();
    if (const auto& r = SelectionSurface.selection()) {
        pic.hasSelection = true;
        pic.left = r->left, pic.top = r->top, pic.right = r->right, pic.bottom = r->bottom;
    }
    return pic;
}

void Capture::Surface_Mouse(Control&, MouseAction action, MouseButton button, int x, int y) {
    switch (action) {
        case MouseAction::Down:
            SelectionSurface.MouseDown(button, x, y);
            break;
        case MouseAction::Move:
            SelectionSurface.MouseMove(x, y);
            break;
        case MouseAction::Up:
            SelectionSurface.MouseUp(button, x, y);
            break;
    }
}

void Capture::SelectionSurface_SelectionBegun() {
    armed_ = false;
    try {
        SelectionSurface.ClearSelection();
        SelectionSurface.StartSelection();
    } catch (const std::exception& e) {
        Fail(std::string("Error deselecting image, please capture the image again. - ") + e.what());
    }
}

void Capture::SelectionSurface_MenuArmed() {
    armed_ = true;
}

void Capture::SelectionSurface_MenuReleased() {
    if (!armed_) return;
    armed_ = false;
    if (popupCaptureMenu_) popupCaptureMenu_(SelectionSurface.HasSelection());
    // The menu belongs to the hidden window, which took the foreground for
    // it; Escape must keep working here afterwards.
    if (loaded()) Activate();
}

void Capture::tmrInterupt_Timer() {
    if (ticking_) return;
    ticking_ = true;
    struct Done {
        bool& flag;
        ~Done() { flag = false; }
    } done{ticking_};
    ProgramState& st = ctx_.state;
    int step = 1;
    try {
        const int16_t key = ctx_.os.keyboard.GetAsyncKeyState(st.Settings.Key);
        step = 2;
        if (key != 0) {
            // The capture key while selecting only brings this window forward.
            step = 3;
            ComeForward(ctx_, handle());
            Activate();
        }
        step = 2;
        if (st.SelectionCommand == "Cancel") {
            step = 4;
            st.CaptureCancelled = true;
            Close();
        } else if (st.SelectionCommand == "OK") {
            step = 5;
            Close();
        } else if (st.SelectionCommand == "Reset") {
            step = 6;
            SelectionSurface.ClearSelection();
            step = 7;
            // The clipboard still holds the whole capture (another program
            // may hold it for a moment).
            platform::RetryWhileBusy(ctx_.os.ui, ctx_.os.clock,
                                     [&] { SelectionSurface.PasteFromClipboard(); });
            ControlChanged(SelectionSurfaceView);
        }
        step = 8;
        st.SelectionCommand.clear();
    } catch (const std::exception& e) {
        // A command left behind would act on the next capture's window.
        st.SelectionCommand.clear();
        Fail(std::string("Error resetting image, please capture the image again. - ") + e.what() +
             " - " + std::to_string(step));
        Close();
    }
}

void Capture::Form_KeyUp(int vk) {
    if (vk != kVkEscape) return;
    ctx_.state.CaptureCancelled = true;
    Close();
}

void Capture::Form_Unload() {
    ProgramState& st = ctx_.state;
    st.SelectionWindowOpen = false;
    try {
        if (SelectionSurface.HasSelection() && !st.CaptureCancelled)
            platform::RetryWhileBusy(ctx_.os.ui, ctx_.os.clock, [&] {
                SelectionSurface.CopySelectionToClipboard();
                NoteOwnClipboardWrite(ctx_);
            });
        else
            st.CaptureCancelled = true;
    } catch (const std::exception& e) {
        // The clipboard still holds the whole screen: going on would print or
        // save that instead of the rectangle the user chose.
        st.CaptureCancelled = true;
        Fail(std::string("Error copying image to clipboard, please capture the image again. - ") +
             e.what());
    }
    SelectionSurface.ClearImage();
    try {
        const platform::WindowPlacement p = host_.Placement(*this);
        st.SelectionWindowState = static_cast<int16_t>(p.state);
        if (p.state != WindowState::Maximized)
            st.SelectionWindowBounds = std::array<int32_t, 4>{p.bounds.left, p.bounds.top,
                                                              p.bounds.width, p.bounds.height};
    } catch (const std::exception&) {
        // Only the next window's restored place is lost.
    }
}

// ---- controller

SelectionWindowController::~SelectionWindowController() {
    Close();
}

void SelectionWindowController::Show() {
    window_ = std::make_unique<Capture>(ctx_, popupCaptureMenu_);
    struct Drop {
        std::unique_ptr<Capture>& w;
        ~Drop() { w.reset(); }
    } drop{window_};
    // In front before it shows: the user's first Escape must reach it.
    window_->Load();
    if (window_->loaded()) ComeForward(ctx_, window_->handle());
    window_->ShowModal();
    // Still up when the program is ending: nothing was confirmed.
    if (window_->loaded()) {
        ctx_.state.CaptureCancelled = true;
        window_->Close();
    }
}

void SelectionWindowController::Focus() {
    if (!window_ || !window_->loaded()) return;
    ComeForward(ctx_, window_->handle());
    window_->Activate();
}

void SelectionWindowController::Close() {
    if (!window_) return;
    ctx_.state.CaptureCancelled = true;
    try {
        window_->Close();
    } catch (const std::exception&) {
        // Dropping the object takes the window down.
    }
    ctx_.state.SelectionWindowOpen = false;
}

}  // namespace orv
