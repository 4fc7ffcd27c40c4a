// The logger model without a line: time is driven by hand, so hours of
// sampling take no wall time.

#include "SimDevice.h"
#include "LineClient.h"
#include "SimClock.h"
#include "SimFaults.h"

#include <gtest/gtest.h>

#include <stdexcept>

using namespace orvasim;

namespace {

uint16_t One(TDevice &Device, uint8_t Byte, int64_t Now)
{
    const TResponse r = Device.Handle(Byte, Now);
    return r.Reply.size() == 1 ? r.Reply[0] : NoByte;
}

TRecord RecordAt(const TDevice &Device, size_t Index)
{
    return TRecord::Decode(Device.Memory().data() + Index * RecordSize);
}

int64_t RecordSeconds(const TRecord &r)
{
    return CivilToSeconds({2000 + r.Year, r.Month, r.Day, r.Hour, r.Minute, r.Second});
}

TDeviceOptions FixedClock(int64_t Clock)
{
    TDeviceOptions o;
    o.Clock = Clock;
    return o;
}

} // namespace

TEST(SimRecord, LayoutIsDateTimeHumidityTemperatureRun)
{
    TRecord r;
    r.Day = 31, r.Month = 12, r.Year = 7, r.Hour = 23, r.Minute = 58, r.Second = 59;
    r.RawHumidity = 0x0A1B;
    r.RawTemperature = 0x17C2;
    r.RunPlusOne = 4;
    const auto bytes = r.Encode();
    const std::array<uint8_t, RecordSize> expected = {31,   12,   7,    23,   58, 59,
                                                      0x0A, 0x1B, 0x17, 0xC2, 4,  0};
    EXPECT_EQ(bytes, expected);
    EXPECT_EQ(TRecord::Decode(bytes.data()), r);
    EXPECT_EQ(MaxRecords, 5461u);
}

TEST(SimClimate, RawWordsConvertBackToTheirValues)
{
    EXPECT_DOUBLE_EQ(RawToTemperature(0), -40.0);
    EXPECT_NEAR(RawToTemperature(4000), 0.0, 1e-9);
    EXPECT_DOUBLE_EQ(RawToHumidity(0), -4.0);
    for (double t = -20; t <= 60; t += 0.37)
        EXPECT_NEAR(RawToTemperature(TemperatureToRaw(t)), t, 0.005) << t;
    for (double rh = 0; rh <= 100; rh += 0.61)
        EXPECT_NEAR(RawToHumidity(HumidityToRaw(rh)), rh, 0.03) << rh;
    EXPECT_EQ(HumidityToRaw(-50), 0);
    EXPECT_NEAR(RawToHumidity(HumidityToRaw(150)), 100.0, 0.03);
}

TEST(SimClimate, DriftsSlowlyWithinRoomValues)
{
    TClimate c(7);
    double t = c.Temperature(), rh = c.Humidity();
    for (int i = 0; i < 20000; ++i) {
        c.Advance(1.0);
        EXPECT_LT(std::abs(c.Temperature() - t), 0.5);
        EXPECT_LT(std::abs(c.Humidity() - rh), 2.0);
        t = c.Temperature(), rh = c.Humidity();
        ASSERT_GT(t, 0.0);
        ASSERT_LT(t, 45.0);
        ASSERT_GE(rh, 5.0);
        ASSERT_LE(rh, 95.0);
    }
    TClimate a(3), b(3);
    a.Advance(3600), b.Advance(3600);
    EXPECT_EQ(a.RawTemperature(), b.RawTemperature());
}

TEST(SimDevice, SamplingAddsARecordEveryPeriodOfTheRun)
{
    const int64_t clock = CivilToSeconds({2024, 3, 31, 23, 59, 58});
    TDevice d(FixedClock(clock), 0);
    EXPECT_EQ(One(d, cmdRecordings, 0), 1);
    EXPECT_TRUE(d.Handle(cmdStart, 0).Reply.empty());
    EXPECT_TRUE(d.Sampling());
    d.Advance(4999);
    ASSERT_EQ(d.Memory().size(), 3 * RecordSize);
    for (size_t i = 0; i < 3; ++i) {
        const TRecord r = RecordAt(d, i);
        EXPECT_EQ(RecordSeconds(r), clock + 2 * int64_t(i));
        EXPECT_EQ(r.RunPlusOne, 2);
    }
    EXPECT_EQ(RecordAt(d, 1).Day, 1);
    EXPECT_EQ(RecordAt(d, 1).Month, 4);
    EXPECT_EQ(RecordAt(d, 1).Year, 24);

    EXPECT_EQ(One(d, cmdSetPeriodFirst + 1, 5000), ReplyYes); // 10 s from the next sample on
    d.Advance(16000);
    ASSERT_EQ(d.Memory().size(), 5 * RecordSize);
    EXPECT_EQ(RecordSeconds(RecordAt(d, 4)) - RecordSeconds(RecordAt(d, 3)), 10);

    d.Handle(cmdStop, 17000);
    d.Advance(100000);
    EXPECT_EQ(d.Memory().size(), 5 * RecordSize);
    d.Handle(cmdStart, 200000);
    EXPECT_EQ(RecordAt(d, 5).RunPlusOne, 3);
    EXPECT_EQ(One(d, cmdRecordings, 200000), 3);
    EXPECT_EQ(One(d, cmdErase, 200000), ReplyNo) << "no erase under a running acquisition";
    d.Handle(cmdStop, 200000);
    EXPECT_EQ(One(d, cmdErase, 200000), ReplyYes);
    EXPECT_TRUE(d.Memory().empty());
    EXPECT_EQ(One(d, cmdRecordings, 200000), 1);
}

TEST(SimDevice, FullMemoryEndsTheAcquisition)
{
    TDevice d(FixedClock(0), 0);
    std::vector<uint8_t> image((MaxRecords - 1) * RecordSize, 0);
    image[image.size() - 2] = 5; // last record: run 4
    d.LoadMemory(image);
    EXPECT_EQ(d.Runs(), 4);
    d.Handle(cmdStart, 0);
    d.Advance(3600 * 1000);
    EXPECT_EQ(d.Memory().size(), MaxRecords * RecordSize);
    EXPECT_EQ(d.Memory()[MaxRecords * RecordSize - 2], 6);
    EXPECT_FALSE(d.Sampling());
    EXPECT_EQ(d.Handle(cmdStart, 3600 * 1000).Event, "memory full, acquisition not started");
    EXPECT_FALSE(d.Sampling());

    d.LoadMemory(std::vector<uint8_t>(MemorySize, 1));
    EXPECT_EQ(One(d, cmdUsedHigh, 0) * 256 + One(d, cmdUsedLow, 0), 65535);
    EXPECT_THROW(d.LoadMemory(std::vector<uint8_t>(MemorySize + 1)), std::invalid_argument);
}

TEST(SimDevice, RefusesOptionsItCannotHave)
{
    TDeviceOptions o;
    o.Variant = 3;
    EXPECT_THROW(TDevice(o, 0), std::invalid_argument);
    o = {};
    o.PeriodCode = 10;
    EXPECT_THROW(TDevice(o, 0), std::invalid_argument);
    o = {};
    o.Records = int(MaxRecords) + 1;
    EXPECT_THROW(TDevice(o, 0), std::invalid_argument);
}

TEST(SimDevice, ClockBytesAfterYAreNotCommands)
{
    const int64_t start = CivilToSeconds({2020, 1, 1, 0, 0, 0});
    TDevice d(FixedClock(start), 0);
    // Hour 10 and day 19 are the bytes of "set period 0" and "set period 9".
    d.Handle(cmdClock, 0);
    int64_t t = 2000;
    for (uint8_t b : {10, 59, 60, 19, 12, 25}) {
        const TResponse r = d.Handle(b, t);
        EXPECT_TRUE(r.Reply.empty());
        t += 50;
    }
    EXPECT_EQ(d.PeriodCode(), 0);
    EXPECT_EQ(d.ClockSeconds(t - 50), CivilToSeconds({2025, 12, 19, 11, 0, 0}));
    EXPECT_EQ(d.ClockSeconds(t - 50 + 61000), CivilToSeconds({2025, 12, 19, 11, 1, 1}));

    // 30 February is refused and leaves the clock alone.
    d.Handle(cmdClock, 10000);
    TResponse last;
    for (uint8_t b : {1, 2, 3, 30, 2, 25})
        last = d.Handle(b, 12000);
    EXPECT_EQ(last.Event, "clock bytes refused");
    EXPECT_EQ(d.ClockSeconds(12000), CivilToSeconds({2025, 12, 19, 11, 0, 9}));

    // Bytes that never come: after a pause a byte is a command again.
    d.Handle(cmdClock, 20000);
    EXPECT_EQ(One(d, cmdPresence, 26000), ReplyYesVersion3);
}

TEST(SimDevice, AWordIsFixedByItsHighByteRequest)
{
    TDeviceOptions o = FixedClock(0);
    TDevice a(o, 0), b(o, 0);
    const int word = One(a, cmdTemperatureHigh, 1000) * 256 + One(a, cmdTemperatureLow, 1000);
    const int high = One(b, cmdTemperatureHigh, 1000);
    const int low = One(b, cmdTemperatureLow, 10 * 3600 * 1000); // the air has changed by then
    EXPECT_EQ(high * 256 + low, word);
    EXPECT_NE(One(b, cmdTemperatureHigh, 10 * 3600 * 1000) * 256 +
                  One(b, cmdTemperatureLow, 10 * 3600 * 1000),
              word);
}

TEST(SimDevice, PreloadedRecordsArePlausibleRunsBeforeNow)
{
    TDeviceOptions o = FixedClock(CivilToSeconds({2025, 6, 1, 12, 0, 0}));
    o.Records = 500;
    o.PeriodCode = 3;
    o.Seed = 42;
    TDevice d(o, 0);
    ASSERT_EQ(d.Memory().size(), 500 * RecordSize);
    int64_t previous = 0;
    int run = 2;
    for (size_t i = 0; i < 500; ++i) {
        const TRecord r = RecordAt(d, i);
        const int64_t at = RecordSeconds(r);
        if (i > 0) {
            ASSERT_TRUE(r.RunPlusOne == run || r.RunPlusOne == run + 1) << i;
            if (r.RunPlusOne == run)
                EXPECT_EQ(at - previous, 60) << i;
            else
                EXPECT_GT(at - previous, 60) << i;
        } else {
            EXPECT_EQ(r.RunPlusOne, 2);
        }
        run = r.RunPlusOne;
        previous = at;
        EXPECT_GT(RawToTemperature(r.RawTemperature), 0.0);
        EXPECT_LT(RawToTemperature(r.RawTemperature), 45.0);
        EXPECT_GE(RawToHumidity(r.RawHumidity), 4.9);
        EXPECT_LE(RawToHumidity(r.RawHumidity), 95.1);
    }
    EXPECT_LT(previous, d.ClockSeconds(0));
    EXPECT_GT(d.Runs(), 1);
    EXPECT_EQ(run, d.Runs() + 1);
    EXPECT_EQ(One(d, cmdRecordings, 0), d.Runs() + 1);
}

TEST(SimFaults, ShapeWhatGoesOut)
{
    TResponse r;
    r.Reply = {'O'};
    r.Streams = true;
    r.Stream = {1, 2, 3, 4, 5};

    auto chunks = Transmit(r, {}, 100);
    ASSERT_EQ(chunks.size(), 2u);
    EXPECT_EQ(chunks[0].DueMs, 100);
    EXPECT_FALSE(chunks[0].Stream);
    EXPECT_TRUE(chunks[1].Stream);

    TFaults f;
    f.LateMs = 250;
    f.Garbage = true;
    f.StreamLimit = 3;
    chunks = Transmit(r, f, 100);
    ASSERT_EQ(chunks.size(), 2u);
    EXPECT_EQ(chunks[0].DueMs, 350);
    EXPECT_EQ(chunks[0].Bytes, std::vector<uint8_t>{uint8_t(~'O')});
    EXPECT_EQ(chunks[1].DueMs, 350);
    EXPECT_EQ(chunks[1].Bytes, (std::vector<uint8_t>{1, 2, 3}));

    f = {};
    f.Silent = true;
    EXPECT_TRUE(Transmit(r, f, 100).empty());
}
