// The settings dialog's Save Options page: file name, format, folder and the
// counter of the "[counter]" code.
#include <cmath>

#include "dialogs/setup.h"
#include "dialogs/setup_layout.h"
#include "platform/strings.h"
#include "settings/text_convert.h"
#include "state/vbreg.h"

namespace orv {

using namespace setup_layout;
namespace mb = platform::mb;

namespace {

constexpr const char* kFileNamePresets[] = {"[Prompt user for filename]",
                                            "ORVX",
                                            "ORVX-[rdate]-[time]",
                                            "ORVX-[date]-[time]",
                                            "ORVX-[counter]",
                                            "[company]-[counter]",
                                            "[rdate][time]"};

struct Format {
    const char* caption;
    const char* toolTip;
};
constexpr Format kFormats[] = {
    {"GIF", "Save file in the GIF file format"},
    {"PNG", "Save file in the PNG file format (smallest)"},
    {"BMP", "Save file in the BMP file format (largest)"},
    {"JPG", "Save file in the JPG file format (ideal for photographic images)"},
};

constexpr double kCounterLimit = 100000000;  // counters stay below this

}  // namespace

void Setup::BuildSavePage(Control& page) {
    ui.cbxSave =
        CheckBox(Put(*this, ControlKind::CheckBox, "cbxSave", -1, &page, {120, 120, 3015, 255},
                     "Save Captured Area to Disk", "Save the Screen Image to Disk"));
    ui.cbxSave->onClick = Handler(&Setup::cbxSave_Click);
    Control* frmSave = &Put(*this, ControlKind::Frame, "frmSave", -1, &page, {0, 480, 6615, 3615});
    ui.frmSave = Frame(*frmSave);
    frmSave->SetBorder(false);
    frmSave->SetVisible(false);  // as the unticked box says

    Put(*this, ControlKind::Label, "lblFilename", -1, frmSave, {240, 255, 855, 195}, "Filename:");
    ui.ddlbSaveFilename =
        TextField(Put(*this, ControlKind::EditableCombo, "ddlbSaveFilename", -1, frmSave,
                      {1200, 195, 5295, 315}, "",
                      "Enter the filename format you wish to use, or select a predefined one "
                      "from the list"));
    for (const char* p : kFileNamePresets) ui.ddlbSaveFilename->AddItem(p);
    ui.ddlbSaveFilename->SetMaxLength(kRegTextLimit);

    Put(*this, ControlKind::Label, "lblFormat", -1, frmSave, {240, 690, 915, 195}, "File Format:");
    for (int i = 0; i < 4; ++i)
        ui.obSaveFormat[i] = OptionButton(Put(*this, ControlKind::OptionButton, "obSaveFormat", i,
                                              frmSave, {1200 + i * 975, 660, 855, 255},
                                              kFormats[i].caption, kFormats[i].toolTip));

    Put(*this, ControlKind::Label, "lblFolder", -1, frmSave, {240, 1125, 855, 195}, "Folder:");
    ui.tbSaveFolder =
        TextField(Put(*this, ControlKind::TextBox, "tbSaveFolder", -1, frmSave,
                      {1200, 1080, 3975, 285}, "", "Folder to save screen dumps into"));
    ui.tbSaveFolder->SetMaxLength(kRegTextLimit);
    Control& browse = Put(*this, ControlKind::CommandButton, "cmdBrowse", -1, frmSave,
                          {5280, 1035, 1215, 375}, "Browse", "Browse for a folder");
    browse.onClick = Handler(&Setup::cmdBrowse_Click);

    Heading(*this, "lblNotesHeading", frmSave, {240, 1620, 2415, 195}, "Notes");
    Put(*this, ControlKind::Label, "lblNote", -1, frmSave, {360, 1860, 6135, 585},
        "Formatting codes may be used within the filename. These can be used to uniquely identify "
        "the file. A list of all these codes can be found in help.");
    Put(*this, ControlKind::Label, "lblCounterText", -1, frmSave, {360, 2700, 3615, 195},
        "The [counter] formatting code value is currently:");
    ui.lblCounter =
        Label(Put(*this, ControlKind::Label, "lblCounter", -1, frmSave, {4020, 2700, 1095, 195}));
    Control& reset = Put(*this, ControlKind::CommandButton, "cmdResetCounter", -1, frmSave,
                         {5280, 2610, 1215, 375}, "Reset Counter",
                         "Reset the value of the internal filename incremental counter");
    reset.onClick = Handler(&Setup::cmdResetCounter_Click);
}

void Setup::cbxSave_Click() {
    ui.frmSave->SetVisible(ui.cbxSave->value() == 1);
}

void Setup::cmdBrowse_Click() {
    // Cancel or a failing picker leave the box as it is, without a word.
    std::optional<std::string> folder;
    try {
        folder = ctx_.os.dialogs.BrowseForFolder(ctx_.ProductTitle());
    } catch (const Error&) {
        return;
    }
    if (!folder || folder->empty()) return;
    // Saving joins folder and file name with nothing between them.
    if (folder->back() != '\\' && folder->back() != '/') *folder += '\\';
    // The box would cut it, and saving would go to some other folder.
    if (Utf16Length(*folder) > kRegTextLimit) {
        Tell("The path of this folder is longer than " + std::to_string(kRegTextLimit) +
                 " characters, which is more than can be stored. Choose a folder with a shorter "
                 "path.",
             mb::kExclamation);
        return;
    }
    ui.tbSaveFolder->SetText(*folder);
}

void Setup::cmdResetCounter_Click() {
    const std::string now = std::to_string(DialogSettings.Counter);
    std::optional<std::string> answer = ctx_.os.ui.InputBox(
        "The next counter value to be used is: " + now +
            "\r\nEnter the new value for this counter.",
        ctx_.ProductTitle(), now, handle());  // modal to this dialog: OK waits for the answer
    if (!answer || answer->empty()) return;
    const std::optional<double> v = ToNumber(*answer, ctx_.os.system.DecimalSeparator());
    if (!v) {
        Tell("Invalid value, try again", mb::kInformation);
        return;
    }
    // The range is tested before rounding: 99999999.6 passes and becomes 100000000.
    if (*v < 0 || *v >= kCounterLimit) return;
    DialogSettings.Counter = static_cast<int32_t>(std::nearbyint(*v));  // halves to even
    ui.lblCounter->SetCaption(std::to_string(DialogSettings.Counter));
}

}  // namespace orv
