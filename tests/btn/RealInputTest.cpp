// The gradient button under input as a window system delivers it: mouse
// events reach the top-level window and Qt hands them on (with its implicit
// grab while a button is held, and its own enter and leave), keys reach the
// focused control. Faces are told apart by their solid colours on screen.
#include "Forms.h"
#include "PaintCounter.h"
#include "SolidFaces.h"
#include "dxButton.h"

#include <QApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWindow>
#include <gtest/gtest.h>

namespace {

using namespace solidfaces;

QRgb Rgb(TColor C)
{
    return qRgb(GetRValue(C), GetGValue(C), GetBValue(C));
}

class RealInput : public ::testing::Test {
protected:
    void SetUp() override
    {
        // The pointer starts on the screen but off the window, wherever
        // earlier tests left it.
        QCursor::setPos(700, 500);
        Form.SetBounds(0, 0, 300, 120);
        First = NewButton(20, "First");
        Second = NewButton(160, "Second");
        Form.ShowForm();
        ASSERT_TRUE(Paints.Settle());
        Window = Form.windowHandle();
        ASSERT_NE(Window, nullptr);
        // Qt may show the window with the pointer where earlier tests left it:
        // the pointer comes to a bare spot first.
        MoveTo(QPoint(10, 100));
        Log.clear();
    }

    TdxButton *NewButton(int Left, const char *Name)
    {
        auto *b = new TdxButton(&Form);
        b->SetName(Name);
        b->SetParent(&Form);
        b->SetBounds(Left, 30, 100, 40);
        MakeSolid(b);
        b->OnClick = [this, b](TObject *) { Log += std::string(b->Name()) + " click;"; };
        b->OnMouseEnter = [this, b](TObject *) { Log += std::string(b->Name()) + " enter;"; };
        b->OnMouseLeave = [this, b](TObject *) { Log += std::string(b->Name()) + " leave;"; };
        return b;
    }

    // The mouse as the window system reports it: at P in the window.
    void Mouse(QEvent::Type Type, QPoint P, Qt::MouseButton Button, Qt::MouseButtons Held)
    {
        QCursor::setPos(Window->mapToGlobal(P));
        QMouseEvent e(Type, QPointF(P), QPointF(Window->mapToGlobal(P)), Button, Held,
                      Qt::NoModifier);
        QApplication::sendEvent(Window, &e);
        Paints.Settle(50, 1000);
    }
    void MoveTo(QPoint P, Qt::MouseButtons Held = Qt::NoButton)
    {
        Mouse(QEvent::MouseMove, P, Qt::NoButton, Held);
    }
    void Press(QPoint P) { Mouse(QEvent::MouseButtonPress, P, Qt::LeftButton, Qt::LeftButton); }
    void Release(QPoint P) { Mouse(QEvent::MouseButtonRelease, P, Qt::LeftButton, Qt::NoButton); }
    void Key(QEvent::Type Type, int K, const QString &Text = {})
    {
        QKeyEvent e(Type, K, Qt::NoModifier, Text);
        QApplication::sendEvent(QApplication::focusWidget(), &e);
        Paints.Settle(50, 1000);
    }

    // The face on the screen: the ring 1 .. 2 pixels in, and the middle.
    std::pair<QRgb, QRgb> FaceOf(TdxButton *B)
    {
        const QImage screen = ScreenPicture(Form);
        const QPoint at = B->mapTo(&Form, QPoint(0, 0));
        return {screen.pixel(at + QPoint(2, 20)), screen.pixel(at + QPoint(50, 5))};
    }
    static QPoint Inside(TdxButton *B) { return B->mapTo(B->window(), QPoint(50, 20)); }

    TForm Form{nullptr};
    TdxButton *First = nullptr, *Second = nullptr;
    QWindow *Window = nullptr;
    TPaintCounter Paints;
    std::string Log;
};

} // namespace

TEST_F(RealInput, APressedButtonShowsWhetherThePointerIsOnIt)
{
    const QPoint away(10, 100);
    MoveTo(away);
    MoveTo(Inside(First));
    EXPECT_EQ(FaceOf(First), std::make_pair(Rgb(Highlight), Rgb(Background))) << "hot";
    Press(Inside(First));
    EXPECT_EQ(FaceOf(First).second, Rgb(Clicked)) << "hot and pressed";

    // Held and dragged off: pressed, not hot; the focused ring round the face.
    MoveTo(away, Qt::LeftButton);
    EXPECT_EQ(FaceOf(First), std::make_pair(Rgb(FocusedFace), Rgb(Background)))
        << "pressed, pointer gone";
    MoveTo(Inside(First), Qt::LeftButton);
    EXPECT_EQ(FaceOf(First).second, Rgb(Clicked)) << "back on it";
    MoveTo(away, Qt::LeftButton);

    // Released away: no click, and the button keeps only the focus.
    Release(away);
    EXPECT_EQ(FaceOf(First), std::make_pair(Rgb(FocusedFace), Rgb(Background)));
    EXPECT_EQ(Log, "First enter;First leave;First enter;First leave;");
}

TEST_F(RealInput, EnterAndLeaveComeOncePerCrossing)
{
    const QPoint away(10, 100);
    MoveTo(away);
    MoveTo(Inside(First));
    MoveTo(Inside(First) + QPoint(5, 3));
    MoveTo(away);
    EXPECT_EQ(Log, "First enter;First leave;");
    Log.clear();

    // A press on one button released over the other: the other turns hot
    // once, and only the first one's own release is no click.
    MoveTo(Inside(First));
    Press(Inside(First));
    MoveTo(Inside(Second), Qt::LeftButton);
    Release(Inside(Second));
    MoveTo(Inside(Second) + QPoint(2, 2));
    EXPECT_EQ(Log, "First enter;First leave;Second enter;");
    EXPECT_EQ(FaceOf(Second).first, Rgb(Highlight)) << "the second is hot";
    MoveTo(away);
    EXPECT_EQ(Log, "First enter;First leave;Second enter;Second leave;");
}

TEST_F(RealInput, EveryKeyDownGetsItsKeyUp)
{
    std::string keys;
    First->OnKeyDown = [&](TObject *, uint16_t &Key, TShiftState) {
        keys += "down " + std::to_string(Key) + ";";
    };
    First->OnKeyUp = [&](TObject *, uint16_t &Key, TShiftState) {
        keys += "up " + std::to_string(Key) + ";";
    };
    First->SetFocus();
    ASSERT_EQ(QApplication::focusWidget(), First);
    // Keys the key map knows and keys it does not.
    for (int k : {int(Qt::Key_A), int(Qt::Key_F5), int(Qt::Key_Menu), int(Qt::Key_F20),
                  int(Qt::Key_Eacute)}) {
        keys.clear();
        Key(QEvent::KeyPress, k);
        Key(QEvent::KeyRelease, k);
        ASSERT_EQ(keys.rfind("down ", 0), 0u) << "key " << k << ": " << keys;
        const std::string code = keys.substr(5, keys.find(';') - 5);
        EXPECT_EQ(keys, "down " + code + ";up " + code + ";") << "key " << k;
    }

    // Space down, then another key up: the button clicks, as its own key up would.
    Log.clear();
    Key(QEvent::KeyPress, Qt::Key_Space, " ");
    EXPECT_EQ(FaceOf(First).second, Rgb(Clicked));
    Key(QEvent::KeyRelease, Qt::Key_Menu);
    EXPECT_EQ(Log, "First click;");
    EXPECT_NE(FaceOf(First).second, Rgb(Clicked)) << "still pressed";
}

TEST_F(RealInput, AButtonThatItsClickDisablesGivesUpTheFocusAndItsFocusedFace)
{
    Second->SetShowFocusRect(true);
    Second->OnClick = [this](TObject *) { Second->SetEnabled(false); };
    MoveTo(Inside(Second));
    Press(Inside(Second));
    Release(Inside(Second));
    MoveTo(QPoint(10, 100));
    EXPECT_EQ(Form.ActiveControl(), nullptr);

    // Neither the focused ring nor the dotted rectangle: the plain face
    // from the border in.
    const QImage screen = ScreenPicture(Form);
    const QPoint at = Second->mapTo(&Form, QPoint(0, 0));
    int other = 0;
    for (int y = 5; y < Second->Height() - 5; ++y)
        for (int x = 1; x <= 5; ++x)
            other += screen.pixel(at + QPoint(x, y)) != Rgb(Background);
    EXPECT_EQ(other, 0);
}
