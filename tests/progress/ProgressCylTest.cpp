#include "ProgressCyl.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

// Counts the paints that reach the bar.
class TCountingBar : public TProgressCyl {
public:
    using TProgressCyl::TProgressCyl;
    int Paints = 0;

protected:
    void Paint() override
    {
        ++Paints;
        TProgressCyl::Paint();
    }
};

std::unique_ptr<TBitmap> Picture(TProgressCyl &Bar)
{
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->SetPixelFormat(pf24bit);
    bitmap->SetSize(Bar.Width(), Bar.Height());
    Bar.PaintTo(bitmap->Canvas(), 0, 0);
    return bitmap;
}

TColor PixelAt(TProgressCyl &Bar, int X, int Y)
{
    return Picture(Bar)->Canvas()->Pixels(X, Y);
}

TColor Gray(int Level)
{
    return RGB(Level, Level, Level);
}

// The bounds of the pixels of colour Ink within Area; empty when there is none.
TRect InkOf(TBitmap &Bitmap, TColor Ink, const TRect &Area)
{
    TRect r{Area.Right, Area.Bottom, 0, 0};
    for (int y = Area.Top; y < Area.Bottom; ++y)
        for (int x = Area.Left; x < Area.Right; ++x)
            if (Bitmap.Canvas()->Pixels(x, y) == Ink) {
                r.Left = std::min(r.Left, x);
                r.Top = std::min(r.Top, y);
                r.Right = std::max(r.Right, x + 1);
                r.Bottom = std::max(r.Bottom, y + 1);
            }
    return r;
}

} // namespace

TEST(ProgressCyl, NewBarHasTheBuiltLook)
{
    TProgressCyl bar(nullptr);
    EXPECT_EQ(bar.Width(), 150);
    EXPECT_EQ(bar.Height(), 22);
    EXPECT_EQ(bar.Position(), 0);
    EXPECT_EQ(bar.Min(), 0);
    EXPECT_EQ(bar.Max(), 100);
    EXPECT_EQ(bar.ProEffect(), demoSystem);
    EXPECT_EQ(bar.ForeColor(), clWhite);
    EXPECT_EQ(bar.BackColor(), clBtnFace);
    EXPECT_EQ(bar.DisplayText(), "0%");
    EXPECT_EQ(bar.Font()->Name(), "Arial");
    EXPECT_EQ(bar.Font()->Size(), 9);
    EXPECT_EQ(bar.Font()->Style(), fsBold);
    EXPECT_EQ(bar.FontEffect(), feShadowBottomRight);
    EXPECT_EQ(bar.FontShadowColor(), clBtnFace);
    EXPECT_EQ(bar.ShadowOffset(), 1);
    EXPECT_FALSE(bar.HasInvertBitmap());
    EXPECT_EQ(bar.BarRect(), Rect(4, 4, 146, 18));
    EXPECT_EQ(bar.VerticalStep(), 18);
    EXPECT_EQ(bar.HorizontalStep(), 1);
}

TEST(ProgressCyl, FullBarShadesEveryRowAsACylinder)
{
    TProgressCyl bar(nullptr);
    bar.SetShowText(false);
    bar.SetPosition(100);
    auto picture = Picture(bar);
    TCanvas *c = picture->Canvas();
    // The light line lies on row 8 (k = 4); each row away costs one step of 18.
    EXPECT_EQ(c->Pixels(40, 5), Gray(201));
    EXPECT_EQ(c->Pixels(40, 8), Gray(255));
    EXPECT_EQ(c->Pixels(40, 16), Gray(111));
    // Rows 4 and 17 lie under the black back border.
    EXPECT_EQ(c->Pixels(40, 4), clBlack);
    EXPECT_EQ(c->Pixels(40, 17), clBlack);
    // The whole row is fore up to the bar's right end.
    EXPECT_EQ(c->Pixels(5, 8), Gray(255));
    EXPECT_EQ(c->Pixels(144, 8), Gray(255));
}

TEST(ProgressCyl, EndPixelAndPercentFollowThePosition)
{
    TProgressCyl bar(nullptr);
    bar.SetShowText(false);
    struct {
        int Position, EndPixel, Percent;
        const char *Text;
    } cases[] = {{0, 5, 0, "0%"}, {50, 75, 50, "50%"}, {100, 146, 100, "Done"}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.Position);
        bar.SetPosition(c.Position);
        EXPECT_EQ(bar.EndPixel(), c.EndPixel);
        EXPECT_EQ(bar.Percent(), c.Percent);
        EXPECT_EQ(bar.DisplayText(), c.Text);
    }

    // At 50 the fore line (clHighlight) splits white fore from the grey back.
    bar.SetPosition(50);
    auto picture = Picture(bar);
    EXPECT_EQ(picture->Canvas()->Pixels(74, 8), Gray(255));
    EXPECT_EQ(picture->Canvas()->Pixels(75, 8), RGB(63, 63, 159));
    EXPECT_EQ(picture->Canvas()->Pixels(76, 8), Gray(207));

    // At Max the fore line sits right of the bar, under the inner bevel's
    // dark edge, and shows once that bevel is gone.
    bar.SetPosition(100);
    EXPECT_EQ(PixelAt(bar, 146, 8), Gray(128));
    bar.SetBevelInner(bvNone);
    EXPECT_EQ(PixelAt(bar, 146, 8), RGB(63, 63, 159));

    bar.SetTextDone("");
    EXPECT_EQ(bar.DisplayText(), "100%");
}

TEST(ProgressCyl, RepaintsAndSignalsOnlyOnAVisibleChange)
{
    TCountingBar bar(nullptr);
    int done = 0;
    bar.OnProgressDone = [&](TObject *Sender) {
        EXPECT_EQ(Sender, &bar);
        ++done;
    };

    bar.SetPosition(50);
    int paints = bar.Paints;
    EXPECT_GT(paints, 0);
    bar.SetPosition(50);
    EXPECT_EQ(bar.Paints, paints);

    bar.SetPosition(100);
    EXPECT_EQ(done, 1);
    paints = bar.Paints;
    bar.SetPosition(100);
    bar.SetPosition(250);
    EXPECT_EQ(done, 1);
    EXPECT_EQ(bar.Paints, paints);

    // A resize that moves the end pixel while at Max signals again.
    bar.SetWidth(200);
    EXPECT_EQ(done, 2);

    // A finer range: a step that moves neither the fill nor the percent costs nothing.
    bar.SetMax(1000);
    bar.SetPosition(500);
    paints = bar.Paints;
    bar.SetPosition(501);
    EXPECT_EQ(bar.Paints, paints);

    // The rounded percent reaches 100 before Position reaches Max.
    bar.SetTextDone("100%");
    bar.SetPosition(999);
    EXPECT_EQ(bar.Percent(), 100);
    EXPECT_EQ(bar.DisplayText(), "100%");
    EXPECT_EQ(done, 2);
    // 1000 draws the same fill as 999, yet the arrival at Max is still told.
    paints = bar.Paints;
    bar.SetPosition(1000);
    EXPECT_EQ(done, 3);
    EXPECT_EQ(bar.Paints, paints);
    bar.SetPosition(1000);
    EXPECT_EQ(done, 3);
}

TEST(ProgressCyl, RangeKeepsMinBelowMax)
{
    TProgressCyl bar(nullptr);
    bar.SetMax(0);
    EXPECT_EQ(bar.Max(), 1);
    bar.SetMax(100);
    bar.SetMin(100);
    EXPECT_EQ(bar.Min(), 99);
    bar.SetMin(0);
    bar.SetMax(-5);
    EXPECT_EQ(bar.Max(), 100);
    bar.SetMin(150);
    EXPECT_EQ(bar.Min(), 0);

    bar.SetPosition(-3);
    EXPECT_EQ(bar.Position(), 0);
    bar.SetPosition(70);
    int done = 0;
    bar.OnProgressDone = [&](TObject *) { ++done; };
    bar.SetMax(40);
    EXPECT_EQ(bar.Position(), 40);
    EXPECT_EQ(done, 1);
    bar.SetMin(10);
    bar.SetMin(-20);
    bar.SetPosition(-30);
    EXPECT_EQ(bar.Position(), -20);
    EXPECT_EQ(bar.EndPixel(), 5);
}

TEST(ProgressCyl, WideRangesStayOnTheBar)
{
    TProgressCyl bar(nullptr);
    bar.SetMin(-2000000000);
    bar.SetMax(2000000000);
    bar.SetPosition(1000000000);
    EXPECT_EQ(bar.Percent(), 75);
    EXPECT_NEAR(bar.EndPixel(), 4 + 112 - 6, 1);
    bar.SetPosition(2000000000);
    EXPECT_EQ(bar.EndPixel(), 146);
}

TEST(ProgressCyl, RefusesGeometryWithoutABar)
{
    TProgressCyl bar(nullptr);
    bar.SetBorderWidth(10);
    EXPECT_EQ(bar.BorderWidth(), 2);
    bar.SetBorderWidth(-1);
    EXPECT_EQ(bar.BorderWidth(), 2);
    bar.SetBevelWidth(0);
    EXPECT_EQ(bar.BevelWidth(), 1);
    bar.SetBevelWidth(5);
    EXPECT_EQ(bar.BevelWidth(), 1);
    bar.SetBevelWidth(2000000000);
    EXPECT_EQ(bar.BevelWidth(), 1);
    bar.SetBevelWidth(2);
    EXPECT_EQ(bar.BevelWidth(), 2);
    EXPECT_EQ(bar.BarRect(), Rect(6, 6, 144, 16));
    EXPECT_EQ(bar.ProEffect(), demoSystem);
}

TEST(ProgressCyl, StyleValuesRefuseZeroAndRecomputeTheFactors)
{
    TProgressCyl bar(nullptr);
    bar.SetShowText(false);
    bar.SetPosition(50);
    bar.BackStyle()->SetIntensity(0);
    bar.BackStyle()->SetRangeRGB(0);
    bar.BackStyle()->SetLightAngle(0);
    EXPECT_EQ(bar.BackStyle()->Intensity(), 4.0f);
    EXPECT_EQ(bar.BackStyle()->RangeRGB(), 255);
    EXPECT_EQ(bar.BackStyle()->LightAngle(), -3.0f);
    EXPECT_EQ(bar.ProEffect(), demoSystem);
    EXPECT_EQ(PixelAt(bar, 100, 8), Gray(207));

    bar.BackStyle()->SetIntensity(3);
    EXPECT_EQ(bar.ProEffect(), peCustom);
    EXPECT_EQ(PixelAt(bar, 100, 8), Gray(213));

    // Copying a style writes its values into the bar's own one.
    TProgressCyl other(nullptr);
    other.ForeStyle()->SetColorRGB(128);
    bar.SetForeStyle(other.ForeStyle());
    EXPECT_EQ(bar.ForeStyle()->ColorRGB(), 128);
}

TEST(ProgressCyl, BevelColoursComeFromBevelColor)
{
    TProgressCyl bar(nullptr);
    bar.SetBevelColor(RGB(128, 128, 128));
    auto picture = Picture(bar);
    // Outer lowered: dark top-left, light bottom-right; inner raised: the reverse.
    EXPECT_EQ(picture->Canvas()->Pixels(0, 0), Gray(64));
    EXPECT_EQ(picture->Canvas()->Pixels(149, 21), Gray(192));
    EXPECT_EQ(picture->Canvas()->Pixels(3, 3), Gray(192));
    EXPECT_EQ(picture->Canvas()->Pixels(146, 18), Gray(64));
    bar.SetBevelColor(clWhite);
    picture = Picture(bar);
    EXPECT_EQ(picture->Canvas()->Pixels(0, 0), Gray(191));
    EXPECT_EQ(picture->Canvas()->Pixels(3, 3), clWhite);
}

TEST(ProgressCyl, VerticalBarFillsUpwardAndShadesPerColumn)
{
    TProgressCyl bar(nullptr);
    bar.SetBounds(0, 0, 22, 150);
    bar.SetOrientation(pbVertical);
    EXPECT_EQ(bar.FontOrientation(), foBottomToTop);
    EXPECT_EQ(bar.HorizontalStep(), 18);
    bar.SetShowText(false);
    bar.SetPosition(50);
    EXPECT_EQ(bar.EndPixel(), 75);
    auto picture = Picture(bar);
    TCanvas *c = picture->Canvas();
    EXPECT_EQ(c->Pixels(8, 100), Gray(255));
    EXPECT_EQ(c->Pixels(5, 100), Gray(201));
    EXPECT_EQ(c->Pixels(8, 140), Gray(255));
    EXPECT_EQ(c->Pixels(8, 75), RGB(63, 63, 159));
    EXPECT_EQ(c->Pixels(8, 50), Gray(207));
    // Empty, the fore line stays inside the back border, as horizontally.
    bar.SetPosition(0);
    EXPECT_EQ(bar.EndPixel(), 150 - 4 - 2);
    EXPECT_EQ(PixelAt(bar, 8, 144), RGB(63, 63, 159));
}

TEST(ProgressCyl, ShadowedTextIsOffsetByOnePixel)
{
    TProgressCyl bar(nullptr);
    bar.SetFontShadowColor(clRed);
    bar.SetPosition(50);
    // Inside the black back border, the only black is the text.
    const TRect inside = Rect(5, 5, 145, 17);
    auto picture = Picture(bar);
    TRect text = InkOf(*picture, clBlack, inside);
    TRect shadow = InkOf(*picture, clRed, inside);
    ASSERT_FALSE(text.IsEmpty());
    EXPECT_EQ(shadow.Right, text.Right + 1);
    EXPECT_EQ(shadow.Bottom, text.Bottom + 1);

    bar.SetFontEffect(feShadowTopLeft);
    EXPECT_EQ(bar.ShadowOffset(), -1);
    picture = Picture(bar);
    text = InkOf(*picture, clBlack, inside);
    shadow = InkOf(*picture, clRed, inside);
    EXPECT_EQ(shadow.Left, text.Left - 1);
    EXPECT_EQ(shadow.Top, text.Top - 1);

    bar.SetFontEffect(feNone);
    EXPECT_TRUE(InkOf(*Picture(bar), clRed, inside).IsEmpty());
}

TEST(ProgressCyl, InvertedTextNeedsItsOwnBitmapAndInvertsUnderTheGlyphs)
{
    TProgressCyl bar(nullptr);
    bar.SetPosition(50);
    bar.SetFontEffect(feInvert);
    EXPECT_TRUE(bar.HasInvertBitmap());
    auto inverted = Picture(bar);

    bar.SetShowText(false);
    EXPECT_FALSE(bar.HasInvertBitmap());
    auto plain = Picture(bar);
    int flipped = 0;
    for (int y = 0; y < plain->Height(); ++y)
        for (int x = 0; x < plain->Width(); ++x) {
            TColor a = plain->Canvas()->Pixels(x, y), b = inverted->Canvas()->Pixels(x, y);
            if (a != b) {
                ASSERT_EQ(b, a ^ 0xFFFFFF) << x << "," << y;
                ++flipped;
            }
        }
    EXPECT_GT(flipped, 20);

    bar.SetShowText(true);
    EXPECT_TRUE(bar.HasInvertBitmap());
    bar.SetFontEffect(feShadowTopLeft);
    EXPECT_FALSE(bar.HasInvertBitmap());
    EXPECT_EQ(bar.ShadowOffset(), -1);
    bar.SetFontEffect(feInvert);
    bar.SetFontOrientation(foTopToBottom);
    EXPECT_TRUE(bar.HasInvertBitmap());
}

TEST(ProgressCyl, PresetsSetTheirLookAndDirectWritesMakeItCustom)
{
    // The report bar as the console's window stores it.
    TProgressCyl bar(nullptr);
    bar.SetBounds(0, 0, 217, 17);
    bar.SetBevelOuter(bvNone);
    bar.SetBorderWidth(0);
    bar.SetFontShadowColor(clBlack);
    bar.SetVisible(false);
    bar.SetProEffect(peGlassBlue);
    EXPECT_EQ(bar.ProEffect(), peGlassBlue);
    EXPECT_TRUE(bar.Visible());
    EXPECT_EQ(bar.ForeColor(), RGB(0, 107, 215));
    EXPECT_EQ(bar.BackColor(), RGB(128, 128, 128));
    EXPECT_EQ(bar.ForeLineColor(), clWhite);
    EXPECT_EQ(bar.FontEffect(), feNone);
    EXPECT_EQ(bar.CylinderEffect(), ceMaximum);
    EXPECT_EQ(bar.BackStyle()->ColorFactor(), 1.0f);
    EXPECT_EQ(bar.ForeStyle()->Intensity(), 3.0f);
    EXPECT_EQ(bar.ForeStyle()->IntensityFactor(), -0.8f);
    EXPECT_EQ(bar.ForeStyle()->ColorRGB(), 200);
    EXPECT_EQ(bar.BevelOuter(), bvNone);
    EXPECT_EQ(bar.BorderWidth(), 0);
    EXPECT_EQ(bar.FontShadowColor(), clBlack);
    EXPECT_TRUE(bar.ShowText());

    bar.SetBevelWidth(2);
    bar.SetPosition(30);
    bar.SetShowText(false);
    EXPECT_EQ(bar.ProEffect(), peGlassBlue);
    bar.ForeStyle()->SetColorRGB(200);
    EXPECT_EQ(bar.ProEffect(), peGlassBlue);
    bar.ForeStyle()->SetColorRGB(255);
    EXPECT_EQ(bar.ProEffect(), peCustom);

    bar.SetProEffect(peGlassBlue);
    bar.SetForeColor(bar.ForeColor());
    EXPECT_EQ(bar.ProEffect(), peCustom);

    bar.SetProEffect(peGlassBlue);
    bar.SetProEffect(peCustom);
    EXPECT_EQ(bar.ForeColor(), RGB(0, 107, 215));
    EXPECT_EQ(bar.ForeStyle()->ColorRGB(), 200);

    bar.SetProEffect(peGlassBlue);
    bar.CMSysColorChange();
    EXPECT_EQ(bar.ProEffect(), peCustom);
}

TEST(ProgressCyl, PresetsWriteInTheirOwnOrder)
{
    // The memory bar: its stored ShowText after the preset turns the text back on.
    TProgressCyl metal(nullptr);
    metal.SetProEffect(demoMetal);
    EXPECT_FALSE(metal.ShowText());
    EXPECT_EQ(metal.BevelOuter(), bvNone);
    EXPECT_EQ(metal.BevelInner(), bvLowered);
    EXPECT_EQ(metal.FontShadowColor(), clWhite);
    EXPECT_EQ(metal.ForeStyle()->LightAngle(), -1.6f);
    EXPECT_EQ(metal.BackStyle()->RangeRGB(), -100);
    metal.SetShowText(true);
    EXPECT_EQ(metal.ProEffect(), demoMetal);

    // Order 2 leaves the shadow colour and the bevels; order 3 writes the shadow colour.
    TProgressCyl upload(nullptr);
    upload.SetFontShadowColor(clRed);
    upload.SetBevelInner(bvLowered);
    upload.SetProEffect(peUpLoad2);
    EXPECT_EQ(upload.CylinderEffect(), ceHigh);
    EXPECT_EQ(upload.FontEffect(), feInvert);
    EXPECT_TRUE(upload.HasInvertBitmap());
    EXPECT_EQ(upload.FontShadowColor(), clRed);
    EXPECT_EQ(upload.BevelInner(), bvLowered);
    EXPECT_EQ(upload.BackStyle()->ColorFactor(), -1.5f);
    EXPECT_EQ(upload.ForeStyle()->LightAngle(), -3.2f);
    EXPECT_EQ(upload.VerticalStep(), 204 / 14);

    upload.SetProEffect(peSystem2);
    EXPECT_EQ(upload.FontShadowColor(), clBtnFace);
    EXPECT_EQ(upload.FontEffect(), feShadowBottomRight);
    EXPECT_FALSE(upload.HasInvertBitmap());
    EXPECT_EQ(upload.ForeStyle()->IntensityRGB(), -50);
    EXPECT_EQ(upload.ForeStyle()->Intensity(), 8.0f);
    EXPECT_EQ(upload.BackStyle()->IntensityFactor(), -1.7f);
    EXPECT_EQ(upload.BevelInner(), bvLowered);

    // Every preset leaves its own name and a clean guard behind.
    for (int effect = 0; effect < ProEffectCount; ++effect) {
        TProgressCyl bar(nullptr);
        bar.SetProEffect(static_cast<TProEffect>(effect));
        EXPECT_EQ(bar.ProEffect(), effect);
        bar.SetBackBorderColor(clRed);
        EXPECT_EQ(bar.ProEffect(), peCustom);
    }
}

TEST(ProgressCyl, SmallBarsRefuseTheDemoBevels)
{
    TProgressCyl bar(nullptr);
    bar.SetBounds(0, 0, 60, 8);
    bar.SetBorderWidth(0);
    EXPECT_EQ(bar.BorderWidth(), 0);
    bar.SetProEffect(demoSystem);
    EXPECT_EQ(bar.BorderWidth(), 0);
    EXPECT_EQ(bar.BevelOuter(), bvLowered);
    EXPECT_EQ(bar.ProEffect(), demoSystem);
    EXPECT_EQ(bar.VerticalStep(), 255 / 4);

    // Too small for its bevels, the bar keeps its steps and paints nothing.
    TCountingBar tiny(nullptr);
    tiny.SetBounds(0, 0, 60, 8);
    tiny.SetBorderWidth(0);
    const float step = tiny.VerticalStep();
    tiny.SetHeight(4);
    EXPECT_EQ(tiny.VerticalStep(), step);
    auto before = Picture(tiny);
    tiny.SetPosition(60);
    EXPECT_EQ(tiny.EndPixel(), 2 + 36 - 2);
    auto after = Picture(tiny);
    EXPECT_EQ(before->Image(), after->Image());
}
