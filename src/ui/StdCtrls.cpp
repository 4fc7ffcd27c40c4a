#include "StdCtrls.h"

#include "ExtCtrls.h"
#include "Forms.h"
#include "Text.h"

#include <QComboBox>
#include <QLineEdit>

namespace {

constexpr int CheckSize = 13;

QComboBox *NewEditableCombo()
{
    auto *combo = new QComboBox;
    combo->setEditable(true);
    return combo;
}

} // namespace

void DrawControlText(TCanvas *Canvas, const std::string &Text, TRect R, unsigned Flags,
                     bool Enabled)
{
    Canvas->Brush()->SetStyle(bsClear);
    if (Enabled) {
        Canvas->DrawText(Text, R, Flags);
        return;
    }
    const TColor color = Canvas->Font()->Color();
    OffsetRect(R, 1, 1);
    Canvas->Font()->SetColor(clBtnHighlight);
    Canvas->DrawText(Text, R, Flags);
    OffsetRect(R, -1, -1);
    Canvas->Font()->SetColor(clBtnShadow);
    Canvas->DrawText(Text, R, Flags);
    Canvas->Font()->SetColor(color);
}

// ---------------------------------------------------------------- TLabel

TLabel::TLabel(TComponent *AOwner) : TGraphicControl(AOwner)
{
    SetControlStyle(ControlStyle() | csOpaque | csReplicatable);
    SetBounds(0, 0, 65, 17);
}

void TLabel::SetAlignment(TAlignment Value)
{
    UpdateProperty(*this, FAlignment, Value);
}

void TLabel::SetAutoSize(bool Value)
{
    if (UpdateProperty(*this, FAutoSize, Value))
        AdjustBounds();
}

void TLabel::SetTransparent(bool Value)
{
    if (UpdateProperty(*this, FTransparent, Value))
        SetControlStyle(Value ? ControlStyle() & ~csOpaque : ControlStyle() | csOpaque);
}

void TLabel::SetWordWrap(bool Value)
{
    if (UpdateProperty(*this, FWordWrap, Value))
        AdjustBounds();
}

void TLabel::SetShowAccelChar(bool Value)
{
    if (UpdateProperty(*this, FShowAccelChar, Value))
        AdjustBounds();
}

void TLabel::CMTextChanged()
{
    Invalidate();
    AdjustBounds();
}

void TLabel::CMFontChanged()
{
    TGraphicControl::CMFontChanged();
    AdjustBounds();
}

void TLabel::Loaded()
{
    TGraphicControl::Loaded();
    AdjustBounds();
}

unsigned TLabel::TextFlags() const
{
    static const unsigned align[] = {DT_LEFT, DT_RIGHT, DT_CENTER};
    unsigned flags = DT_EXPANDTABS | align[FAlignment];
    if (FWordWrap)
        flags |= DT_WORDBREAK;
    if (!FShowAccelChar)
        flags |= DT_NOPREFIX;
    return flags;
}

void TLabel::AdjustBounds()
{
    if (IsLoading() || !FAutoSize)
        return;
    TCanvas *canvas = Canvas();
    canvas->Font()->Assign(Font());
    TRect r = Rect(0, 0, FWordWrap ? Width() : 0, 0);
    // An empty caption still keeps a line's height.
    const std::string text = Caption().empty() ? std::string(" ") : Caption();
    canvas->DrawText(text, r, TextFlags() | DT_CALCRECT);
    const int left = FAlignment == taRightJustify ? Left() + Width() - r.Width() : Left();
    SetBounds(left, Top(), r.Width(), r.Height());
}

void TLabel::Paint()
{
    TCanvas *canvas = Canvas();
    if (!FTransparent) {
        canvas->Brush()->SetColor(Color());
        canvas->FillRect(ClientRect());
    }
    canvas->Font()->Assign(Font());
    DrawControlText(canvas, Caption(), ClientRect(), TextFlags(), Enabled());
}

// ---------------------------------------------------------------- TCheckBox

TCheckBox::TCheckBox(TComponent *AOwner) : TWinControl(AOwner)
{
    // The box clicks by itself when its state changes, not on every release.
    SetControlStyle((ControlStyle() & ~(csClickEvents | csAcceptsControls)) | csSetCaption);
    SetTabStop(true);
    SetBounds(0, 0, 97, 17);
}

void TCheckBox::SetChecked(bool Value)
{
    if (FChecked == Value)
        return;
    FChecked = Value;
    Invalidate();
    if (!IsLoading())
        Click();
}

void TCheckBox::CMFocusChanged(TWinControl *Focused)
{
    TWinControl::CMFocusChanged(Focused);
    Invalidate();
}

void TCheckBox::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button == mbLeft)
        FPressed = true;
    TWinControl::MouseDown(Button, Shift, X, Y);
}

void TCheckBox::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    const bool toggle = Button == mbLeft && FPressed && ClientRect().Contains(X, Y);
    if (Button == mbLeft)
        FPressed = false;
    if (toggle)
        Toggle();
    TWinControl::MouseUp(Button, Shift, X, Y);
}

void TCheckBox::KeyUp(uint16_t &Key, TShiftState Shift)
{
    if (Key == VK_SPACE && Shift == 0)
        Toggle();
    TWinControl::KeyUp(Key, Shift);
}

void TCheckBox::Paint()
{
    TCanvas *canvas = Canvas();
    canvas->Brush()->SetColor(Color());
    canvas->FillRect(ClientRect());

    TRect box = Bounds(0, (Height() - CheckSize) / 2, CheckSize, CheckSize);
    Frame3D(canvas, box, clBtnShadow, clBtnHighlight, 1);
    Frame3D(canvas, box, cl3DDkShadow, cl3DLight, 1);
    canvas->Brush()->SetColor(Enabled() ? clWindow : clBtnFace);
    canvas->FillRect(box);
    if (FChecked) {
        // The classic tick: three pixels high, from the lower left up to the right.
        canvas->Pen()->SetColor(Enabled() ? clWindowText : clGrayText);
        canvas->Pen()->SetWidth(1);
        for (int dy = 0; dy < 3; ++dy) {
            canvas->MoveTo(box.Left + 1, box.Top + 3 + dy);
            canvas->LineTo(box.Left + 3, box.Top + 5 + dy);
            canvas->LineTo(box.Left + 8, box.Top + dy);
        }
    }

    canvas->Font()->Assign(Font());
    const unsigned flags = DT_LEFT | DT_SINGLELINE | DT_VCENTER;
    TRect text = Rect(CheckSize + 4, 0, Width(), Height());
    DrawControlText(canvas, Caption(), text, flags, Enabled());
    if (Focused() && !Caption().empty()) {
        TRect extent = text;
        canvas->DrawText(Caption(), extent, flags | DT_CALCRECT);
        const int top = (Height() - extent.Height()) / 2;
        TRect focus =
            Rect(text.Left - 1, top, text.Left + extent.Width() + 1, top + extent.Height());
        canvas->Brush()->SetStyle(bsSolid);
        canvas->DrawFocusRect(focus);
    }
}

// ---------------------------------------------------------------- TComboBox

TComboBox::TComboBox(TComponent *AOwner)
    : TWidgetControl(AOwner, NewEditableCombo()), FCombo(static_cast<QComboBox *>(Face()))
{
    SetTabStop(true);
    FCombo->setInsertPolicy(QComboBox::NoInsert);
    FCombo->setMaxVisibleItems(8);
    SetStyle(csDropDown);
    QObject::connect(FCombo, &QComboBox::activated, FCombo,
                     [this](int) { Guarded(this, [this] { Change(); }); });
    SetBounds(0, 0, 145, 21);
}

void TComboBox::SetStyle(TComboBoxStyle Value)
{
    FStyle = Value;
    FCombo->setEditable(Value == csDropDown);
    QLineEdit *edit = FCombo->lineEdit();
    if (edit && edit != FEditWatched) {
        // Typed text stays as typed: no completion from the list.
        FCombo->setCompleter(nullptr);
        QObject::connect(edit, &QLineEdit::textEdited, FCombo,
                         [this] { Guarded(this, [this] { Change(); }); });
        FEditWatched = edit;
    }
}

void TComboBox::DoEnter()
{
    if (QLineEdit *edit = FCombo->lineEdit(); edit && !FocusingByPress())
        edit->selectAll();
    TWidgetControl::DoEnter();
}

std::string TComboBox::Text() const
{
    // What the program set comes back as it was spelled; an item chosen
    // from the list, as the list was given it.
    const QString text = FCombo->currentText();
    if (text == FSetText.Shown())
        return FSetText.Read(text);
    const int item = FCombo->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    return item >= 0 ? Item(item) : ToAnsi(text);
}

void TComboBox::SetText(const std::string &Value)
{
    const QString text = FSetText.Set(Value);
    if (FCombo->isEditable())
        FCombo->setEditText(text);
    else
        FCombo->setCurrentIndex(FCombo->findText(text, Qt::MatchFixedString));
}

int TComboBox::ItemIndex() const
{
    const int index = FCombo->currentIndex();
    if (index >= 0 && FCombo->isEditable() && FCombo->itemText(index) != FCombo->currentText())
        return -1;
    return index;
}

void TComboBox::SetItemIndex(int Value)
{
    FCombo->setCurrentIndex(Value >= 0 && Value < FCombo->count() ? Value : -1);
}

int TComboBox::DropDownCount() const
{
    return FCombo->maxVisibleItems();
}

void TComboBox::SetDropDownCount(int Value)
{
    FCombo->setMaxVisibleItems(std::max(1, Value));
}

int TComboBox::ItemCount() const
{
    return FCombo->count();
}

std::string TComboBox::Item(int Index) const
{
    const QVariant spelled = FCombo->itemData(Index);
    return spelled.isValid() ? spelled.toByteArray().toStdString()
                             : ToAnsi(FCombo->itemText(Index));
}

void TComboBox::AddItem(const std::string &Value)
{
    const QString text = FCombo->currentText();
    const bool empty = FCombo->count() == 0;
    FCombo->addItem(FromAnsi(Value), QByteArray::fromStdString(Value));
    // Qt selects the first item of an empty list; the edit field keeps its text.
    if (empty && FCombo->isEditable()) {
        FCombo->setCurrentIndex(-1);
        FCombo->setEditText(text);
    }
}

void TComboBox::ClearItems()
{
    const QString text = FCombo->currentText();
    FCombo->clear();
    if (FCombo->isEditable())
        FCombo->setEditText(text);
}

void TComboBox::Change()
{
    if (OnChange)
        OnChange(this);
}

// ---------------------------------------------------------------- TGroupBox

TGroupBox::TGroupBox(TComponent *AOwner) : TCustomControl(AOwner)
{
    SetControlStyle(ControlStyle() | csAcceptsControls | csSetCaption);
    SetBounds(0, 0, 185, 105);
}

void TGroupBox::Paint()
{
    TCanvas *canvas = Canvas();
    canvas->Font()->Assign(Font());
    canvas->Brush()->SetColor(Color());
    canvas->FillRect(ClientRect());
    const int h = canvas->TextHeight("0");
    // An etched frame: highlight under shadow, one pixel apart.
    TRect frame = Rect(1, h / 2, Width(), Height());
    canvas->Brush()->SetColor(clBtnHighlight);
    canvas->FrameRect(frame);
    OffsetRect(frame, -1, -1);
    canvas->Brush()->SetColor(clBtnShadow);
    canvas->FrameRect(frame);
    if (Caption().empty())
        return;
    TRect text = Rect(8, 0, 0, 0);
    canvas->DrawText(Caption(), text, DT_SINGLELINE | DT_CALCRECT);
    canvas->Brush()->SetColor(Color());
    canvas->FillRect(text);
    DrawControlText(canvas, Caption(), text, DT_SINGLELINE, Enabled());
}
