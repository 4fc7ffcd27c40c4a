// Start-up and the link: the port list, the connection check, switching
// and scanning ports, the lamps and the status-bar clock.

#include "MainForm.h"

#include "CPort.h"
#include "ComCtrls.h"
#include "DSIndicators.h"
#include "DateTime.h"
#include "DeviceExchange.h"
#include "Dialogs.h"
#include "Format.h"
#include "Gauges.h"
#include "IAgaloLED.h"
#include "Registry.h"
#include "StdCtrls.h"
#include "Buttons.h"
#include "System.h"
#include "dxButton.h"

#include <cstdio>

namespace logbridge {

namespace {

// The Windows platform ids the status bar names; this system is neither.
enum { VER_PLATFORM_WIN32_WINDOWS = 1, VER_PLATFORM_WIN32_NT = 2, VER_PLATFORM_POSIX = 0 };
int PlatformId()
{
    return VER_PLATFORM_POSIX;
}

} // namespace

uint16_t TForm1::Ask(uint8_t Command, uint16_t Timeout)
{
    SendCommandByte(*ComPort1, Command);
    return ReadReplyByte(*ComPort1, Timeout);
}

bool TForm1::DevicePresent()
{
    const uint8_t reply = uint8_t(Ask('E', 1000));
    return reply == 'O' || reply == 'o';
}

void TForm1::FormCreate(TObject *)
{
    DownloadActive = false;
    PageControl1->SetActivePageIndex(0);
    Label30->SetCaption("");
}

void TForm1::FormActivate(TObject *)
{
    CompensatedHumidityShown = false;
    if (PlatformId() == VER_PLATFORM_WIN32_WINDOWS)
        StatusBar1->SetPanelText(2, "Win95/98 Os");
    else if (PlatformId() == VER_PLATFORM_WIN32_NT)
        StatusBar1->SetPanelText(2, "Win NT Os");
    ComPort1->RestoreSettings(ssIniFile, ComPortIni());
    ComPort1->SetBaudRate(br19200);
    ListSerialPorts();
    ComboBox1->SetText(ComPort1->Port());
    IAgaloLED1->SetLedPlasticColor(clRed);
    ComPort1->SetConnected(true);
    StatusBar1->SetColor(clSilver);
    Repaint();
    CheckDeviceConnection();
}

void TForm1::FormClose(TObject *, int &)
{
    ComPort1->SetConnected(false);
}

void TForm1::ListSerialPorts()
{
    TRegistry registry;
    registry.RootKey = HKEY_LOCAL_MACHINE;
    if (!registry.OpenKeyReadOnly("HARDWARE") || !registry.OpenKeyReadOnly("HARDWARE\\DEVICEMAP") ||
        !registry.OpenKeyReadOnly("HARDWARE\\DEVICEMAP\\SERIALCOMM"))
        return;
    const std::vector<std::string> names = registry.GetValueNames();
    ComboBox1->ClearItems();
    // A value that is not text names no port: it is passed over, as if it
    // were not there, rather than stop the start-up.
    std::string skipped;
    for (const std::string &name : names) {
        if (registry.GetDataType(name) != rdString) {
            skipped += (skipped.empty() ? "" : ", ") + name;
            continue;
        }
        ComboBox1->AddItem(registry.ReadString(name));
    }
    if (!skipped.empty())
        std::fprintf(stderr, "warning: serial-port map: values that are not text skipped: %s\n",
                     skipped.c_str());
}

void TForm1::ReopenLostPort()
{
    if (ComPort1->Connected() && !ComPort1->DeviceLost())
        return;
    try {
        ComPort1->SetConnected(false);
        ComPort1->SetConnected(true);
    } catch (const EComPort &) {
    }
}

bool TForm1::CheckDeviceConnection()
{
    ReopenLostPort();
    Gauge1->Show();
    for (int progress = 0; progress <= 100; ++progress) {
        Sleep(10);
        Gauge1->SetProgress(progress);
    }
    Gauge1->Hide();
    uint8_t reply = 0;
    const auto askPresence = [&] { reply = uint8_t(Ask('E', 1000)); };
    // A line that went before the port knew it: once more on the port
    // opened again, in case the logger is back.
    if (!LineHeld(askPresence)) {
        ReopenLostPort();
        LineHeld(askPresence);
    }
    if (reply == 'O' || reply == 'o') {
        DeviceVariant = reply == 'O' ? VariantPlain : VariantV3;
        IAgaloLED1->SetLedPlasticColor(clLime);
        IAgaloLED1->SetLedOn(true);
        Label1->SetCaption("  Konekcija uspesna");
        Timer1->SetEnabled(true);
        EnableDeviceControls();
        Timer2->SetEnabled(false);
        TabSheet1->Repaint();
        ComPort1->SaveSettings(ssIniFile, ComPortIni());
        return true;
    }
    ShowLinkDown();
    return false;
}

void TForm1::ShowLinkDown()
{
    IAgaloLED1->SetLedPlasticColor(clRed);
    IAgaloLED1->SetLedOn(false);
    TabSheet1->Repaint();
    Label1->SetCaption("Konekcija neuspesna");
    Timer2->SetEnabled(true);
    Timer1->SetEnabled(false);
}

void TForm1::EnableDeviceControls()
{
    dxButton9->SetEnabled(true);
    dxButton10->SetEnabled(true);
    dxButton3->SetEnabled(true);
    dxButton4->SetEnabled(true);
    dxButton2->SetEnabled(true);
    if (DeviceVariant == VariantV3)
        dxButton13->SetEnabled(true);
    dxButton8->SetEnabled(true);
    SpeedButton5->SetEnabled(true);
    SpeedButton7->SetEnabled(true);
    SpeedButton8->SetEnabled(true);
    SpeedButton10->SetEnabled(true);
}

void TForm1::DisableDeviceControls()
{
    for (TControl *control : std::initializer_list<TControl *>{
             dxButton9, dxButton10, dxButton3, dxButton4, dxButton2, dxButton13, dxButton8,
             SpeedButton5, SpeedButton7, SpeedButton8, SpeedButton10})
        control->SetEnabled(false);
}

void TForm1::ComboBox1Change(TObject *)
{
    if (!PortScanDone)
        return;
    InterruptDownload();
    dxButton1->SetEnabled(false);
    ComPort1->SetConnected(false);
    Timer1->SetEnabled(false);
    ComPort1->SetPort(ComboBox1->Text());
    try {
        ComPort1->SetConnected(true);
    } catch (const EComPort &) {
        Timer2->SetEnabled(true);
        PlainBox("Jos neko je zauzeo " + ComPort1->Port() + " port!");
        StatusBar1->SetColor(clRed);
        StatusBar1->SetPanelText(1, "Error: " + ComPort1->Port() + " je zauzet!");
        return;
    }
    Timer1->SetEnabled(true);
    dxButton1->SetEnabled(true);
    StatusBar1->SetColor(clSilver);
    StatusBar1->SetPanelText(1, "Kliknuti na [Osvezi komunikaciju]");
    ComPort1->SaveSettings(ssIniFile, ComPortIni());
}

void TForm1::dxButton14Click(TObject *)
{
    InterruptDownload();
    PortScanDone = false;
    // Whether this scan found the device: an entry whose port cannot be
    // opened leaves DeviceConnected as an earlier check set it.
    bool found = false;
    for (int i = 0; i < ComboBox1->ItemCount(); ++i) {
        const std::string entry = ComboBox1->Item(i);
        Timer1->SetEnabled(false);
        Sleep(100);
        if (ComPort1->Connected())
            ComPort1->SetConnected(false);
        ComPort1->SetPort(entry);
        Label30->SetCaption(entry);
        std::string unsaved; // why the settings of the linked device were not saved
        try {
            if (!ComPort1->Connected())
                ComPort1->SetConnected(true);
            found = DeviceConnected = CheckDeviceConnection();
            if (found)
                ComPort1->SaveSettings(ssIniFile, ComPortIni());
        } catch (const EComPort &E) {
            // Only saving fails so, and the check saves only once the device
            // has answered: it is linked, whatever became of the file.
            if (E.Code == ComSettingsNotStored) {
                found = DeviceConnected = true;
                unsaved = E.what();
            }
        } catch (const std::exception &) {
        }
        if (found) {
            Label30->SetCaption("Pronadjen na:" + entry);
            ComboBox1->SetItemIndex(i);
            if (unsaved.empty())
                InfoBox("ORVA uredjaj je pronadjen na portu " + entry);
            else
                ErrorBox("ORVA uredjaj je pronadjen na portu " + entry +
                         " i povezan, ali podesavanja nisu sacuvana u " + ComPortIni() + ": " +
                         unsaved);
            EnableDeviceControls();
            PortScanDone = true;
            break;
        }
    }
    if (!found)
        ErrorBox("ORVA uredjaj NIJE pronadjen! Molimo proverite kablove i da li je uredjaj "
                 "ukljucen, pa pokusajte ponovo.");
    PortScanDone = true;
}

void TForm1::dxButton1Click(TObject *)
{
    InterruptDownload();
    DeviceConnected = CheckDeviceConnection();
}

void TForm1::Timer2Timer(TObject *)
{
    IAgaloLED1->SetLedOn(!IAgaloLED1->LedOn());
}

void TForm1::Timer3Timer(TObject *)
{
    if (SamplingActive)
        DSSimpleLed1->SetActive(!DSSimpleLed1->Active());
    else
        DSSimpleLed1->SetActive(false);
    if (++Timer3Ticks == 10) {
        Timer3Ticks = 0;
        const TDateTime now = Now();
        StatusBar1->SetPanelText(1, "Time: " + FormatDateTime("dd.mm.yyyy", now) + " [" +
                                        FormatDateTime("hh:mm:ss", now) + "]");
    }
}

void TForm1::Image1Click(TObject *)
{
    Dialogs().ShellExecute("", MakerWebPage, "", "", SW_SHOWNORMAL);
}

void TForm1::StatusBar1Click(TObject *)
{
    Dialogs().ShellExecute("", MakerWebPage, "", "", SW_SHOWNORMAL);
}

} // namespace logbridge
