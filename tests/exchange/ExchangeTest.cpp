// The console's command exchange over a TComPort against the simulated
// logger on a pseudo-terminal.

#include "CPort.h"
#include "DeviceExchange.h"
#include "SimClock.h"
#include "Simulator.h"

#include "Pty.h"
#include "RandomBytes.h"

#include <QCoreApplication>
#include <QEvent>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <future>
#include <thread>
#include <time.h>
#include <vector>

using namespace logbridge;
using namespace std::chrono_literals;
using orvasim::TDevice;
using orvasim::TFaults;

namespace {

using Clock = std::chrono::steady_clock;

orvasim::TSimOptions Options()
{
    orvasim::TSimOptions o;
    o.Device.Records = 500;
    o.Device.PeriodCode = 4;
    o.Device.Seed = 5;
    return o;
}

// The tick source replaced for one test.
class TTicks {
public:
    explicit TTicks(TTickSource Source) : FSaved(SetTickSource(std::move(Source))) {}
    ~TTicks() { SetTickSource(FSaved); }

private:
    TTickSource FSaved;
};

double MsSince(Clock::time_point Start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - Start).count();
}

// Processor time of the calling thread, in ms.
double ThreadCpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

// Counts the user events it is given.
class TPostBox : public QObject {
public:
    int Got = 0;
    bool event(QEvent *E) override
    {
        if (E->type() != QEvent::User)
            return QObject::event(E);
        ++Got;
        return true;
    }
};

class Exchange : public ::testing::Test {
protected:
    void SetUp() override
    {
        // As the console's window resource and start-up set the port.
        ComPort1.SetPort(Sim.SlavePath());
        ComPort1.SetBaudRate(br19200);
        ComPort1.Buffer()->SetInputSize(65536);
        ComPort1.SetEvents({evRxChar});
        ComPort1.SetConnected(true);
    }

    uint16_t Ask(uint8_t Command, uint16_t Timeout)
    {
        SendCommandByte(ComPort1, Command);
        return ReadReplyByte(ComPort1, Timeout);
    }

    // Waits until the queued input stops growing at Count, or for Limit.
    int QueuedWhenStill(int Count, std::chrono::milliseconds Limit)
    {
        const auto end = Clock::now() + Limit;
        int queued = ComPort1.QueuedInputCount();
        while (queued < Count && Clock::now() < end) {
            std::this_thread::sleep_for(5ms);
            queued = ComPort1.QueuedInputCount();
        }
        std::this_thread::sleep_for(50ms);
        return ComPort1.QueuedInputCount();
    }

    orvasim::TSimulator Sim{Options()};
    TComPort ComPort1{nullptr};
};

} // namespace

TEST_F(Exchange, EveryCommandReadsAsTheConsoleExpects)
{
    const int runs = Sim.WithDevice([](TDevice &d, int64_t) { return d.Runs(); });
    struct TCase {
        uint8_t Command;
        uint16_t Timeout;
        uint16_t Expected;
    };
    const TCase cases[] = {
        {'E', 1000, 'o'},
        {'U', 20, 'N'},
        {'P', 1000, 4},
        {'N', 1000, uint16_t(runs + 1)},
        {'A', 1000, 6000 >> 8},
        {'a', 1000, 6000 & 0xFF},
        {0x0A + 7, 1000, 'O'},
        {'P', 1000, 7},
        {'G', 50, NoReply},
        {'U', 20, 'O'},
        {'N', 1000, uint16_t(runs + 2)},
        {'g', 50, NoReply},
        {'U', 1000, 'N'},
        {'S', 50, NoReply},
        {'Y', 50, NoReply},
    };
    for (const TCase &c : cases)
        EXPECT_EQ(Ask(c.Command, c.Timeout), c.Expected) << "command " << int(c.Command);

    // The six clock bytes that follow "Y", 50 ms apart as the console sends them.
    for (uint8_t b : {9, 15, 31, 1, 3, 27}) {
        EXPECT_TRUE(SendCommandByte(ComPort1, b));
        std::this_thread::sleep_for(50ms);
    }
    const int64_t clock =
        Sim.WithDevice([](TDevice &d, int64_t Now) { return d.ClockSeconds(Now); });
    EXPECT_NEAR(double(clock), double(orvasim::CivilToSeconds({2027, 3, 1, 9, 15, 31})), 1.0);

    const double t = orvasim::RawToTemperature(DeviceWord(Ask('T', 1000), Ask('t', 1000)));
    EXPECT_GT(t, 0.0);
    EXPECT_LT(t, 45.0);
    const double rh = orvasim::RawToHumidity(DeviceWord(Ask('H', 1000), Ask('h', 1000)));
    EXPECT_GE(rh, 5.0);
    EXPECT_LE(rh, 95.0);

    SendCommandByte(ComPort1, 'C');
    std::this_thread::sleep_for(500ms);
    EXPECT_EQ(ReadReplyByte(ComPort1, 200), 'O');
    EXPECT_EQ(DeviceWord(Ask('A', 1000), Ask('a', 1000)), 0);
}

TEST_F(Exchange, WordWithAMissingByteCountsItAs255)
{
    const uint16_t low =
        Sim.WithDevice([](TDevice &d, int64_t) { return d.Memory().size(); }) & 0xFF;
    TFaults silent;
    silent.Silent = true;
    Sim.SetFaults(silent);
    const uint16_t high = Ask('A', 20);
    Sim.SetFaults({});
    EXPECT_EQ(high, NoReply);
    EXPECT_EQ(DeviceWord(high, Ask('a', 1000)), 255 * 256 + low);
    Sim.SetFaults(silent);
    EXPECT_EQ(DeviceWord(Ask('T', 20), Ask('t', 20)), 65535);
}

TEST_F(Exchange, LateReplyIsDiscardedByTheNextCommand)
{
    TFaults late;
    late.LateMs = 100;
    Sim.SetFaults(late);
    EXPECT_EQ(Ask('E', 20), NoReply);
    Sim.SetFaults({});
    std::this_thread::sleep_for(150ms);
    EXPECT_EQ(ComPort1.QueuedInputCount(), 1) << "the late answer has arrived";
    EXPECT_EQ(Ask('P', 1000), 4);
}

TEST_F(Exchange, ClosedPortSendsNothingAndGetsNoReplyAtOnce)
{
    EXPECT_EQ(Ask('E', 1000), 'o');
    ComPort1.SetConnected(false);
    std::this_thread::sleep_for(20ms);
    const size_t received = Sim.Received().size();
    const auto start = Clock::now();
    EXPECT_FALSE(SendCommandByte(ComPort1, 'E'));
    EXPECT_EQ(ReadReplyByte(ComPort1, 1000), NoReply);
    EXPECT_LT(MsSince(start), 20.0);
    std::this_thread::sleep_for(50ms);
    EXPECT_EQ(Sim.Received().size(), received);
}

TEST_F(Exchange, WaitIsTheSameAcrossTickCounterWraps)
{
    for (const uint32_t base : {0u, 0x7FFFFFF0u, 0xFFFFFFF0u}) {
        const auto origin = Clock::now();
        TTicks ticks([&] { return base + uint32_t(MsSince(origin)); });

        TFaults f;
        f.Silent = true;
        Sim.SetFaults(f);
        auto start = Clock::now();
        EXPECT_EQ(Ask('E', 60), NoReply) << base;
        EXPECT_GE(MsSince(start), 59.0) << base;
        EXPECT_LT(MsSince(start), 500.0) << base;

        f = {};
        f.LateMs = 30; // the reply comes after the counter has wrapped
        Sim.SetFaults(f);
        start = Clock::now();
        EXPECT_EQ(Ask('E', 1000), 'o') << base;
        EXPECT_LT(MsSince(start), 500.0) << base;
        Sim.SetFaults({});
    }
}

TEST_F(Exchange, TimeUpWinsOverAByteInTheSamePass)
{
    struct TCase {
        uint16_t Timeout;
        uint32_t FirstPass; // ms after the start that the first pass reads
        uint16_t Expected;
    };
    for (const TCase &c : {TCase{200, 200, NoReply}, TCase{200, 199, 'o'}, TCase{0, 0, NoReply}}) {
        SendCommandByte(ComPort1, 'E');
        ASSERT_EQ(QueuedWhenStill(1, 1000ms), 1);
        uint32_t calls = 0;
        // Start near a wrap; any pass after the first finds the time long up.
        TTicks ticks([&] {
            const uint32_t reading = calls == 0 ? 0 : calls == 1 ? c.FirstPass : 0xFFFF;
            ++calls;
            return 0xFFFFFF00u + reading;
        });
        EXPECT_EQ(ReadReplyByte(ComPort1, c.Timeout), c.Expected)
            << c.Timeout << " " << c.FirstPass;
        EXPECT_EQ(calls, 2u) << "one pass: the byte was queued all along";
    }
}

TEST_F(Exchange, MemoryStreamDeliversExactlyTheBytesInUse)
{
    const std::vector<uint8_t> image = RandomBytes(orvasim::MemorySize, 99);
    Sim.WithDevice([&](TDevice &d, int64_t) { d.LoadMemory(image); });
    EXPECT_EQ(DeviceWord(Ask('A', 1000), Ask('a', 1000)), 65535);
    SendCommandByte(ComPort1, 'S');
    std::this_thread::sleep_for(20ms);
    ComPort1.PurgeQueues(true, true);
    SendCommandByte(ComPort1, 'R');
    ASSERT_EQ(QueuedWhenStill(65535, 5000ms), 65535);
    std::vector<uint8_t> got(65536);
    EXPECT_EQ(ComPort1.ReadBytes(got.data(), 65535), 65535);
    got.resize(65535);
    EXPECT_EQ(got, image);
}

TEST_F(Exchange, FaultsShowAsTheConsoleSeesThem)
{
    TFaults f;
    f.Garbage = true;
    Sim.SetFaults(f);
    const uint16_t presence = Ask('E', 1000);
    EXPECT_NE(presence, 'O');
    EXPECT_NE(presence, 'o');
    EXPECT_NE(presence, NoReply);

    f = {};
    f.StreamLimit = 1000;
    Sim.SetFaults(f);
    SendCommandByte(ComPort1, 'R');
    EXPECT_EQ(QueuedWhenStill(6000, 300ms), 1000) << "a broken transfer leaves the download open";

    // A hang-up after a transfer: everything sent is still in the queue,
    // and the next command fails in the serial layer.
    Sim.SetFaults({});
    SendCommandByte(ComPort1, 'R');
    ASSERT_TRUE(Sim.WaitStreamed(1000 + 1, 1s));
    Sim.HangUp(2s);
    EXPECT_EQ(ComPort1.QueuedInputCount(), 6000);
    std::vector<uint8_t> got(6000);
    EXPECT_EQ(ComPort1.ReadBytes(got.data(), 6000), 6000);
    EXPECT_EQ(got, Sim.Memory());
    EXPECT_THROW(SendCommandByte(ComPort1, 'E'), EComPort);
}

TEST_F(Exchange, PurgesRacingArrivingBytesLeaveTheLineUp)
{
    Sim.WithDevice([](TDevice &d, int64_t) { d.LoadMemory(RandomBytes(orvasim::MemorySize, 99)); });
    for (int round = 0; round < 20; ++round) {
        TFaults f;
        f.LateMs = 2; // the transfer starts while the queues are being emptied
        Sim.SetFaults(f);
        SendCommandByte(ComPort1, 'R');
        const auto end = Clock::now() + 30ms;
        while (Clock::now() < end)
            ComPort1.PurgeQueues(true, true);
        Sim.SetFaults({});
        ASSERT_EQ(Ask('E', 1000), 'o') << "round " << round;
    }
}

TEST_F(Exchange, AWaitForASilentDeviceSleepsAndServesNothing)
{
    TFaults silent;
    silent.Silent = true;
    Sim.SetFaults(silent);
    TPostBox box;
    QCoreApplication::postEvent(&box, new QEvent(QEvent::User));
    SendCommandByte(ComPort1, 'E');
    const double cpu = ThreadCpuMs();
    const auto start = Clock::now();
    EXPECT_EQ(ReadReplyByte(ComPort1, 200), NoReply);
    const double wall = MsSince(start);
    const double used = ThreadCpuMs() - cpu;
    EXPECT_GE(wall, 199.0);
    EXPECT_LT(used, 0.1 * wall) << "ms of processor time in a wait of " << wall << " ms";
    EXPECT_EQ(box.Got, 0) << "an event was handled during the wait";
    QCoreApplication::sendPostedEvents(&box);
    EXPECT_EQ(box.Got, 1);
}

// The logger answers each command 15 ms late, as through a USB adapter; the
// console reads each reply as soon as it is there, also right after a reply
// (when the port's reader rests).
TEST(ExchangeWait, AReplyQueuedLateIsReadAsItArrives)
{
    TestPty pty;
    TComPort ComPort1(nullptr);
    ComPort1.SetPort(pty.Path);
    ComPort1.SetBaudRate(br19200);
    ComPort1.Buffer()->SetInputSize(65536);
    ComPort1.SetEvents({evRxChar});
    ComPort1.SetConnected(true);
    // The middle time from a reply's arrival to its reading over a few
    // exchanges, in ms.
    auto lateness = [&] {
        constexpr int Rounds = 7;
        std::vector<Clock::time_point> sent(Rounds), read(Rounds);
        std::thread logger([&] {
            for (int i = 0; i < Rounds; ++i) {
                if (pty.Receive(1).size() != 1)
                    return;
                std::this_thread::sleep_for(15ms);
                pty.Send("o");
                sent[i] = Clock::now();
            }
        });
        std::vector<uint16_t> replies;
        for (int i = 0; i < Rounds; ++i) {
            SendCommandByte(ComPort1, 'E');
            replies.push_back(ReadReplyByte(ComPort1, 1000));
            read[i] = Clock::now();
        }
        logger.join();
        EXPECT_EQ(replies, std::vector<uint16_t>(Rounds, 'o'));
        std::vector<double> late;
        for (int i = 0; i < Rounds; ++i)
            late.push_back(std::chrono::duration<double, std::milli>(read[i] - sent[i]).count());
        std::sort(late.begin(), late.end());
        return late[Rounds / 2];
    };
    // A machine short of processors delays any thread's wake-up now and
    // then, so a few tries; a wait that misses arrivals misses them in each.
    std::vector<double> tries;
    while (tries.size() < 5 && (tries.empty() || tries.back() >= 2.0))
        tries.push_back(lateness());
    EXPECT_LT(tries.back(), 2.0) << "ms from the reply's arrival to its reading; tries: "
                                 << ::testing::PrintToString(tries);
}
