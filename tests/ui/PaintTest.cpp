// Screen paints of controls: a window at rest is not painted, a change
// repaints only the control it concerns, and a transparent control keeps
// showing what lies beneath it.
#include "ExtCtrls.h"
#include "Forms.h"
#include "PaintCounter.h"
#include "StdCtrls.h"

#include <gtest/gtest.h>

namespace {

// A windowed control filled with a colour of its own choosing, so that its
// picture can change without touching its children.
class TBackdrop : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
    void SetFill(TColor Value)
    {
        FFill = Value;
        Invalidate();
    }

protected:
    void Paint() override
    {
        Canvas()->Brush()->SetColor(FFill);
        Canvas()->FillRect(ClientRect());
    }

private:
    TColor FFill = clWhite;
};

// A transparent graphic control: a red dot in the middle, the rest shows
// what lies beneath.
class TDot : public TGraphicControl {
public:
    using TGraphicControl::TGraphicControl;
    int Paints = 0;

protected:
    void Paint() override
    {
        ++Paints;
        Canvas()->Brush()->SetColor(clRed);
        Canvas()->FillRect(Rect(4, 4, 6, 6));
    }
};

QRgb Rgb(TColor C) { return qRgb(GetRValue(C), GetGValue(C), GetBValue(C)); }

class ScreenPaints : public ::testing::Test {
protected:
    void SetUp() override
    {
        Form.SetBounds(0, 0, 200, 120);
        Form.SetColor(clBtnFace);
        Backdrop = new TBackdrop(&Form);
        Backdrop->SetParent(&Form);
        Backdrop->SetBounds(10, 10, 100, 60);
        Dot = new TDot(&Form);
        Dot->SetParent(Backdrop);
        Dot->SetBounds(20, 20, 10, 10);
        Panel = new TPanel(&Form);
        Panel->SetParent(&Form);
        Panel->SetBounds(120, 10, 70, 60);
        for (int i = 0; i < 3; ++i) {
            Labels[i] = new TLabel(&Form);
            Labels[i]->SetParent(&Form);
            Labels[i]->SetBounds(10, 80 + 12 * (i % 2), 40, 12);
            Labels[i]->SetLeft(10 + 60 * i);
            Labels[i]->SetCaption("Label " + std::to_string(i));
        }
        Form.ShowForm();
        ASSERT_TRUE(Paints.Settle()) << "the window never stops painting";
        Paints.Reset();
    }

    TForm Form{nullptr};
    TBackdrop *Backdrop = nullptr;
    TDot *Dot = nullptr;
    TPanel *Panel = nullptr;
    TLabel *Labels[3] = {};
    TPaintCounter Paints;
};

} // namespace

TEST_F(ScreenPaints, AWindowAtRestIsNotPainted)
{
    TPaintCounter::Serve(2000);
    EXPECT_EQ(Paints.Total(), 0);
}

TEST_F(ScreenPaints, AChangeRepaintsItsControlAndNotItsSiblings)
{
    Labels[1]->SetCaption("Label one");
    ASSERT_TRUE(Paints.Settle());
    EXPECT_GE(Paints.Of(Labels[1]), 1);
    EXPECT_EQ(Paints.Of(Labels[0]), 0);
    EXPECT_EQ(Paints.Of(Labels[2]), 0);
    EXPECT_EQ(Paints.Of(Panel), 0);
    EXPECT_EQ(Paints.Of(Backdrop), 0);
    EXPECT_EQ(Paints.Of(&Form), 0);
    // Once is enough: the new picture does not ask for another.
    EXPECT_EQ(Paints.Of(Labels[1]), 1);
}

TEST_F(ScreenPaints, ATransparentControlShowsItsParentsNewPicture)
{
    const int before = Dot->Paints;
    Backdrop->SetFill(clYellow);
    ASSERT_TRUE(Paints.Settle());
    EXPECT_GT(Dot->Paints, before) << Paints.Of(Dot) << " " << Paints.Of(Backdrop);
    const QImage screen = ScreenPicture(Form);
    ASSERT_FALSE(screen.isNull());
    // Around the dot: the parent's new fill; in it: the dot's own red.
    EXPECT_EQ(screen.pixel(10 + 20 + 1, 10 + 20 + 1), Rgb(clYellow));
    EXPECT_EQ(screen.pixel(10 + 20 + 4, 10 + 20 + 4), Rgb(clRed));
    EXPECT_EQ(screen.pixel(10 + 5, 10 + 5), Rgb(clYellow));

    // The same picture reaches a canvas without a screen.
    TBitmap picture;
    picture.SetSize(200, 120);
    Form.PaintTo(picture.Canvas(), 0, 0);
    EXPECT_EQ(picture.Canvas()->Pixels(31, 31), clYellow);
    EXPECT_EQ(picture.Canvas()->Pixels(34, 34), clRed);
}

TEST_F(ScreenPaints, DrawingOnACanvasOutsideAPaintShowsOnce)
{
    Panel->Canvas()->Brush()->SetColor(clLime);
    Panel->Canvas()->FillRect(Rect(0, 0, 10, 10));
    ASSERT_TRUE(Paints.Settle());
    EXPECT_EQ(Paints.Of(Panel), 1);
    const QImage screen = ScreenPicture(Form);
    EXPECT_EQ(screen.pixel(120 + 2, 10 + 2), Rgb(clLime));
}
