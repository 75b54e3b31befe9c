#pragma once
// Writing a file so that the file of that name is always whole, old or new:
// the bytes go to a new file beside it, which then replaces it in one step.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace orv {

class ReplacingWrite {
  public:
    ReplacingWrite(platform::Platform& os, std::string target);
    // Removes the file beside the target unless it was put in place.
    ~ReplacingWrite();
    ReplacingWrite(const ReplacingWrite&) = delete;
    ReplacingWrite& operator=(const ReplacingWrite&) = delete;

    // Creates the new file beside the target, holding `bytes`.
    void Create(const std::vector<uint8_t>& bytes);
    // Writes the new file again with `bytes`.
    void Rewrite(const std::vector<uint8_t>& bytes);
    void Rewrite(const platform::FilePieces& pieces);
    // Puts the new file in place of the target.
    void Commit();

  private:
    platform::Platform& os_;
    std::string target_, temporary_;
    bool committed_ = false;
};

// How long a file held open by another program (a scanner, an indexer, a
// sync client) is waited for before the write counts as failed.
inline constexpr double kFileBusySeconds = 2.0;

}  // namespace orv
