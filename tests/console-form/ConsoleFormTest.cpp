// The console's window end to end against the simulated logger on a
// pseudo-terminal, with scripted message boxes.

#include "ConsoleFormFixture.h"

using namespace logbridge;
using namespace consoletest;

namespace {

// ---------------------------------------------------------------- start-up

TEST_F(ConsoleForm, ActivationRestoresSettingsForcesRateAndLinks)
{
    orvasim::TSimulator sim(SimOptions(2));
    WriteSettings(sim.SlavePath());
    PublishSerialPorts({"/dev/ttyS0", sim.SlavePath()});
    TForm1 &f = MakeForm();
    EXPECT_EQ(f.PageControl1->ActivePageIndex(), 0);
    EXPECT_EQ(f.Label30->Caption(), "");
    EXPECT_FALSE(f.Timer1->Enabled());
    EXPECT_TRUE(f.Timer2->Enabled());
    Activate();

    EXPECT_TRUE(f.ComPort1->Connected());
    EXPECT_EQ(f.ComPort1->Port(), sim.SlavePath());
    EXPECT_EQ(f.ComPort1->BaudRate(), br19200);
    EXPECT_EQ(PortList(), (std::vector<std::string>{"/dev/ttyS0", sim.SlavePath()}));
    EXPECT_EQ(f.ComboBox1->Text(), sim.SlavePath());
    EXPECT_EQ(f.DeviceVariant, VariantV3);
    EXPECT_EQ(f.IAgaloLED1->LedPlasticColor(), clLime);
    EXPECT_TRUE(f.IAgaloLED1->LedOn());
    EXPECT_EQ(f.Label1->Caption(), "  Konekcija uspesna");
    EXPECT_TRUE(f.Timer1->Enabled());
    EXPECT_FALSE(f.Timer2->Enabled());
    EXPECT_FALSE(f.Gauge1->Visible());
    EXPECT_EQ(f.Gauge1->Progress(), 100);
    EXPECT_FALSE(f.DeviceConnected) << "set by the first live reading only";
    ExpectControlsEnabled(true);
    EXPECT_TRUE(f.dxButton13->Enabled());
    // The check saved the settings, with the forced rate.
    EXPECT_EQ(SavedSetting("BaudRate"), "19200");
    EXPECT_EQ(Commands(sim.Received()), "E");
    EXPECT_TRUE(Boxes.Shown.empty());

    // The focus coming back from a message box starts nothing again.
    f.CompensatedHumidityShown = true;
    f.Deactivate();
    f.Activate();
    EXPECT_TRUE(f.CompensatedHumidityShown);
    EXPECT_EQ(Commands(sim.Received()), "E");
}

TEST_F(ConsoleForm, PlainPresenceReplyLeavesPeriodButtonAlone)
{
    orvasim::TSimulator sim(SimOptions(1));
    TForm1 &f = Linked(sim);
    EXPECT_EQ(f.DeviceVariant, VariantPlain);
    ExpectControlsEnabled(true);
    EXPECT_FALSE(f.dxButton13->Enabled());
    // Enabled earlier for an "o" device, it stays as it was.
    f.dxButton13->SetEnabled(true);
    f.dxButton1Click(f.dxButton1);
    EXPECT_TRUE(f.DeviceConnected);
    EXPECT_TRUE(f.dxButton13->Enabled());
}

TEST_F(ConsoleForm, SilentDeviceOrClosedPortLeavesTheLinkDown)
{
    orvasim::TSimulator sim(SimOptions());
    sim.SetFaults(Silent());
    TForm1 &f = Linked(sim);
    EXPECT_TRUE(f.ComPort1->Connected());
    EXPECT_EQ(f.Label1->Caption(), "Konekcija neuspesna");
    EXPECT_EQ(f.IAgaloLED1->LedPlasticColor(), clRed);
    EXPECT_FALSE(f.IAgaloLED1->LedOn());
    EXPECT_TRUE(f.Timer2->Enabled());
    EXPECT_FALSE(f.Timer1->Enabled());
    ExpectControlsEnabled(false);
    EXPECT_FALSE(f.dxButton13->Enabled());

    // Timer2 blinks the lamp.
    f.Timer2Timer(f.Timer2);
    EXPECT_TRUE(f.IAgaloLED1->LedOn());
    f.Timer2Timer(f.Timer2);
    EXPECT_FALSE(f.IAgaloLED1->LedOn());

    // A port that cannot be opened ends the activation before the check.
    WriteSettings(Folder() + "/no-such-port");
    MakeForm();
    Activate();
    EXPECT_FALSE(Form->ComPort1->Connected());
    EXPECT_EQ(Form->IAgaloLED1->LedPlasticColor(), clRed);
    EXPECT_EQ(Form->Label1->Caption(), "Konekcija");
    EXPECT_FALSE(Form->Timer1->Enabled());
    EXPECT_TRUE(Boxes.Shown.empty());
}

TEST_F(ConsoleForm, PortListComesFromTheRegistryMap)
{
    MakeForm();
    Form->ComboBox1->AddItem("COM7");
    // No map: the list keeps what it had.
    Form->ListSerialPorts();
    EXPECT_EQ(PortList(), std::vector<std::string>{"COM7"});

    PublishSerialPorts({"/dev/ttyUSB0", "/dev/ttyACM1", "/tmp/ttyORVA"});
    Form->ListSerialPorts();
    EXPECT_EQ(PortList(),
              (std::vector<std::string>{"/dev/ttyUSB0", "/dev/ttyACM1", "/tmp/ttyORVA"}));

    // A shorter map replaces the longer one whole.
    PublishSerialPorts({"/dev/ttyUSB1"});
    Form->ListSerialPorts();
    EXPECT_EQ(PortList(), std::vector<std::string>{"/dev/ttyUSB1"});
}

TEST(SerialPorts, ExtraPortsThatExistFollowTheMachinesPorts)
{
    QTemporaryDir dev;
    ASSERT_TRUE(dev.isValid());
    const std::string d = dev.path().toStdString();
    for (const char *name : {"ttyUSB10", "ttyUSB2", "ttyACM0", "ttyS0", "console"})
        QFile(QString::fromStdString(d + "/" + name)).open(QIODevice::WriteOnly);
    const std::string link = d + "/ttyORVA";
    QFile::link(QString::fromStdString(d + "/ttyUSB2"), QString::fromStdString(link));
    // ttyS0 here is a plain file, not a port with a UART.
    EXPECT_EQ(SerialPortPaths(d, link + ":" + d + "/missing:"),
              (std::vector<std::string>{d + "/ttyACM0", d + "/ttyUSB2", d + "/ttyUSB10", link}));
}

TEST_F(ConsoleForm, LogoAndStatusBarOpenTheMakersPage)
{
    TForm1 &f = MakeForm();
    f.Image1->Click();
    f.StatusBar1->Click();
    EXPECT_EQ(Boxes.Started, (std::vector<std::string>{MakerWebPage, MakerWebPage}));
}

// ---------------------------------------------------------------- scan and switch

TEST_F(ConsoleForm, PortScanFindsTheDeviceOrSaysItDidNot)
{
    orvasim::TSimulator sim(SimOptions());
    WriteSettings(Folder() + "/no-such-port");
    // Listed under a name with a blank at its end, which is saved as named.
    const std::string port = Folder() + "/tty ORVA ";
    ASSERT_TRUE(QFile::link(QString::fromStdString(sim.SlavePath()), QString::fromStdString(port)));
    const std::string missing = Folder() + "/gone";
    PublishSerialPorts({missing, port});
    TForm1 &f = MakeForm();
    Activate();
    ASSERT_FALSE(f.ComPort1->Connected());

    f.dxButton14->Click();
    ASSERT_EQ(Boxes.Shown.size(), 1u);
    EXPECT_EQ(LastText(), "ORVA uredjaj je pronadjen na portu " + port);
    EXPECT_EQ(Boxes.Shown.back().Flags & MB_ICONINFORMATION, MB_ICONINFORMATION);
    EXPECT_EQ(f.Label30->Caption(), "Pronadjen na:" + port);
    EXPECT_EQ(f.ComboBox1->ItemIndex(), 1);
    EXPECT_TRUE(f.PortScanDone);
    EXPECT_TRUE(f.DeviceConnected);
    EXPECT_TRUE(f.ComPort1->Connected());
    EXPECT_EQ(TIniFile(Ini()).ReadString("ComPort1", "Port", ""), port);
    ExpectControlsEnabled(true);

    // The device switched off: every entry tried, then the error.
    sim.SetFaults(Silent());
    f.dxButton14Click(f.dxButton14);
    ASSERT_EQ(Boxes.Shown.size(), 2u);
    EXPECT_EQ(LastText(), "ORVA uredjaj NIJE pronadjen! Molimo proverite kablove i da li je "
                          "uredjaj ukljucen, pa pokusajte ponovo.");
    EXPECT_EQ(Boxes.Shown.back().Flags & MB_ICONERROR, MB_ICONERROR);
    EXPECT_FALSE(f.DeviceConnected);
    EXPECT_TRUE(f.PortScanDone);
    EXPECT_FALSE(f.Timer1->Enabled());
    EXPECT_EQ(f.Label30->Caption(), port);

    // An empty list finds nothing either, and says so.
    f.ComboBox1->ClearItems();
    f.PortScanDone = false;
    f.dxButton14Click(f.dxButton14);
    ASSERT_EQ(Boxes.Shown.size(), 3u);
    EXPECT_EQ(LastText(), Boxes.Shown[1].Text);
    EXPECT_TRUE(f.PortScanDone);

    // The next start opens the port the first scan saved.
    sim.SetFaults(orvasim::TFaults());
    MakeForm();
    Activate();
    EXPECT_EQ(Form->ComPort1->Port(), port);
    EXPECT_EQ(Form->Label1->Caption(), "  Konekcija uspesna");
}

TEST_F(ConsoleForm, PortSwitchOnlyAfterAScanAndReportsABusyPort)
{
    orvasim::TSimulator sim(SimOptions());
    orvasim::TSimulator other(SimOptions());
    TForm1 &f = Linked(sim);
    ASSERT_TRUE(f.ComPort1->Connected());

    // Before a scan, choosing another port changes nothing.
    f.ComboBox1->SetText(other.SlavePath());
    f.ComboBox1Change(f.ComboBox1);
    EXPECT_EQ(f.ComPort1->Port(), sim.SlavePath());
    EXPECT_TRUE(f.ComPort1->Connected());

    f.PortScanDone = true;
    f.Timer1->SetEnabled(false);
    f.ComboBox1Change(f.ComboBox1);
    EXPECT_EQ(f.ComPort1->Port(), other.SlavePath());
    EXPECT_TRUE(f.ComPort1->Connected());
    EXPECT_TRUE(f.Timer1->Enabled());
    EXPECT_TRUE(f.dxButton1->Enabled());
    EXPECT_EQ(f.StatusBar1->Color(), clSilver);
    EXPECT_EQ(f.StatusBar1->PanelText(1), "Kliknuti na [Osvezi komunikaciju]");
    EXPECT_EQ(SavedSetting("Port"), other.SlavePath());
    EXPECT_TRUE(Boxes.Shown.empty());
    EXPECT_EQ(Commands(other.Received()), "") << "no connection check on a switch";

    // Someone else holds the first port now.
    TComPort holder(nullptr);
    holder.SetPort(sim.SlavePath());
    holder.SetConnected(true);
    f.ComboBox1->SetText(sim.SlavePath());
    f.ComboBox1Change(f.ComboBox1);
    ASSERT_EQ(Boxes.Shown.size(), 1u);
    EXPECT_EQ(LastText(), "Jos neko je zauzeo " + sim.SlavePath() + " port!");
    EXPECT_EQ(Boxes.Shown.back().Caption, "REZO3 Varadudivezu");
    EXPECT_FALSE(f.ComPort1->Connected());
    EXPECT_EQ(f.ComPort1->Port(), sim.SlavePath());
    EXPECT_FALSE(f.dxButton1->Enabled());
    EXPECT_FALSE(f.Timer1->Enabled());
    EXPECT_TRUE(f.Timer2->Enabled());
    EXPECT_EQ(f.StatusBar1->Color(), clRed);
    EXPECT_EQ(f.StatusBar1->PanelText(1), "Error: " + sim.SlavePath() + " je zauzet!");

    // The status-bar clock takes the panel back within ten ticks.
    for (int i = 0; i < 10; ++i)
        f.Timer3Timer(f.Timer3);
    EXPECT_TRUE(Shaped(f.StatusBar1->PanelText(1), "Time: ##.##.#### [##:##:##]"))
        << f.StatusBar1->PanelText(1);
}

// ---------------------------------------------------------------- live view

struct TReading {
    uint16_t St, Srh;
    bool Celsius, Compensated;
    const char *Temperature, *Unit, *Humidity, *HumidityCaption, *DewPoint;
};

TEST_F(ConsoleForm, ReadingsShowConvertedValues)
{
    MakeForm();
    TForm1 &f = *Form;
    const TReading cases[] = {
        {0, 1486, true, false, "-40.00",
         "\xB0"
         "C",
         "50.00", "Relativna vlaznost:", nullptr},
        {4000, 1486, true, false, "0.00",
         "\xB0"
         "C",
         "50.00", "Relativna vlaznost:", nullptr},
        {6000, 1486, false, false, "68.00", "F", "50.00", "Relativna vlaznost:", "9.27"},
        // Compensated at 20 °C: (20 - 25) x (1486 x 0.00008 - 0.01) + 50.0001.
        {6000, 1486, true, true, "20.00",
         "\xB0"
         "C",
         "49.46", "Relativna vlaznost[LIN]:", "9.27"},
        // No humidity: -4 %, and the dew point keeps its text.
        {6000, 0, true, false, "20.00",
         "\xB0"
         "C",
         "-4.00", "Relativna vlaznost:", "9.27"},
    };
    for (const TReading &c : cases) {
        f.RawTemperature = c.St;
        f.RawHumidity = c.Srh;
        f.DSCheckBox1->SetChecked(c.Celsius);
        f.CompensatedHumidityShown = c.Compensated;
        f.IzracunajMereneVrednosti();
        EXPECT_EQ(f.LCDLabel1->Caption(), c.Temperature) << c.St;
        EXPECT_EQ(f.Label28->Caption(), c.Unit);
        EXPECT_EQ(f.LCDLabel2->Caption(), c.Humidity) << c.Srh;
        EXPECT_EQ(f.Label7->Caption(), c.HumidityCaption);
        if (c.DewPoint) {
            EXPECT_EQ(f.LCDLabel3->Caption(), c.DewPoint);
        }
    }

    f.Label7->Click();
    EXPECT_TRUE(f.CompensatedHumidityShown);
    f.Label7Click(f.Label7);
    EXPECT_FALSE(f.CompensatedHumidityShown);
}

TEST_F(ConsoleForm, TrackBarSetsThePollPeriod)
{
    TForm1 &f = MakeForm();
    f.CheckBox4->SetChecked(true);
    EXPECT_EQ(f.Timer1->Interval(), 1000u) << "the check box alone changes nothing";
    f.TrackBar1->SetPosition(5);
    EXPECT_EQ(f.Timer1->Interval(), 300000u);
    EXPECT_EQ(f.Label4->Caption(), "5 min");
    f.CheckBox4->SetChecked(false);
    f.TrackBar1->SetPosition(30);
    EXPECT_EQ(f.Timer1->Interval(), 30000u);
    EXPECT_EQ(f.Label4->Caption(), "30 sec");
    EXPECT_FALSE(f.Timer1->Enabled());
}

TEST_F(ConsoleForm, LiveTickReadsMeasurementsAndOnTheFirstPageTheStatus)
{
    orvasim::TSimulator sim(SimOptions());
    TForm1 &f = Linked(sim);
    f.Timer1Timer(f.Timer1);
    EXPECT_EQ(Commands(sim.Received()), "EETtHhUPAaN");
    EXPECT_TRUE(f.DeviceConnected);
    const double t = f.RawTemperature * 0.01 - 40;
    EXPECT_GT(t, 5);
    EXPECT_LT(t, 40);
    EXPECT_EQ(f.LCDLabel1->Caption(), FormatFloat("0.00", t));
    EXPECT_NE(f.LCDLabel3->Caption(), "----------");
    EXPECT_EQ(f.LCDLabel4->Caption(), "Period: 5 min");
    EXPECT_TRUE(f.IAgaloLED2->LedOn());

    f.PageControl1->SetActivePageIndex(2);
    f.Timer1Timer(f.Timer1);
    EXPECT_EQ(Commands(sim.Received()), "EETtHhUPAaNETtHh");
    EXPECT_FALSE(f.IAgaloLED2->LedOn());
    EXPECT_TRUE(Boxes.Shown.empty());
}

TEST_F(ConsoleForm, SilentDeviceDuringLiveReadingMarksTheLinkLost)
{
    orvasim::TSimulator sim(SimOptions());
    TForm1 &f = Linked(sim);
    f.Timer1Timer(f.Timer1);
    ASSERT_TRUE(f.DeviceConnected);
    sim.SetFaults(Silent());
    f.Timer1Timer(f.Timer1);
    EXPECT_FALSE(f.DeviceConnected);
    EXPECT_FALSE(f.Timer1->Enabled());
    EXPECT_TRUE(f.Timer2->Enabled());
    EXPECT_EQ(f.Label1->Caption(), "Konekcija neuspesna");
    EXPECT_EQ(f.IAgaloLED1->LedPlasticColor(), clRed);
    EXPECT_FALSE(f.IAgaloLED1->LedOn());
    ExpectControlsEnabled(false);
    EXPECT_FALSE(f.dxButton13->Enabled());
    EXPECT_EQ(f.LCDLabel1->Caption(), "----------");
    EXPECT_EQ(f.LCDLabel2->Caption(), "----------");
    EXPECT_EQ(f.LCDLabel3->Caption(), "----------");
    EXPECT_EQ(f.LCDLabel4->Caption(), "Period: ---");
    EXPECT_EQ(f.LCDLabel5->Caption(), "Mem: ---");
    EXPECT_TRUE(
        Shaped(f.Label33->Caption(), "Last Event: Communication lost @##.##.#### [##:##:##]"))
        << f.Label33->Caption();
    // Not connected: the status read does nothing.
    const size_t sent = sim.Received().size();
    f.dxButton2Click(f.dxButton2);
    EXPECT_EQ(sim.Received().size(), sent);
    EXPECT_TRUE(Boxes.Shown.empty());
}

// ---------------------------------------------------------------- status and settings

TEST_F(ConsoleForm, StatusReadShowsPeriodMemoryRecordingsAndSampling)
{
    orvasim::TSimulator sim(SimOptions());
    TForm1 &f = Linked(sim);
    f.DeviceConnected = true;
    f.dxButton2->Click();
    EXPECT_EQ(Commands(sim.Received()), "EUPAaN");
    EXPECT_EQ(f.Label16->Caption(), "Uzorkovanje nije u toku");
    EXPECT_EQ(f.Label16->Font()->Color(), clGreen);
    EXPECT_FALSE(f.SamplingActive);
    EXPECT_EQ(f.Edit1->Text(), "5 minuta");
    EXPECT_EQ(f.ComboBox2->ItemIndex(), 4);
    EXPECT_EQ(f.Label31->Caption(), "Memorija za: 18 dana");
    EXPECT_EQ(f.LCDLabel4->Caption(), "Period: 5 min");
    const size_t used = sim.Memory().size();
    EXPECT_EQ(used, 500u * RecordSize);
    EXPECT_EQ(f.Label14->Caption(), "Zauzeto: 500/5461 rec");
    EXPECT_EQ(f.LCDLabel5->Caption(), "Mem: 009.16%");
    EXPECT_EQ(f.ProgressCyl2->Max(), MemorySize);
    EXPECT_EQ(f.ProgressCyl2->Position(), int(used));
    const int runs = sim.WithDevice([](orvasim::TDevice &d, int64_t) { return d.Runs(); });
    // The logger answers its run count plus one.
    EXPECT_EQ(f.Edit2->Text(), FormatFloat("000", runs) + " zapisa");

    // Sampling: the acquisition lamp blinks on Timer3.
    f.dxButton9->Click();
    EXPECT_EQ(ReceivedWhen(sim, 8), "EUPAaNEG");
    EXPECT_TRUE(Sampling(sim));
    f.SpeedButton10Click(f.SpeedButton10);
    EXPECT_EQ(f.Label16->Caption(), "Uzorkovanje je u toku");
    EXPECT_EQ(f.Label16->Font()->Color(), clBlue);
    f.Timer3Timer(f.Timer3);
    EXPECT_TRUE(f.DSSimpleLed1->Active());
    f.Timer3Timer(f.Timer3);
    EXPECT_FALSE(f.DSSimpleLed1->Active());
    f.dxButton10Click(f.dxButton10);
    EXPECT_EQ(ReceivedWhen(sim, 11), "EUPAaNEGUEg");
    EXPECT_FALSE(Sampling(sim));
    EXPECT_TRUE(Boxes.Shown.empty());

    // A silent device: the reads say so and change nothing.
    sim.SetFaults(Silent());
    f.dxButton2Click(f.dxButton2);
    ASSERT_EQ(Boxes.Shown.size(), 3u);
    for (const TShown &box : Boxes.Shown)
        EXPECT_EQ(box.Text, "Greska pri komunikaciji");
    EXPECT_EQ(f.Label16->Caption(), "Uzorkovanje nije u toku");
    EXPECT_EQ(f.Edit1->Text(), "5 minuta");
    f.dxButton9Click(f.dxButton9);
    EXPECT_EQ(LastText(), "ORVA uredjaj nije prisutan?!");
}

TEST_F(ConsoleForm, PeriodSettingRereadsTheParameters)
{
    orvasim::TSimulator sim(SimOptions());
    TForm1 &f = Linked(sim);
    f.DeviceConnected = true;
    f.ComboBox2->SetItemIndex(1);
    f.ComboBox2Change(f.ComboBox2);
    EXPECT_EQ(f.Label31->Caption(), "Memorija za: 15 sati");
    f.dxButton13Click(f.dxButton13);
    EXPECT_EQ(sim.WithDevice([](orvasim::TDevice &d, int64_t) { return d.PeriodCode(); }), 1);
    EXPECT_EQ(Commands(sim.Received()), std::string("E\x0B") + "UPAaN");
    EXPECT_EQ(f.Edit1->Text(), "10 sekundi ");
    EXPECT_EQ(f.LCDLabel4->Caption(), "Period: 10 sec ");
    EXPECT_TRUE(Boxes.Shown.empty());

    // Typed text names no period: nothing goes out.
    f.ComboBox2->SetText("7 minuta");
    const size_t sent = sim.Received().size();
    f.dxButton13Click(f.dxButton13);
    EXPECT_EQ(LastText(), "Operacija neuspesna, moliko pokusajte ponovo!");
    EXPECT_EQ(sim.Received().size(), sent);

    // A device of the first version refuses.
    orvasim::TSimulator old(SimOptions(1));
    f.ComPort1->SetConnected(false);
    f.ComPort1->SetPort(old.SlavePath());
    f.ComPort1->SetConnected(true);
    f.ComboBox2->SetItemIndex(2);
    Boxes.Shown.clear();
    f.dxButton13Click(f.dxButton13);
    EXPECT_EQ(Commands(old.Received()), "\x0C");
    ASSERT_EQ(Boxes.Shown.size(), 1u);
    EXPECT_EQ(LastText(), "Operacija neuspesna, moliko pokusajte ponovo!");
    EXPECT_EQ(old.WithDevice([](orvasim::TDevice &d, int64_t) { return d.PeriodCode(); }), 4);
}

TEST_F(ConsoleForm, EraseStopsSamplingFirstWhenTheUserAgrees)
{
    orvasim::TSimulator sim(SimOptions());
    TForm1 &f = Linked(sim);
    f.dxButton9Click(f.dxButton9);
    ReceivedWhen(sim, 3);
    ASSERT_TRUE(Sampling(sim));

    // No at the first question: nothing is sent.
    Boxes.Answers = {IDNO};
    const size_t sent = sim.Received().size();
    f.dxButton4Click(f.dxButton4);
    EXPECT_EQ(sim.Received().size(), sent);

    // No at the second: sampling goes on, the memory stays.
    Boxes.Answers = {IDYES, IDNO};
    f.dxButton4Click(f.dxButton4);
    EXPECT_EQ(Commands(sim.Received()).substr(sent), "EU");
    EXPECT_FALSE(sim.Memory().empty());

    Boxes.Answers = {IDYES, IDYES};
    f.dxButton4Click(f.dxButton4);
    EXPECT_EQ(Commands(sim.Received()).substr(sent), "EUEUgC");
    ASSERT_EQ(Boxes.Shown.size(), 6u);
    EXPECT_EQ(Boxes.Shown[4].Text, "Uzorkovanje u toku. Procedura zahteva da se zaustavi "
                                   "uzorkovanje. Da li zaista zelite brisanje?");
    EXPECT_EQ(LastText(), "EEPROM memorija uspesno obrisana.");
    EXPECT_TRUE(sim.Memory().empty());
    EXPECT_FALSE(Sampling(sim));

    // A silent device: the erase stops without a word after the question.
    sim.SetFaults(Silent());
    Boxes.Shown.clear();
    f.dxButton4Click(f.dxButton4);
    EXPECT_EQ(Boxes.Shown.size(), 1u);
}

TEST_F(ConsoleForm, ClockTakesThePcTime)
{
    orvasim::TSimulator sim(SimOptions());
    TForm1 &f = Linked(sim);
    const int64_t before = std::time(nullptr);
    f.dxButton8Click(f.dxButton8);
    EXPECT_EQ(f.Label21->Caption(), "Uredjaj prisutan");
    EXPECT_TRUE(f.Label20->Visible());
    EXPECT_TRUE(Shaped(f.Label17->Caption(), "Poslati datum i vreme: ##-##-##   [##:##:##]"))
        << f.Label17->Caption();
    EXPECT_TRUE(f.Timer1->Enabled());
    const std::string sent = ReceivedWhen(sim, 9);
    ASSERT_EQ(sent.size(), 9u);
    EXPECT_EQ(sent.substr(0, 3), "EEY");
    // The logger's clock now runs a second ahead of the PC's local time.
    const int64_t clock =
        sim.WithDevice([](orvasim::TDevice &d, int64_t now) { return d.ClockSeconds(now); });
    std::tm local{};
    const time_t t = before;
    localtime_r(&t, &local);
    const int64_t localNow = before + local.tm_gmtoff;
    EXPECT_NEAR(double(clock), double(localNow + 3), 3.0);

    sim.SetFaults(Silent());
    f.dxButton8Click(f.dxButton8);
    EXPECT_EQ(LastText(), "ORVA uredjaj nije prisutan?! Proverite kablove.");
}

// ---------------------------------------------------------------- the window's look

TEST_F(ConsoleForm, ButtonsShowTheHandAndTheirPicturesAndTheLedsTheirResourceColours)
{
    TForm1 &f = MakeForm();
    int buttons = 0;
    for (TComponent *c : f.Components())
        if (auto *b = dynamic_cast<TdxButton *>(c)) {
            ++buttons;
            EXPECT_EQ(b->Cursor(), crHandPoint) << b->Name();
            EXPECT_EQ(b->cursor().shape(), Qt::PointingHandCursor) << b->Name();
            const bool pictured = b != f.dxButton12;
            EXPECT_EQ(b->Glyph()->Width(), pictured ? 32 : 0) << b->Name();
            EXPECT_EQ(b->Glyph()->Height(), pictured ? 32 : 0) << b->Name();
        }
    EXPECT_EQ(buttons, 14);
    EXPECT_EQ(f.IAgaloLED1->LedPlasticColor(), clLime);
    EXPECT_EQ(f.IAgaloLED2->LedPlasticColor(), clAqua);

    // The poll LED lit, as the live reading blinks it: aqua in the middle.
    f.ShowForm();
    f.IAgaloLED2->SetLedOn(true);
    const QImage led = f.IAgaloLED2->grab().toImage();
    const QColor middle = led.pixelColor(led.width() / 2, led.height() / 2);
    EXPECT_LT(middle.red(), 100) << middle.name().toStdString();
    EXPECT_GT(middle.green(), 150) << middle.name().toStdString();
    EXPECT_GT(middle.blue(), 150) << middle.name().toStdString();
}

} // namespace
