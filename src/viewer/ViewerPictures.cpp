#include "ViewerPictures.h"

#include "Graphics.h"

#include <string>
#include <vector>

namespace {

constexpr TColor Ground = clFuchsia;

TCanvas *Start(TBitmap *Glyph)
{
    Glyph->SetPixelFormat(pf24bit);
    Glyph->SetSize(32, 32);
    TCanvas *c = Glyph->Canvas();
    c->Brush()->SetColor(Ground);
    c->FillRect(Rect(0, 0, 32, 32));
    c->Pen()->SetWidth(1);
    c->Pen()->SetColor(clBlack);
    return c;
}

void Shape(TCanvas *C, TColor Fill, const std::vector<TPoint> &Points)
{
    C->Brush()->SetColor(Fill);
    C->Polygon(Points);
}

} // namespace

void PaintLoadGlyph(TBitmap *Glyph)
{
    TCanvas *c = Start(Glyph);
    // The folder's back, a sheet with the two curves, the open front flap.
    Shape(c, RGB(214, 170, 60), {{2, 8}, {11, 8}, {13, 11}, {27, 11}, {27, 28}, {2, 28}});
    c->Brush()->SetColor(clWhite);
    c->Rectangle(7, 3, 25, 22);
    c->Pen()->SetColor(clRed);
    c->Polyline({{9, 15}, {12, 12}, {15, 14}, {18, 9}, {22, 11}});
    c->Pen()->SetColor(clGreen);
    c->Polyline({{9, 8}, {12, 10}, {15, 7}, {18, 12}, {22, 8}});
    c->Pen()->SetColor(clBlack);
    Shape(c, RGB(250, 210, 90), {{2, 28}, {6, 16}, {31, 16}, {27, 28}});
}

void PaintPrintGlyph(TBitmap *Glyph)
{
    TCanvas *c = Start(Glyph);
    // Paper going in, the body, the printed sheet coming out, a lamp.
    c->Brush()->SetColor(clWhite);
    c->Rectangle(8, 2, 24, 14);
    Shape(c, RGB(160, 160, 168), {{2, 13}, {30, 13}, {30, 24}, {2, 24}});
    c->Brush()->SetColor(RGB(96, 96, 104));
    c->Rectangle(5, 19, 27, 22);
    c->Brush()->SetColor(clWhite);
    c->Rectangle(7, 21, 25, 30);
    c->Pen()->SetColor(clGray);
    for (int y = 23; y < 29; y += 2) {
        c->MoveTo(9, y);
        c->LineTo(23, y);
    }
    c->Brush()->SetColor(clLime);
    c->Pen()->SetColor(clGreen);
    c->Rectangle(25, 15, 28, 18);
}

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
