#include "DSClasses.h"
#include "DSTools.h"
#include "Forms.h"
#include "Pixels.h"

#include <gtest/gtest.h>

#include <cstdlib>

TEST(GradientFill, BandsDownStepByTheColourWidthAndTheLastOneRunsPastTheEdge)
{
    auto b = WhiteBitmap(3, 6);
    GradientFill(b->Canvas(), Rect(0, 0, 3, 4), 0x000000, 0x0000FF, tgdUpDown, 1);
    const int reds[] = {0, 63, 127, 191, 255};
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(b->Canvas()->Pixels(x, y), reds[y]) << x << "," << y;
    EXPECT_EQ(b->Canvas()->Pixels(0, 5), clWhite);

    auto c = WhiteBitmap(2, 14);
    GradientFill(c->Canvas(), Rect(0, 0, 2, 10), 0x000000, 0x0000FF, tgdUpDown, 3);
    for (int y = 0; y < 12; ++y)
        EXPECT_EQ(c->Canvas()->Pixels(1, y), 255 * (y / 3 * 3) / 10) << y;
    EXPECT_EQ(c->Canvas()->Pixels(1, 12), clWhite);
}

TEST(GradientFill, HeaderColumnsRunFromStartToEndColourOneBeyondTheRect)
{
    auto b = WhiteBitmap(579, 3);
    GradientFill(b->Canvas(), Rect(0, 0, 577, 2), 0x804000, 0x554A4A, tgdLeftRight, 1);
    EXPECT_EQ(b->Canvas()->Pixels(0, 0), 0x804000);
    EXPECT_EQ(b->Canvas()->Pixels(577, 1), 0x554A4A);
    EXPECT_EQ(b->Canvas()->Pixels(578, 0), clWhite);
    EXPECT_EQ(b->Canvas()->Pixels(0, 2), clWhite);
    // Red climbs $00 -> $4A and blue falls $80 -> $55, by at most one step a column.
    for (int x = 1; x <= 577; ++x) {
        TColor prev = b->Canvas()->Pixels(x - 1, 0), cur = b->Canvas()->Pixels(x, 0);
        EXPECT_LE(std::abs(GetRValue(cur) - GetRValue(prev)), 1) << x;
        EXPECT_LE(std::abs(GetBValue(cur) - GetBValue(prev)), 1) << x;
        EXPECT_GE(GetRValue(cur), GetRValue(prev)) << x;
        EXPECT_LE(GetBValue(cur), GetBValue(prev)) << x;
    }
    // The falling channel truncates toward zero, not down.
    EXPECT_EQ(GetBValue(b->Canvas()->Pixels(1, 0)), 0x80);
    EXPECT_EQ(GetBValue(b->Canvas()->Pixels(576, 0)), 0x80 - 42); // -43 * 576 / 577 = -42.9
}

TEST(GradientFill, Chord2SweepsDiagonalsFromBottomLeftInCanvasCoordinates)
{
    // A 10 x 10 rect placed away from the origin: the chords ignore its
    // position and use only its size.
    auto b = WhiteBitmap(30, 30);
    GradientFill(b->Canvas(), Rect(5, 5, 15, 15), 0x000000, 0x0000FF, tgdChord2, 1);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 30; ++x) {
            // Line x0 runs from (0, 10 - x0) up to, not including, (x0, 10).
            int x0 = 10 - y + x;
            bool drawn = y < 10 && x0 >= 1 && x0 <= 20;
            TColor want = drawn ? GradientColor(0x000000, 0x0000FF, x0, 20) : clWhite;
            ASSERT_EQ(b->Canvas()->Pixels(x, y), want) << x << "," << y;
        }
    EXPECT_EQ(b->Canvas()->Pixels(19, 9), 0x0000FF); // the last line, x0 = 20

    // Chord1 runs each line from (x, 0) toward (-1, x): the first is the
    // single start-colour pixel at the origin, the last starts at (20, 0).
    auto c = WhiteBitmap(30, 30);
    GradientFill(c->Canvas(), Rect(5, 5, 15, 15), 0x000000, 0x0000FF, tgdChord1, 1);
    EXPECT_EQ(c->Canvas()->Pixels(0, 0), 0x000000);
    EXPECT_EQ(c->Canvas()->Pixels(20, 0), 0x0000FF);
    EXPECT_EQ(c->Canvas()->Pixels(10, 0), GradientColor(0x000000, 0x0000FF, 10, 20));
    EXPECT_EQ(c->Canvas()->Pixels(21, 0), clWhite);
    EXPECT_EQ(c->Canvas()->Pixels(0, 20), clWhite); // the end point is left out
}

TEST(GradientFill, NothingWithoutExtentOrColourWidth)
{
    auto b = WhiteBitmap(8, 8);
    GradientFill(b->Canvas(), Rect(0, 0, 8, 0), clBlack, clRed, tgdUpDown, 1);
    GradientFill(b->Canvas(), Rect(4, 0, 2, 8), clBlack, clRed, tgdLeftRight, 1);
    GradientFill(b->Canvas(), Rect(0, 0, 0, 0), clBlack, clRed, tgdChord1, 1);
    GradientFill(b->Canvas(), Rect(0, 0, 8, 8), clBlack, clRed, tgdUpDown, 0);
    GradientFill(b->Canvas(), Rect(0, 0, 8, 8), clBlack, clRed, tgdChord2, -2);
    EXPECT_EQ(CountInk(*b, Rect(0, 0, 8, 8)), 0);
}

TEST(GradientFill, SystemColoursAreResolvedBeforeTheArithmetic)
{
    uint8_t r, g, b;
    SplitColor(clBtnShadow, r, g, b);
    EXPECT_EQ(RGB(r, g, b), GetSysColor(0x10));
    SplitColor(0x000080, r, g, b);
    EXPECT_EQ(RGB(r, g, b), 0x000080);
    auto bitmap = WhiteBitmap(1, 1);
    GradientFill(bitmap->Canvas(), Rect(0, 0, 1, 1), clBtnShadow, clBlack, tgdUpDown, 1);
    EXPECT_EQ(bitmap->Canvas()->Pixels(0, 0), ResolveColor(clBtnShadow));
}

TEST(CalcGlyphLayout, MarginAndSpacingSpreadInThirds)
{
    TBitmap b;
    TCanvas *canvas = b.Canvas();
    const std::string caption = "Ventil";
    const int tw = canvas->TextWidth(caption), th = canvas->TextHeight(caption);
    // A client 60 pixels wider than glyph and text leaves 20 for each gap.
    TPoint glyph;
    TRect text;
    CalcGlyphLayout(canvas, Rect(0, 0, 70 + tw, 20), caption, tImageLeft, -1, -1, {10, 10}, glyph,
                    text);
    EXPECT_EQ(glyph, Point(20, 5));
    EXPECT_EQ(text, Bounds(50, (20 - th + 1) / 2, tw, th));

    // Lamp right of the text: text first, both centred across.
    CalcGlyphLayout(canvas, Rect(0, 0, 70 + tw, 20), caption, tImageRight, -1, -1, {10, 10}, glyph,
                    text);
    EXPECT_EQ(text.Left, 20);
    EXPECT_EQ(glyph.X, 40 + tw);
    EXPECT_EQ(glyph.Y, 5);

    // Above and below work along Y, centring along X; Client's origin moves both.
    CalcGlyphLayout(canvas, Rect(100, 200, 140, 260 + th), caption, tImageTop, 4, 2, {8, 6}, glyph,
                    text);
    EXPECT_EQ(glyph, Point(100 + 16, 204));
    EXPECT_EQ(text.Top, 204 + 6 + 2);
    EXPECT_EQ(text.Left, 100 + (40 - tw + 1) / 2);
    CalcGlyphLayout(canvas, Rect(0, 0, 40, 60 + th), caption, tImageBottom, 4, -1, {8, 6}, glyph,
                    text);
    EXPECT_EQ(glyph.Y, 60 + th - 4 - 6);
    // Spacing -1 alone: half of what is left after margin, glyph and text.
    EXPECT_EQ(text.Bottom, glyph.Y - (60 + th - 10 - th) / 2);
}

TEST(CalcGlyphLayout, NoCaptionMeansNoSpacingAndAnEmptyTextRect)
{
    TBitmap b;
    TPoint glyph;
    TRect text{1, 1, 1, 1};
    CalcGlyphLayout(b.Canvas(), Rect(0, 0, 25, 25), "", tImageLeft, -1, 5, {17, 7}, glyph, text);
    EXPECT_EQ(glyph, Point(4, 9));
    EXPECT_TRUE(text.IsEmpty());
    EXPECT_EQ(text.Left, 21); // just after the glyph
    // No glyph: the text alone is centred.
    const int tw = b.Canvas()->TextWidth("ab");
    CalcGlyphLayout(b.Canvas(), Rect(0, 0, 41 + tw, 25), "ab", tImageLeft, -1, 5, {0, 0}, glyph,
                    text);
    EXPECT_EQ(text.Left, 21);
}

TEST(OuterWindowedOwner, FollowsWindowedOwnersOutward)
{
    TForm form(nullptr);
    TCustomControl panel(&form);
    TGraphicControl onPanel(&panel);
    TGraphicControl onForm(&form);
    TGraphicControl unowned(nullptr);
    TComponent plain(nullptr);
    TGraphicControl onPlain(&plain);
    EXPECT_EQ(OuterWindowedOwner(&onPanel), &form);
    EXPECT_EQ(OuterWindowedOwner(&onForm), &form);
    EXPECT_EQ(OuterWindowedOwner(&unowned), nullptr);
    EXPECT_EQ(OuterWindowedOwner(&onPlain), nullptr);
}

TEST(GraphPal, ChangesNotifyOnceAndEqualValuesNotAtAll)
{
    TDSGraphPal pal;
    EXPECT_EQ(pal.Low(), clGreen);
    EXPECT_EQ(pal.High(), clLime);
    int changes = 0;
    pal.OnChange = [&](TObject *Sender) {
        EXPECT_EQ(Sender, &pal);
        ++changes;
    };
    pal.SetLow(clGreen);
    EXPECT_EQ(changes, 0);
    pal.SetLow(clBlue);
    EXPECT_EQ(changes, 1);

    TDSGraphPal other;
    other.SetLow(clNavy);
    other.SetHigh(clAqua);
    pal.Assign(&other);
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(pal.Low(), clNavy);
    EXPECT_EQ(pal.High(), clAqua);
    pal.Assign(&other); // nothing changes, still one notice
    EXPECT_EQ(changes, 3);

    EXPECT_EQ(pal.GetColor(0), clNavy);
    EXPECT_EQ(pal.GetColor(-5), clNavy);
    EXPECT_EQ(pal.GetColor(1), clAqua);

    TBitmap notAPalette;
    EXPECT_THROW(pal.Assign(&notAPalette), EConvertError);
    EXPECT_EQ(changes, 3);
}

TEST(GraphPal, RecolourJudgesEveryPixelOnTheOriginal)
{
    auto b = WhiteBitmap(4, 1);
    b->Canvas()->SetPixels(0, 0, clMaroon);
    b->Canvas()->SetPixels(1, 0, clRed);
    b->Canvas()->SetPixels(2, 0, clSilver);
    TDSGraphPal pal;
    pal.SetLow(clRed); // maroon becomes red, which must not then become High
    pal.SetHigh(clYellow);
    pal.Recolor(b.get(), clMaroon, clRed);
    EXPECT_EQ(b->Canvas()->Pixels(0, 0), clRed);
    EXPECT_EQ(b->Canvas()->Pixels(1, 0), clYellow);
    EXPECT_EQ(b->Canvas()->Pixels(2, 0), clSilver);
    EXPECT_EQ(b->Canvas()->Pixels(3, 0), clWhite);

    pal.SetLow(clBtnShadow); // system colours land as their RGB value
    b->Canvas()->SetPixels(0, 0, clMaroon);
    pal.Recolor(b.get(), clMaroon, clRed);
    EXPECT_EQ(b->Canvas()->Pixels(0, 0), ResolveColor(clBtnShadow));
}
