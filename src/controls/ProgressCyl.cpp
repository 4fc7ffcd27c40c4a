#include "ProgressCyl.h"

#include "Format.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// The arithmetic of the shading and the fill runs in extended precision, so
// that values sitting on a rounding edge land on the same side every time.
using Extended = long double;

// Nearest integer, halves to the even neighbour (the default rounding mode).
int64_t Nearest(Extended X)
{
    return static_cast<int64_t>(std::nearbyint(X));
}

struct TRGB {
    uint8_t R = 0, G = 0, B = 0;
};

uint8_t ClampChannel(Extended Value)
{
    // Written so that a NaN from extreme style values gives 0, not a wild cast.
    if (!(Value > 0))
        return 0;
    if (Value >= 255)
        return 255;
    return static_cast<uint8_t>(Value);
}

} // namespace

// ---------------------------------------------------------------- TPCColorStyle

TPCColorStyle::TPCColorStyle(TProgressCyl *AOwner) : FOwner(AOwner) {}

template <class T> void TPCColorStyle::Change(T &Field, T Value, bool ZeroRefused)
{
    if (Field == Value || (ZeroRefused && Value == 0))
        return;
    Field = Value;
    FOwner->StyleChanged();
}

void TPCColorStyle::SetIntensityRGB(int Value)
{
    Change(FIntensityRGB, Value, false);
}
void TPCColorStyle::SetIntensity(float Value)
{
    Change(FIntensity, Value, true);
}
void TPCColorStyle::SetIntensityFactor(float Value)
{
    Change(FIntensityFactor, Value, false);
}
void TPCColorStyle::SetRangeRGB(int Value)
{
    Change(FRangeRGB, Value, true);
}
void TPCColorStyle::SetColorRGB(int Value)
{
    Change(FColorRGB, Value, false);
}
void TPCColorStyle::SetColorFactor(float Value)
{
    Change(FColorFactor, Value, false);
}
void TPCColorStyle::SetLightAngle(float Value)
{
    Change(FLightAngle, Value, true);
}

void TPCColorStyle::SetValues(int AIntensityRGB, float AIntensity, float AIntensityFactor,
                              int ARangeRGB, int AColorRGB, float AColorFactor, float ALightAngle)
{
    SetIntensityRGB(AIntensityRGB);
    SetIntensity(AIntensity);
    SetIntensityFactor(AIntensityFactor);
    SetRangeRGB(ARangeRGB);
    SetColorRGB(AColorRGB);
    SetColorFactor(AColorFactor);
    SetLightAngle(ALightAngle);
}

void TPCColorStyle::SetValues(const TPCColorStyle &Source)
{
    SetValues(Source.FIntensityRGB, Source.FIntensity, Source.FIntensityFactor, Source.FRangeRGB,
              Source.FColorRGB, Source.FColorFactor, Source.FLightAngle);
}

// ---------------------------------------------------------------- construction

// The order of the writes matters: each setter works on what the earlier
// ones left (the shadow offset, for one, comes from the ShowText write).
TProgressCyl::TProgressCyl(TComponent *AOwner)
    : TGraphicControl(AOwner), FBackStyle(this), FForeStyle(this)
{
    SetControlStyle(ControlStyle() | csOpaque | csFramed);
    SetWidth(150);
    SetHeight(22);
    FMainBitmap.SetPixelFormat(pf24bit);
    Font()->SetName("Arial");
    Font()->SetSize(9);
    Font()->SetStyle(fsBold);
    Font()->SetColor(clBlack);
    SetText("%");
    SetTextDone("Done");
    SetFontEffect(feShadowBottomRight);
    SetFontShadowColor(clBtnFace);
    SetFontOrientation(foLeftToRight);
    SetShowText(true);
    SetOrientation(pbHorizontal);
    SetMin(0);
    SetMax(100);
    SetStep(1);
    SetStopAtMax(true);
    SetBevelOuter(bvLowered);
    SetBorderWidth(2);
    SetBevelWidth(1);
    SetBevelInner(bvRaised);
    SetBackColor(clBtnFace);
    SetBackBorderColor(0);
    SetForeLineColor(clHighlight);
    SetForeColor(0xFFFFFF);
    SetColor(clBtnFace);
    SetBevelColor(clBtnFace);
    SetCylinderEffect(ceMaximum);
    FLastFillKey = 0;
    SetPosition(0);
    FReady = true;
    FPresetGuard = false;
    // What was painted before the bar was ready is empty.
    Invalidate();
}

TProgressCyl::~TProgressCyl()
{
    // Nothing may paint while the bar comes apart.
    FReady = false;
    FInvertBitmap.reset();
}

// ---------------------------------------------------------------- shared steps

void TProgressCyl::Custom()
{
    if (!FPresetGuard)
        FProEffect = peCustom;
}

void TProgressCyl::StyleChanged()
{
    Custom();
    RederiveColors();
}

bool TProgressCyl::CheckGeometry()
{
    // 64-bit, so that absurd widths fail the check instead of overflowing.
    const int64_t w = Width(), h = Height();
    const int64_t a = int64_t(FBevelWidth) + FBorderWidth;
    const int64_t b = 2 * int64_t(FBevelWidth) + FBorderWidth;
    FOuterRight = static_cast<int>(w);
    FOuterBottom = static_cast<int>(h);
    FInnerLeft = static_cast<int>(a);
    FInnerRight = static_cast<int>(w - a);
    FInnerBottom = static_cast<int>(h - a);
    FBarLeft = static_cast<int>(b);
    FBarRight = static_cast<int>(w - b);
    FBarBottom = static_cast<int>(h - b);
    return w >= 1 && h >= 1 && w - 2 * a >= 1 && h - 2 * a >= 1 && w - 2 * b >= 1 && h - 2 * b >= 1;
}

void TProgressCyl::UpdateGeometry()
{
    CheckGeometry();
    const int barWidth = FBarRight - FBarLeft;
    const int barHeight = FBarBottom - FBarLeft;
    if (barWidth > 0) {
        // A bar without height keeps its previous row step.
        if (barHeight > 0)
            FVStep = static_cast<float>(FCylinderLevel / barHeight);
        FHStep = static_cast<float>(FCylinderLevel / barWidth);
    }
    SetPosition(FPosition);
}

void TProgressCyl::ChooseBevelColors()
{
    const bool doubled = FBorderWidth == 0 && FBevelInner == FBevelOuter;
    switch (FBevelInner) {
    case bvSpace: FInnerTopLeft = FInnerBottomRight = Color(); break;
    case bvLowered:
        FInnerTopLeft = doubled ? FDark2 : FDark;
        FInnerBottomRight = doubled ? FLight2 : FLight;
        break;
    case bvRaised:
        FInnerTopLeft = doubled ? FLight2 : FLight;
        FInnerBottomRight = FDark;
        break;
    case bvNone: break;
    }
    switch (FBevelOuter) {
    case bvSpace: FOuterTopLeft = FOuterBottomRight = Color(); break;
    case bvLowered:
        FOuterTopLeft = FDark;
        FOuterBottomRight = FLight;
        break;
    case bvRaised:
        FOuterTopLeft = FLight;
        FOuterBottomRight = doubled ? FDark2 : FDark;
        break;
    case bvNone: break;
    }
    UpdateGeometry();
}

void TProgressCyl::RederiveColors()
{
    SetForeColor(FForeColor);
    SetForeLineColor(FForeLineColor);
    SetFontShadowColor(FFontShadowColor);
    SetBackColor(FBackColor);
    SetBackBorderColor(FBackBorderColor);
    SetBevelColor(FBevelColor);
}

void TProgressCyl::UpdateTextEffect(bool WasShown, bool WasInvert)
{
    if (WasShown) {
        if (WasInvert)
            FInvertBitmap.reset();
        if (FShowText)
            UpdateTextEffect(false, false);
    } else if (FShowText) {
        if (FFontEffect == feInvert) {
            FInvertBitmap = std::make_unique<TBitmap>();
            FInvertBitmap->SetPixelFormat(pf24bit);
            FInvertBitmap->SetSize(FMainBitmap.Width(), FMainBitmap.Height());
        } else {
            FShadowOffset = FFontEffect == feShadowTopLeft       ? -1
                            : FFontEffect == feShadowBottomRight ? 1
                                                                 : 0;
        }
    }
    Repaint();
}

TProgressCyl::TFactors TProgressCyl::Factors(TColor Color, const TPCColorStyle &Style)
{
    const TColor rgb = ColorToRGB(Color);
    auto factor = [&](int c) {
        Extended v = ((c * Extended(Style.IntensityFactor()) + Style.IntensityRGB()) /
                          Extended(Style.Intensity()) +
                      c) /
                     Style.RangeRGB();
        return static_cast<float>(v);
    };
    return {factor(GetRValue(rgb)), factor(GetGValue(rgb)), factor(GetBValue(rgb))};
}

// ---------------------------------------------------------------- colours

template <class T> bool TProgressCyl::Store(T &Field, const T &Value)
{
    if (Field == Value)
        return false;
    Field = Value;
    return true;
}

void TProgressCyl::LookChanged()
{
    Custom();
    Repaint();
}

void TProgressCyl::SetPartColor(TColor &Field, TFactors &PartFactors, TColor Value,
                                const TPCColorStyle &Style)
{
    Field = Value;
    PartFactors = Factors(Value, Style);
    LookChanged();
}

void TProgressCyl::SetForeColor(TColor Value)
{
    SetPartColor(FForeColor, FForeFactors, Value, FForeStyle);
}

void TProgressCyl::SetForeLineColor(TColor Value)
{
    SetPartColor(FForeLineColor, FForeLineFactors, Value, FForeStyle);
}

void TProgressCyl::SetBackColor(TColor Value)
{
    SetPartColor(FBackColor, FBackFactors, Value, FBackStyle);
}

void TProgressCyl::SetBevelColor(TColor Value)
{
    FBevelColor = Value;
    if (Value == clBtnFace) {
        FLight = clBtnHighlight;
        FDark = clBtnShadow;
        FLight2 = cl3DLight;
        FDark2 = cl3DDkShadow;
    } else {
        const TColor rgb = ColorToRGB(Value);
        const int r = GetRValue(rgb), g = GetGValue(rgb), b = GetBValue(rgb);
        FLight = RGB(std::min(r + 64, 255), std::min(g + 64, 255), std::min(b + 64, 255));
        FDark = RGB(std::max(r - 64, 0), std::max(g - 64, 0), std::max(b - 64, 0));
        FLight2 = FLight;
        FDark2 = FDark;
    }
    Custom();
    ChooseBevelColors();
    Repaint();
}

void TProgressCyl::SetBackBorderColor(TColor Value)
{
    if (Store(FBackBorderColor, Value))
        LookChanged();
}

void TProgressCyl::SetFontShadowColor(TColor Value)
{
    if (Store(FFontShadowColor, Value))
        LookChanged();
}

void TProgressCyl::SetBackStyle(const TPCColorStyle *Value)
{
    FBackStyle.SetValues(*Value);
}

void TProgressCyl::SetForeStyle(const TPCColorStyle *Value)
{
    FForeStyle.SetValues(*Value);
}

void TProgressCyl::CMSysColorChange()
{
    RederiveColors();
}

// ---------------------------------------------------------------- geometry

template <class T> void TProgressCyl::ChangeGeometry(T &Field, T Value)
{
    if (Field == Value)
        return;
    const T old = Field;
    Field = Value;
    if (!CheckGeometry())
        Field = old;
    ChooseBevelColors();
    Repaint();
}

void TProgressCyl::SetBevelInner(TBevelCut Value)
{
    ChangeGeometry(FBevelInner, Value);
}
void TProgressCyl::SetBevelOuter(TBevelCut Value)
{
    ChangeGeometry(FBevelOuter, Value);
}

void TProgressCyl::SetBevelWidth(int Value)
{
    if (Value >= 1)
        ChangeGeometry(FBevelWidth, Value);
}

void TProgressCyl::SetBorderWidth(int Value)
{
    if (Value >= 0)
        ChangeGeometry(FBorderWidth, Value);
}

void TProgressCyl::SetCylinderEffect(TCylinderEffect Value)
{
    if (FCylinderEffect == Value)
        return;
    switch (Value) {
    case ceFlat: FCylinderLevel = 1; break;
    case ceUltraLow: FCylinderLevel = 51; break;
    case ceLow: FCylinderLevel = 102; break;
    case ceMedium: FCylinderLevel = 153; break;
    case ceHigh: FCylinderLevel = 204; break;
    default: FCylinderLevel = 255; break;
    }
    FCylinderEffect = Value;
    Custom();
    UpdateGeometry();
    Repaint();
}

void TProgressCyl::SetOrientation(TProgressBarOrientation Value)
{
    if (FOrientation == Value)
        return;
    FOrientation = Value;
    FFontOrientation = Value == pbVertical ? foBottomToTop : foLeftToRight;
    UpdateGeometry();
    Repaint();
}

void TProgressCyl::WMSize(int ClientWidth, int ClientHeight)
{
    if (FReady && CheckGeometry()) {
        FMainBitmap.SetSize(Width(), Height());
        if (FInvertBitmap)
            FInvertBitmap->SetSize(FMainBitmap.Width(), FMainBitmap.Height());
        UpdateGeometry();
        Repaint();
    }
    // Unlike the bar's model, a resize reaches OnResize: it is published.
    TGraphicControl::WMSize(ClientWidth, ClientHeight);
}

// ---------------------------------------------------------------- text settings

void TProgressCyl::SetFontEffect(TFontEffect Value)
{
    if (FFontEffect == Value)
        return;
    const bool wasInvert = FFontEffect == feInvert;
    FFontEffect = Value;
    Custom();
    UpdateTextEffect(FShowText, wasInvert);
}

void TProgressCyl::SetShowText(bool Value)
{
    if (FShowText == Value)
        return;
    FShowText = Value;
    UpdateTextEffect(!Value, FFontEffect == feInvert);
    Repaint();
}

void TProgressCyl::SetFontOrientation(TFontOrientation Value)
{
    if (FFontOrientation == Value)
        return;
    FFontOrientation = Value;
    UpdateTextEffect(FShowText, FFontEffect == feInvert);
    Repaint();
}

void TProgressCyl::SetText(const std::string &Value)
{
    if (Store(FText, Value))
        Repaint();
}

void TProgressCyl::SetTextDone(const std::string &Value)
{
    if (Store(FTextDone, Value))
        Repaint();
}

void TProgressCyl::SetStep(int Value)
{
    FStep = Value;
}

std::string TProgressCyl::DisplayText() const
{
    if (!FTextDone.empty() && FPercent == 100)
        return FTextDone;
    return IntToStr(FPercent) + FText;
}

// ---------------------------------------------------------------- range and position

void TProgressCyl::SetMin(int Value)
{
    if (Value == FMin)
        return;
    if (Value == FMax)
        Value = FMax - 1;
    if (Value < FMax) {
        FMin = Value;
        FInverseRange = static_cast<float>(Extended(1) / (int64_t(FMax) - FMin));
        FPosition = std::max(FPosition, FMin);
    }
    UpdateGeometry();
}

void TProgressCyl::SetMax(int Value)
{
    if (Value == FMax)
        return;
    if (Value == FMin)
        Value = FMin + 1;
    if (Value > FMin) {
        FMax = Value;
        FInverseRange = static_cast<float>(Extended(1) / (int64_t(FMax) - FMin));
        FPosition = std::min(FPosition, FMax);
    }
    UpdateGeometry();
}

void TProgressCyl::SetPosition(int Value)
{
    FPosition = std::clamp(Value, FMin, FMax);
    // 64-bit products: a wide range times the bar's size must not wrap.
    const int64_t rel = int64_t(FPosition) - FMin;
    const int64_t range = int64_t(FMax) - FMin;
    FPositionOffset = rel;
    FPercent = static_cast<int>(Nearest(Extended(rel) / range * 100));
    const Extended inverse = FInverseRange;
    const int64_t b = 2 * int64_t(FBevelWidth) + FBorderWidth;
    int64_t fillKey;
    if (FOrientation == pbHorizontal) {
        const int64_t t1 = Nearest(Extended(Width() * rel) * inverse);
        const int64_t t2 = Nearest(Extended(b * rel) * inverse * 2);
        const int64_t end = b + t1 - t2;
        FEndPixel = static_cast<int>(std::max(end, b + 1));
        fillKey = end + b;
    } else {
        const int64_t filled =
            Nearest(Extended(Height() * rel) * inverse) - Nearest(Extended(2 * b * rel) * inverse);
        // Mirrors the horizontal limit: the empty bar still shows its fore
        // line just inside the back border, not under the inner bevel.
        FEndPixel = static_cast<int>(std::min(Height() - b - filled, Height() - b - 2));
        fillKey = filled + 2 * b;
    }
    // Arriving at Max signals even when the last steps moved nothing on the
    // screen (a fine range on a short bar), or the caller would never hear.
    const bool atMax = FPosition == FMax;
    const bool arrived = atMax && !FAtMax;
    FAtMax = atMax;
    const bool visible = fillKey != FLastFillKey || FPercent != FLastPercent;
    if (!visible && !arrived)
        return;
    FLastFillKey = static_cast<int>(fillKey);
    FLastPercent = FPercent;
    if (atMax && OnProgressDone)
        OnProgressDone(this);
    if (visible)
        Repaint();
}

// ---------------------------------------------------------------- notifications

void TProgressCyl::CMMouseEnter()
{
    if (OnMouseEnter)
        OnMouseEnter(this);
    Repaint();
}

void TProgressCyl::CMMouseLeave()
{
    if (OnMouseLeave)
        OnMouseLeave(this);
    Repaint();
}

// ---------------------------------------------------------------- painting

void TProgressCyl::Paint()
{
    if (!FReady || !CheckGeometry())
        return;
    const int w = Width(), h = Height();
    FMainBitmap.SetSize(w, h);
    TCanvas *canvas = FMainBitmap.Canvas();
    canvas->Brush()->SetColor(Color());
    canvas->FillRect(Rect(0, 0, w, h));
    PaintBar();
    TRect bar = BarRect();
    Frame3D(canvas, bar, FBackBorderColor, FBackBorderColor, 1);
    if (FBevelInner != bvNone) {
        TRect inner = Rect(FInnerLeft, FInnerLeft, FInnerRight, FInnerBottom);
        Frame3D(canvas, inner, FInnerTopLeft, FInnerBottomRight, FBevelWidth);
    }
    if (FBevelOuter != bvNone) {
        TRect outer = Rect(0, 0, FOuterRight, FOuterBottom);
        Frame3D(canvas, outer, FOuterTopLeft, FOuterBottomRight, FBevelWidth);
    }
    if (FShowText) {
        if (FFontEffect == feInvert)
            PaintInvertedText();
        else
            PaintText();
    }
    Canvas()->SetCopyMode(cmSrcCopy);
    Canvas()->Draw(0, 0, &FMainBitmap);
}

void TProgressCyl::PaintBar()
{
    const int w = FMainBitmap.Width(), h = FMainBitmap.Height();
    const bool horizontal = FOrientation == pbHorizontal;
    // Across the shading: rows of a horizontal bar, columns of a vertical one.
    const int across = horizontal ? FBarBottom - FBarLeft : FBarRight - FBarLeft;
    const Extended step = horizontal ? FVStep : FHStep;
    const Extended foreStart = std::trunc(Extended(across) / FForeStyle.LightAngle());
    const Extended backStart = std::trunc(Extended(across) / FBackStyle.LightAngle());
    auto shade = [step](Extended t, const TPCColorStyle &style, const TFactors &f) {
        const Extended base = std::fabs(t) * step * style.ColorFactor() + style.ColorRGB();
        return TRGB{ClampChannel(base * f.R), ClampChannel(base * f.G), ClampChannel(base * f.B)};
    };
    struct TShades {
        TRGB Fore, ForeLine, Back;
    };
    std::vector<TShades> shades(std::max(across, 0));
    for (int k = 0; k < across; ++k) {
        const Extended tf = foreStart + k, tb = backStart + k;
        shades[k] = {shade(tf, FForeStyle, FForeFactors), shade(tf, FForeStyle, FForeLineFactors),
                     shade(tb, FBackStyle, FBackFactors)};
    }
    auto put = [](uint8_t *row, int x, const TRGB &c) {
        row[3 * x] = c.B;
        row[3 * x + 1] = c.G;
        row[3 * x + 2] = c.R;
    };
    if (horizontal) {
        const int foreEnd = std::min(FEndPixel, w - 1);
        for (int y = FBarLeft; y < FBarBottom; ++y) {
            const TShades &s = shades[y - FBarLeft];
            uint8_t *row = FMainBitmap.ScanLine(y);
            for (int x = FBarLeft; x <= foreEnd; ++x)
                put(row, x, s.Fore);
            if (FEndPixel >= 0 && FEndPixel < w)
                put(row, FEndPixel, s.ForeLine);
            for (int x = std::max(FEndPixel + 1, FBarLeft); x < FBarRight; ++x)
                put(row, x, s.Back);
        }
    } else {
        for (int y = std::max(FBarLeft, 0); y < std::min(FBarBottom, h); ++y) {
            uint8_t *row = FMainBitmap.ScanLine(y);
            for (int x = FBarLeft; x < FBarRight; ++x) {
                const TShades &s = shades[x - FBarLeft];
                put(row, x, y < FEndPixel ? s.Back : y == FEndPixel ? s.ForeLine : s.Fore);
            }
        }
    }
}

void TProgressCyl::PlaceText(TCanvas *Canvas, std::string &Text, int &Angle, int &X, int &Y)
{
    Canvas->Brush()->SetStyle(bsClear);
    Canvas->Font()->Assign(Font());
    Canvas->Font()->SetOrientation(0);
    Text = DisplayText();
    const TSize size = Canvas->TextExtent(Text);
    const int tw = size.cx, th = size.cy;
    const int w = Width(), h = Height();
    switch (FFontOrientation) {
    case foLeftToRight:
        // A tenth of a degree, as the bar has always asked for.
        Angle = 1;
        X = (w - tw) / 2;
        Y = (h - th) / 2 + 1;
        break;
    case foTopToBottom:
        Angle = 2700;
        X = th + (w - th) / 2 - 1;
        Y = (h - tw) / 2;
        break;
    case foBottomToTop:
        Angle = 900;
        X = (w - th) / 2 + 1;
        Y = tw + (h - tw) / 2;
        break;
    }
    Canvas->Font()->SetOrientation(Angle);
}

void TProgressCyl::PaintText()
{
    TCanvas *canvas = FMainBitmap.Canvas();
    std::string text;
    int angle = 0, x = 0, y = 0;
    PlaceText(canvas, text, angle, x, y);
    const TRect outer = Rect(0, 0, FOuterRight, FOuterBottom);
    if (FFontEffect != feNone) {
        canvas->SetTextColor(FFontShadowColor);
        canvas->TextRect(outer, x + FShadowOffset, y + FShadowOffset, text);
    }
    canvas->SetTextColor(Font()->Color());
    canvas->TextRect(outer, x, y, text);
}

void TProgressCyl::PaintInvertedText()
{
    if (!FInvertBitmap)
        return;
    TBitmap &mask = *FInvertBitmap;
    mask.SetSize(FMainBitmap.Width(), FMainBitmap.Height());
    TCanvas *canvas = mask.Canvas();
    BitBlt(canvas, 0, 0, mask.Width(), mask.Height(), canvas, 0, 0, BLACKNESS);
    std::string text;
    int angle = 0, x = 0, y = 0;
    PlaceText(canvas, text, angle, x, y);
    canvas->SetTextColor(clWhite);
    canvas->TextRect(Rect(0, 0, FOuterRight, FOuterBottom), x, y, text);
    TCanvas *main = FMainBitmap.Canvas();
    main->SetCopyMode(cmSrcInvert);
    main->Draw(0, 0, &mask);
    main->SetCopyMode(cmSrcCopy);
}
