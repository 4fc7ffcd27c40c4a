#pragma once
// The class library's speed button: a graphic button without focus, here
// in its flat look, raised only while the mouse is over it.

#include "Controls.h"

class TSpeedButton : public TGraphicControl {
public:
    explicit TSpeedButton(TComponent *AOwner);
    const char *ClassName() const override { return "TSpeedButton"; }

    bool Flat() const { return FFlat; }
    void SetFlat(bool Value);

    void CMMouseEnter() override;
    void CMMouseLeave() override;

protected:
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

private:
    bool FFlat = false;
    bool FMouseIn = false;
    bool FDown = false;
};
