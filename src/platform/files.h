#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace orv::platform {

// Whole-file writes. A file that cannot be created or written throws orv::Error
// carrying the system's error number and text.
class Files {
public:
    virtual ~Files() = default;
    virtual void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) = 0;
    // Removes a file; false when there was none or it could not be removed.
    virtual bool RemoveFile(const std::string& path) = 0;
    virtual void WriteFile(const std::string& path, const std::string& text) {
        WriteFile(path, std::vector<uint8_t>(text.begin(), text.end()));
    }
};

}  // namespace orv::platform
