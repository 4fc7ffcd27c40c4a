#include "DSCheckBox.h"
#include "Forms.h"
#include "Pixels.h"

#include <gtest/gtest.h>

namespace {

constexpr TColor Back = 0x223344;

// A check box on a plain form, as the console places it.
struct TBoxOnForm {
    TForm Form{nullptr};
    TDSCheckBox *Box;
    TBoxOnForm()
    {
        Form.SetBounds(0, 0, 120, 20);
        Form.SetColor(Back);
        Box = new TDSCheckBox(&Form);
        Box->SetName("DSCheckBox1");
        Box->SetParent(&Form);
        Box->SetBounds(0, 0, 111, 11);
        Box->SetCaption("\xB0"
                        "C/F");
    }
    TColor At(int X, int Y) { return Box->Canvas()->Pixels(X, Y); }
};

// The seven strokes of the mark, column by column: first and last row.
constexpr int Strokes[7][3] = {{2, 5, 7}, {3, 5, 8}, {4, 6, 8}, {5, 5, 7},
                               {6, 4, 6}, {7, 3, 5}, {8, 2, 4}};

void ExpectBox(TBoxOnForm &T, int D, bool Checked, TColor TopLeft, TColor BottomRight,
               TColor Inside, TColor Mark)
{
    for (int i = 0; i <= 10; ++i) {
        EXPECT_EQ(T.At(D, i), TopLeft) << "left " << i;
        EXPECT_EQ(T.At(D + i, 0), TopLeft) << "top " << i;
    }
    for (int i = 1; i <= 10; ++i) {
        EXPECT_EQ(T.At(D + i, 10), BottomRight) << "bottom " << i;
        EXPECT_EQ(T.At(D + 10, i), BottomRight) << "right " << i;
    }
    for (int y = 1; y <= 9; ++y)
        for (int x = 1; x <= 9; ++x) {
            bool mark = false;
            for (const auto &s : Strokes)
                mark = mark || (Checked && x == s[0] && y >= s[1] && y <= s[2]);
            EXPECT_EQ(T.At(D + x, y), mark ? Mark : Inside) << x << "," << y;
        }
}

} // namespace

TEST(DSCheckBox, StrokesAndColoursEnabledAndDisabled)
{
    TBoxOnForm t;
    EXPECT_EQ(t.Box->Height(), 11);
    EXPECT_EQ(t.Box->Width(), t.Box->Canvas()->TextWidth("\xB0"
                                                         "C/F") +
                                  16);
    t.Box->SetChecked(true);
    t.Box->Repaint();
    ExpectBox(t, 0, true, 0x645858, 0xCDB4B4, 0x000000, 0xFFFFFF);
    TBitmap *pixels = t.Box->Canvas()->Bitmap();
    const TRect caption = Rect(11, 0, t.Box->Width(), 11);
    EXPECT_GT(CountInk(*pixels, caption, Back), 0);
    EXPECT_EQ(CountInk(*pixels, caption, Back),
              CountInk(*pixels, Rect(16, 0, t.Box->Width(), 11), Back));

    t.Box->SetEnabled(false);
    t.Box->Repaint();
    ExpectBox(t, 0, true, 0x584E4E, 0x808080, 0x5B5B5B, 0x808080);
    for (int y = 0; y < 11; ++y)
        for (int x = 16; x < t.Box->Width(); ++x) {
            TColor c = t.At(x, y);
            EXPECT_TRUE(c == Back || c == 0x808080) << x << "," << y;
        }

    t.Box->SetChecked(false);
    ExpectBox(t, 0, false, 0x584E4E, 0x808080, 0x5B5B5B, 0);
}

TEST(DSCheckBox, BoxOnTheRightKeepsItsRightEdgeWhileTheCaptionChanges)
{
    TBoxOnForm t;
    t.Box->SetLeft(40);
    t.Box->SetAtLeft(false);
    t.Box->SetChecked(true);
    t.Box->Repaint();
    const int d = t.Box->Width() - 11;
    ExpectBox(t, d, true, 0x645858, 0xCDB4B4, 0x000000, 0xFFFFFF);
    EXPECT_GT(CountInk(*t.Box->Canvas()->Bitmap(), Rect(0, 0, d, 11), Back), 0); // caption left

    t.Box->RightEdge = 40 + t.Box->Width();
    t.Box->SetCaption("Fahrenheit");
    EXPECT_GT(t.Box->Width(), d + 11);
    EXPECT_EQ(t.Box->Left() + t.Box->Width(), t.Box->RightEdge);

    // With the box on the left the edge follows Left instead.
    t.Box->SetAtLeft(true);
    t.Box->SetCaption("C");
    EXPECT_EQ(t.Box->RightEdge, t.Box->Left());
}

TEST(DSCheckBox, LoadedKeepsTheRightEdgeOfTheCaption)
{
    TForm form(nullptr);
    auto *box = new TDSCheckBox(&form);
    box->BeginLoading();
    box->SetName("DSCheckBox1");
    box->SetParent(&form);
    box->SetLeft(30);
    box->SetCaption("abc");
    box->EndLoading();
    EXPECT_EQ(box->RightEdge, box->Canvas()->TextWidth("abc") + 30 + 16);
}

TEST(DSCheckBox, PressesToggleExceptTheRightButtonOrWhenDisabled)
{
    TBoxOnForm t;
    int clicks = 0, downs = 0;
    t.Box->OnClick = [&](TObject *) { ++clicks; };
    t.Box->OnMouseDown = [&](TObject *, TMouseButton, TShiftState, int, int) { ++downs; };

    t.Box->HandleMouseDown(mbLeft, ssLeft, 3, 3);
    t.Box->HandleMouseUp(mbLeft, 0, 3, 3);
    EXPECT_TRUE(t.Box->Checked());
    EXPECT_EQ(clicks, 1); // once per click, at the press
    t.Box->HandleMouseDown(mbMiddle, ssMiddle, 3, 3);
    t.Box->HandleMouseUp(mbMiddle, 0, 3, 3);
    EXPECT_FALSE(t.Box->Checked());
    EXPECT_EQ(clicks, 2);
    t.Box->HandleMouseDown(mbRight, ssRight, 3, 3);
    t.Box->HandleMouseUp(mbRight, 0, 3, 3);
    EXPECT_FALSE(t.Box->Checked());
    EXPECT_EQ(clicks, 2);

    t.Box->SetEnabled(false);
    t.Box->HandleMouseDown(mbLeft, ssLeft, 3, 3);
    t.Box->HandleMouseUp(mbLeft, 0, 3, 3);
    EXPECT_FALSE(t.Box->Checked());
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(downs, 4); // mouse events still arrive
}

TEST(DSCheckBox, WidthFollowsTheCaptionAndABlankCaptionBecomesTheName)
{
    TBoxOnForm t;
    const int width = t.Box->Width();
    t.Box->SetWidth(300);
    t.Box->SetChecked(false);
    EXPECT_EQ(t.Box->Width(), width);

    t.Box->SetCaption("  ");
    t.Box->Repaint();
    EXPECT_EQ(t.Box->Caption(), "DSCheckBox1");
    EXPECT_EQ(t.Box->Width(), t.Box->Canvas()->TextWidth("DSCheckBox1") + 16);
}
