#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace orv::platform {

// A file's bytes made piece by piece into one reused buffer: pieces(i, out)
// puts piece i in out and returns false past the last. Any piece can be made
// again, so a write that is tried again starts over.
using FilePieces = std::function<bool(std::size_t index, std::vector<uint8_t>& out)>;

inline std::vector<uint8_t> JoinPieces(const FilePieces& pieces) {
    std::vector<uint8_t> bytes, piece;
    for (std::size_t i = 0; pieces(i, piece); ++i)
        bytes.insert(bytes.end(), piece.begin(), piece.end());
    return bytes;
}

// Whole-file writes. Every failure throws orv::Error carrying the system's
// error number and text; the numbers below are the ones callers act on.
// Files are opened for writing with read sharing only.
class Files {
  public:
    virtual ~Files() = default;
    // Creates the file or empties an existing one, writes and flushes it.
    virtual void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) = 0;
    // Creates and writes a file that must not exist yet (kFileExists
    // otherwise), without the flush: its bytes are rewritten before use.
    virtual void CreateNewFile(const std::string& path, const std::vector<uint8_t>& bytes) = 0;
    // WriteFile with the bytes in pieces.
    virtual void WritePieces(const std::string& path, const FilePieces& pieces) = 0;
    // Puts `source` in place of `target` in one step, flushed to disk. Until it
    // succeeds both files stay as they were.
    virtual void MoveReplacing(const std::string& source, const std::string& target) = 0;
    // Removes a file; false when there was none or it could not be removed.
    virtual bool RemoveFile(const std::string& path) = 0;
    void WriteFile(const std::string& path, const std::string& text) {
        WriteFile(path, std::vector<uint8_t>(text.begin(), text.end()));
    }
};

// System error numbers that change what a caller does.
namespace file_error {
constexpr long kAccessDenied = 5;       // also a target held open by another program
constexpr long kSharingViolation = 32;  // another program has the file open
constexpr long kLockViolation = 33;
constexpr long kFileExists = 80;
constexpr long kAlreadyExists = 183;
}  // namespace file_error

}  // namespace orv::platform
