#pragma once
#include "platform/registry.h"

namespace orv::win32 {

class Win32Registry : public platform::Registry {
  public:
    platform::RegQueryResult QueryValue(platform::RegRoot root, const std::string& path,
                                        const std::string& name, std::size_t bufferSize) override;
    long SetValue(platform::RegRoot root, const std::string& path, const std::string& name,
                  const std::string& text) override;
    long SetDwordValue(platform::RegRoot root, const std::string& path, const std::string& name,
                       uint32_t value) override;
    long DeleteValue(platform::RegRoot root, const std::string& path,
                     const std::string& name) override;
};

}  // namespace orv::win32
