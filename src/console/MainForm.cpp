#include "MainForm.h"

#include "ControlLooks.h"
#include "ButtonGlyphs.h"
#include "Buttons.h"
#include "CPort.h"
#include "ComCtrls.h"
#include "DSCheckBox.h"
#include "DSGradient.h"
#include "DSIndicators.h"
#include "DeviceExchange.h"
#include "DtsExport.h"
#include "Dialogs.h"
#include "EditCtrls.h"
#include "ExtCtrls.h"
#include "Gauges.h"
#include "IAgaloLED.h"
#include "LCD_Lab.h"
#include "Menus.h"
#include "ProgressCyl.h"
#include "RichEdit.h"
#include "StdCtrls.h"
#include "System.h"
#include "dxButton.h"

#include <chrono>
#include <optional>
#include <thread>

namespace logbridge {

const char *const MakerWebPage = "https://www.orva-logger.example/";

void ErrorBox(const std::string &Text)
{
    Dialogs().MessageBox(Text, "Error", MB_OK | MB_ICONERROR);
}

void InfoBox(const std::string &Text)
{
    Dialogs().MessageBox(Text, "Information", MB_OK | MB_ICONINFORMATION);
}

bool ConfirmBox(const std::string &Text)
{
    return Dialogs().MessageBox(Text, "Confirm", MB_YESNO | MB_ICONQUESTION) == IDYES;
}

void PlainBox(const std::string &Text)
{
    Dialogs().MessageBox(Text, Application->Title, MB_OK);
}

void Sleep(unsigned Milliseconds)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(Milliseconds));
}

namespace {

// Creates a component of the window with its name, in the loading state;
// the window ends loading for all of them at once.
template <class T>
T *Make(TForm1 *Form, TWinControl *Parent, const char *Name, int Left, int Top, int Width,
        int Height)
{
    T *c = new T(Form);
    c->BeginLoading();
    c->SetName(Name);
    c->SetParent(Parent);
    c->SetBounds(Left, Top, Width, Height);
    return c;
}

template <class T> T *MakeComponent(TForm1 *Form, const char *Name)
{
    T *c = new T(Form);
    c->BeginLoading();
    c->SetName(Name);
    return c;
}

TLabel *MakeLabel(TForm1 *Form, TWinControl *Parent, const char *Name, int Left, int Top,
                  const std::string &Caption)
{
    auto *label = Make<TLabel>(Form, Parent, Name, Left, Top, 0, 13);
    label->SetCaption(Caption);
    return label;
}

// A command button; all but "Prikazi Grafik" carry a picture.
TdxButton *MakeButton(TForm1 *Form, TWinControl *Parent, const char *Name, int Left, int Top,
                      int Width, const std::string &Caption, bool Enabled,
                      std::optional<TButtonGlyph> Glyph)
{
    auto *button = Make<TdxButton>(Form, Parent, Name, Left, Top, Width, 41);
    button->SetCursor(crHandPoint);
    button->SetCaption(Caption);
    button->SetEnabled(Enabled);
    if (Glyph) {
        TBitmap picture;
        PaintButtonGlyph(&picture, *Glyph);
        button->SetGlyph(&picture);
    }
    return button;
}

// Three large read-outs of six cells, two small of fourteen.
TLCDLabel *MakeReadout(TForm1 *Form, TWinControl *Parent, const char *Name, int Left, int Top,
                       bool Large, const std::string &Caption)
{
    auto *lcd = new TLCDLabel(Form);
    lcd->BeginLoading();
    lcd->SetName(Name);
    lcd->SetParent(Parent);
    lcd->SetLeft(Left);
    lcd->SetTop(Top);
    lcd->SetPixelSize(Large ? pix3x3 : pix1x1);
    lcd->SetNoOfChars(Large ? 6 : 14);
    lcd->SetCaption(Caption);
    return lcd;
}

template <class T>
T *MakeFileDialog(TForm1 *Form, const char *Name, const char *DefaultExt, const char *Filter,
                  const char *Title)
{
    T *dialog = MakeComponent<T>(Form, Name);
    dialog->DefaultExt = DefaultExt;
    dialog->Filter = Filter;
    dialog->Title = Title;
    return dialog;
}

TSpeedButton *MakeSpeedButton(TForm1 *Form, TWinControl *Parent, const char *Name, int Left,
                              int Top, int Width, const std::string &Caption, bool Enabled)
{
    auto *button = Make<TSpeedButton>(Form, Parent, Name, Left, Top, Width, 22);
    button->SetFlat(true);
    button->SetCaption(Caption);
    button->SetEnabled(Enabled);
    return button;
}

} // namespace

TForm1::TForm1(TComponent *AOwner) : TForm(AOwner), SettingsFolder(ProgramFolder())
{
    BeginLoading();
    SetCaption(WindowCaption);
    SetClientWidth(577);
    SetClientHeight(478);
    KeyPreview = true;
    CreateComponents();
    BindHandlers();
    for (TComponent *c : Components())
        c->EndLoading();
    EndLoading();
    FormCreate(this);
}

TForm1::~TForm1()
{
    // The port's event thread must stop while the handlers' window still
    // lives; a failing close has nothing left to tell.
    try {
        ComPort1->SetConnected(false);
    } catch (const std::exception &) {
    }
}

void TForm1::CreateComponents()
{
    ComPort1 = MakeComponent<TComPort>(this, "ComPort1");
    ComPort1->SetPort("COM2");
    ComPort1->SetBaudRate(br19200);
    ComPort1->SetDataBits(dbEight);
    ComPort1->SetStopBits(sbOneStopBit);
    ComPort1->Parity()->SetBits(prNone);
    ComPort1->FlowControl()->SetControlDTR(dtrDisable);
    ComPort1->FlowControl()->SetControlRTS(rtsDisable);
    ComPort1->Buffer()->SetInputSize(65536);
    ComPort1->SetEvents({evRxChar});

    // The header lies beneath the page control too; its press moves the window.
    DSGradient1 = Make<TDSGradient>(this, this, "DSGradient1", 0, 0, 577, 161);
    DSGradient1->SetStartColor(0x804000);
    DSGradient1->SetEndColor(0x554A4A);
    DSGradient1->SetDirection(tgdLeftRight);

    Image1 = Make<TImage>(this, this, "Image1", 8, 6, 160, 52);
    Image1->SetCursor(crHandPoint);
    Image1->SetHint(MakerWebPage);
    // The maker's logo: the name in white on the header's left colour.
    TBitmap *logo = Image1->Picture();
    logo->SetPixelFormat(pf24bit);
    logo->SetSize(160, 52);
    logo->Canvas()->Brush()->SetColor(0x804000);
    logo->Canvas()->FillRect(Rect(0, 0, 160, 52));
    logo->Canvas()->Font()->SetName("Verdana");
    logo->Canvas()->Font()->SetHeight(-26);
    logo->Canvas()->Font()->SetStyle(fsBold);
    logo->Canvas()->Font()->SetColor(clWhite);
    logo->Canvas()->Brush()->SetStyle(bsClear);
    logo->Canvas()->TextOut(4, 2, "REZO3");
    logo->Canvas()->Font()->SetHeight(-11);
    logo->Canvas()->TextOut(6, 34, "ORVA RS232 logger");

    DSSimpleLed1 = Make<TDSSimpleLed>(this, this, "DSSimpleLed1", 540, 20, 25, 25);
    DSSimpleLed1->SetLedType(tltLargeRect);
    DSSimpleLed1->SetTransparent(true);
    DSSimpleLed1->SetHint("Uzorkovanje");

    PageControl1 = Make<TPageControl>(this, this, "PageControl1", 0, 64, 577, 395);
    const char *names[] = {"TabSheet1", "TabSheet2", "TabSheet3", "TabSheet4"};
    const char *captions[] = {"Glavi panel", "Rad sa memorijom", "Podesavanja", "Casovnik"};
    TTabSheet **sheets[] = {&TabSheet1, &TabSheet2, &TabSheet3, &TabSheet4};
    for (int i = 0; i < 4; ++i) {
        TTabSheet *sheet = MakeComponent<TTabSheet>(this, names[i]);
        sheet->SetCaption(captions[i]);
        sheet->SetPageControl(PageControl1);
        *sheets[i] = sheet;
    }

    StatusBar1 = Make<TStatusBar>(this, this, "StatusBar1", 0, 459, 577, 19);
    StatusBar1->AddPanel("Vestrano 2007.", 120);
    StatusBar1->AddPanel("", 220);
    StatusBar1->AddPanel("", 50);
    StatusBar1->SetCursor(crHandPoint);

    Timer1 = MakeComponent<TTimer>(this, "Timer1");
    Timer1->SetEnabled(false);
    Timer1->SetInterval(1000);
    Timer2 = MakeComponent<TTimer>(this, "Timer2");
    Timer2->SetInterval(1000);
    Timer3 = MakeComponent<TTimer>(this, "Timer3");
    Timer3->SetInterval(100);
    DownloadWatch = MakeComponent<TTimer>(this, "DownloadWatch");
    DownloadWatch->SetEnabled(false);

    CreateMainPage();
    CreateMemoryPage();
    CreateSettingsPage();
    CreateClockPage();
}

void TForm1::CreateMainPage()
{
    TTabSheet *p = TabSheet1;
    MakeLabel(this, p, "Label2", 12, 10, "Port:");
    ComboBox1 = Make<TComboBox>(this, p, "ComboBox1", 12, 26, 121, 21);
    ComboBox1->SetText("COM2");
    dxButton1 = MakeButton(this, p, "dxButton1", 144, 10, 113, "Osvezi komunikaciju", true,
                           TButtonGlyph::Refresh);
    dxButton1->SetColor(clActiveBorder);
    dxButton1->SetParentColor(false);
    VerdanaBold(dxButton1, clBlack);
    dxButton1->Colors()->SetBackgroundFrom(0xCACBCA);
    dxButton1->Colors()->SetBackgroundTo(clSilver);
    dxButton1->SetQuality(bqHigh);
    dxButton14 = MakeButton(this, p, "dxButton14", 264, 10, 113, "Pronadji uredjaj", true,
                            TButtonGlyph::FindDevice);
    VerdanaBold(dxButton14, clWindowText);
    dxButton14->Colors()->SetBackgroundFrom(clMenu);
    dxButton14->Colors()->SetBackgroundTo(0xD0D8DF);
    dxButton14->SetSpacing(6);
    Label30 = MakeLabel(this, p, "Label30", 388, 24, "Pronadjen:");

    IAgaloLED1 = Make<TIAgaloLED>(this, p, "IAgaloLED1", 12, 58, 24, 14);
    IAgaloLED1->SetLedPlasticColor(clLime);
    IAgaloLED1->SetLedWidth(20);
    IAgaloLED1->SetLedHeight(10);
    Label1 = MakeLabel(this, p, "Label1", 42, 58, "Konekcija");
    Gauge1 = Make<TGauge>(this, p, "Gauge1", 200, 56, 180, 17);
    Gauge1->SetForeColor(clNavy);
    Gauge1->SetVisible(false);

    MakeLabel(this, p, "Label3", 12, 92, "Temperatura:");
    LCDLabel1 = MakeReadout(this, p, "LCDLabel1", 12, 110, true, "----------");
    Label28 = MakeLabel(this, p, "Label28", 150, 118,
                        "\xB0"
                        "C");
    Label28->Font()->SetHeight(-16);
    Label28->Font()->SetStyle(fsBold);
    DSCheckBox1 = Make<TDSCheckBox>(this, p, "DSCheckBox1", 150, 145, 60, 13);
    DSCheckBox1->Font()->SetName("Tahoma");
    DSCheckBox1->Font()->SetStyle(fsBold);
    DSCheckBox1->SetCaption("\xB0"
                            "C/F");
    DSCheckBox1->SetChecked(true);

    Label7 = MakeLabel(this, p, "Label7", 200, 92, "Relativna vlaznost:");
    Label7->SetHint("Ukoliko kliknete, dobicete linearizovan prikaz");
    Label7->SetShowHint(true);
    Label7->SetCursor(crHandPoint);
    LCDLabel2 = MakeReadout(this, p, "LCDLabel2", 200, 110, true, "----------");
    MakeLabel(this, p, "Label5", 338, 118, "%");

    MakeLabel(this, p, "Label6", 388, 92, "Tacka rose:");
    LCDLabel3 = MakeReadout(this, p, "LCDLabel3", 388, 110, true, "----------");
    Label29 = MakeLabel(this, p, "Label29", 526, 118,
                        "\xB0"
                        "C");

    LCDLabel4 = MakeReadout(this, p, "LCDLabel4", 12, 176, false, "Period: ---");
    LCDLabel5 = MakeReadout(this, p, "LCDLabel5", 200, 176, false, "Mem: ---");

    MakeLabel(this, p, "Label8", 12, 210, "Ocitavanje na:");
    TrackBar1 = Make<TTrackBar>(this, p, "TrackBar1", 12, 226, 220, 30);
    TrackBar1->SetMin(1);
    TrackBar1->SetMax(30);
    TrackBar1->SetPosition(1);
    Label4 = MakeLabel(this, p, "Label4", 240, 232, "1 sec");
    CheckBox4 = Make<TCheckBox>(this, p, "CheckBox4", 300, 230, 70, 17);
    CheckBox4->SetCaption("Minuti");
    IAgaloLED2 = Make<TIAgaloLED>(this, p, "IAgaloLED2", 388, 234, 41, 9);
    IAgaloLED2->SetLedPlasticColor(clAqua);
    IAgaloLED2->SetLedWidth(37);
    IAgaloLED2->SetLedHeight(5);

    dxButton9 = MakeButton(this, p, "dxButton9", 12, 270, 97, "Pokreni akviziciju", false,
                           TButtonGlyph::StartAcquisition);
    Acquisition(dxButton9, clGreen);
    dxButton10 = MakeButton(this, p, "dxButton10", 116, 270, 97, "Zaustavi akviziciju", false,
                            TButtonGlyph::StopAcquisition);
    Acquisition(dxButton10, clMaroon);
    dxButton2 = MakeButton(this, p, "dxButton2", 220, 270, 145, "Procitaj sve parametre", false,
                           TButtonGlyph::ReadAll);
    Pale(dxButton2);
    dxButton2->Colors()->SetBorderEdges(clScrollBar);
    dxButton2->SetQuality(bqHigh);

    Label33 = MakeLabel(this, p, "Label33", 12, 330, "Last Event: Normal Work");
}

void TForm1::CreateMemoryPage()
{
    TTabSheet *p = TabSheet2;
    dxButton3 =
        MakeButton(this, p, "dxButton3", 8, 8, 153, "PROCITAJ (F3)", false, TButtonGlyph::Download);
    Pale(dxButton3);
    dxButton3->Colors()->SetBorderEdges(clScrollBar);
    dxButton4 = MakeButton(this, p, "dxButton4", 8, 56, 145, "OBRISI", false, TButtonGlyph::Erase);
    Pale(dxButton4);
    Label10 = MakeLabel(this, p, "Label10", 170, 10, "Status");
    Label13 = MakeLabel(this, p, "Label13", 170, 28, "Preuzeto:");
    Label15 = MakeLabel(this, p, "Label15", 170, 46, "Ukupno:");
    ProgressBar1 = Make<TProgressBar>(this, p, "ProgressBar1", 170, 66, 200, 16);
    ProgressBar1->SetVisible(false);
    ProgressCyl1 = Make<TProgressCyl>(this, p, "ProgressCyl1", 350, 8, 217, 17);
    ProgressCyl1->SetBevelOuter(bvNone);
    ProgressCyl1->SetBorderWidth(0);
    ProgressCyl1->SetFontShadowColor(clBlack);
    ProgressCyl1->SetProEffect(peGlassBlue);

    dxButton5 =
        MakeButton(this, p, "dxButton5", 8, 104, 121, "Ucitaj BIN", true, TButtonGlyph::LoadImage);
    Pale(dxButton5);
    dxButton6 =
        MakeButton(this, p, "dxButton6", 136, 104, 121, "Snimi BIN", true, TButtonGlyph::SaveImage);
    Pale(dxButton6);
    dxButton7 = MakeButton(this, p, "dxButton7", 264, 104, 121, "Export DTS", true,
                           TButtonGlyph::ExportRecording);
    Pale(dxButton7);
    dxButton12 =
        MakeButton(this, p, "dxButton12", 392, 104, 121, "Prikazi Grafik", true, std::nullopt);
    Label12 = MakeLabel(this, p, "Label12", 8, 150, "Naziv snimljenog fajla");
    Label12->SetShowHint(true);

    RichEdit1 = Make<TRichEdit>(this, p, "RichEdit1", 8, 168, 400, 196);
    RichEdit1->SetReadOnly(true);
    RichEdit1->SetScrollBars(ssVertical);
    // One report line, one line on the screen: a record's stamp then always
    // begins the line a click at the left edge picks from.
    RichEdit1->SetWordWrap(false);
    RichEdit1->Font()->SetName("Courier New");
    RichEdit1->SetHint("Kliknite desnim dugmetom za MENI");
    RichEdit1->SetShowHint(true);

    Label25 = MakeLabel(this, p, "Label25", 416, 168, "Export DTS od:");
    Edit3 = Make<TEdit>(this, p, "Edit3", 416, 184, 150, 21);
    SpeedButton1 = MakeSpeedButton(this, p, "SpeedButton1", 416, 210, 150, "Selektuj sve", true);
    Label26 = MakeLabel(this, p, "Label26", 416, 240, "Info");
    Label26->Font()->SetName("Courier New");
    Label26->Font()->SetStyle(fsBold);
    // A selection range is far wider than the column: it breaks into lines
    // of a box of its own, which a long text never widens.
    Label26->SetAutoSize(false);
    Label26->SetWordWrap(true);
    Label26->SetBounds(416, 240, 150, 78);
    dxButton11 = MakeButton(this, p, "dxButton11", 416, 322, 121, "Export RTF", true,
                            TButtonGlyph::ExportRtf);
    dxButton11->Colors()->SetBackgroundFrom(0xD7D6D5);
    dxButton11->Colors()->SetBackgroundTo(0xD7D6D5);

    SaveDialog1 =
        MakeFileDialog<TSaveDialog>(this, "SaveDialog1", BinDefaultExt, BinFilter, BinSaveTitle);
    OpenDialog1 =
        MakeFileDialog<TOpenDialog>(this, "OpenDialog1", BinDefaultExt, BinFilter, BinOpenTitle);
    SaveDialog2 =
        MakeFileDialog<TSaveDialog>(this, "SaveDialog2", DtsDefaultExt, DtsFilter, DtsSaveTitle);
    SaveDialog3 = MakeFileDialog<TSaveDialog>(this, "SaveDialog3", "*.rtf",
                                              "Rich text format (*.RTF)|*.rtf|All files|*.*", "");
    PopupMenu1 = MakeComponent<TPopupMenu>(this, "PopupMenu1");
    SaveASRTF1 = MakeComponent<TMenuItem>(this, "SaveASRTF1");
    SaveASRTF1->SetCaption("Save AS (RTF)");
    PopupMenu1->Add(SaveASRTF1);
    Found1 = MakeComponent<TMenuItem>(this, "Found1");
    Found1->SetCaption("Trazi");
    PopupMenu1->Add(Found1);
    FindDialog1 = MakeComponent<TFindDialog>(this, "FindDialog1");
    RichEdit1->SetPopupMenu(PopupMenu1);
}

void TForm1::CreateSettingsPage()
{
    TTabSheet *p = TabSheet3;
    SpeedButton10 = MakeSpeedButton(this, p, "SpeedButton10", 8, 10, 130, "Status uredjaja", false);
    Label16 = MakeLabel(this, p, "Label16", 150, 14, "Uzorkovanje");
    SpeedButton5 =
        MakeSpeedButton(this, p, "SpeedButton5", 8, 42, 130, "Period semplovanja", false);
    Edit1 = Make<TEdit>(this, p, "Edit1", 150, 42, 121, 21);
    Edit1->SetReadOnly(true);
    Edit1->SetText("Period");
    SpeedButton7 = MakeSpeedButton(this, p, "SpeedButton7", 8, 74, 130, "Status memorije", false);
    ProgressCyl2 = Make<TProgressCyl>(this, p, "ProgressCyl2", 150, 74, 217, 22);
    MemoryUseBar(ProgressCyl2);
    Label14 = MakeLabel(this, p, "Label14", 150, 100, "Zauzetost memorije");
    SpeedButton8 = MakeSpeedButton(this, p, "SpeedButton8", 8, 120, 130, "Ukupno zapisa", false);
    Edit2 = Make<TEdit>(this, p, "Edit2", 150, 120, 121, 21);
    Edit2->SetText("Zapisa");

    MakeLabel(this, p, "Label18", 8, 172, "Period uzorkovanja:");
    ComboBox2 = Make<TComboBox>(this, p, "ComboBox2", 8, 190, 145, 21);
    for (const char *item : {"2   sekunde", "10 sekundi", "30 sekundi", "1   minut ", "5   minuta ",
                             "10 minuta", "20 minuta", "30 minuta", "1  sat", "5 sati"})
        ComboBox2->AddItem(item);
    ComboBox2->SetText("Odaberite period");
    Label31 = MakeLabel(this, p, "Label31", 8, 218, "Memorija za:");
    dxButton13 = MakeButton(this, p, "dxButton13", 170, 180, 137, "     Snimi podesavanja", false,
                            TButtonGlyph::SaveSettings);
    Pale(dxButton13);
    dxButton13->Colors()->SetBorderEdges(clScrollBar);
    Label35 = MakeLabel(this, p, "Label35", 316, 186, "Ova opcija je moguca samo");
    Label36 = MakeLabel(this, p, "Label36", 316, 202, "kod REZO3 uredjaja (v 3.x)");
}

void TForm1::CreateClockPage()
{
    TTabSheet *p = TabSheet4;
    Label21 = MakeLabel(this, p, "Label21", 12, 12, "Da li je uredjaj prisutan?");
    dxButton8 = MakeButton(this, p, "dxButton8", 12, 36, 313, "    Sinhronizuj CASOVNIK PC => ORVA",
                           false, TButtonGlyph::ClockSync);
    Pale(dxButton8);
    dxButton8->Colors()->SetHighlightFrom(clNavy);
    dxButton8->Colors()->SetHighlightTo(clNavy);
    Label17 = MakeLabel(this, p, "Label17", 12, 90, "Status");
    Label20 = MakeLabel(this, p, "Label20", 12, 112,
                        "Ukoliko ste culi kratak zvucni signa iz ORVA uredjaja, sinhronizacija je "
                        "uspesna.");
    Label20->SetVisible(false);
}

void TForm1::BindHandlers()
{
    using namespace std::placeholders;
    // A command on a port whose device has gone fails in the serial layer;
    // the user is shown the lost link, as for a logger that does not answer.
    // Other failures (settings files) end the handler as they always did.
    auto bind = [this](void (TForm1::*Handler)(TObject *)) {
        return [this, Handler](TObject *Sender) {
            if (!LineHeld([&] { (this->*Handler)(Sender); })) {
                InterruptDownload();
                LinkLost();
            }
        };
    };
    OnActivate = [this](TObject *Sender) {
        // The window becomes the focused form once; a message box handing the
        // focus back does not start the link again.
        if (FActivated)
            return;
        FActivated = true;
        FormActivate(Sender);
    };
    OnClose = [this](TObject *Sender, int &Action) { FormClose(Sender, Action); };
    ComboBox1->OnChange = bind(&TForm1::ComboBox1Change);
    dxButton14->OnClick = bind(&TForm1::dxButton14Click);
    dxButton1->OnClick = bind(&TForm1::dxButton1Click);
    Timer1->OnTimer = bind(&TForm1::Timer1Timer);
    Timer2->OnTimer = bind(&TForm1::Timer2Timer);
    Timer3->OnTimer = bind(&TForm1::Timer3Timer);
    Image1->OnClick = bind(&TForm1::Image1Click);
    StatusBar1->OnClick = bind(&TForm1::StatusBar1Click);
    TrackBar1->OnChange = bind(&TForm1::TrackBar1Change);
    Label7->OnClick = bind(&TForm1::Label7Click);
    BindReportView();
    dxButton2->OnClick = bind(&TForm1::dxButton2Click);
    SpeedButton10->OnClick = bind(&TForm1::SpeedButton10Click);
    SpeedButton5->OnClick = bind(&TForm1::SpeedButton5Click);
    SpeedButton7->OnClick = bind(&TForm1::SpeedButton7Click);
    SpeedButton8->OnClick = bind(&TForm1::SpeedButton8Click);
    ComboBox2->OnChange = bind(&TForm1::ComboBox2Change);
    dxButton13->OnClick = bind(&TForm1::dxButton13Click);
    dxButton9->OnClick = bind(&TForm1::dxButton9Click);
    dxButton10->OnClick = bind(&TForm1::dxButton10Click);
    dxButton4->OnClick = bind(&TForm1::dxButton4Click);
    dxButton8->OnClick = bind(&TForm1::dxButton8Click);
    OnKeyDown = [this](TObject *Sender, uint16_t &Key, TShiftState Shift) {
        FormKeyDown(Sender, Key, Shift);
    };
    dxButton3->OnClick = bind(&TForm1::dxButton3Click);
    ComPort1->OnRxChar = [this](TObject *Sender, int Count) { ComPort1RxChar(Sender, Count); };
    DownloadWatch->OnTimer = bind(&TForm1::DownloadWatchTimer);
    dxButton5->OnClick = bind(&TForm1::dxButton5Click);
    dxButton6->OnClick = bind(&TForm1::dxButton6Click);
    dxButton7->OnClick = bind(&TForm1::dxButton7Click);
    dxButton12->OnClick = bind(&TForm1::dxButton12Click);
}

} // namespace logbridge
