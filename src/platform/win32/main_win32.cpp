// Entry of orvanex.exe: connects the Win32 services and starts the program.
#include <windows.h>

#include "app/program.h"
#include "orvanex_version.h"
#include "platform/error.h"
#include "platform/win32/win32_clipboard.h"
#include "platform/win32/win32_codecs.h"
#include "platform/win32/win32_common_dialogs.h"
#include "platform/win32/win32_files.h"
#include "platform/win32/win32_forms.h"
#include "platform/win32/win32_help.h"
#include "platform/win32/win32_keyboard.h"
#include "platform/win32/win32_printing.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_system.h"
#include "platform/win32/win32_tray.h"
#include "platform/win32/win32_ui.h"
#include "platform/win32/win32_util.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
    orv::win32::Win32Registry registry;
    orv::win32::Win32Keyboard keyboard;
    orv::win32::Win32System system;
    orv::win32::Win32Clock clock;
    orv::win32::Win32Ui ui;
    orv::win32::Win32Tray tray;
    orv::win32::Win32Clipboard clipboard;
    orv::win32::Win32Files files;
    orv::win32::Win32Codecs codecs;
    orv::win32::Win32CommonDialogs dialogs;
    orv::win32::Win32FormHost forms;
    orv::win32::Win32Printing printing;
    orv::win32::Win32Help help;
    ui.preTranslate = [&forms](MSG& msg) { return forms.PreTranslate(msg); };
    clipboard.owner = [&ui] { return ui.MainWindow(); };
    dialogs.owner = [&ui] { return ui.OwnerFor(0); };
    orv::platform::Platform os{registry, keyboard, system,  clock, ui,       tray, clipboard,
                               files,    codecs,   dialogs, forms, printing, help};

    try {
        orv::Program program(os);
        if (!program.Start(commandLine ? commandLine : "")) return 0;
        // An installer that closes the resident through Restart Manager to
        // replace its exe starts it again afterwards, as the Run entry would;
        // not after a crash, a hang or a reboot (the Run entry starts it then).
        // Unregistered, the resident simply stays ended until the next logon.
        if (FAILED(RegisterApplicationRestart(
                L"-startup", RESTART_NO_CRASH | RESTART_NO_HANG | RESTART_NO_REBOOT)))
            OutputDebugStringA("Orvanex: RegisterApplicationRestart failed\n");
        return ui.RunMessageLoop();
    } catch (const orv::Error& e) {
        // Without its window or timer the program cannot run: say why and end.
        MessageBoxW(nullptr,
                    orv::win32::Wide("Orvanex could not start.\r\n" + e.description()).c_str(),
                    orv::win32::Wide(ORV_PRODUCT_NAME).c_str(), MB_OK | MB_ICONHAND);
        return 1;
    }
}
