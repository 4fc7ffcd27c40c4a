#include "DtsWriter.h"
#include "RealInput.h"
#include "PaintCounter.h"
#include "ReadOnlyFile.h"
#include "Watchdog.h"
#include "PlotviewForm.h"
#include "TestPictures.h"
#include "Text.h"
#include "WindowInput.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

using plotview::TForm1;

namespace {

// Answers the window's dialogs as a script says and keeps what it was shown.
class TScript : public TDialogs {
public:
    std::vector<std::string> Messages;
    std::string OpenAnswer; // empty: cancel
    std::string PdfFile;    // empty: cancel the printer set-up
    std::vector<std::string> Started;

    int MessageBox(const std::string &Text, const std::string &, int) override
    {
        Messages.push_back(Text);
        return IDOK;
    }
    int Opened = 0;
    bool OpenFile(TOpenDialog &Dialog) override
    {
        ++Opened;
        EXPECT_EQ(Dialog.Title, "Ucitavanje datoteke");
        EXPECT_EQ(Dialog.Filter, "Data fajlovi (*.dts)|*.dts|All files|*.*");
        if (OpenAnswer.empty())
            return false;
        Dialog.FileName = OpenAnswer;
        return true;
    }
    bool PrinterSetup(TPrinterSetupDialog &, QPrinter &Printer) override
    {
        if (PdfFile.empty())
            return false;
        Printer.setOutputFormat(QPrinter::PdfFormat);
        Printer.setOutputFileName(QString::fromStdString(PdfFile));
        return true;
    }
    bool ShellExecute(const std::string &Operation, const std::string &File,
                      const std::string &Parameters, const std::string &, int) override
    {
        Started.push_back(Operation + " " + File + Parameters);
        return true;
    }
};

class PlotviewTest : public ::testing::Test {
protected:
    PlotviewTest() { Previous = SetDialogs(&Script); }
    ~PlotviewTest() override { SetDialogs(Previous); }

    std::string File(const std::string &Name) const
    {
        return Dir.path().toStdString() + "/" + Name;
    }
    static void Key(QWidget *W, Qt::Key K, const QString &Text, Qt::KeyboardModifiers M = {})
    {
        QKeyEvent press(QEvent::KeyPress, K, M, Text);
        QApplication::sendEvent(W, &press);
        QKeyEvent release(QEvent::KeyRelease, K, M, Text);
        QApplication::sendEvent(W, &release);
    }
    void Load(const std::string &Path)
    {
        Script.OpenAnswer = Path;
        Click(Form.dxButton1);
    }

    QTemporaryDir Dir;
    TScript Script;
    TDialogs *Previous = nullptr;
    TForm1 Form{nullptr};
};

} // namespace

TEST_F(PlotviewTest, WindowAsItsResourceDescribesIt)
{
    EXPECT_EQ(Form.Caption(), "REZO3 Darazev - v1.5 - 29.10.2007.");
    EXPECT_EQ(Form.Width(), 587);
    EXPECT_EQ(Form.Height(), 436);
    EXPECT_TRUE(Form.KeyPreview);
    const std::vector<std::tuple<TdxButton *, std::string, int, int>> buttons = {
        {Form.dxButton1, "Load DTS", 113, 41}, {Form.dxButton2, "Print", 113, 41},
        {Form.dxButton3, "Zoom -", 65, 25},    {Form.dxButton4, "Normal", 65, 25},
        {Form.dxButton5, "Zoom +", 65, 25},    {Form.dxButton6, "Refresh", 65, 17}};
    for (const auto &[b, caption, w, h] : buttons) {
        EXPECT_EQ(b->Caption(), caption);
        EXPECT_EQ(b->Width(), w) << caption;
        EXPECT_EQ(b->Height(), h) << caption;
        EXPECT_EQ(b->Cursor(), crHandPoint) << caption;
        EXPECT_EQ(b->Glyph()->Empty(), w != 113) << caption;
    }
    EXPECT_EQ(Form.dxButton1->Quality(), bqHigh);
    EXPECT_EQ(Form.dxButton2->Colors()->BackgroundFrom(), 0xDFDFDF);
    EXPECT_FALSE(Form.CheckBox1->Checked());
    EXPECT_FALSE(Form.CheckBox2->Checked());
    EXPECT_EQ(Form.ComboBox1->Text(), "Prikazi sve zapise");
    EXPECT_FALSE(Form.Gauge1->Visible());
    EXPECT_EQ(Form.Gauge1->ForeColor(), clNavy);
    EXPECT_EQ(Form.GroupBox1->Caption(), "  Info panel  ");
    EXPECT_EQ(Form.Chart1->BottomAxis().TitleCaption(), "Datum i vreme");
    EXPECT_EQ(Form.Chart1->LeftAxis().TitleCaption(), "\xB0"
                                                      "C i %RH");
    // The chart fills the window above the panel, also after a resize.
    Form.ShowForm();
    Form.SetBounds(0, 0, 800, 600);
    EXPECT_EQ(Form.ChartView->Height() + Form.Panel1->Height(), 600);
    EXPECT_EQ(Form.ChartView->Width(), 800);
}

TEST_F(PlotviewTest, OnlyAnExactFirstAvLoadsTheHandOverFileOnce)
{
    Form.Folder = Dir.path().toStdString();
    WriteDts(File("temp.dts"), RunSamples({0, 0, 1}));
    for (const auto &args : std::vector<std::vector<std::string>>{
             {"Plotview", "/AV"}, {"Plotview", "x", "/av"}, {"Plotview"}, {"Plotview", " /av"}}) {
        TForm1 other(nullptr);
        other.Folder = Form.Folder;
        other.Arguments = args;
        other.Activate();
        EXPECT_EQ(other.Data.PointCount, 0) << args.back();
        EXPECT_EQ(other.Series1->Count(), 0);
    }

    Form.Arguments = {"Plotview", "/av"};
    Form.Activate();
    EXPECT_EQ(Form.Data.PointCount, 3);
    EXPECT_EQ(Form.Chart1->TitleText(), std::vector<std::string>{"temp.dts"});
    EXPECT_EQ(Form.Label1->Caption(), "Ukupno tacaka: 3");
    // Coming back to the window does not load the file again.
    WriteDts(File("temp.dts"), RunSamples({0}));
    Form.Deactivate();
    Form.Activate();
    EXPECT_EQ(Form.Data.PointCount, 3);

    TForm1 missing(nullptr);
    missing.Folder = File("nowhere");
    missing.Arguments = {"Plotview", "/av"};
    missing.Activate();
    EXPECT_EQ(missing.Data.PointCount, 0);
    EXPECT_TRUE(Script.Messages.empty());
}

TEST_F(PlotviewTest, LoadShowsTheWholeRecording)
{
    auto samples = RunSamples({0, 1, 1, 2, 1});
    samples[4].Day = 9;
    samples[4].Hour = 7;
    WriteDts(File("a.dts"), samples, 20); // a partial record at the end
    Script.OpenAnswer.clear();
    Click(Form.dxButton1); // cancelled: nothing happens
    EXPECT_EQ(Form.Series1->Count(), 0);

    Load(File("a.dts"));
    ASSERT_EQ(Form.Series1->Count(), 5);
    ASSERT_EQ(Form.Series2->Count(), 5);
    EXPECT_DOUBLE_EQ(Form.Series1->YValue(3), 22);
    EXPECT_DOUBLE_EQ(Form.Series2->YValue(3), 45.25);
    EXPECT_EQ(Form.Series1->Label(0), "08.12.2007\r [14:00:30]");
    EXPECT_EQ(Form.Chart1->TitleText(), std::vector<std::string>{"a.dts"});
    EXPECT_EQ(Form.Chart1->BottomAxis().TitleCaption(), " ");
    EXPECT_EQ(Form.Label1->Caption(), "Ukupno tacaka: 5");
    EXPECT_EQ(Form.Label2->Caption(), "Start: 08.12.2007 [14:00:30]");
    EXPECT_EQ(Form.Label3->Caption(), "End  : 09.12.2007 [07:04:30]");
    EXPECT_FALSE(Form.Gauge1->Visible());
    ASSERT_EQ(Form.ComboBox1->ItemCount(), 3);
    EXPECT_EQ(Form.ComboBox1->Item(0), "001");
    EXPECT_EQ(Form.ComboBox1->Item(1), "002");
    EXPECT_EQ(Form.ComboBox1->Item(2), "001");
    EXPECT_EQ(Form.ComboBox1->Text(), "Prikazi sve zapise");

    WriteDts(File("empty.dts"), {});
    Load(File("empty.dts"));
    EXPECT_EQ(Form.Series1->Count(), 0);
    EXPECT_EQ(Form.ComboBox1->ItemCount(), 0);
    EXPECT_EQ(Form.Label1->Caption(), "Ukupno tacaka: 0");
    EXPECT_TRUE(Script.Messages.empty());
}

TEST_F(PlotviewTest, ANameBeyondTheSystemsLettersIsTheTitleAsSpelled)
{
    const std::string name = "\xC4\x8C"
                             "a\xC4\x8D"
                             "ak_m\xC3\xA9renje.dts"; // as Linux spells it
    const QString shown = QString::fromUtf8("Čačak_mérenje.dts");
    WriteDts(File(name), RunSamples({0, 1, 1}));
    Load(File(name));
    ASSERT_EQ(Form.Series1->Count(), 3);
    ASSERT_EQ(Form.Chart1->TitleText().size(), 1u);
    EXPECT_EQ(FromAnsi(Form.Chart1->TitleText()[0]), shown);
    Form.ComboBox1->SetText("001");
    Form.ComboBox1Change(Form.ComboBox1);
    // What the chart draws over the plot.
    const TChartLayout drawn = Form.Chart1->Layout(QRectF(0, 0, 500, 300));
    ASSERT_EQ(drawn.Title.size(), 1u);
    EXPECT_EQ(drawn.Title[0].Text, shown + "-001");
    EXPECT_TRUE(Script.Messages.empty());
}

TEST_F(PlotviewTest, UnreadableFilesLeaveThePreviousChart)
{
    WriteDts(File("good.dts"), RunSamples({0, 1, 1}));
    Load(File("good.dts"));
    // A FIFO nobody writes to would hold a reader for ever.
    ASSERT_EQ(::mkfifo(File("fifo.dts").c_str(), 0600), 0);
    for (const std::string &bad :
         {File("missing.dts"), Dir.path().toStdString(), File("fifo.dts")}) {
        {
            TWatchdog watchdog("loading " + bad, std::chrono::seconds(10));
            Load(bad);
        }
        ASSERT_EQ(Script.Messages.size(), 1u) << bad;
        EXPECT_NE(Script.Messages[0].find("Fajl ne moze da se otvori: " + bad), std::string::npos)
            << Script.Messages[0];
        Script.Messages.clear();
        EXPECT_EQ(Form.Series1->Count(), 3);
        EXPECT_EQ(Form.Chart1->TitleText(), std::vector<std::string>{"good.dts"});
        EXPECT_EQ(Form.Label1->Caption(), "Ukupno tacaka: 3");
        EXPECT_EQ(Form.ComboBox1->ItemCount(), 1);
        EXPECT_FALSE(Form.Gauge1->Visible());
    }
}

TEST_F(PlotviewTest, ReadOnlyFilesLoadAndRefreshReloadsFromAnyFolder)
{
    TForm1 fresh(nullptr);
    Click(fresh.dxButton6); // nothing loaded yet: a clear error, nothing else
    ASSERT_EQ(Script.Messages.size(), 1u);
    EXPECT_NE(Script.Messages[0].find("Fajl ne moze da se otvori"), std::string::npos);
    Script.Messages.clear();

    WriteDts(File("ro.dts"), RunSamples({0, 1}));
    Load(File("ro.dts"));
    {
        const TReadOnlyFile readOnly(File("ro.dts"));
        if (!readOnly.Ok())
            GTEST_SKIP() << "this user can write every file here (root on a filesystem "
                            "without immutable files)";
        Click(Form.dxButton6);
        EXPECT_TRUE(Script.Messages.empty());
        EXPECT_EQ(Form.Data.PointCount, 2);
    }

    WriteDts(File("ro.dts"), RunSamples({0, 1, 2, 2}));
    char old[4096];
    ASSERT_NE(getcwd(old, sizeof old), nullptr);
    ASSERT_EQ(chdir("/"), 0);
    Click(Form.dxButton6);
    ASSERT_EQ(chdir(old), 0);
    EXPECT_TRUE(Script.Messages.empty());
    EXPECT_EQ(Form.Series1->Count(), 4);
    EXPECT_EQ(Form.Chart1->TitleText(), std::vector<std::string>{"ro.dts"});
}

TEST_F(PlotviewTest, OversizedFileIsCutWithAMessage)
{
    WriteDts(File("big.dts"), DaySeries(MaxPoints + 3, 2));
    Load(File("big.dts"));
    ASSERT_EQ(Script.Messages.size(), 1u);
    EXPECT_EQ(Script.Messages[0], "Fajl big.dts ima 65538 zapisa; prikazano je prvih 65535.");
    EXPECT_EQ(Form.Series1->Count(), MaxPoints);
    EXPECT_EQ(Form.Label1->Caption(), "Ukupno tacaka: 65535");
}

TEST_F(PlotviewTest, TypedRunTextFiltersAtEveryKeystroke)
{
    WriteDts(File("runs.dts"), RunSamples({0, 1, 1, 2, 1}));
    Load(File("runs.dts"));
    QComboBox *combo = Form.ComboBox1->Combo();
    combo->lineEdit()->selectAll();
    Key(combo, Qt::Key_0, "0");
    EXPECT_EQ(Form.Series1->Count(), 0);
    EXPECT_EQ(Form.Label1->Caption(), "Ukupno tacaka: 0");
    EXPECT_EQ(Form.Label2->Caption(), "Start: 08.12.2007 [14:00:30]"); // kept when nothing matches
    Key(combo, Qt::Key_0, "0");
    Key(combo, Qt::Key_1, "1");
    ASSERT_EQ(Form.Series1->Count(), 3); // run 1 recurs: both parts show
    EXPECT_EQ(Form.Series1->Label(0), "08.12.2007 [14:01:30]");
    EXPECT_EQ(Form.Label1->Caption(), "Ukupno tacaka: 3");
    EXPECT_EQ(Form.Label2->Caption(), "Start: 08.12.2007 [14:01:30]");
    EXPECT_EQ(Form.Label3->Caption(), "End :08.12.2007 [14:04:30]");
    EXPECT_EQ(Form.Chart1->TitleText(), std::vector<std::string>{"runs.dts-001"});
    EXPECT_FALSE(Form.Gauge1->Visible());

    Form.ComboBox1->SetText("00");
    Key(combo, Qt::Key_0, "0"); // "000": run 0 only
    EXPECT_EQ(Form.Series1->Count(), 1);

    // A new load shows every point again and keeps the typed text.
    Click(Form.dxButton6);
    EXPECT_EQ(Form.Series1->Count(), 5);
    EXPECT_EQ(Form.ComboBox1->Text(), "000");
}

TEST_F(PlotviewTest, AClickPutsTheKeyboardWhereItLandsAndTheFilterFiltersAsTyped)
{
    using namespace windowinput;
    WriteDts(File("runs.dts"), RunSamples({0, 1, 1, 2, 1}));
    Load(File("runs.dts"));
    Form.ShowForm();
    QApplication::setActiveWindow(&Form);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&Form));
    // "Load DTS" has the keys from the start: Space opens the load dialog.
    EXPECT_EQ(Form.ActiveControl(), Form.dxButton1);
    windowinput::Key(&Form, Qt::Key_Space);
    EXPECT_EQ(Script.Opened, 2);

    for (TWinControl *c : std::vector<TWinControl *>{Form.ComboBox1, Form.CheckBox1, Form.CheckBox2,
                                                     Form.ChartView, Form.dxButton4}) {
        SCOPED_TRACE(c->Name());
        ClickAt(c, QPoint(8, c->Height() / 2));
        EXPECT_EQ(Form.ActiveControl(), c);
        QWidget *focus = QApplication::focusWidget();
        EXPECT_TRUE(focus && (focus == c || c->isAncestorOf(focus)));
    }
    Form.CheckBox1->SetChecked(false);
    Form.CheckBox2->SetChecked(false);

    // The run filter, clicked and typed into: it filters at every key.
    ClickAt(Form.ComboBox1, QPoint(8, 10));
    windowinput::Key(&Form, Qt::Key_A, Qt::ControlModifier);
    Type(&Form, "00");
    EXPECT_EQ(Form.Series1->Count(), 0);
    Type(&Form, "2");
    EXPECT_EQ(Form.ComboBox1->Text(), "002");
    EXPECT_EQ(Form.Series1->Count(), 1);
    EXPECT_EQ(Form.Chart1->TitleText(), std::vector<std::string>{"runs.dts-002"});
    windowinput::Key(&Form, Qt::Key_X, Qt::AltModifier);
    EXPECT_EQ(Form.ComboBox1->Text(), "002") << "Alt+X typed into the run filter";
    // The keypad's plus typed there is the window's first, then the field's.
    windowinput::Key(&Form, Qt::Key_Plus, Qt::KeypadModifier);
    EXPECT_EQ(Form.Chart1->MaxPointsPerPage(), 10);
    EXPECT_EQ(Form.ComboBox1->Text(), "002+");
}

TEST_F(PlotviewTest, KeypadSetsPointsPerPageFromAnywhereInTheWindow)
{
    Form.ShowForm();
    QWidget *chart = Form.ChartView->Face();
    Key(chart, Qt::Key_Plus, "+", Qt::KeypadModifier);
    Key(Form.ComboBox1->Combo(), Qt::Key_Plus, "+", Qt::KeypadModifier);
    EXPECT_EQ(Form.Chart1->MaxPointsPerPage(), 20);
    Key(Form.CheckBox1, Qt::Key_Minus, "-", Qt::KeypadModifier);
    Key(&Form, Qt::Key_Minus, "-", Qt::KeypadModifier);
    EXPECT_EQ(Form.Chart1->MaxPointsPerPage(), 0);
    Key(&Form, Qt::Key_Plus, "+"); // the main keyboard's plus is another key
    EXPECT_EQ(Form.Chart1->MaxPointsPerPage(), 0);
    Form.Chart1->SetMaxPointsPerPage(5);
    Key(&Form, Qt::Key_Minus, "-", Qt::KeypadModifier);
    EXPECT_EQ(Form.Chart1->MaxPointsPerPage(), 5);
}

TEST_F(PlotviewTest, ZoomButtonsAndTheViewSwitches)
{
    WriteDts(File("day.dts"), DaySeries(1000, 60));
    Load(File("day.dts"));
    const TAxisRange full = Form.Chart1->XRange();
    Click(Form.dxButton5);
    Click(Form.dxButton3);
    EXPECT_NEAR(Form.Chart1->XRange().Width(), 0.96 * full.Width(), 1e-9);
    Click(Form.dxButton4);
    EXPECT_EQ(Form.Chart1->XRange(), full);

    // A zoom does not outlive its recording: another load, a reload or a
    // run chosen in the filter shows the points whole.
    WriteDts(File("week.dts"), DaySeries(7000, 60, 2000));
    for (int i = 0; i < 5; ++i)
        Click(Form.dxButton5);
    ASSERT_TRUE(Form.Chart1->Zoomed());
    Load(File("week.dts"));
    EXPECT_FALSE(Form.Chart1->Zoomed());
    const TAxisRange week = Form.Chart1->XRange();
    EXPECT_GT(week.Width(), full.Width());
    Click(Form.dxButton5);
    Click(Form.dxButton6);
    EXPECT_FALSE(Form.Chart1->Zoomed());
    EXPECT_EQ(Form.Chart1->XRange(), week);
    Click(Form.dxButton5);
    Click(Form.dxButton5);
    QComboBox *combo = Form.ComboBox1->Combo();
    combo->lineEdit()->selectAll();
    for (const char *digit : {"0", "0", "2"})
        Key(combo, Qt::Key(Qt::Key_0 + (digit[0] - '0')), digit);
    ASSERT_EQ(Form.Series1->Count(), 2000) << "run 2";
    EXPECT_FALSE(Form.Chart1->Zoomed());
    Click(Form.dxButton5);
    EXPECT_TRUE(Form.Chart1->Zoomed());
    Click(Form.dxButton4); // "Normal" still undoes a zoom
    EXPECT_FALSE(Form.Chart1->Zoomed());

    Click(Form.CheckBox1);
    EXPECT_TRUE(Form.Chart1->View3D());
    Click(Form.CheckBox2);
    for (TLineSeries *s : {Form.Series1, Form.Series2}) {
        EXPECT_TRUE(s->Marks().Visible());
        EXPECT_EQ(s->Marks().Style(), smsValue);
    }
    Click(Form.CheckBox1);
    EXPECT_FALSE(Form.Chart1->View3D());

    Click(Form.Image1);
    EXPECT_EQ(Script.Started,
              std::vector<std::string>{std::string("open ") + plotview::MakerWebPage});
}

TEST_F(PlotviewTest, PrintsThroughThePrinterDialogToPdf)
{
    WriteDts(File("day.dts"), DaySeries(2000, 60));
    Load(File("day.dts"));
    Script.PdfFile.clear();
    Click(Form.dxButton2); // set-up cancelled: nothing printed
    Script.PdfFile = File("chart.pdf");
    EXPECT_FALSE(QFile::exists(QString::fromStdString(Script.PdfFile)));
    Click(Form.dxButton2);
    QFile pdf(QString::fromStdString(Script.PdfFile));
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    const QByteArray bytes = pdf.readAll();
    EXPECT_TRUE(bytes.startsWith("%PDF"));
    EXPECT_GT(bytes.size(), 10000);
    EXPECT_FALSE(Form.Chart1->Printing());
    EXPECT_TRUE(Script.Messages.empty());
}

// A week of ten-minute samples in the window, flat and deep, with value
// marks; the pictures are kept where ORVA_TEST_PICTURES says.
TEST_F(PlotviewTest, WindowRendersWithARecording)
{
    WriteDts(File("nedelja.dts"), DaySeries(7 * 144, 600, 400));
    Form.Folder = Dir.path().toStdString();
    Form.ShowForm();
    EXPECT_TRUE(Form.grab().save(testpictures::PicturePath("plotview-empty.png")));
    Load(File("nedelja.dts"));
    Click(Form.CheckBox2);
    for (bool deep : {false, true}) {
        if (Form.CheckBox1->Checked() != deep)
            Click(Form.CheckBox1);
        const QImage image = Form.grab().toImage();
        ASSERT_EQ(image.size(), QSize(587, 436));
        int red = 0, green = 0;
        for (int y = 0; y < Form.ChartView->Height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const QColor c = image.pixelColor(x, y);
                red += c.red() > 150 && c.green() < 60 && c.blue() < 60;
                green += c.green() > 90 && c.red() < 40 && c.blue() < 40;
            }
        EXPECT_GT(red, 400);
        EXPECT_GT(green, 400);
        EXPECT_TRUE(image.save(
            testpictures::PicturePath(deep ? "plotview-3d-marks.png" : "plotview-2d-marks.png")));
    }
}

// A recording on the screen costs nothing while the user only looks at it.
TEST_F(PlotviewTest, AShownRecordingAtRestIsNotPainted)
{
    WriteDts(File("mesec.dts"), DaySeries(MaxPoints, 60, 9000));
    Form.ShowForm();
    Load(File("mesec.dts"));
    TPaintCounter paints;
    ASSERT_TRUE(paints.Settle()) << "the window keeps painting";
    paints.Reset();
    TPaintCounter::Serve(2000);
    EXPECT_EQ(paints.Total(), 0);

    // A change of the chart repaints the chart once, and nothing else.
    Form.Chart1->SetView3D(true);
    ASSERT_TRUE(paints.Settle());
    EXPECT_EQ(paints.Of(Form.ChartView->Face()), 1);
    EXPECT_EQ(paints.Total(), 1);
}
