#pragma once
// TIAgaloLED: an indicator lamp of one of six outlines, turned by any angle
// in tenths of a degree and framed by up to three rings (gap, inner border,
// outer border). The window is the turned box of the lamp with its rings and
// its region is cut to the outer ring, so the parent shows through around the
// outline. The picture is composed off-screen by RenderLed; painting only
// copies it. A lit lamp can glow (the halo) over its surroundings: the glow
// is drawn by an overlay control laid over the parent, since a Qt window
// cannot draw outside itself.

#include "Controls.h"
#include "Graphics.h"

#include <QPointer>

#include <cstdint>
#include <vector>

enum TIALedClass : uint8_t {
    ialcRect,
    ialcRound,
    ialcRomb,
    ialcHalfCircle,
    ialcTriangle,
    ialcTrapezium
};
enum TIABorderLedStyle : uint8_t { iablsUp, iablsDown, iablsNone };
enum TIAglSubstanceMode { iasmTile, iasmStretch };

struct TIAxyPoint {
    double X = 0;
    double Y = 0;
};
using TIAglPoly = std::vector<TPoint>;
using TIAxyPoly = std::vector<TIAxyPoint>;

// Per channel of the colour's RGB value: +32, 255 above 223.
TColor LighterColor(TColor Color);
// Per channel: -32, 0 below 32.
TColor DarkerColor(TColor Color);
// Every byte of every pixel +N (saturating at 255) / -N (saturating at 0).
void LightenBitmap(TBitmap *Bitmap, int N);
void DarkenBitmap(TBitmap *Bitmap, int N);
// Whether a ring piece whose outer edge runs at angle T (tenths of a degree,
// counter-clockwise, 0 = to the right) lies in the shadow of a light from the
// top left.
bool FacesShadow(int T);
// The glow's strength, 0 .. 255, at pixel (X, Y) of a Width x Height box: an
// ellipse inscribed in the box, strongest at its centre (25.5 x Intensity).
int HaloStrength(int X, int Y, int Width, int Height, int Intensity);
// Lays the glow of Color with Intensity (1 .. 10) over the whole bitmap:
// each byte gains Color's channel x strength / 255, saturating at 255.
void DrawHalo(TBitmap *Bitmap, TColor Color, int Intensity);

class TIAgaloHalo;

class TIAgaloLED : public TCustomControl {
public:
    explicit TIAgaloLED(TComponent *AOwner);
    ~TIAgaloLED() override;
    const char *ClassName() const override { return "TIAgaloLED"; }

    // Width and Height writes are taken only while the angle is a multiple of
    // 90 degrees; the lamp size then follows the window (WMSize).
    void SetHeight(int Value) override;
    void SetWidth(int Value) override;
    virtual int GetHeight() const { return Height(); }
    virtual int GetWidth() const { return Width(); }

    // Writers: an equal value or one outside the accepted range is ignored.
    virtual void SetLedClass(TIALedClass Value);
    // Any value; stored normalised to -1799 .. 1800.
    virtual void SetAngle(int Value);
    virtual void SetBorderColor(TColor Value);
    // 0 or more, as the two border depths.
    virtual void SetGap(int Value);
    virtual void SetInnerBorderDepth(int Value);
    virtual void SetInnerBorderStyle(TIABorderLedStyle Value);
    virtual void SetGapColor(TColor Value);
    virtual void SetLedPlasticColor(TColor Value);
    // 1 .. 10.
    virtual void SetLedPlasticDepth(int Value);
    virtual void SetOuterBorderDepth(int Value);
    virtual void SetOuterBorderStyle(TIABorderLedStyle Value);
    virtual void SetLedOn(bool Value);
    // 0 or more.
    virtual void SetLedHeight(int Value);
    virtual void SetLedWidth(int Value);
    virtual void SetLedPlasticSubsMode(TIAglSubstanceMode Value);
    virtual void SetBorderSubsMode(TIAglSubstanceMode Value);
    virtual void SetGaloON(bool Value);
    // 0 .. 49.
    virtual void SetGaloSize(int Value);
    // 1 .. 10.
    virtual void SetGaloIntensity(int Value);
    // Copies the picture (every write, also of the same bitmap); a null or
    // empty bitmap removes the substance.
    void SetBorderSubstance(TBitmap *Value);
    void SetLedPlasticSubstance(TBitmap *Value);

    TIALedClass LedClass() const { return FLedClass; }
    int Angle() const { return FAngle; }
    TColor BorderColor() const { return FBorderColor; }
    int Gap() const { return FGap; }
    int InnerBorderDepth() const { return FInnerBorderDepth; }
    TIABorderLedStyle InnerBorderStyle() const { return FInnerBorderStyle; }
    TColor GapColor() const { return FGapColor; }
    TColor LedPlasticColor() const { return FLedPlasticColor; }
    int LedPlasticDepth() const { return FLedPlasticDepth; }
    int OuterBorderDepth() const { return FOuterBorderDepth; }
    TIABorderLedStyle OuterBorderStyle() const { return FOuterBorderStyle; }
    bool LedOn() const { return FLedOn; }
    int LedHeight() const { return FLedHeight; }
    int LedWidth() const { return FLedWidth; }
    TIAglSubstanceMode LedPlasticSubsMode() const { return FLedPlasticSubsMode; }
    TIAglSubstanceMode BorderSubsMode() const { return FBorderSubsMode; }
    bool GaloON() const { return FGaloON; }
    int GaloSize() const { return FGaloSize; }
    int GaloIntensity() const { return FGaloIntensity; }
    TBitmap *BorderSubstance() { return &FBorderSubstance; }
    TBitmap *LedPlasticSubstance() { return &FLedPlasticSubstance; }

    // Gap plus the depths of the rings that are drawn.
    int BorderSum() const;
    // The outlines in window coordinates, rounded: lamp body, gap edge,
    // inner edge, outer edge; all of one length.
    const TIAglPoly &BodyPoly() const { return FBodyPoly; }
    const TIAglPoly &GapPoly() const { return FGapPoly; }
    const TIAglPoly &InnerPoly() const { return FInnerPoly; }
    const TIAglPoly &OuterPoly() const { return FOuterPoly; }
    // The finished picture of the last RenderLed, as big as the window.
    TBitmap *RenderBitmap() { return &FRenderBitmap; }

    // Composes the whole picture into the render bitmap. Draws one number
    // from the shared Random per pixel.
    void RenderLed();

    void WMSize(int ClientWidth, int ClientHeight) override;
    void WMMove() override;
    void CMVisibleChanged() override;

protected:
    void CreateHandle() override;
    void Loaded() override;
    void Paint() override;

private:
    friend class TIAgaloHalo;
    bool RightAngle() const;
    void UpdateGeometry();
    void BuildShape();
    void RotatePolygon(TIAxyPoly &Poly) const;
    void RoundPolygons();
    void RebuildShadedCopies();
    void DrawSubstance(TBitmap *Substance, TIAglSubstanceMode Mode);
    void DrawRing(const TIAglPoly &Inside, const TIAglPoly &Edge, TIABorderLedStyle Style);
    void ShowHalo();
    void HaloRefresh();
    // Geometry effect of the writers: UpdateGeometry, RenderLed, Invalidate.
    void GeometryChanged();
    // Render effect: RenderLed, Redraw.
    void RenderChanged();
    // Invalidates the lamp and its glow.
    void Redraw();

    TIALedClass FLedClass = ialcRect;
    int FLedPlasticDepth = 5;
    int FInnerBorderDepth = 0;
    int FAngle = 0;
    int FGap = 0;
    int FOuterBorderDepth = 2;
    TBitmap FBorderSubstance;
    TBitmap FLightBorder;
    TBitmap FDarkBorder;
    TBitmap FLedPlasticSubstance;
    TColor FBorderColor = TColorOf(0x808080);
    TColor FLedPlasticColor = clRed;
    TIABorderLedStyle FOuterBorderStyle = iablsDown;
    TIABorderLedStyle FInnerBorderStyle = iablsNone;
    bool FLedOn = false;
    bool FHaloWipePending = false;
    int FLedHeight = 12;
    int FLedWidth = 22;
    int FBoxHeight = 0;
    int FBoxWidth = 0;
    TIAglPoly FBodyPoly, FGapPoly, FInnerPoly, FOuterPoly;
    TIAxyPoly FBodyXY, FGapXY, FInnerXY, FOuterXY;
    TBitmap FRenderBitmap;
    TColor FGapColor = TColorOf(0x808080);
    TIAglSubstanceMode FLedPlasticSubsMode = iasmTile;
    TIAglSubstanceMode FBorderSubsMode = iasmTile;
    bool FGaloON = false;
    int FGaloSize = 10;
    int FGaloIntensity = 5;

    QPointer<TIAgaloHalo> FHalo;
};
