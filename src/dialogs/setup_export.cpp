// Export Settings on the General page: the working copy as a registry script
// in the program's folder.
#include "dialogs/setup.h"
#include "platform/error.h"
#include "settings/settings_export.h"

namespace orv {

namespace mb = platform::mb;

void Setup::cmdExport_Click() {
    const std::string folder = ctx_.os.system.AppFolder();
    const std::string path = folder + "\\" + kExportFileName;
    // What the dialog shows, ticks since the last collection included; the
    // working copy itself stays as it was.
    const SettingsRecord kept = DialogSettings;
    CollectControls();
    const SettingsRecord shown = DialogSettings;
    DialogSettings = kept;
    try {
        ctx_.os.files.WriteFile(path, SettingsExportFile(shown, ctx_.os.system.DecimalSeparator()));
    } catch (const Error&) {
        // A partly written script would import a partial set of settings.
        ctx_.os.files.RemoveFile(path);
        Tell("Could not create the file '" + folder + "\\" + kExportFileName + "'", mb::kCritical);
        return;
    }
    Tell("The file '" + folder + "\\" + kExportFileName + "' has been created.\r\nCheck 'help' for more details.",
         mb::kInformation);
}

}  // namespace orv
