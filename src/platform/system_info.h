#pragma once
#include <string>

namespace orv::platform {

struct OsVersion {
    bool ok = false;  // false when GetVersionExA failed; the fields then stay 0
    unsigned major = 0, minor = 0, platformId = 0, build = 0;
};

struct Point {
    int x = 0, y = 0;
};

// Screen pixels. The primary monitor's top-left corner is (0, 0); a monitor
// left of or above it has negative coordinates.
struct ScreenRect {
    int left = 0, top = 0, width = 0, height = 0;
    bool operator==(const ScreenRect&) const = default;
};

class SystemInfo {
  public:
    virtual ~SystemInfo() = default;
    virtual OsVersion GetVersion() = 0;
    // True when another resident instance of this program is running. The first
    // caller claims the resident role for the life of the process.
    virtual bool AnotherInstanceRunning() = 0;
    // A second start, in front because the user just started it, lets the
    // resident instance take the foreground for the window it is asked to open.
    virtual void AllowResidentForeground() = 0;
    virtual std::string AppFolder() = 0;  // the executable's folder, no trailing separator
    virtual std::string ExeName() = 0;    // without ".exe"
    virtual int VersionMajor() = 0;
    virtual int VersionMinor() = 0;
    virtual std::string ProductName() = 0;  // "Orvanex - v3.5"
    virtual int ScreenWidthPixels() = 0;
    virtual int ScreenHeightPixels() = 0;
    // The rectangle around every monitor: what Print Screen copies, its
    // top-left corner at the picture's pixel (0, 0).
    virtual ScreenRect VirtualScreen() = 0;
    virtual Point CursorPos() = 0;
    virtual void Beep() = 0;
    virtual char DecimalSeparator() = 0;                             // the user's locale
    virtual std::string UserName() = 0;                              // text of "[name]"
    virtual std::string UserCompany() = 0;                           // text of "[company]"
    virtual std::string MonthName(int month, bool abbreviated) = 0;  // month 1..12, user's locale
    // The user's own Pictures folder wherever it was moved (a sync client's
    // folder included), no trailing separator; empty when there is none.
    virtual std::string PicturesFolder() = 0;
};

}  // namespace orv::platform
