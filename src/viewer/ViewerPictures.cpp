#include "ViewerPictures.h"

#include "Graphics.h"

#include <string>

void PaintLogo(TBitmap *Logo, int Width, int Height)
{
    Logo->SetPixelFormat(pf24bit);
    Logo->SetSize(Width, Height);
    TCanvas *c = Logo->Canvas();
    c->Brush()->SetColor(clBtnFace);
    c->FillRect(Rect(0, 0, Width, Height));
    c->Pen()->SetColor(clNavy);
    c->Brush()->SetColor(RGB(24, 48, 128));
    c->RoundRect(0, 0, Width, Height, 10, 10);

    // A thermometer and a drop: what the logger measures.
    const int mid = Width / 2;
    c->Pen()->SetColor(clWhite);
    c->Brush()->SetColor(clWhite);
    c->RoundRect(mid - 12, 8, mid - 6, 34, 6, 6);
    c->Brush()->SetColor(clRed);
    c->Ellipse(mid - 15, 30, mid - 3, 42);
    c->Pen()->SetColor(clRed);
    c->MoveTo(mid - 9, 18);
    c->LineTo(mid - 9, 32);
    c->Pen()->SetColor(clWhite);
    c->Brush()->SetColor(RGB(80, 170, 255));
    c->Polygon({{mid + 9, 14}, {mid + 15, 28}, {mid + 3, 28}});
    c->Ellipse(mid + 3, 23, mid + 16, 36);

    c->Brush()->SetStyle(bsClear);
    c->Font()->SetName("Verdana");
    c->Font()->SetStyle(fsBold);
    c->Font()->SetColor(clWhite);
    c->Font()->SetHeight(-13);
    const std::string name = "ORVA";
    c->TextOut(mid - c->TextWidth(name) / 2, Height - 40, name);
    c->Font()->SetStyle(0);
    c->Font()->SetHeight(-9);
    const std::string line = "logger";
    c->TextOut(mid - c->TextWidth(line) / 2, Height - 22, line);
}
