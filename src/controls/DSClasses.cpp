#include "DSClasses.h"

void TDSPersistent::EndUpdate()
{
    if (FUpdateCount > 0)
        --FUpdateCount;
    Changed();
}

void TDSPersistent::Changed()
{
    if (FUpdateCount == 0 && OnChange)
        OnChange(this);
}

void TDSGraphPal::Assign(const TPersistent *Source)
{
    auto palette = dynamic_cast<const TDSGraphPal *>(Source);
    if (!palette) {
        TDSPersistent::Assign(Source);
        return;
    }
    BeginUpdate();
    try {
        SetLow(palette->Low());
        SetHigh(palette->High());
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TDSGraphPal::SetLow(TColor Value)
{
    if (FLow != Value) {
        FLow = Value;
        Changed();
    }
}

void TDSGraphPal::SetHigh(TColor Value)
{
    if (FHigh != Value) {
        FHigh = Value;
        Changed();
    }
}

void TDSGraphPal::Recolor(TBitmap *Bitmap, TColor KeyLow, TColor KeyHigh) const
{
    if (!Bitmap || Bitmap->Empty())
        return;
    const int w = Bitmap->Width(), h = Bitmap->Height();
    TBitmap work;
    work.Assign(Bitmap);
    work.SetPixelFormat(pf24bit);
    TBitmap mask;
    mask.SetPixelFormat(pf1bit);
    mask.SetSize(w, h);

    auto paint = [&](TColor Key, TColor Color) {
        // The source's background colour is what a monochrome copy turns white.
        work.Canvas()->Brush()->SetColor(Key);
        mask.Canvas()->CopyRect(Rect(0, 0, w, h), work.Canvas(), Rect(0, 0, w, h));
        TCanvas *canvas = Bitmap->Canvas();
        canvas->Brush()->SetColor(Color);
        canvas->SetTextColor(clBlack);
        canvas->SetBkColor(clWhite);
        // Brush where the mask is white, the bitmap's own pixel elsewhere.
        BitBlt(canvas, 0, 0, w, h, mask.Canvas(), 0, 0, 0x00E20746);
    };
    paint(KeyLow, FLow);
    paint(KeyHigh, FHigh);
}
