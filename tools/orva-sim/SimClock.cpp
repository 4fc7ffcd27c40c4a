#include "SimClock.h"

#include <ctime>

namespace orvasim {

namespace {

// Days between 1970-01-01 and the given date of the proleptic Gregorian
// calendar (H. Hinnant's days_from_civil).
int64_t DaysFromCivil(int64_t y, int m, int d)
{
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yoe = y - era * 400;
    const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

int64_t FloorDiv(int64_t a, int64_t b)
{
    return a / b - (a % b != 0 && (a < 0) != (b < 0));
}

} // namespace

int64_t CivilToSeconds(const TCivilTime &Time)
{
    const int64_t months = int64_t(Time.Year) * 12 + (Time.Month - 1);
    const int64_t year = FloorDiv(months, 12);
    const int month = int(months - year * 12) + 1;
    const int64_t days = DaysFromCivil(year, month, 1) + Time.Day - 1;
    return days * 86400 + int64_t(Time.Hour) * 3600 + int64_t(Time.Minute) * 60 + Time.Second;
}

TCivilTime SecondsToCivil(int64_t Seconds)
{
    const int64_t days = FloorDiv(Seconds, 86400);
    const int64_t rest = Seconds - days * 86400;
    const int64_t z = days + 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const int64_t doe = z - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    TCivilTime t;
    t.Day = int(doy - (153 * mp + 2) / 5 + 1);
    t.Month = int(mp < 10 ? mp + 3 : mp - 9);
    t.Year = int(yoe + era * 400 + (t.Month <= 2));
    t.Hour = int(rest / 3600);
    t.Minute = int(rest / 60 % 60);
    t.Second = int(rest % 60);
    return t;
}

int DaysInMonth(int Year, int Month)
{
    return int(DaysFromCivil(Month == 12 ? Year + 1 : Year, Month == 12 ? 1 : Month + 1, 1) -
               DaysFromCivil(Year, Month, 1));
}

int64_t LocalNowSeconds()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return CivilToSeconds({local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                           local.tm_min, local.tm_sec});
}

} // namespace orvasim
