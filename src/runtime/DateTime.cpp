#include "DateTime.h"

#include "Math.h"
#include "SysUtils.h"

#include <cmath>
#include <utility>

namespace {

// Days from 1 January of year 1 (proleptic Gregorian) to 30 December 1899.
constexpr int64_t DateDelta = 693593;

int64_t DaysBeforeYear(int64_t Year)
{
    int64_t y = Year - 1;
    return y * 365 + y / 4 - y / 100 + y / 400;
}

int64_t DayNumber(int Year, int Month, int Day)
{
    int64_t days = DaysBeforeYear(Year);
    for (int m = 1; m < Month; ++m)
        days += DaysInMonth(Year, m);
    return days + Day - 1;
}

int64_t MillisecondOfDay(TDateTime Value)
{
    double fraction = std::fabs(Value - std::trunc(Value));
    return Round(fraction * MSecsPerDay);
}

} // namespace

bool IsLeapYear(int Year)
{
    return (Year % 4 == 0 && Year % 100 != 0) || Year % 400 == 0;
}

int DaysInMonth(int Year, int Month)
{
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (Month == 2 && IsLeapYear(Year))
        return 29;
    return days[Month - 1];
}

bool TryEncodeDate(int Year, int Month, int Day, TDateTime &Result)
{
    if (Year < 1 || Year > 9999 || Month < 1 || Month > 12 || Day < 1 ||
        Day > DaysInMonth(Year, Month))
        return false;
    Result = static_cast<double>(DayNumber(Year, Month, Day) - DateDelta);
    return true;
}

bool TryEncodeTime(int Hour, int Min, int Sec, int MSec, TDateTime &Result)
{
    if (Hour < 0 || Hour > 23 || Min < 0 || Min > 59 || Sec < 0 || Sec > 59 || MSec < 0 ||
        MSec > 999)
        return false;
    Result = (((Hour * 60.0 + Min) * 60.0 + Sec) * 1000.0 + MSec) / MSecsPerDay;
    return true;
}

TDateTime EncodeDate(int Year, int Month, int Day)
{
    TDateTime result;
    if (!TryEncodeDate(Year, Month, Day, result))
        throw EConvertError("Invalid argument to date encode");
    return result;
}

TDateTime EncodeTime(int Hour, int Min, int Sec, int MSec)
{
    TDateTime result;
    if (!TryEncodeTime(Hour, Min, Sec, MSec, result))
        throw EConvertError("Invalid argument to time encode");
    return result;
}

void DecodeDate(TDateTime Value, int &Year, int &Month, int &Day)
{
    int64_t days = static_cast<int64_t>(std::trunc(Value)) + DateDelta;
    // A time that rounds up to midnight belongs to the next day.
    if (MillisecondOfDay(Value) >= static_cast<int64_t>(MSecsPerDay))
        ++days;
    if (days < 0) {
        Year = Month = Day = 0;
        return;
    }
    int64_t year = days / 366 + 1;
    while (DaysBeforeYear(year + 1) <= days)
        ++year;
    days -= DaysBeforeYear(year);
    int month = 1;
    while (days >= DaysInMonth(static_cast<int>(year), month)) {
        days -= DaysInMonth(static_cast<int>(year), month);
        ++month;
    }
    Year = static_cast<int>(year);
    Month = month;
    Day = static_cast<int>(days) + 1;
}

void DecodeTime(TDateTime Value, int &Hour, int &Min, int &Sec, int &MSec)
{
    int64_t ms = MillisecondOfDay(Value) % static_cast<int64_t>(MSecsPerDay);
    MSec = static_cast<int>(ms % 1000);
    ms /= 1000;
    Sec = static_cast<int>(ms % 60);
    ms /= 60;
    Min = static_cast<int>(ms % 60);
    Hour = static_cast<int>(ms / 60);
}

int DayOfWeek(TDateTime Value)
{
    // 30 December 1899 was a Saturday.
    int64_t days = static_cast<int64_t>(std::trunc(Value));
    return static_cast<int>(((days + 6) % 7 + 7) % 7) + 1;
}

TDateTime QDateTimeToDateTime(const QDateTime &Value)
{
    QDate d = Value.date();
    QTime t = Value.time();
    TDateTime date = EncodeDate(d.year(), d.month(), d.day());
    TDateTime time = EncodeTime(t.hour(), t.minute(), t.second(), t.msec());
    return date >= 0 ? date + time : date - time;
}

QDateTime DateTimeToQDateTime(TDateTime Value)
{
    int y, m, d, h, n, s, ms;
    DecodeDate(Value, y, m, d);
    DecodeTime(Value, h, n, s, ms);
    return QDateTime(QDate(y, m, d), QTime(h, n, s, ms));
}

namespace {
TNowSource NowSource;
} // namespace

TNowSource SetNowSource(TNowSource Source)
{
    return std::exchange(NowSource, std::move(Source));
}

TDateTime Now()
{
    if (NowSource)
        return NowSource();
    return QDateTimeToDateTime(QDateTime::currentDateTime());
}

TDateTime Date()
{
    return std::trunc(Now());
}

TDateTime Time()
{
    TDateTime now = Now();
    return now - std::trunc(now);
}
