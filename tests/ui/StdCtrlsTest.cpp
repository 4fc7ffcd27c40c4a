#include "Dialogs.h"
#include "ExtCtrls.h"
#include "Forms.h"
#include "Gauges.h"
#include "Pixels.h"
#include "StdCtrls.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

void Type(QWidget *Target, Qt::Key Key, const QString &Text,
          Qt::KeyboardModifiers Modifiers = Qt::NoModifier)
{
    QKeyEvent press(QEvent::KeyPress, Key, Modifiers, Text);
    QApplication::sendEvent(Target, &press);
    QKeyEvent release(QEvent::KeyRelease, Key, Modifiers, Text);
    QApplication::sendEvent(Target, &release);
}

std::unique_ptr<TBitmap> Picture(TControl &Control)
{
    auto b = WhiteBitmap(Control.Width(), Control.Height());
    Control.PaintTo(b->Canvas(), 0, 0);
    return b;
}

} // namespace

TEST(Label, SizesToItsTextAndKeepsTheRightEdgeWhenRightJustified)
{
    TForm form(nullptr);
    auto *label = new TLabel(&form);
    label->SetParent(&form);
    label->SetBounds(100, 10, 65, 17);
    label->SetCaption("Ukupno tacaka: 12");
    const int wide = label->Width();
    EXPECT_GT(wide, 60);
    EXPECT_EQ(label->Height(), label->Canvas()->TextHeight("0"));
    label->SetCaption("");
    EXPECT_GT(label->Width(), 0); // an empty caption keeps a blank's width
    EXPECT_EQ(label->Height(), label->Canvas()->TextHeight("0"));

    label->SetAlignment(taRightJustify);
    label->SetCaption("12");
    const int right = label->Left() + label->Width();
    label->SetCaption("Ukupno tacaka: 12");
    EXPECT_EQ(label->Left() + label->Width(), right);
    EXPECT_EQ(label->Width(), wide);

    // No size changes while loading; the size follows at the end.
    label->BeginLoading();
    label->SetCaption("x");
    EXPECT_EQ(label->Width(), wide);
    label->EndLoading();
    EXPECT_LT(label->Width(), wide);
}

TEST(Label, DrawsItsTextOnItsColourOrOverItsParent)
{
    TForm form(nullptr);
    form.SetBounds(0, 0, 80, 20);
    form.SetColor(clBlue);
    auto *label = new TLabel(&form);
    label->SetParent(&form);
    label->SetCaption("Start");
    label->Font()->SetColor(clYellow);
    auto b = Picture(form);
    int yellow = 0;
    for (int y = 0; y < label->Height(); ++y)
        for (int x = 0; x < label->Width(); ++x)
            yellow += b->Canvas()->Pixels(x, y) == clYellow;
    EXPECT_GT(yellow, 5);
    EXPECT_EQ(b->Canvas()->Pixels(label->Width() - 1, label->Height() - 1), clBlue);

    label->SetEnabled(false);
    b = Picture(form);
    int engraved = 0;
    for (int y = 0; y < label->Height(); ++y)
        for (int x = 0; x < label->Width(); ++x)
            engraved += b->Canvas()->Pixels(x, y) == ColorToRGB(clBtnShadow);
    EXPECT_GT(engraved, 5);
}

TEST(CheckBox, ClicksWhenTheStateChangesByProgramMouseOrSpace)
{
    TForm form(nullptr);
    form.SetBounds(0, 0, 120, 40);
    auto *box = new TCheckBox(&form);
    box->SetParent(&form);
    box->SetCaption("3D prikaz");
    form.ShowForm();
    std::vector<bool> clicks;
    box->OnClick = [&](TObject *) { clicks.push_back(box->Checked()); };

    box->SetChecked(true);
    box->SetChecked(true); // unchanged: no click
    EXPECT_EQ(clicks, std::vector<bool>({true}));

    box->HandleMouseDown(mbLeft, 0, 5, 5);
    box->HandleMouseUp(mbLeft, 0, 5, 5);
    EXPECT_EQ(clicks, std::vector<bool>({true, false}));
    EXPECT_TRUE(box->Focused());

    box->HandleMouseDown(mbLeft, 0, 5, 5);
    box->HandleMouseUp(mbLeft, 0, 500, 5); // released outside: nothing
    EXPECT_FALSE(box->Checked());

    box->HandleKeyDown(VK_SPACE, 0);
    box->HandleKeyUp(VK_SPACE, 0);
    EXPECT_EQ(clicks, std::vector<bool>({true, false, true}));

    // The box shows its state: a tick inside the white square.
    auto b = Picture(*box);
    const TRect inside = Rect(2, 4, 11, 13);
    const int ticked = CountInk(*b, inside);
    EXPECT_GT(ticked, 10);
    box->SetChecked(false);
    b = Picture(*box);
    EXPECT_EQ(CountInk(*b, inside), 0);
}

TEST(ComboBox, ChangesComeFromTheUserOnly)
{
    TForm form(nullptr);
    form.SetBounds(0, 0, 200, 60);
    auto *combo = new TComboBox(&form);
    combo->SetParent(&form);
    combo->SetText("Prikazi sve zapise");
    std::vector<std::string> changes;
    combo->OnChange = [&](TObject *) { changes.push_back(combo->Text()); };

    combo->AddItem("001");
    combo->AddItem("002");
    EXPECT_EQ(combo->Text(), "Prikazi sve zapise");
    EXPECT_EQ(combo->ItemIndex(), -1);
    combo->ClearItems();
    EXPECT_EQ(combo->ItemCount(), 0);
    EXPECT_EQ(combo->Text(), "Prikazi sve zapise");
    EXPECT_TRUE(changes.empty());

    combo->AddItem("001");
    combo->AddItem("002");
    combo->SetText("");
    Type(combo->Combo(), Qt::Key_0, "0");
    Type(combo->Combo(), Qt::Key_0, "0");
    Type(combo->Combo(), Qt::Key_2, "2");
    EXPECT_EQ(changes, std::vector<std::string>({"0", "00", "002"}));

    changes.clear();
    emit combo->Combo()->activated(0);
    combo->Combo()->setCurrentIndex(0);
    EXPECT_EQ(combo->Text(), "001");
    EXPECT_EQ(changes.size(), 1u);
}

TEST(WidgetControl, KeysReachTheFormsPreviewAndFocusFollows)
{
    TForm form(nullptr);
    form.SetBounds(0, 0, 300, 100);
    form.KeyPreview = true;
    std::vector<uint16_t> seen;
    form.OnKeyDown = [&](TObject *, uint16_t &Key, TShiftState) {
        seen.push_back(Key);
        if (Key == VK_MULTIPLY)
            Key = 0; // taken by the form: the field never sees it
    };
    auto *combo = new TComboBox(&form);
    combo->SetParent(&form);
    auto *other = new TCheckBox(&form);
    other->SetParent(&form);
    other->SetTop(40);
    form.ShowForm();

    Type(combo->Combo(), Qt::Key_Plus, "+", Qt::KeypadModifier);
    Type(combo->Combo(), Qt::Key_Minus, "-", Qt::KeypadModifier);
    Type(combo->Combo(), Qt::Key_Asterisk, "*", Qt::KeypadModifier);
    Type(combo->Combo(), Qt::Key_A, "a");
    EXPECT_EQ(seen, std::vector<uint16_t>({VK_ADD, VK_SUBTRACT, VK_MULTIPLY, 'A'}));
    EXPECT_EQ(combo->Text(), "+-a");

    other->SetFocus();
    EXPECT_TRUE(other->Focused());
    QFocusEvent in(QEvent::FocusIn);
    QApplication::sendEvent(combo->Combo(), &in);
    EXPECT_TRUE(combo->Focused());
}

TEST(Gauge, ProgressStaysInRangeAndTheRangeRefusesToTurn)
{
    TGauge gauge(nullptr);
    gauge.SetProgress(150);
    EXPECT_EQ(gauge.Progress(), 100);
    gauge.SetMaxValue(7);
    EXPECT_EQ(gauge.Progress(), 7);
    gauge.SetProgress(3);
    EXPECT_EQ(gauge.PercentDone(), 42);
    gauge.SetMaxValue(0);
    EXPECT_EQ(gauge.PercentDone(), 0); // an empty range
    EXPECT_THROW(gauge.SetMinValue(1), EInvalidOperation);
    gauge.SetMinValue(-10);
    EXPECT_THROW(gauge.SetMaxValue(-11), EInvalidOperation);
    gauge.SetProgress(-20);
    EXPECT_EQ(gauge.Progress(), -10);

    gauge.BeginLoading(); // a resource may set the maximum first
    gauge.SetMinValue(5);
    gauge.EndLoading();
    EXPECT_EQ(gauge.MinValue(), 5);
}

TEST(Gauge, FillsItsShareInTheForeColourWithAReadablePercentage)
{
    TGauge gauge(nullptr);
    gauge.SetBounds(0, 0, 102, 20);
    gauge.SetForeColor(clNavy);
    gauge.SetMaxValue(200);
    gauge.SetProgress(50);
    auto b = Picture(gauge);
    EXPECT_EQ(b->Canvas()->Pixels(0, 0), clBlack); // the single border
    EXPECT_EQ(b->Canvas()->Pixels(1, 1), clNavy);
    EXPECT_EQ(b->Canvas()->Pixels(25, 1), clNavy);
    EXPECT_EQ(b->Canvas()->Pixels(26, 1), clWhite);
    // "25%" in the middle: navy ink on the white part only.
    EXPECT_GT(CountInk(*b, Rect(30, 2, 100, 18)), 10);

    gauge.SetProgress(200);
    gauge.SetShowText(false);
    b = Picture(gauge);
    EXPECT_EQ(CountInk(*b, Rect(1, 1, 101, 19), clNavy), 0);

    gauge.SetKind(gkVerticalBar);
    gauge.SetProgress(100);
    b = Picture(gauge);
    EXPECT_EQ(b->Canvas()->Pixels(50, 2), clWhite);
    EXPECT_EQ(b->Canvas()->Pixels(50, 17), clNavy);
}

TEST(Panels, GroupBoxAndPanelFrameTheirArea)
{
    TForm form(nullptr);
    form.SetBounds(0, 0, 200, 100);
    auto *panel = new TPanel(&form);
    panel->SetParent(&form);
    panel->SetBounds(0, 0, 200, 100);
    panel->SetCaption("");
    auto *group = new TGroupBox(&form);
    group->SetParent(panel);
    group->SetBounds(10, 10, 120, 80);
    group->SetCaption("  Info panel  ");
    auto b = Picture(form);
    const TColor light = ColorToRGB(clBtnHighlight), dark = ColorToRGB(clBtnShadow);
    EXPECT_EQ(b->Canvas()->Pixels(0, 50), light); // raised panel
    EXPECT_EQ(b->Canvas()->Pixels(199, 50), dark);
    EXPECT_EQ(b->Canvas()->Pixels(10, 60), dark); // etched group frame
    EXPECT_EQ(b->Canvas()->Pixels(11, 60), light);
    // The caption interrupts the top edge of the frame.
    const int edge = 10 + group->Canvas()->TextHeight("0") / 2 - 1;
    EXPECT_EQ(b->Canvas()->Pixels(100, edge), dark);
    EXPECT_NE(b->Canvas()->Pixels(20, edge), dark);
}

TEST(Image, ShowsItsPictureAndItsParentAroundIt)
{
    TForm form(nullptr);
    form.SetBounds(0, 0, 40, 40);
    form.SetColor(clGreen);
    auto *image = new TImage(&form);
    image->SetParent(&form);
    image->SetBounds(0, 0, 40, 40);
    image->Picture()->SetSize(10, 10);
    image->Picture()->Canvas()->Brush()->SetColor(clRed);
    image->Picture()->Canvas()->FillRect(Rect(0, 0, 10, 10));
    image->SetCenter(true);
    auto b = Picture(form);
    EXPECT_EQ(b->Canvas()->Pixels(20, 20), clRed);
    EXPECT_EQ(b->Canvas()->Pixels(2, 2), clGreen);
    image->SetStretch(true);
    b = Picture(form);
    EXPECT_EQ(b->Canvas()->Pixels(2, 2), clRed);
}
