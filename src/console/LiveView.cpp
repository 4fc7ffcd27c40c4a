// The live view: polling the logger on Timer1 and showing temperature,
// humidity and dew point.

#include "MainForm.h"

#include "ComCtrls.h"
#include "DSCheckBox.h"
#include "DateTime.h"
#include "DeviceExchange.h"
#include "Format.h"
#include "IAgaloLED.h"
#include "LCD_Lab.h"
#include "LiveValues.h"
#include "StdCtrls.h"

namespace logbridge {

void TForm1::ProcitajMerenjaIzUredjaja()
{
    // A port whose device has gone fails its commands: the logger is as
    // lost as one that does not answer.
    bool read = false;
    LineHeld([&] {
        if (!DevicePresent())
            return;
        DeviceConnected = true;
        const uint16_t tHigh = Ask('T', 1000);
        const uint16_t tLow = Ask('t', 1000);
        RawTemperature = DeviceWord(tHigh, tLow);
        const uint16_t hHigh = Ask('H', 1000);
        const uint16_t hLow = Ask('h', 1000);
        RawHumidity = DeviceWord(hHigh, hLow);
        IzracunajMereneVrednosti();
        read = true;
    });
    if (!read)
        LinkLost();
}

void TForm1::LinkLost()
{
    ShowLinkDown();
    DeviceConnected = false;
    DisableDeviceControls();
    NulirajPrikazPodataka();
    const TDateTime now = Now();
    Label33->SetCaption("Last Event: Communication lost @" + FormatDateTime("dd.mm.yyyy", now) +
                        " [" + FormatDateTime("hh:mm:ss", now) + "]");
}

void TForm1::IzracunajMereneVrednosti()
{
    const TLiveTexts texts =
        LiveTexts(RawTemperature, RawHumidity, DSCheckBox1->Checked(), CompensatedHumidityShown);
    LCDLabel1->SetCaption(texts.Temperature);
    Label28->SetCaption(texts.TemperatureUnit);
    LCDLabel2->SetCaption(texts.Humidity);
    Label7->SetCaption(texts.HumidityCaption);
    if (texts.DewPointShown)
        LCDLabel3->SetCaption(texts.DewPoint);
}

void TForm1::NulirajPrikazPodataka()
{
    LCDLabel1->SetCaption("----------");
    LCDLabel2->SetCaption("----------");
    LCDLabel3->SetCaption("----------");
    LCDLabel4->SetCaption("Period: ---");
    LCDLabel5->SetCaption("Mem: ---");
}

void TForm1::Timer1Timer(TObject *)
{
    IAgaloLED2->SetLedOn(!IAgaloLED2->LedOn());
    ProcitajMerenjaIzUredjaja();
    if (PageControl1->ActivePageIndex() == 0)
        dxButton2Click(this);
}

void TForm1::TrackBar1Change(TObject *)
{
    const int position = TrackBar1->Position();
    if (CheckBox4->Checked()) {
        Timer1->SetInterval(unsigned(position) * 60000);
        Label4->SetCaption(std::to_string(position) + " min");
    } else {
        Timer1->SetInterval(unsigned(position) * 1000);
        Label4->SetCaption(std::to_string(position) + " sec");
    }
}

void TForm1::Label7Click(TObject *)
{
    CompensatedHumidityShown = !CompensatedHumidityShown;
}

} // namespace logbridge
