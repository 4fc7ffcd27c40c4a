// Where the keyboard goes: clicks, Tab, and controls that can no longer
// take keys, with input handed to the window as the window system does;
// and what a handler run by that input lets escape.
#include "ComCtrls.h"
#include "Dialogs.h"
#include "EditCtrls.h"
#include "ExtCtrls.h"
#include "Forms.h"
#include "RichEdit.h"
#include "StdCtrls.h"
#include "WindowInput.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

using namespace windowinput;

namespace {

QPoint TabMiddle(TPageControl *Pages)
{
    const TRect tab = Pages->TabRect(0);
    return QPoint((tab.Left + tab.Right) / 2, (tab.Top + tab.Bottom) / 2);
}

class Focus : public ::testing::Test {
protected:
    void SetUp() override
    {
        Form.SetBounds(0, 0, 400, 300);
        Form.OnKeyDown = [this](TObject *, uint16_t &Key, TShiftState) { FormKeys.push_back(Key); };
    }
    template <class T>
    T *Place(int Left, int Top, int Width, int Height, TWinControl *Parent = nullptr)
    {
        auto *c = new T(&Form);
        c->SetParent(Parent ? Parent : &Form);
        c->SetBounds(Left, Top, Width, Height);
        return c;
    }
    void Show()
    {
        Form.ShowForm();
        QApplication::setActiveWindow(&Form);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&Form));
    }
    // Whether the keyboard is on Control: the form's focused control, and
    // the widget Qt sends keys to lies in it.
    ::testing::AssertionResult KeysGoTo(TWinControl *Control)
    {
        QWidget *focus = QApplication::focusWidget();
        if (Form.ActiveControl() != Control)
            return ::testing::AssertionFailure()
                   << "focused control: "
                   << (Form.ActiveControl() ? Form.ActiveControl()->Name() : "none");
        if (!focus || (focus != Control && !Control->isAncestorOf(focus)))
            return ::testing::AssertionFailure() << "Qt's focus is elsewhere";
        return ::testing::AssertionSuccess();
    }

    TForm Form{nullptr};
    std::vector<uint16_t> FormKeys;
};

} // namespace

TEST_F(Focus, AClickFocusesEveryControlThatTakesTheFocusAndTypingReachesIt)
{
    auto *edit = Place<TEdit>(10, 10, 120, 21);
    auto *combo = Place<TComboBox>(10, 40, 120, 21);
    auto *rich = Place<TRichEdit>(10, 70, 200, 60);
    auto *readOnly = Place<TRichEdit>(220, 70, 170, 60);
    readOnly->SetReadOnly(true);
    readOnly->Lines.Add("Read only");
    auto *track = Place<TTrackBar>(10, 140, 150, 30);
    track->SetMax(10);
    auto *check = Place<TCheckBox>(10, 180, 100, 17);
    check->SetCaption("Box");
    auto *pages = Place<TPageControl>(180, 140, 200, 100);
    auto *sheet = new TTabSheet(&Form);
    sheet->SetCaption("Page");
    sheet->SetPageControl(pages);
    Show();

    struct TCase {
        TWinControl *Control;
        QPoint At;
        std::function<std::string()> Text; // what typing shows, if it shows
    };
    const std::vector<TCase> cases = {
        {edit, QPoint(60, 10), [&] { return edit->Text(); }},
        {combo, QPoint(30, 10), [&] { return combo->Text(); }},
        {rich, QPoint(20, 10), [&] { return rich->Text(); }},
        {readOnly, QPoint(20, 8), nullptr},
        {track, QPoint(4, 15), nullptr},
        {check, QPoint(6, 8), nullptr},
        {pages, TabMiddle(pages), nullptr},
    };
    for (const TCase &c : cases) {
        SCOPED_TRACE(c.Control->ClassName());
        ClickAt(c.Control, c.At);
        EXPECT_TRUE(KeysGoTo(c.Control));
        if (c.Text) {
            Type(&Form, "q7");
            Key(&Form, Qt::Key_X, Qt::AltModifier); // an accelerator, never a character
            EXPECT_EQ(c.Text(), "q7");
        }
    }
    EXPECT_TRUE(FormKeys.empty()) << "the form saw keys without KeyPreview";

    // Keys of a read-only view move its caret and select.
    ClickAt(readOnly, QPoint(4, 8));
    Key(&Form, Qt::Key_Home);
    Key(&Form, Qt::Key_Right, Qt::ShiftModifier);
    Key(&Form, Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(readOnly->SelText(), "Re");
    // The check box ticked by its click; space ticks it again.
    ClickAt(check, QPoint(6, 8));
    const bool ticked = check->Checked();
    Key(&Form, Qt::Key_Space);
    EXPECT_NE(check->Checked(), ticked);
    // The track bar's keys move it.
    ClickAt(track, QPoint(4, 15));
    const int at = track->Position();
    Key(&Form, Qt::Key_Right);
    EXPECT_EQ(track->Position(), at + 1);
}

TEST_F(Focus, TheFocusArrivesBeforeThePressIsHandled)
{
    auto *edit = Place<TEdit>(10, 10, 120, 21);
    auto *pages = Place<TPageControl>(150, 10, 200, 100);
    for (const char *caption : {"One", "Two"}) {
        auto *sheet = new TTabSheet(&Form);
        sheet->SetCaption(caption);
        sheet->SetPageControl(pages);
    }
    pages->SetActivePageIndex(0);
    std::string log;
    edit->OnExit = [&](TObject *) { log += "edit exit;"; };
    pages->OnEnter = [&](TObject *) { log += "tabs enter;"; };
    pages->OnChange = [&](TObject *) {
        log += "page " + std::to_string(pages->ActivePageIndex()) + ";";
    };
    Show();
    ClickAt(edit, QPoint(5, 5));
    const TRect second = pages->TabRect(1);
    ClickAt(pages, QPoint((second.Left + second.Right) / 2, (second.Top + second.Bottom) / 2));
    EXPECT_EQ(log, "edit exit;tabs enter;page 1;");
}

TEST_F(Focus, PanelsLabelsAndDisabledControlsLeaveTheFocusWhereItIs)
{
    auto *panel = Place<TPanel>(150, 10, 200, 120);
    auto *group = Place<TGroupBox>(10, 10, 100, 60, panel);
    auto *label = Place<TLabel>(10, 80, 60, 13, panel);
    label->SetCaption("Label");
    auto *combo = Place<TComboBox>(10, 10, 120, 21);
    auto *edit = Place<TEdit>(10, 70, 120, 21);
    auto *off = Place<TEdit>(10, 40, 120, 21);
    off->SetEnabled(false);
    Show();
    ClickAt(edit, QPoint(5, 5));
    ASSERT_TRUE(KeysGoTo(edit));
    ClickAt(combo, QPoint(5, 10));
    ASSERT_TRUE(KeysGoTo(combo));
    for (TControl *c : std::vector<TControl *>{panel, group, label, off}) {
        SCOPED_TRACE(c->ClassName());
        Click(c);
        EXPECT_TRUE(KeysGoTo(combo));
    }
    Type(&Form, "k");
    EXPECT_EQ(combo->Text(), "k");
    EXPECT_EQ(off->Text(), "");
}

TEST_F(Focus, TabWalksTheTabStopsInTabOrderAndAClickIgnoresTabStop)
{
    auto *a = Place<TEdit>(10, 10, 100, 21);
    auto *b = Place<TEdit>(10, 40, 100, 21);
    auto *c = Place<TComboBox>(10, 70, 100, 21);
    auto *noStop = Place<TEdit>(10, 100, 100, 21);
    auto *gone = Place<TEdit>(10, 130, 100, 21);
    a->TabOrder = 2;
    b->TabOrder = 0;
    c->TabOrder = 1;
    noStop->SetTabStop(false);
    gone->SetEnabled(false);
    a->SetText("old");
    c->SetText("combo");
    noStop->SetText("keep");
    Show();
    EXPECT_TRUE(KeysGoTo(b)) << "the first tab stop takes the keys at start";

    // A click puts the caret; Tab and Shift+Tab select the whole text.
    ClickAt(noStop, QPoint(5, 5));
    EXPECT_TRUE(KeysGoTo(noStop));
    EXPECT_FALSE(noStop->Line()->hasSelectedText());
    std::vector<TWinControl *> walked;
    for (int i = 0; i < 4; ++i) {
        Key(&Form, Qt::Key_Tab);
        walked.push_back(Form.ActiveControl());
        if (walked.back() == c) {
            EXPECT_EQ(c->Combo()->lineEdit()->selectedText(), "combo");
        }
    }
    EXPECT_EQ(walked, (std::vector<TWinControl *>{b, c, a, b}));
    Key(&Form, Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_TRUE(KeysGoTo(a));
    Type(&Form, "t");
    EXPECT_EQ(a->Text(), "t");
    EXPECT_TRUE(FormKeys.empty());
}

TEST_F(Focus, AControlDisabledOrHiddenGivesTheKeysToTheForm)
{
    auto *panel = Place<TPanel>(150, 10, 200, 120);
    auto *inner = Place<TEdit>(10, 10, 120, 21, panel);
    auto *edit = Place<TEdit>(10, 10, 120, 21);
    std::string log;
    edit->OnExit = [&](TObject *) { log += "exit;"; };
    Show();

    ClickAt(edit, QPoint(5, 5));
    ASSERT_TRUE(KeysGoTo(edit));
    edit->SetEnabled(false);
    EXPECT_EQ(Form.ActiveControl(), nullptr);
    EXPECT_EQ(log, "exit;");
    // Nor can the program give it the focus.
    EXPECT_THROW(edit->SetFocus(), EInvalidOperation);
    EXPECT_THROW(Form.SetActiveControl(edit), EInvalidOperation);
    EXPECT_FALSE(edit->Focused());
    Key(&Form, Qt::Key_F3);
    EXPECT_EQ(FormKeys, std::vector<uint16_t>{VK_F3});
    edit->SetEnabled(true);
    EXPECT_EQ(Form.ActiveControl(), nullptr) << "enabling gives no focus";

    ClickAt(inner, QPoint(5, 5));
    ASSERT_TRUE(KeysGoTo(inner));
    panel->SetVisible(false);
    EXPECT_EQ(Form.ActiveControl(), nullptr);
    EXPECT_THROW(inner->SetFocus(), EInvalidOperation);
    Key(&Form, Qt::Key_F5);
    EXPECT_EQ(FormKeys, (std::vector<uint16_t>{VK_F3, VK_F5}));
    EXPECT_EQ(inner->Text(), "");

    // A control the focus is not in changes nothing when it goes.
    ClickAt(edit, QPoint(5, 5));
    panel->SetVisible(true);
    panel->SetEnabled(false);
    EXPECT_TRUE(KeysGoTo(edit));
}

TEST_F(Focus, APanelFreedWithTheFocusInsideLeavesTheFormWithoutAFocusedControl)
{
    auto *panel = Place<TPanel>(150, 10, 200, 120);
    auto *inner = Place<TEdit>(10, 10, 120, 21, panel);
    auto *other = Place<TEdit>(10, 10, 120, 21);
    Show();
    ClickAt(inner, QPoint(5, 5));
    ASSERT_TRUE(KeysGoTo(inner));
    delete panel;
    EXPECT_EQ(Form.ActiveControl(), nullptr);

    // A focused control moved, to nowhere, to another form or inside its
    // own, then freed: the form holds nothing of it, and it does not exit.
    TForm elsewhere(nullptr);
    auto *box = Place<TPanel>(150, 150, 200, 100);
    auto *hidden = Place<TPanel>(150, 150, 200, 100);
    hidden->SetVisible(false);
    for (TWinControl *to : std::vector<TWinControl *>{nullptr, &elsewhere, box, hidden}) {
        auto *moved = Place<TEdit>(10, 40, 120, 21);
        int exits = 0;
        moved->OnExit = [&](TObject *) { ++exits; };
        ClickAt(moved, QPoint(5, 5));
        ASSERT_TRUE(KeysGoTo(moved));
        moved->SetParent(to);
        EXPECT_EQ(Form.ActiveControl(), nullptr);
        EXPECT_FALSE(moved->Focused());
        delete moved;
        EXPECT_EQ(exits, 0);
        ClickAt(other, QPoint(5, 5));
        EXPECT_TRUE(KeysGoTo(other));
    }
    // Hiding another control asks where the focus is: nothing freed is read.
    other->SetVisible(false);
    Key(&Form, Qt::Key_F2);
    EXPECT_EQ(FormKeys, std::vector<uint16_t>{VK_F2});
}

TEST_F(Focus, AChangeStopsWhereOnExitThrowsOrMovesTheFocus)
{
    std::string log;
    std::vector<TEdit *> e;
    for (const std::string name : {"a", "b", "c"}) {
        e.push_back(Place<TEdit>(10, 10 + 30 * int(e.size()), 100, 21));
        e.back()->OnEnter = [&log, name](TObject *) { log += name + "+"; };
        e.back()->OnExit = [&log, name](TObject *) { log += name + "-"; };
    }
    int reported = 0;
    Application->OnException = [&](TObject *, const std::exception &) { ++reported; };
    Show();
    ClickAt(e[0], QPoint(5, 5));
    log.clear();
    // OnExit refuses a click and Tab: a keeps the keys, b never enters.
    e[0]->OnExit = [](TObject *) { throw Exception("stay"); };
    ClickAt(e[1], QPoint(5, 5));
    Key(&Form, Qt::Key_Tab);
    Type(&Form, "k");
    EXPECT_TRUE(KeysGoTo(e[0]));
    EXPECT_EQ(reported, 2);
    EXPECT_EQ(e[0]->Text(), "k");
    // OnExit sends the focus to c: b, asked for, never enters nor exits.
    e[0]->OnExit = [&](TObject *) { log += "a-", e[2]->SetFocus(); };
    ClickAt(e[1], QPoint(5, 5));
    EXPECT_TRUE(KeysGoTo(e[2]));
    ClickAt(e[0], QPoint(5, 5));
    EXPECT_EQ(log, "a-c+c-a+");
    Application->OnException = nullptr;
}

TEST_F(Focus, CtrlTabAndTheArrowsTurnThePagesAndTheKeysNeverGetLost)
{
    auto *pages = Place<TPageControl>(10, 10, 300, 150);
    auto *track = Place<TTrackBar>(10, 200, 150, 30);
    std::vector<TEdit *> fields;
    for (const char *caption : {"One", "Two", "Three"}) {
        auto *sheet = new TTabSheet(&Form);
        sheet->SetCaption(caption);
        sheet->SetPageControl(pages);
        if (fields.size() < 2)
            fields.push_back(Place<TEdit>(10, 10, 100, 21, sheet));
    }
    pages->SetActivePageIndex(0);
    int changes = 0;
    pages->OnChange = [&](TObject *) { ++changes; };
    Show();
    ASSERT_TRUE(KeysGoTo(pages)) << "the first tab stop takes the keys at start";

    struct TPress {
        Qt::Key Key;
        Qt::KeyboardModifiers Modifiers;
        int Page;
        TWinControl *Focus;
    };
    const Qt::KeyboardModifiers ctrl = Qt::ControlModifier, back = ctrl | Qt::ShiftModifier;
    const std::vector<TPress> presses = {
        {Qt::Key_Right, {}, 1, pages},         {Qt::Key_Left, {}, 0, pages},
        {Qt::Key_Left, {}, 2, pages},      // round to the last
        {Qt::Key_Tab, ctrl, 0, pages},     // from the tabs, they keep the keys
        {Qt::Key_Tab, {}, 0, fields[0]},   // into the page
        {Qt::Key_Tab, ctrl, 1, fields[1]}, // from a field: the new page's first
        {Qt::Key_Tab, ctrl, 2, pages},     // a page without fields: the tabs
        {Qt::Key_Backtab, back, 1, pages},     {Qt::Key_Tab, {}, 1, fields[1]},
        {Qt::Key_Backtab, back, 0, fields[0]}, {Qt::Key_Backtab, back, 2, pages},
    };
    for (size_t i = 0; i < presses.size(); ++i) {
        SCOPED_TRACE(i);
        Key(&Form, presses[i].Key, presses[i].Modifiers);
        EXPECT_EQ(pages->ActivePageIndex(), presses[i].Page);
        EXPECT_TRUE(KeysGoTo(presses[i].Focus));
    }
    EXPECT_EQ(changes, 9);

    // The focus marks: a dotted rectangle inside the active tab, one along
    // the track bar's edge; each gone when the focus leaves.
    pages->SetActivePageIndex(0);
    ClickAt(track, QPoint(4, 15));
    const QImage tabsOff = pages->grab().toImage(), trackOn = track->grab().toImage();
    ClickAt(pages, TabMiddle(pages));
    const QImage tabsOn = pages->grab().toImage(), trackOff = track->grab().toImage();
    int marked = 0, dots = 0;
    QRect where;
    for (int y = 0; y < tabsOn.height(); ++y)
        for (int x = 0; x < tabsOn.width(); ++x)
            if (tabsOn.pixel(x, y) != tabsOff.pixel(x, y))
                ++marked, where |= QRect(x, y, 1, 1);
    for (int x = 0; x < trackOn.width(); ++x)
        dots += trackOn.pixel(x, 0) != trackOff.pixel(x, 0);
    const TRect tab = pages->TabRect(0);
    EXPECT_GE(marked, 20);
    EXPECT_TRUE(
        QRect(tab.Left, tab.Top, tab.Right - tab.Left, tab.Bottom - tab.Top).contains(where));
    EXPECT_GE(dots, trackOn.width() / 3) << "no dotted edge on the focused track bar";
}

TEST_F(Focus, WhatAHandlerLetsEscapeIsReportedWithItsSenderAndTheWindowGoesOn)
{
    auto *edit = Place<TEdit>(10, 10, 120, 21);
    auto *combo = Place<TComboBox>(10, 40, 120, 21);
    auto *rich = Place<TRichEdit>(10, 70, 200, 60);
    auto *track = Place<TTrackBar>(10, 140, 150, 30);
    auto fail = [](TObject *) { throw Exception("no"); };
    edit->OnChange = combo->OnChange = rich->OnChange = fail;
    track->OnChange = [](TObject *) { throw 42; }; // of no exception class
    std::vector<TObject *> reported;
    std::vector<std::string> told;
    Application->OnException = [&](TObject *Sender, const std::exception &E) {
        reported.push_back(Sender);
        told.push_back(E.what());
    };
    Show();
    for (TWinControl *c : std::vector<TWinControl *>{edit, combo, rich, track}) {
        ClickAt(c, QPoint(4, 8));
        Key(&Form, Qt::Key_Right); // moves the track bar
        Type(&Form, "a");
    }
    Application->OnException = nullptr;
    EXPECT_EQ(reported, (std::vector<TObject *>{edit, combo, rich, track}));
    EXPECT_EQ(told, (std::vector<std::string>{"no", "no", "no", "Unknown exception"}));
    EXPECT_EQ(edit->Text(), "a");
}

TEST(FindDialog, TheAcceleratorIsNoCharacterOfTheLabel)
{
    TFindDialog find(nullptr);
    find.Execute();
    QWidget *window = find.Window();
    ASSERT_NE(window, nullptr);
    QLabel *label = nullptr;
    for (QLabel *l : window->findChildren<QLabel *>())
        if (l->text().contains("nd what"))
            label = l;
    ASSERT_NE(label, nullptr);
    // Drawn as "Find what:" with at most an underline: as wide as that text.
    QLabel plain(QStringLiteral("Find what:"));
    plain.setFont(label->font());
    EXPECT_EQ(label->sizeHint().width(), plain.sizeHint().width());
    EXPECT_EQ(label->buddy(), window->findChild<QLineEdit *>(QStringLiteral("FindText")));
    find.CloseDialog();
}
