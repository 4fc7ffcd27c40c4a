// The simulated logger over a real pseudo-terminal, read the way the console
// reads it: empty the queues, send one byte, await one byte with the
// console's time-out.

#include "LineClient.h"
#include "SimClock.h"
#include "Simulator.h"

#include "RandomBytes.h"

#include <gtest/gtest.h>
#include <sys/ioctl.h>

#include <chrono>
#include <future>
#include <thread>

using namespace orvasim;
using namespace std::chrono_literals;

namespace {

TSimOptions Options(int Records, int Variant = 2)
{
    TSimOptions o;
    o.Device.Records = Records;
    o.Device.Variant = Variant;
    o.Device.PeriodCode = 4;
    o.Device.Seed = 11;
    return o;
}

int Word(TLineClient &Line, uint8_t High, uint8_t Low)
{
    const uint16_t h = Line.Exchange(High, 1000);
    const uint16_t l = Line.Exchange(Low, 1000);
    return (h & 0xFF) * 256 + (l & 0xFF);
}

// Asks for the memory as the console does: prepare, empty the queues, send.
void RequestMemory(TLineClient &Line)
{
    Line.Send(cmdPrepare);
    Line.Send(cmdSend);
}

} // namespace

TEST(SimLine, AnswersEveryCommandAsTheConsoleReadsIt)
{
    TSimulator sim(Options(500));
    TLineClient line(sim.SlavePath());
    const int runs = sim.WithDevice([](TDevice &d, int64_t) { return d.Runs(); });

    EXPECT_EQ(line.Exchange(cmdPresence, 1000), ReplyYesVersion3);
    const double t = RawToTemperature(uint16_t(Word(line, cmdTemperatureHigh, cmdTemperatureLow)));
    EXPECT_GT(t, 0.0);
    EXPECT_LT(t, 45.0);
    const double rh = RawToHumidity(uint16_t(Word(line, cmdHumidityHigh, cmdHumidityLow)));
    EXPECT_GE(rh, 5.0);
    EXPECT_LE(rh, 95.0);
    EXPECT_EQ(line.Exchange(cmdSamplingState, 20), ReplyNo);
    EXPECT_EQ(line.Exchange(cmdPeriod, 1000), 4);
    EXPECT_EQ(Word(line, cmdUsedHigh, cmdUsedLow), 500 * 12);
    EXPECT_EQ(line.Exchange(cmdRecordings, 1000), runs + 1);

    EXPECT_EQ(line.Exchange(cmdSetPeriodFirst + 9, 1000), ReplyYes);
    EXPECT_EQ(line.Exchange(cmdPeriod, 1000), 9);

    EXPECT_EQ(line.Exchange(cmdStart, 50), NoByte);
    EXPECT_EQ(line.Exchange(cmdSamplingState, 20), ReplyYes);
    EXPECT_EQ(line.Exchange(cmdRecordings, 1000), runs + 2);
    EXPECT_EQ(Word(line, cmdUsedHigh, cmdUsedLow), 501 * 12) << "a run starts with a sample";
    EXPECT_EQ(line.Exchange(cmdStop, 50), NoByte);
    EXPECT_EQ(line.Exchange(cmdSamplingState, 20), ReplyNo);

    line.Send(cmdErase);
    std::this_thread::sleep_for(500ms);
    EXPECT_EQ(line.Read(200), ReplyYes);
    EXPECT_EQ(Word(line, cmdUsedHigh, cmdUsedLow), 0);
    EXPECT_EQ(line.Exchange(cmdRecordings, 1000), 1);

    // The clock: "Y", then each byte as a command of its own.
    EXPECT_EQ(line.Exchange(cmdClock, 50), NoByte);
    for (uint8_t b : {14, 30, 1, 28, 2, 26}) {
        line.Send(b);
        std::this_thread::sleep_for(5ms);
    }
    std::this_thread::sleep_for(20ms);
    const int64_t clock =
        sim.WithDevice([](TDevice &d, int64_t Now) { return d.ClockSeconds(Now); });
    EXPECT_NEAR(double(clock), double(CivilToSeconds({2026, 2, 28, 14, 30, 1})), 1.0);
    EXPECT_EQ(line.Exchange(cmdPeriod, 1000), 9) << "no clock byte was taken as a command";

    EXPECT_EQ(line.Exchange(cmdPrepare, 50), NoByte);
    EXPECT_EQ(line.Exchange('Z', 50), NoByte);
}

TEST(SimLine, OlderLoggerSaysOAndKeepsItsPeriod)
{
    TSimulator sim(Options(0, 1));
    TLineClient line(sim.SlavePath());
    EXPECT_EQ(line.Exchange(cmdPresence, 1000), ReplyYes);
    EXPECT_EQ(line.Exchange(cmdSetPeriodFirst + 1, 100), NoByte);
    EXPECT_EQ(line.Exchange(cmdPeriod, 1000), 4);
}

TEST(SimLine, StreamsExactlyTheBytesInUse)
{
    TSimulator sim(Options(500));
    TLineClient line(sim.SlavePath());
    RequestMemory(line);
    const std::vector<uint8_t> got = line.ReadStream(MemorySize, 200);
    EXPECT_EQ(got.size(), 6000u);
    EXPECT_EQ(got, sim.Memory());
}

TEST(SimLine, FullMemoryStreamsPastAStalledReaderWithoutHoldingUpTheLogger)
{
    TSimulator sim(Options(0));
    const std::vector<uint8_t> image = RandomBytes(MemorySize, 12345);
    sim.WithDevice([&](TDevice &d, int64_t) { d.LoadMemory(image); });
    TLineClient line(sim.SlavePath());
    RequestMemory(line);
    std::this_thread::sleep_for(200ms);
    const auto before = std::chrono::steady_clock::now();
    const bool sampling = sim.WithDevice([](TDevice &d, int64_t) { return d.Sampling(); });
    EXPECT_FALSE(sampling);
    EXPECT_LT(std::chrono::steady_clock::now() - before, 50ms);
    EXPECT_LT(sim.StreamedBytes(), MemorySize) << "the reader was to hold the stream up";
    EXPECT_EQ(line.ReadStream(MemorySize + 1, 500), image);
}

TEST(SimLine, ACommandEndsATransferAndIsAnswered)
{
    TSimulator sim(Options(0));
    sim.WithDevice([](TDevice &d, int64_t) { d.LoadMemory(RandomBytes(MemorySize, 12345)); });
    TLineClient line(sim.SlavePath());
    RequestMemory(line);
    std::this_thread::sleep_for(100ms);
    line.Send(cmdPresence);
    const std::vector<uint8_t> rest = line.ReadStream(MemorySize, 200);
    ASSERT_FALSE(rest.empty());
    EXPECT_EQ(rest.back(), ReplyYesVersion3);
    EXPECT_LT(sim.StreamedBytes(), MemorySize);
}

TEST(SimLine, LateReplyIsDiscardedByTheNextCommand)
{
    TSimulator sim(Options(0));
    TLineClient line(sim.SlavePath());
    TFaults late;
    late.LateMs = 100;
    sim.SetFaults(late);
    EXPECT_EQ(line.Exchange(cmdPresence, 20), NoByte);
    sim.SetFaults({});
    std::this_thread::sleep_for(150ms);
    int queued = 0;
    ioctl(line.Fd(), FIONREAD, &queued);
    EXPECT_EQ(queued, 1) << "the late answer has arrived";
    EXPECT_EQ(line.Exchange(cmdPeriod, 1000), 4);
}

TEST(SimLine, FaultsShowAsTheConsoleWouldSeeThem)
{
    TSimulator sim(Options(100));
    TLineClient line(sim.SlavePath());

    TFaults f;
    f.Silent = true;
    sim.SetFaults(f);
    EXPECT_EQ(line.Exchange(cmdPresence, 50), NoByte);
    EXPECT_EQ(line.Exchange(cmdStart, 20), NoByte);
    sim.SetFaults({});
    EXPECT_EQ(line.Exchange(cmdSamplingState, 20), ReplyNo) << "a silent logger takes no command";

    f = {};
    f.Garbage = true;
    sim.SetFaults(f);
    EXPECT_EQ(line.Exchange(cmdPresence, 1000), uint8_t(~ReplyYesVersion3));

    f = {};
    f.StreamLimit = 1000;
    sim.SetFaults(f);
    RequestMemory(line);
    const std::vector<uint8_t> got = line.ReadStream(MemorySize, 200);
    const std::vector<uint8_t> memory = sim.Memory();
    EXPECT_EQ(got, std::vector<uint8_t>(memory.begin(), memory.begin() + 1000));
}

TEST(SimLine, HangUpComesAfterEverythingSentHasBeenRead)
{
    TSimulator sim(Options(0));
    const std::vector<uint8_t> image = RandomBytes(40000, 12345);
    sim.WithDevice([&](TDevice &d, int64_t) { d.LoadMemory(image); });
    TLineClient line(sim.SlavePath());
    RequestMemory(line);
    ASSERT_TRUE(sim.WaitStreamed(1, 1s));
    auto hangUp = std::async(std::launch::async, [&] { sim.HangUp(5s); });
    std::this_thread::sleep_for(300ms);
    EXPECT_FALSE(sim.HungUp());
    EXPECT_EQ(line.ReadStream(image.size(), 1000), image);
    EXPECT_TRUE(line.HungUp(1000));
    hangUp.get();
    EXPECT_TRUE(sim.HungUp());
}

TEST(SimLine, RealtimePacesAtTheLineRate)
{
    TSimOptions o = Options(80); // 960 bytes: half a second on the line
    o.Realtime = true;
    TSimulator sim(o);
    TLineClient line(sim.SlavePath());
    RequestMemory(line);
    ASSERT_NE(line.Read(1000), NoByte);
    const auto first = std::chrono::steady_clock::now();
    const std::vector<uint8_t> rest = line.ReadStream(959, 200);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - first).count();
    EXPECT_EQ(rest.size(), 959u);
    EXPECT_NEAR(seconds, 959.0 / LineBytesPerSecond, 0.1);
}
