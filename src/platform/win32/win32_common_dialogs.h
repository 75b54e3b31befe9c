#pragma once
#include <windows.h>

#include <functional>

#include "platform/common_dialogs.h"

namespace orv::win32 {

class Win32CommonDialogs : public platform::CommonDialogs {
  public:
    std::optional<platform::SaveDialogResult> ShowSave(
        const platform::SaveDialogRequest& request) override;
    std::optional<std::string> BrowseForFolder(const std::string& title) override;

    // The window that owns the dialogs, so they come up in front with the focus.
    std::function<HWND()> owner;
};

}  // namespace orv::win32
