#pragma once
// The simulated disk. It reads names the way Windows does, so a test sees
// what a user would: a ':' after the drive writes a hidden stream, a device
// name (any extension) swallows the write, trailing dots and blanks vanish.
// Other programs can hold files open, files can be read-only, and a chosen
// step can fail.
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/files.h"

namespace orv::sim {

class SimFiles : public platform::Files {
  public:
    explicit SimFiles(platform::Clock& clock);
    void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) override;
    using platform::Files::WriteFile;
    void WritePieces(const std::string& path, const platform::FilePieces& pieces) override;
    void CreateNewFile(const std::string& path, const std::vector<uint8_t>& bytes) override;
    void MoveReplacing(const std::string& source, const std::string& target) override;
    bool RemoveFile(const std::string& path) override;

    void AddFolder(const std::string& folder);
    void LockFolder(const std::string& folder);  // exists, but refuses new files

    enum class Step { Create, Write, Replace };
    // The next `count` calls of that step fail with a full disk; a create or
    // write leaves the file it opened, empty.
    void FailNext(Step step, int count = 1) { failures_[step] = count; }
    // Another program opens the file without sharing, for `seconds` of the clock.
    void HoldOpen(const std::string& path, double seconds = 1e9);
    // A scanner that opens every newly created file for `seconds`.
    void ScanNewFiles(double seconds) { scanSeconds_ = seconds; }
    void SetReadOnly(const std::string& path) { readOnly_.insert(Key(path)); }

    std::optional<std::vector<uint8_t>> Read(const std::string& path) const;
    std::optional<std::string> ReadText(const std::string& path) const;
    std::vector<std::string> List() const;  // every file's path as written
    // Hidden streams ("C:\shot:1.png") and bytes sent to devices.
    const std::map<std::string, std::vector<uint8_t>>& streams() const { return streams_; }
    std::size_t deviceBytes() const { return deviceBytes_; }

  private:
    struct Target {
        enum Kind { File, Stream, Device } kind = File;
        std::string key, shown, stream;
    };
    static std::string Key(const std::string& path);
    Target Resolve(const std::string& path) const;
    void Fail(Step step, const Target& t);
    void Store(const Target& t, const std::vector<uint8_t>& bytes, bool created);
    bool Held(const std::string& key) const;

    platform::Clock& clock_;
    std::set<std::string> folders_, locked_, readOnly_;
    std::map<std::string, std::pair<std::string, std::vector<uint8_t>>> files_;
    std::map<std::string, std::vector<uint8_t>> streams_;
    std::map<std::string, double> heldUntil_;
    std::map<Step, int> failures_;
    double scanSeconds_ = 0;
    std::size_t deviceBytes_ = 0;
};

}  // namespace orv::sim
