#pragma once
// The chart's geometry as numbers: axis ranges and ticks, zoom, pages, the
// per-column reduction of long series and the placing of labels that must
// not overlap. The paint pass only draws what these give.

#include <cstddef>
#include <utility>
#include <vector>

struct TAxisRange {
    double Min = 0;
    double Max = 1;
    double Width() const { return Max - Min; }
    bool operator==(const TAxisRange &) const = default;
};

// Maps axis values to pixels along one screen direction. Inverted axes grow
// toward smaller pixels (a vertical axis on screen).
struct TAxisMap {
    TAxisRange Range;
    double Start = 0;  // pixel of Range.Min (bottom edge when inverted)
    double Length = 1; // pixels from Range.Min to Range.Max
    bool Inverted = false;
    double ToPixel(double Value) const;
    double ToValue(double Pixel) const;
};

// Each end moves inward by (Percent - 100) % of the width: 110 zooms in to
// 80 % of the width, 90 zooms out to 120 %.
TAxisRange ZoomRange(TAxisRange R, double Percent);

// The range between two pixels of Map, in ascending order.
TAxisRange RangeBetweenPixels(const TAxisMap &Map, double PixelA, double PixelB);

// The smallest of 1, 2, 5 times a power of ten that is at least MinStep.
double NiceStep(double MinStep);

// Multiples of Step within R (both ends included, up to rounding).
std::vector<double> AxisTicks(TAxisRange R, double Step);

// Decimals needed to print the multiples of Step exactly.
int StepDecimals(double Step);

// Range from a fixed minimum to an automatic maximum: the largest value
// rounded up to a tick step chosen for the axis length, so that the top of
// the axis carries a label. Step receives that tick step.
TAxisRange AutoRange(double Minimum, double DataMax, double AxisPixels, double MinTickPixels,
                     double &Step);

// Paging over point indices. PerPage 0 means all points on one page.
int PageCount(int Points, int PerPage);
// First and last index (inclusive) of a page, counted from 1; the last
// page holds what is left.
std::pair<int, int> PageSpan(int Points, int PerPage, int Page);

// The points of one pixel column: the first and last in order, and the
// extremes between them.
struct TColumnExtreme {
    int Column = 0;
    double First = 0;
    double Last = 0;
    double Min = 0;
    double Max = 0;
};

// Reduces the points Begin..End-1 (X ascending) to one entry per pixel
// column of a plot Columns pixels wide showing XRange. Points outside the
// range and values that are not finite are left out. Every peak survives.
std::vector<TColumnExtreme> ColumnExtremes(const double *X, const double *Y, std::size_t Begin,
                                           std::size_t End, TAxisRange XRange, int Columns);

// An index step of 1, 2, 5 times a power of ten that keeps labels of the
// given width apart when points are PixelsPerPoint apart.
int LabelIndexStep(double PixelsPerPoint, double LabelWidth);

// A horizontal span [Left, Right) that a label wants, in the order the
// labels are offered.
struct TSpan {
    double Left = 0;
    double Right = 0;
};

// Keeps the spans that fit: each is shifted inside [BoundLeft, BoundRight)
// and taken only if it keeps Gap pixels from the last one taken. Returns
// the indices of the spans taken, with their shifted positions in Spans.
std::vector<std::size_t> FitSpans(std::vector<TSpan> &Spans, double BoundLeft, double BoundRight,
                                  double Gap);
