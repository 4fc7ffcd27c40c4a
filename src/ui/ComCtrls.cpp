#include "ComCtrls.h"

#include "ExtCtrls.h"
#include "Forms.h"
#include "StdCtrls.h"

#include <QPainter>
#include <QSlider>

#include <algorithm>

// ---------------------------------------------------------------- TTabSheet

TTabSheet::TTabSheet(TComponent *AOwner) : TWinControl(AOwner)
{
    SetControlStyle(ControlStyle() | csAcceptsControls);
    SetVisible(false);
}

void TTabSheet::SetPageControl(TPageControl *Value)
{
    if (FPageControl == Value)
        return;
    if (FPageControl)
        FPageControl->RemovePage(this);
    if (Value)
        Value->InsertPage(this);
}

void TTabSheet::ShowSheet(bool Value)
{
    SetVisible(Value);
    // Said to Qt as well: a sheet placed on a window not yet shown would
    // otherwise show with the window whatever its state.
    QWidget::setVisible(Value);
}

int TTabSheet::PageIndex() const
{
    if (!FPageControl)
        return -1;
    const auto &pages = FPageControl->FPages;
    return int(std::find(pages.begin(), pages.end(), this) - pages.begin());
}

void TTabSheet::CMTextChanged()
{
    TWinControl::CMTextChanged();
    if (FPageControl)
        FPageControl->Invalidate();
}

void TTabSheet::Paint()
{
    Canvas()->Brush()->SetColor(Color());
    Canvas()->FillRect(ClientRect());
}

// ---------------------------------------------------------------- TPageControl

TPageControl::TPageControl(TComponent *AOwner) : TWinControl(AOwner)
{
    SetTabStop(true);
    SetBounds(0, 0, 289, 193);
}

void TPageControl::InsertPage(TTabSheet *Page)
{
    FPages.push_back(Page);
    Page->FPageControl = this;
    Page->SetParent(this);
    PlacePage(Page);
    Page->ShowSheet(Page == FActivePage);
    Invalidate();
}

void TPageControl::RemovePage(TTabSheet *Page)
{
    FPages.erase(std::remove(FPages.begin(), FPages.end(), Page), FPages.end());
    Page->FPageControl = nullptr;
    if (FActivePage == Page)
        FActivePage = nullptr;
    Invalidate();
}

void TPageControl::PlacePage(TTabSheet *Page)
{
    // A sheet fills the control below the tabs, inside a two-pixel frame.
    Page->SetBounds(2, TabHeight + 2, std::max(0, Width() - 4),
                    std::max(0, Height() - TabHeight - 4));
}

void TPageControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    TWinControl::SetBounds(ALeft, ATop, AWidth, AHeight);
    for (TTabSheet *page : FPages)
        PlacePage(page);
}

void TPageControl::SetActivePage(TTabSheet *Page)
{
    if (Page && Page->FPageControl != this)
        return;
    if (FActivePage == Page)
        return;
    // Keys on the page going away move to the new page's first control, or
    // to the tabs: never to nowhere.
    TCustomForm *form = GetParentForm(this);
    const bool focusLeaves =
        form && FActivePage && FActivePage->ContainsControl(form->ActiveControl());
    if (Page)
        Page->ShowSheet(true);
    if (focusLeaves && !(Page && Page->SelectFirst()))
        SetFocus();
    if (FActivePage)
        FActivePage->ShowSheet(false);
    FActivePage = Page;
    Invalidate();
}

void TPageControl::SelectNextPage(bool Forward)
{
    TTabSheet *next = NextInRing(FPages, FActivePage, Forward);
    if (!next || next == FActivePage)
        return;
    SetActivePage(next);
    if (OnChange)
        OnChange(this);
}

void TPageControl::CMDialogKey(TCMDialogKey &Message)
{
    TCustomForm *form = GetParentForm(this);
    if (Message.CharCode == VK_TAB && (Message.Shift & ssCtrl) && form &&
        ContainsControl(form->ActiveControl())) {
        SelectNextPage(!(Message.Shift & ssShift));
        Message.Result = 1;
        return;
    }
    TWinControl::CMDialogKey(Message);
}

void TPageControl::KeyDown(uint16_t &Key, TShiftState Shift)
{
    TWinControl::KeyDown(Key, Shift);
    if ((Key == VK_LEFT || Key == VK_RIGHT) && !(Shift & (ssAlt | ssCtrl | ssShift))) {
        SelectNextPage(Key == VK_RIGHT);
        Key = 0;
    }
}

void TPageControl::CMFocusChanged(TWinControl *Focused)
{
    TWinControl::CMFocusChanged(Focused);
    if ((Focused == this) != FFocusDrawn)
        Invalidate();
}

int TPageControl::ActivePageIndex() const
{
    return FActivePage ? FActivePage->PageIndex() : -1;
}

void TPageControl::SetActivePageIndex(int Index)
{
    SetActivePage(Index >= 0 && Index < PageCount() ? FPages[Index] : nullptr);
}

TRect TPageControl::TabRect(int Index)
{
    Canvas()->Font()->Assign(Font());
    int left = 2;
    for (int i = 0; i < Index; ++i)
        left += Canvas()->TextWidth(FPages[i]->Caption()) + 16;
    return Rect(left, 2, left + Canvas()->TextWidth(FPages.at(Index)->Caption()) + 16,
                TabHeight + 2);
}

void TPageControl::Paint()
{
    TCanvas *canvas = Canvas();
    canvas->Brush()->SetColor(clBtnFace);
    canvas->FillRect(ClientRect());
    TRect frame = Rect(0, TabHeight, Width(), Height());
    Frame3D(canvas, frame, clBtnHighlight, clBtnShadow, 1);
    for (int i = 0; i < PageCount(); ++i) {
        TRect tab = TabRect(i);
        const bool active = FPages[i] == FActivePage;
        if (!active)
            tab.Top += 2;
        TRect edge = tab;
        Frame3D(canvas, edge, clBtnHighlight, clBtnShadow, 1);
        if (active) {
            // The active tab opens into its page: no line below it.
            canvas->Brush()->SetColor(clBtnFace);
            canvas->FillRect(Rect(tab.Left + 1, TabHeight - 1, tab.Right - 1, TabHeight + 1));
        }
        canvas->Font()->Assign(Font());
        canvas->Brush()->SetStyle(bsClear);
        TRect text = tab;
        DrawControlText(canvas, FPages[i]->Caption(), text, DT_CENTER | DT_VCENTER | DT_SINGLELINE,
                        Enabled());
        canvas->Brush()->SetStyle(bsSolid);
    }
    FFocusDrawn = Focused();
    if (FFocusDrawn && FActivePage) {
        TRect focus = TabRect(FActivePage->PageIndex());
        canvas->DrawFocusRect(
            Rect(focus.Left + 3, focus.Top + 3, focus.Right - 3, focus.Bottom - 2));
    }
}

void TPageControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TWinControl::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft)
        return;
    for (int i = 0; i < PageCount(); ++i)
        if (TabRect(i).Contains(X, Y) && FPages[i] != FActivePage) {
            SetActivePage(FPages[i]);
            if (OnChange)
                OnChange(this);
            return;
        }
}

// ---------------------------------------------------------------- TTrackBar

namespace {
// The slider with the platform's focus mark: a dotted rectangle round the
// whole control while it has the focus.
class TTrackBarFace : public QSlider {
public:
    explicit TTrackBarFace(const TTrackBar *Owner) : QSlider(Qt::Horizontal), FOwner(Owner) {}

protected:
    void paintEvent(QPaintEvent *Event) override
    {
        QSlider::paintEvent(Event);
        if (!FOwner->Focused())
            return;
        QPainter painter(this);
        QPen dots(Qt::black);
        dots.setDashPattern({1, 1});
        painter.setPen(dots);
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }

private:
    const TTrackBar *FOwner;
};
} // namespace

TTrackBar::TTrackBar(TComponent *AOwner)
    : TWidgetControl(AOwner, new TTrackBarFace(this)), FSlider(static_cast<QSlider *>(Face()))
{
    SetTabStop(true);
    FSlider->setRange(0, 10);
    FSlider->setTickPosition(QSlider::TicksBelow);
    FSlider->setPageStep(1);
    QObject::connect(FSlider, &QSlider::valueChanged, FSlider, [this](int) {
        Guarded(this, [this] {
            if (OnChange)
                OnChange(this);
        });
    });
    SetBounds(0, 0, 150, 45);
}

int TTrackBar::Min() const
{
    return FSlider->minimum();
}
void TTrackBar::SetMin(int Value)
{
    FSlider->setMinimum(Value);
}
int TTrackBar::Max() const
{
    return FSlider->maximum();
}
void TTrackBar::SetMax(int Value)
{
    FSlider->setMaximum(Value);
}
int TTrackBar::Position() const
{
    return FSlider->value();
}
void TTrackBar::SetPosition(int Value)
{
    FSlider->setValue(Value);
}

void TTrackBar::CMFocusChanged(TWinControl *Focused)
{
    TWidgetControl::CMFocusChanged(Focused);
    if ((Focused == this) != FFocusShown) {
        FFocusShown = Focused == this;
        FSlider->update();
    }
}

void TTrackBar::SetOrientation(TTrackBarOrientation Value)
{
    FSlider->setOrientation(Value == trHorizontal ? Qt::Horizontal : Qt::Vertical);
}

// ---------------------------------------------------------------- TStatusBar

TStatusBar::TStatusBar(TComponent *AOwner) : TGraphicControl(AOwner)
{
    SetControlStyle(ControlStyle() | csOpaque);
    SetColor(clBtnFace);
    SetParentColor(false);
    SetBounds(0, 0, 200, 19);
}

void TStatusBar::AddPanel(const std::string &Text, int Width)
{
    FPanels.push_back({Text, Width});
    Invalidate();
}

void TStatusBar::SetPanelText(int Index, const std::string &Text)
{
    TStatusPanel &panel = FPanels.at(Index);
    if (panel.Text == Text)
        return;
    panel.Text = Text;
    Invalidate();
}

void TStatusBar::Paint()
{
    TCanvas *canvas = Canvas();
    canvas->Brush()->SetColor(Color());
    canvas->FillRect(ClientRect());
    canvas->Font()->Assign(Font());
    int left = 0;
    for (size_t i = 0; i < FPanels.size(); ++i) {
        const bool last = i + 1 == FPanels.size();
        const int right = last ? Width() : left + FPanels[i].Width;
        TRect frame = Rect(left, 2, right - 2, Height());
        Frame3D(canvas, frame, clBtnShadow, clBtnHighlight, 1);
        canvas->Brush()->SetStyle(bsClear);
        TRect text = Rect(frame.Left + 2, frame.Top, frame.Right, frame.Bottom);
        DrawControlText(canvas, FPanels[i].Text, text, DT_LEFT | DT_VCENTER | DT_SINGLELINE, true);
        canvas->Brush()->SetStyle(bsSolid);
        left = right;
    }
}

// ---------------------------------------------------------------- TProgressBar

TProgressBar::TProgressBar(TComponent *AOwner) : TGraphicControl(AOwner)
{
    SetControlStyle(ControlStyle() | csOpaque);
    SetBounds(0, 0, 150, 16);
}

void TProgressBar::SetMin(int Value)
{
    FMin = Value;
    SetPosition(FPosition);
    Invalidate();
}

void TProgressBar::SetMax(int Value)
{
    FMax = Value;
    SetPosition(FPosition);
    Invalidate();
}

void TProgressBar::SetPosition(int Value)
{
    Value = std::clamp(Value, FMin, std::max(FMin, FMax));
    if (FPosition == Value)
        return;
    FPosition = Value;
    Invalidate();
}

void TProgressBar::Paint()
{
    TCanvas *canvas = Canvas();
    TRect r = ClientRect();
    canvas->Brush()->SetColor(clBtnFace);
    canvas->FillRect(r);
    Frame3D(canvas, r, clBtnShadow, clBtnHighlight, 1);
    const int span = FMax - FMin;
    if (span <= 0)
        return;
    const int filled = int(int64_t(r.Right - r.Left) * (FPosition - FMin) / span);
    // Blocks as the classic bar draws them: 8 wide, 2 apart.
    canvas->Brush()->SetColor(clHighlight);
    for (int x = r.Left; x < r.Left + filled; x += 10)
        canvas->FillRect(Rect(x, r.Top + 1, std::min(x + 8, r.Left + filled), r.Bottom - 1));
}
