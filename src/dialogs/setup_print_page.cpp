// The settings dialog's Print Options page: the printer, orientation, image
// options, header, footer and margin.
#include "dialogs/setup.h"
#include "dialogs/setup_layout.h"
#include "settings/text_convert.h"
#include "state/vbreg.h"

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
void NumberBox(Form& form, TextField& box, SpinButton& spin, const char* boxName,
               const char* spinName, const char* percent, Control* container, int left, int top,
               const char* toolTip) {
    box = TextField(Put(form, ControlKind::TextBox, boxName, -1, container, {left, top, 615, 285},
                        "", toolTip));
    box->SetReadOnly(true);
    box->SetAlignment(Alignment::Right);
    spin = SpinButton(
        Put(form, ControlKind::Spin, spinName, -1, container, {left + 615, top, 240, 285}));
    Put(form, ControlKind::Label, percent, -1, container, {left + 900, top + 45, 195, 195}, "%");
}

}  // namespace

void Setup::BuildPrintPage(Control& page) {
    ui.cbxPrintScreen = CheckBox(Put(*this, ControlKind::CheckBox, "cbxPrintScreen", -1, &page,
                                     {120, 120, 2415, 255}, "Enable Printing",
                                     "Print the Screen Image to the Selected Printer"));
    ui.cbxPrintScreen->onClick = Handler(&Setup::cbxPrintScreen_Click);
    Control* frmPrint =
        &Put(*this, ControlKind::Frame, "frmPrint", -1, &page, {0, 360, 6615, 3975});
    ui.frmPrint = Frame(*frmPrint);
    frmPrint->SetBorder(false);
    frmPrint->SetVisible(false);  // as the unticked box says

    Put(*this, ControlKind::Label, "lblPrinter", -1, frmPrint, {240, 255, 735, 195}, "Printer:");
    ui.ddlbPrinter = ListBox(Put(*this, ControlKind::DropDownList, "ddlbPrinter", -1, frmPrint,
                                 {1080, 195, 5415, 315}, "",
                                 "The printer to be used to output the screen image"));

    Heading(*this, "lblOrientationHeading", frmPrint, {240, 720, 1455, 195}, "Orientation");
    ui.obOrientation[0] =
        OptionButton(Put(*this, ControlKind::OptionButton, "obOrientation", 0, frmPrint,
                         {360, 975, 1335, 255}, "Portrait", "Print in Portrait"));
    ui.obOrientation[1] =
        OptionButton(Put(*this, ControlKind::OptionButton, "obOrientation", 1, frmPrint,
                         {360, 1275, 1335, 255}, "Landscape", "Print in Landscape"));

    Heading(*this, "lblOutputHeading", frmPrint, {1920, 720, 4455, 195}, "Output Options");
    ui.cbxGreyscale = CheckBox(Put(*this, ControlKind::CheckBox, "cbxGreyscale", -1, frmPrint,
                                   {2040, 975, 1455, 255}, "Greyscale",
                                   "Convert to greyscale (useful for colour printers only)"));
    ui.cbxNegative =
        CheckBox(Put(*this, ControlKind::CheckBox, "cbxNegative", -1, frmPrint,
                     {2040, 1275, 1455, 255}, "Negative", "Prints a negative image of the screen"));
    ui.cbxStretchImage = CheckBox(
        Put(*this, ControlKind::CheckBox, "cbxStretchImage", -1, frmPrint, {2040, 1575, 1455, 255},
            "Stretch Image", "Stretches an active window or captured area to fill the paper"));
    ui.cbxResize = CheckBox(Put(*this, ControlKind::CheckBox, "cbxResize", -1, frmPrint,
                                {3720, 975, 1575, 255}, "Resize Image to",
                                "Resize the printed image (reduces ink/toner usage)"));
    ui.cbxResize->onClick = Handler(&Setup::cbxResize_Click);
    NumberBox(*this, ui.tbResize, ui.udResize, "tbResize", "udResize", "lblResizePercent", frmPrint,
              5340, 960, "Scale to resize the image to");
    ui.cbxFade =
        CheckBox(Put(*this, ControlKind::CheckBox, "cbxFade", -1, frmPrint, {3720, 1335, 1575, 255},
                     "Fade Image by", "Prints a lighter image (reduces ink/toner usage)"));
    ui.cbxFade->onClick = Handler(&Setup::cbxFade_Click);
    NumberBox(*this, ui.tbFade, ui.udFade, "tbFade", "udFade", "lblFadePercent", frmPrint, 5340,
              1320, "How much the printed image should be faded by");

    Heading(*this, "lblLayoutHeading", frmPrint, {240, 2040, 4455, 195},
            "Headers, Footers && Margins");
    Put(*this, ControlKind::Label, "lblHeader", -1, frmPrint, {360, 2355, 735, 195}, "Header:");
    ui.ddlbHeader = TextField(Put(
        *this, ControlKind::EditableCombo, "ddlbHeader", -1, frmPrint, {1080, 2295, 5415, 315}, "",
        "Enter the header text you wish to appear on the printed output, or select a "
        "predefined one from the list"));
    for (const char* p : kHeaderPresets) ui.ddlbHeader->AddItem(p);
    ui.ddlbHeader->SetMaxLength(kRegTextLimit);
    Put(*this, ControlKind::Label, "lblFooter", -1, frmPrint, {360, 2775, 735, 195}, "Footer:");
    ui.ddlbFooter = TextField(Put(
        *this, ControlKind::EditableCombo, "ddlbFooter", -1, frmPrint, {1080, 2715, 5415, 315}, "",
        "Enter the footer text you wish to appear on the printed output, or select a "
        "predefined one from the list"));
    for (const char* p : kFooterPresets) ui.ddlbFooter->AddItem(p);
    ui.ddlbFooter->SetMaxLength(kRegTextLimit);
    Put(*this, ControlKind::Label, "lblMargin", -1, frmPrint, {360, 3195, 735, 195}, "Margin:");
    NumberBox(*this, ui.tbPageBorder, ui.udPageBorder, "tbPageBorder", "udPageBorder",
              "lblMarginPercent", frmPrint, 1080, 3150,
              "White space that should be left around the printout.");

    ui.udResize->onSpin = [this](int d) { Guarded([this, d] { udResize_Spin(d); }); };
    ui.udFade->onSpin = [this](int d) { Guarded([this, d] { udFade_Spin(d); }); };
    ui.udPageBorder->onSpin = [this](int d) { Guarded([this, d] { udPageBorder_Spin(d); }); };
    // As the unticked boxes say.
    for (const TextField& box : {ui.tbResize, ui.tbFade}) box->SetBackColour(kInactiveColour);
    ui.udResize->SetEnabled(false);
    ui.udFade->SetEnabled(false);
}

void Setup::ShowNumberBoxColours() {
    // Active while the field is on, a grey box included.
    ui.tbResize->SetBackColour(DialogSettings.Resize != 0 ? kActiveColour : kInactiveColour);
    ui.tbFade->SetBackColour(DialogSettings.Fade != 0 ? kActiveColour : kInactiveColour);
}

void Setup::cbxPrintScreen_Click() {
    ui.frmPrint->SetVisible(ui.cbxPrintScreen->value() == 1);
}

void Setup::cbxResize_Click() {
    const bool on = ui.cbxResize->value() == 1;
    ui.tbResize->SetBackColour(on ? kActiveColour : kInactiveColour);
    ui.udResize->SetEnabled(on);
}

void Setup::cbxFade_Click() {
    const bool on = ui.cbxFade->value() == 1;
    ui.tbFade->SetBackColour(on ? kActiveColour : kInactiveColour);
    ui.udFade->SetEnabled(on);
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
    const Control& box = *ui.cbxResize;
    if (box.value() != 1 || !box.enabled()) return;
    SpinStep(*ui.tbResize, direction, kResizeRange, ctx_.os.system.DecimalSeparator());
}

void Setup::udFade_Spin(int direction) {
    const Control& box = *ui.cbxFade;
    if (box.value() != 1 || !box.enabled()) return;
    SpinStep(*ui.tbFade, direction, kFadeRange, ctx_.os.system.DecimalSeparator());
}

void Setup::udPageBorder_Spin(int direction) {
    SpinStep(*ui.tbPageBorder, direction, kBorderRange, ctx_.os.system.DecimalSeparator());
}

}  // namespace orv
