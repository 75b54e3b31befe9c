#pragma once
#include "platform/help.h"

namespace orv::win32 {

class Win32Help : public platform::Help {
  public:
    void ShowHelp(const std::string& helpFile, int contextId) override;
};

}  // namespace orv::win32
