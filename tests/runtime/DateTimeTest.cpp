#include "DateTime.h"
#include "SysUtils.h"

#include <gtest/gtest.h>

TEST(DateTime, DayCountsCountFromThe30thOfDecember1899)
{
    EXPECT_EQ(EncodeDate(1899, 12, 30), 0.0);
    EXPECT_EQ(EncodeDate(1900, 1, 1), 2.0);
    EXPECT_EQ(EncodeDate(1899, 12, 29), -1.0);
    EXPECT_EQ(EncodeDate(2000, 1, 1), 36526.0);
    EXPECT_EQ(EncodeTime(12, 0, 0, 0), 0.5);
    EXPECT_EQ(EncodeTime(6, 0, 0, 0), 0.25);
}

TEST(DateTime, RoundTripsEveryDayOverCenturies)
{
    for (int day = -693593; day < 2958466; day += 367) {
        int y, m, d;
        DecodeDate(day, y, m, d);
        ASSERT_EQ(EncodeDate(y, m, d), day) << y << "-" << m << "-" << d;
    }
    int y, m, d;
    DecodeDate(EncodeDate(2008, 2, 29), y, m, d);
    EXPECT_EQ(y * 10000 + m * 100 + d, 20080229);
}

TEST(DateTime, TimeOfDayRoundTripsToTheMillisecond)
{
    for (int ms = 0; ms < 86400000; ms += 86399) {
        TDateTime t = 39384 + EncodeTime(ms / 3600000, ms / 60000 % 60, ms / 1000 % 60, ms % 1000);
        int h, n, s, z;
        DecodeTime(t, h, n, s, z);
        ASSERT_EQ(((h * 60 + n) * 60 + s) * 1000 + z, ms);
    }
    // Just before midnight rounds up into the next day, not to hour 24.
    int y, m, d, h, n, s, z;
    TDateTime late = EncodeDate(2007, 12, 31) + 0.99999999999;
    DecodeDate(late, y, m, d);
    DecodeTime(late, h, n, s, z);
    EXPECT_EQ(y * 10000 + m * 100 + d, 20080101);
    EXPECT_EQ(h + n + s + z, 0);
}

TEST(DateTime, TimesBeforeTheEpochCountForwardFromMidnight)
{
    TDateTime t = EncodeDate(1899, 12, 29) - EncodeTime(6, 0, 0, 0);
    EXPECT_EQ(t, -1.25);
    QDateTime q = DateTimeToQDateTime(t);
    EXPECT_EQ(q, QDateTime(QDate(1899, 12, 29), QTime(6, 0)));
    EXPECT_EQ(QDateTimeToDateTime(q), -1.25);
}

TEST(DateTime, QtConversionKeepsMilliseconds)
{
    QDateTime q(QDate(2007, 10, 29), QTime(23, 59, 58, 250));
    EXPECT_EQ(DateTimeToQDateTime(QDateTimeToDateTime(q)), q);
    EXPECT_EQ(DayOfWeek(EncodeDate(2007, 10, 29)), 2); // a Monday
}

TEST(DateTime, InvalidDatesAndTimesRaise)
{
    EXPECT_THROW(EncodeDate(2007, 2, 29), EConvertError);
    EXPECT_THROW(EncodeDate(2007, 13, 1), EConvertError);
    EXPECT_THROW(EncodeTime(24, 0, 0, 0), EConvertError);
    EXPECT_NO_THROW(EncodeDate(2000, 2, 29));
}
