#include "Chart.h"
#include "DtsWriter.h"
#include "Recording.h"
#include "TestPictures.h"

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cmath>

namespace {

class ChartTest : public ::testing::Test {
protected:
    ChartTest()
    {
        Temperature->SetTitle("Temperatura (\xB0"
                              "C)");
        Temperature->SetSeriesColor(Qt::red);
        Temperature->SetLinePenWidth(2);
        Humidity->SetTitle("Vlaznost (%RH)");
        Humidity->SetSeriesColor(Qt::green);
        Humidity->SetLinePenWidth(2);
        Chart.LeftAxis().SetTitleCaption("\xB0"
                                         "C i %RH");
        Chart.LeftAxis().SetAutomaticMinimum(false);
        Chart.LeftAxis().SetMinimum(0);
    }

    void Fill(int Count, int PeriodSeconds = 60, bool TwoLineLabels = true)
    {
        Temperature->Clear();
        Humidity->Clear();
        for (const Sample &s : DaySeries(Count, PeriodSeconds)) {
            const double date = double(DayCount(s.Year % 100, s.Month, s.Day));
            const double time = (s.Hour * 3600 + s.Minute * 60 + s.Second) / 86400.0;
            const std::string label =
                TwoLineLabels ? PointLabel(date, time) : PointStamp(date, time);
            Temperature->Add(s.Temperature, label, Qt::red);
            Humidity->Add(s.Humidity, label, Qt::green);
        }
    }

    QImage Render(int Width = 587, int Height = 350)
    {
        QImage image(Width, Height, QImage::Format_RGB32);
        QPainter p(&image);
        Chart.Draw(p, QRectF(0, 0, Width, Height));
        return image;
    }

    // The colour itself or one of its shades (3D faces are darkened).
    static bool Near(QRgb A, QColor B)
    {
        const QColor a(A);
        if (a == B)
            return true;
        const double k = B.red() ? double(a.red()) / B.red() : double(a.green()) / B.green();
        return k > 0.5 && k < 1 && std::abs(a.red() - k * B.red()) <= 1 &&
               std::abs(a.green() - k * B.green()) <= 1 && std::abs(a.blue() - k * B.blue()) <= 1;
    }

    TChart Chart{nullptr};
    TLineSeries *Temperature = new TLineSeries(&Chart);
    TLineSeries *Humidity = new TLineSeries(&Chart);
};

void ExpectApart(const std::vector<TChartText> &Texts, const QRectF &Bounds)
{
    for (std::size_t i = 0; i < Texts.size(); ++i) {
        EXPECT_TRUE(Bounds.contains(Texts[i].Rect)) << Texts[i].Text.toStdString();
        for (std::size_t j = i + 1; j < Texts.size(); ++j)
            EXPECT_FALSE(Texts[i].Rect.intersects(Texts[j].Rect))
                << Texts[i].Text.toStdString() << " / " << Texts[j].Text.toStdString();
    }
}

TEST_F(ChartTest, SingleSpikeStaysVisibleFullyZoomedOut)
{
    Temperature->Clear();
    for (int i = 0; i < MaxPoints; ++i)
        Temperature->Add(i == 40000 ? 90 : 20, "x", Qt::red);
    const QImage image = Render();
    const TChartLayout &l = Chart.LastLayout();
    ASSERT_TRUE(l.Series[0].Reduced);
    EXPECT_LT(l.Series[0].Line.size(), 4 * 600);
    const int x = int(l.XMap.ToPixel(40000));
    const int top = int(std::round(l.YMap.ToPixel(90)));
    int red = 0;
    for (int dx = -1; dx <= 1; ++dx)
        for (int y = top - 1; y <= top + 2; ++y)
            red += Near(image.pixel(x + dx, y), Qt::red);
    EXPECT_GT(red, 0) << "no red at the spike's top, column " << x << " row " << top;
}

TEST_F(ChartTest, AxisLabelsNeverOverlap)
{
    for (bool twoLines : {true, false})
        for (int count : {1, 2, 7, 40, 700, 20000, MaxPoints}) {
            Fill(count, 300, twoLines);
            for (int width : {240, 587, 900, 1600}) {
                Chart.UndoZoom();
                for (int zoom = 0; zoom < 4; ++zoom) {
                    Render(width, 380);
                    const TChartLayout &l = Chart.LastLayout();
                    ExpectApart(l.BottomLabels, l.Bounds);
                    ExpectApart(l.LeftLabels, l.Bounds);
                    if (count >= 7 && width >= 587 && zoom == 0) {
                        EXPECT_GE(l.BottomLabels.size(), 2u) << count << " " << width;
                    }
                    Chart.ZoomPercent(zoom == 1 ? 90 : 130);
                }
            }
        }
}

TEST_F(ChartTest, BottomLabelsShowDateAboveTime)
{
    Fill(50);
    Render();
    const TChartLayout &l = Chart.LastLayout();
    ASSERT_FALSE(l.BottomLabels.empty());
    EXPECT_EQ(l.BottomLabels[0].Text, QStringLiteral("01.12.2007\n [00:00:00]"));
    EXPECT_GT(l.BottomLabels[0].Rect.height(), 1.5 * l.LeftLabels[0].Rect.height());
    // The left axis starts at its fixed minimum and reaches over the data.
    EXPECT_EQ(l.YMap.Range.Min, 0);
    EXPECT_GE(l.YMap.Range.Max, Humidity->MaxYValue());
    EXPECT_EQ(l.LeftLabels.front().Text, QStringLiteral("0"));
}

TEST_F(ChartTest, HugeValuesKeepLabelsShortAndThePlotInPlace)
{
    Fill(50);
    Render();
    const QRectF ordinary = Chart.LastLayout().Plot;
    Temperature->Marks().SetVisible(true);
    for (double huge : {1e308, -1e308, 1.7e308, 5e15}) {
        Fill(50);
        Temperature->Add(huge, "x", Qt::red);
        Humidity->Add(std::fabs(huge) / 3, "x", Qt::green);
        Render();
        const TChartLayout &l = Chart.LastLayout();
        ASSERT_GE(l.LeftLabels.size(), 3u) << huge;
        for (const TChartText &t : l.LeftLabels)
            EXPECT_LE(t.Text.size(), 12) << t.Text.toStdString();
        for (std::size_t i = 1; i < l.LeftLabels.size(); ++i)
            EXPECT_NE(l.LeftLabels[i].Text, l.LeftLabels[i - 1].Text);
        EXPECT_EQ(l.LeftLabels.front().Text, QStringLiteral("0")) << huge;
        // The plot loses no more than a few characters' width to the labels.
        EXPECT_LT(l.Plot.left(), ordinary.left() + 60) << huge;
        EXPECT_GT(l.Plot.width(), ordinary.width() - 60) << huge;
        ExpectApart(l.LeftLabels, l.Bounds);
    }
    // Written with an exponent, and telling the step.
    Temperature->Clear();
    Humidity->Clear();
    Temperature->Add(1e308, "x", Qt::red);
    Render();
    const TChartLayout &l = Chart.LastLayout();
    EXPECT_EQ(l.LeftLabels.back().Text, QStringLiteral("1e+308"));
    EXPECT_EQ(l.LeftLabels[1].Text.right(5), QStringLiteral("e+307"));
}

TEST_F(ChartTest, ZoomInThenOutKeepsNinetySixPercent)
{
    Fill(1000);
    Render();
    const TAxisRange x = Chart.XRange();
    const TAxisRange y = Chart.YRange();
    Chart.ZoomPercent(110);
    Chart.ZoomPercent(90);
    EXPECT_TRUE(Chart.Zoomed());
    EXPECT_NEAR(Chart.XRange().Width(), 0.96 * x.Width(), 1e-9);
    EXPECT_NEAR(Chart.YRange().Width(), 0.96 * y.Width(), 1e-9);
    Chart.UndoZoom();
    EXPECT_EQ(Chart.XRange(), x);
    EXPECT_EQ(Chart.YRange(), y);
}

TEST_F(ChartTest, DraggingZoomsAndDraggingBackUndoes)
{
    Fill(1000);
    Render();
    const TChartLayout l = Chart.LastLayout();
    const QPointF a(l.XMap.ToPixel(200), l.YMap.ToPixel(60));
    const QPointF b(l.XMap.ToPixel(400), l.YMap.ToPixel(20));
    Chart.MouseDown(a);
    Chart.MouseMove(b);
    EXPECT_TRUE(Chart.Dragging());
    Chart.MouseUp(b);
    EXPECT_TRUE(Chart.Zoomed());
    EXPECT_NEAR(Chart.XRange().Min, 200, 1e-6);
    EXPECT_NEAR(Chart.XRange().Max, 400, 1e-6);
    EXPECT_NEAR(Chart.YRange().Min, 20, 1e-6);
    EXPECT_NEAR(Chart.YRange().Max, 60, 1e-6);
    Render();
    EXPECT_EQ(Chart.LastLayout().XMap.Range, Chart.XRange());
    EXPECT_FALSE(Chart.LastLayout().Series[0].Reduced); // 200 points on ~480 pixels

    Chart.MouseDown(b);
    Chart.MouseUp(b - QPointF(50, 0));
    EXPECT_FALSE(Chart.Zoomed());
    Chart.ZoomPercent(110);
    Chart.MouseDown(b);
    Chart.MouseUp(b + QPointF(40, -30));
    EXPECT_FALSE(Chart.Zoomed());
    // A click is no drag.
    Chart.ZoomPercent(110);
    Chart.MouseDown(b);
    Chart.MouseUp(b + QPointF(1, 1));
    EXPECT_TRUE(Chart.Zoomed());
}

TEST_F(ChartTest, PagesShowTheirShareOfPoints)
{
    Fill(95);
    EXPECT_THROW(Chart.SetMaxPointsPerPage(-10), EChartError);
    EXPECT_EQ(Chart.MaxPointsPerPage(), 0);
    Chart.SetMaxPointsPerPage(30);
    EXPECT_EQ(Chart.NumPages(), 4);
    EXPECT_EQ(Chart.XRange(), (TAxisRange{0, 29}));
    Chart.NextPage();
    EXPECT_EQ(Chart.XRange(), (TAxisRange{30, 59}));
    Chart.SetPage(9);
    EXPECT_EQ(Chart.Page(), 4);
    EXPECT_EQ(Chart.XRange(), (TAxisRange{90, 94}));
    Render();
    const TChartLayout &l = Chart.LastLayout();
    for (const TChartText &t : l.BottomLabels) {
        EXPECT_GE(l.XMap.ToValue(t.Rect.center().x()), 89.5);
    }
    Chart.SetMaxPointsPerPage(0);
    EXPECT_EQ(Chart.NumPages(), 1);
    EXPECT_EQ(Chart.XRange(), (TAxisRange{0, 94}));
}

TEST_F(ChartTest, MarksShowValuesWithoutOverlap)
{
    Fill(200);
    Temperature->Marks().SetVisible(true);
    Humidity->Marks().SetVisible(true);
    Render();
    const TChartLayout &l = Chart.LastLayout();
    for (const TSeriesShape &s : l.Series) {
        ASSERT_GE(s.Marks.size(), 3u);
        for (std::size_t i = 1; i < s.Marks.size(); ++i)
            EXPECT_FALSE(s.Marks[i].Rect.intersects(s.Marks[i - 1].Rect));
    }
    const int index = int(std::round(l.XMap.ToValue(l.Series[0].MarkAnchors[0].x())));
    QString expected = QString::number(Temperature->YValue(index), 'f', 2);
    while (expected.endsWith('0') || expected.endsWith('.'))
        expected.chop(1);
    EXPECT_EQ(l.Series[0].Marks[0].Text, expected);
    Temperature->Marks().SetVisible(false);
    Render();
    EXPECT_TRUE(Chart.LastLayout().Series[0].Marks.empty());
}

TEST_F(ChartTest, View3DDrawsRibbonsInDepth)
{
    Fill(300);
    const QImage flat = Render();
    Chart.SetView3D(true);
    const QImage deep = Render();
    const TChartLayout &l = Chart.LastLayout();
    EXPECT_GT(l.Depth, 10);
    EXPECT_LT(l.Series[0].Z1, l.Series[1].Z1);
    // The ribbon of the front series spans its whole depth band in red.
    const QPointF p = l.Series[0].Line[150];
    int red = 0;
    for (double z = l.Series[0].Z0 + 1; z < l.Series[0].Z1 - 1; z += 1)
        red += Near(deep.pixel(int(p.x() + z), int(p.y() - z)), Qt::red) ||
               Near(deep.pixel(int(p.x() + z), int(p.y() - z) + 1), Qt::red);
    EXPECT_GE(red, int(l.Series[0].Z1 - l.Series[0].Z0) - 4);
    EXPECT_NE(flat, deep);
}

TEST_F(ChartTest, PrintsToPdf)
{
    Fill(5000);
    Chart.SetTitleText("zapis.dts");
    QTemporaryDir dir;
    const QString file = dir.path() + "/chart.pdf";
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(file);
    Chart.Print(printer);
    EXPECT_FALSE(Chart.Printing());
    QFile pdf(file);
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    const QByteArray bytes = pdf.readAll();
    EXPECT_TRUE(bytes.startsWith("%PDF"));
    EXPECT_GT(bytes.size(), 5000);
}

TEST_F(ChartTest, ChangesAskForOneRepaint)
{
    int asked = 0;
    Chart.SetOnChange([&] { ++asked; });
    Fill(100);
    EXPECT_EQ(asked, 1);
    Render();
    Chart.SetView3D(true);
    Chart.ZoomPercent(110);
    EXPECT_EQ(asked, 2);
}

} // namespace

namespace {

// A week of ten-minute samples through the whole loading path, drawn the way
// the viewer shows it; the pictures are kept where ORVA_TEST_PICTURES says.
TEST_F(ChartTest, RecordingRendersInAllViews)
{
    QTemporaryDir dir;
    const std::string file = dir.path().toStdString() + "/week.dts";
    WriteDts(file, DaySeries(7 * 144, 600, 400));
    TRecording data;
    data.Load(file);
    PlotAll(data, *Temperature, *Humidity);
    Chart.SetTitleText(data.DataFileName);
    Chart.BottomAxis().SetTitleCaption(" ");
    struct View {
        const char *File;
        bool Deep;
        bool Marks;
    };
    for (const View &v :
         {View{"viewer-2d.png", false, false}, View{"viewer-3d.png", true, false},
          View{"viewer-marks.png", false, true}, View{"viewer-3d-marks.png", true, true}}) {
        Chart.SetView3D(v.Deep);
        Temperature->Marks().SetVisible(v.Marks);
        Humidity->Marks().SetVisible(v.Marks);
        const QImage image = Render(587, 360);
        int red = 0, green = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                red += Near(image.pixel(x, y), Qt::red);
                green += Near(image.pixel(x, y), Qt::green);
            }
        EXPECT_GT(red, 500) << v.File;
        EXPECT_GT(green, 500) << v.File;
        EXPECT_TRUE(image.save(testpictures::PicturePath(v.File))) << v.File;
    }
}

} // namespace

namespace {

// A recording is whatever bytes the file holds: values far out of range or
// not numbers at all must neither crash the drawing nor hang it.
TEST_F(ChartTest, GarbageValuesDrawWithoutTrouble)
{
    const double nan = std::nan(""), inf = INFINITY;
    const std::vector<std::vector<double>> cases = {
        {nan, nan, nan},
        {inf, -inf, 5},
        {1e308, -1e308, 1e308},
        {1e-310, 0, -1e-310},
        {42, nan, 43, inf, 44},
        {-5, -7, -1},
        {0, 0, 0},
        {1e15, 1e15 + 1, 1e15},
    };
    for (const auto &values : cases)
        for (bool deep : {false, true}) {
            Temperature->Clear();
            Humidity->Clear();
            for (double v : values) {
                Temperature->Add(v, "\r\r", Qt::red);
                Humidity->Add(-v, "", Qt::green);
            }
            Temperature->Marks().SetVisible(true);
            Chart.SetView3D(deep);
            Chart.UndoZoom();
            Render();
            Chart.ZoomPercent(110);
            Render();
            Chart.ZoomPercent(1e6);
            Render();
            const TChartLayout &l = Chart.LastLayout();
            EXPECT_LE(l.LeftLabels.size(), 100u);
            EXPECT_LE(l.BottomLabels.size(), values.size());
        }
}

} // namespace
