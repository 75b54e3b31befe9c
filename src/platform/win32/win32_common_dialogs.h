#pragma once
#include "platform/common_dialogs.h"

namespace orv::win32 {

class Win32CommonDialogs : public platform::CommonDialogs {
public:
    std::optional<platform::SaveDialogResult> ShowSave(
        const platform::SaveDialogRequest& request) override;
    std::optional<std::string> BrowseForFolder(const std::string& title) override;
};

}  // namespace orv::win32
