#pragma once
// The on-the-fly options dialog: before a capture, the user picks the area
// method, the printer (or none) and whether to save, for this capture only.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "state/program_state.h"
#include "ui/form.h"

namespace orv {

// The dialog's choices as it last closed, kept for the rest of the run so
// the next capture's dialog opens with them.
struct KeptOptions {
    int16_t PrintArea = 0;
    std::string Printer;
    int16_t PrintScreen = 0;
    int16_t Save = 0;
};

class Prompt : public Form {
  public:
    // kept: empty until the dialog has loaded once in this run.
    Prompt(Context& ctx, std::optional<KeptOptions>& kept);

    Control& lblCaptureArea;
    Control& Frame1;
    Control& obPrintArea0;  // obPrintArea(0), (3) and (2): the index is the PrintArea value
    Control& obPrintArea3;
    Control& obPrintArea2;
    Control& lblPrinter;
    Control& ddlbPrinter;
    Control& lblSaveOptions;
    Control& cbxSave;
    Control& cmdOK;
    Control& cmdCancel;
    Timer& Timer1;

    void cmdOK_Click();
    void cmdCancel_Click();
    void Timer1_Timer();

  protected:
    void Form_Load() override;
    void Form_QueryUnload(bool& cancel, UnloadMode mode) override;
    void Form_Unload() override;

  private:
    Context& ctx_;
    std::optional<KeptOptions>& kept_;
    bool focused_ = false;
};

// The dialog of the capture in progress, and the choices kept between captures.
class OptionsDialogController {
  public:
    explicit OptionsDialogController(Context& ctx) : ctx_(ctx) {}
    ~OptionsDialogController();

    // Modal; returns through CaptureSettings and CaptureCancelled.
    void Show();
    void Focus();  // to the front with the focus, when open
    // Program exit: the dialog closes and the capture is abandoned. Never throws.
    void Close();
    Prompt* dialog() const { return dialog_.get(); }
    const std::optional<KeptOptions>& kept() const { return kept_; }

  private:
    Context& ctx_;
    std::optional<KeptOptions> kept_;
    std::unique_ptr<Prompt> dialog_;
};

}  // namespace orv
