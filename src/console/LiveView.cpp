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
#include "StdCtrls.h"

#include <cmath>

namespace logbridge {

namespace {

double Celsius(unsigned St) { return St * 0.01 - 40; }
double Fahrenheit(unsigned St) { return St * 0.018 - 40; }
double LinearHumidity(unsigned Srh) { return Srh * 0.0405 - 4 + Srh * (-0.0000028) * Srh; }

} // namespace

double RawToTemperature(uint8_t High, uint8_t Low)
{
    return Celsius(High * 256u + Low);
}

double RawToHumidity(uint8_t High, uint8_t Low)
{
    return LinearHumidity(High * 256u + Low);
}

void TForm1::ProcitajMerenjaIzUredjaja()
{
    if (DevicePresent()) {
        DeviceConnected = true;
        const uint16_t tHigh = Ask('T', 1000);
        const uint16_t tLow = Ask('t', 1000);
        RawTemperature = DeviceWord(tHigh, tLow);
        const uint16_t hHigh = Ask('H', 1000);
        const uint16_t hLow = Ask('h', 1000);
        RawHumidity = DeviceWord(hHigh, hLow);
        IzracunajMereneVrednosti();
        return;
    }
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
    const unsigned St = RawTemperature;
    const unsigned Srh = RawHumidity;
    const double T = Celsius(St);
    const double F = Fahrenheit(St);
    if (DSCheckBox1->Checked()) {
        LCDLabel1->SetCaption(FormatFloat("0.00", T));
        Label28->SetCaption("\xB0"
                            "C");
    } else {
        LCDLabel1->SetCaption(FormatFloat("0.00", F));
        Label28->SetCaption("F");
    }
    const double RHlin = LinearHumidity(Srh);
    if (!CompensatedHumidityShown) {
        LCDLabel2->SetCaption(FormatFloat("0.00", RHlin));
        Label7->SetCaption("Relativna vlaznost:");
    }
    const double RHcomp = (T - 25) * (Srh * 0.00008 - 0.01) + RHlin;
    if (CompensatedHumidityShown) {
        LCDLabel2->SetCaption(FormatFloat("0.00", RHcomp));
        Label7->SetCaption("Relativna vlaznost[LIN]:");
    }
    if (RHlin > 0) {
        const double L = std::log10(RHlin) + 7.5 * T / (237.3 + T) + 0.66077 - 2;
        const double Td = (0.66077 - L) * 237.3 / (L - 8.16077);
        LCDLabel3->SetCaption(FormatFloat("0.00", Td));
    }
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
