// The console's window as laid out, in the faces its resource names: every
// text fits the control that shows it, and the header is the window's
// handle. Needs no logger: the window is built, shown and measured.

#include "Buttons.h"
#include "ComCtrls.h"
#include "RealInput.h"
#include "DSCheckBox.h"
#include "DSGradient.h"
#include "Dialogs.h"
#include "EditCtrls.h"
#include "Forms.h"
#include "Graphics.h"
#include "MainForm.h"
#include "QuietDialogs.h"
#include "StdCtrls.h"
#include "dxButton.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QFontDatabase>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTemporaryDir>

#include <functional>
#include <memory>
#include <sstream>

using namespace logbridge;

namespace {

// One text in one control: how wide it is drawn, and the room it has.
struct TFit {
    std::string Where;
    std::string Text;
    int Needed = 0;
    int Room = 0;
};

class ConsoleLayout : public ::testing::Test {
protected:
    void SetUp() override
    {
        FontFamilyFor("MS Sans Serif"); // loads the faces kept outside fontconfig's path
        for (const char *family :
             {"MS Sans Serif", "Tahoma", "Liberation Sans", "Liberation Mono", "DejaVu Sans"})
            if (!QFontDatabase::families().contains(family))
                GTEST_SKIP() << family << " is not installed (scripts/deps installs it)";
        ASSERT_TRUE(Dir.isValid());
        Form = std::make_unique<TForm1>(nullptr);
        Form->SettingsFolder = Dir.path().toStdString();
        Form->ShowForm();
        QApplication::processEvents();
    }
    void TearDown() override { Form.reset(); }

    static int Width(TFont *Font, const std::string &Text)
    {
        TBitmap b;
        b.SetSize(1, 1);
        b.Canvas()->Font()->Assign(Font);
        return b.Canvas()->TextWidth(Text);
    }

    // The texts of Page's controls against their room. A label sizes
    // itself to its text, so its room is what its parent leaves it: up to
    // the next control to its right on its lines, or the page's edge.
    std::vector<TFit> Fits(TWinControl *Page)
    {
        std::vector<TFit> fits;
        const std::vector<TControl *> controls = Page->Controls();
        for (TControl *c : controls) {
            if (!c->Visible())
                continue;
            const std::string where = Page->Name() + "." + c->Name();
            if (auto b = dynamic_cast<TdxButton *>(c)) {
                // Broken as the button breaks it beside its glyph, glyph,
                // spacing and text centred as one inside the focus frame.
                const int glyph = b->Glyph()->Empty() ? 0 : b->Glyph()->Width() + b->Spacing();
                TBitmap canvas;
                canvas.SetSize(1, 1);
                canvas.Canvas()->Font()->Assign(b->Font());
                TRect r = b->ClientRect();
                r.Left += glyph;
                canvas.Canvas()->DrawText(b->Caption(), r, DT_CALCRECT | DT_WORDBREAK);
                // Inside the border, clear of it by a pixel.
                fits.push_back({where, b->Caption(), glyph + r.Width(), b->Width() - 4});
                fits.push_back({where + " (height)", b->Caption(), r.Height(), b->Height() - 4});
                if (glyph)
                    fits.push_back(
                        {where + " (glyph)", b->Caption(), b->Glyph()->Height(), b->Height() - 4});
            } else if (auto s = dynamic_cast<TSpeedButton *>(c)) {
                fits.push_back(
                    {where, s->Caption(), Width(s->Font(), s->Caption()), s->Width() - 4});
            } else if (auto x = dynamic_cast<TCheckBox *>(c)) {
                fits.push_back(
                    {where, x->Caption(), 13 + 4 + Width(x->Font(), x->Caption()), x->Width()});
            } else if (dynamic_cast<TLabel *>(c) || dynamic_cast<TDSCheckBox *>(c)) {
                auto label = dynamic_cast<TLabel *>(c);
                const std::string text =
                    label ? c->Caption() : static_cast<TDSCheckBox *>(c)->Caption();
                // The text as drawn; a label of a fixed size breaks it in its box.
                int needW = c->Width(), needH = c->Height();
                bool fixed = false;
                if (label && !label->AutoSize()) {
                    fixed = true;
                    TBitmap canvas;
                    canvas.SetSize(1, 1);
                    canvas.Canvas()->Font()->Assign(label->Font());
                    TRect r = Rect(0, 0, label->Width(), 0);
                    canvas.Canvas()->DrawText(
                        text, r, DT_CALCRECT | (label->WordWrap() ? unsigned(DT_WORDBREAK) : 0u));
                    needW = r.Width();
                    needH = r.Height();
                }
                // The room: up to the next control to its right on its lines,
                // or the page's edge, and down to what lies below it.
                int right = Page->ClientWidth(), bottom = Page->ClientHeight();
                for (TControl *other : controls) {
                    if (other == c || !other->Visible())
                        continue;
                    if (other->Left() >= c->Left() + 1 && other->Top() < c->Top() + c->Height() &&
                        other->Top() + other->Height() > c->Top())
                        right = std::min(right, other->Left());
                    if (other->Top() >= c->Top() + 1 && other->Left() < c->Left() + c->Width() &&
                        other->Left() + other->Width() > c->Left())
                        bottom = std::min(bottom, other->Top());
                }
                if (fixed) {
                    right = std::min(right, c->Left() + c->Width());
                    bottom = std::min(bottom, c->Top() + c->Height());
                }
                fits.push_back({where, text, needW, right - c->Left()});
                fits.push_back({where + " (height)", text, needH, bottom - c->Top()});
            } else if (auto e = dynamic_cast<TEdit *>(c)) {
                const QFontMetrics m(e->Line()->font());
                fits.push_back({where, e->Text(), m.horizontalAdvance(e->Line()->text()),
                                e->Line()->width() - 8});
            } else if (auto box = dynamic_cast<TComboBox *>(c)) {
                QComboBox *q = box->Combo();
                const QFontMetrics m(q->font());
                fits.push_back(
                    {where, box->Text(), m.horizontalAdvance(q->currentText()),
                     q->width() - 8 - q->style()->pixelMetric(QStyle::PM_ScrollBarExtent)});
            }
        }
        return fits;
    }

    std::string Overflows(const std::vector<TFit> &Fits, int *Narrowest = nullptr)
    {
        std::ostringstream out;
        for (const TFit &f : Fits) {
            if (Narrowest)
                *Narrowest = std::min(*Narrowest, f.Room - f.Needed);
            if (f.Needed > f.Room)
                out << "  " << f.Where << " \"" << f.Text << "\": " << f.Needed << " > " << f.Room
                    << "\n";
        }
        return out.str();
    }

    TQuietDialogs Quiet;
    QTemporaryDir Dir;
    std::unique_ptr<TForm1> Form;
};

TEST_F(ConsoleLayout, EveryTextFitsItsControlOnEveryPage)
{
    TForm1 &f = *Form;
    // What the handlers write, at its longest, beside what the resource holds.
    const std::vector<std::pair<std::function<void()>, std::string>> states = {
        {[] {}, "as the resource has it"},
        {[&] {
             f.Label1->SetCaption("Konekcija neuspesna");
             f.Label33->SetCaption("Last Event: Communication lost @28.12.2026 23:59:59");
             f.Label30->SetCaption("Pronadjen na:/dev/ttyS0");
             f.Label4->SetCaption("30 min");
             f.Label10->SetCaption("Preuzimanje prekinuto");
             f.Label13->SetCaption("Preuzeto: 65535 By | 63 kB");
             f.Label15->SetCaption("Ukupno: 65535By");
             f.Label26->SetCaption("  Selection Start: 123456  Selection End: 123479");
             f.Label16->SetCaption("Uzorkovanje nije u toku");
             f.Label21->SetCaption("Uredjaj prisutan");
             f.Label17->SetCaption("Poslati datum i vreme: 28-12-2026 23:59:59");
         },
         "as the handlers write"},
        {[&] { f.Label26->SetCaption("08.12.2007.  [14:05:30]"); }, "with a stamp in Info"},
    };
    int narrowest = 1 << 30;
    for (const auto &[apply, state] : states) {
        apply();
        for (TTabSheet *page : {f.TabSheet1, f.TabSheet2, f.TabSheet3, f.TabSheet4}) {
            f.PageControl1->SetActivePage(page);
            QApplication::processEvents();
            const std::string over = Overflows(Fits(page), &narrowest);
            EXPECT_TRUE(over.empty()) << state << ", page " << page->Caption() << ":\n" << over;
        }
    }
    // The tabs and the status bar's fixed panels.
    std::vector<TFit> more;
    const TRect last = f.PageControl1->TabRect(3);
    more.push_back({"PageControl1 tabs", "", last.Right, f.PageControl1->Width()});
    f.StatusBar1->SetPanelText(1, "Time: 28.12.2026 [23:59:59]");
    more.push_back({"StatusBar1 panel 0", f.StatusBar1->Panel(0).Text,
                    Width(f.StatusBar1->Font(), f.StatusBar1->Panel(0).Text) + 4,
                    f.StatusBar1->Panel(0).Width - 2});
    more.push_back({"StatusBar1 panel 1", f.StatusBar1->Panel(1).Text,
                    Width(f.StatusBar1->Font(), f.StatusBar1->Panel(1).Text) + 4,
                    f.StatusBar1->Panel(1).Width - 2});
    const std::string over = Overflows(more, &narrowest);
    EXPECT_TRUE(over.empty()) << over;
    RecordProperty("NarrowestMargin", narrowest);
    std::cout << "narrowest margin: " << narrowest << " px\n";
}

TEST_F(ConsoleLayout, TheHeaderIsTheWindowsHandle)
{
    TDSGradient *header = Form->DSGradient1;
    EXPECT_EQ(header->Width(), 577);
    EXPECT_EQ(header->Height(), 161);
    std::vector<TWinControl *> moves;
    const TWindowMoveStarter previous =
        SetWindowMoveStarter([&](TWinControl *Window) { moves.push_back(Window); });
    const QPointF at(300, 30);
    auto send = [&](QEvent::Type Type, Qt::MouseButton Button, Qt::MouseButtons Buttons) {
        SendMouse(header, Type, at, Button, Buttons);
    };
    send(QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(moves, std::vector<TWinControl *>{Form.get()}) << "one press, one move";
    send(QEvent::MouseButtonPress, Qt::RightButton, Qt::RightButton);
    send(QEvent::MouseButtonRelease, Qt::RightButton, Qt::NoButton);
    EXPECT_EQ(moves.size(), 1u) << "a right press moves nothing";
    SetWindowMoveStarter(previous);
}

} // namespace
