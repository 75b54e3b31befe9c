#pragma once
#include <string>

namespace orv::platform {

// Opens the program's help at a topic.
class Help {
  public:
    virtual ~Help() = default;
    // helpFile is the classic help file's full path ("...\Orvanex.hlp"); where
    // that viewer no longer exists the help page shipped beside it is opened at
    // the same context number. Failures throw orv::Error.
    virtual void ShowHelp(const std::string& helpFile, int contextId) = 0;
};

}  // namespace orv::platform
