#pragma once
// TProgressCyl: a windowless progress bar shaded like a cylinder. Each row of
// a horizontal bar (each column of a vertical one) gets its own brightness,
// computed per channel from a base colour and a TPCColorStyle; the picture is
// composed in a 24-bit off-screen bitmap and copied to the canvas at once.
//
// Setters follow the class library's habits: most compare with the stored
// value first; Position is always recomputed but repaints only when the drawn
// fill or the percent changes. Writing a look property directly turns
// ProEffect into peCustom; writing ProEffect applies one of 35 presets.

#include "Controls.h"
#include "ExtCtrls.h"

#include <cstdint>
#include <memory>
#include <string>

class TProgressCyl;
struct TProgressCylPreset;

enum TCylinderEffect { ceFlat, ceUltraLow, ceLow, ceMedium, ceHigh, ceMaximum };
enum TFontEffect { feNone, feInvert, feShadowTopLeft, feShadowBottomRight };
enum TFontOrientation { foLeftToRight, foTopToBottom, foBottomToTop };
enum TProgressBarOrientation { pbHorizontal, pbVertical };

enum TProEffect : uint8_t {
    demoSystem,
    demoMetal,
    demoSunken,
    peCustom,
    peGlassRed,
    peGlassOrange,
    peGlassYellow,
    peGlassGreen,
    peGlassCyan,
    peGlassBlue,
    peGlassViolet,
    peGlassPurple,
    peSystem1,
    peSystem2,
    peSystem3,
    peSystem4,
    peSystem5,
    peSystem6,
    peSystem7,
    peSystem8,
    peUpLoad1,
    peUpLoad2,
    peMetalRed,
    peMetalOrange,
    peMetalYellow,
    peMetalCyan,
    peMetalGreen,
    peMetalLightBlue,
    peMetalBlue,
    peMetalViolet,
    peMetalDarkGray,
    peMetalGold,
    peStdRed,
    peStdYellow,
    peStdGreen,
    peStdBlue,
};
constexpr int ProEffectCount = peStdBlue + 1;
// The enumeration's names, for tools and messages.
const char *ProEffectName(TProEffect Value);

using TOnProgressDoneEvent = std::function<void(TObject *Sender)>;
using TOnMouseEnterEvent = std::function<void(TObject *Sender)>;
using TOnMouseLeaveEvent = std::function<void(TObject *Sender)>;

// The shading of one part of the bar. Intensity, RangeRGB and LightAngle are
// divisors: writing 0 to them is ignored. Any other change makes the owner's
// look custom and re-derives its colours.
class TPCColorStyle : public TPersistent {
public:
    explicit TPCColorStyle(TProgressCyl *AOwner);
    const char *ClassName() const override { return "TPCColorStyle"; }

    int IntensityRGB() const { return FIntensityRGB; }
    void SetIntensityRGB(int Value);
    float Intensity() const { return FIntensity; }
    void SetIntensity(float Value);
    float IntensityFactor() const { return FIntensityFactor; }
    void SetIntensityFactor(float Value);
    int RangeRGB() const { return FRangeRGB; }
    void SetRangeRGB(int Value);
    int ColorRGB() const { return FColorRGB; }
    void SetColorRGB(int Value);
    float ColorFactor() const { return FColorFactor; }
    void SetColorFactor(float Value);
    float LightAngle() const { return FLightAngle; }
    void SetLightAngle(float Value);
    // Writes the seven values through their setters, in declaration order.
    void SetValues(int AIntensityRGB, float AIntensity, float AIntensityFactor, int ARangeRGB,
                   int AColorRGB, float AColorFactor, float ALightAngle);
    void SetValues(const TPCColorStyle &Source);

private:
    template <class T> void Change(T &Field, T Value, bool ZeroRefused);

    TProgressCyl *FOwner;
    int FIntensityRGB = 255;
    float FIntensity = 4.0f;
    float FIntensityFactor = -1.0f;
    int FRangeRGB = 255;
    int FColorRGB = 255;
    float FColorFactor = -1.0f;
    float FLightAngle = -3.0f;
};

class TProgressCyl : public TGraphicControl {
public:
    explicit TProgressCyl(TComponent *AOwner);
    ~TProgressCyl() override;
    const char *ClassName() const override { return "TProgressCyl"; }

    TColor BackBorderColor() const { return FBackBorderColor; }
    void SetBackBorderColor(TColor Value);
    TColor BackColor() const { return FBackColor; }
    void SetBackColor(TColor Value);
    TPCColorStyle *BackStyle() { return &FBackStyle; }
    // Copies the seven values of Value into the bar's own style, through its setters.
    void SetBackStyle(const TPCColorStyle *Value);
    TColor BevelColor() const { return FBevelColor; }
    void SetBevelColor(TColor Value);
    // Bevel and border writes that leave no inner-bevel or bar rectangle of
    // at least one pixel each way are refused, as are a BevelWidth below 1
    // and a BorderWidth below 0.
    TBevelCut BevelInner() const { return FBevelInner; }
    void SetBevelInner(TBevelCut Value);
    TBevelCut BevelOuter() const { return FBevelOuter; }
    void SetBevelOuter(TBevelCut Value);
    int BevelWidth() const { return FBevelWidth; }
    void SetBevelWidth(int Value);
    int BorderWidth() const { return FBorderWidth; }
    void SetBorderWidth(int Value);
    TCylinderEffect CylinderEffect() const { return FCylinderEffect; }
    void SetCylinderEffect(TCylinderEffect Value);
    TFontEffect FontEffect() const { return FFontEffect; }
    void SetFontEffect(TFontEffect Value);
    TFontOrientation FontOrientation() const { return FFontOrientation; }
    void SetFontOrientation(TFontOrientation Value);
    TColor FontShadowColor() const { return FFontShadowColor; }
    void SetFontShadowColor(TColor Value);
    TColor ForeColor() const { return FForeColor; }
    void SetForeColor(TColor Value);
    TColor ForeLineColor() const { return FForeLineColor; }
    void SetForeLineColor(TColor Value);
    TPCColorStyle *ForeStyle() { return &FForeStyle; }
    void SetForeStyle(const TPCColorStyle *Value);
    // Min < Max always holds: a bound equal to the other is moved one step
    // away from it, one beyond the other is ignored.
    int Max() const { return FMax; }
    void SetMax(int Value);
    int Min() const { return FMin; }
    void SetMin(int Value);
    TProgressBarOrientation Orientation() const { return FOrientation; }
    void SetOrientation(TProgressBarOrientation Value);
    // Clamped to Min .. Max; repaints only when the drawn fill or the
    // percent changes. OnProgressDone comes at Max on such a change, and on
    // arriving at Max from below even when nothing visible changed.
    int Position() const { return FPosition; }
    void SetPosition(int Value);
    TProEffect ProEffect() const { return FProEffect; }
    // Applies the preset, also when it is the current one; peCustom changes
    // nothing. The bar is visible afterwards.
    void SetProEffect(TProEffect Value);
    bool ShowText() const { return FShowText; }
    void SetShowText(bool Value);
    const std::string &Text() const { return FText; }
    void SetText(const std::string &Value);
    const std::string &TextDone() const { return FTextDone; }
    void SetTextDone(const std::string &Value);
    // Stored only; the bar does not use them.
    int Step() const { return FStep; }
    void SetStep(int Value);
    bool StopAtMax() const { return FStopAtMax; }
    void SetStopAtMax(bool Value) { FStopAtMax = Value; }

    TOnMouseEnterEvent OnMouseEnter;
    TOnMouseLeaveEvent OnMouseLeave;
    TOnProgressDoneEvent OnProgressDone;

    // What the last Position write computed, for callers that place things
    // along the bar: the column (row) of the fore line and the percent shown.
    int EndPixel() const { return FEndPixel; }
    int Percent() const { return FPercent; }
    // The text the bar shows for its current percent.
    std::string DisplayText() const;
    // Whether the bitmap for inverted text is held (ShowText with feInvert).
    bool HasInvertBitmap() const { return FInvertBitmap != nullptr; }
    int ShadowOffset() const { return FShadowOffset; }
    // The steps of the shading: per row for horizontal bars, per column for vertical ones.
    float VerticalStep() const { return FVStep; }
    float HorizontalStep() const { return FHStep; }
    TRect BarRect() const { return Rect(FBarLeft, FBarLeft, FBarRight, FBarBottom); }

    void CMMouseEnter() override;
    void CMMouseLeave() override;
    void CMSysColorChange() override;
    void WMSize(int ClientWidth, int ClientHeight) override;

protected:
    void Paint() override;

private:
    friend class TPCColorStyle;
    struct TFactors {
        float R = 0, G = 0, B = 0;
    };

    // Look writes made outside a preset make the look custom.
    void Custom();
    // Custom, then repaint.
    void LookChanged();
    // Stores Value unless it is stored already; tells whether it stored.
    template <class T> static bool Store(T &Field, const T &Value);
    void SetPartColor(TColor &Field, TFactors &PartFactors, TColor Value,
                      const TPCColorStyle &Style);
    void StyleChanged();
    bool CheckGeometry();
    void UpdateGeometry();
    void ChooseBevelColors();
    void RederiveColors();
    void UpdateTextEffect(bool WasShown, bool WasInvert);
    template <class T> void ChangeGeometry(T &Field, T Value);
    void ApplyPreset(const TProgressCylPreset &Preset);
    static TFactors Factors(TColor Color, const TPCColorStyle &Style);
    void PaintBar();
    void PaintText();
    void PaintInvertedText();
    // The text, its angle and its top-left corner for the current orientation.
    void PlaceText(TCanvas *Canvas, std::string &Text, int &Angle, int &X, int &Y);

    bool FReady = false;
    bool FPresetGuard = true;
    uint8_t FCylinderLevel = 0;
    int FShadowOffset = 0;
    int FLastFillKey = 0;
    int FEndPixel = 0;
    int64_t FPositionOffset = 0;
    int FPercent = 0;
    int FLastPercent = 0;
    bool FAtMax = false;
    int FBarLeft = 0, FBarRight = 0, FBarBottom = 0;
    int FInnerLeft = 0, FInnerRight = 0, FInnerBottom = 0;
    int FOuterRight = 0, FOuterBottom = 0;
    TFactors FForeFactors, FBackFactors, FForeLineFactors;
    float FHStep = 0, FVStep = 0;
    float FInverseRange = 0;
    TColor FInnerTopLeft = 0, FInnerBottomRight = 0;
    TColor FOuterTopLeft = 0, FOuterBottomRight = 0;
    TColor FLight = 0, FDark = 0, FLight2 = 0, FDark2 = 0;
    TBitmap FMainBitmap;
    std::unique_ptr<TBitmap> FInvertBitmap;

    TColor FBackBorderColor = 0;
    TColor FBackColor = 0;
    TPCColorStyle FBackStyle;
    TColor FBevelColor = 0;
    TBevelCut FBevelInner = bvNone;
    TBevelCut FBevelOuter = bvNone;
    int FBevelWidth = 0;
    int FBorderWidth = 0;
    TCylinderEffect FCylinderEffect = ceFlat;
    TFontEffect FFontEffect = feNone;
    TFontOrientation FFontOrientation = foLeftToRight;
    TColor FFontShadowColor = 0;
    TColor FForeColor = 0;
    TColor FForeLineColor = 0;
    TPCColorStyle FForeStyle;
    int FMax = 0;
    int FMin = 0;
    TProgressBarOrientation FOrientation = pbHorizontal;
    int FPosition = 0;
    TProEffect FProEffect = demoSystem;
    bool FShowText = false;
    std::string FText;
    std::string FTextDone;
    int FStep = 0;
    bool FStopAtMax = false;
};
