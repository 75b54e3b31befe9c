#pragma once
#include <windows.h>

#include "platform/clock.h"
#include "platform/system_info.h"

namespace orv::win32 {

class Win32System : public platform::SystemInfo {
  public:
    ~Win32System() override;
    platform::OsVersion GetVersion() override;
    bool AnotherInstanceRunning() override;
    void AllowResidentForeground() override;
    std::string AppFolder() override;
    std::string ExeName() override;
    int VersionMajor() override;
    int VersionMinor() override;
    std::string ProductName() override;
    int ScreenWidthPixels() override { return GetSystemMetrics(SM_CXSCREEN); }
    int ScreenHeightPixels() override { return GetSystemMetrics(SM_CYSCREEN); }
    platform::ScreenRect VirtualScreen() override;
    platform::Point CursorPos() override;
    void Beep() override { MessageBeep(MB_OK); }
    char DecimalSeparator() override;
    std::string UserName() override;
    std::string UserCompany() override;
    std::string PicturesFolder() override;
    std::string MonthName(int month, bool abbreviated) override;

  private:
    std::string ModulePath();
    HANDLE residentMutex_ = nullptr;
};

class Win32Clock : public platform::Clock {
  public:
    double MonotonicSeconds() override;
    platform::DateTime Now() override;
};

}  // namespace orv::win32
