// Export Settings on the General page: the working copy as a registry script
// in the program's folder.
#include "dialogs/setup.h"
#include "output/replacing_write.h"
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
        // A half-written script would import a partial set of settings: the
        // previous file stays until the new one is complete.
        const std::string text = SettingsExportFile(shown, ctx_.os.system.DecimalSeparator());
        ReplacingWrite file(ctx_.os, path);
        file.Create(std::vector<uint8_t>(text.begin(), text.end()));
        file.Commit();
    } catch (const Error&) {
        Tell("Could not create the file '" + path + "'", mb::kCritical);
        return;
    } catch (const std::bad_alloc&) {
        Tell("Could not create the file '" + path + "'", mb::kCritical);
        return;
    }
    Tell("The file '" + path + "' has been created.\r\nCheck 'help' for more details.",
         mb::kInformation);
}

}  // namespace orv
