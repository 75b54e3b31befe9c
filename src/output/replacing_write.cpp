#include "output/replacing_write.h"

#include <cstdio>

#include "platform/error.h"

namespace orv {
namespace {

namespace fe = platform::file_error;

constexpr double kRetryPauseSeconds = 0.1;
constexpr int kTemporaryNames = 100;

std::string FolderOf(const std::string& path) {
    const auto slash = path.find_last_of("\\/");
    if (slash != std::string::npos) return path.substr(0, slash + 1);
    return path.size() >= 2 && path[1] == ':' ? path.substr(0, 2) : std::string();
}

void Pause(platform::Platform& os, double seconds) {
    const double until = os.clock.MonotonicSeconds() + seconds;
    for (double left; (left = until - os.clock.MonotonicSeconds()) > 0;)
        os.ui.WaitForMessages(left);
}

// Scanners, indexers and sync clients open a new file within milliseconds of
// its creation and close it soon after; a write or replace meeting one of
// them is tried again for a short while. Replacing a file that another
// program holds reports "access denied" rather than a sharing violation.
template <typename Step>
void WhileBusy(platform::Platform& os, bool replacing, Step step) {
    const double start = os.clock.MonotonicSeconds();
    for (;;) {
        try {
            step();
            return;
        } catch (const Error& e) {
            const bool busy = e.number() == fe::kSharingViolation ||
                              e.number() == fe::kLockViolation ||
                              (replacing && e.number() == fe::kAccessDenied);
            if (!busy || os.clock.MonotonicSeconds() - start >= kFileBusySeconds) throw;
        }
        Pause(os, kRetryPauseSeconds);
    }
}

}  // namespace

ReplacingWrite::ReplacingWrite(platform::Platform& os, std::string target)
    : os_(os), target_(std::move(target)) {}

ReplacingWrite::~ReplacingWrite() {
    if (!temporary_.empty() && !committed_) os_.files.RemoveFile(temporary_);
}

void ReplacingWrite::Create(const std::vector<uint8_t>& bytes) {
    const std::string folder = FolderOf(target_);
    for (int n = 0;; ++n) {
        char name[24];
        std::snprintf(name, sizeof name, "~orv%04d.tmp", n);
        try {
            os_.files.CreateNewFile(folder + name, bytes);
            temporary_ = folder + name;
            return;
        } catch (const Error& e) {
            const bool taken = e.number() == fe::kFileExists || e.number() == fe::kAlreadyExists;
            // A name that failed half way was created: it is ours to remove.
            if (!taken) temporary_ = folder + name;
            if (!taken || n + 1 == kTemporaryNames) throw;
        }
    }
}

void ReplacingWrite::Rewrite(const std::vector<uint8_t>& bytes) {
    WhileBusy(os_, false, [&] { os_.files.WriteFile(temporary_, bytes); });
}

void ReplacingWrite::Rewrite(const platform::FilePieces& pieces) {
    WhileBusy(os_, false, [&] { os_.files.WritePieces(temporary_, pieces); });
}

void ReplacingWrite::Commit() {
    WhileBusy(os_, true, [&] { os_.files.MoveReplacing(temporary_, target_); });
    committed_ = true;
}

}  // namespace orv
