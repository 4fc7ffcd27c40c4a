#include "DSControls.h"

void TDSGraphicControl::Changed()
{
    if (!IsLoading())
        Repaint();
}

TDSGraphicImageControl::TDSGraphicImageControl(TComponent *AOwner)
    : TDSGraphicControl(AOwner), FBackground(new TBitmap), FBuffer(new TBitmap)
{
    FBuffer->SetSize(Width(), Height());
}

TDSGraphicImageControl::~TDSGraphicImageControl()
{
    delete FBackground;
    delete FBuffer;
}

void TDSGraphicImageControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    FBuffer->SetSize(AWidth, AHeight);
    TDSGraphicControl::SetBounds(ALeft, ATop, AWidth, AHeight);
}

void TDSGraphicImageControl::PrepareBuffer()
{
    TCanvas *canvas = BufferCanvas();
    canvas->Brush()->SetStyle(bsSolid);
    if (FTransparent) {
        if (FNeedCapture)
            CaptureBackground();
        BitBlt(canvas, 0, 0, FBuffer->Width(), FBuffer->Height(), FBackground->Canvas(), 0, 0,
               SRCCOPY);
    } else {
        canvas->Brush()->SetColor(Color());
        canvas->FillRect(Rect(0, 0, FBuffer->Width(), FBuffer->Height()));
    }
}

void TDSGraphicImageControl::Paint()
{
    BitBlt(Canvas(), 0, 0, Width(), Height(), FBuffer->Canvas(), 0, 0, SRCCOPY);
    if (FTransparent) {
        FNeedCapture = true;
        SetControlStyle(ControlStyle() & ~csOpaque);
    }
}

void TDSGraphicImageControl::Changed()
{
    if (!IsDesigning() && FTransparent && !FBackground->Empty()) {
        FNeedCapture = false;
        SetControlStyle(ControlStyle() | csOpaque);
    }
    TDSGraphicControl::Changed();
}

void TDSGraphicImageControl::SetTransparent(bool Value)
{
    if (FTransparent == Value)
        return;
    FTransparent = Value;
    if (Value)
        SetControlStyle(ControlStyle() & ~csOpaque);
    else
        SetControlStyle(ControlStyle() | csOpaque);
    if (IsDesigning())
        Invalidate();
    else
        Changed();
}

void TDSGraphicImageControl::CaptureBackground()
{
    FBackground->SetSize(Width(), Height());
    TWinControl *parent = Parent();
    if (!parent)
        return;
    // The area being painted, in the parent's coordinates.
    const TRect clip = Canvas()->ClipRect();
    const int x = Left() + clip.Left, y = Top() + clip.Top;
    parent->EnsurePainted();
    TCanvas *target = FBackground->Canvas();
    BitBlt(target, clip.Left, clip.Top, clip.Width(), clip.Height(), parent->Canvas(), x, y,
           SRCCOPY);
    const std::vector<TControl *> siblings = parent->Controls();
    for (TControl *sibling : siblings) {
        if (sibling == this)
            break;
        if (!sibling->Visible() || dynamic_cast<TWinControl *>(sibling))
            continue;
        TRect common;
        if (!IntersectRect(common, sibling->BoundsRect(),
                           Bounds(x, y, clip.Width(), clip.Height())))
            continue;
        sibling->EnsurePainted();
        BitBlt(target, common.Left - Left(), common.Top - Top(), common.Width(), common.Height(),
               sibling->Canvas(), common.Left - sibling->Left(), common.Top - sibling->Top(),
               SRCCOPY);
    }
}
