#include "platform/win32/win32_files.h"

#include <windows.h>

#include <algorithm>

#include "platform/win32/win32_util.h"

namespace orv::win32 {
namespace {

bool Put(HANDLE f, const std::vector<uint8_t>& bytes) {
    for (std::size_t done = 0; done < bytes.size();) {
        DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 24));
        DWORD written = 0;
        if (!::WriteFile(f, bytes.data() + done, chunk, &written, nullptr) || written == 0)
            return false;
        done += written;
    }
    return true;
}

// Readers (a viewer, a scanner) may look in while it is written; nobody may
// write or delete it meanwhile. With `flush`, flushed before closing, so a
// replace that follows never puts an unwritten file in place.
template <typename Body>
void Write(const std::string& path, DWORD disposition, bool flush, Body body) {
    HANDLE f = CreateFileW(Wide(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, disposition,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE) ThrowLastError("CreateFileW");
    bool ok = false;
    try {
        ok = body(f);  // a piece that cannot be made throws
    } catch (...) {
        CloseHandle(f);
        throw;
    }
    ok = ok && (!flush || FlushFileBuffers(f));
    const DWORD code = ok ? ERROR_SUCCESS : GetLastError();
    if (!CloseHandle(f) && ok) ThrowLastError("CloseHandle");
    if (!ok) throw Error(static_cast<long>(code), SystemMessage(code));
}

}  // namespace

void Win32Files::WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    Write(path, CREATE_ALWAYS, true, [&](HANDLE f) { return Put(f, bytes); });
}

void Win32Files::WritePieces(const std::string& path, const platform::FilePieces& pieces) {
    Write(path, CREATE_ALWAYS, true, [&](HANDLE f) {
        std::vector<uint8_t> piece;
        for (std::size_t i = 0; pieces(i, piece); ++i)
            if (!Put(f, piece)) return false;
        return true;
    });
}

void Win32Files::CreateNewFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    // Only the check that the file can be made: a disk flush for it cost
    // up to 0.2 s before each picture while the disk was busy.
    Write(path, CREATE_NEW, false, [&](HANDLE f) { return Put(f, bytes); });
}

void Win32Files::MoveReplacing(const std::string& source, const std::string& target) {
    if (!MoveFileExW(Wide(source).c_str(), Wide(target).c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        ThrowLastError("MoveFileExW");
}

bool Win32Files::RemoveFile(const std::string& path) {
    try {
        return ::DeleteFileW(Wide(path).c_str()) != FALSE;
    } catch (const Error&) {
        return false;
    }
}

}  // namespace orv::win32
