#include "Forms.h"
#include "Pixels.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QWindow>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Paints a red square at (1, 1) and counts paints.
class TSquare : public TGraphicControl {
public:
    using TGraphicControl::TGraphicControl;
    int Paints = 0;

protected:
    void Paint() override
    {
        ++Paints;
        Canvas()->Brush()->SetColor(clRed);
        Canvas()->FillRect(Rect(1, 1, 3, 3));
    }
};

// A focusable control that records what reaches it.
class TProbe : public TCustomControl {
public:
    explicit TProbe(TComponent *Owner, std::vector<std::string> *Log = nullptr)
        : TCustomControl(Owner), Log(Log)
    {
        SetTabStop(true);
    }
    std::vector<std::string> *Log;
    TWinControl *LastFocused = nullptr;
    int FocusChanges = 0;
    int Sizes = 0;
    bool TakesReturn = false;
    bool Loads = false;

    void CMFocusChanged(TWinControl *Focused) override
    {
        ++FocusChanges;
        LastFocused = Focused;
    }
    void CMDialogKey(TCMDialogKey &Message) override
    {
        if (TakesReturn && Message.CharCode == VK_RETURN) {
            Note("dialogkey");
            Message.Result = 1;
        }
    }
    void CMDialogChar(TCMDialogKey &Message) override
    {
        if (IsAccel(static_cast<char>(Message.CharCode), Caption()) && CanFocus() &&
            (Focused() || (Message.Shift & ssAlt))) {
            Click();
            Message.Result = 1;
        }
    }
    void WMSize(int W, int H) override
    {
        ++Sizes;
        Note("size " + std::to_string(W) + "x" + std::to_string(H));
        TCustomControl::WMSize(W, H);
    }
    void Click() override
    {
        Note("click");
        TCustomControl::Click();
    }

protected:
    void Loaded() override { Loads = true; }
    void MouseUp(TMouseButton B, TShiftState S, int X, int Y) override
    {
        Note("up");
        TCustomControl::MouseUp(B, S, X, Y);
    }
    void KeyDown(uint16_t &Key, TShiftState Shift) override
    {
        Note("keydown " + std::to_string(Key));
        TCustomControl::KeyDown(Key, Shift);
    }
    void DoEnter() override { Note("enter"); }
    void DoExit() override { Note("exit"); }

private:
    void Note(const std::string &Text)
    {
        if (Log)
            Log->push_back(Name() + " " + Text);
    }
};

} // namespace

TEST(Controls, PaintToRendersControlsAndChildrenWithoutAScreen)
{
    TForm form(nullptr);
    form.SetBounds(0, 0, 20, 10);
    form.SetColor(clBlue);
    auto *square = new TSquare(&form);
    square->SetParent(&form);
    square->SetBounds(5, 2, 4, 4);
    auto b = WhiteBitmap(20, 10);
    form.PaintTo(b->Canvas(), 0, 0);
    EXPECT_EQ(b->Canvas()->Pixels(6, 3), clRed);
    EXPECT_EQ(b->Canvas()->Pixels(5, 2), clBlue); // the square shows its parent around the red
    EXPECT_EQ(b->Canvas()->Pixels(0, 0), clBlue);
    EXPECT_EQ(square->Color(), clBlue); // ParentColor

    // Plain Qt widgets may live among the controls without being taken for one.
    new QWidget(&form);
    form.SetColor(clGreen);
    form.PaintTo(b->Canvas(), 0, 0);
    EXPECT_EQ(b->Canvas()->Pixels(5, 2), clGreen);
    EXPECT_EQ(form.Controls().size(), 1u);
}

TEST(Controls, RepaintPaintsAtOnceInvalidateLater)
{
    TSquare square(nullptr);
    square.SetBounds(0, 0, 4, 4);
    square.Repaint();
    EXPECT_EQ(square.Paints, 1);
    EXPECT_EQ(square.Canvas()->Pixels(1, 1), clRed);
    square.Invalidate();
    EXPECT_EQ(square.Paints, 1);
    square.Update();
    EXPECT_EQ(square.Paints, 2);
}

TEST(Controls, ClickComesOnALeftReleaseInsideBeforeMouseUp)
{
    std::vector<std::string> log;
    TForm form(nullptr);
    auto *probe = new TProbe(&form, &log);
    probe->SetName("p");
    probe->SetParent(&form);
    probe->SetBounds(0, 0, 30, 20);
    probe->HandleMouseDown(mbLeft, ssLeft, 5, 5);
    probe->HandleMouseUp(mbLeft, 0, 5, 5);
    EXPECT_EQ(log, (std::vector<std::string>{"p click", "p up"}));
    log.clear();
    probe->HandleMouseDown(mbLeft, ssLeft, 5, 5);
    probe->HandleMouseUp(mbLeft, 0, 40, 5);
    probe->HandleMouseDown(mbRight, ssRight, 5, 5);
    probe->HandleMouseUp(mbRight, 0, 5, 5);
    EXPECT_EQ(log, (std::vector<std::string>{"p up", "p up"}));
}

TEST(Controls, NameBecomesCaptionOnlyOutsideLoading)
{
    TForm form(nullptr);
    TProbe a(&form), b(&form);
    a.SetName("dxButton1");
    EXPECT_EQ(a.Caption(), "dxButton1");
    a.SetCaption("OK");
    a.SetName("dxButton2");
    EXPECT_EQ(a.Caption(), "OK");
    b.BeginLoading();
    b.SetName("dxButton3");
    b.EndLoading();
    EXPECT_EQ(b.Caption(), "");
    EXPECT_TRUE(b.Loads);
    TProbe c(&form);
    c.SetControlStyle(c.ControlStyle() & ~csSetCaption);
    c.SetName("DSSimpleLed1");
    EXPECT_EQ(c.Caption(), "");
}

TEST(Controls, ParentFontFollowsUntilOwnFontIsSet)
{
    TForm form(nullptr);
    TProbe child(&form);
    child.SetParent(&form);
    form.Font()->SetName("Verdana");
    EXPECT_EQ(child.Font()->Name(), "Verdana");
    EXPECT_TRUE(child.ParentFont());
    child.Font()->SetSize(12);
    EXPECT_FALSE(child.ParentFont());
    form.Font()->SetName("Arial");
    EXPECT_EQ(child.Font()->Name(), "Verdana");
}

TEST(Forms, FocusChangesReachEveryControlInOrder)
{
    std::vector<std::string> log;
    TForm form(nullptr);
    auto *a = new TProbe(&form, &log);
    auto *b = new TProbe(&form, &log);
    a->SetName("a");
    b->SetName("b");
    a->SetParent(&form);
    b->SetParent(&form);
    form.ShowForm();
    ASSERT_TRUE(a->CanFocus());
    a->SetFocus();
    EXPECT_TRUE(a->Focused());
    EXPECT_EQ(form.ActiveControl(), a);
    EXPECT_EQ(b->LastFocused, a);
    EXPECT_EQ(b->FocusChanges, 1);
    log.clear();
    a->HandleKeyDown(VK_TAB, 0);
    EXPECT_EQ(form.ActiveControl(), b);
    EXPECT_EQ(log, (std::vector<std::string>{"a exit", "b enter"}));
    EXPECT_EQ(a->LastFocused, b);
    b->HandleKeyDown(VK_TAB, ssShift);
    EXPECT_EQ(form.ActiveControl(), a);
    b->SetEnabled(false);
    EXPECT_FALSE(b->CanFocus());
}

TEST(Forms, DialogKeysPreviewAndAccelerators)
{
    std::vector<std::string> log;
    TForm form(nullptr);
    auto *focused = new TProbe(&form, &log);
    auto *other = new TProbe(&form, &log);
    focused->SetName("f");
    other->SetName("o");
    other->SetCaption("&Odustani");
    focused->SetParent(&form);
    other->SetParent(&form);
    form.ShowForm();
    focused->SetFocus();
    log.clear();

    other->TakesReturn = true;
    focused->HandleKeyDown(VK_RETURN, 0);
    EXPECT_EQ(log, (std::vector<std::string>{"o dialogkey"}));
    log.clear();
    other->TakesReturn = false;
    focused->HandleKeyDown(VK_RETURN, 0);
    EXPECT_EQ(log, (std::vector<std::string>{"f keydown 13"}));
    log.clear();

    // Without Alt the accelerator clicks only a focused control.
    focused->HandleKeyPress('o');
    EXPECT_TRUE(log.empty());
    focused->HandleKeyPress('o', ssAlt);
    EXPECT_EQ(log, (std::vector<std::string>{"o click"}));
    log.clear();

    form.KeyPreview = true;
    form.OnKeyDown = [&](TObject *, uint16_t &Key, TShiftState) {
        if (Key == VK_F3) {
            log.push_back("form F3");
            Key = 0;
        }
    };
    focused->HandleKeyDown(VK_F3, 0);
    focused->HandleKeyDown(VK_F4, 0);
    EXPECT_EQ(log, (std::vector<std::string>{"form F3", "f keydown 115"}));
}

TEST(Controls, WindowedControlsGetSizeNotificationsOnceTheirWindowExists)
{
    std::vector<std::string> log;
    TForm form(nullptr);
    auto *probe = new TProbe(&form, &log);
    probe->SetName("p");
    probe->SetBounds(0, 0, 24, 14);
    probe->SetParent(&form);
    EXPECT_TRUE(log.empty());
    EXPECT_FALSE(probe->HandleAllocated());
    form.ShowForm();
    EXPECT_TRUE(probe->HandleAllocated());
    probe->SetBounds(0, 0, 26, 16);
    probe->SetBounds(3, 4, 26, 16);
    EXPECT_EQ(log, (std::vector<std::string>{"p size 24x14", "p size 26x16"}));
}

TEST(Controls, WindowRegionLimitsWhatIsPainted)
{
    TForm form(nullptr);
    auto *probe = new TProbe(&form);
    probe->SetParent(&form);
    probe->SetBounds(0, 0, 10, 10);
    probe->SetColor(clRed);
    TRegion round = CreateEllipticRgn(0, 0, 10, 10);
    probe->SetWindowRgn(&round);
    auto b = WhiteBitmap(12, 12);
    probe->PaintTo(b->Canvas(), 1, 1);
    EXPECT_EQ(b->Canvas()->Pixels(1, 1), clWhite);
    EXPECT_EQ(b->Canvas()->Pixels(6, 6), clRed);
    EXPECT_EQ(b->Canvas()->ClipRegion(), nullptr);
}

TEST(Forms, ModalResultOrAnAcceptedCloseEndsAModalRun)
{
    TForm form(nullptr);
    TTimer timer(&form);
    timer.SetInterval(5);
    int ticks = 0;
    timer.OnTimer = [&](TObject *) {
        if (++ticks == 3)
            form.SetModalResult(mrOk);
    };
    EXPECT_EQ(form.ShowModal(), mrOk);
    EXPECT_EQ(ticks, 3);
    EXPECT_FALSE(form.Visible());
    timer.SetEnabled(false);
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 30)
        QCoreApplication::processEvents();
    EXPECT_EQ(ticks, 3);

    // The window system asks to close: refused by OnClose, or by a handler
    // that throws, the form stays shown and its run goes on.
    std::vector<bool> shown;
    form.OnClose = [&](TObject *, int &Action) {
        if (++ticks == 5)
            throw Exception("no");
        Action = ticks == 4 ? caNone : caHide;
    };
    timer.OnTimer = [&](TObject *) {
        shown.push_back(form.isVisible() && form.Visible());
        QCloseEvent request;
        QCoreApplication::sendEvent(form.windowHandle(), &request);
    };
    Application->OnException = [](TObject *, const std::exception &) {};
    timer.SetEnabled(true);
    EXPECT_EQ(form.ShowModal(), mrCancel);
    timer.SetEnabled(false);
    Application->OnException = nullptr;
    EXPECT_EQ(shown, (std::vector<bool>{true, true, true}));
    EXPECT_FALSE(form.isVisible());
}

TEST(Forms, WindowFollowsThePointerWhenThePlatformCannotMoveIt)
{
    TForm form(nullptr);
    form.SetBounds(100, 100, 200, 100);
    auto *grip = new TSquare(&form);
    grip->SetParent(&form);
    grip->SetBounds(0, 0, 50, 20);
    form.ShowForm();
    QCursor::setPos(grip->mapToGlobal(QPoint(10, 10)));
    QPoint start = form.pos();
    StartWindowMove(&form);
    grip->HandleMouseMove(ssLeft, 30, 15);
    EXPECT_EQ(form.pos(), start + QPoint(20, 5));
    grip->HandleMouseUp(mbLeft, 0, 30, 15);
    grip->HandleMouseMove(0, 40, 15);
    EXPECT_EQ(form.pos(), start + QPoint(20, 5));
}

TEST(Components, FreeNotificationTellsWhicheverSideOutlivesTheOther)
{
    struct TWatcher : TComponent {
        using TComponent::TComponent;
        std::vector<TComponent *> Removed;
        void Notification(TComponent *AComponent, TOperation Operation) override
        {
            if (Operation == opRemove)
                Removed.push_back(AComponent);
        }
    };
    TWatcher watcher(nullptr);
    auto *a = new TWatcher(nullptr);
    auto *b = new TComponent(nullptr);
    a->FreeNotification(&watcher);
    b->FreeNotification(&watcher);
    b->FreeNotification(&watcher);
    delete b;
    EXPECT_EQ(watcher.Removed, (std::vector<TComponent *>{b}));
    a->RemoveFreeNotification(&watcher);
    delete a;
    EXPECT_EQ(watcher.Removed.size(), 1u);

    // The watcher goes first: the other side hears of it and no longer calls back.
    auto *early = new TWatcher(nullptr);
    TWatcher late(nullptr);
    late.FreeNotification(early);
    delete early;
    EXPECT_EQ(late.Removed.size(), 1u);
}
