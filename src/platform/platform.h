#pragma once
// The seam between the program and the system it runs on. The Win32 entry
// and the simulator each fill one of these.
#include "platform/clipboard.h"
#include "platform/clock.h"
#include "platform/codecs.h"
#include "platform/common_dialogs.h"
#include "platform/files.h"
#include "platform/forms.h"
#include "platform/keyboard.h"
#include "platform/printing.h"
#include "platform/registry.h"
#include "platform/system_info.h"
#include "platform/tray.h"
#include "platform/ui.h"

namespace orv::platform {

struct Platform {
    Registry& registry;
    Keyboard& keyboard;
    SystemInfo& system;
    Clock& clock;
    Ui& ui;
    Tray& tray;
    Clipboard& clipboard;
    Files& files;
    Codecs& codecs;
    CommonDialogs& dialogs;
    FormHost& forms;
    Printing& printing;
};

}  // namespace orv::platform
