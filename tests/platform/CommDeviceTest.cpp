#include "CommDevice.h"

#include "Pty.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <filesystem>
#include <numeric>
#include <thread>

using namespace std::chrono_literals;

namespace {

TDcb Dcb8N1(uint32_t Rate = 19200)
{
    TDcb d;
    d.BaudRate = Rate;
    d.fBinary = true;
    d.ByteSize = 8;
    return d;
}

termios Translate(const TDcb &Dcb, uint32_t &Custom)
{
    termios base{};
    termios out{};
    EXPECT_EQ(DcbToTermios(Dcb, base, out, Custom), 0);
    return out;
}

std::unique_ptr<TCommDevice> OpenReady(const std::string &Path, int32_t Queue = 65536)
{
    auto dev = TCommDevice::Open(Path);
    if (!dev)
        return nullptr;
    TCommTimeouts t;
    t.ReadIntervalTimeout = 0xFFFFFFFF;
    dev->SetCommTimeouts(t);
    dev->SetupComm(Queue, 1024);
    dev->SetCommState(Dcb8N1());
    return dev;
}

size_t WaitForQueued(TCommDevice &Dev, size_t Want, std::chrono::milliseconds Limit = 5000ms)
{
    const auto end = std::chrono::steady_clock::now() + Limit;
    uint32_t errors;
    TComStat stat;
    do {
        Dev.ClearCommError(errors, stat);
        if (stat.cbInQue >= Want)
            break;
        std::this_thread::sleep_for(1ms);
    } while (std::chrono::steady_clock::now() < end);
    return stat.cbInQue;
}

// The peer closes its end; true once the device has seen it.
bool PeerHangsUp(TestPty &Pty, TCommDevice &Dev)
{
    ::close(Pty.SlaveKeeper);
    Pty.SlaveKeeper = -1;
    Pty.CloseMaster();
    const auto end = std::chrono::steady_clock::now() + 2s;
    while (!Dev.HungUp() && std::chrono::steady_clock::now() < end)
        std::this_thread::sleep_for(1ms);
    return Dev.HungUp();
}

// Threads of this process, the reader threads of open devices among them.
size_t ThreadCount()
{
    size_t n = 0;
    for ([[maybe_unused]] const auto &e : std::filesystem::directory_iterator("/proc/self/task"))
        ++n;
    return n;
}

} // namespace

TEST(DcbTranslation, FrameFormatReachesTheControlFlags)
{
    uint32_t custom = 1;
    termios t = Translate(Dcb8N1(), custom);
    EXPECT_EQ(custom, 0u);
    EXPECT_EQ(t.c_cflag & CSIZE, tcflag_t(CS8));
    EXPECT_EQ(t.c_cflag & (PARENB | CSTOPB | CRTSCTS), 0u);
    EXPECT_TRUE(t.c_cflag & CLOCAL);
    EXPECT_TRUE(t.c_cflag & CREAD);
    EXPECT_EQ(cfgetospeed(&t), speed_t(B19200));
    EXPECT_EQ(t.c_lflag & (ICANON | ECHO | ISIG), 0u);
    EXPECT_EQ(t.c_oflag & OPOST, 0u);

    struct Case {
        uint8_t Parity;
        tcflag_t Flags;
    } parities[] = {{0, 0},
                    {1, PARENB | PARODD},
                    {2, PARENB},
                    {3, PARENB | PARODD | CMSPAR},
                    {4, PARENB | CMSPAR}};
    for (const Case &c : parities) {
        TDcb d = Dcb8N1();
        d.Parity = c.Parity;
        EXPECT_EQ(Translate(d, custom).c_cflag & (PARENB | PARODD | CMSPAR), c.Flags)
            << int(c.Parity);
    }
    const tcflag_t sizes[] = {CS5, CS6, CS7, CS8};
    for (uint8_t bits = 5; bits <= 8; ++bits) {
        TDcb d = Dcb8N1();
        d.ByteSize = bits;
        d.StopBits = bits == 5 ? 1 : 2;
        termios r = Translate(d, custom);
        EXPECT_EQ(r.c_cflag & CSIZE, sizes[bits - 5]);
        EXPECT_TRUE(r.c_cflag & CSTOPB);
    }
}

TEST(DcbTranslation, FlowControlAndCharacters)
{
    uint32_t custom;
    TDcb d = Dcb8N1();
    d.fOutxCtsFlow = true;
    d.fOutX = true;
    d.fInX = true;
    d.XonChar = 17;
    d.XoffChar = 19;
    termios t = Translate(d, custom);
    EXPECT_TRUE(t.c_cflag & CRTSCTS);
    EXPECT_TRUE(t.c_iflag & IXON);
    EXPECT_TRUE(t.c_iflag & IXOFF);
    EXPECT_EQ(t.c_cc[VSTART], 17);
    EXPECT_EQ(t.c_cc[VSTOP], 19);

    TDcb h = Dcb8N1();
    h.fRtsControl = 2;
    EXPECT_TRUE(Translate(h, custom).c_cflag & CRTSCTS);

    TDcb checked = Dcb8N1();
    checked.fParity = true;
    EXPECT_EQ(Translate(checked, custom).c_iflag & (INPCK | PARMRK), tcflag_t(INPCK | PARMRK));
    EXPECT_EQ(Translate(Dcb8N1(), custom).c_iflag & (INPCK | PARMRK), 0u);
}

TEST(DcbTranslation, RatesWithoutStandardSpeedGoThroughTheCustomPath)
{
    for (uint32_t rate : {14400u, 31250u, 56000u, 128000u, 256000u}) {
        uint32_t custom = 0;
        Translate(Dcb8N1(rate), custom);
        EXPECT_EQ(custom, rate);
    }
    for (uint32_t rate : {110u, 300u, 9600u, 19200u, 57600u, 115200u}) {
        uint32_t custom = 1;
        Translate(Dcb8N1(rate), custom);
        EXPECT_EQ(custom, 0u) << rate;
    }
}

TEST(DcbTranslation, ImpossibleFramesAreRefused)
{
    termios base{}, out{};
    uint32_t custom;
    auto refused = [&](TDcb d) { return DcbToTermios(d, base, out, custom) == EINVAL; };
    TDcb d = Dcb8N1();
    d.StopBits = 1; // one and a half needs five data bits
    EXPECT_TRUE(refused(d));
    d = Dcb8N1();
    d.ByteSize = 5;
    d.StopBits = 2;
    EXPECT_TRUE(refused(d));
    d = Dcb8N1();
    d.ByteSize = 9;
    EXPECT_TRUE(refused(d));
    d = Dcb8N1();
    d.Parity = 5;
    EXPECT_TRUE(refused(d));
    EXPECT_TRUE(refused(Dcb8N1(0)));
}

TEST(MarkedInput, BadBytesAreReplacedAndEscapesUndoneAcrossReads)
{
    TMarkState state;
    std::vector<uint8_t> out;
    const uint8_t first[] = {'a', 0xFF, 0xFF, 'b', 0xFF};
    const uint8_t second[] = {0x00, 'X', 'c'};
    EXPECT_EQ(UnmarkInput(first, sizeof first, out, state, true, '?'), 0);
    EXPECT_EQ(UnmarkInput(second, sizeof second, out, state, true, '?'), 1);
    EXPECT_EQ(out, (std::vector<uint8_t>{'a', 0xFF, 'b', '?', 'c'}));

    out.clear();
    state = {};
    const uint8_t bad[] = {0xFF, 0x00, 'Z'};
    EXPECT_EQ(UnmarkInput(bad, sizeof bad, out, state, false, '?'), 1);
    EXPECT_EQ(out, std::vector<uint8_t>{'Z'});
}

TEST(CommDeviceOpen, MissingDevicesNonTtysAndSecondOpensFail)
{
    errno = 0;
    EXPECT_EQ(TCommDevice::Open("/dev/orva-no-such-port"), nullptr);
    EXPECT_EQ(errno, ENOENT);
    EXPECT_EQ(TCommDevice::Open("/dev/null"), nullptr);
    EXPECT_EQ(errno, ENOTTY);
    EXPECT_EQ(DevicePath("ttyUSB0"), "/dev/ttyUSB0");
    EXPECT_EQ(DevicePath("/tmp/ttyORVA"), "/tmp/ttyORVA");

    TestPty pty;
    auto first = TCommDevice::Open(pty.Path);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(TCommDevice::Open(pty.Path), nullptr);
    EXPECT_EQ(errno, EBUSY);
    first.reset();
    EXPECT_NE(TCommDevice::Open(pty.Path), nullptr);
}

TEST(CommDeviceOpen, PseudoTerminalHasNoModemLinesButOpensAndTakesSettings)
{
    TestPty pty;
    auto dev = OpenReady(pty.Path);
    ASSERT_NE(dev, nullptr);
    uint32_t status = 0xFF;
    EXPECT_TRUE(dev->GetCommModemStatus(status));
    EXPECT_EQ(status, 0u);

    // What the device was told shows on the line as the slave's settings.
    TDcb d = Dcb8N1(31250);
    ASSERT_TRUE(dev->SetCommState(d));
    uint32_t rate = 0;
    ASSERT_EQ(GetCommSpeed(pty.SlaveKeeper, rate), 0);
    EXPECT_EQ(rate, 31250u);
    d = Dcb8N1(9600);
    d.StopBits = 1;
    EXPECT_FALSE(dev->SetCommState(d));
    EXPECT_EQ(errno, EINVAL);
}

TEST(CommDeviceInput, A64KImageFromThePeerIsQueuedWholeWithoutBlockingIt)
{
    TestPty pty;
    auto dev = OpenReady(pty.Path);
    ASSERT_NE(dev, nullptr);
    std::vector<uint8_t> image(65535);
    for (size_t i = 0; i < image.size(); ++i)
        image[i] = uint8_t(i * 7 + i / 256);
    std::atomic<bool> sent{false};
    std::thread peer([&] {
        pty.Send(image.data(), image.size());
        sent = true;
    });
    EXPECT_EQ(WaitForQueued(*dev, image.size()), image.size());
    peer.join();
    EXPECT_TRUE(sent);
    std::vector<uint8_t> got(70000);
    uint32_t n = 0;
    ASSERT_TRUE(dev->Read(got.data(), uint32_t(got.size()), n));
    ASSERT_EQ(n, image.size());
    got.resize(n);
    EXPECT_EQ(got, image);
    uint32_t errors = 0;
    TComStat stat;
    dev->ClearCommError(errors, stat);
    EXPECT_EQ(errors, 0u);
}

TEST(CommDeviceInput, BytesBeyondTheQueueAreAnOverrunNotABlock)
{
    TestPty pty;
    auto dev = OpenReady(pty.Path, 1000);
    ASSERT_NE(dev, nullptr);
    std::vector<uint8_t> data(3000, 'x');
    pty.Send(data.data(), data.size());
    uint32_t errors = 0;
    TComStat stat;
    // Polling the count clears the error flags, so collect them meanwhile.
    uint32_t seen = 0;
    for (int i = 0; i < 2000 && !(seen & CE_RXOVER); ++i) {
        dev->ClearCommError(errors, stat);
        seen |= errors;
        std::this_thread::sleep_for(1ms);
    }
    EXPECT_TRUE(seen & CE_RXOVER);
    std::this_thread::sleep_for(100ms);
    dev->ClearCommError(errors, stat);
    EXPECT_EQ(stat.cbInQue, 1000u);
    dev->ClearCommError(errors, stat);
    EXPECT_EQ(errors, 0u) << "errors are cleared once reported";
}

TEST(CommDeviceEvents, EachArrivalIsReportedOnceAndWaitsBlockBetween)
{
    TestPty pty;
    auto dev = OpenReady(pty.Path);
    ASSERT_NE(dev, nullptr);
    dev->SetCommMask(EV_RXCHAR | EV_TXEMPTY);
    TEvent stop;
    std::atomic<int> events{0};
    std::thread waiter([&] {
        uint32_t mask;
        while (dev->WaitCommEvent(mask, stop) == TCommDevice::wrEvent)
            if (mask & EV_RXCHAR)
                ++events;
    });
    for (int i = 0; i < 5; ++i) {
        pty.Send("ab");
        std::this_thread::sleep_for(30ms);
    }
    std::this_thread::sleep_for(100ms);
    // Ten unread bytes sit in the queue; they raise no further events.
    const int seen = events;
    EXPECT_GE(seen, 1);
    EXPECT_LE(seen, 5);
    std::this_thread::sleep_for(100ms);
    EXPECT_EQ(events, seen);
    stop.SetEvent();
    waiter.join();
    EXPECT_EQ(WaitForQueued(*dev, 10), 10u);
}

TEST(CommDeviceEvents, StopAndMaskChangeEndAWait)
{
    TestPty pty;
    auto dev = OpenReady(pty.Path);
    ASSERT_NE(dev, nullptr);
    dev->SetCommMask(EV_RXCHAR);
    TEvent stop;
    uint32_t mask = 0xFFFF;
    std::thread masker([&] {
        std::this_thread::sleep_for(30ms);
        dev->SetCommMask(EV_RXCHAR);
    });
    EXPECT_EQ(dev->WaitCommEvent(mask, stop), TCommDevice::wrEvent);
    EXPECT_EQ(mask, 0u);
    masker.join();

    std::thread stopper([&] {
        std::this_thread::sleep_for(30ms);
        stop.SetEvent();
    });
    EXPECT_EQ(dev->WaitCommEvent(mask, stop), TCommDevice::wrStopped);
    stopper.join();
    // A set stop event ends the next wait at once, even with events pending.
    pty.Send("x");
    WaitForQueued(*dev, 1);
    EXPECT_EQ(dev->WaitCommEvent(mask, stop), TCommDevice::wrStopped);
}

TEST(CommDeviceTransfers, TimeoutsBoundReadsAndWrites)
{
    TestPty pty;
    auto dev = OpenReady(pty.Path);
    ASSERT_NE(dev, nullptr);
    uint8_t buf[100];
    uint32_t n = 99;
    ASSERT_TRUE(dev->Read(buf, 1, n));
    EXPECT_EQ(n, 0u);

    TCommTimeouts t;
    t.ReadTotalTimeoutConstant = 80;
    dev->SetCommTimeouts(t);
    const auto start = std::chrono::steady_clock::now();
    pty.Send("abc");
    ASSERT_TRUE(dev->Read(buf, 10, n));
    EXPECT_EQ(n, 3u);
    EXPECT_GE(std::chrono::steady_clock::now() - start, 70ms);

    // Nobody drains the master: the write stops at its time-out, short.
    t = {};
    t.WriteTotalTimeoutConstant = 200;
    dev->SetCommTimeouts(t);
    std::vector<uint8_t> big(1 << 20, 'y');
    uint32_t written = 0;
    ASSERT_TRUE(dev->Write(big.data(), uint32_t(big.size()), written));
    EXPECT_GT(written, 0u);
    EXPECT_LT(written, big.size());
}

TEST(CommDeviceHangup, APeerThatHangsUpEndsEventsAndTransfersCleanly)
{
    TestPty pty;
    auto dev = OpenReady(pty.Path);
    ASSERT_NE(dev, nullptr);
    dev->SetCommMask(EV_RXCHAR);
    pty.Send("hello");
    ASSERT_EQ(WaitForQueued(*dev, 5), 5u);
    ASSERT_TRUE(PeerHangsUp(pty, *dev));

    TEvent stop;
    uint32_t mask = 0;
    EXPECT_EQ(dev->WaitCommEvent(mask, stop), TCommDevice::wrEvent)
        << "the arrival before the hang-up";
    EXPECT_EQ(dev->WaitCommEvent(mask, stop), TCommDevice::wrFailed);
    EXPECT_EQ(errno, EIO);

    char buf[16];
    uint32_t n = 0;
    ASSERT_TRUE(dev->Read(buf, sizeof buf, n));
    EXPECT_EQ(std::string(buf, n), "hello");
    EXPECT_FALSE(dev->Read(buf, sizeof buf, n));
    uint32_t written = 0;
    EXPECT_FALSE(dev->Write("x", 1, written));
    EXPECT_EQ(errno, EIO);
}

// The line goes right after a burst, as when an adapter is pulled: every
// byte the kernel had taken in is queued, the reader resting or not. (What
// is written in the very instant of the close, before the kernel has passed
// it on, the kernel drops; no reader can have it.)
TEST(CommDeviceHangup, EveryByteSentBeforeTheLineGoesIsQueued)
{
    for (const size_t burst : {size_t(15000), size_t(64 * 1024)}) {
        SCOPED_TRACE(burst);
        TestPty pty;
        auto dev = OpenReady(pty.Path, 1 << 17);
        ASSERT_NE(dev, nullptr);
        std::vector<uint8_t> sent(burst + 1);
        for (size_t i = 0; i < sent.size(); ++i)
            sent[i] = uint8_t(i * 13 + i / 251);
        // A lone byte first, as a line trickles (the reader then rests), then
        // the burst and the end of the line; nothing here reads or counts the
        // queue before the hang-up.
        pty.Send(sent.data(), 1);
        std::this_thread::sleep_for(5ms);
        pty.Send(sent.data() + 1, burst);
        std::this_thread::sleep_for(50ms);
        ASSERT_TRUE(PeerHangsUp(pty, *dev));
        std::vector<uint8_t> got(sent.size() + 16);
        uint32_t n = 0;
        ASSERT_TRUE(dev->Read(got.data(), uint32_t(got.size()), n));
        got.resize(n);
        EXPECT_EQ(n, sent.size());
        EXPECT_EQ(got, sent);
    }
}

TEST(CommDeviceHangup, AnArrivalHeldBackJustBeforeTheHangupIsStillReported)
{
    TestPty pty;
    auto dev = OpenReady(pty.Path);
    ASSERT_NE(dev, nullptr);
    dev->SetCommMask(EV_RXCHAR);
    TEvent stop;
    uint32_t mask = 0;
    pty.Send("a");
    ASSERT_EQ(dev->WaitCommEvent(mask, stop), TCommDevice::wrEvent);
    ASSERT_EQ(mask, EV_RXCHAR);
    // Within the spacing of the first report: this arrival is held back.
    pty.Send("b");
    ASSERT_EQ(WaitForQueued(*dev, 2, 20ms), 2u);
    ASSERT_TRUE(PeerHangsUp(pty, *dev));

    EXPECT_EQ(dev->WaitCommEvent(mask, stop), TCommDevice::wrEvent);
    EXPECT_EQ(mask, EV_RXCHAR);
    EXPECT_EQ(dev->WaitCommEvent(mask, stop), TCommDevice::wrFailed);
}

// After a small read the reader rests; a thread waiting for input, in a
// wait of its own or in a read with a time-out, is served at once all the
// same, and a wait takes nothing from the queue.
TEST(CommDeviceWaits, AByteArrivingWhileTheReaderRestsEndsTheWaitAtOnce)
{
    using Clock = std::chrono::steady_clock;
    TestPty pty;
    auto dev = OpenReady(pty.Path);
    ASSERT_NE(dev, nullptr);
    auto start = Clock::now();
    EXPECT_FALSE(dev->WaitForInput(30));
    EXPECT_GE(Clock::now() - start, 30ms);

    // One try: ms from a byte's sending, while the reader rests, to the end
    // of the wait for it.
    auto lateness = [&](bool Reading) {
        // The reader takes this byte in itself: a small read, after which it rests.
        pty.Send("a");
        std::this_thread::sleep_for(10ms);
        char buf[4];
        uint32_t n = 0;
        EXPECT_TRUE(dev->Read(buf, 4, n));
        EXPECT_EQ(std::string(buf, n), "a");
        Clock::time_point sent;
        std::thread peer([&] {
            std::this_thread::sleep_for(5ms);
            pty.Send("b");
            sent = Clock::now();
        });
        TCommTimeouts t;
        t.ReadTotalTimeoutConstant = 1000;
        if (Reading)
            dev->SetCommTimeouts(t);
        EXPECT_TRUE(Reading ? dev->Read(buf, 1, n) : dev->WaitForInput(1000));
        const auto done = Clock::now();
        peer.join();
        if (!Reading) {
            uint32_t errors;
            TComStat stat;
            dev->ClearCommError(errors, stat);
            EXPECT_EQ(stat.cbInQue, 1u) << "the wait took the byte";
            EXPECT_TRUE(dev->Read(buf, 4, n));
        }
        t = {};
        t.ReadIntervalTimeout = 0xFFFFFFFF;
        dev->SetCommTimeouts(t);
        EXPECT_EQ(std::string(buf, n), "b");
        return std::chrono::duration<double, std::milli>(done - sent).count();
    };
    for (const bool reading : {false, true}) {
        SCOPED_TRACE(reading ? "read" : "wait");
        // The rest lasts tens of ms, waking for the byte well under one; a
        // machine short of processors delays a wake-up now and then.
        std::vector<double> tries;
        while (tries.size() < 5 && (tries.empty() || tries.back() >= 5.0))
            tries.push_back(lateness(reading));
        EXPECT_LT(tries.back(), 5.0) << ::testing::PrintToString(tries);
    }
}

TEST(CommDeviceTransfers, HugeTotalTimeoutsWaitInsteadOfOverflowing)
{
    TestPty pty;
    auto dev = OpenReady(pty.Path);
    ASSERT_NE(dev, nullptr);
    TCommTimeouts t;
    t.ReadIntervalTimeout = 30;
    t.ReadTotalTimeoutMultiplier = 0xFFFFFFFF;
    t.WriteTotalTimeoutMultiplier = 0xFFFFFFFF;
    dev->SetCommTimeouts(t);
    std::thread peer([&] {
        std::this_thread::sleep_for(50ms);
        pty.Send("abc");
    });
    std::vector<uint8_t> buf(65536);
    uint32_t n = 0;
    ASSERT_TRUE(dev->Read(buf.data(), uint32_t(buf.size()), n));
    peer.join();
    EXPECT_EQ(n, 3u) << "the interval ends the read, not an expired total";

    std::vector<uint8_t> out(8192, 'w');
    uint32_t written = 0;
    ASSERT_TRUE(dev->Write(out.data(), uint32_t(out.size()), written));
    EXPECT_EQ(written, out.size());
    EXPECT_EQ(pty.Receive(out.size()).size(), out.size());
}

TEST(CommDeviceHangup, AHangupFoundByAQueryEndsTheReaderToo)
{
    TestPty pty;
    const size_t before = ThreadCount();
    auto dev = OpenReady(pty.Path);
    ASSERT_NE(dev, nullptr);
    pty.Send("a");
    ASSERT_EQ(WaitForQueued(*dev, 1), 1u);
    // The reader rests after so small a read; the query meets the hang-up first.
    ::close(pty.SlaveKeeper);
    pty.SlaveKeeper = -1;
    pty.CloseMaster();
    uint32_t errors;
    TComStat stat;
    EXPECT_TRUE(dev->ClearCommError(errors, stat));
    EXPECT_TRUE(dev->HungUp());
    EXPECT_EQ(stat.cbInQue, 1u);
    const auto end = std::chrono::steady_clock::now() + 1s;
    while (ThreadCount() > before && std::chrono::steady_clock::now() < end)
        std::this_thread::sleep_for(5ms);
    EXPECT_EQ(ThreadCount(), before) << "the reader goes on waking for a device that is gone";
}
