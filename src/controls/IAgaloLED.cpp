#include "IAgaloLED.h"

#include "Math.h"
#include "Random.h"

#include <algorithm>
#include <cstdint>
#include <cmath>
#include <numbers>
#include <utility>
#include <vector>

namespace {

constexpr double Pi = std::numbers::pi;
constexpr double RightAngleTolerance = 0.0001;
constexpr int ShadeStep = 64;

double Radians(int Tenths)
{
    return Tenths * Pi / 1800;
}

uint8_t ClampByte(int64_t V)
{
    return static_cast<uint8_t>(std::clamp<int64_t>(V, 0, 255));
}

// Rounds a per-pixel value that may come from a near-zero denominator; such
// values end up clamped to a byte anyway, so bounding them first is harmless.
int64_t RoundBounded(double V)
{
    if (!std::isfinite(V))
        return 0;
    return Round(std::clamp(V, -1e6, 1e6));
}

// The number of points of an outline: its index k gives the angle a of the
// round and half-circle outlines.
int OutlineSize(TIALedClass Class, int N)
{
    switch (Class) {
    case ialcRound: return 2 * N;
    case ialcHalfCircle: return 2 * N + 2;
    case ialcTriangle: return 3;
    default: return 4;
    }
}

// The lamp body of width W and height H in the unturned frame, whose body
// starts at (R, R); points clockwise on the screen, the first at the top.
TIAxyPoly BodyOutline(TIALedClass Class, int R, int W, int H)
{
    const int n = std::max(std::max(W, H), 1);
    TIAxyPoly p(OutlineSize(Class, n));
    const double r = R;
    switch (Class) {
    case ialcRect: p = {{r, r}, {r + W, r}, {r + W, r + H}, {r, r + H}}; break;
    case ialcRound:
        for (int k = 0; k < 2 * n; ++k) {
            double a = k * Pi / n;
            p[k] = {r + W / 2.0 + W * std::sin(a) / 2, r + H / 2.0 - H * std::cos(a) / 2};
        }
        break;
    case ialcRomb:
        p = {{r + W / 2, r}, {r + W, r + H / 2}, {r + W / 2, r + H}, {r, r + H / 2}};
        break;
    case ialcHalfCircle:
        for (int k = 0; k < 2 * n; ++k) {
            double a = k * Pi / (2 * n - 1);
            p[k] = {r + W * std::sin(a), r + H / 2.0 - H * std::cos(a) / 2};
        }
        p[2 * n] = {r, r + H};
        p[2 * n + 1] = {r, r};
        break;
    case ialcTriangle: p = {{r + W / 2, r}, {r + W, r + H}, {r, r + H}}; break;
    case ialcTrapezium:
        p = {{r + W / 4, r}, {r + (3 * W) / 4, r}, {r + W, r + H}, {r, r + H}};
        break;
    }
    return p;
}

// The edge G pixels outward of P, point by point.
TIAxyPoly OffsetOutline(TIALedClass Class, const TIAxyPoly &P, int G, int W, int H)
{
    const int n = std::max(std::max(W, H), 1);
    const double g = G;
    TIAxyPoly q = P;
    auto move = [&](size_t i, double dx, double dy) {
        q[i].X += dx;
        q[i].Y += dy;
    };
    switch (Class) {
    case ialcRect:
        move(0, -g, -g);
        move(1, g, -g);
        move(2, g, g);
        move(3, -g, g);
        break;
    case ialcRound:
        for (int k = 0; k < 2 * n; ++k) {
            double a = k * Pi / n;
            move(k, g * std::sin(a), -g * std::cos(a));
        }
        break;
    case ialcRomb:
        move(0, 0, -g);
        move(1, g, 0);
        move(2, 0, g);
        move(3, -g, 0);
        break;
    case ialcHalfCircle:
        for (int k = 0; k < 2 * n; ++k) {
            double a = k * Pi / (2 * n - 1);
            move(k, g * std::sin(a), -g * std::cos(a));
        }
        move(2 * n, -g, g);
        move(2 * n + 1, -g, -g);
        break;
    case ialcTriangle:
        move(0, 0, -g);
        move(1, g, g);
        move(2, -g, g);
        break;
    case ialcTrapezium:
        move(0, -(G / 2), -g);
        move(1, G / 2, -g);
        move(2, g, g);
        move(3, -g, g);
        break;
    }
    return q;
}

// Joins regions pairwise: one piece after another into a growing region
// costs quadratic time on the many pieces of a large round lamp.
TRegion UnionOf(std::vector<TRegion> Pieces)
{
    if (Pieces.empty())
        return TRegion();
    for (size_t step = 1; step < Pieces.size(); step *= 2)
        for (size_t i = 0; i + step < Pieces.size(); i += 2 * step)
            CombineRgn(Pieces[i], Pieces[i], Pieces[i + step], RGN_OR);
    return Pieces.front();
}

// The ring between two outlines of one length is made of the quadrilaterals
// (Inside[i], Edge[i], Edge[i + 1], Inside[i + 1]); Side(i, i + 1) tells
// which of the two regions each piece joins.
template <class Select>
std::pair<TRegion, TRegion> RingPieces(const TIAglPoly &Inside, const TIAglPoly &Edge,
                                       Select &&Side)
{
    std::vector<TRegion> pieces[2];
    const size_t n = Edge.size();
    for (size_t i = 0; i < n; ++i) {
        size_t j = (i + 1) % n;
        pieces[Side(i, j) ? 1 : 0].push_back(
            CreatePolygonRgn({Inside[i], Edge[i], Edge[j], Inside[j]}, ALTERNATE));
    }
    return {UnionOf(std::move(pieces[0])), UnionOf(std::move(pieces[1]))};
}

bool HasPicture(const TBitmap &Bitmap)
{
    return Bitmap.Height() != 0;
}

void CopyPicture(TBitmap &Dest, TBitmap *Source)
{
    Dest.SetSize(Source->Width(), Source->Height());
    Dest.SetPixelFormat(pf24bit);
    Dest.Canvas()->Draw(0, 0, Source);
}

template <class Op> void ForEachByte(TBitmap *Bitmap, Op &&Change)
{
    for (int y = 0; y < Bitmap->Height(); ++y) {
        uint8_t *row = Bitmap->ScanLine(y);
        for (int i = 0; i < 3 * Bitmap->Width(); ++i)
            row[i] = Change(row[i]);
    }
}

// The writers' rule: an equal value or one outside the accepted range is
// ignored; otherwise it is stored and the caller runs the write's effect.
template <class T> bool Store(T &Field, T Value, bool Accepted = true)
{
    if (Value == Field || !Accepted)
        return false;
    Field = Value;
    return true;
}

// Set while a halo overlay composes what lies beneath it: the lamps it paints
// then must not move or invalidate their overlays.
bool HaloComposing = false;

} // namespace

// ---------------------------------------------------------------- colours and bitmaps

TColor LighterColor(TColor Color)
{
    TColor c = ColorToRGB(Color);
    auto up = [](int v) { return v > 223 ? 255 : v + 32; };
    return RGB(up(GetRValue(c)), up(GetGValue(c)), up(GetBValue(c)));
}

TColor DarkerColor(TColor Color)
{
    TColor c = ColorToRGB(Color);
    auto down = [](int v) { return v < 32 ? 0 : v - 32; };
    return RGB(down(GetRValue(c)), down(GetGValue(c)), down(GetBValue(c)));
}

void LightenBitmap(TBitmap *Bitmap, int N)
{
    ForEachByte(Bitmap, [N](uint8_t b) { return static_cast<uint8_t>(b > 255 - N ? 255 : b + N); });
    Bitmap->Changed();
}

void DarkenBitmap(TBitmap *Bitmap, int N)
{
    ForEachByte(Bitmap, [N](uint8_t b) { return static_cast<uint8_t>(b < N ? 0 : b - N); });
    Bitmap->Changed();
}

bool FacesShadow(int T)
{
    // The bounds lie on whole multiples of 45 degrees, where sine and cosine
    // in floating point fall a hair either side; on the tenths they are exact.
    // Upper half (0 .. 180 degrees, open): shadowed from 135 degrees on.
    // Otherwise: shadowed from 180 through 315 degrees.
    const int t = int((int64_t(T) % 3600 + 3600) % 3600);
    if (t > 0 && t < 1800)
        return t >= 1350;
    return t >= 1800 && t <= 3150;
}

int HaloStrength(int X, int Y, int Width, int Height, int Intensity)
{
    double fy = 2.0 * Y / Height - 1;
    double fx = 2.0 * X / Width - 1;
    double m = (255 - 255 * std::sqrt(fx * fx + fy * fy)) * Intensity / 10;
    return ClampByte(RoundBounded(m));
}

void DrawHalo(TBitmap *Bitmap, TColor Color, int Intensity)
{
    TColor c = ColorToRGB(Color);
    const int channel[3] = {GetBValue(c), GetGValue(c), GetRValue(c)};
    const int w = Bitmap->Width(), h = Bitmap->Height();
    for (int y = 0; y < h; ++y) {
        uint8_t *row = Bitmap->ScanLine(y);
        for (int x = 0; x < w; ++x) {
            int m = HaloStrength(x, y, w, h, Intensity);
            for (int i = 0; i < 3; ++i) {
                uint8_t &b = row[3 * x + i];
                b = static_cast<uint8_t>(std::min(255, b + channel[i] * m / 255));
            }
        }
    }
    Bitmap->Changed();
}

// ---------------------------------------------------------------- halo overlay

// The glow of one lamp, laid over the lamp's parent: it shows what the parent
// and the controls beneath it have drawn, with the glow added, as the glow on
// the screen would look.
class TIAgaloHalo : public TGraphicControl {
public:
    explicit TIAgaloHalo(TIAgaloLED *Lamp) : TGraphicControl(nullptr), FLamp(Lamp)
    {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        // Its picture covers all of it: Qt need not paint what lies beneath,
        // which would repaint the lamp for every glow and the glow for every lamp.
        setAttribute(Qt::WA_OpaquePaintEvent);
    }
    const char *ClassName() const override { return "TIAgaloHalo"; }

protected:
    void Paint() override
    {
        // The base has copied the parent's picture; add the controls beneath.
        HaloComposing = true;
        try {
            for (TControl *below : Parent()->Controls()) {
                if (below == this)
                    break;
                TRect meet;
                if (below->Visible() && IntersectRect(meet, below->BoundsRect(), BoundsRect()))
                    below->PaintTo(Canvas(), below->Left() - Left(), below->Top() - Top());
            }
        } catch (...) {
            HaloComposing = false;
            throw;
        }
        HaloComposing = false;
        DrawHalo(Canvas()->Bitmap(), FLamp->LedPlasticColor(), FLamp->GaloIntensity());
    }

private:
    TIAgaloLED *FLamp;
};

// ---------------------------------------------------------------- TIAgaloLED

TIAgaloLED::TIAgaloLED(TComponent *AOwner) : TCustomControl(AOwner)
{
    TCustomControl::SetWidth(24);
    TCustomControl::SetHeight(14);
    for (TBitmap *b :
         {&FBorderSubstance, &FLightBorder, &FDarkBorder, &FLedPlasticSubstance, &FRenderBitmap})
        b->SetPixelFormat(pf24bit);
    FRenderBitmap.SetSize(24, 14);
}

TIAgaloLED::~TIAgaloLED()
{
    delete FHalo.data();
}

int TIAgaloLED::BorderSum() const
{
    int r = FGap;
    if (FInnerBorderStyle != iablsNone)
        r += FInnerBorderDepth;
    if (FOuterBorderStyle != iablsNone)
        r += FOuterBorderDepth;
    return r;
}

bool TIAgaloLED::RightAngle() const
{
    double a = Radians(FAngle);
    return std::fabs(std::cos(a)) < RightAngleTolerance ||
           std::fabs(std::sin(a)) < RightAngleTolerance;
}

void TIAgaloLED::CreateHandle()
{
    TCustomControl::CreateHandle();
    SetControlStyle(ControlStyle() | csOpaque);
    BuildShape();
}

void TIAgaloLED::Loaded()
{
    TCustomControl::Loaded();
    if (HasPicture(FBorderSubstance))
        RebuildShadedCopies();
}

void TIAgaloLED::CMVisibleChanged()
{
    TCustomControl::CMVisibleChanged();
    if (FHalo && !Visible())
        FHalo->Hide();
}

// ---------------------------------------------------------------- writers

void TIAgaloLED::Redraw()
{
    Invalidate();
    // The overlay covers the lamp, so Qt may not ask the lamp to paint at all.
    if (FHalo) {
        if (Parent() && Visible() && FLedOn && FGaloON && FGaloSize > 0)
            FHalo->Invalidate();
        else
            FHalo->Hide();
    }
}

void TIAgaloLED::GeometryChanged()
{
    UpdateGeometry();
    RenderChanged();
}

void TIAgaloLED::RenderChanged()
{
    RenderLed();
    Redraw();
}

void TIAgaloLED::SetHeight(int Value)
{
    if (!RightAngle())
        return;
    TCustomControl::SetHeight(Value);
    FBoxHeight = Value;
}

void TIAgaloLED::SetWidth(int Value)
{
    if (!RightAngle())
        return;
    TCustomControl::SetWidth(Value);
    FBoxWidth = Value;
}

void TIAgaloLED::SetLedClass(TIALedClass Value)
{
    if (Store(FLedClass, Value))
        GeometryChanged();
}

void TIAgaloLED::SetAngle(int Value)
{
    if (Value == FAngle)
        return;
    // Into -1799 .. 1800, as repeated steps of a full turn would bring it.
    int64_t v = ((static_cast<int64_t>(Value) + 1799) % 3600 + 3600) % 3600 - 1799;
    FAngle = static_cast<int>(v);
    GeometryChanged();
}

void TIAgaloLED::SetBorderColor(TColor Value)
{
    if (Store(FBorderColor, Value))
        RenderChanged();
}

void TIAgaloLED::SetGap(int Value)
{
    if (Store(FGap, Value, Value >= 0))
        GeometryChanged();
}

void TIAgaloLED::SetInnerBorderDepth(int Value)
{
    if (Store(FInnerBorderDepth, Value, Value >= 0))
        GeometryChanged();
}

void TIAgaloLED::SetInnerBorderStyle(TIABorderLedStyle Value)
{
    if (Store(FInnerBorderStyle, Value))
        GeometryChanged();
}

void TIAgaloLED::SetGapColor(TColor Value)
{
    if (Store(FGapColor, Value))
        RenderChanged();
}

void TIAgaloLED::SetLedPlasticColor(TColor Value)
{
    if (Store(FLedPlasticColor, Value))
        RenderChanged();
}

void TIAgaloLED::SetLedPlasticDepth(int Value)
{
    if (Store(FLedPlasticDepth, Value, Value >= 1 && Value <= 10))
        RenderChanged();
}

void TIAgaloLED::SetOuterBorderDepth(int Value)
{
    if (Store(FOuterBorderDepth, Value, Value >= 0))
        GeometryChanged();
}

void TIAgaloLED::SetOuterBorderStyle(TIABorderLedStyle Value)
{
    if (Store(FOuterBorderStyle, Value))
        GeometryChanged();
}

void TIAgaloLED::SetLedOn(bool Value)
{
    if (Store(FLedOn, Value))
        RenderChanged();
}

void TIAgaloLED::SetLedHeight(int Value)
{
    if (Store(FLedHeight, Value, Value >= 0))
        GeometryChanged();
}

void TIAgaloLED::SetLedWidth(int Value)
{
    if (Store(FLedWidth, Value, Value >= 0))
        GeometryChanged();
}

void TIAgaloLED::SetLedPlasticSubsMode(TIAglSubstanceMode Value)
{
    if (Store(FLedPlasticSubsMode, Value))
        RenderChanged();
}

void TIAgaloLED::SetBorderSubsMode(TIAglSubstanceMode Value)
{
    if (Store(FBorderSubsMode, Value))
        RenderChanged();
}

void TIAgaloLED::SetGaloON(bool Value)
{
    if (Value == FGaloON)
        return;
    FHaloWipePending = FGaloON && !Value;
    FGaloON = Value;
    Redraw();
}

void TIAgaloLED::SetGaloSize(int Value)
{
    if (Store(FGaloSize, Value, Value >= 0 && Value <= 49))
        Redraw();
}

void TIAgaloLED::SetGaloIntensity(int Value)
{
    if (Store(FGaloIntensity, Value, Value >= 1 && Value <= 10))
        Redraw();
}

void TIAgaloLED::SetBorderSubstance(TBitmap *Value)
{
    if (Value && Value->Width() != 0 && Value->Height() != 0) {
        CopyPicture(FBorderSubstance, Value);
        CopyPicture(FLightBorder, Value);
        CopyPicture(FDarkBorder, Value);
        LightenBitmap(&FLightBorder, ShadeStep);
        DarkenBitmap(&FDarkBorder, ShadeStep);
    } else {
        for (TBitmap *b : {&FBorderSubstance, &FLightBorder, &FDarkBorder})
            b->SetHeight(0);
    }
    RenderChanged();
}

void TIAgaloLED::SetLedPlasticSubstance(TBitmap *Value)
{
    if (Value && Value->Width() != 0 && Value->Height() != 0)
        CopyPicture(FLedPlasticSubstance, Value);
    else
        FLedPlasticSubstance.SetHeight(0);
    RenderChanged();
}

void TIAgaloLED::RebuildShadedCopies()
{
    CopyPicture(FLightBorder, &FBorderSubstance);
    CopyPicture(FDarkBorder, &FBorderSubstance);
    LightenBitmap(&FLightBorder, ShadeStep);
    DarkenBitmap(&FDarkBorder, ShadeStep);
}

// ---------------------------------------------------------------- geometry

void TIAgaloLED::UpdateGeometry()
{
    const int r = BorderSum();
    const double a = Radians(FAngle);
    const int wb = FLedWidth + 2 * r, hb = FLedHeight + 2 * r;
    const int boxWidth =
        static_cast<int>(Round(std::fabs(std::cos(a) * wb) + std::fabs(std::sin(a) * hb)));
    const int boxHeight =
        static_cast<int>(Round(std::fabs(std::sin(a) * wb) + std::fabs(std::cos(a) * hb)));
    FBoxWidth = boxWidth;
    FBoxHeight = boxHeight;
    // Creating the window reports its size, which may run all of this inside;
    // the move below then settles the size computed here.
    HandleNeeded();
    SetBounds(Left(), Top(), boxWidth, boxHeight);
    BuildShape();
}

void TIAgaloLED::RotatePolygon(TIAxyPoly &Poly) const
{
    const double a = Radians(FAngle);
    const int r = BorderSum();
    const double wb = FLedWidth + 2 * r, hb = FLedHeight + 2 * r;
    const double c = std::cos(a), s = std::sin(a);
    const double e = Width() / 2.0 - (wb * c / 2 + hb * s / 2);
    const double f = Height() / 2.0 - (-wb * s / 2 + hb * c / 2);
    for (TIAxyPoint &p : Poly)
        p = {e + p.X * c + p.Y * s, f - p.X * s + p.Y * c};
}

void TIAgaloLED::RoundPolygons()
{
    auto round = [](const TIAxyPoly &From, TIAglPoly &To) {
        To.resize(From.size());
        for (size_t i = 0; i < From.size(); ++i)
            To[i] = {static_cast<int>(Round(From[i].X)), static_cast<int>(Round(From[i].Y))};
    };
    round(FBodyXY, FBodyPoly);
    round(FGapXY, FGapPoly);
    round(FInnerXY, FInnerPoly);
    round(FOuterXY, FOuterPoly);
}

void TIAgaloLED::BuildShape()
{
    const int r = BorderSum(), w = FLedWidth, h = FLedHeight;
    FBodyXY = BodyOutline(FLedClass, r, w, h);
    FGapXY = OffsetOutline(FLedClass, FBodyXY, FGap, w, h);
    FInnerXY = FInnerBorderStyle == iablsNone
                   ? FGapXY
                   : OffsetOutline(FLedClass, FGapXY, FInnerBorderDepth, w, h);
    FOuterXY = FOuterBorderStyle == iablsNone
                   ? FInnerXY
                   : OffsetOutline(FLedClass, FInnerXY, FOuterBorderDepth, w, h);
    for (TIAxyPoly *p : {&FBodyXY, &FGapXY, &FInnerXY, &FOuterXY})
        RotatePolygon(*p);
    RoundPolygons();
    TRegion shape = CreatePolygonRgn(FOuterPoly, ALTERNATE);
    SetWindowRgn(&shape, true);
}

void TIAgaloLED::WMSize(int ClientWidth, int ClientHeight)
{
    TCustomControl::WMSize(ClientWidth, ClientHeight);
    if (!RightAngle()) {
        if (ClientWidth != FBoxWidth || ClientHeight != FBoxHeight) {
            // Undone at once: at this angle the turned box decides the size.
            SetBounds(Left(), Top(), FBoxWidth, FBoxHeight);
        } else {
            UpdateGeometry();
            RenderLed();
        }
    } else {
        const int r = BorderSum();
        const bool upright =
            std::fabs(std::fabs(std::cos(Radians(FAngle))) - 1) < RightAngleTolerance;
        FLedWidth = std::max((upright ? ClientWidth : ClientHeight) - 2 * r, 0);
        FLedHeight = std::max((upright ? ClientHeight : ClientWidth) - 2 * r, 0);
        UpdateGeometry();
        RenderLed();
    }
    HaloRefresh();
}

void TIAgaloLED::WMMove()
{
    TCustomControl::WMMove();
    HaloRefresh();
}

// ---------------------------------------------------------------- rendering

void TIAgaloLED::DrawSubstance(TBitmap *Substance, TIAglSubstanceMode Mode)
{
    TCanvas *canvas = FRenderBitmap.Canvas();
    const int wb = FRenderBitmap.Width(), hb = FRenderBitmap.Height();
    if (Mode == iasmStretch) {
        canvas->StretchDraw(Rect(0, 0, wb, hb), Substance);
        return;
    }
    const int ws = Substance->Width(), hs = Substance->Height();
    for (int col = 0; col <= wb / ws; ++col)
        for (int row = 0; row <= hb / hs; ++row)
            canvas->Draw(col * ws, row * hs, Substance);
}

void TIAgaloLED::DrawRing(const TIAglPoly &Inside, const TIAglPoly &Edge, TIABorderLedStyle Style)
{
    auto [light, shadow] = RingPieces(Inside, Edge, [&](size_t i, size_t j) {
        const int dx = Edge[j].X - Edge[i].X;
        const int dy = Edge[i].Y - Edge[j].Y;
        int t = Style == iablsDown ? 1800 : 0;
        if (dx != 0)
            t += static_cast<int>(Round(std::atan2(dy, dx) * 1800 / Pi));
        else if (dy > 0)
            t += 900;
        else if (dy < 0)
            t -= 900;
        return FacesShadow(t);
    });
    TCanvas *canvas = FRenderBitmap.Canvas();
    if (HasPicture(FLightBorder) && HasPicture(FDarkBorder)) {
        canvas->SelectClipRgn(&light);
        DrawSubstance(&FLightBorder, FBorderSubsMode);
        canvas->SelectClipRgn(&shadow);
        DrawSubstance(&FDarkBorder, FBorderSubsMode);
        canvas->SelectClipRgn(nullptr);
    } else {
        canvas->FillRgn(light, LighterColor(FBorderColor));
        canvas->FillRgn(shadow, DarkerColor(FBorderColor));
    }
}

void TIAgaloLED::RenderLed()
{
    if (HasPicture(FBorderSubstance) && (!HasPicture(FLightBorder) || !HasPicture(FDarkBorder)))
        RebuildShadedCopies();
    const int r = BorderSum();
    const int wb = Width(), hb = Height();
    FRenderBitmap.SetSize(wb, hb);
    const int s = FLedOn ? 2 : 1;

    const bool substance = HasPicture(FLedPlasticSubstance);
    if (substance)
        DrawSubstance(&FLedPlasticSubstance, FLedPlasticSubsMode);
    const TColor plastic = ColorToRGB(FLedPlasticColor);
    const uint8_t base[3] = {GetBValue(plastic), GetGValue(plastic), GetRValue(plastic)};
    const double halfW = wb / 2.0, halfH = hb / 2.0;
    const double m = std::min(halfW - r, halfH - r) * FLedPlasticDepth / 20;
    const double d = halfW + halfH - 2 * r - 2 * m;
    const int noise = 3 * FLedPlasticDepth;
    for (int y = 0; y < hb; ++y) {
        uint8_t *row = FRenderBitmap.ScanLine(y);
        const double dy = std::fabs(y - halfH);
        for (int x = 0; x < wb; ++x) {
            int64_t v = d == 0 ? 0 : RoundBounded(255 - (std::fabs(x - halfW) + dy) * 127 / d);
            v = ClampByte(v + 15 - Random(noise));
            uint8_t *p = row + 3 * x;
            for (int i = 0; i < 3; ++i) {
                const int b = substance ? p[i] : base[i];
                p[i] = static_cast<uint8_t>((b * s) / 2 * v / 255);
            }
        }
    }

    if (FGap != 0) {
        const TRegion gap =
            RingPieces(FBodyPoly, FGapPoly, [](size_t, size_t) { return false; }).first;
        TCanvas *canvas = FRenderBitmap.Canvas();
        if (HasPicture(FBorderSubstance)) {
            canvas->SelectClipRgn(&gap);
            DrawSubstance(&FBorderSubstance, FBorderSubsMode);
            canvas->SelectClipRgn(nullptr);
        } else {
            canvas->FillRgn(gap, FGapColor);
        }
    }
    if (FOuterBorderStyle != iablsNone)
        DrawRing(FInnerPoly, FOuterPoly, FOuterBorderStyle);
    if (FInnerBorderStyle != iablsNone)
        DrawRing(FGapPoly, FInnerPoly, FInnerBorderStyle);
}

// ---------------------------------------------------------------- painting and halo

void TIAgaloLED::Paint()
{
    TCustomControl::Paint();
    const bool glow = FLedOn && FGaloON && FGaloSize > 0;
    if (!HaloComposing && Parent() && (FGaloON || FHaloWipePending)) {
        if (FHalo && !glow)
            FHalo->Hide();
        FHaloWipePending = false;
    }
    Canvas()->Draw(0, 0, &FRenderBitmap);
    if (glow && !HaloComposing && Parent())
        ShowHalo();
}

void TIAgaloLED::ShowHalo()
{
    if (!FHalo)
        FHalo = new TIAgaloHalo(this);
    TIAgaloHalo *halo = FHalo.data();
    halo->SetParent(Parent());
    const int g = FGaloSize;
    halo->SetBounds(Left() - g, Top() - g, Width() + 2 * g, Height() + 2 * g);
    if (Parent()->Controls().back() != halo)
        halo->raise();
    halo->Show();
}

void TIAgaloLED::HaloRefresh()
{
    if (!Parent() || !FGaloON || !FLedOn)
        return;
    if (FHalo && FGaloSize > 0)
        ShowHalo();
    Parent()->Invalidate();
}
