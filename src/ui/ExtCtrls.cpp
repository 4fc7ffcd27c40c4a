#include "ExtCtrls.h"

#include <algorithm>

void Frame3D(TCanvas *Canvas, TRect &R, TColor TopColor, TColor BottomColor, int Width)
{
    TBrush *brush = Canvas->Brush();
    for (; Width > 0 && !R.IsEmpty(); --Width) {
        brush->SetColor(TopColor);
        Canvas->FillRect(Rect(R.Left, R.Top, R.Right - 1, R.Top + 1));
        Canvas->FillRect(Rect(R.Left, R.Top, R.Left + 1, R.Bottom - 1));
        brush->SetColor(BottomColor);
        Canvas->FillRect(Rect(R.Right - 1, R.Top, R.Right, R.Bottom));
        Canvas->FillRect(Rect(R.Left, R.Bottom - 1, R.Right, R.Bottom));
        InflateRect(R, -1, -1);
    }
}

// ---------------------------------------------------------------- TPanel

namespace {

void Bevel(TCanvas *Canvas, TRect &R, TBevelCut Cut, TColor Face, int Width)
{
    switch (Cut) {
    case bvNone: return;
    case bvLowered: Frame3D(Canvas, R, clBtnShadow, clBtnHighlight, Width); return;
    case bvRaised: Frame3D(Canvas, R, clBtnHighlight, clBtnShadow, Width); return;
    case bvSpace: Frame3D(Canvas, R, Face, Face, Width); return;
    }
}

} // namespace

TPanel::TPanel(TComponent *AOwner) : TCustomControl(AOwner)
{
    SetControlStyle(ControlStyle() | csAcceptsControls | csSetCaption | csOpaque);
    SetBounds(0, 0, 185, 41);
}

void TPanel::SetBevelInner(TBevelCut Value)
{
    UpdateProperty(*this, FBevelInner, Value);
}

void TPanel::SetBevelOuter(TBevelCut Value)
{
    UpdateProperty(*this, FBevelOuter, Value);
}

void TPanel::SetBevelWidth(int Value)
{
    UpdateProperty(*this, FBevelWidth, std::max(1, Value));
}

void TPanel::SetAlignment(TAlignment Value)
{
    UpdateProperty(*this, FAlignment, Value);
}

void TPanel::Paint()
{
    TCanvas *canvas = Canvas();
    TRect r = ClientRect();
    canvas->Brush()->SetColor(Color());
    canvas->FillRect(r);
    Bevel(canvas, r, FBevelOuter, Color(), FBevelWidth);
    Bevel(canvas, r, FBevelInner, Color(), FBevelWidth);
    canvas->Font()->Assign(Font());
    static const unsigned align[] = {DT_LEFT, DT_RIGHT, DT_CENTER};
    DrawControlText(canvas, Caption(), r, DT_SINGLELINE | DT_VCENTER | align[FAlignment],
                    Enabled());
}

// ---------------------------------------------------------------- TImage

TImage::TImage(TComponent *AOwner) : TGraphicControl(AOwner)
{
    SetBounds(0, 0, 105, 105);
    FPicture.OnChange = [this](TObject *) { Invalidate(); };
}

void TImage::SetCenter(bool Value)
{
    UpdateProperty(*this, FCenter, Value);
}

void TImage::SetStretch(bool Value)
{
    UpdateProperty(*this, FStretch, Value);
}

void TImage::Paint()
{
    if (FPicture.Empty())
        return;
    TCanvas *canvas = Canvas();
    if (FStretch)
        canvas->StretchDraw(ClientRect(), &FPicture);
    else if (FCenter)
        canvas->Draw((Width() - FPicture.Width()) / 2, (Height() - FPicture.Height()) / 2,
                     &FPicture);
    else
        canvas->Draw(0, 0, &FPicture);
}
