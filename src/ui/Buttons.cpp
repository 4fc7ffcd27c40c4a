#include "Buttons.h"

#include "ExtCtrls.h"
#include "StdCtrls.h"

TSpeedButton::TSpeedButton(TComponent *AOwner) : TGraphicControl(AOwner)
{
    SetBounds(0, 0, 23, 22);
}

void TSpeedButton::SetFlat(bool Value)
{
    UpdateProperty(*this, FFlat, Value);
}

void TSpeedButton::CMMouseEnter()
{
    FMouseIn = true;
    if (FFlat && Enabled())
        Invalidate();
}

void TSpeedButton::CMMouseLeave()
{
    FMouseIn = false;
    if (FFlat)
        Invalidate();
}

void TSpeedButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button == mbLeft && Enabled()) {
        FDown = true;
        Invalidate();
    }
    TGraphicControl::MouseDown(Button, Shift, X, Y);
}

void TSpeedButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button == mbLeft && FDown) {
        FDown = false;
        Invalidate();
    }
    TGraphicControl::MouseUp(Button, Shift, X, Y);
}

void TSpeedButton::Paint()
{
    TCanvas *canvas = Canvas();
    TRect r = ClientRect();
    canvas->Brush()->SetColor(Color());
    canvas->FillRect(r);
    if (FDown)
        Frame3D(canvas, r, clBtnShadow, clBtnHighlight, 1);
    else if (!FFlat || (FMouseIn && Enabled()))
        Frame3D(canvas, r, clBtnHighlight, clBtnShadow, 1);
    canvas->Font()->Assign(Font());
    canvas->Brush()->SetStyle(bsClear);
    TRect text = ClientRect();
    if (FDown)
        OffsetRect(text, 1, 1);
    DrawControlText(canvas, Caption(), text, DT_CENTER | DT_VCENTER | DT_SINGLELINE, Enabled());
    canvas->Brush()->SetStyle(bsSolid);
}
