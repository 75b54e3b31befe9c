// The settings dialog's General page: how a capture finds its area, the
// capture key, and the switches, among them the one between shared and
// per-user settings.
#include <limits>

#include "dialogs/setup.h"
#include "dialogs/setup_layout.h"
#include "settings/text_convert.h"
#include "state/settings_store.h"
#include "state/vbreg.h"

namespace orv {

using namespace setup_layout;
namespace mb = platform::mb;

namespace {

struct AreaOption {
    int index;  // the PrintArea value
    const char* caption;
    const char* toolTip;
    const char* note;
    int top;  // within the borderless frame around the options
    int noteWidth, noteHeight;
};

// Top to bottom as the page shows them. The first two notes are kept clear of the
// buttons in the page's right column.
// clang-format off
constexpr AreaOption kAreaOptions[] = {
    {0, "Capture Full Desktop or Active Window",
     "The desktop/active window will be printed/captured (see notes)",
     "Pressing the 'Prt-Scr' key will capture the entire desktop, 'Alt' and 'Prt Scr'  will "
     "capture the current active window.",
     0, 4695, 390},
    {3, "Capture Active Window", "The active window will be printed/captured",
     "Pressing the 'Prt-Scr' key will capture the active window.", 705, 4695, 195},
    {2, "Prompt User for Capture Area", "The user will be prompted to select an area to print/capture",
     "On pressing the 'Prt-Scr' key, the user will be prompted to select the area of the screen "
     "that they require captured. ",
     1215, 6135, 390},
    {1, "Capture a Pre-Defined Area", "A pre-defined area of the screen will be printed/captured",
     "When the 'Prt Scr' key is pressed, a pre-defined area of the screen will be captured.", 1920,
     6135, 390},
};
// clang-format on
constexpr int kOptionHeight = 240;
constexpr int kDefineAreaHeight = 345;  // the button beside the last option; its note goes below it

constexpr const char* kKeyEntries[] = {" Prt-Scr", " F10", " F11", " F12"};

std::string AreaText(int x1, int y1, int x2, int y2) {
    return "(" + std::to_string(x1) + "," + std::to_string(y1) + " to " + std::to_string(x2) + "," +
           std::to_string(y2) + ")";
}

constexpr const char* kCornerPrompt = "Then press the space bar to 'OK' this position";

bool FitsInt16(int v) {
    return v >= std::numeric_limits<int16_t>::min() && v <= std::numeric_limits<int16_t>::max();
}

}  // namespace

void Setup::BuildGeneralPage(Control& page) {
    Heading(*this, "lblAreaHeading", &page, {120, 120, 4935, 195}, "Capture Area Selection Method");
    Control& area =
        Put(*this, ControlKind::Frame, "frCaptureArea", -1, &page, {120, 360, 6375, 2850});
    area.SetBorder(false);
    int bottom = 0;
    for (const AreaOption& o : kAreaOptions) {
        const bool predefined = o.index == 1;
        Control& ob =
            Put(*this, ControlKind::OptionButton, "obPrintArea", o.index, &area,
                {0, o.top, predefined ? 2895 : 4815, kOptionHeight}, o.caption, o.toolTip);
        ui.obPrintArea[o.index] = OptionButton(ob);
        const int index = o.index;
        ob.onClick = [this, index] { Guarded([this, index] { obPrintArea_Click(index); }); };
        if (predefined) {
            ui.cmdDefineArea =
                Button(Put(*this, ControlKind::CommandButton, "cmdDefineArea", -1, &area,
                           {3000, o.top - 60, 1215, kDefineAreaHeight}, "&Define Area",
                           "Define the specific area of the screen to print/capture"));
            ui.cmdDefineArea->onClick = Handler(&Setup::cmdDefineArea_Click);
        }
        const int noteTop = o.top + (predefined ? kDefineAreaHeight - 45 : kOptionHeight);
        Put(*this, ControlKind::Label, "lblAreaNote", o.index, &area,
            {240, noteTop, o.noteWidth, o.noteHeight}, o.note);
        bottom = noteTop + o.noteHeight;
    }
    ui.lblCoOrd =
        Label(Put(*this, ControlKind::Label, "lblCoOrd", -1, &area, {240, bottom, 3015, 195}));
    // Until an option is chosen the area cannot be defined, and its text is hidden.
    ui.cmdDefineArea->SetEnabled(false);
    ui.lblCoOrd->SetForeColour(platform::colour::kButtonFace);

    Heading(*this, "lblInteractionHeading", &page, {120, 3255, 3135, 195}, "User Interaction");
    ui.cbxOnTheFly =
        CheckBox(Put(*this, ControlKind::CheckBox, "cbxOnTheFly", -1, &page, {240, 3480, 3135, 255},
                     "Enable 'On The Fly' Configuration",
                     "The user will be prompted for options prior to capturing the screen image"));
    Heading(*this, "lblKeyHeading", &page, {3600, 3255, 1575, 195}, "Capture Key");
    ui.ddlbKey =
        ListBox(Put(*this, ControlKind::DropDownList, "ddlbKey", -1, &page, {3720, 3450, 1335, 315},
                    "", "Select the key to initiate screen capture, normally the 'Prt-Scr' key"));
    for (const char* k : kKeyEntries) ui.ddlbKey->AddItem(k);

    Heading(*this, "lblMiscHeading", &page, {120, 3810, 3135, 195}, "Miscellaneous");
    ui.cbxGlobalSettings = CheckBox(Put(*this, ControlKind::CheckBox, "cbxGlobalSettings", -1,
                                        &page, {240, 4035, 1800, 255}, "Share User Settings",
                                        "All users of this PC will share the same settings"));
    ui.cbxGlobalSettings->onClick = Handler(&Setup::cbxGlobalSettings_Click);
    ui.cbxAutoLoad = CheckBox(Put(*this, ControlKind::CheckBox, "cbxAutoLoad", -1, &page,
                                  {2100, 4035, 1575, 255}, "Load at Startup",
                                  "Automatically load when your computer starts"));
    ui.cbxShowIcon =
        CheckBox(Put(*this, ControlKind::CheckBox, "cbxShowIcon", -1, &page,
                     {3720, 4035, 1575, 255}, "Show In SysTray", "Show icon in systray"));
    ui.cbxHidePopup = CheckBox(Put(*this, ControlKind::CheckBox, "cbxHidePopup", -1, &page,
                                   {5340, 4035, 1275, 255}, "Hide Pop-Up",
                                   "Hide the popup window when capturing"));

    Control& reset =
        Put(*this, ControlKind::CommandButton, "cmdReset", -1, &page, {5280, 600, 1215, 375},
            "Reset &Defaults", "Reset all settings to defaults");
    reset.onClick = Handler(&Setup::cmdReset_Click);
    Control& exp =
        Put(*this, ControlKind::CommandButton, "cmdExport", -1, &page, {5280, 1080, 1215, 375},
            "E&xport Settings", "Exports current settings to registry format");
    exp.onClick = Handler(&Setup::cmdExport_Click);
}

void Setup::ShowArea() {
    const SettingsRecord& s = DialogSettings;
    ui.lblCoOrd->SetCaption(AreaText(s.x1, s.y1, s.x2, s.y2));
}

void Setup::obPrintArea_Click(int index) {
    const bool predefined = index == 1;
    ui.cmdDefineArea->SetEnabled(predefined);
    // The label keeps its text; on the dialog's background colour it vanishes.
    ui.lblCoOrd->SetForeColour(predefined ? ui.obPrintArea[1]->state().foreColour
                                          : platform::colour::kButtonFace);
}

void Setup::cmdDefineArea_Click() {
    // Each box takes the focus on its OK button, so the space bar closes it
    // without moving the pointer the user has placed.
    Activate();
    Tell("Move the mouse to the 'Top Left' corner of the screen area you wish to capture.\r\n" +
             std::string(kCornerPrompt),
         mb::kInformation);
    const platform::Point a = ctx_.os.system.CursorPos();
    Activate();
    Tell("Move the mouse to the 'Bottom Right' corner of the screen area you wish to capture.\r\n" +
             std::string(kCornerPrompt),
         mb::kInformation);
    const platform::Point b = ctx_.os.system.CursorPos();
    const bool fits = FitsInt16(a.x) && FitsInt16(a.y) && FitsInt16(b.x) && FitsInt16(b.y);
    if (!fits || !(a.x < b.x && a.y < b.y)) {
        Tell("The co-ordinates that you entered where incorrect. Please try again.",
             mb::kExclamation);
        return;
    }
    SettingsRecord& s = DialogSettings;
    s.x1 = static_cast<int16_t>(a.x);
    s.y1 = static_cast<int16_t>(a.y);
    s.x2 = static_cast<int16_t>(b.x);
    s.y2 = static_cast<int16_t>(b.y);
    ShowArea();
}

void Setup::WriteChooser(const char* text) {
    if (!SetRegValue(ctx_, platform::RegRoot::CurrentUser, kSettingsKeyPath, "GlobalSettings",
                     text))
        Tell("Failed to save settings to registry", mb::kCritical);
}

void Setup::Reload() {
    LoadSettings(ctx_);
    DialogSettings = ctx_.state.Settings;
    FillControls();
}

void Setup::cbxGlobalSettings_Click() {
    const int v = ui.cbxGlobalSettings->value();
    if (v == CheckShown(DialogSettings.GlobalSettings)) return;  // the box only shows the copy
    if (v == 1) {
        if (Ask("Do you want to use the current settings as as the new global settings?") ==
            mb::kIdYes) {
            WriteChooser("1");
            CollectControls();
        } else if (Ask("Are you sure that you want to revert to global settings?") == mb::kIdYes) {
            WriteChooser("1");
            Reload();
        } else {
            // Nothing was switched: the box goes back to what the working copy
            // holds, so a later OK keeps this user's own settings. (Setting it
            // raises this handler again, which then finds nothing to do.)
            ShowCheck(*ui.cbxGlobalSettings, DialogSettings.GlobalSettings);
            return;
        }
        ui.cmdCancel->SetEnabled(false);
        return;
    }
    if (v == 2) return;  // grey only ever comes from the working copy
    const std::string chooser =
        GetRegValue(ctx_, platform::RegRoot::CurrentUser, kSettingsKeyPath, "GlobalSettings", "99");
    const auto number = ToNumber(chooser, ctx_.os.system.DecimalSeparator());
    if ((number && *number == 99) ||
        Ask("Do you want to use the current settings as your new user settings?") == mb::kIdYes) {
        CollectControls();
    } else {
        WriteChooser("0");
        Reload();
    }
    ui.cmdCancel->SetEnabled(false);
}

}  // namespace orv
