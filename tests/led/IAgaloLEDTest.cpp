#include "Forms.h"
#include "IAgaloLED.h"
#include "Random.h"
#include "../ui/Pixels.h"
#include "PaintCounter.h"

#include <QImage>
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <numbers>

namespace {

// A lamp whose window exists: at angle 0 it takes its lamp size from the
// 24 x 14 window it is built with.
std::unique_ptr<TIAgaloLED> Lamp()
{
    auto led = std::make_unique<TIAgaloLED>(nullptr);
    led->HandleNeeded();
    return led;
}

TSize WindowSize(const TIAgaloLED &Led)
{
    return {Led.Width(), Led.Height()};
}

TColor Pixel(TIAgaloLED &Led, int X, int Y)
{
    return Led.RenderBitmap()->Canvas()->Pixels(X, Y);
}

} // namespace

TEST(LedGeometry, WindowCreationTakesTheLampSizeAndLampWritesSizeTheWindow)
{
    auto led = Lamp();
    EXPECT_EQ(led->BorderSum(), 2);
    EXPECT_EQ(led->LedWidth(), 20);
    EXPECT_EQ(led->LedHeight(), 10);
    EXPECT_EQ(WindowSize(*led), (TSize{24, 14}));
    led->SetLedWidth(22);
    led->SetLedHeight(12);
    EXPECT_EQ(WindowSize(*led), (TSize{26, 16}));
    EXPECT_EQ(led->RenderBitmap()->Width(), 26);
    ASSERT_NE(led->WindowRegion(), nullptr);
    EXPECT_EQ(led->WindowRegion()->Bounds(), Rect(0, 0, 26, 16));
}

TEST(LedGeometry, TurnedWindowSizes)
{
    struct Case {
        int Angle;
        TSize Window;
    };
    for (Case c : {Case{450, {30, 30}}, Case{300, {31, 27}}, Case{900, {16, 26}},
                   Case{-900, {16, 26}}, Case{1800, {26, 16}}, Case{0, {26, 16}}}) {
        auto led = Lamp();
        led->SetLedWidth(22);
        led->SetLedHeight(12);
        led->SetAngle(c.Angle);
        EXPECT_EQ(WindowSize(*led), c.Window) << c.Angle;
        EXPECT_EQ(led->LedWidth(), 22) << c.Angle;
        EXPECT_EQ(led->LedHeight(), 12) << c.Angle;
    }
}

TEST(LedGeometry, PositiveAnglesTurnCounterClockwiseAboutTheWindowCentre)
{
    auto led = Lamp();
    led->SetLedWidth(22);
    led->SetLedHeight(12);
    ASSERT_EQ(led->BodyPoly().front(), (TPoint{2, 2}));
    led->SetAngle(900);
    EXPECT_EQ(led->BodyPoly().front(), (TPoint{2, 24})); // top left went to bottom left
    EXPECT_EQ(led->OuterPoly().front(), (TPoint{0, 26}));
    led->SetAngle(1800);
    EXPECT_EQ(led->BodyPoly().front(), (TPoint{24, 14})); // upside down
}

TEST(LedGeometry, AngleIsNormalisedAfterComparingTheRawValue)
{
    struct Case {
        int Written, Stored;
    };
    for (Case c : {Case{1801, -1799}, Case{-1800, 1800}, Case{1800, 1800}, Case{-1799, -1799},
                   Case{5400, 1800}, Case{-5400, 1800}, Case{7201, 1}, Case{2147483647, 847},
                   Case{-2147483647 - 1, -848}}) {
        auto led = Lamp();
        led->SetAngle(c.Written);
        EXPECT_EQ(led->Angle(), c.Stored) << c.Written;
    }
    // 3600 differs from the stored 0, so it is stored (as 0) and the lamp
    // is rendered again, which draws from the shared generator.
    auto led = Lamp();
    uint32_t seed = RandSeed;
    led->SetAngle(0);
    EXPECT_EQ(RandSeed, seed);
    led->SetAngle(3600);
    EXPECT_EQ(led->Angle(), 0);
    EXPECT_NE(RandSeed, seed);
}

TEST(LedGeometry, WindowResizesDriveTheLampOnlyAtRightAngles)
{
    auto led = Lamp();
    led->SetAngle(900);
    led->SetBounds(led->Left(), led->Top(), 30, 50);
    EXPECT_EQ(led->LedHeight(), 26);
    EXPECT_EQ(led->LedWidth(), 46);
    EXPECT_EQ(WindowSize(*led), (TSize{30, 50}));

    led->SetAngle(0);
    led->SetWidth(40);
    EXPECT_EQ(led->LedWidth(), 36);
    led->SetBounds(led->Left(), led->Top(), 3, 1);
    EXPECT_EQ(led->LedWidth(), 0);
    EXPECT_EQ(led->LedHeight(), 0);
    EXPECT_EQ(WindowSize(*led), (TSize{4, 4})); // grown back to 2r

    led->SetLedWidth(22);
    led->SetLedHeight(12);
    led->SetAngle(450);
    led->SetWidth(100);
    led->SetHeight(100);
    EXPECT_EQ(WindowSize(*led), (TSize{30, 30}));
    led->SetBounds(5, 6, 70, 10);
    EXPECT_EQ(WindowSize(*led), (TSize{30, 30}));
    EXPECT_EQ(led->Left(), 5);
    EXPECT_EQ(led->LedWidth(), 22);
}

TEST(LedGeometry, OutlinePointCounts)
{
    auto led = Lamp();
    led->SetLedClass(ialcRound);
    led->SetLedWidth(22);
    led->SetLedHeight(12);
    EXPECT_EQ(led->BodyPoly().size(), 44u);
    EXPECT_EQ(led->OuterPoly().size(), 44u);
    EXPECT_EQ(led->BodyPoly().front(), (TPoint{13, 2})); // starts at the top
    led->SetLedWidth(0);
    led->SetLedHeight(0);
    EXPECT_EQ(led->BodyPoly().size(), 2u);

    led->SetLedClass(ialcHalfCircle);
    led->SetLedWidth(1);
    led->SetLedHeight(1);
    const TIAglPoly &body = led->BodyPoly();
    ASSERT_EQ(body.size(), 4u);
    ASSERT_EQ(led->GapPoly().size(), 4u);
    // The arc runs from the top-left corner to the bottom-left one, and the
    // closing points repeat its ends.
    EXPECT_EQ(body[0], (TPoint{2, 2}));
    EXPECT_EQ(body[1], (TPoint{2, 3}));
    EXPECT_EQ(body[2], body[1]);
    EXPECT_EQ(body[3], body[0]);

    for (auto [cls, points] : {std::pair{ialcRect, 4u}, std::pair{ialcRomb, 4u},
                               std::pair{ialcTriangle, 3u}, std::pair{ialcTrapezium, 4u}}) {
        led->SetLedClass(cls);
        EXPECT_EQ(led->InnerPoly().size(), points) << int(cls);
    }
}

TEST(LedGeometry, AbsentRingsCountForNothing)
{
    auto led = Lamp();
    led->SetInnerBorderDepth(5);
    EXPECT_EQ(led->BorderSum(), 2);
    EXPECT_EQ(WindowSize(*led), (TSize{24, 14}));
    EXPECT_EQ(led->InnerPoly(), led->GapPoly());
    EXPECT_EQ(led->GapPoly(), led->BodyPoly()); // gap 0

    led->SetOuterBorderStyle(iablsNone);
    EXPECT_EQ(WindowSize(*led), (TSize{20, 10}));
    EXPECT_EQ(led->OuterPoly(), led->BodyPoly());
    led->SetLedClass(ialcTriangle);
    TRegion body = CreatePolygonRgn(led->BodyPoly(), ALTERNATE);
    ASSERT_NE(led->WindowRegion(), nullptr);
    EXPECT_EQ(*led->WindowRegion(), body);
    EXPECT_FALSE(led->WindowRegion()->Contains(0, 0)); // the parent shows beside the tip

    led->SetInnerBorderStyle(iablsUp);
    led->SetGap(1);
    EXPECT_EQ(led->BorderSum(), 6);
    led->SetGap(-1);
    led->SetLedPlasticDepth(11);
    led->SetGaloSize(50);
    EXPECT_EQ(led->Gap(), 1);
    EXPECT_EQ(led->LedPlasticDepth(), 5);
    EXPECT_EQ(led->GaloSize(), 10);
}

TEST(LedRender, LitAndUnlitPlasticChannels)
{
    auto led = Lamp();
    led->SetOuterBorderStyle(iablsNone); // the window is the 20 x 10 lamp
    led->SetLedOn(true);
    RandSeed = 0;
    led->RenderLed();
    auto lit = std::make_unique<TBitmap>();
    lit->Assign(led->RenderBitmap());
    led->SetLedOn(false);
    RandSeed = 0;
    led->RenderLed();

    // At depth 5 the noise adds 1 .. 15, so the centre saturates.
    EXPECT_EQ(lit->Canvas()->Pixels(10, 5), clRed);
    int darker = 0;
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 20; ++x) {
            TColor on = lit->Canvas()->Pixels(x, y), off = Pixel(*led, x, y);
            ASSERT_EQ(GetGValue(on) | GetBValue(on) | GetGValue(off) | GetBValue(off), 0);
            ASSERT_EQ(GetRValue(off), 127 * GetRValue(on) / 255) << x << "," << y;
            darker += GetRValue(on) < GetRValue(lit->Canvas()->Pixels(10, 5));
        }
    EXPECT_GT(darker, 150); // brightest in the middle, falling off to the edges
    EXPECT_LT(GetRValue(lit->Canvas()->Pixels(0, 0)), 140);
}

TEST(LedRender, PlasticSubstanceTilesOrStretches)
{
    auto led = Lamp();
    led->SetOuterBorderStyle(iablsNone);
    led->SetLedOn(true);
    auto stripes = SolidBitmap(2, 1, clWhite);
    stripes->Canvas()->SetPixels(1, 0, clBlack);
    led->SetLedPlasticSubstance(stripes.get());
    // Tiled: every second column is black; white ones take the shade v.
    EXPECT_EQ(Pixel(*led, 10, 5), clWhite);
    EXPECT_EQ(Pixel(*led, 11, 5), clBlack);
    led->SetLedPlasticSubsMode(iasmStretch);
    TColor left = Pixel(*led, 9, 5);
    EXPECT_GT(GetRValue(left), 200);
    EXPECT_EQ(left, RGB(GetRValue(left), GetRValue(left), GetRValue(left)));
    EXPECT_EQ(Pixel(*led, 10, 5), clBlack);

    auto empty = std::make_unique<TBitmap>();
    led->SetLedPlasticSubstance(empty.get());
    EXPECT_EQ(led->LedPlasticSubstance()->Height(), 0);
    EXPECT_EQ(Pixel(*led, 10, 5), clRed);
}

TEST(LedRender, RingColoursFollowTheScreenLight)
{
    struct Case {
        TIABorderLedStyle Style;
        int Angle;
        TColor TopLeft, BottomRight;
    };
    const TColor light = 0xA0A0A0, dark = 0x606060;
    for (Case c : {Case{iablsUp, 0, light, dark}, Case{iablsDown, 0, dark, light},
                   Case{iablsUp, 1800, light, dark}, Case{iablsDown, 1800, dark, light}}) {
        auto led = Lamp();
        led->SetOuterBorderStyle(c.Style);
        led->SetAngle(c.Angle);
        ASSERT_EQ(WindowSize(*led), (TSize{24, 14}));
        EXPECT_EQ(Pixel(*led, 12, 0), c.TopLeft) << c.Style << " " << c.Angle;
        EXPECT_EQ(Pixel(*led, 0, 7), c.TopLeft) << c.Style << " " << c.Angle;
        EXPECT_EQ(Pixel(*led, 12, 13), c.BottomRight) << c.Style << " " << c.Angle;
        EXPECT_EQ(Pixel(*led, 23, 7), c.BottomRight) << c.Style << " " << c.Angle;
    }

    EXPECT_EQ(LighterColor(clWhite), clWhite);
    EXPECT_EQ(LighterColor(0xE0DF10), 0xFFFF30);
    EXPECT_EQ(DarkerColor(0x20001F), 0x000000);
    EXPECT_EQ(DarkerColor(clBlack), clBlack);
    EXPECT_TRUE(FacesShadow(-900));
    EXPECT_TRUE(FacesShadow(1800));
    EXPECT_TRUE(FacesShadow(1360));
    EXPECT_FALSE(FacesShadow(1340));
    EXPECT_TRUE(FacesShadow(-460));
    EXPECT_FALSE(FacesShadow(-440));
    EXPECT_FALSE(FacesShadow(900));
    EXPECT_FALSE(FacesShadow(0));
}

TEST(LedRender, ShadowBoundsLieExactlyOnMultiplesOfFortyFiveDegrees)
{
    // Upper half-turn: shadowed from 135 degrees on; lower one through 315.
    EXPECT_TRUE(FacesShadow(-450));
    EXPECT_TRUE(FacesShadow(3150));
    EXPECT_TRUE(FacesShadow(1350));
    EXPECT_TRUE(FacesShadow(-2250));
    EXPECT_TRUE(FacesShadow(2250));
    EXPECT_FALSE(FacesShadow(450));
    EXPECT_FALSE(FacesShadow(-3150));
    EXPECT_FALSE(FacesShadow(3600));
    EXPECT_TRUE(FacesShadow(-1800));
    // Away from the bounds floating point decides every angle alike.
    for (int t = -5400; t <= 5400; ++t) {
        if (t % 450 == 0)
            continue;
        const double a = t * std::numbers::pi / 1800;
        const bool formula = std::sin(a) > 0 ? std::cos(a) <= -1 / std::sqrt(2.0)
                                             : std::cos(a) <= 1 / std::sqrt(2.0);
        ASSERT_EQ(FacesShadow(t), formula) << t;
    }

    // A square rhombus: its sides run at 45, -45, -135 and 135 degrees, all
    // on a bound, and the bounds belong to the shadow. A raised ring is lit
    // on its top-left side only; a sunken one on its bottom-right side only.
    for (TIABorderLedStyle style : {iablsUp, iablsDown}) {
        auto led = Lamp();
        led->SetOuterBorderStyle(style);
        led->SetLedClass(ialcRomb);
        led->SetLedWidth(20);
        led->SetLedHeight(20);
        led->SetOuterBorderDepth(3);
        const TColor light = LighterColor(led->BorderColor());
        const TColor dark = DarkerColor(led->BorderColor());
        const TIAglPoly &outer = led->OuterPoly();
        ASSERT_EQ(outer.size(), 4u);
        ASSERT_EQ(outer[1].X - outer[0].X, outer[1].Y - outer[0].Y) << "a square rhombus";
        // The middle of each side, one pixel inside the outline.
        auto side = [&](size_t i, int dx, int dy) {
            const TPoint a = outer[i], b = outer[(i + 1) % 4];
            return Pixel(*led, (a.X + b.X) / 2 + dx, (a.Y + b.Y) / 2 + dy);
        };
        const bool up = style == iablsUp;
        EXPECT_EQ(side(3, 1, 1), up ? light : dark) << "top left " << int(style);
        EXPECT_EQ(side(0, -1, 1), dark) << "top right " << int(style);
        EXPECT_EQ(side(1, -1, -1), up ? dark : light) << "bottom right " << int(style);
        EXPECT_EQ(side(2, 1, -1), dark) << "bottom left " << int(style);
    }
}

TEST(LedRender, GapAndInnerRingAndBorderSubstance)
{
    auto led = Lamp();
    led->SetGap(3);
    led->SetGapColor(clBlue);
    led->SetInnerBorderStyle(iablsUp);
    led->SetInnerBorderDepth(2);
    led->SetBorderColor(clWhite);
    // Window 20 + 2 x 7 wide: outer ring 0..1, inner ring 2..3, gap 4..6.
    ASSERT_EQ(WindowSize(*led), (TSize{34, 24}));
    EXPECT_EQ(Pixel(*led, 17, 5), clBlue);
    EXPECT_EQ(Pixel(*led, 17, 2), clWhite);               // inner, raised, top: lit
    EXPECT_EQ(Pixel(*led, 17, 21), DarkerColor(clWhite)); // inner bottom
    EXPECT_EQ(Pixel(*led, 17, 0), DarkerColor(clWhite));  // outer, sunken, top
    EXPECT_EQ(Pixel(*led, 17, 23), clWhite);              // outer bottom

    auto substance = SolidBitmap(3, 3, 0x646464);
    uint32_t seed = RandSeed;
    led->SetBorderSubstance(substance.get());
    uint32_t once = RandSeed;
    led->SetBorderSubstance(substance.get());
    EXPECT_NE(seed, once);
    EXPECT_NE(RandSeed, once); // the same bitmap renders again
    led->SetBorderSubsMode(iasmStretch);
    EXPECT_EQ(Pixel(*led, 17, 5), 0x646464); // the gap shows the substance itself
    EXPECT_EQ(Pixel(*led, 17, 2), 0xA4A4A4);
    EXPECT_EQ(Pixel(*led, 17, 21), 0x242424);

    auto empty = std::make_unique<TBitmap>();
    led->SetBorderSubstance(empty.get());
    EXPECT_EQ(led->BorderSubstance()->Height(), 0);
    EXPECT_EQ(Pixel(*led, 17, 5), clBlue);
}

TEST(LedRender, RingsCoverEverythingOutsideTheBody)
{
    for (int angle : {0, 450, 300}) {
        auto led = Lamp();
        led->SetLedClass(ialcRound);
        led->SetGap(3);
        led->SetGapColor(clBlue);
        led->SetInnerBorderStyle(iablsUp);
        led->SetInnerBorderDepth(3);
        led->SetOuterBorderDepth(3);
        led->SetLedWidth(30);
        led->SetLedHeight(24);
        led->SetAngle(angle);
        const TRegion body = CreatePolygonRgn(led->BodyPoly());
        int ring = 0;
        for (int y = 0; y < led->Height(); ++y)
            for (int x = 0; x < led->Width(); ++x) {
                if (!led->WindowRegion()->Contains(x, y) || body.Contains(x, y))
                    continue;
                TColor c = Pixel(*led, x, y);
                EXPECT_TRUE(c == clBlue || c == 0xA0A0A0 || c == 0x606060)
                    << angle << ": " << x << "," << y;
                ++ring;
            }
        EXPECT_GT(ring, 400) << angle;
    }
}

TEST(LedHalo, StrongestAtTheCentreAndNothingOutsideTheEllipse)
{
    EXPECT_EQ(HaloStrength(22, 17, 44, 34, 5), 128); // 127.5 to even
    EXPECT_EQ(HaloStrength(22, 17, 44, 34, 10), 255);
    EXPECT_EQ(HaloStrength(22, 17, 44, 34, 1), 26);
    EXPECT_EQ(HaloStrength(0, 0, 44, 34, 10), 0);
    EXPECT_EQ(HaloStrength(0, 17, 44, 34, 10), 0);
    EXPECT_EQ(HaloStrength(1, 17, 1, 1, 10), 0);

    auto black = SolidBitmap(44, 34, clBlack);
    DrawHalo(black.get(), 0x4080FF, 10);
    EXPECT_EQ(black->Canvas()->Pixels(22, 17), 0x4080FF);
    auto white = SolidBitmap(44, 34, clWhite);
    DrawHalo(white.get(), clRed, 10);
    EXPECT_EQ(white->Canvas()->Pixels(22, 17), clWhite);
}

TEST(LedHalo, GlowsOverTheParentOnlyWhileLit)
{
    TForm form(nullptr);
    form.SetBounds(0, 0, 80, 60);
    form.SetColor(clBlack);
    auto *led = new TIAgaloLED(&form);
    led->SetBounds(28, 23, 24, 14);
    led->SetParent(&form);
    led->HandleNeeded();
    led->SetGaloON(true);
    led->SetGaloIntensity(10);
    led->SetLedOn(true);

    auto shot = SolidBitmap(80, 60, clWhite);
    form.PaintTo(shot->Canvas(), 0, 0); // the lamp's paint lays out its glow
    form.PaintTo(shot->Canvas(), 0, 0);
    TColor nearLamp = shot->Canvas()->Pixels(26, 30);
    EXPECT_GT(GetRValue(nearLamp), 80);
    EXPECT_EQ(GetGValue(nearLamp), 0);
    EXPECT_EQ(shot->Canvas()->Pixels(19, 14), clBlack); // outside the ellipse
    TColor ring = shot->Canvas()->Pixels(40, 23);       // sunken top ring, under the glow
    EXPECT_GT(GetRValue(ring), 0x60);
    EXPECT_EQ(ring & 0xFFFF00, 0x606000);

    // On the screen the overlay's own paint composes the same picture.
    form.ShowForm();
    QImage screen = form.grab().toImage();
    EXPECT_EQ(QColor(screen.pixel(26, 30)).red(), GetRValue(nearLamp));
    EXPECT_EQ(QColor(screen.pixel(40, 23)).red(), GetRValue(ring));

    // What the screen shows follows without a paint of the whole window:
    // the glow goes with the light, and comes back with it.
    TPaintCounter paints;
    ASSERT_TRUE(paints.Settle());
    EXPECT_EQ(QColor(ScreenPicture(form).pixel(26, 30)).red(), GetRValue(nearLamp));
    led->SetLedOn(false);
    ASSERT_TRUE(paints.Settle());
    EXPECT_EQ(QColor(ScreenPicture(form).pixel(26, 30)).red(), 0);
    led->SetLedOn(true);
    ASSERT_TRUE(paints.Settle());
    EXPECT_EQ(QColor(ScreenPicture(form).pixel(26, 30)).red(), GetRValue(nearLamp));
    led->SetLedOn(false);
    ASSERT_TRUE(paints.Settle());
    EXPECT_EQ(QColor(form.grab().toImage().pixel(26, 30)).red(), 0);
    form.PaintTo(shot->Canvas(), 0, 0);
    EXPECT_EQ(shot->Canvas()->Pixels(26, 30), clBlack);
    EXPECT_EQ(shot->Canvas()->Pixels(40, 23), 0x606060);
}
