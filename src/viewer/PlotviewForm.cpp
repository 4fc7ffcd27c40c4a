#include "PlotviewForm.h"

#include "ButtonGlyphs.h"
#include "ChartWidget.h"
#include "System.h"
#include "ViewerPictures.h"

#include <filesystem>

namespace plotview {

namespace {

constexpr int PanelHeight = 100;

// Creates a component of the window as its resource would: named, placed
// on its parent, and loading until the whole window is built.
template <class T, class... Args>
T *Make(std::vector<TComponent *> &Loading, const char *Name, TWinControl *Parent, Args &&...A)
{
    T *c = new T(std::forward<Args>(A)...);
    c->BeginLoading();
    c->SetName(Name);
    if constexpr (std::is_base_of_v<TControl, T>)
        if (Parent)
            c->SetParent(Parent);
    Loading.push_back(c);
    return c;
}

TdxButton *MakeButton(std::vector<TComponent *> &Loading, TForm1 *Form, const char *Name,
                      TWinControl *Parent, const char *Caption, TRect Place)
{
    auto *b = Make<TdxButton>(Loading, Name, Parent, Form);
    b->SetCaption(Caption);
    b->SetBounds(Place.Left, Place.Top, Place.Width(), Place.Height());
    b->SetCursor(crHandPoint);
    return b;
}

TLineSeries *MakeSeries(std::vector<TComponent *> &Loading, const char *Name, TChart *Chart,
                        const char *Title, QColor Color)
{
    auto *s = Make<TLineSeries>(Loading, Name, nullptr, Chart);
    s->SetTitle(Title);
    s->SetSeriesColor(Color);
    s->SetLinePenWidth(2);
    s->Marks().SetStyle(smsValue);
    s->Marks().SetVisible(false);
    return s;
}

bool IsFile(const std::string &Path)
{
    std::error_code error;
    return std::filesystem::is_regular_file(Path, error);
}

} // namespace

TForm1::TForm1(TComponent *AOwner) : TForm(AOwner)
{
    std::vector<TComponent *> loading;
    BeginLoading();
    SetName("Form1");
    SetCaption("REZO3 Darazev - v1.5 - 29.10.2007.");
    SetBounds(Left(), Top(), 587, 436);
    KeyPreview = true;

    Chart1 = Make<TChart>(loading, "Chart1", nullptr, this);
    Chart1->BottomAxis().SetTitleCaption("Datum i vreme");
    Chart1->LeftAxis().SetTitleCaption("\xB0"
                                       "C i %RH");
    Chart1->LeftAxis().SetAutomaticMinimum(false);
    Chart1->LeftAxis().SetMinimum(0);
    Chart1->LeftAxis().SetAutomaticMaximum(true);
    Chart1->SetView3D(false);
    Chart1->SetPrintProportional(false);
    Chart1->SetLegendVisible(true);
    Series1 = MakeSeries(loading, "Series1", Chart1,
                         "Temperatura (\xB0"
                         "C)",
                         QColor(255, 0, 0));
    Series2 = MakeSeries(loading, "Series2", Chart1, "Vlaznost (%RH)", QColor(0, 128, 0));
    ChartView = Make<TWidgetControl>(loading, "ChartView", this, this, new TChartWidget(*Chart1));

    Panel1 = Make<TPanel>(loading, "Panel1", this, this);
    Panel1->SetCaption("");

    GroupBox1 = Make<TGroupBox>(loading, "GroupBox1", Panel1, this);
    GroupBox1->SetCaption("  Info panel  ");
    GroupBox1->SetBounds(4, 4, 190, 92);
    Label1 = Make<TLabel>(loading, "Label1", GroupBox1, this);
    Label1->SetCaption("Ukupno zapisa");
    Label1->SetBounds(10, 20, 65, 13);
    Label2 = Make<TLabel>(loading, "Label2", GroupBox1, this);
    Label2->SetCaption("Start");
    Label2->SetBounds(10, 37, 65, 13);
    Label3 = Make<TLabel>(loading, "Label3", GroupBox1, this);
    Label3->SetCaption("End");
    Label3->SetBounds(10, 54, 65, 13);
    Gauge1 = Make<TGauge>(loading, "Gauge1", GroupBox1, this);
    Gauge1->SetBounds(10, 72, 170, 13);
    Gauge1->SetForeColor(clNavy);
    Gauge1->SetVisible(false);

    dxButton1 = MakeButton(loading, this, "dxButton1", Panel1, "Load DTS", Bounds(200, 8, 113, 41));
    PaintButtonGlyph(dxButton1->Glyph(), TButtonGlyph::Load);
    dxButton1->Colors()->SetBackgroundFrom(0xDFDFDF);
    dxButton1->SetQuality(bqHigh);
    dxButton2 = MakeButton(loading, this, "dxButton2", Panel1, "Print", Bounds(200, 53, 113, 41));
    PaintButtonGlyph(dxButton2->Glyph(), TButtonGlyph::Print);
    dxButton2->Colors()->SetBackgroundFrom(0xDFDFDF);
    dxButton3 = MakeButton(loading, this, "dxButton3", Panel1, "Zoom -", Bounds(320, 8, 65, 25));
    dxButton4 = MakeButton(loading, this, "dxButton4", Panel1, "Normal", Bounds(387, 8, 65, 25));
    dxButton5 = MakeButton(loading, this, "dxButton5", Panel1, "Zoom +", Bounds(454, 8, 65, 25));
    dxButton6 = MakeButton(loading, this, "dxButton6", Panel1, "Refresh", Bounds(454, 68, 65, 17));

    CheckBox1 = Make<TCheckBox>(loading, "CheckBox1", Panel1, this);
    CheckBox1->SetCaption("3D prikaz");
    CheckBox1->SetBounds(320, 40, 78, 17);
    CheckBox2 = Make<TCheckBox>(loading, "CheckBox2", Panel1, this);
    CheckBox2->SetCaption("Points");
    CheckBox2->SetBounds(402, 40, 60, 17);
    ComboBox1 = Make<TComboBox>(loading, "ComboBox1", Panel1, this);
    ComboBox1->SetBounds(320, 66, 128, 21);
    ComboBox1->SetText("Prikazi sve zapise");

    Image1 = Make<TImage>(loading, "Image1", Panel1, this);
    Image1->SetBounds(525, 7, 56, 86);
    PaintLogo(Image1->Picture(), 56, 86);
    Image1->SetCursor(crHandPoint);

    OpenDialog1 = Make<TOpenDialog>(loading, "OpenDialog1", nullptr, this);
    OpenDialog1->DefaultExt = "*.dts";
    OpenDialog1->Filter = "Data fajlovi (*.dts)|*.dts|All files|*.*";
    OpenDialog1->Title = "Ucitavanje datoteke";
    PrinterSetupDialog1 = Make<TPrinterSetupDialog>(loading, "PrinterSetupDialog1", nullptr, this);

    OnActivate = [this](TObject *S) { FormActivate(S); };
    OnResize = [this](TObject *S) { FormResize(S); };
    OnKeyDown = [this](TObject *S, uint16_t &Key, TShiftState Shift) {
        FormKeyDown(S, Key, Shift);
    };
    dxButton1->OnClick = [this](TObject *S) { dxButton1Click(S); };
    dxButton2->OnClick = [this](TObject *S) { dxButton2Click(S); };
    dxButton3->OnClick = [this](TObject *S) { dxButton3Click(S); };
    dxButton4->OnClick = [this](TObject *S) { dxButton4Click(S); };
    dxButton5->OnClick = [this](TObject *S) { dxButton5Click(S); };
    dxButton6->OnClick = [this](TObject *S) { dxButton6Click(S); };
    CheckBox1->OnClick = [this](TObject *S) { CheckBox1Click(S); };
    CheckBox2->OnClick = [this](TObject *S) { CheckBox2Click(S); };
    ComboBox1->OnChange = [this](TObject *S) { ComboBox1Change(S); };
    Image1->OnClick = [this](TObject *S) { Image1Click(S); };
    OpenDialog1->OnTypeChange = [this](TObject *S) { OpenDialog1TypeChange(S); };

    for (TComponent *c : loading)
        c->EndLoading();
    EndLoading();
    FormResize(this);

    for (int i = 0; i <= ParamCount(); ++i)
        Arguments.push_back(ParamStr(i));
    Folder = ProgramFolder();
}

void TForm1::FormResize(TObject *)
{
    const int chartHeight = std::max(0, ClientHeight() - PanelHeight);
    ChartView->SetBounds(0, 0, ClientWidth(), chartHeight);
    Panel1->SetBounds(0, chartHeight, ClientWidth(), PanelHeight);
}

void TForm1::refresh_data(const std::string &Path)
{
    Chart1->BottomAxis().SetTitleCaption(" ");
    TLoadInfo info;
    try {
        info = Data.Load(Path, [this](int Done, int Total) {
            if (Done == 0) {
                Gauge1->SetMaxValue(Total);
                Gauge1->SetMinValue(0);
                Gauge1->SetVisible(true);
            }
            Gauge1->SetProgress(Done);
        });
    } catch (...) {
        // Nothing of the new file was taken: the chart shows the last one.
        Gauge1->SetVisible(false);
        throw;
    }
    Chart1->SetTitleText(Data.DataFileName);
    ComboBox1->ClearItems();
    for (const std::string &run : Data.Runs)
        ComboBox1->AddItem(run);
    PlotAll(Data, *Series1, *Series2);
    // A zoom onto the last recording would show a window onto nothing: a
    // new recording is shown whole.
    Chart1->UndoZoom();
    Label1->SetCaption(CountText(Data.PointCount));
    Label2->SetCaption(Data.StartText(1));
    Label3->SetCaption(Data.EndText(Data.PointCount));
    Gauge1->SetVisible(false);
    if (info.Cut)
        Dialogs().MessageBox(Data.CutMessage(info.RecordsInFile), Application->Title,
                             MB_OK | MB_ICONWARNING);
}

void TForm1::FormActivate(TObject *)
{
    // Qt activates the window again after each of its own dialogs and after
    // every return from another program; the hand-over belongs to the start.
    if (FHandedOver)
        return;
    FHandedOver = true;
    const std::string path = HandOverFile(Arguments, Folder);
    if (!path.empty() && IsFile(path))
        refresh_data(path);
}

void TForm1::FormKeyDown(TObject *, uint16_t &Key, TShiftState)
{
    const int perPage = KeypadPointsPerPage(Chart1->MaxPointsPerPage(), Key);
    if (perPage != Chart1->MaxPointsPerPage())
        Chart1->SetMaxPointsPerPage(perPage);
}

void TForm1::dxButton1Click(TObject *)
{
    if (OpenDialog1->Execute())
        refresh_data(OpenDialog1->FileName);
}

void TForm1::dxButton2Click(TObject *)
{
    if (PrinterSetupDialog1->Execute() && !Chart1->Printing())
        Chart1->Print(Printer());
}

void TForm1::dxButton3Click(TObject *)
{
    Chart1->ZoomPercent(90.0);
}

void TForm1::dxButton4Click(TObject *)
{
    Chart1->UndoZoom();
}

void TForm1::dxButton5Click(TObject *)
{
    Chart1->ZoomPercent(110.0);
}

void TForm1::dxButton6Click(TObject *)
{
    refresh_data(Data.DataFilePath);
}

void TForm1::CheckBox1Click(TObject *)
{
    Chart1->SetView3D(CheckBox1->Checked());
}

void TForm1::CheckBox2Click(TObject *)
{
    for (TLineSeries *s : {Series1, Series2}) {
        s->Marks().SetStyle(smsValue);
        s->Marks().SetVisible(CheckBox2->Checked());
    }
}

void TForm1::ComboBox1Change(TObject *)
{
    Gauge1->SetMaxValue(Data.PointCount);
    Gauge1->SetMinValue(0);
    Gauge1->SetVisible(true);
    const TPointTable &t = Data.PointTable;
    const TRunSelection sel = PlotRun(Data, ComboBox1->Text(), *Series1, *Series2,
                                      [this](int Slot) { Gauge1->SetProgress(Slot); });
    if (sel.Count > 0) {
        Label2->SetCaption(Data.StartText(sel.FirstSlot));
        const int last = sel.LastSlot;
        Label3->SetCaption("End :" + PointStamp(t.RecordDate[last], t.RecordTime[last]));
    }
    Chart1->SetTitleText(Data.DataFileName + "-" + ComboBox1->Text());
    // The run is shown whole, not through a zoom onto the points before it.
    Chart1->UndoZoom();
    Label1->SetCaption(CountText(sel.Count));
    Gauge1->SetVisible(false);
}

void TForm1::Image1Click(TObject *)
{
    Dialogs().ShellExecute("open", MakerWebPage, "", "", SW_SHOWNORMAL);
}

void TForm1::OpenDialog1TypeChange(TObject *) {}

} // namespace plotview
