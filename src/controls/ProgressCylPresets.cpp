// The named looks of TProgressCyl and the order in which each is written.

#include "ProgressCyl.h"

#include <iterator>

namespace {

struct TStyleValues {
    int IntensityRGB;
    float Intensity;
    float IntensityFactor;
    int RangeRGB;
    int ColorRGB;
    float ColorFactor;
    float LightAngle;
};

constexpr TStyleValues D{255, 4, -1, 255, 255, -1, -3};
constexpr TStyleValues G{255, 4, -1, 255, 255, 1, -3};
constexpr TStyleValues GF{255, 3, -0.8f, 255, 200, 1, -3};
constexpr TStyleValues K{255, 2, -1, 153, 0, 1, -3};
constexpr TStyleValues K2{255, 4, -1.5f, 153, 0, 1, -3};
constexpr TStyleValues K3{255, 4, -1.5f, 153, 0, 1, -3.2f};
constexpr TStyleValues M{-100, 4, -1.7f, -100, -100, -1, -1.5f};
constexpr TStyleValues M1{-100, 4, -1.7f, -100, -100, -1, -1.6f};
constexpr TStyleValues M2{-50, 8, -1.5f, -150, -80, -1, -1.5f};
constexpr TStyleValues M3{-100, 4, -1.5f, -80, -100, -1, -1.5f};
constexpr TStyleValues M4{-100, 4, -1.5f, -80, -100, -1.5f, -1.5f};
constexpr TStyleValues P{200, 4, -0.5f, 200, 200, -1.2f, -3};

// Order 1 writes the bevels, the border and ShowText too; order 3 adds the
// shadow colour to order 2.
enum TWriteOrder { Demo = 1, Plain = 2, Shadowed = 3 };

} // namespace

struct TProgressCylPreset {
    TProEffect Effect;
    TWriteOrder Order;
    TCylinderEffect Cylinder;
    TFontEffect FontEffect;
    TColor ShadowColor; // written by orders 1 and 3 only
    TColor Fore, Back, ForeLine;
    const TStyleValues *BackStyle, *ForeStyle;
    // Order 1 only.
    TBevelCut Outer = bvNone, Inner = bvNone;
    bool ShowText = false;
};

namespace {

constexpr TColor White = RGB(255, 255, 255);
constexpr TColor Black = RGB(0, 0, 0);
constexpr TColor Unused = 0;

const TProgressCylPreset Presets[] = {
    {demoSystem, Demo, ceMaximum, feShadowBottomRight, clBtnFace, clBtnFace, White, clHighlight, &D,
     &D, bvLowered, bvRaised, true},
    {demoMetal, Demo, ceMaximum, feShadowBottomRight, White, RGB(127, 212, 255), White, Black, &M1,
     &M1, bvNone, bvLowered, false},
    {demoSunken, Demo, ceMaximum, feInvert, Black, White, RGB(128, 0, 0), RGB(255, 0, 0), &K, &D,
     bvNone, bvRaised, true},
    {peGlassRed, Plain, ceMaximum, feNone, Unused, RGB(204, 0, 0), RGB(128, 128, 128), White, &G,
     &GF},
    {peGlassOrange, Plain, ceMaximum, feNone, Unused, RGB(255, 128, 0), RGB(192, 192, 192),
     RGB(128, 0, 0), &G, &G},
    {peGlassYellow, Plain, ceMaximum, feNone, Unused, RGB(206, 206, 0), RGB(192, 192, 192), Black,
     &G, &GF},
    {peGlassGreen, Plain, ceMaximum, feNone, Unused, RGB(0, 128, 0), RGB(128, 128, 128), White, &G,
     &G},
    {peGlassCyan, Plain, ceMaximum, feNone, Unused, RGB(0, 128, 128), RGB(192, 192, 192),
     RGB(255, 255, 0), &G, &G},
    {peGlassBlue, Plain, ceMaximum, feNone, Unused, RGB(0, 107, 215), RGB(128, 128, 128), White, &G,
     &GF},
    {peGlassViolet, Plain, ceMaximum, feNone, Unused, RGB(102, 102, 179), RGB(192, 192, 192), Black,
     &G, &G},
    {peGlassPurple, Plain, ceMaximum, feNone, Unused, RGB(128, 0, 128), RGB(128, 128, 128), White,
     &G, &G},
    {peSystem1, Shadowed, ceMaximum, feShadowBottomRight, clBtnFace, clBtnFace, clWindow,
     clHighlight, &D, &D},
    {peSystem2, Shadowed, ceMaximum, feShadowBottomRight, clBtnFace, clBtnFace, clWindow,
     clHighlight, &M, &M2},
    {peSystem3, Shadowed, ceMaximum, feShadowBottomRight, clBtnFace, clBtnShadow, clBtnFace,
     clWindow, &D, &D},
    {peSystem4, Shadowed, ceMaximum, feShadowBottomRight, clBtnFace, clBtnShadow, clBtnFace,
     clWindow, &M, &M},
    {peSystem5, Plain, ceMaximum, feInvert, Unused, clWindow, clHighlight, clHighlight, &K, &D},
    {peSystem6, Plain, ceMaximum, feInvert, Unused, clWindow, clHighlight, clHighlight, &K2, &M},
    {peSystem7, Plain, ceMaximum, feInvert, Unused, clHighlight, clBtnShadow, clWindow, &K, &P},
    {peSystem8, Plain, ceMaximum, feInvert, Unused, clHighlight, clBtnShadow, clBtnFace, &K3, &M3},
    {peUpLoad1, Plain, ceHigh, feInvert, Unused, RGB(185, 0, 0), clWindow, Black, &D, &K},
    {peUpLoad2, Plain, ceHigh, feInvert, Unused, clBtnShadow, clBtnFace, Black, &M4, &K3},
    {peMetalRed, Shadowed, ceMaximum, feShadowBottomRight, clBtnFace, RGB(255, 0, 0), White, Black,
     &M, &M},
    {peMetalOrange, Shadowed, ceMaximum, feShadowBottomRight, clBtnFace, RGB(255, 150, 0), White,
     Black, &M, &M},
    {peMetalYellow, Shadowed, ceMaximum, feShadowBottomRight, clBtnFace, RGB(255, 255, 0), White,
     Black, &M, &M},
    {peMetalCyan, Shadowed, ceMaximum, feShadowBottomRight, clBtnFace, RGB(0, 255, 255), White,
     Black, &M, &M},
    {peMetalGreen, Shadowed, ceMaximum, feShadowBottomRight, clBtnFace, RGB(0, 255, 64), White,
     Black, &M, &M},
    {peMetalLightBlue, Shadowed, ceMaximum, feShadowBottomRight, clBtnFace, RGB(127, 212, 255),
     White, Black, &M, &M},
    {peMetalBlue, Shadowed, ceMaximum, feShadowBottomRight, clBtnFace, RGB(0, 155, 230), White,
     Black, &M, &M},
    {peMetalViolet, Shadowed, ceMaximum, feShadowBottomRight, clBtnFace, RGB(155, 155, 206), White,
     Black, &M, &M},
    {peMetalDarkGray, Shadowed, ceMaximum, feShadowBottomRight, clBtnFace, RGB(137, 139, 152),
     White, Black, &M, &M},
    {peMetalGold, Shadowed, ceMaximum, feShadowBottomRight, clBtnFace, RGB(255, 204, 129), White,
     Black, &M, &M},
    {peStdRed, Plain, ceMaximum, feInvert, Unused, RGB(204, 0, 0), RGB(102, 0, 0), White, &K, &D},
    {peStdYellow, Plain, ceMaximum, feInvert, Unused, RGB(255, 255, 0), RGB(153, 153, 0), White, &K,
     &D},
    {peStdGreen, Plain, ceMaximum, feInvert, Unused, RGB(0, 255, 51), RGB(0, 128, 64), White, &K,
     &D},
    {peStdBlue, Plain, ceMaximum, feInvert, Unused, RGB(0, 107, 215), RGB(29, 48, 99), White, &K,
     &D},
};

const TProgressCylPreset *FindPreset(TProEffect Effect)
{
    for (const TProgressCylPreset &preset : Presets)
        if (preset.Effect == Effect)
            return &preset;
    return nullptr;
}

void WriteStyleInOrder1(TPCColorStyle *Style, const TStyleValues &V)
{
    Style->SetValues(V.IntensityRGB, V.Intensity, V.IntensityFactor, V.RangeRGB, V.ColorRGB,
                     V.ColorFactor, V.LightAngle);
}

void WriteStyleInOrder2(TPCColorStyle *Style, const TStyleValues &V)
{
    Style->SetColorFactor(V.ColorFactor);
    Style->SetColorRGB(V.ColorRGB);
    Style->SetIntensity(V.Intensity);
    Style->SetIntensityFactor(V.IntensityFactor);
    Style->SetIntensityRGB(V.IntensityRGB);
    Style->SetLightAngle(V.LightAngle);
    Style->SetRangeRGB(V.RangeRGB);
}

const char *const EffectNames[] = {
    "demoSystem",      "demoMetal",     "demoSunken",       "peCustom",      "peGlassRed",
    "peGlassOrange",   "peGlassYellow", "peGlassGreen",     "peGlassCyan",   "peGlassBlue",
    "peGlassViolet",   "peGlassPurple", "peSystem1",        "peSystem2",     "peSystem3",
    "peSystem4",       "peSystem5",     "peSystem6",        "peSystem7",     "peSystem8",
    "peUpLoad1",       "peUpLoad2",     "peMetalRed",       "peMetalOrange", "peMetalYellow",
    "peMetalCyan",     "peMetalGreen",  "peMetalLightBlue", "peMetalBlue",   "peMetalViolet",
    "peMetalDarkGray", "peMetalGold",   "peStdRed",         "peStdYellow",   "peStdGreen",
    "peStdBlue",
};
static_assert(std::size(EffectNames) == ProEffectCount);
static_assert(std::size(Presets) == ProEffectCount - 1);

} // namespace

const char *ProEffectName(TProEffect Value)
{
    return Value < ProEffectCount ? EffectNames[Value] : "";
}

void TProgressCyl::SetProEffect(TProEffect Value)
{
    FProEffect = Value;
    const TProgressCylPreset *preset = FindPreset(Value);
    if (!preset) {
        FPresetGuard = false;
        return;
    }
    FPresetGuard = true;
    SetVisible(false);
    ApplyPreset(*preset);
    SetVisible(true);
    FPresetGuard = false;
}

void TProgressCyl::ApplyPreset(const TProgressCylPreset &Preset)
{
    SetCylinderEffect(Preset.Cylinder);
    if (Preset.Order == Demo) {
        SetBevelOuter(Preset.Outer);
        SetBevelInner(Preset.Inner);
        SetBorderWidth(2);
        SetShowText(Preset.ShowText);
    }
    Font()->SetColor(Black);
    if (Preset.Order == Demo)
        SetFontShadowColor(Preset.ShadowColor);
    SetFontEffect(Preset.FontEffect);
    if (Preset.Order == Shadowed)
        SetFontShadowColor(Preset.ShadowColor);
    SetForeColor(Preset.Fore);
    SetBackColor(Preset.Back);
    SetForeLineColor(Preset.ForeLine);
    SetBackBorderColor(0);
    SetColor(clBtnFace);
    SetBevelColor(clBtnFace);
    auto writeStyle = Preset.Order == Demo ? WriteStyleInOrder1 : WriteStyleInOrder2;
    writeStyle(BackStyle(), *Preset.BackStyle);
    writeStyle(ForeStyle(), *Preset.ForeStyle);
}
