#pragma once

namespace orv::platform {

struct DateTime {
    int year = 2000, month = 1, day = 1, hour = 0, minute = 0, second = 0;
};

class Clock {
  public:
    virtual ~Clock() = default;
    virtual double MonotonicSeconds() = 0;  // never wraps, never goes back
    virtual DateTime Now() = 0;             // local date and time
};

}  // namespace orv::platform
