#include "DSGradient.h"

#include "Forms.h"

#include <utility>

namespace {
// The class library's WM_SYSCOMMAND SC_DRAGMOVE: the window follows the
// pointer until the button is released.
void DragWindow(TWinControl *Window)
{
    ReleaseCapture();
    if (Window)
        StartWindowMove(Window);
}
} // namespace

TDSCustomGradient::TDSCustomGradient(TComponent *AOwner) : TDSGraphicImageControl(AOwner)
{
    SetControlStyle(ControlStyle() | csOpaque | csReplicatable);
    SetBounds(Left(), Top(), 150, 150);
}

void TDSCustomGradient::SetStartColor(TColor Value)
{
    if (StoreIfChanged(FStartColor, Value))
        Changed();
}

void TDSCustomGradient::SetEndColor(TColor Value)
{
    if (StoreIfChanged(FEndColor, Value))
        Changed();
}

void TDSCustomGradient::SetColorWidth(int Value)
{
    if (Value > 0 && StoreIfChanged(FColorWidth, Value))
        Changed();
}

void TDSCustomGradient::SetDirection(TDSGradDirection Value)
{
    if (StoreIfChanged(FDirection, Value))
        Changed();
}

void TDSCustomGradient::SetSwapColors(bool Value)
{
    if (StoreIfChanged(FSwapColors, Value))
        Changed();
}

void TDSCustomGradient::Paint()
{
    TColor first = FStartColor, last = FEndColor;
    if (FSwapColors)
        std::swap(first, last);
    GradientFill(BufferCanvas(), ClientRect(), first, last, FDirection, FColorWidth);
    TDSGraphicImageControl::Paint();
}

void TDSCustomGradient::HandleMouseDown(TMouseButton Button, TShiftState Shift, int X, int Y,
                                        bool Double)
{
    TDSGraphicImageControl::HandleMouseDown(Button, Shift, X, Y, Double);
    if (Button == mbLeft && FormDrag)
        DragWindow(OuterWindowedOwner(this));
}

TDSGradient::TDSGradient(TComponent *AOwner) : TDSCustomGradient(AOwner) {}

void TDSGradient::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TDSCustomGradient::MouseDown(Button, Shift, X, Y);
    if (Button == mbLeft)
        DragWindow(GetParentForm(this));
}
