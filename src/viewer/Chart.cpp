#include "Chart.h"

#include "Text.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QPrinter>
#include <algorithm>
#include <cmath>

namespace {

constexpr double Margin = 6;
constexpr double Gap = 6;
constexpr double TickLength = 4;
constexpr double MarkArrow = 8;
constexpr double DragThreshold = 3;
// Far-off points are pulled in to keep the rasteriser's numbers small.
constexpr double PixelLimit = 1e5;

const QColor PanelColor(236, 236, 236);
const QColor WallColor(224, 224, 224);
const QColor GridColor(160, 160, 160);
const QColor MarkBack(255, 255, 225);

QString Lines(const std::string &Text)
{
    QString s = FromAnsi(Text);
    s.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return s;
}

QSizeF TextSize(const QFontMetricsF &Fm, const QString &Text)
{
    const QStringList lines = Text.split(QLatin1Char('\n'));
    double w = 0;
    for (const QString &line : lines)
        w = std::max(w, Fm.horizontalAdvance(line));
    return {std::ceil(w), Fm.height() * lines.size()};
}

// A number wider than this in fixed form is written with an exponent: the
// values of a damaged recording (up to 1e308) would otherwise make labels
// of hundreds of digits that push the plot out of the window.
constexpr qsizetype MaxFixedChars = 12;

// Without the trailing zeros of its decimals (and the point, if none remain).
QString TrimmedDecimals(QString S)
{
    while (S.contains(QLatin1Char('.')) &&
           (S.endsWith(QLatin1Char('0')) || S.endsWith(QLatin1Char('.'))))
        S.chop(1);
    return S;
}

// Value as d.ddde+NN with at most Digits decimals in the mantissa.
QString ExponentText(double Value, int Digits)
{
    if (Value == 0)
        return QStringLiteral("0");
    const QString s = QString::number(Value, 'e', Digits);
    const qsizetype e = s.indexOf(QLatin1Char('e'));
    return TrimmedDecimals(s.left(e)) + s.mid(e);
}

QString FixedText(double Value, int Decimals)
{
    QString s = QString::number(Value, 'f', Decimals);
    return s == QLatin1String("-0") ? QStringLiteral("0") : s;
}

// The labels of the ticks of one axis, in one form: fixed with the step's
// decimals, or, when any would be too wide, with an exponent and the
// mantissa digits that tell the step.
std::vector<QString> TickTexts(const std::vector<double> &Ticks, double Step)
{
    const int decimals = StepDecimals(Step);
    std::vector<QString> texts;
    bool wide = false;
    double largest = 0;
    for (double t : Ticks) {
        texts.push_back(FixedText(t, decimals));
        wide = wide || texts.back().size() > MaxFixedChars;
        largest = std::max(largest, std::fabs(t));
    }
    if (wide) {
        const double span = std::floor(std::log10(largest)) - std::floor(std::log10(Step));
        const int digits = int(std::clamp(std::isfinite(span) ? span : 0.0, 0.0, 16.0));
        for (std::size_t i = 0; i < Ticks.size(); ++i)
            texts[i] = ExponentText(Ticks[i], digits);
    }
    return texts;
}

QString MarkText(const TLineSeries &S, int Index)
{
    if (S.Marks().Style() == smsLabel)
        return Lines(S.Label(Index));
    const QString s = TrimmedDecimals(QString::number(S.YValue(Index), 'f', 2));
    return s.size() > MaxFixedChars ? ExponentText(S.YValue(Index), 5) : s;
}

double ClampPixel(double V)
{
    return std::clamp(V, -PixelLimit, PixelLimit);
}

std::pair<int, int> VisibleIndices(const TLineSeries &S, TAxisRange R)
{
    const double *x = S.XData();
    const int n = S.Count();
    const int begin = int(std::lower_bound(x, x + n, R.Min) - x);
    const int end = int(std::upper_bound(x, x + n, R.Max) - x);
    return {begin, end};
}

// Pixels between neighbouring points, from the points in view.
double PixelsPerPoint(const TLineSeries &S, int Begin, int End, const TAxisMap &Map)
{
    if (End - Begin >= 2)
        return std::fabs(Map.ToPixel(S.XValue(End - 1)) - Map.ToPixel(S.XValue(Begin))) /
               (End - 1 - Begin);
    return Map.Length;
}

// Where the segment from point A to point B crosses X, on screen.
bool Crossing(const TLineSeries &S, int A, int B, double X, const TChartLayout &L, QPointF &Out)
{
    const double xa = S.XValue(A), xb = S.XValue(B), ya = S.YValue(A), yb = S.YValue(B);
    if (!std::isfinite(ya) || !std::isfinite(yb) || xb == xa)
        return false;
    const double y = ya + (yb - ya) * (X - xa) / (xb - xa);
    Out = {L.XMap.ToPixel(X), ClampPixel(L.YMap.ToPixel(y))};
    return true;
}

QPolygonF SeriesLine(const TLineSeries &S, const TChartLayout &L, bool &Reduced)
{
    QPolygonF line;
    const TAxisRange xr = L.XMap.Range;
    const auto [begin, end] = VisibleIndices(S, xr);
    const int n = S.Count();
    QPointF p;
    if (begin > 0 && begin < n && Crossing(S, begin - 1, begin, xr.Min, L, p))
        line << p;
    const int columns = std::max(1, int(std::ceil(L.Plot.width() - L.Depth)));
    Reduced = end - begin > 2 * columns;
    if (!Reduced) {
        for (int i = begin; i < end; ++i)
            if (std::isfinite(S.YValue(i)))
                line << QPointF(L.XMap.ToPixel(S.XValue(i)),
                                ClampPixel(L.YMap.ToPixel(S.YValue(i))));
    } else {
        const auto extremes = ColumnExtremes(S.XData(), S.YData(), begin, end, xr, columns);
        line.reserve(line.size() + 4 * int(extremes.size()) + 1);
        for (const TColumnExtreme &c : extremes) {
            const double x = L.XMap.Start + c.Column + 0.5;
            line << QPointF(x, ClampPixel(L.YMap.ToPixel(c.First)));
            if (c.Min != c.Max) {
                line << QPointF(x, ClampPixel(L.YMap.ToPixel(c.Min)));
                line << QPointF(x, ClampPixel(L.YMap.ToPixel(c.Max)));
            }
            if (c.Last != c.Max)
                line << QPointF(x, ClampPixel(L.YMap.ToPixel(c.Last)));
        }
    }
    if (end > 0 && end < n && Crossing(S, end - 1, end, xr.Max, L, p))
        line << p;
    return line;
}

// A pen of a few pixels drawn as thin lines side by side: the same pixels as
// a square pen, at a fraction of the cost of stroking thousands of joints.
void DrawWideLine(QPainter &P, const QPolygonF &Line, QColor Color, int Width)
{
    if (Width > 4) {
        P.setPen(QPen(Color, Width, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        P.drawPolyline(Line);
        return;
    }
    P.setPen(QPen(Color, 1));
    const int lo = -(Width - 1) / 2;
    for (int dx = lo; dx < lo + Width; ++dx)
        for (int dy = lo; dy < lo + Width; ++dy)
            P.drawPolyline(Line.translated(dx, dy));
}

void DrawTexts(QPainter &P, const std::vector<TChartText> &Texts, int Flags)
{
    for (const TChartText &t : Texts)
        P.drawText(t.Rect, Flags, t.Text);
}

} // namespace

// Stores a new value and asks for a repaint; an equal value changes nothing.
template <typename T> static void Update(TChart *Chart, T &Field, const T &Value)
{
    if (Field == Value)
        return;
    Field = Value;
    Chart->Changed();
}

void TSeriesMarks::SetStyle(TSeriesMarksStyle Value)
{
    Update(FChart, FStyle, Value);
}

void TSeriesMarks::SetVisible(bool Value)
{
    Update(FChart, FVisible, Value);
}

TLineSeries::TLineSeries(TChart *ParentChart)
    : TComponent(ParentChart), FChart(ParentChart), FMarks(ParentChart)
{
    FChart->FSeries.push_back(this);
    FChart->Changed();
}

void TLineSeries::SetTitle(const std::string &Value)
{
    Update(FChart, FTitle, Value);
}

void TLineSeries::SetSeriesColor(QColor Value)
{
    Update(FChart, FColor, Value);
}

void TLineSeries::SetLinePenWidth(int Value)
{
    Update(FChart, FPenWidth, std::max(1, Value));
}

void TLineSeries::Clear()
{
    FX.clear();
    FY.clear();
    FLabels.clear();
    FColors.clear();
    FHasMax = false;
    FChart->Changed();
}

void TLineSeries::Reserve(int Count)
{
    FX.reserve(Count);
    FY.reserve(Count);
    FLabels.reserve(Count);
    FColors.reserve(Count);
}

int TLineSeries::Add(double Value, const std::string &Label, QColor Color)
{
    return AddXY(double(FY.size()), Value, Label, Color);
}

int TLineSeries::AddXY(double X, double Y, const std::string &Label, QColor Color)
{
    if (!FX.empty() && !(X >= FX.back()))
        throw EChartError("Points must be added in ascending X order");
    FX.push_back(X);
    FY.push_back(Y);
    FLabels.push_back(Label);
    FColors.push_back(Color.rgba());
    if (std::isfinite(Y) && (!FHasMax || Y > FMaxY)) {
        FMaxY = Y;
        FHasMax = true;
    }
    FChart->Changed();
    return Count() - 1;
}

void TChartAxis::SetTitleCaption(const std::string &Value)
{
    Update(FChart, FCaption, Value);
}

void TChartAxis::SetAutomaticMinimum(bool Value)
{
    Update(FChart, FAutoMin, Value);
}

void TChartAxis::SetAutomaticMaximum(bool Value)
{
    Update(FChart, FAutoMax, Value);
}

void TChartAxis::SetMinimum(double Value)
{
    Update(FChart, FMin, Value);
}

void TChartAxis::SetMaximum(double Value)
{
    Update(FChart, FMax, Value);
}

TChart::TChart(TComponent *AOwner) : TComponent(AOwner) {}

TChart::~TChart()
{
    // The series are owned by the chart; free them while it is still whole.
    const std::vector<TLineSeries *> series = FSeries;
    FSeries.clear();
    for (TLineSeries *s : series)
        delete s;
}

void TChart::Changed()
{
    if (FChangePending)
        return;
    FChangePending = true;
    if (FOnChange)
        FOnChange();
}

void TChart::SetOnChange(std::function<void()> Handler)
{
    FOnChange = std::move(Handler);
    FChangePending = false;
}

void TChart::SetTitleText(const std::string &Value)
{
    FTitle.clear();
    std::size_t start = 0;
    while (start <= Value.size() && !Value.empty()) {
        const std::size_t stop = Value.find_first_of("\r\n", start);
        FTitle.push_back(Value.substr(start, stop - start));
        if (stop == std::string::npos)
            break;
        start = stop + (Value.compare(stop, 2, "\r\n") == 0 ? 2 : 1);
    }
    Changed();
}

void TChart::SetLegendVisible(bool Value)
{
    Update(this, FLegendVisible, Value);
}

void TChart::SetView3D(bool Value)
{
    Update(this, FView3D, Value);
}

void TChart::SetChart3DPercent(int Value)
{
    Update(this, F3DPercent, std::clamp(Value, 1, 100));
}

void TChart::SetMaxPointsPerPage(int Value)
{
    if (Value < 0)
        throw EChartError("Points per page cannot be negative");
    FMaxPointsPerPage = Value;
    FPage = std::clamp(FPage, 1, NumPages());
    Changed();
}

int TChart::NumPages() const
{
    const TLineSeries *s = LabelSeries();
    return PageCount(s ? s->Count() : 0, FMaxPointsPerPage);
}

void TChart::SetPage(int Value)
{
    Update(this, FPage, std::clamp(Value, 1, NumPages()));
}

const TLineSeries *TChart::LabelSeries() const
{
    const TLineSeries *best = nullptr;
    for (const TLineSeries *s : FSeries)
        if (s->Count() > 0 && (!best || s->Count() > best->Count()))
            best = s;
    return best;
}

TAxisRange TChart::AutoXRange() const
{
    const TLineSeries *s = LabelSeries();
    if (!s)
        return {0, 1};
    const auto [first, last] = PageSpan(s->Count(), FMaxPointsPerPage, FPage);
    TAxisRange r{s->XValue(first), s->XValue(last)};
    if (r.Width() <= 0)
        r = {r.Min - 0.5, r.Max + 0.5};
    return r;
}

TAxisRange TChart::AxesYRange(double PlotHeight, double &Step) const
{
    const double minTick = QFontMetricsF(Font()).height() * 1.6;
    double top = FLeftAxis.FMax;
    double bottom = FLeftAxis.FMin;
    if (FLeftAxis.FAutoMin || FLeftAxis.FAutoMax) {
        bool any = false;
        double lo = 0, hi = 0;
        for (const TLineSeries *s : FSeries)
            for (int i = 0; i < s->Count(); ++i) {
                const double y = s->YValue(i);
                if (!std::isfinite(y))
                    continue;
                lo = any ? std::min(lo, y) : y;
                hi = any ? std::max(hi, y) : y;
                any = true;
            }
        if (FLeftAxis.FAutoMin)
            bottom = any ? lo : 0;
        if (FLeftAxis.FAutoMax)
            return AutoRange(bottom, any ? hi : bottom, PlotHeight, minTick, Step);
    }
    if (!(top > bottom))
        top = bottom + 1;
    Step = NiceStep((top - bottom) / std::max(1.0, std::floor(PlotHeight / minTick)));
    return {bottom, top};
}

TAxisRange TChart::XRange() const
{
    return FZoomed ? FZoomX : AutoXRange();
}

TAxisRange TChart::YRange() const
{
    if (FZoomed)
        return FZoomY;
    double step;
    return AxesYRange(FLast.Plot.isEmpty() ? 300 : FLast.YMap.Length, step);
}

void TChart::ZoomPercent(double Percent)
{
    const TAxisRange x = XRange();
    const TAxisRange y = YRange();
    FZoomX = ZoomRange(x, Percent);
    FZoomY = ZoomRange(y, Percent);
    FZoomed = true;
    Changed();
}

void TChart::UndoZoom()
{
    FZoomed = false;
    Changed();
}

void TChart::ZoomToPixels(QPointF A, QPointF B)
{
    if (FLast.Plot.isEmpty())
        return;
    FZoomX = RangeBetweenPixels(FLast.XMap, A.x(), B.x());
    FZoomY = RangeBetweenPixels(FLast.YMap, A.y(), B.y());
    FZoomed = true;
    Changed();
}

void TChart::MouseDown(QPointF P)
{
    if (!FLast.Plot.contains(P))
        return;
    FDragging = true;
    FDragStart = FDragEnd = P;
    Changed();
}

void TChart::MouseMove(QPointF P)
{
    if (!FDragging)
        return;
    FDragEnd = P;
    Changed();
}

void TChart::MouseUp(QPointF P)
{
    if (!FDragging)
        return;
    FDragging = false;
    const double dx = P.x() - FDragStart.x();
    const double dy = P.y() - FDragStart.y();
    if (dx < -DragThreshold || dy < -DragThreshold)
        UndoZoom();
    else if (dx > DragThreshold && dy > DragThreshold)
        ZoomToPixels(FDragStart, P);
    Changed();
}

QFont TChart::Font() const
{
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(11);
    return f;
}

TChartLayout TChart::Layout(const QRectF &Bounds) const
{
    TChartLayout L;
    L.Bounds = Bounds;
    const QFont font = Font();
    const QFontMetricsF fm(font);
    QFont titleFont = font;
    titleFont.setPixelSize(13);
    titleFont.setBold(true);
    const QFontMetricsF tfm(titleFont);
    const double fh = fm.height();

    double top = Bounds.top() + Margin;
    for (const std::string &line : FTitle) {
        L.Title.push_back(
            {QRectF(Bounds.left(), top, Bounds.width(), tfm.height()), FromAnsi(line)});
        top += tfm.height();
    }
    if (!FTitle.empty())
        top += Gap;
    top = std::max(top, Bounds.top() + Margin + fh / 2); // room for the top value's label

    double bottom = Bounds.bottom() - Margin;
    if (!FBottomAxis.FCaption.empty()) {
        L.BottomTitle = {QRectF(Bounds.left(), bottom - fh, Bounds.width(), fh),
                         FromAnsi(FBottomAxis.FCaption)};
        bottom -= fh + 2;
    }
    const TLineSeries *labels = LabelSeries();
    int labelLines = 1;
    if (labels)
        labelLines = int(std::count(labels->Label(0).begin(), labels->Label(0).end(), '\r')) + 1;
    const double plotBottom = bottom - labelLines * fh - TickLength - 2;

    double left = Bounds.left() + Margin;
    if (FLegendVisible && !FSeries.empty()) {
        const double sample = 24;
        double textWidth = 0;
        for (const TLineSeries *s : FSeries)
            textWidth = std::max(textWidth, TextSize(fm, FromAnsi(s->Title())).width());
        const double rowHeight = fh + 2;
        L.Legend =
            QRectF(left, top, 4 + sample + 4 + textWidth + 6, rowHeight * FSeries.size() + 6);
        double y = top + 3;
        for (const TLineSeries *s : FSeries) {
            L.LegendLines.push_back(
                QLineF(left + 4, y + rowHeight / 2, left + 4 + sample, y + rowHeight / 2));
            L.LegendTexts.push_back(
                {QRectF(left + 8 + sample, y, textWidth + 2, rowHeight), FromAnsi(s->Title())});
            y += rowHeight;
        }
        left = L.Legend.right() + 2 * Gap;
    }
    double leftTitleX = -1;
    if (!FLeftAxis.FCaption.empty()) {
        leftTitleX = left;
        left += fh + 4;
    }

    const double right = Bounds.right() - Margin - 10;
    const double height = plotBottom - top;
    const double depth =
        FView3D ? std::round(std::max(0.0, std::min(right - left, height)) * F3DPercent / 100) : 0;
    const double frontHeight = std::max(1.0, height - depth);

    double step = 1;
    TAxisRange yr;
    if (FZoomed) {
        yr = FZoomY;
        step = NiceStep(yr.Width() / std::max(1.0, std::floor(frontHeight / (fh * 1.6))));
    } else {
        yr = AxesYRange(frontHeight, step);
    }
    const std::vector<double> ticks = AxisTicks(yr, step);
    const std::vector<QString> tickTexts = TickTexts(ticks, step);
    double labelWidth = 0;
    for (const QString &text : tickTexts)
        labelWidth = std::max(labelWidth, fm.horizontalAdvance(text));
    left += std::ceil(labelWidth) + TickLength + 2;

    L.Depth = depth;
    L.Plot = QRectF(QPointF(left, top),
                    QPointF(std::max(left + 1, right), std::max(top + 1, plotBottom)));
    const QRectF front = L.Plot.adjusted(0, depth, -depth, 0);
    L.XMap = {XRange(), front.left(), front.width(), false};
    L.YMap = {yr, front.bottom(), front.height(), true};

    for (std::size_t i = 0; i < ticks.size(); ++i) {
        const double y = L.YMap.ToPixel(ticks[i]);
        L.YGrid.push_back(y);
        L.LeftLabels.push_back(
            {QRectF(front.left() - TickLength - 2 - labelWidth, y - fh / 2, labelWidth, fh),
             tickTexts[i]});
    }
    if (leftTitleX >= 0) {
        const QString caption = FromAnsi(FLeftAxis.FCaption);
        const double w = fm.horizontalAdvance(caption);
        const QPointF centre(leftTitleX + fh / 2, front.center().y());
        L.LeftTitle = {QRectF(centre.x() - w / 2, centre.y() - fh / 2, w, fh), caption};
    }

    if (labels) {
        const auto [begin, end] = VisibleIndices(*labels, L.XMap.Range);
        if (begin < end) {
            const double ppp = PixelsPerPoint(*labels, begin, end, L.XMap);
            const double sampleWidth = TextSize(fm, Lines(labels->Label(begin))).width();
            const int stride = LabelIndexStep(ppp, sampleWidth + Gap);
            std::vector<TSpan> spans;
            std::vector<int> index;
            std::vector<QSizeF> sizes;
            for (long long i = (begin + stride - 1) / stride * (long long)stride; i < end;
                 i += stride) {
                const QSizeF size = TextSize(fm, Lines(labels->Label(int(i))));
                const double x = L.XMap.ToPixel(labels->XValue(int(i)));
                spans.push_back({x - size.width() / 2, x + size.width() / 2});
                index.push_back(int(i));
                sizes.push_back(size);
            }
            for (std::size_t k :
                 FitSpans(spans, Bounds.left() + Margin, Bounds.right() - Margin, Gap)) {
                L.XGrid.push_back(L.XMap.ToPixel(labels->XValue(index[k])));
                L.BottomLabels.push_back({QRectF(spans[k].Left, front.bottom() + TickLength + 2,
                                                 sizes[k].width(), sizes[k].height()),
                                          Lines(labels->Label(index[k]))});
            }
        }
    }

    const int count = int(FSeries.size());
    for (int k = 0; k < count; ++k) {
        const TLineSeries &s = *FSeries[k];
        TSeriesShape shape;
        shape.Color = s.SeriesColor();
        shape.Width = s.LinePenWidth();
        shape.Z0 = depth * k / count;
        shape.Z1 = depth * (k + 1) / count;
        shape.Line = SeriesLine(s, L, shape.Reduced);
        if (s.Marks().Visible() && s.Count() > 0) {
            const auto [begin, end] = VisibleIndices(s, L.XMap.Range);
            if (begin < end) {
                const double ppp = PixelsPerPoint(s, begin, end, L.XMap);
                const double sampleWidth = TextSize(fm, MarkText(s, begin)).width() + 6;
                const int stride = LabelIndexStep(ppp, sampleWidth + 2);
                std::vector<TSpan> spans;
                std::vector<QPointF> anchors;
                std::vector<QString> texts;
                std::vector<QSizeF> sizes;
                for (long long i = (begin + stride - 1) / stride * (long long)stride; i < end;
                     i += stride) {
                    if (!std::isfinite(s.YValue(int(i))))
                        continue;
                    const QString text = MarkText(s, int(i));
                    const QSizeF size = TextSize(fm, text) + QSizeF(6, 2);
                    const QPointF a(L.XMap.ToPixel(s.XValue(int(i))) + shape.Z0,
                                    ClampPixel(L.YMap.ToPixel(s.YValue(int(i)))) - shape.Z0);
                    spans.push_back({a.x() - size.width() / 2, a.x() + size.width() / 2});
                    anchors.push_back(a);
                    texts.push_back(text);
                    sizes.push_back(size);
                }
                for (std::size_t j : FitSpans(spans, front.left(), front.right() + depth, 2)) {
                    shape.MarkAnchors.push_back(anchors[j]);
                    shape.Marks.push_back(
                        {QRectF(spans[j].Left, anchors[j].y() - MarkArrow - sizes[j].height(),
                                sizes[j].width(), sizes[j].height()),
                         texts[j]});
                }
            }
        }
        L.Series.push_back(std::move(shape));
    }
    return L;
}

void TChart::Paint(QPainter &P, const TChartLayout &L) const
{
    P.save();
    P.setRenderHint(QPainter::Antialiasing, false);
    P.setRenderHint(QPainter::TextAntialiasing, true);
    P.fillRect(L.Bounds, PanelColor);
    P.setClipRect(L.Bounds);

    const QFont font = Font();
    QFont titleFont = font;
    titleFont.setPixelSize(13);
    titleFont.setBold(true);
    P.setFont(titleFont);
    P.setPen(QColor(0, 0, 128));
    DrawTexts(P, L.Title, Qt::AlignHCenter | Qt::AlignTop);
    P.setFont(font);

    if (!L.Legend.isEmpty()) {
        P.setPen(Qt::black);
        P.setBrush(Qt::white);
        P.drawRect(L.Legend);
        for (std::size_t i = 0; i < L.LegendLines.size(); ++i) {
            P.setPen(QPen(L.Series[i].Color, L.Series[i].Width));
            P.drawLine(L.LegendLines[i]);
        }
        P.setPen(Qt::black);
        DrawTexts(P, L.LegendTexts, Qt::AlignLeft | Qt::AlignVCenter);
    }

    const double d = L.Depth;
    const QRectF front = L.Plot.adjusted(0, d, -d, 0);
    const QPointF back(d, -d);
    P.setPen(QPen(Qt::gray, 1));
    if (d > 0) {
        P.setBrush(Qt::white);
        P.drawRect(front.translated(back));
        P.setBrush(WallColor);
        P.drawPolygon(QPolygonF({front.topLeft(), front.bottomLeft(), front.bottomLeft() + back,
                                 front.topLeft() + back}));
        P.drawPolygon(QPolygonF({front.bottomLeft(), front.bottomRight(),
                                 front.bottomRight() + back, front.bottomLeft() + back}));
    } else {
        P.setBrush(Qt::white);
        P.drawRect(front);
    }
    P.setPen(QPen(GridColor, 1, Qt::DotLine));
    for (double y : L.YGrid) {
        P.drawLine(QPointF(front.left() + d, y - d), QPointF(front.right() + d, y - d));
        if (d > 0)
            P.drawLine(QPointF(front.left(), y), QPointF(front.left() + d, y - d));
    }
    for (double x : L.XGrid) {
        P.drawLine(QPointF(x + d, front.top() - d), QPointF(x + d, front.bottom() - d));
        if (d > 0)
            P.drawLine(QPointF(x, front.bottom()), QPointF(x + d, front.bottom() - d));
    }

    P.setPen(QPen(Qt::black, 1));
    P.drawLine(front.topLeft(), front.bottomLeft());
    P.drawLine(front.bottomLeft(), front.bottomRight());
    for (double y : L.YGrid)
        P.drawLine(QPointF(front.left() - TickLength, y), QPointF(front.left(), y));
    for (double x : L.XGrid)
        P.drawLine(QPointF(x, front.bottom()), QPointF(x, front.bottom() + TickLength));
    DrawTexts(P, L.LeftLabels, Qt::AlignRight | Qt::AlignVCenter);
    DrawTexts(P, L.BottomLabels, Qt::AlignHCenter | Qt::AlignTop);
    P.drawText(L.BottomTitle.Rect, Qt::AlignHCenter | Qt::AlignTop, L.BottomTitle.Text);
    if (!L.LeftTitle.Text.isEmpty()) {
        P.save();
        P.translate(L.LeftTitle.Rect.center());
        P.rotate(-90);
        P.drawText(L.LeftTitle.Rect.translated(-L.LeftTitle.Rect.center()), Qt::AlignCenter,
                   L.LeftTitle.Text);
        P.restore();
    }

    P.save();
    P.setClipRect(d > 0 ? L.Plot : front.adjusted(1, 0, 0, 0), Qt::IntersectClip);
    // Back to front, so that nearer ribbons cover farther ones.
    for (int k = int(L.Series.size()) - 1; k >= 0; --k) {
        const TSeriesShape &s = d > 0 ? L.Series[k] : L.Series[L.Series.size() - 1 - k];
        if (s.Line.size() < 2 && d == 0) {
            P.setPen(QPen(s.Color, s.Width + 2));
            P.drawPoints(s.Line);
            continue;
        }
        if (d == 0) {
            DrawWideLine(P, s.Line, s.Color, s.Width);
            continue;
        }
        const QPointF o0(s.Z0, -s.Z0), o1(s.Z1, -s.Z1);
        // Quad by quad: one path of thousands of edges rasterises far slower.
        const QColor faces[2] = {s.Color, s.Color.darker(140)};
        P.setPen(Qt::NoPen);
        for (int i = 1; i < s.Line.size(); ++i) {
            const QPointF a = s.Line[i - 1], b = s.Line[i];
            const double turn = (b.x() - a.x()) + (b.y() - a.y());
            if (turn == 0)
                continue;
            P.setBrush(faces[turn > 0]);
            const QPointF quad[4] = {a + o0, b + o0, b + o1, a + o1};
            P.drawConvexPolygon(quad, 4);
        }
        P.setPen(QPen(s.Color.darker(150), 1));
        P.drawPolyline(s.Line.translated(o0));
        P.drawPolyline(s.Line.translated(o1));
    }
    P.restore();

    for (const TSeriesShape &s : L.Series) {
        P.setPen(QPen(Qt::gray, 1));
        for (std::size_t i = 0; i < s.Marks.size(); ++i) {
            const QRectF &r = s.Marks[i].Rect;
            P.drawLine(s.MarkAnchors[i], QPointF(s.MarkAnchors[i].x(), r.bottom()));
        }
        for (const TChartText &m : s.Marks) {
            P.setPen(Qt::gray);
            P.setBrush(MarkBack);
            P.drawRect(m.Rect);
            P.setPen(Qt::black);
            P.drawText(m.Rect, Qt::AlignCenter, m.Text);
        }
    }
    P.restore();
}

void TChart::Draw(QPainter &P, const QRectF &Bounds)
{
    FChangePending = false;
    FLast = Layout(Bounds);
    Paint(P, FLast);
    if (FDragging) {
        P.save();
        P.setPen(QPen(Qt::black, 1, Qt::DashLine));
        P.setBrush(Qt::NoBrush);
        P.drawRect(QRectF(FDragStart, FDragEnd).normalized());
        P.restore();
    }
}

void TChart::Print(QPrinter &Printer)
{
    if (FPrinting)
        return;
    struct Flag {
        bool &F;
        explicit Flag(bool &f) : F(f) { F = true; }
        ~Flag() { F = false; }
    } printing(FPrinting);
    QPainter p;
    if (!p.begin(&Printer))
        throw EChartError("The printer cannot be used");
    // Drawn in screen-sized units and scaled up, so that lines and text keep
    // their proportions on the page.
    const double scale = Printer.logicalDpiX() / 96.0;
    QSizeF size(Printer.width() / scale, Printer.height() / scale);
    if (FPrintProportional && !FLast.Bounds.isEmpty())
        size = FLast.Bounds.size().scaled(size, Qt::KeepAspectRatio);
    p.scale(scale, scale);
    Paint(p, Layout(QRectF(QPointF(0, 0), size)));
    p.end();
}
