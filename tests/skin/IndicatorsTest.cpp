#include "DSGradient.h"
#include "DSIndicators.h"
#include "Forms.h"
#include "Pixels.h"

#include <gtest/gtest.h>

namespace {

class TCountingLed : public TDSSimpleLed {
public:
    using TDSSimpleLed::TDSSimpleLed;
    int Paints = 0;

protected:
    void Paint() override
    {
        ++Paints;
        TDSSimpleLed::Paint();
    }
};

TColor At(TControl &Control, int X, int Y)
{
    return Control.Canvas()->Pixels(X, Y);
}

} // namespace

TEST(SimpleLed, ConsoleLampDrawsItsLargeFrameAtFourNine)
{
    TDSSimpleLed led(nullptr);
    EXPECT_EQ(led.Width(), 25);
    EXPECT_EQ(led.Height(), 25);
    EXPECT_EQ(led.Color(), clBlack);
    EXPECT_EQ(led.Font()->Color(), clWhite);
    EXPECT_EQ(led.GraphPal()->Low(), clMaroon);
    EXPECT_EQ(led.GraphPal()->High(), clRed);
    led.SetColor(clNavy); // so that the frame's transparent black shows
    led.SetLedType(tltLargeRect);
    led.Repaint();
    EXPECT_EQ(led.GlyphRect(), Bounds(4, 9, 17, 7));
    EXPECT_EQ(InkBounds(*led.Canvas()->Bitmap(), clNavy), Bounds(4, 9, 17, 7));
    EXPECT_EQ(At(led, 4, 9), clWhite);
    EXPECT_EQ(At(led, 20, 15), clWhite);
    EXPECT_EQ(At(led, 5, 10), clNavy); // black is transparent
    EXPECT_EQ(At(led, 6, 11), clMaroon);
    EXPECT_EQ(At(led, 18, 13), clMaroon);
    led.SetActive(true);
    EXPECT_EQ(At(led, 6, 11), clRed);
    EXPECT_EQ(At(led, 18, 13), clRed);
    EXPECT_EQ(At(led, 4, 9), clWhite);
}

TEST(SimpleLed, ActiveRaisesOnChangeOnlyOnAChange)
{
    TCountingLed led(nullptr);
    int changes = 0;
    led.OnChange = [&](TObject *Sender) {
        EXPECT_EQ(Sender, &led);
        ++changes;
    };
    led.SetActive(true);
    led.SetActive(true);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(led.Paints, 1);
    led.SetActive(false);
    EXPECT_EQ(changes, 2);
    led.SetSpacing(5);
    led.SetMargin(-1);
    led.SetLayout(tImageLeft);
    EXPECT_EQ(led.Paints, 2);
}

TEST(SimpleLed, PaletteRecoloursTheKeysAndLeavesTheRest)
{
    TCountingLed led(nullptr);
    TDSGraphPal pal;
    pal.SetLow(clBlue);
    pal.SetHigh(clYellow);
    led.SetGraphPal(&pal);
    EXPECT_EQ(led.Paints, 1); // both colours, one reload and repaint

    // LI_RND row 2: KKKSSMKKKKKKSSRKKK.
    TCanvas *image = const_cast<TBitmap *>(led.Image())->Canvas();
    EXPECT_EQ(led.Image()->Width(), 18);
    EXPECT_EQ(led.Image()->Height(), 9);
    EXPECT_EQ(image->Pixels(5, 2), clBlue);
    EXPECT_EQ(image->Pixels(14, 2), clYellow);
    EXPECT_EQ(image->Pixels(3, 2), clSilver);
    EXPECT_EQ(image->Pixels(12, 2), clSilver);
    EXPECT_EQ(image->Pixels(0, 0), clBlack);

    // The 9 x 9 frame is centred at (8, 8); the same spot is blue off, yellow on.
    led.SetColor(clGreen);
    led.Repaint();
    EXPECT_EQ(At(led, 8 + 5, 8 + 2), clBlue);
    EXPECT_EQ(At(led, 8 + 3, 8 + 2), clSilver);
    EXPECT_EQ(At(led, 8, 8), clGreen);
    led.SetActive(true);
    EXPECT_EQ(At(led, 8 + 5, 8 + 2), clYellow);
    EXPECT_EQ(At(led, 8 + 3, 8 + 2), clSilver);

    // Changing the type reloads and recolours the new bitmap.
    led.SetLedType(tltRectangle); // LI_RECT row 2: KGMMMMMMMKKSRRRRRRRK
    EXPECT_EQ(image->Pixels(2, 2), clBlue);
    EXPECT_EQ(image->Pixels(1, 2), clGray);
    EXPECT_EQ(image->Pixels(12, 2), clYellow);
}

TEST(SimpleLed, CustomGlyphsAreDrawnAsGivenAndTheCaptionBeside)
{
    TCountingLed led(nullptr);
    led.SetBounds(0, 0, 80, 25);
    led.SetDrawStyle(tdsCustom);
    led.SetCaption("Ab");
    led.Repaint();
    // No glyphs: a 0 x 0 lamp, only the caption in white.
    EXPECT_TRUE(led.GlyphRect().IsEmpty());
    TRect ink = InkBounds(*led.Canvas()->Bitmap(), clBlack);
    EXPECT_FALSE(ink.IsEmpty());
    TRect inside;
    EXPECT_TRUE(IntersectRect(inside, ink, led.TextRect()));
    EXPECT_EQ(inside, ink);

    TBitmap glyphs;
    glyphs.SetSize(6, 4);
    glyphs.Canvas()->Brush()->SetColor(clLime);
    glyphs.Canvas()->FillRect(Rect(0, 0, 3, 4));
    glyphs.Canvas()->Brush()->SetColor(clFuchsia);
    glyphs.Canvas()->FillRect(Rect(3, 0, 6, 4));
    int paints = led.Paints;
    led.SetGlyphs(&glyphs);
    EXPECT_EQ(led.Paints, paints + 1);
    EXPECT_EQ(led.Image()->Width(), 6);
    EXPECT_EQ(led.GlyphRect().Width(), 3);
    EXPECT_EQ(At(led, led.GlyphRect().Left, led.GlyphRect().Top), clLime);
    led.SetActive(true);
    EXPECT_EQ(At(led, led.GlyphRect().Left, led.GlyphRect().Top), clFuchsia);
}

TEST(SimpleLed, ImageRightPutsTheCaptionLeftOfTheLampBothCentred)
{
    TCountingLed led(nullptr);
    led.SetBounds(0, 0, 80, 25);
    led.SetLayout(tImageRight);
    int paints = led.Paints;
    led.SetCaption("Ab"); // the caption notification repaints
    EXPECT_EQ(led.Paints, paints + 1);
    const TRect lamp = led.GlyphRect(), text = led.TextRect();
    EXPECT_EQ(lamp.Width(), 9);
    EXPECT_LE(text.Right + 5, lamp.Left + 1);
    EXPECT_GE(text.Right + 5, lamp.Left - 1);
    EXPECT_LE(std::abs((lamp.Top + lamp.Bottom) - (text.Top + text.Bottom)), 1);
    EXPECT_GT(CountInk(*led.Canvas()->Bitmap(), text, clBlack), 0);
}

TEST(SimpleLed, TransparentLampShowsWhatLiesBeneathIt)
{
    TForm form(nullptr);
    form.SetBounds(0, 0, 40, 30);
    form.SetColor(clGreen);
    auto *below = new TDSGradient(&form);
    below->SetParent(&form);
    below->SetBounds(0, 0, 10, 30);
    below->SetStartColor(clTeal);
    below->SetEndColor(clTeal);
    auto *led = new TDSSimpleLed(&form);
    led->SetParent(&form);
    led->SetBounds(0, 0, 25, 25);
    led->SetLedType(tltLargeRect);
    led->SetTransparent(true);
    led->SetActive(true);

    auto b = WhiteBitmap(40, 30);
    form.PaintTo(b->Canvas(), 0, 0);
    EXPECT_EQ(b->Canvas()->Pixels(2, 2), clTeal);
    EXPECT_EQ(b->Canvas()->Pixels(5, 10), clTeal); // the frame's black
    EXPECT_EQ(b->Canvas()->Pixels(22, 2), clGreen);
    EXPECT_EQ(b->Canvas()->Pixels(19, 13), clGreen);
    EXPECT_EQ(b->Canvas()->Pixels(4, 9), clWhite);
    EXPECT_EQ(b->Canvas()->Pixels(6, 11), clRed);

    // A property change repaints over the last capture.
    led->SetActive(false);
    EXPECT_EQ(led->Canvas()->Pixels(2, 2), clTeal);
    EXPECT_EQ(led->Canvas()->Pixels(6, 11), clMaroon);
}

TEST(SimpleLed, AboutTextsCannotBeChanged)
{
    TDSSimpleLed led(nullptr);
    led.SetAboutDS("x");
    led.SetAboutVers("2");
    EXPECT_EQ(led.AboutDS(), "Component");
    EXPECT_EQ(led.AboutVers(), "1.0.0");
}
