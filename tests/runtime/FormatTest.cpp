#include "Format.h"

#include <gtest/gtest.h>

TEST(FormatFloat, ConsolePatterns)
{
    struct Case {
        const char *pattern;
        double value;
        const char *expected;
    };
    const Case cases[] = {
        {"0.00", 23.456, "23.46"},
        {"0.00", -3.1, "-3.10"},
        {"0.00", 0, "0.00"},
        {"0.00", 0.125, "0.13"},
        {"0.00", -0.125, "-0.13"},
        {"0.00", 2.675, "2.67"}, /* 2.67499999... */
        {"0.00", 0.004, "0.00"},
        {"0.00", -0.004, "0.00"},
        {"0.00", 99.999, "100.00"},
        {"000", 7, "007"},
        {"000", 12.5, "013"},
        {"000", 1234, "1234"},
        {"000", -5, "-005"},
        {"00.00", 5.5, "05.50"},
        {"00.00", 123.456, "123.46"},
        {"000.00", 5.5, "005.50"},
        {"000.00", -42.625, "-042.63"},
        {"00", 9, "09"},
        {"00", 0.5, "01"},
        {"00", 59.4, "59"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(FormatFloat(c.pattern, c.value), c.expected) << c.pattern << " " << c.value;
}

TEST(FormatFloat, OptionalDigitsAndLiterals)
{
    EXPECT_EQ(FormatFloat("#.##", 1.5), "1.5");
    EXPECT_EQ(FormatFloat("#.##", 2.0), "2");
    EXPECT_EQ(FormatFloat("0.0 C", 21.25), "21.3 C");
}

TEST(FormatDateTime, DatesTimesAndMinutesAfterHours)
{
    TDateTime t = EncodeDate(2007, 10, 29) + EncodeTime(8, 5, 3, 0);
    EXPECT_EQ(FormatDateTime("dd.mm.yyyy", t), "29.10.2007");
    EXPECT_EQ(FormatDateTime("hh:mm:ss", t), "08:05:03");
    EXPECT_EQ(FormatDateTime("hh:nn", t), "08:05");
    EXPECT_EQ(FormatDateTime("d.m.yy h:n:s", t), "29.10.07 8:5:3");
    EXPECT_EQ(FormatDateTime("dd.mm.yyyy hh:mm:ss", t), "29.10.2007 08:05:03");
    EXPECT_EQ(FormatDateTime("\"at\" hh:mm", t), "at 08:05");
    EXPECT_EQ(FormatDateTime("hh:mm:ss.zzz", t + EncodeTime(0, 0, 0, 7)), "08:05:03.007");
}

TEST(FormatNumbers, IntAndFloatToStr)
{
    EXPECT_EQ(IntToStr(-42), "-42");
    EXPECT_EQ(FloatToStr(0.5), "0.5");
    EXPECT_EQ(FloatToStr(-12.25), "-12.25");
    EXPECT_EQ(FloatToStr(100), "100");
    EXPECT_EQ(FloatToStr(0.1 + 0.2), "0.3");
    EXPECT_EQ(FloatToStr(1e20), "1E20");
}
