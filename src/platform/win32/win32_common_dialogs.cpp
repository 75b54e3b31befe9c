#include "platform/win32/win32_common_dialogs.h"

#include <windows.h>
#include <commdlg.h>

#include <vector>

#include "platform/error.h"

namespace orv::win32 {

std::optional<platform::SaveDialogResult> Win32CommonDialogs::ShowSave(
    const platform::SaveDialogRequest& request) {
    std::string filter = request.filter;
    for (char& c : filter)
        if (c == '|') c = '\0';
    filter.append(2, '\0');
    std::vector<char> file(32768, '\0');
    OPENFILENAMEA ofn;
    ZeroMemory(&ofn, sizeof ofn);
    ofn.lStructSize = sizeof ofn;
    ofn.lpstrFilter = filter.c_str();
    ofn.nFilterIndex = static_cast<DWORD>(request.filterIndex);
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = static_cast<DWORD>(file.size());
    ofn.lpstrTitle = request.title.c_str();
    ofn.Flags = request.flags;
    if (!GetSaveFileNameA(&ofn)) {
        DWORD code = CommDlgExtendedError();
        if (code == 0) return std::nullopt;  // cancelled
        throw Error(static_cast<long>(code), "The save dialog failed (code " + HexNumber(static_cast<long>(code)) + ")");
    }
    return platform::SaveDialogResult{file.data(), static_cast<int>(ofn.nFilterIndex)};
}

}  // namespace orv::win32
