#pragma once
// Base classes and drawing routines of the gradient push button: a
// component base, the style manager, the windowed base that turns mouse,
// keyboard and focus notifications into three state flags, and the gradient,
// edge-line and caption painters.

#include "Controls.h"
#include "Graphics.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

class TdxCustomControl;

// A non-visual component with the read-only strings About and Version.
class TdxCustomComponent : public TComponent {
public:
    explicit TdxCustomComponent(TComponent *AOwner);
    const char *ClassName() const override { return "TdxCustomComponent"; }

    const std::string &About() const { return FAbout; }
    void SetAbout(const std::string &) {}
    std::string Version() const { return GetVersion(); }
    void SetVersion(const std::string &) {}

protected:
    virtual std::string GetVersion() const { return ""; }

private:
    std::string FAbout;
};

enum TdxTheme : uint8_t { WindowsXP, OfficeXP };

// Keeps a list of gradient controls (not owned) and repaints them when its
// theme changes. Creating one shows a notice box first.
class TdxStyleManager : public TdxCustomComponent {
public:
    explicit TdxStyleManager(TComponent *AOwner);
    // Repaints the listed controls; they drop their link to this manager.
    ~TdxStyleManager() override;
    const char *ClassName() const override { return "TdxStyleManager"; }

    TdxTheme Theme() const { return FTheme; }
    virtual void SetTheme(TdxTheme Value);

    // Appends Control unless it is listed already.
    void RegisterControl(TdxCustomControl *Control);
    void UnregisterControl(TdxCustomControl *Control);
    // Invalidates every listed control, in list order.
    void RepaintControls();
    const std::vector<TdxCustomControl *> &Controls() const { return FControls; }

protected:
    std::string GetVersion() const override { return "1.0.0"; }

private:
    std::vector<TdxCustomControl *> FControls;
    TdxTheme FTheme = WindowsXP;
};

// The state flags of a gradient control.
enum TdxControlStateFlag : unsigned { dxHot = 1, dxFocused = 2, dxPressed = 4 };
using TdxControlState = unsigned;

// A windowed control with three state flags (hot: the pointer is over it,
// focused: it has the input focus, pressed: a press by mouse or space is in
// progress), changed through a fixed chain of overridable methods, each of
// which repaints. Clicking hands ModalResult to the parent form.
class TdxCustomControl : public TCustomControl {
public:
    explicit TdxCustomControl(TComponent *AOwner);
    ~TdxCustomControl() override;
    const char *ClassName() const override { return "TdxCustomControl"; }

    const std::string &About() const { return FAbout; }
    void SetAbout(const std::string &) {}
    std::string Version() const { return GetVersion(); }
    void SetVersion(const std::string &) {}

    TdxControlState State() const { return FState; }
    // Whether the parent form's focused control is a gradient control; taken
    // at every focus change.
    bool DxFocus() const { return FDxFocus; }

    TModalResult ModalResult() const { return FModalResult; }
    void SetModalResult(TModalResult Value) { FModalResult = Value; }
    TdxStyleManager *StyleManager() const { return FStyleManager; }
    void SetStyleManager(TdxStyleManager *Value);

    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;

    // The style manager's theme, WindowsXP without one.
    virtual TdxTheme ControlTheme() const;

    // Sets the form's ModalResult to this control's (0 included), then clicks.
    void Click() override;

    // Draws Text into Rect with the DrawText Flags in Font; without
    // ShowAccelChar '&' is plain text. Disabled text is engraved: highlight
    // one pixel right and down, shadow at Rect. With DT_CALCRECT Rect's
    // Right and Bottom come back bounding the text; an empty text (or "&"
    // with accelerators) is measured as one blank line.
    void DrawCaption(TCanvas *Canvas, const std::string &Text, unsigned Flags, TRect &Rect,
                     bool ShowAccelChar, bool Enabled, TFont *Font);

    // The state-change chain; each repaints in this class.
    virtual void DoEnabledChanged();
    virtual void DoFocusChanged();
    virtual void DoLeftDown();
    virtual void DoMouseEnter();
    virtual void DoMouseLeave();
    virtual void DoMouseMove(TShiftState Shift, int X, int Y);
    virtual void DoLeftUp();
    virtual void DoParentColorChanged();
    virtual void DoLookChanged();
    virtual void DoTextChanged();

    void CMEnabledChanged() override;
    void CMFocusChanged(TWinControl *Focused) override;
    void CMMouseEnter() override;
    void CMMouseLeave() override;
    void CMParentColorChanged() override;
    void CMTextChanged() override;
    void CMDialogChar(TCMDialogKey &Message) override;
    void WMSize(int ClientWidth, int ClientHeight) override;

protected:
    virtual std::string GetVersion() const { return ""; }
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void Notification(TComponent *AComponent, TOperation Operation) override;

    void Include(TdxControlStateFlag Flag) { FState |= Flag; }
    void Exclude(TdxControlStateFlag Flag) { FState &= ~static_cast<unsigned>(Flag); }
    bool Has(TdxControlStateFlag Flag) const { return (FState & Flag) != 0; }

private:
    std::string FAbout;
    bool FLeftDown = false;
    TdxControlState FState = 0;
    bool FDxFocus = false;
    TModalResult FModalResult = 0;
    TdxStyleManager *FStyleManager = nullptr;
};

// A pen line from (X1, Y1) towards (X2, Y2), without its end pixel; Extend
// moves the end one pixel further in each axis first, so that the line
// includes (X2, Y2).
void DrawEdgeLine(TCanvas *Canvas, int X1, int Y1, int X2, int Y2, bool Extend);

// Colour table of a gradient: entries 0 .. Bands - 1 run from the start to
// the end colour (FromColor to ToColor for Direction 0 and 1, the other way
// for 2 and more), each channel rounded half to even. Bands must be 2 .. 255.
using TdxColorRamp = std::array<TColor, 256>;
void BuildColorRamp(TColor FromColor, TColor ToColor, uint8_t Bands, uint8_t Direction,
                    TdxColorRamp &Ramp);

// Sizes Bitmap to Width x Height and paints Bands bands of the ramp into it:
// side by side for Direction 0 and 2, stacked for 1 and 3. With Dither the
// start of each band gets pixels of the previous colour scattered by the
// shared Random in a 16-pixel strip, which is then copied across. Bands must
// be at least 2.
void PaintGradient(int Width, int Height, TColor FromColor, TColor ToColor, uint8_t Bands,
                   uint8_t Direction, bool Dither, TBitmap *Bitmap);
