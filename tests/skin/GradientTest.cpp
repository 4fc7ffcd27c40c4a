#include "DSGradient.h"
#include "Forms.h"
#include "Pixels.h"

#include <QCursor>
#include <gtest/gtest.h>

#include <cstdlib>

TEST(DSGradient, ConsoleHeaderPaintsItsColumnsFromStartToEndColour)
{
    TDSGradient header(nullptr);
    EXPECT_EQ(header.StartColor(), 0x645858);
    EXPECT_EQ(header.EndColor(), 0x554A4A);
    EXPECT_EQ(header.Direction(), tgdLeftRight);
    EXPECT_EQ(header.Width(), 150);
    header.SetBounds(0, 0, 577, 161);
    header.SetStartColor(0x804000);
    header.Repaint();
    TCanvas *c = header.Canvas();
    EXPECT_EQ(c->Pixels(0, 0), 0x804000);
    EXPECT_EQ(c->Pixels(0, 160), 0x804000);
    EXPECT_EQ(c->Pixels(576, 80), GradientColor(0x804000, 0x554A4A, 576, 577));
    for (int x = 0; x < 577; x += 16)
        EXPECT_EQ(c->Pixels(x, 0), c->Pixels(x, 160)) << x;

    // Swapped colours mirror the picture, up to the truncation of each step.
    TColor plain[577];
    for (int x = 0; x < 577; ++x)
        plain[x] = c->Pixels(x, 5);
    header.SetSwapColors(true);
    EXPECT_EQ(c->Pixels(0, 5), 0x554A4A);
    for (int x = 1; x < 577; ++x) {
        TColor swapped = c->Pixels(x, 5), mirror = plain[577 - x];
        EXPECT_LE(std::abs(GetRValue(swapped) - GetRValue(mirror)), 1) << x;
        EXPECT_LE(std::abs(GetBValue(swapped) - GetBValue(mirror)), 1) << x;
    }
}

TEST(DSGradient, ColourWidthBelowOneIsIgnored)
{
    TDSGradient g(nullptr);
    g.SetBounds(0, 0, 10, 4);
    g.SetStartColor(clBlack);
    g.SetEndColor(clRed);
    g.SetColorWidth(4);
    EXPECT_EQ(g.Canvas()->Pixels(3, 0), clBlack);
    EXPECT_EQ(g.Canvas()->Pixels(4, 0), GradientColor(clBlack, clRed, 4, 10));
    g.SetColorWidth(0);
    g.SetColorWidth(-3);
    EXPECT_EQ(g.ColorWidth(), 4);
    EXPECT_EQ(g.Canvas()->Pixels(3, 0), clBlack);
}

namespace {
// A header 150 x 40 at the top of a shown 200 x 100 form, the pointer over it.
template <class T> struct THeaderOnForm {
    TForm Form{nullptr};
    T *Header;
    THeaderOnForm()
    {
        Form.SetBounds(100, 100, 200, 100);
        Header = new T(&Form);
        Header->SetParent(&Form);
        Header->SetBounds(0, 0, 150, 40);
        Form.ShowForm();
        QCursor::setPos(Header->mapToGlobal(QPoint(10, 10)));
    }
    // A press at (10, 10), then the pointer moves by (20, 5) with the left
    // button held; returns how far the form moved.
    QPoint PressAndMove(TMouseButton Button)
    {
        QPoint start = Form.pos();
        Header->HandleMouseDown(Button, Button == mbLeft ? ssLeft : ssRight, 10, 10);
        Header->HandleMouseMove(ssLeft, 30, 15);
        Header->HandleMouseUp(Button, 0, 30, 15);
        return Form.pos() - start;
    }
};
} // namespace

TEST(DSGradient, LeftPressDragsTheFormRightPressDoesNot)
{
    THeaderOnForm<TDSGradient> t;
    int downs = 0;
    t.Header->OnMouseDown = [&](TObject *, TMouseButton, TShiftState, int, int) { ++downs; };
    EXPECT_FALSE(t.Header->FormDrag);
    EXPECT_EQ(t.PressAndMove(mbRight), QPoint(0, 0));
    EXPECT_EQ(downs, 1);
    EXPECT_EQ(t.PressAndMove(mbLeft), QPoint(20, 5));
    EXPECT_EQ(downs, 2);
    EXPECT_FALSE(t.Header->MouseCapture());
}

TEST(DSGradient, FormDragOnTheBaseDragsTheOutermostWindowedOwner)
{
    THeaderOnForm<TDSCustomGradient> t;
    EXPECT_EQ(t.PressAndMove(mbLeft), QPoint(0, 0));
    t.Header->FormDrag = true;
    EXPECT_EQ(t.PressAndMove(mbRight), QPoint(0, 0));
    EXPECT_EQ(t.PressAndMove(mbLeft), QPoint(20, 5));
}
