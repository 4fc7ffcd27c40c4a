#include "LiveValues.h"
#include "DeviceTables.h"

#include <gtest/gtest.h>

using namespace logbridge;

namespace {

TEST(LiveValues, TemperatureAtTheStatedPoints)
{
    TLiveTexts t = LiveTexts(0, 1486, true, false);
    EXPECT_EQ(t.Temperature, "-40.00");
    EXPECT_EQ(t.TemperatureUnit, "\xB0"
                                 "C");
    EXPECT_EQ(LiveTexts(4000, 1486, true, false).Temperature, "0.00");
    EXPECT_DOUBLE_EQ(RawToTemperature(0x18, 0x6A), 22.5);

    // Fahrenheit: St x 0.018 - 40, with the unit "F".
    t = LiveTexts(0, 1486, false, false);
    EXPECT_EQ(t.Temperature, "-40.00");
    EXPECT_EQ(t.TemperatureUnit, "F");
    EXPECT_EQ(LiveTexts(6500, 1486, false, false).Temperature, "77.00");
}

TEST(LiveValues, HumidityLinearAndCompensated)
{
    EXPECT_NEAR(RawToHumidity(0x05, 0xCE), 50.0000512, 1e-9);
    TLiveTexts lin = LiveTexts(4000, 1486, true, false);
    EXPECT_EQ(lin.Humidity, "50.00");
    EXPECT_EQ(lin.HumidityCaption, "Relativna vlaznost:");
    // At 0 °C: (0 - 25) x (1486 x 0.00008 - 0.01) + 50.0000512 = 47.278...
    TLiveTexts comp = LiveTexts(4000, 1486, true, true);
    EXPECT_EQ(comp.Humidity, "47.28");
    EXPECT_EQ(comp.HumidityCaption, "Relativna vlaznost[LIN]:");
    // At 25 °C the correction vanishes.
    EXPECT_EQ(LiveTexts(6500, 1486, true, true).Humidity, "50.00");
}

TEST(LiveValues, DewPointFromCelsiusOnlyWhileHumidityIsAboveZero)
{
    // 25 °C at 50 % gives 13.86 °C by the Magnus formula.
    EXPECT_EQ(LiveTexts(6500, 1486, true, false).DewPoint, "13.86");
    TLiveTexts f = LiveTexts(6500, 1486, false, true);
    EXPECT_TRUE(f.DewPointShown);
    EXPECT_EQ(f.DewPoint, "13.86");

    TLiveTexts dry = LiveTexts(6500, 0, true, false);
    EXPECT_EQ(dry.Humidity, "-4.00");
    EXPECT_FALSE(dry.DewPointShown);
    EXPECT_TRUE(dry.DewPoint.empty());
}

TEST(DeviceTables, PeriodTextsKeepTheirBlanks)
{
    const struct {
        int Code;
        const char *Name, *Short, *Duration;
    } rows[] = {
        {0, "2 sekunde", "2 sec", "3 sata"},    {1, "10 sekundi ", "10 sec ", "15 sati"},
        {2, "30 sekundi", "30 sec", "45 sati"}, {3, "1 minut", "1 min", "3 dana"},
        {4, "5 minuta", "5 min", "18 dana"},    {5, "10 minuta", "10 min", "37 dana"},
        {6, "20 minuta", "20 min", "75 dana"},  {7, "30 minuta", "30 min", "113 dana"},
        {8, "1 sat", "1 sat", "227 dana"},      {9, "5 sati", "5 sati", "3 godine"},
    };
    for (const auto &r : rows) {
        SCOPED_TRACE(r.Code);
        EXPECT_EQ(PeriodName(r.Code), r.Name);
        EXPECT_EQ(PeriodDisplayText(r.Code), std::string("Period: ") + r.Short);
        EXPECT_EQ(MemoryDurationText(r.Code), std::string("Memorija za: ") + r.Duration);
    }
}

TEST(DeviceTables, UnknownCodesShowDashes)
{
    EXPECT_EQ(PeriodName(10), "---");
    EXPECT_EQ(PeriodDisplayText(255), "Period: ---");
    EXPECT_EQ(MemoryDurationText(-1), "Memorija za: ---");
}

TEST(DeviceTables, MemoryUse)
{
    EXPECT_EQ(MemoryUsedText(0), "Zauzeto: 000/5461 rec");
    EXPECT_EQ(MemoryPercentText(0), "Mem: prazna");
    EXPECT_EQ(MemoryUsedText(65535), "Zauzeto: 5461/5461 rec");
    EXPECT_EQ(MemoryPercentText(65535), "Mem: 100.00%");
    EXPECT_EQ(MemoryUsedText(1200), "Zauzeto: 100/5461 rec");
    EXPECT_EQ(MemoryPercentText(1200), "Mem: 001.83%");
    EXPECT_EQ(RecordCountText(0), "-001 zapisa");
    EXPECT_EQ(RecordCountText(4), "003 zapisa");
}

} // namespace
