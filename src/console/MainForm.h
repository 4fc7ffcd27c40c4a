#pragma once
// The console's main window: the link to the logger, the live view, the
// device status and settings, the memory tab. Built in code from what its
// window resource holds; handlers keep the names they are bound by.

#include "DownloadReport.h"
#include "Forms.h"
#include "MemoryImage.h"

#include <cstdint>
#include <exception>
#include <functional>
#include <string>
#include <vector>

class TComPort;
class TComboBox;
class TCheckBox;
class TEdit;
class TGauge;
class TImage;
class TLabel;
class TPageControl;
class TProgressBar;
class TRichEdit;
class TSaveDialog;
class TOpenDialog;
class TSpeedButton;
class TStatusBar;
class TTabSheet;
class TTrackBar;
class TdxButton;
class TLCDLabel;
class TIAgaloLED;
class TDSSimpleLed;
class TDSCheckBox;
class TDSGradient;
class TProgressCyl;

class TPopupMenu;
class TMenuItem;
class TFindDialog;

namespace logbridge {

constexpr uint8_t VariantPlain = 1; // presence reply "O"
constexpr uint8_t VariantV3 = 2;    // presence reply "o": a version 3.x logger

constexpr const char *WindowCaption = "REZO3 Varadudivezu - RS232 - ver3.7";

// The window and, as its own members, the console's state.
class TForm1 : public TForm, public TConsoleState {
public:
    explicit TForm1(TComponent *AOwner);
    ~TForm1() override;
    const char *ClassName() const override { return "TForm1"; }

    // Where the console keeps its fixed files ("comport.ini", the reports,
    // "temp.dts", "bin_fajlovi") and finds the viewer: the program folder,
    // unless a test moves it.
    std::string SettingsFolder;
    // A download whose input queue has not grown for this long has stopped
    // short; it ends with what came (the device streams without pause). The
    // time runs on the console's tick count (DeviceExchange.h).
    unsigned DownloadStallMs = 3000;
    std::string ComPortIni() const { return SettingsFolder + "/comport.ini"; }

    // ---- components, owned by the window
    TComPort *ComPort1;
    TDSGradient *DSGradient1;
    TImage *Image1;
    TDSSimpleLed *DSSimpleLed1;
    TPageControl *PageControl1;
    TTabSheet *TabSheet1, *TabSheet2, *TabSheet3, *TabSheet4;
    TStatusBar *StatusBar1;
    TTimer *Timer1, *Timer2, *Timer3;
    // Not in the window's resource: watches a running download for a stall.
    TTimer *DownloadWatch;
    // Glavi panel
    TComboBox *ComboBox1;
    TGauge *Gauge1;
    TIAgaloLED *IAgaloLED1, *IAgaloLED2;
    TLabel *Label1, *Label30, *Label7, *Label28, *Label29, *Label33, *Label4;
    TLCDLabel *LCDLabel1, *LCDLabel2, *LCDLabel3, *LCDLabel4, *LCDLabel5;
    TDSCheckBox *DSCheckBox1;
    TTrackBar *TrackBar1;
    TCheckBox *CheckBox4;
    TdxButton *dxButton1, *dxButton14, *dxButton2, *dxButton9, *dxButton10;
    // Rad sa memorijom
    TdxButton *dxButton3, *dxButton4, *dxButton5, *dxButton6, *dxButton7, *dxButton11, *dxButton12;
    TLabel *Label10, *Label13, *Label15, *Label12, *Label26, *Label25;
    TProgressBar *ProgressBar1;
    TProgressCyl *ProgressCyl1;
    TRichEdit *RichEdit1;
    TEdit *Edit3;
    TSpeedButton *SpeedButton1;
    TSaveDialog *SaveDialog1, *SaveDialog2, *SaveDialog3;
    TOpenDialog *OpenDialog1;
    // Podesavanja
    TSpeedButton *SpeedButton10, *SpeedButton5, *SpeedButton7, *SpeedButton8;
    TLabel *Label16, *Label14, *Label31, *Label35, *Label36;
    TEdit *Edit1, *Edit2;
    TComboBox *ComboBox2;
    TProgressCyl *ProgressCyl2;
    TdxButton *dxButton13;
    // Casovnik
    TdxButton *dxButton8;
    TLabel *Label17, *Label20, *Label21;

    // ---- start-up and link
    void FormCreate(TObject *Sender);
    void FormActivate(TObject *Sender);
    void FormClose(TObject *Sender, int &Action);
    void ListSerialPorts();
    bool CheckDeviceConnection();
    void EnableDeviceControls();
    void DisableDeviceControls();
    void ComboBox1Change(TObject *Sender);
    void dxButton14Click(TObject *Sender);
    void dxButton1Click(TObject *Sender);
    void Timer2Timer(TObject *Sender);
    void Timer3Timer(TObject *Sender);
    void Image1Click(TObject *Sender);
    void StatusBar1Click(TObject *Sender);

    // ---- live view
    void ProcitajMerenjaIzUredjaja();
    void IzracunajMereneVrednosti();
    void NulirajPrikazPodataka();
    void Timer1Timer(TObject *Sender);
    void TrackBar1Change(TObject *Sender);
    void Label7Click(TObject *Sender);

    // ---- device status and settings
    void dxButton2Click(TObject *Sender);
    void SpeedButton10Click(TObject *Sender);
    void SpeedButton5Click(TObject *Sender);
    void SpeedButton7Click(TObject *Sender);
    void SpeedButton8Click(TObject *Sender);
    void ComboBox2Change(TObject *Sender);
    void dxButton13Click(TObject *Sender);
    void dxButton9Click(TObject *Sender);
    void dxButton10Click(TObject *Sender);
    void dxButton4Click(TObject *Sender);
    void dxButton8Click(TObject *Sender);

    // ---- memory download, memory images, recordings
    void FormKeyDown(TObject *Sender, uint16_t &Key, TShiftState Shift);
    void dxButton3Click(TObject *Sender);
    void ComPort1RxChar(TObject *Sender, int Count);
    void DownloadWatchTimer(TObject *Sender);
    // Ends a running download now with the bytes received so far, keeping
    // their whole records; nothing while no download runs. Whatever else
    // talks on the line calls it first, since a command empties the queues.
    void InterruptDownload();
    void WriteDownloadReport();
    void dxButton6Click(TObject *Sender);
    void dxButton5Click(TObject *Sender);
    void dxButton7Click(TObject *Sender);
    void dxButton12Click(TObject *Sender);

private:
    void CreateComponents();
    void CreateMainPage();
    void CreateMemoryPage();
    void CreateSettingsPage();
    void CreateClockPage();
    void BindHandlers();
    // The presence command "E": true for "O" and "o".
    bool DevicePresent();
    // Sends Command and reads its reply within Timeout ms.
    uint16_t Ask(uint8_t Command, uint16_t Timeout);
    // The link-lost look: red LED, "Konekcija neuspesna", blinking, no polling.
    void ShowLinkDown();
    // The logger is gone, by silence or with its line: the link-lost look,
    // the device controls off, the displays reset, the event noted.
    void LinkLost();
    // A port whose device went away is closed and opened again, so that a
    // logger plugged back in answers the check; a port that cannot be
    // opened stays closed and the check finds nothing.
    void ReopenLostPort();
    // The acquisition commands "G" and "g", after a presence check.
    void SendAcquisition(uint8_t Command);

    // The end of a download with Queued bytes waiting: complete when they
    // reach what the device announced, else cut short.
    void EndDownload(int Queued);
    void ShowDownloadProgress(int Count);
    void HideDownloadProgress();
    // Bytes waiting in the input queue; 0 when the port is gone.
    int QueuedBytes();
    // Shows ProgressCyl1 for the report of an image of Bytes bytes; what
    // moves it as the records are written.
    std::function<void(int)> StartReportProgress(int32_t Bytes);
    // Shows the report written to Path: loaded into the report view, and
    // once more after a pause; then hides ProgressCyl1.
    void ShowReport(const std::string &Path);
    void LoadReportView(const std::string &Path);

    bool FActivated = false;
    // What the device announced for the running download. ByteCount takes
    // it only when the stream is complete, so a refused or broken request
    // never changes the size of the image already held.
    int32_t FExpectedBytes = 0;
    int FWatchedCount = 0;     // queued bytes at the watchdog's last look
    uint32_t FWatchedTick = 0; // tick count when they last grew

    // ---- report view: the record picker, saving a copy, finding text
public:
    // A selection in the view covers one record stamp.
    static constexpr int StampLength = 23;

    TPopupMenu *PopupMenu1;
    TMenuItem *SaveASRTF1, *Found1;
    TFindDialog *FindDialog1;

    void RichEdit1MouseMove(TObject *Sender, TShiftState Shift, int X, int Y);
    void RichEdit1MouseLeave(TObject *Sender);
    void RichEdit1SelectionChange(TObject *Sender);
    void SpeedButton1Click(TObject *Sender);
    void SaveASRTF1Click(TObject *Sender);
    void dxButton11Click(TObject *Sender);
    void Found1Click(TObject *Sender);
    void FindDialog1Find(TObject *Sender);

private:
    void BindReportView();
};

// The maker's web page, opened by the logo and the status bar.
extern const char *const MakerWebPage;

// The console's message boxes: error, information, yes/no question, and
// the plain box under the application title.
void ErrorBox(const std::string &Text);
void InfoBox(const std::string &Text);
bool ConfirmBox(const std::string &Text);
void PlainBox(const std::string &Text);

// Runs a file step and tells what fails in an error box: whether it ran
// through. A handler that goes on after a failed step (the end of a
// download, the port's event thread waiting on it) or must undo what it
// began (a load) cannot leave that to the application's handling.
template <class F> bool ToldOnFailure(F &&Step)
{
    try {
        Step();
        return true;
    } catch (const std::exception &E) {
        ErrorBox(E.what());
        return false;
    }
}

// The console's pause: blocks the GUI thread, serving nothing.
void Sleep(unsigned Milliseconds);

} // namespace logbridge
