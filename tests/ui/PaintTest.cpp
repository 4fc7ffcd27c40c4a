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
    void SetFill(TColor Value) { SetFill(Value, Value); }
    // Left half in one colour, right half in another.
    void SetFill(TColor Left, TColor Right)
    {
        FFill = Left;
        FRight = Right;
        Invalidate();
    }

protected:
    void Paint() override
    {
        Canvas()->Brush()->SetColor(FFill);
        Canvas()->FillRect(ClientRect());
        Canvas()->Brush()->SetColor(FRight);
        Canvas()->FillRect(Rect(Width() / 2, 0, Width(), Height()));
    }

private:
    TColor FFill = clWhite;
    TColor FRight = clWhite;
};

// An opaque graphic control: it paints all of itself.
class TBlock : public TGraphicControl {
public:
    explicit TBlock(TComponent *AOwner) : TGraphicControl(AOwner)
    {
        SetControlStyle(ControlStyle() | csOpaque);
    }
    int Paints = 0;

protected:
    void Paint() override
    {
        ++Paints;
        Canvas()->Brush()->SetColor(clNavy);
        Canvas()->FillRect(ClientRect());
    }
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

// A control whose picture cannot be made while Fail is set.
class TFailing : public TGraphicControl {
public:
    explicit TFailing(TComponent *AOwner) : TGraphicControl(AOwner)
    {
        SetControlStyle(ControlStyle() | csOpaque);
    }
    bool Fail = false;
    int Paints = 0;

protected:
    void Paint() override
    {
        ++Paints;
        if (Fail)
            throw EOutOfResources();
        Canvas()->Brush()->SetColor(clTeal);
        Canvas()->FillRect(ClientRect());
    }
};

QRgb Rgb(TColor C)
{
    return qRgb(GetRValue(C), GetGValue(C), GetBValue(C));
}

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

TEST_F(ScreenPaints, AMovedTransparentControlShowsWhatLiesBeneathItsNewPlace)
{
    Backdrop->SetFill(clYellow, clLime);
    ASSERT_TRUE(Paints.Settle());
    EXPECT_EQ(ScreenPicture(Form).pixel(10 + 20 + 1, 10 + 20 + 1), Rgb(clYellow));
    Dot->SetLeft(70);
    ASSERT_TRUE(Paints.Settle());
    const QImage screen = ScreenPicture(Form);
    EXPECT_EQ(screen.pixel(10 + 70 + 1, 10 + 20 + 1), Rgb(clLime));
    EXPECT_EQ(screen.pixel(10 + 70 + 4, 10 + 20 + 4), Rgb(clRed));
    // Where it was, the backdrop again.
    EXPECT_EQ(screen.pixel(10 + 20 + 4, 10 + 20 + 4), Rgb(clYellow));
}

// A parent that its opaque child covers whole is never painted by the
// window system; the child must settle all the same.
TEST_F(ScreenPaints, AnOpaqueControlCoveringItsParentSettles)
{
    auto *cover = new TBackdrop(&Form);
    cover->SetBounds(175, 75, 20, 40);
    auto *block = new TBlock(&Form);
    block->SetParent(cover);
    block->SetBounds(0, 0, 20, 40);
    cover->SetParent(&Form);
    ASSERT_TRUE(Paints.Settle()) << "the covered control's child never stops painting";
    const int before = block->Paints;
    block->QWidget::update(0, 0, 5, 5);
    ASSERT_TRUE(Paints.Settle()) << "a part repainted asks for the rest for ever";
    EXPECT_LE(block->Paints - before, 1);
    EXPECT_EQ(ScreenPicture(Form).pixel(175 + 10, 75 + 20), Rgb(clNavy));
}

TEST_F(ScreenPaints, APaintThatFailsIsToldOnceAndTheProgramGoesOn)
{
    auto *failing = new TFailing(&Form);
    failing->SetParent(&Form);
    failing->SetBounds(130, 80, 30, 20);
    ASSERT_TRUE(Paints.Settle());
    std::vector<std::string> told;
    struct TForget {
        ~TForget() { Application->OnException = nullptr; }
    } forget;
    Application->OnException = [&](TObject *Sender, const std::exception &E) {
        EXPECT_EQ(Sender, failing);
        told.push_back(E.what());
    };
    failing->Fail = true;
    const int before = failing->Paints;
    failing->Invalidate();
    ASSERT_TRUE(Paints.Settle()) << "a failed paint must not paint for ever";
    TPaintCounter::Serve(200);
    EXPECT_GT(failing->Paints, before);
    EXPECT_EQ(told, std::vector<std::string>{"Out of system resources"});

    failing->Fail = false;
    failing->Invalidate();
    ASSERT_TRUE(Paints.Settle());
    EXPECT_EQ(failing->Canvas()->Pixels(5, 5), clTeal);
    EXPECT_EQ(told.size(), 1u);
}
