#pragma once
// Helpers for tests that look at pixels.

#include "Graphics.h"

#include <memory>

inline std::unique_ptr<TBitmap> SolidBitmap(int Width, int Height, TColor Color)
{
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->SetPixelFormat(pf24bit);
    bitmap->SetSize(Width, Height);
    bitmap->Canvas()->Brush()->SetColor(Color);
    bitmap->Canvas()->FillRect(Rect(0, 0, Width, Height));
    return bitmap;
}

inline std::unique_ptr<TBitmap> WhiteBitmap(int Width, int Height)
{
    return SolidBitmap(Width, Height, clWhite);
}

// The smallest rectangle holding every pixel that is not Background; empty
// when there is none.
inline TRect InkBounds(TBitmap &Bitmap, TColor Background = clWhite)
{
    TRect r{Bitmap.Width(), Bitmap.Height(), 0, 0};
    for (int y = 0; y < Bitmap.Height(); ++y)
        for (int x = 0; x < Bitmap.Width(); ++x)
            if (Bitmap.Canvas()->Pixels(x, y) != Background) {
                r.Left = std::min(r.Left, x);
                r.Top = std::min(r.Top, y);
                r.Right = std::max(r.Right, x + 1);
                r.Bottom = std::max(r.Bottom, y + 1);
            }
    return r.IsEmpty() ? TRect{} : r;
}

inline int CountInk(TBitmap &Bitmap, const TRect &Area, TColor Background = clWhite)
{
    int n = 0;
    for (int y = Area.Top; y < Area.Bottom; ++y)
        for (int x = Area.Left; x < Area.Right; ++x)
            n += Bitmap.Canvas()->Pixels(x, y) != Background;
    return n;
}
