#pragma once
// A graphic control filled with a two-colour gradient in bands or diagonal
// chords; it serves as a window header that drags its window when pressed.

#include "DSClasses.h"
#include "DSControls.h"
#include "DSTools.h"

class TDSCustomGradient : public TDSGraphicImageControl {
public:
    explicit TDSCustomGradient(TComponent *AOwner);
    const char *ClassName() const override { return "TDSCustomGradient"; }

    // The values at creation differ from the stored defaults
    // (StartColor $00FF00, EndColor 0, Direction tgdUpDown): a window
    // resource that leaves a property out keeps the value set here.
    TColor StartColor() const { return FStartColor; }
    void SetStartColor(TColor Value);
    TColor EndColor() const { return FEndColor; }
    void SetEndColor(TColor Value);
    // Band width or chord pen width; values below 1 are ignored.
    int ColorWidth() const { return FColorWidth; }
    void SetColorWidth(int Value);
    TDSGradDirection Direction() const { return FDirection; }
    void SetDirection(TDSGradDirection Value);
    // Paint from EndColor to StartColor.
    bool SwapColors() const { return FSwapColors; }
    void SetSwapColors(bool Value);
    // A left press also drags the outermost windowed owner.
    bool FormDrag = false;

    void HandleMouseDown(TMouseButton Button, TShiftState Shift, int X, int Y,
                         bool Double = false) override;

protected:
    void Paint() override;

private:
    TColor FStartColor = 0x645858;
    TColor FEndColor = 0x554A4A;
    int FColorWidth = 1;
    TDSGradDirection FDirection = tgdLeftRight;
    bool FSwapColors = false;
};

// Drags the form it sits on at every left press, whatever FormDrag says.
class TDSGradient : public TDSCustomGradient, public TDSAbout {
public:
    explicit TDSGradient(TComponent *AOwner);
    const char *ClassName() const override { return "TDSGradient"; }

protected:
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
};
