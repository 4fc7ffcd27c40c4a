// The console's window under a user's clicks and keys, handed to the
// window as the window system does: what a tab turns to, where a click puts
// the keyboard, and how a button that a download disables looks.
#include "ConsoleFormFixture.h"
#include "WindowInput.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>

#include <functional>
#include <set>

using namespace consoletest;
using namespace windowinput;

namespace {

class ConsoleInput : public ConsoleForm {
protected:
    void ShowActive(TForm1 &F)
    {
        F.ShowForm();
        QApplication::setActiveWindow(&F);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&F));
    }
    // A click on the tab of Page, as a user turns to it.
    void TurnTo(TForm1 &F, TTabSheet *Page)
    {
        const TRect tab = F.PageControl1->TabRect(Page->PageIndex());
        ClickAt(F.PageControl1, QPoint((tab.Left + tab.Right) / 2, (tab.Top + tab.Bottom) / 2));
        ASSERT_EQ(F.PageControl1->ActivePage(), Page);
    }
};

QImage ScreenOf(QWidget *W)
{
    return W->window()->grab().toImage();
}

} // namespace

TEST_F(ConsoleInput, EachTabShowsItsOwnControlsWithinItsPageAndNoOthers)
{
    orvasim::TSimulator sim(SimOptions());
    TForm1 &f = Linked(sim);
    f.Timer1Timer(f.Timer1);
    ShowActive(f);
    // Shown only while the link is checked or a download runs, or once the clock is set.
    const std::set<TControl *> waiting = {f.Gauge1, f.ProgressBar1, f.Label20};
    const std::vector<TTabSheet *> pages = {f.TabSheet1, f.TabSheet2, f.TabSheet3, f.TabSheet4};
    const QRect belowTabs(0, TPageControl::TabHeight, f.PageControl1->width(),
                          f.PageControl1->height() - TPageControl::TabHeight);
    ASSERT_TRUE(f.rect().contains(f.PageControl1->geometry()));
    for (TTabSheet *page : pages) {
        SCOPED_TRACE(page->Caption());
        TurnTo(f, page);
        EXPECT_TRUE(belowTabs.contains(page->geometry()));
        const QRect client(0, 0, page->ClientWidth(), page->ClientHeight());
        int shown = 0;
        for (TTabSheet *owner : pages)
            for (TControl *c : owner->Controls()) {
                const bool own = owner == page && !waiting.count(c);
                EXPECT_EQ(c->isVisible(), own) << c->Name();
                if (own) {
                    ++shown;
                    EXPECT_FALSE(c->geometry().isEmpty()) << c->Name();
                    EXPECT_TRUE(client.contains(c->geometry())) << c->Name();
                }
            }
        EXPECT_GT(shown, 0);
    }
}

TEST_F(ConsoleInput, AClickPutsTheKeyboardIntoEveryFieldOfEveryPage)
{
    TForm1 &f = MakeForm();
    ShowActive(f);

    struct TField {
        TTabSheet *Page;
        TWinControl *Control;
        std::function<std::string()> Text; // what typing shows; null: not typed
        bool TakesText;
    };
    const std::vector<TField> fields = {
        {f.TabSheet1, f.ComboBox1, [&] { return f.ComboBox1->Text(); }, true},
        {f.TabSheet1, f.TrackBar1, nullptr, false},
        {f.TabSheet1, f.CheckBox4, nullptr, false},
        {f.TabSheet2, f.RichEdit1, nullptr, false},
        {f.TabSheet2, f.Edit3, [&] { return f.Edit3->Text(); }, true},
        {f.TabSheet3, f.Edit1, [&] { return f.Edit1->Text(); }, false},
        {f.TabSheet3, f.Edit2, [&] { return f.Edit2->Text(); }, true},
        {f.TabSheet3, f.ComboBox2, [&] { return f.ComboBox2->Text(); }, true},
    };
    for (const TField &field : fields) {
        SCOPED_TRACE(field.Control->Name());
        TurnTo(f, field.Page);
        EXPECT_EQ(f.ActiveControl(), f.PageControl1) << "a click on a tab focuses the tabs";
        ClickAt(field.Control, QPoint(8, field.Control->Height() / 2));
        ASSERT_EQ(f.ActiveControl(), field.Control);
        QWidget *focus = QApplication::focusWidget();
        EXPECT_TRUE(focus && (focus == field.Control || field.Control->isAncestorOf(focus)));
        if (!field.Text)
            continue;
        const std::string before = field.Text();
        Key(&f, Qt::Key_End);
        Type(&f, "07");
        EXPECT_EQ(field.Text(), field.TakesText ? before + "07" : before);
    }
}

TEST_F(ConsoleInput, TabWalksThePageAndF3StillReachesTheWindow)
{
    TForm1 &f = MakeForm();
    ShowActive(f);
    // The keys are on the tabs from the start: the arrows turn the pages.
    ASSERT_EQ(f.ActiveControl(), f.PageControl1);
    std::vector<TTabSheet *> shown;
    for (Qt::Key k : {Qt::Key_Right, Qt::Key_Left, Qt::Key_Right}) {
        Key(&f, k);
        shown.push_back(f.PageControl1->ActivePage());
    }
    EXPECT_EQ(shown, (std::vector<TTabSheet *>{f.TabSheet2, f.TabSheet1, f.TabSheet2}));
    TurnTo(f, f.TabSheet2);
    ClickAt(f.RichEdit1, QPoint(60, 20));
    ASSERT_EQ(f.ActiveControl(), f.RichEdit1);
    std::vector<TWinControl *> walked;
    for (int i = 0; i < 4; ++i) {
        Key(&f, Qt::Key_Tab);
        walked.push_back(f.ActiveControl());
    }
    // The device's buttons are off without a device; the tabs come round.
    EXPECT_EQ(walked,
              (std::vector<TWinControl *>{f.Edit3, f.dxButton11, f.PageControl1, f.dxButton5}));
    Key(&f, Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(f.ActiveControl(), f.PageControl1);

    // F3 typed in a field reaches the window's key handler first: with no
    // device the download is refused, and the field keeps its text.
    ClickAt(f.Edit3, QPoint(8, 10));
    Type(&f, "x");
    Key(&f, Qt::Key_F3);
    EXPECT_EQ(f.Edit3->Text(), "x");
    EXPECT_FALSE(f.DownloadActive);

    // Tab from the report selects the stamp, Alt+letters type nothing, and
    // Ctrl+Tab turns the pages from inside one and back.
    f.Edit3->SetText("08.12.2007 [14");
    ClickAt(f.RichEdit1, QPoint(60, 20));
    Key(&f, Qt::Key_Tab);
    ASSERT_EQ(f.ActiveControl(), f.Edit3);
    EXPECT_EQ(f.Edit3->Line()->selectedText(), "08.12.2007 [14");
    Key(&f, Qt::Key_X, Qt::AltModifier);
    Key(&f, Qt::Key_K, Qt::AltModifier);
    EXPECT_EQ(f.Edit3->Text(), "08.12.2007 [14");
    shown.clear();
    const Qt::KeyboardModifiers ctrl = Qt::ControlModifier, back = ctrl | Qt::ShiftModifier;
    for (auto [k, m] : {std::pair{Qt::Key_Tab, ctrl},
                        {Qt::Key_Tab, ctrl},
                        {Qt::Key_Backtab, back},
                        {Qt::Key_Backtab, back}}) {
        Key(&f, k, m);
        shown.push_back(f.PageControl1->ActivePage());
        EXPECT_NE(f.ActiveControl(), nullptr);
    }
    EXPECT_EQ(shown,
              (std::vector<TTabSheet *>{f.TabSheet3, f.TabSheet4, f.TabSheet3, f.TabSheet2}));
}

TEST_F(ConsoleInput, TheDownloadButtonShowsNoFocusWhileADownloadDisablesIt)
{
    orvasim::TSimOptions o = SimOptions();
    o.Device.Records = 400;
    o.Realtime = true; // 4,800 bytes: 2.5 s on the line
    orvasim::TSimulator sim(o);
    TForm1 &f = Linked(sim);
    ShowActive(f);
    TurnTo(f, f.TabSheet2);
    ASSERT_TRUE(f.dxButton3->Enabled());

    Click(f.dxButton3);
    ASSERT_TRUE(f.DownloadActive);
    // The pointer goes elsewhere, as a user's does while the bar fills.
    MoveTo(f.Label15, QPoint(2, 2));
    QTest::qWait(100);
    ASSERT_TRUE(f.DownloadActive) << "the download ended before it could be looked at";
    EXPECT_FALSE(f.dxButton3->Enabled());
    EXPECT_NE(f.ActiveControl(), f.dxButton3);

    // Its face is that of "OBRISI", disabled beside it and never focused,
    // in the ring and where the dotted rectangle would run: both buttons
    // have the same colours and height.
    const QImage screen = ScreenOf(&f);
    const QPoint download = f.dxButton3->mapTo(&f, QPoint(0, 0));
    const QPoint erase = f.dxButton4->mapTo(&f, QPoint(0, 0));
    int differing = 0;
    for (int y = 5; y < f.dxButton3->Height() - 5; ++y)
        for (int x = 1; x <= 4; ++x)
            differing +=
                screen.pixel(download + QPoint(x, y)) != screen.pixel(erase + QPoint(x, y));
    EXPECT_EQ(differing, 0) << "ring or focus rectangle on the disabled button";
    ASSERT_TRUE(ServeUntil([&] { return !f.DownloadActive; }, std::chrono::seconds(10)));
}
