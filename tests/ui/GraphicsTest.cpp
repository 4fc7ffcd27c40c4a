#include "Pixels.h"

#include <gtest/gtest.h>
#include <utility>

TEST(Colors, SystemColoursResolveToTheClassicScheme)
{
    EXPECT_EQ(ColorToRGB(clBtnShadow), 0x808080);
    EXPECT_EQ(ColorToRGB(clBtnFace), 0xC0C0C0);
    EXPECT_EQ(ColorToRGB(clBtnHighlight), 0xFFFFFF);
    EXPECT_EQ(ColorToRGB(clWindow), 0xFFFFFF);
    EXPECT_EQ(ColorToRGB(clWindowText), 0x000000);
    EXPECT_EQ(ColorToRGB(clHighlight), 0x800000);
    EXPECT_EQ(ColorToRGB(cl3DDkShadow), 0x000000);
    EXPECT_EQ(ColorToRGB(clGrayText), 0x808080);
    EXPECT_EQ(ResolveColor(0x000080), 0x000080);
    EXPECT_EQ(ResolveColor(clNone), clNone);
    EXPECT_EQ(clBtnShadow, TColorOf(0x80000010));
    EXPECT_EQ(GetRValue(RGB(1, 2, 3)), 1);
    EXPECT_EQ(GetGValue(RGB(1, 2, 3)), 2);
    EXPECT_EQ(GetBValue(RGB(1, 2, 3)), 3);
    EXPECT_EQ(RGB(0x12, 0x34, 0x56), 0x563412);
}

TEST(Bitmap, RowsAreBlueGreenRedPaddedToFourBytes)
{
    auto b = WhiteBitmap(3, 2);
    b->Canvas()->SetPixels(1, 1, RGB(10, 20, 30));
    const uint8_t *row = b->ScanLine(1);
    EXPECT_EQ(row[3], 30);
    EXPECT_EQ(row[4], 20);
    EXPECT_EQ(row[5], 10);
    EXPECT_EQ(b->ScanLine(1) - b->ScanLine(0), 12);
    EXPECT_EQ(b->ScanLine(2), nullptr);
    b->ScanLine(0)[0] = 0x40; // blue byte of pixel (0, 0)
    EXPECT_EQ(b->Canvas()->Pixels(0, 0), 0x40FFFF);
    EXPECT_EQ(b->Canvas()->Pixels(3, 0), -1);
}

TEST(Bitmap, ResizeKeepsPixelsAndAssignCopies)
{
    auto b = WhiteBitmap(2, 2);
    b->Canvas()->SetPixels(1, 1, clRed);
    b->Canvas()->Brush()->SetColor(clBlue);
    b->SetSize(4, 3);
    EXPECT_EQ(b->Canvas()->Pixels(1, 1), clRed);
    EXPECT_EQ(b->Canvas()->Pixels(3, 2), clBlue);
    TBitmap copy;
    int changes = 0;
    copy.OnChange = [&](TObject *) { ++changes; };
    copy.Assign(b.get());
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(copy.Width(), 4);
    EXPECT_EQ(copy.Canvas()->Pixels(1, 1), clRed);
    copy.Canvas()->SetPixels(1, 1, clLime);
    EXPECT_EQ(b->Canvas()->Pixels(1, 1), clRed);
    EXPECT_TRUE(TBitmap().Empty());
    EXPECT_EQ(b->TransparentColor(), clBlue); // bottom-left pixel
}

TEST(Bitmap, PixelsThatCannotBeHadAreRefusedAndTheBitmapKept)
{
    auto b = WhiteBitmap(3, 2);
    b->Canvas()->SetPixels(2, 1, clRed);
    // A row wider than the image library takes: nothing is allocated.
    EXPECT_THROW(b->SetSize(100000000, 2), EOutOfResources);
    EXPECT_EQ(b->Width(), 3);
    EXPECT_EQ(b->Height(), 2);
    EXPECT_EQ(b->Canvas()->Pixels(2, 1), clRed);
    b->SetSize(4, 2);
    EXPECT_EQ(b->Canvas()->Pixels(2, 1), clRed);
}

TEST(Canvas, LinesLeaveOutTheirEndPixel)
{
    auto b = WhiteBitmap(12, 12);
    TCanvas *c = b->Canvas();
    c->MoveTo(0, 0);
    c->LineTo(5, 0);
    for (int x = 0; x < 5; ++x)
        EXPECT_EQ(c->Pixels(x, 0), clBlack) << x;
    EXPECT_EQ(c->Pixels(5, 0), clWhite);
    EXPECT_EQ(c->PenPos(), Point(5, 0));

    c->MoveTo(0, 2);
    c->LineTo(4, 6);
    EXPECT_EQ(c->Pixels(3, 5), clBlack);
    EXPECT_EQ(c->Pixels(4, 6), clWhite);

    // Steep line, drawn upward: one pixel per row, end row left out.
    c->MoveTo(10, 11);
    c->LineTo(8, 3);
    EXPECT_EQ(CountInk(*b, Rect(7, 3, 12, 12)), 8);
    EXPECT_EQ(CountInk(*b, Rect(7, 3, 12, 4)), 0);

    // A polyline joins its points and leaves out only the last.
    auto p = WhiteBitmap(6, 6);
    p->Canvas()->Polyline({{0, 0}, {0, 3}, {3, 3}});
    EXPECT_EQ(p->Canvas()->Pixels(0, 3), clBlack);
    EXPECT_EQ(p->Canvas()->Pixels(2, 3), clBlack);
    EXPECT_EQ(p->Canvas()->Pixels(3, 3), clWhite);
}

TEST(Canvas, EdgeLineExtendedByOnePixelReachesItsEndPoint)
{
    // The gradient button's corner lines: (0, 1) to (2, 0) leaves out (2, 0).
    auto b = WhiteBitmap(4, 4);
    b->Canvas()->MoveTo(0, 1);
    b->Canvas()->LineTo(2, 0);
    EXPECT_EQ(InkBounds(*b), Rect(0, 0, 2, 2));
    b->Canvas()->MoveTo(0, 1);
    b->Canvas()->LineTo(3, -1);
    EXPECT_EQ(b->Canvas()->Pixels(2, 0), clBlack);
}

TEST(Canvas, PenModesAndStyles)
{
    auto b = WhiteBitmap(10, 3);
    TCanvas *c = b->Canvas();
    c->Pen()->SetMode(pmXor);
    c->Pen()->SetColor(clWhite);
    c->MoveTo(0, 0);
    c->LineTo(10, 0);
    EXPECT_EQ(c->Pixels(4, 0), clBlack);
    c->MoveTo(0, 0);
    c->LineTo(10, 0);
    EXPECT_EQ(c->Pixels(4, 0), clWhite);
    c->Pen()->SetMode(pmCopy);
    c->Pen()->SetColor(clBlack);
    c->Pen()->SetStyle(psClear);
    c->MoveTo(0, 1);
    c->LineTo(10, 1);
    EXPECT_EQ(CountInk(*b, Rect(0, 1, 10, 2)), 0);
    c->Pen()->SetStyle(psDot);
    c->MoveTo(0, 2);
    c->LineTo(10, 2);
    int ink = CountInk(*b, Rect(0, 2, 10, 3));
    EXPECT_GT(ink, 2);
    EXPECT_LT(ink, 9);
}

TEST(Canvas, RectanglesLeaveOutRightAndBottomEdges)
{
    auto b = WhiteBitmap(10, 10);
    TCanvas *c = b->Canvas();
    c->Brush()->SetColor(clYellow);
    c->Rectangle(1, 1, 6, 5);
    EXPECT_EQ(InkBounds(*b), Rect(1, 1, 6, 5));
    EXPECT_EQ(c->Pixels(1, 1), clBlack);
    EXPECT_EQ(c->Pixels(5, 4), clBlack);
    EXPECT_EQ(c->Pixels(3, 2), clYellow);

    c->Brush()->SetColor(clRed);
    c->FillRect(Rect(7, 7, 9, 10));
    EXPECT_EQ(InkBounds(*b), Rect(1, 1, 9, 10));
    EXPECT_EQ(CountInk(*b, Rect(6, 6, 10, 10)), 6);

    auto f = WhiteBitmap(6, 6);
    f->Canvas()->Brush()->SetColor(clBlue);
    f->Canvas()->FrameRect(Rect(1, 1, 5, 5));
    EXPECT_EQ(CountInk(*f, Rect(0, 0, 6, 6)), 12);
    EXPECT_EQ(f->Canvas()->Pixels(2, 2), clWhite);

    // Without a pen the shape is one pixel smaller.
    auto n = WhiteBitmap(6, 6);
    n->Canvas()->Pen()->SetStyle(psClear);
    n->Canvas()->Brush()->SetColor(clBlue);
    n->Canvas()->Rectangle(0, 0, 4, 4);
    EXPECT_EQ(InkBounds(*n), Rect(0, 0, 3, 3));
}

TEST(Canvas, EllipsesAndRoundRectsStayInsideTheirBox)
{
    auto b = WhiteBitmap(20, 12);
    TCanvas *c = b->Canvas();
    c->Brush()->SetColor(clLime);
    c->Ellipse(2, 1, 14, 9);
    EXPECT_EQ(InkBounds(*b), Rect(2, 1, 14, 9));
    EXPECT_EQ(c->Pixels(2, 1), clWhite);
    EXPECT_EQ(c->Pixels(8, 5), clLime);
    EXPECT_EQ(c->Pixels(2, 5), clBlack);
    // Symmetric about the box's centre.
    for (int y = 1; y < 9; ++y)
        for (int x = 2; x < 14; ++x)
            ASSERT_EQ(c->Pixels(x, y), c->Pixels(15 - x, 9 - y)) << x << "," << y;

    auto r = WhiteBitmap(12, 8);
    r->Canvas()->Brush()->SetStyle(bsClear);
    r->Canvas()->RoundRect(0, 0, 12, 8, 5, 5);
    EXPECT_EQ(InkBounds(*r), Rect(0, 0, 12, 8));
    EXPECT_EQ(r->Canvas()->Pixels(0, 0), clWhite);
    EXPECT_EQ(r->Canvas()->Pixels(11, 7), clWhite);
    EXPECT_EQ(r->Canvas()->Pixels(6, 0), clBlack);
    EXPECT_EQ(r->Canvas()->Pixels(6, 4), clWhite);
}

TEST(Canvas, PolygonsFillByTheirFillMode)
{
    auto b = WhiteBitmap(10, 10);
    TCanvas *c = b->Canvas();
    c->Pen()->SetStyle(psClear);
    c->Brush()->SetColor(clBlue);
    c->Polygon({{0, 0}, {6, 0}, {6, 4}, {0, 4}});
    EXPECT_EQ(InkBounds(*b), Rect(0, 0, 6, 4));
    EXPECT_EQ(CountInk(*b, Rect(0, 0, 10, 10)), 24);

    auto t = WhiteBitmap(10, 10);
    t->Canvas()->Brush()->SetColor(clRed);
    t->Canvas()->Polygon({{1, 1}, {8, 1}, {1, 8}});
    EXPECT_EQ(t->Canvas()->Pixels(2, 2), clRed);
    EXPECT_EQ(t->Canvas()->Pixels(7, 7), clWhite);
    EXPECT_EQ(t->Canvas()->Pixels(1, 8), clBlack); // the outline closes through every point

    // A self-overlapping star: the centre is a hole under ALTERNATE only.
    std::vector<TPoint> star{{5, 0}, {8, 9}, {0, 3}, {10, 3}, {2, 9}};
    auto a = WhiteBitmap(11, 10);
    auto w = WhiteBitmap(11, 10);
    for (TBitmap *bitmap : {a.get(), w.get()}) {
        bitmap->Canvas()->Pen()->SetStyle(psClear);
        bitmap->Canvas()->Brush()->SetColor(clRed);
    }
    a->Canvas()->Polygon(star, ALTERNATE);
    w->Canvas()->Polygon(star, WINDING);
    EXPECT_EQ(a->Canvas()->Pixels(5, 5), clWhite);
    EXPECT_EQ(w->Canvas()->Pixels(5, 5), clRed);
    EXPECT_EQ(a->Canvas()->Pixels(5, 2), clRed);
}

TEST(Canvas, FocusRectIsAnInvertedDottedFrame)
{
    auto b = WhiteBitmap(8, 8);
    TCanvas *c = b->Canvas();
    c->DrawFocusRect(Rect(1, 1, 7, 7));
    EXPECT_EQ(c->Pixels(1, 1), clBlack);
    EXPECT_EQ(c->Pixels(2, 1), clWhite);
    EXPECT_EQ(c->Pixels(3, 1), clBlack);
    EXPECT_EQ(c->Pixels(3, 3), clWhite);
    EXPECT_EQ(CountInk(*b, Rect(0, 0, 8, 8)), 10);
    c->DrawFocusRect(Rect(1, 1, 7, 7));
    EXPECT_EQ(CountInk(*b, Rect(0, 0, 8, 8)), 0);
}

TEST(Canvas, RasterOperations)
{
    EXPECT_EQ(ApplyRop3(SRCCOPY, 0x111111, 0x123456, 0xABCDEF), 0x123456);
    EXPECT_EQ(ApplyRop3(SRCAND, 0, 0x0F0F0F, 0xFF00FF), 0x0F000F);
    EXPECT_EQ(ApplyRop3(SRCPAINT, 0, 0x0F0F0F, 0xF000F0), 0xFF0FFF);
    EXPECT_EQ(ApplyRop3(SRCINVERT, 0, 0xFFFFFF, 0x123456), 0xEDCBA9);
    EXPECT_EQ(ApplyRop3(PATCOPY, 0x00FF00, 0x123456, 0xABCDEF), 0x00FF00);
    EXPECT_EQ(ApplyRop3(BLACKNESS, 0x00FF00, 0x123456, 0xABCDEF), 0);
    // $00E20746: the pattern where the source is white, the destination elsewhere.
    EXPECT_EQ(ApplyRop3(0x00E20746, 0xFF0000, 0xFFFFFF, 0x000080), 0xFF0000);
    EXPECT_EQ(ApplyRop3(0x00E20746, 0xFF0000, 0x000000, 0x000080), 0x000080);
    EXPECT_EQ(ApplyRop3(0x00E20746, 0xFF0000, 0x00FF00, 0x0000FF), 0x0000FF);
}

TEST(Canvas, RecolouringThroughAMonochromeMask)
{
    // Maroon becomes blue, the rest stays: mask by the key as background
    // colour, then the pattern through the mask.
    auto picture = WhiteBitmap(3, 1);
    picture->Canvas()->SetPixels(0, 0, clMaroon);
    picture->Canvas()->SetPixels(1, 0, clRed);
    picture->Canvas()->SetPixels(2, 0, clSilver);
    TBitmap work;
    work.Assign(picture.get());
    TBitmap mask;
    mask.SetMonochrome(true);
    mask.SetSize(3, 1);
    work.Canvas()->Brush()->SetColor(clMaroon);
    mask.Canvas()->CopyRect(Rect(0, 0, 3, 1), work.Canvas(), Rect(0, 0, 3, 1));
    EXPECT_EQ(mask.Canvas()->Pixels(0, 0), clWhite);
    EXPECT_EQ(mask.Canvas()->Pixels(1, 0), clBlack);

    TCanvas *c = picture->Canvas();
    c->Brush()->SetColor(clBlue);
    c->SetTextColor(clBlack);
    c->SetBkColor(clWhite);
    BitBlt(c, 0, 0, 3, 1, mask.Canvas(), 0, 0, 0x00E20746);
    EXPECT_EQ(c->Pixels(0, 0), clBlue);
    EXPECT_EQ(c->Pixels(1, 0), clRed);
    EXPECT_EQ(c->Pixels(2, 0), clSilver);
}

TEST(Canvas, BlitsStretchesAndTransparentDraws)
{
    auto src = WhiteBitmap(2, 2);
    src->Canvas()->SetPixels(0, 0, clRed);
    src->Canvas()->SetPixels(1, 1, clBlue);
    auto dst = WhiteBitmap(6, 6);
    dst->Canvas()->StretchDraw(Rect(0, 0, 4, 4), src.get());
    EXPECT_EQ(dst->Canvas()->Pixels(1, 1), clRed);
    EXPECT_EQ(dst->Canvas()->Pixels(2, 1), clWhite);
    EXPECT_EQ(dst->Canvas()->Pixels(3, 3), clBlue);
    EXPECT_EQ(dst->Canvas()->Pixels(4, 4), clWhite);

    // Overlapping copy within one bitmap reads the source first.
    BitBlt(dst->Canvas(), 1, 1, 4, 4, dst->Canvas(), 0, 0, SRCCOPY);
    EXPECT_EQ(dst->Canvas()->Pixels(2, 2), clRed);
    EXPECT_EQ(dst->Canvas()->Pixels(4, 4), clBlue);

    // A transparent bitmap leaves out its bottom-left colour.
    auto glyph = WhiteBitmap(2, 2);
    glyph->Canvas()->SetPixels(1, 0, clLime);
    glyph->SetTransparent(true);
    auto target = WhiteBitmap(3, 3);
    target->Canvas()->Brush()->SetColor(clNavy);
    target->Canvas()->FillRect(Rect(0, 0, 3, 3));
    target->Canvas()->Draw(1, 1, glyph.get());
    EXPECT_EQ(target->Canvas()->Pixels(2, 1), clLime);
    EXPECT_EQ(target->Canvas()->Pixels(1, 1), clNavy);
    EXPECT_EQ(target->Canvas()->Pixels(2, 2), clNavy);

    target->Canvas()->BrushCopy(Rect(0, 0, 2, 2), glyph.get(), Rect(0, 0, 2, 2), clLime);
    EXPECT_EQ(target->Canvas()->Pixels(1, 0), clNavy);
    EXPECT_EQ(target->Canvas()->Pixels(0, 0), clWhite);

    // Drawing through the copy mode: a white picture inverts what lies below.
    auto white = WhiteBitmap(1, 1);
    target->Canvas()->SetCopyMode(cmSrcInvert);
    target->Canvas()->Draw(2, 2, white.get());
    EXPECT_EQ(target->Canvas()->Pixels(2, 2), 0x7FFFFF);
}

TEST(Regions, RectanglesEllipsesPolygonsAndCombinations)
{
    TRegion rect = CreateRectRgn(0, 0, 4, 3);
    EXPECT_TRUE(PtInRegion(rect, 0, 0));
    EXPECT_TRUE(PtInRegion(rect, 3, 2));
    EXPECT_FALSE(PtInRegion(rect, 4, 2));
    EXPECT_FALSE(PtInRegion(rect, 3, 3));

    TRegion ellipse = CreateEllipticRgn(0, 0, 10, 10);
    EXPECT_TRUE(PtInRegion(ellipse, 5, 5));
    EXPECT_TRUE(PtInRegion(ellipse, 0, 5));
    EXPECT_FALSE(PtInRegion(ellipse, 0, 0));
    EXPECT_FALSE(PtInRegion(ellipse, 10, 5));
    EXPECT_EQ(ellipse.Bounds(), Rect(0, 0, 10, 10));

    TRegion triangle = CreatePolygonRgn({{0, 0}, {8, 0}, {0, 8}});
    EXPECT_TRUE(PtInRegion(triangle, 1, 1));
    EXPECT_FALSE(PtInRegion(triangle, 6, 6));

    TRegion both;
    EXPECT_EQ(CombineRgn(both, rect, CreateRectRgn(10, 10, 12, 12), RGN_OR), COMPLEXREGION);
    EXPECT_TRUE(PtInRegion(both, 1, 1));
    EXPECT_TRUE(PtInRegion(both, 11, 11));
    EXPECT_FALSE(PtInRegion(both, 6, 6));
    TRegion none;
    EXPECT_EQ(CombineRgn(none, rect, CreateRectRgn(10, 10, 12, 12), RGN_AND), NULLREGION);
    TRegion hole;
    CombineRgn(hole, CreateRectRgn(0, 0, 6, 6), CreateRectRgn(2, 2, 4, 4), RGN_DIFF);
    EXPECT_FALSE(PtInRegion(hole, 2, 2));
    EXPECT_TRUE(PtInRegion(hole, 4, 4));

    // A region that ends in the row where the other one starts: every pixel
    // of both, in either order (Qt's own union loses some of them).
    TRegion lower = CreatePolygonRgn({{3, 28}, {1, 29}, {0, 27}, {3, 26}});
    TRegion upper;
    CombineRgn(upper, CreateRectRgn(0, 24, 3, 26), CreateRectRgn(0, 26, 1, 27), RGN_OR);
    for (auto [first, second] : {std::pair{&lower, &upper}, std::pair{&upper, &lower}}) {
        TRegion joined, apart;
        CombineRgn(joined, *first, *second, RGN_OR);
        CombineRgn(apart, *first, *second, RGN_XOR);
        for (int y = 20; y < 32; ++y)
            for (int x = -2; x < 6; ++x) {
                bool in1 = PtInRegion(lower, x, y), in2 = PtInRegion(upper, x, y);
                EXPECT_EQ(PtInRegion(joined, x, y), in1 || in2) << x << "," << y;
                EXPECT_EQ(PtInRegion(apart, x, y), in1 != in2) << x << "," << y;
            }
    }
    EXPECT_TRUE(PtInRegion(lower, 0, 27));
}

TEST(Regions, ClipAndFillACanvas)
{
    auto b = WhiteBitmap(10, 10);
    TCanvas *c = b->Canvas();
    TRegion clip = CreateEllipticRgn(0, 0, 10, 10);
    c->SelectClipRgn(&clip);
    c->Brush()->SetColor(clRed);
    c->FillRect(Rect(0, 0, 10, 10));
    EXPECT_EQ(c->Pixels(0, 0), clWhite);
    EXPECT_EQ(c->Pixels(5, 5), clRed);
    c->SelectClipRgn(nullptr);
    c->FillRgn(CreateRectRgn(0, 0, 1, 1), clBlue);
    EXPECT_EQ(c->Pixels(0, 0), clBlue);
    EXPECT_EQ(c->ClipRect(), Rect(0, 0, 10, 10));
}

TEST(Bitmap, HeightGivenBeforeWidthIsKept)
{
    TBitmap b;
    b.SetHeight(39);
    EXPECT_EQ(b.Height(), 39);
    EXPECT_TRUE(b.Empty());
    EXPECT_EQ(b.ScanLine(0), nullptr);
    EXPECT_EQ(b.Canvas()->Pixels(0, 0), -1);
    b.SetWidth(111);
    EXPECT_EQ(b.Width(), 111);
    EXPECT_EQ(b.Height(), 39);
    ASSERT_NE(b.ScanLine(38), nullptr);
    TBitmap copy;
    copy.Assign(&b);
    EXPECT_EQ(copy.Width(), 111);
    copy.Assign(nullptr);
    EXPECT_EQ(copy.Height(), 0);
}
