// The settings dialog's Print Options page: the printer, orientation, image
// options, header, footer and margin.
#include "dialogs/setup.h"
#include "dialogs/setup_layout.h"
#include "settings/vbreg.h"
#include "output/printer_lookup.h"
#include "settings/text_convert.h"

namespace orv {

using namespace setup_layout;

namespace {

constexpr const char* kHeaderPresets[] = {
    "Captured using Orvanex [day]/[month]/[year] - [hour]:[min]", "[Prompt User for Header]",
    "[name] - [company]", "[date] - [time]", "[day]/[month]/[year] - [hour]:[min]"};
constexpr const char* kFooterPresets[] = {
    "Captured using Orvanex [tab][counter]", "[Prompt User for Footer]", "[date] - [time]",
    "[usdate] - [time]", "FileName: [filepath][filename][fileformat]"};

struct SpinRange {
    double low, high;
};
constexpr SpinRange kResizeRange{10, 300};
constexpr SpinRange kFadeRange{0, 80};
constexpr SpinRange kBorderRange{0, 30};

// A read-only number box with its spin button and a "%" after them.
Control& NumberBox(Form& form, const char* box, const char* spin, const char* percent,
                   Control* container, int left, int top, const char* toolTip) {
    Control& tb = Put(form, ControlKind::TextBox, box, -1, container, {left, top, 615, 285}, "", toolTip);
    tb.SetReadOnly(true);
    tb.SetAlignment(Alignment::Right);
    Put(form, ControlKind::Spin, spin, -1, container, {left + 615, top, 240, 285});
    Put(form, ControlKind::Label, percent, -1, container, {left + 900, top + 45, 195, 195}, "%");
    return tb;
}

}  // namespace

void Setup::BuildPrintPage(Control& page) {
    Control& print = Put(*this, ControlKind::CheckBox, "cbxPrintScreen", -1, &page, {120, 120, 2415, 255},
                         "Enable Printing", "Print the Screen Image to the Selected Printer");
    print.onClick = Handler(&Setup::cbxPrintScreen_Click);
    frmPrint = &Put(*this, ControlKind::Frame, "frmPrint", -1, &page, {0, 360, 6615, 3975});
    frmPrint->SetBorder(false);
    frmPrint->SetVisible(false);  // as the unticked box says

    Put(*this, ControlKind::Label, "lblPrinter", -1, frmPrint, {240, 255, 735, 195}, "Printer:");
    ddlbPrinter = &Put(*this, ControlKind::DropDownList, "ddlbPrinter", -1, frmPrint,
                       {1080, 195, 5415, 315}, "", "The printer to be used to output the screen image");

    Heading(*this, "lblOrientationHeading", frmPrint, {240, 720, 1455, 195}, "Orientation");
    Put(*this, ControlKind::OptionButton, "obOrientation", 0, frmPrint, {360, 975, 1335, 255}, "Portrait",
        "Print in Portrait");
    Put(*this, ControlKind::OptionButton, "obOrientation", 1, frmPrint, {360, 1275, 1335, 255},
        "Landscape", "Print in Landscape");

    Heading(*this, "lblOutputHeading", frmPrint, {1920, 720, 4455, 195}, "Output Options");
    Put(*this, ControlKind::CheckBox, "cbxGreyscale", -1, frmPrint, {2040, 975, 1455, 255}, "Greyscale",
        "Convert to greyscale (useful for colour printers only)");
    Put(*this, ControlKind::CheckBox, "cbxNegative", -1, frmPrint, {2040, 1275, 1455, 255}, "Negative",
        "Prints a negative image of the screen");
    Put(*this, ControlKind::CheckBox, "cbxStretchImage", -1, frmPrint, {2040, 1575, 1455, 255},
        "Stretch Image", "Stretches an active window or captured area to fill the paper");
    Control& resize = Put(*this, ControlKind::CheckBox, "cbxResize", -1, frmPrint, {3720, 975, 1575, 255},
                          "Resize Image to", "Resize the printed image (reduces ink/toner usage)");
    resize.onClick = Handler(&Setup::cbxResize_Click);
    tbResize = &NumberBox(*this, "tbResize", "udResize", "lblResizePercent", frmPrint, 5340, 960,
                          "Scale to resize the image to");
    Control& fade = Put(*this, ControlKind::CheckBox, "cbxFade", -1, frmPrint, {3720, 1335, 1575, 255},
                        "Fade Image by", "Prints a lighter image (reduces ink/toner usage)");
    fade.onClick = Handler(&Setup::cbxFade_Click);
    tbFade = &NumberBox(*this, "tbFade", "udFade", "lblFadePercent", frmPrint, 5340, 1320,
                        "How much the printed image should be faded by");

    Heading(*this, "lblLayoutHeading", frmPrint, {240, 2040, 4455, 195}, "Headers, Footers && Margins");
    Put(*this, ControlKind::Label, "lblHeader", -1, frmPrint, {360, 2355, 735, 195}, "Header:");
    Control& header = Put(*this, ControlKind::EditableCombo, "ddlbHeader", -1, frmPrint,
                          {1080, 2295, 5415, 315}, "",
                          "Enter the header text you wish to appear on the printed output, or select a "
                          "predefined one from the list");
    for (const char* p : kHeaderPresets) header.AddItem(p);
    header.SetMaxLength(kRegTextLimit);
    Put(*this, ControlKind::Label, "lblFooter", -1, frmPrint, {360, 2775, 735, 195}, "Footer:");
    Control& footer = Put(*this, ControlKind::EditableCombo, "ddlbFooter", -1, frmPrint,
                          {1080, 2715, 5415, 315}, "",
                          "Enter the footer text you wish to appear on the printed output, or select a "
                          "predefined one from the list");
    for (const char* p : kFooterPresets) footer.AddItem(p);
    footer.SetMaxLength(kRegTextLimit);
    Put(*this, ControlKind::Label, "lblMargin", -1, frmPrint, {360, 3195, 735, 195}, "Margin:");
    tbPageBorder = &NumberBox(*this, "tbPageBorder", "udPageBorder", "lblMarginPercent", frmPrint, 1080,
                              3150, "White space that should be left around the printout.");

    udResize = &Ctl("udResize");
    udFade = &Ctl("udFade");
    udResize->onSpin = [this](int d) { Guarded([this, d] { udResize_Spin(d); }); };
    udFade->onSpin = [this](int d) { Guarded([this, d] { udFade_Spin(d); }); };
    Ctl("udPageBorder").onSpin = [this](int d) { Guarded([this, d] { udPageBorder_Spin(d); }); };
    // As the unticked boxes say.
    for (Control* box : {tbResize, tbFade}) box->SetBackColour(kInactiveColour);
    udResize->SetEnabled(false);
    udFade->SetEnabled(false);
}

void Setup::FillPrintPage() {
    const SettingsRecord& s = DialogSettings;
    const char sep = ctx_.os.system.DecimalSeparator();
    ShowCheck(Ctl("cbxPrintScreen"), s.PrintScreen);
    Control& portrait = Ctl("obOrientation", 0);
    Control& landscape = Ctl("obOrientation", 1);
    if (s.Orientation == 1) {
        portrait.SetValue(1);
    } else if (s.Orientation == 2) {
        landscape.SetValue(1);
    } else {
        portrait.SetValue(0);
        landscape.SetValue(0);
    }
    ShowCheck(Ctl("cbxGreyscale"), s.GreyScale);
    ShowCheck(Ctl("cbxNegative"), s.Negative);
    ShowCheck(Ctl("cbxResize"), s.Resize);
    tbResize->SetText(FormatDouble(s.ResizeScale, sep));
    tbResize->SetBackColour(s.Resize != 0 ? kActiveColour : kInactiveColour);
    ShowCheck(Ctl("cbxFade"), s.Fade);
    tbFade->SetText(FormatDouble(s.FadeScale, sep));
    tbFade->SetBackColour(s.Fade != 0 ? kActiveColour : kInactiveColour);
    tbPageBorder->SetText(std::to_string(s.PageBorder));
    ShowCheck(Ctl("cbxStretchImage"), s.StretchImage);
}

void Setup::FillPrinterChoice() {
    PrinterList list = FillPrinterList(ctx_, DialogSettings, false);
    ddlbPrinter->ClearList();
    for (auto& entry : list.entries) ddlbPrinter->AddItem(entry);
    ddlbPrinter->SetListIndex(list.selected);
    ddlbPrinter->SetEnabled(list.enabled);
    ddlbPrinter->SetBackColour(list.enabled ? kActiveColour : kInactiveColour);
}

void Setup::CollectPrintPage() {
    SettingsRecord& s = DialogSettings;
    const char sep = ctx_.os.system.DecimalSeparator();
    TakeCheck(Ctl("cbxPrintScreen"), s.PrintScreen);
    s.Orientation = Ctl("obOrientation", 0).value() != 0 ? 1 : 2;
    TakeCheck(Ctl("cbxGreyscale"), s.GreyScale);
    TakeCheck(Ctl("cbxNegative"), s.Negative);
    TakeCheck(Ctl("cbxStretchImage"), s.StretchImage);
    TakeCheck(Ctl("cbxResize"), s.Resize);
    TakeCheck(Ctl("cbxFade"), s.Fade);
    // The boxes are read-only and hold only numbers the dialog wrote.
    if (auto v = ToNumber(tbResize->text(), sep)) s.ResizeScale = *v;
    if (auto v = ToNumber(tbFade->text(), sep)) s.FadeScale = *v;
    if (auto v = ToWholeNumber(tbPageBorder->text(), sep, INT16_MIN, INT16_MAX))
        s.PageBorder = static_cast<int16_t>(*v);
    if (ddlbPrinter->listIndex() >= 0) s.Printer = ddlbPrinter->text();
    // Texts are kept as loading would give them back, so OK and Export store
    // what the next start reads.
    s.Header = AsStoredText(Ctl("ddlbHeader").text());
    s.Footer = AsStoredText(Ctl("ddlbFooter").text());
}

void Setup::cbxPrintScreen_Click() { frmPrint->SetVisible(Ctl("cbxPrintScreen").value() == 1); }

void Setup::cbxResize_Click() {
    const bool on = Ctl("cbxResize").value() == 1;
    tbResize->SetBackColour(on ? kActiveColour : kInactiveColour);
    udResize->SetEnabled(on);
}

void Setup::cbxFade_Click() {
    const bool on = Ctl("cbxFade").value() == 1;
    tbFade->SetBackColour(on ? kActiveColour : kInactiveColour);
    udFade->SetEnabled(on);
}

namespace {

// One arrow click: a step of 1 within the range; the box keeps its text
// when the step would leave the range or the text is no number.
void SpinStep(Control& box, int direction, SpinRange range, char sep) {
    auto v = ToNumber(box.text(), sep);
    if (!v) return;
    if (direction > 0 && *v < range.high)
        box.SetText(FormatDouble(*v + 1, sep));
    else if (direction < 0 && *v > range.low)
        box.SetText(FormatDouble(*v - 1, sep));
}

}  // namespace

void Setup::udResize_Spin(int direction) {
    const Control& box = Ctl("cbxResize");
    if (box.value() != 1 || !box.enabled()) return;
    SpinStep(*tbResize, direction, kResizeRange, ctx_.os.system.DecimalSeparator());
}

void Setup::udFade_Spin(int direction) {
    const Control& box = Ctl("cbxFade");
    if (box.value() != 1 || !box.enabled()) return;
    SpinStep(*tbFade, direction, kFadeRange, ctx_.os.system.DecimalSeparator());
}

void Setup::udPageBorder_Spin(int direction) {
    SpinStep(*tbPageBorder, direction, kBorderRange, ctx_.os.system.DecimalSeparator());
}

}  // namespace orv
