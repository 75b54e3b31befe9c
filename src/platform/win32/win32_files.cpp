#include "platform/win32/win32_files.h"

#include <windows.h>

#include "platform/win32/win32_util.h"

namespace orv::win32 {

void Win32Files::WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE) {
        DWORD code = GetLastError();
        throw Error(static_cast<long>(code), SystemMessage(code));
    }
    std::size_t done = 0;
    while (done < bytes.size()) {
        DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 24));
        DWORD written = 0;
        if (!::WriteFile(f, bytes.data() + done, chunk, &written, nullptr) || written == 0) {
            DWORD code = GetLastError();
            CloseHandle(f);
            throw Error(static_cast<long>(code), SystemMessage(code));
        }
        done += written;
    }
    if (!CloseHandle(f)) {
        DWORD code = GetLastError();
        throw Error(static_cast<long>(code), SystemMessage(code));
    }
}

bool Win32Files::RemoveFile(const std::string& path) { return ::DeleteFileA(path.c_str()) != FALSE; }

}  // namespace orv::win32
