#include "PortHelpers.h"

#include "Forms.h"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>

namespace {
bool OnMainThread()
{
    return IsMainThread();
}
} // namespace

TEST(ComPortEvents, ReceivedCharactersReachTheGuiThreadWithGrowingCounts)
{
    TestPty pty;
    TComPort port(nullptr);
    ConsoleSettings(port, pty);
    std::vector<int> counts;
    bool allOnMain = true;
    port.OnRxChar = [&](TObject *Sender, int Count) {
        EXPECT_EQ(Sender, &port);
        allOnMain = allOnMain && OnMainThread();
        counts.push_back(Count);
    };
    port.OpenPort();
    for (int i = 1; i <= 6; ++i) {
        pty.Send(std::string(10, char('0' + i)));
        ASSERT_TRUE(PumpUntil([&] { return !counts.empty() && counts.back() == 10 * i; })) << i;
    }
    EXPECT_TRUE(allOnMain);
    for (size_t i = 1; i < counts.size(); ++i)
        EXPECT_GT(counts[i], counts[i - 1]);
    // Bytes that sit unread raise nothing more.
    const size_t seen = counts.size();
    EXPECT_LE(seen, 6u);
    Pump(200);
    EXPECT_EQ(counts.size(), seen);
    uint8_t buf[100];
    EXPECT_EQ(port.ReadBytes(buf, 100), 60);
}

TEST(ComPortEvents, AnEventAfterTheQueueWasEmptiedFiresNothing)
{
    TestPty pty;
    TComPort port(nullptr);
    ConsoleSettings(port, pty);
    int fired = 0;
    port.OnRxChar = [&](TObject *, int) { ++fired; };
    port.OpenPort();
    pty.Send("abc");
    // The GUI thread reads before the delivery is served.
    ASSERT_TRUE(PumpUntil([&] { return port.QueuedInputCount() == 3; }, 2000) || fired > 0);
    const int before = fired;
    uint8_t buf[8];
    port.ReadBytes(buf, sizeof buf);
    Pump(100);
    EXPECT_EQ(fired, before);
}

TEST(ComPortEvents, AnExceptionInTheHandlerStopsEventsUntilReopened)
{
    TestPty pty;
    TComPort port(nullptr);
    ConsoleSettings(port, pty);
    int fired = 0;
    port.OnRxChar = [&](TObject *, int) {
        ++fired;
        uint8_t buf[64];
        port.ReadBytes(buf, sizeof buf);
        throw std::runtime_error("handler failed");
    };
    port.OpenPort();
    pty.Send("1");
    ASSERT_TRUE(PumpUntil([&] { return fired == 1; }));
    pty.Send("2");
    Pump(200);
    EXPECT_EQ(fired, 1);
    EXPECT_TRUE(port.Connected());
    EXPECT_EQ(port.QueuedInputCount(), 1) << "the byte is queued, only the event is lost";

    port.ClosePort();
    port.OpenPort();
    pty.Send("3");
    ASSERT_TRUE(PumpUntil([&] { return fired == 2; }));
}

TEST(ComPortEvents, ClosingServesADeliveryThatIsWaiting)
{
    TestPty pty;
    TComPort port(nullptr);
    ConsoleSettings(port, pty);
    std::vector<std::string> order;
    bool connectedInHandler = false;
    port.OnBeforeClose = [&](TObject *) { order.push_back("BeforeClose"); };
    port.OnAfterClose = [&](TObject *) { order.push_back("AfterClose"); };
    port.OnRxChar = [&](TObject *, int) {
        order.push_back("RxChar");
        connectedInHandler = port.Connected();
    };
    port.OpenPort();
    pty.Send("x");
    // The GUI thread is busy: the event thread blocks in its delivery.
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    port.ClosePort();
    EXPECT_EQ(order, (std::vector<std::string>{"BeforeClose", "RxChar", "AfterClose"}));
    EXPECT_TRUE(connectedInHandler);
}

TEST(ComPortEvents, AHandlerClosingThePortInsideACloseLeavesItToThatClose)
{
    // A delivery served while the close waits for the event thread gives up
    // on the line; so does a before-close handler.
    for (bool fromBeforeClose : {false, true}) {
        TestPty pty;
        TComPort port(nullptr);
        ConsoleSettings(port, pty);
        EventLog log;
        log.Attach(port);
        const auto noteBeforeClose = port.OnBeforeClose;
        port.OnBeforeClose = [&](TObject *Sender) {
            noteBeforeClose(Sender);
            if (fromBeforeClose)
                port.ClosePort();
        };
        port.OnRxChar = [&](TObject *, int) {
            log.Names.push_back("RxChar");
            port.ClosePort();
            EXPECT_TRUE(port.Connected());
        };
        port.OpenPort();
        log.Names.clear();
        pty.Send("x");
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        port.ClosePort();
        EXPECT_FALSE(port.Connected());
        EXPECT_FALSE(port.ThreadCreated());
        EXPECT_EQ(log.Names, (std::vector<std::string>{"CTS-", "DSR-", "RLSD-", "BeforeClose",
                                                       "RxChar", "AfterClose"}))
            << fromBeforeClose;
        // The port opens and closes again as ever.
        port.OnRxChar = nullptr;
        port.OpenPort();
        EXPECT_TRUE(port.Connected());
        port.ClosePort();
        EXPECT_FALSE(port.Connected());
    }
}

TEST(ComPortEvents, WithoutSynchronisationHandlersRunOnTheEventThread)
{
    TestPty pty;
    TComPort port(nullptr);
    ConsoleSettings(port, pty);
    port.SetSyncMethod(smNone);
    std::atomic<int> count{0};
    std::atomic<bool> onMain{true};
    port.OnRxChar = [&](TObject *, int n) {
        onMain = OnMainThread();
        count = n;
    };
    port.OpenPort();
    pty.Send("abcd");
    // Nothing is served on the GUI thread here.
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(3);
    while (count < 4 && std::chrono::steady_clock::now() < end)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    EXPECT_EQ(count, 4);
    EXPECT_FALSE(onMain);
    port.ClosePort();
}

TEST(ComPortEvents, WindowDeliveryGoesOnAfterAHandlerFails)
{
    TestPty pty;
    TComPort port(nullptr);
    ConsoleSettings(port, pty);
    port.SetSyncMethod(smWindowSync);
    int fired = 0;
    bool allOnMain = true;
    std::vector<std::string> handled;
    Application->OnException = [&](TObject *, const std::exception &e) {
        handled.push_back(e.what());
    };
    port.OnRxChar = [&](TObject *, int) {
        ++fired;
        allOnMain = allOnMain && OnMainThread();
        uint8_t buf[16];
        port.ReadBytes(buf, sizeof buf);
        throw std::runtime_error("boom");
    };
    port.OpenPort();
    pty.Send("1");
    ASSERT_TRUE(PumpUntil([&] { return fired == 1; }));
    pty.Send("2");
    ASSERT_TRUE(PumpUntil([&] { return fired == 2; }));
    Application->OnException = nullptr;
    EXPECT_TRUE(allOnMain);
    EXPECT_EQ(handled, (std::vector<std::string>{"boom", "boom"}));
    port.ClosePort();
}

TEST(ComPortEvents, APeerThatHangsUpMidStreamEndsEventsWithoutLosingBytes)
{
    TestPty pty;
    TComPort port(nullptr);
    ConsoleSettings(port, pty);
    int last = 0;
    port.OnRxChar = [&](TObject *, int n) { last = n; };
    port.OpenPort();
    pty.Send(std::string(300, 'z'));
    ASSERT_TRUE(PumpUntil([&] { return last == 300; }));
    ::close(pty.SlaveKeeper);
    pty.SlaveKeeper = -1;
    pty.CloseMaster();
    Pump(100);
    EXPECT_EQ(port.QueuedInputCount(), 300);
    std::vector<uint8_t> buf(400);
    EXPECT_EQ(port.ReadBytes(buf.data(), 400), 300);
    uint8_t b = 'x';
    try {
        port.WriteBytes(&b, 1);
        FAIL();
    } catch (const EComPort &e) {
        EXPECT_EQ(e.Code, 2);
        EXPECT_EQ(e.WinCode, EIO);
    }
    port.ClosePort();
    EXPECT_FALSE(port.Connected());
}

TEST(ComPortEvents, AHandlerMayCloseItsOwnPort)
{
    TestPty pty;
    TComPort port(nullptr);
    ConsoleSettings(port, pty);
    std::vector<std::string> order;
    port.OnAfterClose = [&](TObject *) { order.push_back("AfterClose"); };
    port.OnRxChar = [&](TObject *, int) {
        order.push_back("RxChar");
        port.ClosePort();
        order.push_back("Closed");
    };
    port.OpenPort();
    std::atomic<bool> done{false};
    std::thread watchdog([&] {
        for (int i = 0; i < 500 && !done; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        if (!done) {
            fprintf(stderr, "closing from the handler deadlocked\n");
            std::abort();
        }
    });
    pty.Send("x");
    const bool closed = PumpUntil([&] { return !port.Connected(); });
    done = true;
    watchdog.join();
    ASSERT_TRUE(closed);
    EXPECT_EQ(order, (std::vector<std::string>{"RxChar", "AfterClose", "Closed"}));
    port.OpenPort();
    pty.Send("y");
    EXPECT_TRUE(PumpUntil([&] { return order.size() == 6; })) << "a reopened port delivers again";
}
