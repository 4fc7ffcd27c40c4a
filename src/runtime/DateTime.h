#pragma once
// Dates and times as the runtime keeps them: a double counting days since
// 30 December 1899; the fraction is the time of day. For days before that
// date the fraction still counts forward from midnight (-1.25 is
// 29 December 1899, 06:00).

#include <QDateTime>

#include <cstdint>
#include <functional>

using TDateTime = double;

constexpr double MSecsPerDay = 86400000.0;

// Day count of a calendar date; raises EConvertError for a date that does
// not exist (month 13, 30 February, year 0 ...).
TDateTime EncodeDate(int Year, int Month, int Day);
// Fraction of a day; raises EConvertError for a time outside 00:00:00.000 to
// 23:59:59.999.
TDateTime EncodeTime(int Hour, int Min, int Sec, int MSec);
bool TryEncodeDate(int Year, int Month, int Day, TDateTime &Result);
bool TryEncodeTime(int Hour, int Min, int Sec, int MSec, TDateTime &Result);

// Calendar date of the whole-day part.
void DecodeDate(TDateTime Value, int &Year, int &Month, int &Day);
// Time of day of the fraction, rounded to the nearest millisecond.
void DecodeTime(TDateTime Value, int &Hour, int &Min, int &Sec, int &MSec);
// Day of the week, 1 = Sunday ... 7 = Saturday.
int DayOfWeek(TDateTime Value);
bool IsLeapYear(int Year);
int DaysInMonth(int Year, int Month);

// The clock: the system's local date and time, unless SetNowSource put
// another one in (tests walk it over midnight, a year's end, a leap day).
TDateTime Now();
TDateTime Date();
TDateTime Time();
// Replaces the clock that Now, Date and Time read; an empty source restores
// the system's. Returns the source it replaces.
using TNowSource = std::function<TDateTime()>;
TNowSource SetNowSource(TNowSource Source);

// Local time; milliseconds are kept.
QDateTime DateTimeToQDateTime(TDateTime Value);
TDateTime QDateTimeToDateTime(const QDateTime &Value);
