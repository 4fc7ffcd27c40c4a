#pragma once
// The logger's wall clock: a calendar date and time without a time zone,
// counted as seconds since 1 January 1970 of that calendar.

#include <cstdint>

namespace orvasim {

struct TCivilTime {
    int Year = 1970;
    int Month = 1;
    int Day = 1;
    int Hour = 0;
    int Minute = 0;
    int Second = 0;
    bool operator==(const TCivilTime &) const = default;
};

// Out-of-range fields carry over (second 60 is the next minute).
int64_t CivilToSeconds(const TCivilTime &Time);
TCivilTime SecondsToCivil(int64_t Seconds);
int DaysInMonth(int Year, int Month);
// The host's local date and time, as a person setting the logger would read it.
int64_t LocalNowSeconds();

} // namespace orvasim
