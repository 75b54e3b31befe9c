#include "dialogs/popup.h"

#include "platform/error.h"

namespace orv {

namespace {

constexpr const char* kFirstStatus = "Screen Capture in Progress.......";

Control& AddLabel(Form& form, const char* name, Control& frame, int top, bool bold,
                  const char* caption) {
    Control& c = form.Add(ControlKind::Label, name, -1, &frame);
    c.SetBounds({120, top, 5415, 195});
    c.SetAlignment(Alignment::Center);
    c.SetFont({"Arial", 8.25, bold});
    c.SetCaption(caption);
    return c;
}

}  // namespace

Popup::Popup(Context& ctx)
    : Form(ctx.os.forms, "Popup"),
      Frame1(Add(ControlKind::Frame, "Frame1")),
      lblProductName(AddLabel(*this, "lblProductName", Frame1, 240, true, "")),
      lblCaption(AddLabel(*this, "lblCaption", Frame1, 600, false, kFirstStatus)),
      ctx_(ctx) {
    Frame1.SetBounds({120, 0, 5640, 1005});
    platform::FormState& d = Design();
    d.clientWidth = 5895;
    d.clientHeight = 1110;
    // A plain bordered box: no title bar, no close box, no taskbar button.
    // Not topmost, so the save dialog and boxes a capture may raise while
    // the popup is up are never hidden behind it.
    d.border = FormBorder::FixedSingle;
    d.controlBox = d.minButton = d.maxButton = false;
    d.showInTaskbar = false;
    d.centerOnScreen = true;
}

void Popup::Form_Load() {
    lblProductName.SetCaption(ctx_.ProductTitle());
}

void Popup::Form_QueryUnload(bool& cancel, UnloadMode mode) {
    // It takes no input: only the capture that opened it closes it.
    if (mode == UnloadMode::ControlMenu) cancel = true;
}

PopupController::~PopupController() {
    Close();
}

Popup& PopupController::Loaded() {
    if (!popup_ || !popup_->loaded()) {
        popup_ = std::make_unique<Popup>(ctx_);
        popup_->Load();
    }
    return *popup_;
}

void PopupController::Show() {
    Popup& p = Loaded();
    p.Show();
    p.Refresh();
}

void PopupController::ShowStatus(const std::string& text) {
    if (ctx_.state.CaptureSettings.HidePopup == -1) return;
    Popup& p = Loaded();
    p.lblCaption.SetCaption(text);
    p.Refresh();
}

void PopupController::Close() {
    if (!popup_) return;
    try {
        popup_->Close();
    } catch (const Error&) {
        // The window is going either way; dropping the object takes it down.
    }
    popup_.reset();
}

}  // namespace orv
