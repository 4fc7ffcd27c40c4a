#include "ChartGeometry.h"

#include <algorithm>
#include <cmath>

double TAxisMap::ToPixel(double Value) const
{
    const double w = Range.Width();
    const double offset = w != 0 ? (Value - Range.Min) / w * Length : 0;
    return Inverted ? Start - offset : Start + offset;
}

double TAxisMap::ToValue(double Pixel) const
{
    const double offset = Inverted ? Start - Pixel : Pixel - Start;
    return Range.Min + (Length != 0 ? offset / Length * Range.Width() : 0);
}

TAxisRange ZoomRange(TAxisRange R, double Percent)
{
    const double shift = R.Width() * (Percent - 100.0) / 100.0;
    return {R.Min + shift, R.Max - shift};
}

TAxisRange RangeBetweenPixels(const TAxisMap &Map, double PixelA, double PixelB)
{
    const double a = Map.ToValue(PixelA);
    const double b = Map.ToValue(PixelB);
    return {std::min(a, b), std::max(a, b)};
}

double NiceStep(double MinStep)
{
    if (!(MinStep > 0) || !std::isfinite(MinStep))
        return 1;
    // Below this the powers of ten run into zero and the search would not end.
    if (MinStep < 1e-300)
        return 1e-300;
    double power = std::pow(10.0, std::floor(std::log10(MinStep)));
    for (;;) {
        for (double m : {1.0, 2.0, 5.0})
            // A relative tolerance keeps 0.3 / 3 from stepping past 0.1.
            if (m * power >= MinStep * (1 - 1e-9))
                return m * power;
        power *= 10;
    }
}

std::vector<double> AxisTicks(TAxisRange R, double Step)
{
    std::vector<double> ticks;
    if (!(Step > 0) || !std::isfinite(Step) || !(R.Width() >= 0) || R.Width() / Step > 10000)
        return ticks;
    const double eps = Step * 1e-9;
    const double first = std::ceil((R.Min - eps) / Step) * Step;
    for (int i = 0; i <= 10000; ++i) {
        const double v = first + i * Step;
        // Far from zero a step can vanish in the rounding; stop rather than repeat.
        if (v > R.Max + eps || (!ticks.empty() && v <= ticks.back()))
            break;
        ticks.push_back(std::fabs(v) < eps ? 0.0 : v);
    }
    return ticks;
}

int StepDecimals(double Step)
{
    int decimals = 0;
    while (decimals < 10 && std::fabs(Step - std::round(Step)) > 1e-9 * std::max(1.0, Step)) {
        Step *= 10;
        ++decimals;
    }
    return decimals;
}

TAxisRange AutoRange(double Minimum, double DataMax, double AxisPixels, double MinTickPixels,
                     double &Step)
{
    if (!std::isfinite(DataMax) || DataMax <= Minimum)
        DataMax = Minimum + 1;
    const double ticks = std::max(1.0, std::floor(AxisPixels / MinTickPixels));
    Step = NiceStep((DataMax - Minimum) / ticks);
    const double top = Minimum + std::ceil((DataMax - Minimum) / Step - 1e-9) * Step;
    // Next to the largest double the rounded-up top is beyond it; the last
    // tick below it is as high as the axis can go.
    if (!std::isfinite(top))
        return {Minimum, Minimum + std::floor((DataMax - Minimum) / Step) * Step};
    return {Minimum, top};
}

int PageCount(int Points, int PerPage)
{
    if (PerPage <= 0 || Points <= 0)
        return 1;
    return (Points + PerPage - 1) / PerPage;
}

std::pair<int, int> PageSpan(int Points, int PerPage, int Page)
{
    if (PerPage <= 0)
        return {0, Points - 1};
    Page = std::clamp(Page, 1, PageCount(Points, PerPage));
    const int first = (Page - 1) * PerPage;
    return {first, std::min(Points, first + PerPage) - 1};
}

std::vector<TColumnExtreme> ColumnExtremes(const double *X, const double *Y, std::size_t Begin,
                                           std::size_t End, TAxisRange XRange, int Columns)
{
    std::vector<TColumnExtreme> out;
    const double width = XRange.Width();
    if (Columns <= 0 || !(width > 0))
        return out;
    const double scale = Columns / width;
    for (std::size_t i = Begin; i < End; ++i) {
        const double y = Y[i];
        if (X[i] < XRange.Min || X[i] > XRange.Max || !std::isfinite(y))
            continue;
        const int col = std::min(Columns - 1, int((X[i] - XRange.Min) * scale));
        if (out.empty() || out.back().Column != col) {
            out.push_back({col, y, y, y, y});
            continue;
        }
        TColumnExtreme &c = out.back();
        c.Last = y;
        c.Min = std::min(c.Min, y);
        c.Max = std::max(c.Max, y);
    }
    return out;
}

int LabelIndexStep(double PixelsPerPoint, double LabelWidth)
{
    if (!(PixelsPerPoint > 0))
        return 1;
    const double step = NiceStep(std::max(1.0, LabelWidth / PixelsPerPoint));
    return step > 1e9 ? 1000000000 : int(step);
}

std::vector<std::size_t> FitSpans(std::vector<TSpan> &Spans, double BoundLeft, double BoundRight,
                                  double Gap)
{
    std::vector<std::size_t> taken;
    double lastRight = -1e300;
    for (std::size_t i = 0; i < Spans.size(); ++i) {
        TSpan &s = Spans[i];
        const double w = s.Right - s.Left;
        if (w > BoundRight - BoundLeft)
            continue;
        if (s.Left < BoundLeft) {
            s.Left = BoundLeft;
            s.Right = BoundLeft + w;
        } else if (s.Right > BoundRight) {
            s.Right = BoundRight;
            s.Left = BoundRight - w;
        }
        if (s.Left < lastRight + Gap)
            continue;
        taken.push_back(i);
        lastRight = s.Right;
    }
    return taken;
}
