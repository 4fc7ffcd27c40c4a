#pragma once
// A small owner-drawn check box for dark backgrounds: an 11 x 11 box with a
// white mark and a caption beside it, drawn straight onto the control's
// canvas whenever something changes. The width always follows the caption.

#include "DSClasses.h"

#include "Controls.h"

#include <string>

class TDSCheckBox : public TGraphicControl, public TDSAbout {
public:
    explicit TDSCheckBox(TComponent *AOwner);
    const char *ClassName() const override { return "TDSCheckBox"; }

    // The check box's own caption and enabled state stand in for the
    // inherited ones; a disabled box still gets its mouse events.
    const std::string &Caption() const { return FCaption; }
    void SetCaption(const std::string &Value);
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool Value) override;
    bool Checked() const { return FChecked; }
    void SetChecked(bool Value);
    // Box left of the caption (true) or right of it.
    bool AtLeft() const { return FAtLeft; }
    void SetAtLeft(bool Value);

    // The right edge kept while the caption changes with the box on the right.
    int RightEdge = 0;

    void Click() override;

protected:
    void Loaded() override;
    void Paint() override;
    void Resize() override;
    // A press of any button but the right one toggles an enabled box and
    // raises OnClick.
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;

private:
    void DrawBox();

    std::string FCaption;
    bool FChecked = false;
    bool FEnabled = true;
    bool FAtLeft = true;
};
