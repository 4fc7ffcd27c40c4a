#include "PortHelpers.h"

#include "Forms.h"

#include <gtest/gtest.h>

#include <cerrno>

using Names = std::vector<std::string>;

TEST(ComPortDefaults, ANewPortHasTheDeclaredDefaults)
{
    TComPort port(nullptr);
    EXPECT_EQ(port.Port(), "COM1");
    EXPECT_EQ(port.BaudRate(), br9600);
    EXPECT_EQ(port.CustomBaudRate(), 9600);
    EXPECT_EQ(port.DataBits(), dbEight);
    EXPECT_EQ(port.StopBits(), sbOneStopBit);
    EXPECT_EQ(port.Parity()->Bits(), prNone);
    EXPECT_EQ(port.Events(), AllComEvents);
    EXPECT_EQ(port.Events().Bits(), 0x03FF);
    EXPECT_EQ(port.SyncMethod(), smThreadSync);
    EXPECT_EQ(port.Buffer()->InputSize(), 1024);
    EXPECT_EQ(port.Buffer()->OutputSize(), 1024);
    EXPECT_EQ(port.Timeouts()->ReadInterval(), -1);
    EXPECT_EQ(port.Timeouts()->ReadTotalMultiplier(), 0);
    EXPECT_EQ(port.Timeouts()->ReadTotalConstant(), 0);
    EXPECT_EQ(port.Timeouts()->WriteTotalMultiplier(), 100);
    EXPECT_EQ(port.Timeouts()->WriteTotalConstant(), 1000);
    EXPECT_EQ(port.FlowControl()->FlowControl(), fcNone);
    EXPECT_EQ(port.FlowControl()->XonChar(), 17);
    EXPECT_EQ(port.FlowControl()->XoffChar(), 19);
    EXPECT_FALSE(port.Connected());
    EXPECT_EQ(port.StoredGroups(), TSettingsGroups{sgBasic});
    EXPECT_FALSE(port.ComponentStyle() & csInheritable);
}

TEST(ComPortSettings, BufferSizesAndTheirLimitsInTheControlBlock)
{
    TComPort port(nullptr);
    port.Buffer()->SetInputSize(1025);
    EXPECT_EQ(port.Buffer()->InputSize(), 1024);
    port.Buffer()->SetInputSize(1);
    EXPECT_EQ(port.Buffer()->InputSize(), 0);
    port.Buffer()->SetInputSize(-3);
    EXPECT_EQ(port.Buffer()->InputSize(), -3);
    port.Buffer()->SetInputSize(65536);
    EXPECT_EQ(port.BuildDcb().XonLim, 16384);
    EXPECT_EQ(port.BuildDcb().XoffLim, 16384);
    port.Buffer()->SetInputSize(262144);
    EXPECT_EQ(port.BuildDcb().XonLim, 0);
}

TEST(ComPortSettings, ControlBlockFields)
{
    TComPort port(nullptr);
    TDcb d = port.BuildDcb();
    EXPECT_EQ(d.DCBlength, 28u);
    EXPECT_EQ(d.BaudRate, 9600u);
    EXPECT_TRUE(d.fBinary);
    EXPECT_EQ(d.ByteSize, 8);
    EXPECT_EQ(d.Parity, 0);
    EXPECT_EQ(d.StopBits, 0);

    port.SetBaudRate(brCustom);
    port.SetCustomBaudRate(31250);
    EXPECT_EQ(port.BuildDcb().BaudRate, 31250u);
    port.SetBaudRate(br256000);
    EXPECT_EQ(port.BuildDcb().BaudRate, 256000u);

    port.Parity()->SetReplace(true);
    port.Parity()->SetReplaceChar('?');
    port.Parity()->SetBits(prEven);
    d = port.BuildDcb();
    EXPECT_FALSE(d.fErrorChar) << "replacing needs checking";
    EXPECT_EQ(d.ErrorChar, 0);
    EXPECT_FALSE(d.fParity);
    EXPECT_EQ(d.Parity, 2);
    port.Parity()->SetCheck(true);
    d = port.BuildDcb();
    EXPECT_TRUE(d.fErrorChar);
    EXPECT_EQ(d.ErrorChar, '?');

    port.FlowControl()->SetControlDTR(dtrHandshake);
    port.FlowControl()->SetControlRTS(rtsToggle);
    port.SetEventChar('\r');
    port.SetDiscardNull(true);
    d = port.BuildDcb();
    EXPECT_EQ(d.fDtrControl, 2);
    EXPECT_EQ(d.fRtsControl, 3);
    EXPECT_EQ(d.EvtChar, '\r');
    EXPECT_TRUE(d.fNull);
}

TEST(ComPortSettings, DerivedFlowControlMode)
{
    TComPort port(nullptr);
    TComFlowControl *fc = port.FlowControl();
    fc->SetControlDTR(dtrEnable);
    fc->SetOutDSRFlow(true);
    EXPECT_EQ(fc->FlowControl(), fcNone);
    fc->SetControlRTS(rtsEnable);
    EXPECT_EQ(fc->FlowControl(), fcCustom);
    fc->SetFlowControl(fcHardware);
    EXPECT_EQ(fc->ControlRTS(), rtsHandshake);
    EXPECT_TRUE(fc->OutCTSFlow());
    EXPECT_EQ(fc->FlowControl(), fcHardware);
    fc->SetFlowControl(fcSoftware);
    EXPECT_EQ(fc->ControlRTS(), rtsDisable);
    EXPECT_FALSE(fc->OutCTSFlow());
    EXPECT_TRUE(fc->XonXoffIn() && fc->XonXoffOut());
    EXPECT_EQ(fc->FlowControl(), fcSoftware);
    fc->SetFlowControl(fcCustom);
    EXPECT_EQ(fc->FlowControl(), fcSoftware);
    EXPECT_EQ(fc->ControlDTR(), dtrEnable);
    EXPECT_TRUE(fc->OutDSRFlow());
}

TEST(ComPortSettings, AssignmentCopiesFieldsAndRefusesOtherClasses)
{
    TComTimeouts a, b;
    a.SetReadInterval(5);
    a.SetWriteTotalConstant(7);
    b.Assign(&a);
    EXPECT_EQ(b.ReadInterval(), 5);
    EXPECT_EQ(b.WriteTotalConstant(), 7);
    TComBuffer buffer;
    try {
        b.Assign(&buffer);
        FAIL() << "assignment across classes must fail";
    } catch (const EConvertError &e) {
        EXPECT_STREQ(e.what(), "Cannot assign a TComBuffer to a TComTimeouts");
    }
}

TEST(ComPortErrors, MessagesWithAndWithoutSystemCode)
{
    EComPort plain = EComPort::CreatePlain(14);
    EXPECT_STREQ(plain.what(), "Cannot set property while connected");
    EXPECT_EQ(plain.WinCode, -1);
    EXPECT_EQ(plain.Code, 14);
    EComPort coded = EComPort::CreateWithCode(8, 87);
    EXPECT_STREQ(coded.what(), "SetCommTimeouts failed (win error code: 87)");
    EXPECT_EQ(coded.WinCode, 87);
    EXPECT_STREQ(ComErrorMessage(1), "Unable to open com port");
    EXPECT_STREQ(ComErrorMessage(23), "Registry error");
    EXPECT_STREQ(ComErrorMessage(24), "");
}

TEST(ComPortLifecycle, OpenAndCloseFireTheirEventsInOrderOnce)
{
    TestPty pty;
    TComPort port(nullptr);
    ConsoleSettings(port, pty);
    EventLog log;
    log.Attach(port);
    port.OpenPort();
    ASSERT_TRUE(port.Connected());
    EXPECT_TRUE(port.ThreadCreated());
    EXPECT_EQ(log.Names, (Names{"BeforeOpen", "AfterOpen", "CTS-", "DSR-", "RLSD-"}));
    port.OpenPort();
    port.SetConnected(true);
    EXPECT_EQ(log.Names.size(), 5u);
    log.Names.clear();
    port.ClosePort();
    EXPECT_FALSE(port.Connected());
    EXPECT_EQ(log.Names, (Names{"CTS-", "DSR-", "RLSD-", "BeforeClose", "AfterClose"}));
    port.ClosePort();
    EXPECT_EQ(log.Names.size(), 5u);
}

TEST(ComPortLifecycle, WithoutEventsThereIsNoThreadButTheNotificationsStay)
{
    TestPty pty;
    TComPort port(nullptr);
    port.SetPort(pty.Path);
    port.SetEvents(TComEvents{});
    EventLog log;
    log.Attach(port);
    port.SetConnected(true);
    EXPECT_TRUE(port.Connected());
    EXPECT_FALSE(port.ThreadCreated());
    port.SetConnected(false);
    EXPECT_EQ(log.Names, (Names{"BeforeOpen", "AfterOpen", "CTS-", "DSR-", "RLSD-", "CTS-", "DSR-",
                                "RLSD-", "BeforeClose", "AfterClose"}));
}

TEST(ComPortLifecycle, FailedOpensLeaveThePortClosed)
{
    TComPort port(nullptr);
    EventLog log;
    log.Attach(port);
    port.SetPort("/dev/orva-no-such-port");
    try {
        port.OpenPort();
        FAIL();
    } catch (const EComPort &e) {
        EXPECT_EQ(e.Code, 1);
        EXPECT_EQ(e.WinCode, ENOENT);
        EXPECT_EQ(std::string(e.what()),
                  "Unable to open com port (win error code: " + std::to_string(ENOENT) + ")");
    }
    EXPECT_FALSE(port.Connected());
    EXPECT_EQ(log.Names, Names{"BeforeOpen"});

    TestPty pty;
    TComPort first(nullptr), second(nullptr);
    first.SetPort(pty.Path);
    second.SetPort(pty.Path);
    first.OpenPort();
    try {
        second.OpenPort();
        FAIL() << "a port is opened without sharing";
    } catch (const EComPort &e) {
        EXPECT_EQ(e.Code, 1);
        EXPECT_EQ(e.WinCode, EBUSY);
    }

    // A frame the line cannot have is refused while opening: closed again, no thread.
    first.ClosePort();
    first.SetStopBits(sbOne5StopBits);
    log.Names.clear();
    log.Attach(first);
    try {
        first.OpenPort();
        FAIL();
    } catch (const EComPort &e) {
        EXPECT_EQ(e.Code, 7);
        EXPECT_EQ(e.WinCode, EINVAL);
    }
    EXPECT_FALSE(first.Connected());
    EXPECT_FALSE(first.ThreadCreated());
    EXPECT_EQ(log.Names, Names{"BeforeOpen"});
    first.SetStopBits(sbOneStopBit);
    first.OpenPort();
    EXPECT_TRUE(first.Connected());
}

TEST(ComPortLifecycle, LoadingAndDesignStatesKeepTheDeviceShut)
{
    TestPty pty;
    TComPort port(nullptr);
    port.SetPort(pty.Path);
    port.BeginLoading();
    port.SetConnected(true);
    EXPECT_TRUE(port.Connected()) << "only the stored value while loading";
    EXPECT_FALSE(port.ThreadCreated());
    port.EndLoading();
    EXPECT_TRUE(port.Connected());
    EXPECT_TRUE(port.ThreadCreated()) << "opened after loading";
    port.ClosePort();

    TComPort missing(nullptr);
    missing.SetPort("/dev/orva-no-such-port");
    std::string shown;
    Application->OnException = [&](TObject *, const std::exception &e) { shown = e.what(); };
    missing.BeginLoading();
    missing.SetConnected(true);
    missing.EndLoading();
    Application->OnException = nullptr;
    EXPECT_FALSE(missing.Connected());
    EXPECT_EQ(shown.rfind("Unable to open com port", 0), 0u);

    TComPort designed(nullptr);
    designed.SetPort(pty.Path);
    designed.SetDesigning(true);
    designed.OpenPort();
    EXPECT_FALSE(designed.Connected());
}

namespace {
speed_t SlaveSpeed(const TestPty &Pty)
{
    termios t{};
    tcgetattr(Pty.SlaveKeeper, &t);
    return cfgetospeed(&t);
}
} // namespace

TEST(ComPortLifecycle, SettingsReachAnOpenDeviceOnlyOutsideAnUpdateBracket)
{
    TestPty pty;
    TComPort port(nullptr);
    port.SetPort(pty.Path);
    port.SetBaudRate(br9600);
    port.OpenPort();
    EXPECT_EQ(SlaveSpeed(pty), speed_t(B9600));
    port.SetBaudRate(br19200);
    EXPECT_EQ(SlaveSpeed(pty), speed_t(B19200));

    port.BeginSettingsUpdate();
    port.BeginSettingsUpdate();
    port.SetBaudRate(br38400);
    port.EndSettingsUpdate();
    EXPECT_EQ(SlaveSpeed(pty), speed_t(B19200)) << "inner end applies nothing";
    port.EndSettingsUpdate();
    EXPECT_EQ(SlaveSpeed(pty), speed_t(B38400));
    port.EndSettingsUpdate(); // unmatched: nothing

    port.SetBaudRate(brCustom);
    port.SetCustomBaudRate(31250);
    uint32_t rate = 0;
    ASSERT_EQ(GetCommSpeed(pty.SlaveKeeper, rate), 0);
    EXPECT_EQ(rate, 31250u);

    // Refused while open: the value is stored, the device keeps the old frame.
    EXPECT_THROW(port.SetStopBits(sbOne5StopBits), EComPort);
    EXPECT_EQ(port.StopBits(), sbOne5StopBits);
    EXPECT_TRUE(port.Connected());
}

TEST(ComPortLifecycle, PortChangesReopenAndSyncMethodIsFixedWhileOpen)
{
    TestPty a, b;
    TComPort port(nullptr);
    port.SetPort(a.Path);
    port.OpenPort();
    EventLog log;
    log.Attach(port);
    port.SetPort(b.Path);
    EXPECT_TRUE(port.Connected());
    EXPECT_EQ(log.Names.front(), "CTS-");
    EXPECT_EQ(log.Names[3], "BeforeClose");
    EXPECT_EQ(log.Names[5], "BeforeOpen");
    // The first device is free again.
    TComPort other(nullptr);
    other.SetPort(a.Path);
    EXPECT_NO_THROW(other.OpenPort());

    port.SetSyncMethod(smThreadSync);
    try {
        port.SetSyncMethod(smNone);
        FAIL();
    } catch (const EComPort &e) {
        EXPECT_EQ(e.Code, 14);
        EXPECT_EQ(e.WinCode, -1);
    }
    EXPECT_EQ(port.SyncMethod(), smThreadSync);

    EXPECT_THROW(port.SetPort("/dev/orva-no-such-port"), EComPort);
    EXPECT_EQ(port.Port(), "/dev/orva-no-such-port");
    EXPECT_FALSE(port.Connected());
}

TEST(ComPortTransfers, WritesReadsCountsAndPurges)
{
    TestPty pty;
    TComPort port(nullptr);
    ConsoleSettings(port, pty);
    port.OpenPort();
    EXPECT_EQ(port.QueuedInputCount(), 0);
    uint8_t buf[100] = {};
    EXPECT_EQ(port.ReadBytes(buf, 1), 0);
    EXPECT_EQ(buf[0], 0);

    const uint8_t command = 'E';
    EXPECT_EQ(port.WriteBytes(&command, 1), 1);
    EXPECT_EQ(pty.Receive(1), std::vector<uint8_t>{'E'});

    std::string forty(40, 'q');
    pty.Send(forty);
    ASSERT_TRUE(PumpUntil([&] { return port.QueuedInputCount() == 40; }));
    EXPECT_EQ(port.ReadBytes(buf, 100), 40);

    pty.Send("stale");
    ASSERT_TRUE(PumpUntil([&] { return port.QueuedInputCount() == 5; }));
    port.PurgeQueues(true, true);
    EXPECT_EQ(port.QueuedInputCount(), 0);
    EXPECT_EQ(port.LineErrors(), TComErrors{});
    EXPECT_EQ(port.ModemSignals(), TModemSignals{});
}

TEST(ComPortTransfers, AWholeMemoryImageQueuesAndReadsAtOnce)
{
    TestPty pty;
    TComPort port(nullptr);
    ConsoleSettings(port, pty);
    port.OpenPort();
    std::vector<uint8_t> image(65535);
    for (size_t i = 0; i < image.size(); ++i)
        image[i] = uint8_t((i * 31) ^ (i >> 8));
    std::thread peer([&] { pty.Send(image.data(), image.size()); });
    // Events are not served meanwhile, as during the console's reply waits.
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (port.QueuedInputCount() < 65535 && std::chrono::steady_clock::now() < end)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    peer.join();
    std::vector<uint8_t> got(65535);
    ASSERT_EQ(port.ReadBytes(got.data(), 65535), 65535);
    EXPECT_EQ(got, image);
    EXPECT_EQ(port.LineErrors(), TComErrors{});
}

TEST(ComPortTransfers, ClosedPortsFailWithTheirCodes)
{
    TComPort port(nullptr);
    uint8_t b = 0;
    auto code = [](const std::function<void()> &f) {
        try {
            f();
        } catch (const EComPort &e) {
            return e.Code;
        }
        return 0;
    };
    EXPECT_EQ(code([&] { port.WriteBytes(&b, 1); }), 2);
    EXPECT_EQ(code([&] { port.ReadBytes(&b, 1); }), 3);
    EXPECT_EQ(code([&] { port.PurgeQueues(true, true); }), 5);
    EXPECT_EQ(code([&] { port.QueuedInputCount(); }), 10);
    EXPECT_EQ(code([&] { port.WaitForInput(10); }), 10);
    EXPECT_EQ(code([&] { port.ModemSignals(); }), 11);
}
