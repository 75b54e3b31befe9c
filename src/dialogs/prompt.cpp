#include "dialogs/prompt.h"

#include "output/printer_lookup.h"
#include "output/save_to_file.h"
#include "platform/error.h"
#include "state/foreground.h"

namespace orv {

namespace {

Control& Place(Control& c, TwipsRect bounds, const char* caption, const char* tip = "") {
    c.SetBounds(bounds);
    c.SetCaption(caption);
    c.SetToolTip(tip);
    return c;
}

Control& Option(Form& f, Control& frame, int index, TwipsRect bounds, const char* caption,
                const char* tip) {
    Control& c =
        Place(f.Add(ControlKind::OptionButton, "obPrintArea", index, &frame), bounds, caption, tip);
    c.SetFont({"Arial", 8.25, false});
    return c;
}

}  // namespace

Prompt::Prompt(Context& ctx, std::optional<KeptOptions>& kept)
    : Form(ctx.os.forms, "Prompt"),
      lblCaptureArea(Place(Add(ControlKind::Label, "lblCaptureArea"), {120, 120, 2295, 255},
                           "Capture Area Selection Method")),
      Frame1(Place(Add(ControlKind::Frame, "Frame1"), {240, 360, 2895, 1095}, "")),
      obPrintArea0(Option(*this, Frame1, 0, {0, 120, 2175, 255}, "Capture Full Desktop",
                          "The desktop/active window will be printed/captured (see notes)")),
      obPrintArea3(Option(*this, Frame1, 3, {0, 480, 2295, 255}, "Capture Active Window",
                          "The active window will be printed/captured")),
      obPrintArea2(Option(*this, Frame1, 2, {0, 840, 2895, 255}, "Prompt User for Capture Area",
                          "The user will be prompted to select an area to print/capture")),
      lblPrinter(Place(Add(ControlKind::Label, "lblPrinter"), {120, 1560, 735, 255}, "Printer")),
      ddlbPrinter(Place(Add(ControlKind::DropDownList, "ddlbPrinter"), {240, 1920, 3255, 315}, "",
                        "The printer to be used to output the screen image")),
      lblSaveOptions(
          Place(Add(ControlKind::Label, "lblSaveOptions"), {120, 2400, 1095, 255}, "Save Options")),
      cbxSave(Place(Add(ControlKind::CheckBox, "cbxSave"), {240, 2700, 2415, 255},
                    "Save Captured Area to Disk", "Save the Screen Image to Disk")),
      cmdOK(Place(Add(ControlKind::CommandButton, "cmdOK"), {3480, 120, 1215, 375}, "&OK",
                  "Save changed settings and close")),
      cmdCancel(Place(Add(ControlKind::CommandButton, "cmdCancel"), {3480, 600, 1215, 375},
                      "&Cancel", "Close without saving changed settings")),
      Timer1(AddTimer("Timer1", 200, true)),
      ctx_(ctx),
      kept_(kept) {
    // The options sit in a borderless frame: only the label above names them.
    Frame1.SetBorder(false);
    cmdOK.SetDefault(true);
    cmdCancel.SetCancel(true);
    cmdOK.onClick = [this] { cmdOK_Click(); };
    cmdCancel.onClick = [this] { cmdCancel_Click(); };
    Timer1.onTimer = [this] { Timer1_Timer(); };

    platform::FormState& d = Design();
    d.clientWidth = 4815;
    d.clientHeight = 3105;
    d.border = FormBorder::FixedDialog;
    d.minButton = d.maxButton = false;
    d.centerOnScreen = true;
}

void Prompt::Form_Load() {
    ProgramState& st = ctx_.state;
    SettingsRecord& cs = st.CaptureSettings;
    focused_ = false;
    st.OptionsDialogOpen = true;
    SetCaption(ctx_.ProductTitle());

    if (kept_) {
        cs.PrintArea = kept_->PrintArea;
        cs.Printer = kept_->Printer;
        cs.PrintScreen = kept_->PrintScreen;
        cs.Save = kept_->Save;
    } else {
        kept_.emplace();  // filled as the dialog unloads
    }

    PrinterList printers = FillPrinterList(ctx_, cs, true);
    ddlbPrinter.ClearList();
    for (auto& entry : printers.entries) ddlbPrinter.AddItem(std::move(entry));
    ddlbPrinter.SetEnabled(printers.enabled);

    // The pre-defined area (1) has no option: none is selected, and OK keeps
    // that method unless the user picks one.
    if (Control* option = Find("obPrintArea", cs.PrintArea)) option->SetValue(1);
    cbxSave.SetValue(cs.Save == 1 ? 1 : 0);
    ddlbPrinter.SetListIndex(printers.selected);

    SetTopmost(true);
}

void Prompt::Timer1_Timer() {
    if (focused_) return;
    focused_ = true;
    ComeForward(ctx_, handle());
    Activate();
    Focus(cmdOK);
}

void Prompt::cmdOK_Click() {
    SettingsRecord& cs = ctx_.state.CaptureSettings;
    if (obPrintArea0.value() != 0)
        cs.PrintArea = area::kDesktop;
    else if (obPrintArea2.value() != 0)
        cs.PrintArea = area::kUserSelects;
    else if (obPrintArea3.value() != 0)
        cs.PrintArea = area::kActiveWindow;

    const int entry = ddlbPrinter.listIndex();
    const int disabled = static_cast<int>(ddlbPrinter.list().size()) - 1;
    if (entry == disabled) {
        cs.PrintScreen = 0;
    } else if (entry >= 0) {
        cs.PrintScreen = 1;
        cs.Printer = ddlbPrinter.list()[static_cast<std::size_t>(entry)];
    }

    cs.Save = static_cast<int16_t>(cbxSave.value() != 0 ? 1 : 0);
    // A save chosen here always asks where to.
    if (cs.Save != 0) cs.SaveFileName = kPromptForFileName;

    ctx_.state.CaptureCancelled = false;
    Close();
}

void Prompt::cmdCancel_Click() {
    ctx_.state.CaptureCancelled = true;
    Close();
}

void Prompt::Form_QueryUnload(bool&, UnloadMode mode) {
    // The close box is a Cancel: otherwise the capture would go on or stop
    // by whatever an earlier capture left in CaptureCancelled.
    if (mode == UnloadMode::ControlMenu) ctx_.state.CaptureCancelled = true;
}

void Prompt::Form_Unload() {
    const SettingsRecord& cs = ctx_.state.CaptureSettings;
    kept_ = KeptOptions{cs.PrintArea, cs.Printer, cs.PrintScreen, cs.Save};
    ctx_.state.OptionsDialogOpen = false;
}

// ---- controller

OptionsDialogController::~OptionsDialogController() {
    Close();
}

void OptionsDialogController::Show() {
    dialog_ = std::make_unique<Prompt>(ctx_, kept_);
    struct Drop {
        std::unique_ptr<Prompt>& d;
        ~Drop() { d.reset(); }
    } drop{dialog_};
    // In front before it shows, so the user's Enter goes to its OK.
    dialog_->Load();
    if (dialog_->loaded()) ComeForward(ctx_, dialog_->handle());
    dialog_->ShowModal();
    // Still up when the program is ending: nothing was confirmed.
    if (dialog_->loaded()) {
        ctx_.state.CaptureCancelled = true;
        dialog_->Close();
    }
}

void OptionsDialogController::Focus() {
    if (!dialog_ || !dialog_->loaded()) return;
    ComeForward(ctx_, dialog_->handle());
    dialog_->Activate();
}

void OptionsDialogController::Close() {
    if (!dialog_) return;
    ctx_.state.CaptureCancelled = true;
    try {
        dialog_->Close();
    } catch (const std::exception&) {
        // Dropping the object takes the window down.
    }
    ctx_.state.OptionsDialogOpen = false;
}

}  // namespace orv
