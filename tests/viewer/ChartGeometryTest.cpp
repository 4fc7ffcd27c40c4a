#include "ChartGeometry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

namespace {

TEST(Zoom, PercentMovesBothEndsByTheSameShare)
{
    const TAxisRange r{0, 100};
    EXPECT_EQ(ZoomRange(r, 110), (TAxisRange{10, 90}));
    EXPECT_EQ(ZoomRange(r, 90), (TAxisRange{-10, 110}));
    // In then out is not back where it was: 0.8 x 1.2 of the width remains.
    const TAxisRange twice = ZoomRange(ZoomRange({20, 70}, 110), 90);
    EXPECT_NEAR(twice.Width(), 0.96 * 50, 1e-9);
    EXPECT_NEAR(twice.Min + twice.Max, 90, 1e-9); // the centre stays
}

TEST(Zoom, PixelsMapBackToValues)
{
    const TAxisMap y{{0, 50}, 300, 200, true}; // value 0 at pixel 300, 50 at 100
    EXPECT_DOUBLE_EQ(y.ToPixel(25), 200);
    EXPECT_DOUBLE_EQ(y.ToValue(100), 50);
    EXPECT_EQ(RangeBetweenPixels(y, 260, 140), (TAxisRange{10, 40}));
    const TAxisMap x{{100, 200}, 50, 400, false};
    EXPECT_EQ(RangeBetweenPixels(x, 50, 250), (TAxisRange{100, 150}));
}

TEST(Ticks, StepsAreRoundNumbersThatFit)
{
    EXPECT_DOUBLE_EQ(NiceStep(0.7), 1);
    EXPECT_DOUBLE_EQ(NiceStep(1), 1);
    EXPECT_DOUBLE_EQ(NiceStep(1.01), 2);
    EXPECT_DOUBLE_EQ(NiceStep(3), 5);
    EXPECT_DOUBLE_EQ(NiceStep(0.03), 0.05);
    EXPECT_DOUBLE_EQ(NiceStep(0.1), 0.1);
    EXPECT_DOUBLE_EQ(NiceStep(60), 100);
    const auto t = AxisTicks({-0.3, 1.05}, 0.25);
    ASSERT_EQ(t.size(), 6u);
    EXPECT_DOUBLE_EQ(t.front(), -0.25);
    EXPECT_DOUBLE_EQ(t.back(), 1.0);
    EXPECT_GE(NiceStep(5e-324), 5e-324);
    EXPECT_GE(NiceStep(1.7e308), 1.7e308);
    EXPECT_TRUE(AxisTicks({0, 1}, INFINITY).empty());
    // Where a step is lost in the rounding of large numbers, ticks end.
    EXPECT_LE(AxisTicks({1e17, 1e17 + 1000}, 1).size(), 1001u);
    EXPECT_EQ(StepDecimals(0.25), 2);
    EXPECT_EQ(StepDecimals(20), 0);
    EXPECT_EQ(StepDecimals(0.1), 1);
}

TEST(Ticks, AutomaticMaximumEndsOnALabel)
{
    double step = 0;
    const TAxisRange r = AutoRange(0, 67.3, 300, 20, step);
    EXPECT_EQ(r.Min, 0);
    EXPECT_GE(r.Max, 67.3);
    EXPECT_NEAR(std::fmod(r.Max, step), 0, 1e-9);
    EXPECT_LT(r.Max - 67.3, step);
    EXPECT_LE(r.Width() / step, 300 / 20.0);
    // Nothing above the fixed minimum still gives a usable axis.
    const TAxisRange flat = AutoRange(0, -5, 300, 20, step);
    EXPECT_GT(flat.Max, flat.Min);
}

TEST(Pages, PointsSplitIntoPagesOfTheAskedSize)
{
    EXPECT_EQ(PageCount(100, 0), 1);
    EXPECT_EQ(PageCount(100, 10), 10);
    EXPECT_EQ(PageCount(101, 10), 11);
    EXPECT_EQ(PageCount(0, 10), 1);
    EXPECT_EQ(PageSpan(100, 0, 3), (std::pair<int, int>{0, 99}));
    EXPECT_EQ(PageSpan(101, 10, 1), (std::pair<int, int>{0, 9}));
    EXPECT_EQ(PageSpan(101, 10, 11), (std::pair<int, int>{100, 100}));
    EXPECT_EQ(PageSpan(101, 10, 99), (std::pair<int, int>{100, 100}));
    EXPECT_EQ(PageSpan(5, 10, 1), (std::pair<int, int>{0, 4}));
}

TEST(Columns, ExtremesMatchABruteForceScan)
{
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> value(-50, 150);
    for (int trial = 0; trial < 20; ++trial) {
        const int n = 1000 + int(rng() % 60000);
        std::vector<double> x(n), y(n);
        for (int i = 0; i < n; ++i) {
            x[i] = i;
            y[i] = value(rng);
        }
        y[n / 3] = std::nan(""); // a hole must not poison its column
        const TAxisRange range{double(rng() % 500), double(n - 1 - int(rng() % 500))};
        const int columns = 100 + int(rng() % 900);
        const auto got = ColumnExtremes(x.data(), y.data(), 0, n, range, columns);

        // Brute force: every column on its own, scanning all points.
        std::vector<int> expectedColumns;
        for (int c = 0; c < columns; ++c) {
            double lo = INFINITY, hi = -INFINITY, first = NAN, last = NAN;
            for (int i = 0; i < n; ++i) {
                if (x[i] < range.Min || x[i] > range.Max || !std::isfinite(y[i]))
                    continue;
                const double pos = (x[i] - range.Min) / range.Width() * columns;
                if (std::min(columns - 1, int(pos)) != c)
                    continue;
                if (std::isnan(first))
                    first = y[i];
                last = y[i];
                lo = std::min(lo, y[i]);
                hi = std::max(hi, y[i]);
            }
            if (std::isnan(first))
                continue;
            expectedColumns.push_back(c);
            auto it = std::find_if(got.begin(), got.end(),
                                   [&](const TColumnExtreme &e) { return e.Column == c; });
            ASSERT_NE(it, got.end()) << "column " << c;
            EXPECT_EQ(it->Min, lo);
            EXPECT_EQ(it->Max, hi);
            EXPECT_EQ(it->First, first);
            EXPECT_EQ(it->Last, last);
        }
        EXPECT_EQ(got.size(), expectedColumns.size());
    }
}

TEST(Labels, TakenSpansNeverOverlapAndStayInside)
{
    std::mt19937 rng(3);
    for (int trial = 0; trial < 200; ++trial) {
        std::vector<TSpan> spans;
        double x = -40;
        for (int i = 0; i < 60; ++i) {
            x += 5 + rng() % 60;
            const double w = 20 + rng() % 70;
            spans.push_back({x - w / 2, x + w / 2});
        }
        const double lo = 0, hi = 400 + rng() % 800;
        const auto taken = FitSpans(spans, lo, hi, 6);
        for (std::size_t k = 0; k < taken.size(); ++k) {
            const TSpan &s = spans[taken[k]];
            EXPECT_GE(s.Left, lo);
            EXPECT_LE(s.Right, hi);
            if (k > 0) {
                EXPECT_GE(s.Left, spans[taken[k - 1]].Right + 6);
            }
        }
    }
}

TEST(Labels, IndexStepKeepsLabelsApart)
{
    EXPECT_EQ(LabelIndexStep(100, 60), 1);
    EXPECT_EQ(LabelIndexStep(20, 60), 5);
    EXPECT_EQ(LabelIndexStep(0.01, 70), 10000);
    EXPECT_GE(LabelIndexStep(0.01, 70) * 0.01, 70);
}

} // namespace
