#include "Math.h"
#include "Pixels.h"
#include "Random.h"
#include "dxCore.h"

#include <gtest/gtest.h>

#include <set>

namespace {

TColor At(TBitmap &B, int X, int Y)
{
    return B.Canvas()->Pixels(X, Y);
}

bool SameColumns(TBitmap &B, int A, int C)
{
    for (int y = 0; y < B.Height(); ++y)
        if (At(B, A, y) != At(B, C, y))
            return false;
    return true;
}

} // namespace

TEST(ColorRamp, RunsFromStartToEndRoundingHalvesToEven)
{
    TdxColorRamp ramp{};
    // Red 0 -> 5 over 3 bands steps by 2.5: the middle entry is 2, not 3.
    BuildColorRamp(RGB(0, 10, 200), RGB(5, 10, 0), 3, 1, ramp);
    EXPECT_EQ(ramp[0], RGB(0, 10, 200));
    EXPECT_EQ(ramp[1], RGB(2, 10, 100));
    EXPECT_EQ(ramp[2], RGB(5, 10, 0));
    // Directions 2 and up run the other way; system colours are resolved first.
    BuildColorRamp(clBtnShadow, clWhite, 2, 3, ramp);
    EXPECT_EQ(ramp[0], clWhite);
    EXPECT_EQ(ramp[1], ColorToRGB(clBtnShadow));
    BuildColorRamp(clBlack, clWhite, 255, 0, ramp);
    EXPECT_EQ(ramp[254], clWhite);
}

TEST(Gradient, BandEdgesComeFromMulDivAndLaterBandsPaintOverEarlierOnes)
{
    TBitmap b;
    TdxColorRamp ramp{};
    BuildColorRamp(clBlack, clWhite, 3, 0, ramp);
    PaintGradient(10, 4, clBlack, clWhite, 3, 0, false, &b);
    ASSERT_EQ(b.Width(), 10);
    ASSERT_EQ(b.Height(), 4);
    // 10 / 3: bands start at 0, 3 (3.33) and 7 (6.67 rounds up).
    for (int x = 0; x < 10; ++x) {
        int band = x < 3 ? 0 : x < 7 ? 1 : 2;
        EXPECT_EQ(At(b, x, 3), ramp[band]) << x;
    }

    // 64 stacked bands in 39 rows: many are empty, the last reaches the bottom.
    PaintGradient(5, 39, RGB(0, 0, 0), RGB(0, 0, 252), 64, 1, false, &b);
    EXPECT_EQ(At(b, 2, 0), RGB(0, 0, 0));
    EXPECT_EQ(At(b, 2, 38), RGB(0, 0, 252));
    std::set<TColor> shown;
    for (int y = 0; y < 39; ++y)
        shown.insert(At(b, 0, y));
    EXPECT_EQ(shown.size(), 39u);
    for (int y = 0; y < 39; ++y) {
        int last = 63;
        while (MulDiv(last, 39, 64) > y)
            --last;
        EXPECT_EQ(At(b, 0, y), RGB(0, 0, 4 * last)) << y;
    }
}

TEST(Gradient, ExchangedDirectionsMirrorTheColours)
{
    TBitmap a, b;
    PaintGradient(30, 20, clRed, clBlue, 8, 1, false, &a);
    PaintGradient(30, 20, clBlue, clRed, 8, 3, false, &b);
    EXPECT_EQ(a.Image(), b.Image());
    PaintGradient(30, 20, clRed, clBlue, 8, 0, false, &a);
    PaintGradient(30, 20, clBlue, clRed, 8, 2, false, &b);
    EXPECT_EQ(a.Image(), b.Image());
}

TEST(Gradient, DitherScattersThePreviousColourIntoEachBandAndTheStripRepeats)
{
    const int width = 64, height = 40, bands = 4;
    TdxColorRamp ramp{};
    BuildColorRamp(clBlack, clWhite, bands, 0, ramp);
    RandSeed = 0;
    TBitmap b;
    PaintGradient(width, height, clBlack, clWhite, bands, 0, true, &b);
    int scattered = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < MulDiv(1, width, bands); ++x)
            ASSERT_EQ(At(b, x, y), ramp[0]);
    for (int i = 1; i < bands; ++i) {
        int x0 = MulDiv(i, width, bands), x1 = MulDiv(i + 1, width, bands);
        for (int y = 0; y < 16; ++y) {
            // Random(0) and Random(1) are 0: the band's first column is all previous colour.
            EXPECT_EQ(At(b, x0, y), ramp[i - 1]);
            for (int x = x0; x < x1; ++x) {
                TColor c = At(b, x, y);
                ASSERT_TRUE(c == ramp[i] || c == ramp[i - 1]) << x << "," << y;
                scattered += c == ramp[i - 1] && x > x0;
            }
        }
    }
    EXPECT_GT(scattered, 0);
    for (int y = 16; y < height; ++y)
        for (int x = 0; x < width; ++x)
            ASSERT_EQ(At(b, x, y), At(b, x, y % 16)) << x << "," << y;

    // Each of the 3 dithered bands draws n + 1 = 22 numbers for each of 16 rows,
    // and the next users of the shared generator continue from there.
    const uint32_t after = RandSeed;
    RandSeed = 0;
    for (int draw = 0; draw < 3 * 16 * 22; ++draw)
        Random(1);
    EXPECT_EQ(RandSeed, after);

    // The shared generator makes the next picture differ and a replay the same.
    TBitmap again;
    PaintGradient(width, height, clBlack, clWhite, bands, 0, true, &again);
    EXPECT_NE(again.Image(), b.Image());
    RandSeed = 0;
    PaintGradient(width, height, clBlack, clWhite, bands, 0, true, &again);
    EXPECT_EQ(again.Image(), b.Image());
}

TEST(Gradient, WithMoreBandsThanRowsEachVisibleBandStartsInThePreviousColour)
{
    // 63 bands after the first in 39 rows: n = 0, one dither pixel per column.
    TBitmap b;
    TdxColorRamp ramp{};
    BuildColorRamp(RGB(0, 0, 0), RGB(0, 252, 0), 64, 1, ramp);
    PaintGradient(40, 39, RGB(0, 0, 0), RGB(0, 252, 0), 64, 1, true, &b);
    for (int y = 1; y < 39; ++y) {
        int last = 63;
        while (MulDiv(last, 39, 64) > y)
            --last;
        if (MulDiv(last, 39, 64) != y)
            continue;
        for (int x = 0; x < 40; ++x)
            ASSERT_EQ(At(b, x, y), ramp[last - 1]) << x << "," << y;
    }
    // The 16-column strip is copied across.
    EXPECT_TRUE(SameColumns(b, 3, 19));
    EXPECT_TRUE(SameColumns(b, 3, 35));
}

TEST(EdgeLine, LeavesOutTheEndPointUnlessExtended)
{
    auto b = WhiteBitmap(10, 10);
    TCanvas *c = b->Canvas();
    c->Pen()->SetColor(clBlack);
    DrawEdgeLine(c, 1, 1, 4, 4, false);
    EXPECT_EQ(InkBounds(*b), Rect(1, 1, 4, 4));
    // Extended, the end moves one pixel further in each axis, towards the line's direction.
    DrawEdgeLine(c, 1, 1, 4, 4, true);
    EXPECT_EQ(InkBounds(*b), Rect(1, 1, 5, 5));
    b = WhiteBitmap(10, 10);
    c = b->Canvas();
    DrawEdgeLine(c, 8, 2, 5, 5, true);
    EXPECT_EQ(InkBounds(*b), Rect(5, 2, 9, 6));
    EXPECT_EQ(c->Pixels(5, 5), clBlack);
}

TEST(Caption, EmptyAndLoneAmpersandMeasureAsOneBlankLine)
{
    TdxCustomControl control(nullptr);
    auto b = WhiteBitmap(100, 40);
    TCanvas *c = b->Canvas();
    TFont font;
    auto measure = [&](const std::string &Text, bool Accel) {
        TRect r = Rect(5, 5, 95, 35);
        control.DrawCaption(c, Text, DT_CALCRECT, r, Accel, true, &font);
        return r;
    };
    TRect blank = measure(" ", true);
    EXPECT_GT(blank.Height(), 0);
    EXPECT_EQ(measure("", true), blank);
    EXPECT_EQ(measure("", false), blank);
    EXPECT_EQ(measure("&", true), blank);
    EXPECT_EQ(measure("&", false).Width(), c->TextWidth("&"));
    EXPECT_EQ(InkBounds(*b), TRect{});
}

TEST(Caption, DisabledTextIsEngraved)
{
    TdxCustomControl control(nullptr);
    TFont font;
    font.SetColor(clBlack);
    auto enabled = WhiteBitmap(60, 30);
    auto disabled = WhiteBitmap(60, 30);
    disabled->Canvas()->Brush()->SetColor(clNavy);
    disabled->Canvas()->FillRect(Rect(0, 0, 60, 30));
    enabled->Canvas()->SetBkMode(TRANSPARENT);
    disabled->Canvas()->SetBkMode(TRANSPARENT);
    TRect r = Rect(10, 5, 60, 30);
    control.DrawCaption(enabled->Canvas(), "Ok", 0, r, true, true, &font);
    EXPECT_EQ(r, Rect(10, 5, 60, 30));
    control.DrawCaption(disabled->Canvas(), "Ok", 0, r, true, false, &font);
    EXPECT_EQ(r, Rect(10, 5, 60, 30));
    TRect ink = InkBounds(*enabled);
    ASSERT_FALSE(ink.IsEmpty());
    const TColor shadow = ColorToRGB(clBtnShadow), light = ColorToRGB(clBtnHighlight);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 60; ++x) {
            bool text = enabled->Canvas()->Pixels(x, y) != clWhite;
            bool textAbove = enabled->Canvas()->Pixels(x - 1, y - 1) == clBlack;
            TColor got = disabled->Canvas()->Pixels(x, y);
            if (text)
                ASSERT_EQ(got, shadow) << x << "," << y;
            else if (textAbove)
                ASSERT_EQ(got, light) << x << "," << y;
            else
                ASSERT_EQ(got, clNavy) << x << "," << y;
        }
}
