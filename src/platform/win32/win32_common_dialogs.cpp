#include "platform/win32/win32_common_dialogs.h"

#include <windows.h>
#include <commdlg.h>
#include <objbase.h>
#include <shlobj.h>

#include <vector>

#include "platform/error.h"
#include "platform/win32/win32_util.h"

namespace orv::win32 {

std::optional<platform::SaveDialogResult> Win32CommonDialogs::ShowSave(
    const platform::SaveDialogRequest& request) {
    // The W dialog: the A one converts with the system's code page, not the process's.
    std::wstring filter = Wide(request.filter);
    for (wchar_t& c : filter)
        if (c == L'|') c = L'\0';
    filter.append(2, L'\0');
    const std::wstring title = Wide(request.title);
    std::vector<wchar_t> file(32768, L'\0');
    OPENFILENAMEW ofn;
    ZeroMemory(&ofn, sizeof ofn);
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner ? owner() : nullptr;
    ofn.lpstrFilter = filter.c_str();
    ofn.nFilterIndex = static_cast<DWORD>(request.filterIndex);
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = static_cast<DWORD>(file.size());
    ofn.lpstrTitle = title.c_str();
    ofn.Flags = request.flags;
    if (!GetSaveFileNameW(&ofn)) {
        DWORD code = CommDlgExtendedError();
        if (code == 0) return std::nullopt;  // cancelled
        throw Error(static_cast<long>(code),
                    "The save dialog failed (code " + HexNumber(static_cast<long>(code)) + ")");
    }
    return platform::SaveDialogResult{Utf8(std::wstring(file.data())),
                                      static_cast<int>(ofn.nFilterIndex)};
}

namespace {

// The picker's newer look needs COM on this thread; it stays initialised for
// as long as the picker is up.
class ComScope {
  public:
    ComScope() : hr_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~ComScope() {
        if (SUCCEEDED(hr_)) CoUninitialize();
    }
    bool apartment() const { return SUCCEEDED(hr_); }

  private:
    HRESULT hr_;
};

}  // namespace

std::optional<std::string> Win32CommonDialogs::BrowseForFolder(const std::string& title) {
    ComScope com;
    wchar_t display[MAX_PATH] = {};
    const std::wstring wideTitle = Wide(title);
    BROWSEINFOW bi;
    ZeroMemory(&bi, sizeof bi);
    // Owned by the window in front (the topmost settings dialog), so the
    // picker is never hidden behind it.
    bi.hwndOwner = GetActiveWindow();
    bi.pszDisplayName = display;
    bi.lpszTitle = wideTitle.c_str();
    bi.ulFlags = BIF_RETURNONLYFSDIRS | (com.apartment() ? BIF_NEWDIALOGSTYLE : 0u);
    PIDLIST_ABSOLUTE item = SHBrowseForFolderW(&bi);
    if (!item) return std::nullopt;  // cancelled
    wchar_t path[MAX_PATH] = {};
    BOOL ok = SHGetPathFromIDListW(item, path);
    CoTaskMemFree(item);
    if (!ok) throw Error(5, "The chosen item is not a folder of the file system");
    return Utf8(std::wstring(path));
}

}  // namespace orv::win32
