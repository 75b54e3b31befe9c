#pragma once
// The system's common dialogs.
#include <cstdint>
#include <optional>
#include <string>

namespace orv::platform {

struct SaveDialogRequest {
    std::string title;
    uint32_t flags = 0;   // OFN_* as GetSaveFileName takes them
    std::string filter;   // "Name|*.ext|Name|*.ext"
    int filterIndex = 1;  // 1-based
};

struct SaveDialogResult {
    std::string fileName;  // as the dialog returns it, no extension added
    int filterIndex = 1;
};

class CommonDialogs {
  public:
    virtual ~CommonDialogs() = default;
    // nullopt when the user cancels; a failing dialog throws orv::Error.
    virtual std::optional<SaveDialogResult> ShowSave(const SaveDialogRequest& request) = 0;
    // The system's folder picker. The chosen folder's full path (a trailing
    // separator only where the system gives one, as for a drive's root), or
    // nullopt when the user cancels; a failing picker throws orv::Error.
    virtual std::optional<std::string> BrowseForFolder(const std::string& title) = 0;
};

}  // namespace orv::platform
