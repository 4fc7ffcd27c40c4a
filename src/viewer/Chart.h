#pragma once
// The viewer's chart: labelled line series over point indices, with titles,
// a left value axis, a bottom axis labelled with the points' texts, a legend
// on the left, value marks, a 3D view, pages, zoom and printing. Drawn with
// QPainter onto any device; TChartWidget shows it in a window.
//
// Texts are the system's 8-bit texts. Long series are reduced to the
// extremes of each pixel column before drawing, so every peak stays visible
// and a repaint costs the same at any number of points.

#include "ChartGeometry.h"
#include "Classes.h"

#include <QColor>
#include <QFont>
#include <QLineF>
#include <QPointF>
#include <QPolygonF>
#include <QRectF>
#include <QString>
#include <functional>
#include <string>
#include <vector>

class QPainter;
class QPrinter;
class TChart;

class EChartError : public Exception {
public:
    using Exception::Exception;
};

enum TSeriesMarksStyle { smsValue, smsLabel };

class TSeriesMarks {
public:
    TSeriesMarksStyle Style() const { return FStyle; }
    void SetStyle(TSeriesMarksStyle Value);
    bool Visible() const { return FVisible; }
    void SetVisible(bool Value);

private:
    friend class TLineSeries;
    explicit TSeriesMarks(TChart *Chart) : FChart(Chart) {}
    TChart *FChart;
    TSeriesMarksStyle FStyle = smsValue;
    bool FVisible = false;
};

// A line series of the chart that owns it. Points have ascending X.
class TLineSeries : public TComponent {
public:
    explicit TLineSeries(TChart *ParentChart);
    const char *ClassName() const override { return "TLineSeries"; }

    const std::string &Title() const { return FTitle; }
    void SetTitle(const std::string &Value);
    QColor SeriesColor() const { return FColor; }
    void SetSeriesColor(QColor Value);
    int LinePenWidth() const { return FPenWidth; }
    void SetLinePenWidth(int Value);
    TSeriesMarks &Marks() { return FMarks; }
    const TSeriesMarks &Marks() const { return FMarks; }

    void Clear();
    void Reserve(int Count);
    // Adds a point at the next index (0, 1, 2 ...); returns its index.
    int Add(double Value, const std::string &Label, QColor Color);
    // Adds a point at X, which must not be below the last point's X.
    int AddXY(double X, double Y, const std::string &Label, QColor Color);

    int Count() const { return int(FY.size()); }
    double XValue(int Index) const { return FX[Index]; }
    double YValue(int Index) const { return FY[Index]; }
    const std::string &Label(int Index) const { return FLabels[Index]; }
    QColor ValueColor(int Index) const { return QColor::fromRgba(FColors[Index]); }
    // Largest finite value, or 0 without points.
    double MaxYValue() const { return FHasMax ? FMaxY : 0; }

    const double *XData() const { return FX.data(); }
    const double *YData() const { return FY.data(); }

private:
    TChart *FChart;
    std::string FTitle;
    QColor FColor = Qt::red;
    int FPenWidth = 1;
    TSeriesMarks FMarks;
    std::vector<double> FX, FY;
    std::vector<std::string> FLabels;
    std::vector<QRgb> FColors;
    double FMaxY = 0;
    bool FHasMax = false;
};

class TChartAxis {
public:
    const std::string &TitleCaption() const { return FCaption; }
    void SetTitleCaption(const std::string &Value);
    // Without AutomaticMinimum the axis starts at Minimum; without
    // AutomaticMaximum it ends at Maximum.
    bool AutomaticMinimum() const { return FAutoMin; }
    void SetAutomaticMinimum(bool Value);
    bool AutomaticMaximum() const { return FAutoMax; }
    void SetAutomaticMaximum(bool Value);
    double Minimum() const { return FMin; }
    void SetMinimum(double Value);
    double Maximum() const { return FMax; }
    void SetMaximum(double Value);

private:
    friend class TChart;
    explicit TChartAxis(TChart *Chart) : FChart(Chart) {}
    TChart *FChart;
    std::string FCaption;
    bool FAutoMin = true;
    bool FAutoMax = true;
    double FMin = 0;
    double FMax = 0;
};

// Where everything of one drawing goes, in the drawing's coordinates.
struct TChartText {
    QRectF Rect;
    QString Text; // lines separated by '\n'
};

struct TSeriesShape {
    QColor Color;
    int Width = 1;
    QPolygonF Line; // on the front plane; the 3D band adds (Z, -Z)
    double Z0 = 0;  // depth band in pixels, 0 in 2D
    double Z1 = 0;
    std::vector<QPointF> MarkAnchors;
    std::vector<TChartText> Marks;
    bool Reduced = false; // the line holds column extremes, not every point
};

struct TChartLayout {
    QRectF Bounds;
    std::vector<TChartText> Title;
    QRectF Legend;
    std::vector<TChartText> LegendTexts;
    std::vector<QLineF> LegendLines;
    QRectF Plot; // the front plane
    double Depth = 0;
    TAxisMap XMap, YMap;
    std::vector<double> XGrid, YGrid;
    std::vector<TChartText> LeftLabels, BottomLabels;
    TChartText LeftTitle; // rect before its quarter turn, centred where it is drawn
    TChartText BottomTitle;
    std::vector<TSeriesShape> Series;
};

class TChart : public TComponent {
public:
    explicit TChart(TComponent *AOwner);
    ~TChart() override;
    const char *ClassName() const override { return "TChart"; }

    // Title lines; a text with carriage returns or line feeds gives several.
    const std::vector<std::string> &TitleText() const { return FTitle; }
    void SetTitleText(const std::string &Value);

    TChartAxis &LeftAxis() { return FLeftAxis; }
    TChartAxis &BottomAxis() { return FBottomAxis; }
    bool LegendVisible() const { return FLegendVisible; }
    void SetLegendVisible(bool Value);

    const std::vector<TLineSeries *> &Series() const { return FSeries; }

    bool View3D() const { return FView3D; }
    void SetView3D(bool Value);
    // Depth of the 3D view, in percent of the plot's smaller side.
    int Chart3DPercent() const { return F3DPercent; }
    void SetChart3DPercent(int Value);

    // 0 shows all points; otherwise this many points per page. Negative
    // values raise EChartError.
    int MaxPointsPerPage() const { return FMaxPointsPerPage; }
    void SetMaxPointsPerPage(int Value);
    int Page() const { return FPage; }
    void SetPage(int Value);
    int NumPages() const;
    void NextPage() { SetPage(FPage + 1); }
    void PreviousPage() { SetPage(FPage - 1); }

    // Zoom by percentage on both axes (see ZoomRange); the zoomed ranges
    // stay until UndoZoom.
    void ZoomPercent(double Percent);
    void UndoZoom();
    bool Zoomed() const { return FZoomed; }
    TAxisRange XRange() const;
    TAxisRange YRange() const;
    // Zooms to the pixels between two corners of the last drawing.
    void ZoomToPixels(QPointF A, QPointF B);

    // Mouse zoom: drag right and down to zoom to the rectangle, drag left or
    // up to undo the zoom. Points are in the last drawing's coordinates.
    void MouseDown(QPointF P);
    void MouseMove(QPointF P);
    void MouseUp(QPointF P);
    bool Dragging() const { return FDragging; }

    bool PrintProportional() const { return FPrintProportional; }
    void SetPrintProportional(bool Value) { FPrintProportional = Value; }
    bool Printing() const { return FPrinting; }
    // Prints the chart on one page. Ignored while a print is running.
    void Print(QPrinter &Printer);

    QFont Font() const;
    TChartLayout Layout(const QRectF &Bounds) const;
    // Draws into Bounds and remembers the drawing for the mouse.
    void Draw(QPainter &P, const QRectF &Bounds);
    const TChartLayout &LastLayout() const { return FLast; }

    // Handler called when something shown changed; at most once until the
    // next Draw.
    void SetOnChange(std::function<void()> Handler);
    void Changed();

private:
    friend class TLineSeries;
    void Paint(QPainter &P, const TChartLayout &L) const;
    const TLineSeries *LabelSeries() const;
    TAxisRange AutoXRange() const;
    TAxisRange AxesYRange(double PlotHeight, double &Step) const;

    std::vector<std::string> FTitle;
    TChartAxis FLeftAxis{this};
    TChartAxis FBottomAxis{this};
    bool FLegendVisible = true;
    std::vector<TLineSeries *> FSeries;
    bool FView3D = false;
    int F3DPercent = 15;
    int FMaxPointsPerPage = 0;
    int FPage = 1;
    bool FZoomed = false;
    TAxisRange FZoomX, FZoomY;
    bool FDragging = false;
    QPointF FDragStart, FDragEnd;
    bool FPrintProportional = true;
    bool FPrinting = false;
    bool FChangePending = false;
    std::function<void()> FOnChange;
    TChartLayout FLast;
};
