#include "ButtonGlyphs.h"

#include "Graphics.h"

#include <cmath>
#include <cstdlib>
#include <functional>
#include <vector>

namespace {

constexpr TColor Ground = clFuchsia;

// The inks. A disabled button greys every r + g + b from 510 to 515 to the
// ground's own grey, which makes it transparent: no ink's sum lies there
// (clYellow's does).
constexpr TColor FolderDark = RGB(214, 170, 60);
constexpr TColor FolderLight = RGB(250, 210, 90);
constexpr TColor ArrowBlue = RGB(30, 100, 210);
constexpr TColor GoGreen = RGB(40, 170, 60);
constexpr TColor Metal = RGB(190, 190, 196);
constexpr TColor Dark = RGB(56, 60, 72);
constexpr TColor DiskBlue = RGB(40, 70, 150);
constexpr TColor Fold = RGB(200, 200, 208);
constexpr TColor Glass = RGB(180, 220, 250);

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

void Box(TCanvas *C, TColor Fill, int Left, int Top, int Right, int Bottom)
{
    C->Brush()->SetColor(Fill);
    C->Rectangle(Left, Top, Right, Bottom);
}

void Disc(TCanvas *C, TColor Fill, int Left, int Top, int Right, int Bottom)
{
    C->Brush()->SetColor(Fill);
    C->Ellipse(Left, Top, Right, Bottom);
}

void Line(TCanvas *C, TColor Colour, int X0, int Y0, int X1, int Y1)
{
    C->Pen()->SetColor(Colour);
    C->MoveTo(X0, Y0);
    C->LineTo(X1, Y1);
    C->Pen()->SetColor(clBlack);
}

using TInside = std::function<bool(int X, int Y)>;

// The pixels for which Inside holds, filled and edged in black where they
// meet a pixel outside. A polygon fills by pixel centres but outlines
// through its corners, so its slants leave gaps inside or spill outside the
// outline; a figure's edge hugs its fill on every side.
void Figure(TCanvas *C, TColor Fill, const TInside &Inside)
{
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            if (Inside(x, y)) {
                const bool edge = !Inside(x - 1, y) || !Inside(x + 1, y) || !Inside(x, y - 1) ||
                                  !Inside(x, y + 1);
                C->SetPixels(x, y, edge ? clBlack : Fill);
            }
}

// An arrow along an axis: its tip at (X, Y), pointing along (Dx, Dy), Length
// long with a shaft 2 Shaft + 1 wide and a head of 45-degree sides, 2 Head + 1 wide.
TInside Arrow(int X, int Y, int Dx, int Dy, int Length, int Shaft, int Head)
{
    return [=](int x, int y) {
        const int back = (X - x) * Dx + (Y - y) * Dy, side = std::abs((x - X) * Dy - (y - Y) * Dx);
        return back >= 0 && back <= Length && side <= (back <= Head ? back : Shaft);
    };
}

// Pixels from R0 to R1 away from (Cx, Cy), between the angles From and To,
// in degrees clockwise from twelve o'clock (From > To wraps round twelve).
TInside Ring(double Cx, double Cy, double R0, double R1, double From = 0, double To = 360)
{
    return [=](int x, int y) {
        const double r = std::hypot(x - Cx, y - Cy);
        double a = std::atan2(x - Cx, Cy - y) * 180 / M_PI;
        if (a < 0)
            a += 360;
        const bool within = From <= To ? a >= From && a <= To : a >= From || a <= To;
        return r >= R0 && r <= R1 && within;
    };
}

// A sheet of paper with its top-right corner folded; Right and Bottom are
// its last column and row.
void Sheet(TCanvas *C, int Left, int Top, int Right, int Bottom)
{
    const int f = 5;
    Shape(C, clWhite,
          {{Left, Top}, {Right - f, Top}, {Right, Top + f}, {Right, Bottom}, {Left, Bottom}});
    Shape(C, Fold, {{Right - f, Top}, {Right - f, Top + f}, {Right, Top + f}});
}

// An open folder: its back, then what goes in it, then its front flap.
void Folder(TCanvas *C, const std::function<void()> &Contents)
{
    Shape(C, FolderDark, {{2, 8}, {11, 8}, {13, 11}, {27, 11}, {27, 28}, {2, 28}});
    Contents();
    Shape(C, FolderLight, {{2, 28}, {6, 16}, {31, 16}, {27, 28}});
}

// A memory chip: a dark body with legs above and below.
void Chip(TCanvas *C, int Left, int Top, int Right, int Bottom)
{
    for (int x = Left + 2; x + 3 <= Right - 1; x += 4) {
        Box(C, Metal, x, Top - 3, x + 3, Top + 1);
        Box(C, Metal, x, Bottom - 1, x + 3, Bottom + 3);
    }
    Box(C, Dark, Left, Top, Right, Bottom);
    C->Pen()->SetColor(Metal);
    Disc(C, Metal, Left + 2, Top + 2, Left + 5, Top + 5);
    C->Pen()->SetColor(clBlack);
}

// A diskette of Size x Size pixels at (Left, Top).
void Diskette(TCanvas *C, int Left, int Top, int Size)
{
    const int r = Left + Size - 1, b = Top + Size - 1, cut = Size / 6 + 1;
    Shape(C, DiskBlue, {{Left, Top}, {r - cut, Top}, {r, Top + cut}, {r, b}, {Left, b}});
    const int shutterL = Left + Size / 4, shutterR = r - Size / 4 + 1;
    Box(C, Metal, shutterL, Top, shutterR, Top + Size * 3 / 8);
    Box(C, DiskBlue, shutterR - Size / 6 - 1, Top + 2, shutterR - 2, Top + Size * 3 / 8 - 2);
    Box(C, clWhite, Left + Size / 6, Top + Size / 2 + 1, r - Size / 6 + 1, b + 1);
}

// A magnifier: a round glass of radius R at (Cx, Cy), its handle to the lower right.
void Magnifier(TCanvas *C, int Cx, int Cy, int R)
{
    Figure(C, RGB(110, 70, 30), [=](int x, int y) {
        const int along = (x - Cx) + (y - Cy), across = std::abs((x - Cx) - (y - Cy));
        return along >= R && along <= 2 * R + 5 && across <= 2;
    });
    Disc(C, Glass, Cx - R, Cy - R, Cx + R + 1, Cy + R + 1);
    Line(C, clWhite, Cx - R / 2, Cy - 1, Cx - 1, Cy - R / 2);
}

// Lines of text from Left, one every Step rows from Top, of the given lengths and inks.
void TextLines(TCanvas *C, int Left, int Top, int Step,
               const std::vector<std::pair<int, TColor>> &Lines)
{
    int y = Top;
    for (const auto &[length, ink] : Lines) {
        Line(C, ink, Left, y, Left + length, y);
        y += Step;
    }
}

void PaintLoad(TCanvas *c)
{
    // A sheet with the two curves in the folder.
    Folder(c, [c] {
        Box(c, clWhite, 7, 3, 25, 22);
        c->Pen()->SetColor(clRed);
        c->Polyline({{9, 15}, {12, 12}, {15, 14}, {18, 9}, {22, 11}});
        c->Pen()->SetColor(clGreen);
        c->Polyline({{9, 8}, {12, 10}, {15, 7}, {18, 12}, {22, 8}});
        c->Pen()->SetColor(clBlack);
    });
}

void PaintPrint(TCanvas *c)
{
    // Paper going in, the body, the printed sheet coming out, a lamp.
    Box(c, clWhite, 8, 2, 24, 14);
    Shape(c, RGB(160, 160, 168), {{2, 13}, {30, 13}, {30, 24}, {2, 24}});
    Box(c, RGB(96, 96, 104), 5, 19, 27, 22);
    Box(c, clWhite, 7, 21, 25, 30);
    c->Pen()->SetColor(clGray);
    for (int y = 23; y < 29; y += 2) {
        c->MoveTo(9, y);
        c->LineTo(23, y);
    }
    c->Brush()->SetColor(clLime);
    c->Pen()->SetColor(clGreen);
    c->Rectangle(25, 15, 28, 18);
}

void PaintRefresh(TCanvas *c)
{
    // Two arrows chasing each other round a plug.
    const TInside over = Ring(16, 16, 6.8, 11.2, 315, 90), down = Arrow(25, 22, 0, 1, 5, 0, 5);
    const TInside under = Ring(16, 16, 6.8, 11.2, 135, 270), up = Arrow(7, 10, 0, -1, 5, 0, 5);
    Figure(c, ArrowBlue, [&](int x, int y) { return over(x, y) || down(x, y); });
    Figure(c, ArrowBlue, [&](int x, int y) { return under(x, y) || up(x, y); });
    Box(c, Metal, 12, 11, 15, 14);
    Box(c, Metal, 17, 11, 20, 14);
    Figure(c, Dark, [](int x, int y) {
        return x >= 11 && x <= 20 && y >= 13 && y <= 19 && y - 16 <= std::min(x - 11, 20 - x);
    });
    Box(c, Dark, 14, 19, 18, 23);
}

void PaintReadAll(TCanvas *c)
{
    Sheet(c, 4, 2, 22, 29);
    for (int y = 9; y < 27; y += 5) {
        Box(c, GoGreen, 7, y - 1, 10, y + 2);
        Line(c, clBlack, 12, y, 19, y);
    }
    Figure(c, ArrowBlue, Arrow(16, 18, -1, 0, 14, 2, 5));
}

void PaintDownload(TCanvas *c)
{
    Chip(c, 4, 5, 28, 14);
    Figure(c, GoGreen, Arrow(16, 29, 0, 1, 16, 3, 7));
}

void PaintErase(TCanvas *c)
{
    Chip(c, 4, 10, 28, 22);
    Figure(c, RGB(220, 30, 30), [](int x, int y) {
        return x >= 4 && x <= 27 && y >= 4 && y <= 27 &&
               (std::abs(x - y) <= 2 || std::abs(x + y - 31) <= 2);
    });
}

void PaintLoadImage(TCanvas *c)
{
    // A sheet of bits, "01" over "10", in the folder.
    Folder(c, [c] {
        Box(c, clWhite, 7, 3, 25, 22);
        const TColor bits = RGB(20, 40, 140);
        auto zero = [&](int x, int y) {
            c->Brush()->SetColor(bits);
            c->FrameRect(Rect(x, y, x + 4, y + 5));
        };
        auto one = [&](int x, int y) {
            Line(c, bits, x + 2, y, x + 2, y + 5);
            Line(c, bits, x + 1, y + 1, x + 2, y);
        };
        zero(10, 4);
        one(16, 4);
        one(10, 10);
        zero(16, 10);
    });
}

void PaintSaveImage(TCanvas *c)
{
    Diskette(c, 3, 3, 26);
}

void PaintExportRecording(TCanvas *c)
{
    Sheet(c, 2, 2, 21, 29);
    c->Pen()->SetColor(clRed);
    c->Polyline({{5, 17}, {8, 13}, {11, 15}, {14, 8}, {18, 10}});
    c->Pen()->SetColor(clGreen);
    c->Polyline({{5, 8}, {8, 11}, {11, 7}, {14, 12}, {18, 7}});
    c->Pen()->SetColor(clBlack);
    Figure(c, ArrowBlue, Arrow(29, 24, 1, 0, 19, 2, 5));
}

void PaintClockSync(TCanvas *c)
{
    // A clock at three, its quarters marked, and an arrow on to the logger.
    Disc(c, clWhite, 2, 2, 27, 27);
    const int dx[] = {0, 1, 0, -1}, dy[] = {-1, 0, 1, 0};
    for (int i = 0; i < 4; ++i)
        Line(c, clBlack, 14 + 9 * dx[i], 14 + 9 * dy[i], 14 + 12 * dx[i], 14 + 12 * dy[i]);
    Box(c, clBlack, 13, 5, 16, 16);
    Box(c, clRed, 14, 13, 21, 16);
    Figure(c, ArrowBlue, Arrow(29, 24, 1, 0, 15, 2, 5));
}

void PaintStartAcquisition(TCanvas *c)
{
    Figure(c, GoGreen,
           [](int x, int y) { return x >= 7 && 3 * std::abs(2 * y - 31) <= 4 * (27 - x); });
}

void PaintStopAcquisition(TCanvas *c)
{
    Box(c, RGB(150, 20, 20), 5, 5, 27, 27);
}

void PaintExportRtf(TCanvas *c)
{
    Sheet(c, 5, 2, 26, 29);
    TextLines(c, 8, 6, 1, {{9, clNavy}, {9, clNavy}});
    TextLines(
        c, 8, 11, 3,
        {{15, clBlack}, {12, clRed}, {15, clBlack}, {10, clGreen}, {15, clBlack}, {8, clBlue}});
}

void PaintSaveSettings(TCanvas *c)
{
    // A gear of eight teeth with a white hub, and a diskette before it.
    const int cx = 14, cy = 14;
    Figure(c, RGB(140, 140, 150), [=](int x, int y) {
        const int dx = x - cx, dy = y - cy;
        const bool tooth = std::abs(dx) <= 2 || std::abs(dy) <= 2 || std::abs(dx - dy) <= 3 ||
                           std::abs(dx + dy) <= 3;
        return std::hypot(dx, dy) <= (tooth ? 12.4 : 9.4);
    });
    Figure(c, clWhite, Ring(cx, cy, 0, 3.2));
    Diskette(c, 16, 16, 14);
}

void PaintFindDevice(TCanvas *c)
{
    // The logger on its cable, with its display and a key.
    Box(c, Dark, 10, 2, 14, 5);
    Box(c, RGB(100, 110, 130), 3, 4, 22, 29);
    Box(c, RGB(150, 200, 120), 6, 7, 19, 14);
    TextLines(c, 8, 10, 1, {{4, clBlack}, {4, clBlack}});
    Box(c, Metal, 6, 17, 10, 20);
    Magnifier(c, 19, 18, 7);
}

} // namespace

void PaintButtonGlyph(TBitmap *Glyph, TButtonGlyph Which)
{
    TCanvas *c = Start(Glyph);
    switch (Which) {
    case TButtonGlyph::Load: PaintLoad(c); break;
    case TButtonGlyph::Print: PaintPrint(c); break;
    case TButtonGlyph::Refresh: PaintRefresh(c); break;
    case TButtonGlyph::ReadAll: PaintReadAll(c); break;
    case TButtonGlyph::Download: PaintDownload(c); break;
    case TButtonGlyph::Erase: PaintErase(c); break;
    case TButtonGlyph::LoadImage: PaintLoadImage(c); break;
    case TButtonGlyph::SaveImage: PaintSaveImage(c); break;
    case TButtonGlyph::ExportRecording: PaintExportRecording(c); break;
    case TButtonGlyph::ClockSync: PaintClockSync(c); break;
    case TButtonGlyph::StartAcquisition: PaintStartAcquisition(c); break;
    case TButtonGlyph::StopAcquisition: PaintStopAcquisition(c); break;
    case TButtonGlyph::ExportRtf: PaintExportRtf(c); break;
    case TButtonGlyph::SaveSettings: PaintSaveSettings(c); break;
    case TButtonGlyph::FindDevice: PaintFindDevice(c); break;
    }
}
