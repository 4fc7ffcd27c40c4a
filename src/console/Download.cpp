// The memory download: the request, the stream taken in through the port's
// received-character event, and its end: the image stored, live reading
// back, the offer to save the image, the report written and shown.

#include "MainForm.h"

#include "CPort.h"
#include "ComCtrls.h"
#include "DeviceExchange.h"
#include "DownloadReport.h"
#include "Math.h"
#include "StdCtrls.h"

#include <algorithm>
#include <vector>

namespace logbridge {

namespace {

// How often a running download is looked at for a stall or a lost line.
constexpr unsigned DownloadWatchMs = 100;

std::string Kilobytes(int Bytes)
{
    return std::to_string(Bytes / 1024) + " kB";
}

std::string InterruptedText(int Received, int Expected, int Records)
{
    std::string text = "Preuzimanje prekinuto: primljeno je " + std::to_string(Received) + " od " +
                       std::to_string(Expected) + " bajtova.";
    if (Records > 0)
        return text + " Zadrzani su primljeni celi zapisi: " + std::to_string(Records) + ".";
    return text + " Nijedan ceo zapis nije primljen; prethodni podaci su zadrzani.";
}

} // namespace

void TForm1::FormKeyDown(TObject *, uint16_t &Key, TShiftState)
{
    if (Key == VK_F3)
        dxButton3Click(this);
}

void TForm1::dxButton3Click(TObject *)
{
    // F3 reaches here with the button disabled; a new request would empty
    // the queue that holds what the running download has received.
    if (DownloadActive)
        return;
    Timer1->SetEnabled(false);
    Sleep(100);
    if (!DevicePresent()) {
        ErrorBox("Uredjaj nije prisutan! Molimo proverite kablove i napajanje, pa pokusajte "
                 "ponovo");
        HideDownloadProgress();
        return;
    }
    Label10->Font()->SetColor(clBlue);
    Label10->SetCaption("Uredjaj prisutan");
    Label10->Repaint();
    if (uint8_t(Ask('U', 1000)) == 'O' && !ConfirmBox("Uzorkovanje u toku. Da nastavim?"))
        return;
    const uint16_t high = Ask('A', 1000);
    const uint16_t low = Ask('a', 1000);
    FExpectedBytes = DeviceWord(high, low);
    Label15->SetCaption("Ukupno: " + std::to_string(FExpectedBytes) + "By");
    ProgressBar1->SetMax(FExpectedBytes);
    if (FExpectedBytes < 3) {
        InfoBox("Suvise je malo podataka za iscitavanje");
        HideDownloadProgress();
        Timer1->SetEnabled(true);
        return;
    }
    ProgressBar1->Show();
    DisableDeviceControls();
    DownloadActive = true;
    try {
        SendCommandByte(*ComPort1, 'S');
        Sleep(500);
        // Sending empties both queues, so the stream starts on an empty one.
        SendCommandByte(*ComPort1, 'R');
    } catch (const EComPort &) {
        // The request did not reach the logger: nothing will come.
        EndDownload(0);
        return;
    }
    FWatchedCount = 0;
    FWatchedTick = GetTickCount();
    DownloadWatch->SetInterval(DownloadWatchMs);
    DownloadWatch->SetEnabled(true);
}

void TForm1::ComPort1RxChar(TObject *, int Count)
{
    if (!DownloadActive)
        return;
    if (Count < FExpectedBytes) {
        // Nothing is read yet: the queue holds the image until it is whole.
        ShowDownloadProgress(Count);
        return;
    }
    EndDownload(Count);
}

void TForm1::ShowDownloadProgress(int Count)
{
    const int n = Count + 1;
    Label13->SetCaption("Preuzeto: " + std::to_string(n) + " By | " + Kilobytes(n));
    const int64_t percent = Round(double(Count) / FExpectedBytes * 100);
    SetCaption("Preuzeto: " + std::to_string(n) + " Bytes | " + Kilobytes(n) + " | " +
               std::to_string(percent) + "%");
    ProgressBar1->SetPosition(Count);
}

void TForm1::HideDownloadProgress()
{
    ProgressBar1->SetPosition(0);
    ProgressBar1->Hide();
}

int TForm1::QueuedBytes()
{
    try {
        return ComPort1->Connected() ? ComPort1->QueuedInputCount() : 0;
    } catch (const EComPort &) {
        return 0;
    }
}

void TForm1::DownloadWatchTimer(TObject *)
{
    if (!DownloadActive) {
        DownloadWatch->SetEnabled(false);
        return;
    }
    // A line that went away ends the download at once with what it brought,
    // and the link with it.
    if (ComPort1->DeviceLost()) {
        EndDownload(QueuedBytes());
        LinkLost();
        return;
    }
    const int queued = QueuedBytes();
    const uint32_t now = GetTickCount();
    if (queued > FWatchedCount) {
        FWatchedCount = queued;
        FWatchedTick = now;
        return;
    }
    if (now - FWatchedTick >= DownloadStallMs)
        EndDownload(queued);
}

void TForm1::InterruptDownload()
{
    if (DownloadActive)
        EndDownload(QueuedBytes());
}

void TForm1::EndDownload(int Queued)
{
    DownloadWatch->SetEnabled(false);
    std::vector<uint8_t> bytes(std::size_t(std::clamp(Queued, 0, int(ImageBufferSize))));
    int received = 0;
    try {
        if (!bytes.empty())
            received = ComPort1->ReadBytes(bytes.data(), int32_t(bytes.size()));
    } catch (const EComPort &) {
    }
    const bool complete = received >= FExpectedBytes;
    // A stream cut short keeps its whole records only: the report and the
    // saved file then end on a record the device sent in full.
    const int32_t kept = complete ? FExpectedBytes : received / RecordSize * RecordSize;
    if (kept > 0) {
        ByteCount = kept;
        StoreDownload(*this, bytes.data(), std::size_t(received));
    }
    Label13->SetCaption("Preuzeto: " + std::to_string(received) + " By | " + Kilobytes(received));
    SetCaption(WindowCaption);
    Label10->SetCaption(complete ? "Preuzimanje zavrseno" : "Preuzimanje prekinuto");
    Timer1->SetEnabled(true);
    EnableDeviceControls();
    HideDownloadProgress();
    DownloadActive = false;
    if (!complete)
        ErrorBox(InterruptedText(received, FExpectedBytes, kept / RecordSize));
    // The file steps' failures are told, not thrown: an exception would end
    // the port's event thread, and with it every later download.
    if (kept > 0) {
        ToldOnFailure([this] { dxButton6Click(this); });
        ToldOnFailure([this] { WriteDownloadReport(); });
    }
    try {
        ComPort1->PurgeQueues(true, true);
    } catch (const EComPort &) {
    }
}

void TForm1::WriteDownloadReport()
{
    ShowReport(
        WriteDownloadReportFile(*this, SettingsFolder, Now(), StartReportProgress(ByteCount)));
}

} // namespace logbridge
