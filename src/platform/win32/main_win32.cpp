// Entry of orvanex.exe: connects the Win32 services and starts the program.
#include <windows.h>

#include "app/program.h"
#include "platform/error.h"
#include "platform/win32/win32_clipboard.h"
#include "platform/win32/win32_common_dialogs.h"
#include "platform/win32/win32_files.h"
#include "platform/win32/win32_forms.h"
#include "platform/win32/win32_keyboard.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_system.h"
#include "platform/win32/win32_tray.h"
#include "platform/win32/win32_ui.h"

namespace {

class NoCodecs : public orv::platform::Codecs {
public:
    std::vector<uint8_t> EncodeJpeg(const orv::Image&, int) override {
        throw orv::Error(31037, "JPEG encoding is not available");
    }
};

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
    orv::win32::Win32Registry registry;
    orv::win32::Win32Keyboard keyboard;
    orv::win32::Win32System system;
    orv::win32::Win32Clock clock;
    orv::win32::Win32Ui ui;
    orv::win32::Win32Tray tray;
    orv::win32::Win32Clipboard clipboard;
    orv::win32::Win32Files files;
    NoCodecs codecs;
    orv::win32::Win32CommonDialogs dialogs;
    orv::win32::Win32FormHost forms;
    ui.preTranslate = [&forms](MSG& msg) { return forms.PreTranslate(msg); };
    orv::platform::Platform os{registry, keyboard, system, clock, ui, tray, clipboard, files, codecs, dialogs, forms};

    orv::Program program(os);
    if (!program.Start(commandLine ? commandLine : "")) return 0;
    return ui.RunMessageLoop();
}
