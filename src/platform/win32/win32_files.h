#pragma once
#include "platform/files.h"

namespace orv::win32 {

class Win32Files : public platform::Files {
  public:
    void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) override;
    using platform::Files::WriteFile;
    void WritePieces(const std::string& path, const platform::FilePieces& pieces) override;
    void CreateNewFile(const std::string& path, const std::vector<uint8_t>& bytes) override;
    void MoveReplacing(const std::string& source, const std::string& target) override;
    bool RemoveFile(const std::string& path) override;
};

}  // namespace orv::win32
