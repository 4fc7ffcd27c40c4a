// The logger's status and settings: sampling state, period, memory use and
// recordings; the period setting, acquisition start and stop, erase, clock.

#include "MainForm.h"

#include "Buttons.h"
#include "CPort.h"
#include "dxButton.h"
#include "DateTime.h"
#include "DeviceExchange.h"
#include "DeviceTables.h"
#include "EditCtrls.h"
#include "Format.h"
#include "LCD_Lab.h"
#include "ProgressCyl.h"
#include "StdCtrls.h"

namespace logbridge {

namespace {

constexpr const char *CommunicationError = "Greska pri komunikaciji";

} // namespace

void TForm1::dxButton2Click(TObject *)
{
    if (!DeviceConnected)
        return;
    SpeedButton10Click(SpeedButton10);
    SpeedButton5Click(SpeedButton5);
    SpeedButton7Click(SpeedButton7);
    SpeedButton8Click(SpeedButton8);
}

void TForm1::SpeedButton10Click(TObject *)
{
    if (uint8_t(Ask('U', 20)) == 'O') {
        Label16->SetCaption("Uzorkovanje je u toku");
        Label16->Font()->SetColor(clBlue);
        SamplingActive = true;
    } else {
        Label16->SetCaption("Uzorkovanje nije u toku");
        Label16->Font()->SetColor(clGreen);
        SamplingActive = false;
    }
}

void TForm1::SpeedButton5Click(TObject *)
{
    const uint16_t code = Ask('P', 1000);
    if (code == NoReply) {
        ErrorBox(CommunicationError);
        return;
    }
    Edit1->SetText(PeriodName(code));
    ComboBox2->SetItemIndex(code);
    ComboBox2Change(ComboBox2);
    LCDLabel4->SetCaption(PeriodDisplayText(code));
}

void TForm1::SpeedButton7Click(TObject *)
{
    const uint16_t high = Ask('A', 1000);
    if (high == NoReply) {
        ErrorBox(CommunicationError);
        return;
    }
    const uint16_t low = Ask('a', 1000);
    if (low == NoReply) {
        ErrorBox(CommunicationError);
        return;
    }
    const int used = DeviceWord(high, low);
    ProgressCyl2->SetMax(MemorySize);
    ProgressCyl2->SetPosition(used);
    Label14->SetCaption(MemoryUsedText(used));
    LCDLabel5->SetCaption(MemoryPercentText(used));
}

void TForm1::SpeedButton8Click(TObject *)
{
    const uint16_t reply = Ask('N', 1000);
    if (reply == NoReply) {
        ErrorBox(CommunicationError);
        return;
    }
    Edit2->SetText(RecordCountText(reply));
}

void TForm1::ComboBox2Change(TObject *)
{
    Label31->SetCaption(MemoryDurationText(ComboBox2->ItemIndex()));
}

void TForm1::dxButton13Click(TObject *)
{
    const int index = ComboBox2->ItemIndex();
    // Typed text or no choice names no period: nothing is sent.
    if (IsPeriodCode(index) && uint8_t(Ask(uint8_t(index + 10), 1000)) == 'O')
        dxButton2Click(dxButton2);
    else
        ErrorBox("Operacija neuspesna, moliko pokusajte ponovo!");
}

void TForm1::SendAcquisition(uint8_t Command)
{
    if (DevicePresent())
        SendCommandByte(*ComPort1, Command);
    else
        ErrorBox("ORVA uredjaj nije prisutan?!");
}

void TForm1::dxButton9Click(TObject *)
{
    SendAcquisition('G');
}

void TForm1::dxButton10Click(TObject *)
{
    SendAcquisition('g');
}

void TForm1::dxButton4Click(TObject *)
{
    if (!ConfirmBox("Da li ste sigurni da zelite brisanje?"))
        return;
    if (!DevicePresent())
        return;
    if (uint8_t(Ask('U', 20)) == 'O') {
        if (!ConfirmBox("Uzorkovanje u toku. Procedura zahteva da se zaustavi uzorkovanje. Da li "
                        "zaista zelite brisanje?"))
            return;
        SendCommandByte(*ComPort1, 'g');
        Sleep(500);
    }
    SendCommandByte(*ComPort1, 'C');
    Sleep(500);
    if (uint8_t(ReadReplyByte(*ComPort1, 200)) == 'O')
        InfoBox("EEPROM memorija uspesno obrisana.");
    else
        ErrorBox("Greska pri brisanju memorije!");
}

void TForm1::dxButton8Click(TObject *)
{
    if (!ConfirmBox("Da li zelite da se datum i vreme na PC racunaru podese u ORVA uredjaj?"))
        return;
    Label20->Hide();
    if (!DevicePresent()) {
        ErrorBox("ORVA uredjaj nije prisutan?! Proverite kablove.");
        return;
    }
    Label21->SetCaption("Uredjaj prisutan");
    Label21->Font()->SetColor(clBlue);
    int year, month, day, hour, minute, second, ms;
    DecodeDate(Now(), year, month, day);
    if (year < 2006 || year > 2099) {
        ErrorBox("Godina nije u granicama 2006.-2099. Obustavljam sinhronizaciju.");
        return;
    }
    Timer1->SetEnabled(false);
    SendCommandByte(*ComPort1, 'Y');
    Sleep(2000);
    const TDateTime now = Now();
    DecodeDate(now, year, month, day);
    DecodeTime(now, hour, minute, second, ms);
    Label17->SetCaption("Poslati datum i vreme: " + FormatFloat("00", day) + "-" +
                        FormatFloat("00", month) + "-" + FormatFloat("00", year - 2000) + "   [" +
                        FormatFloat("00", hour) + ":" + FormatFloat("00", minute) + ":" +
                        FormatFloat("00", second) + "]");
    Label20->Show();
    const uint8_t clock[6] = {uint8_t(hour), uint8_t(minute), uint8_t(second + 1),
                              uint8_t(day),  uint8_t(month),  uint8_t((year - 2000) % 256)};
    for (int i = 0; i < 6; ++i) {
        SendCommandByte(*ComPort1, clock[i]);
        if (i < 5)
            Sleep(50);
    }
    Timer1->SetEnabled(true);
}

} // namespace logbridge
