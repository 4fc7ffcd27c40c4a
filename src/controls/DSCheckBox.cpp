#include "DSCheckBox.h"

namespace {

struct TBoxColors {
    TColor TopLeft;
    TColor BottomRight;
    TColor Inside;
    TColor Mark;
};

constexpr TBoxColors EnabledColors{0x645858, 0xCDB4B4, 0x000000, 0xFFFFFF};
constexpr TBoxColors DisabledColors{0x584E4E, 0x808080, 0x5B5B5B, 0x808080};
constexpr TColor DisabledCaption = 0x808080;

bool IsBlank(const std::string &Text)
{
    for (unsigned char c : Text)
        if (c > ' ')
            return false;
    return true;
}

} // namespace

TDSCheckBox::TDSCheckBox(TComponent *AOwner) : TGraphicControl(AOwner)
{
    // OnClick comes from the press that toggles the box, so the release that
    // completes a click must not raise it a second time.
    SetControlStyle(ControlStyle() & ~csClickEvents);
    SetBounds(Left(), Top(), 111, 11);
    Font()->SetColor(clWhite);
    Font()->SetName("Arial");
    Font()->SetStyle(0);
    SetCaption(Name());
    SetAtLeft(true);
    if (Parent())
        DrawBox();
}

void TDSCheckBox::SetCaption(const std::string &Value)
{
    FCaption = Value;
    DrawBox();
    if (RightEdge > 0 && !IsBlank(FCaption)) {
        if (FAtLeft)
            RightEdge = Left();
        else
            SetLeft(RightEdge - Width());
    }
}

void TDSCheckBox::SetChecked(bool Value)
{
    FChecked = Value;
    DrawBox();
}

void TDSCheckBox::SetEnabled(bool Value)
{
    FEnabled = Value;
    DrawBox();
}

void TDSCheckBox::SetAtLeft(bool Value)
{
    FAtLeft = Value;
    Refresh();
    DrawBox();
}

void TDSCheckBox::Loaded()
{
    RightEdge = Canvas()->TextWidth(FCaption) + Left() + 16;
    TGraphicControl::Loaded();
    DrawBox();
}

void TDSCheckBox::Paint()
{
    if (!Parent())
        return;
    TGraphicControl::Paint();
    if (IsBlank(FCaption))
        FCaption = Name();
    DrawBox();
}

void TDSCheckBox::Resize()
{
    TGraphicControl::Resize();
    if (Parent())
        DrawBox();
}

void TDSCheckBox::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TGraphicControl::MouseDown(Button, Shift, X, Y);
    if (FEnabled && Button != mbRight) {
        SetChecked(!FChecked);
        if (OnClick)
            OnClick(this);
    }
}

void TDSCheckBox::Click()
{
    if (!FEnabled)
        return;
    TGraphicControl::Click();
    DrawBox();
}

void TDSCheckBox::DrawBox()
{
    if (!Parent() || !(Visible() || IsDesigning()))
        return;
    try {
        TCanvas *canvas = Canvas();
        canvas->Font()->SetName(Font()->Name());
        canvas->Font()->SetSize(Font()->Size());
        canvas->Font()->SetStyle(Font()->Style());
        SetWidth(canvas->TextWidth(FCaption) + 16);

        const TBoxColors &colors = FEnabled ? EnabledColors : DisabledColors;
        const int d = FAtLeft ? 0 : Width() - 11;
        auto line = [canvas](int X0, int Y0, int X1, int Y1) {
            canvas->MoveTo(X0, Y0);
            canvas->LineTo(X1, Y1);
        };
        canvas->Pen()->SetWidth(1);
        canvas->Pen()->SetStyle(psSolid);
        canvas->Pen()->SetColor(colors.TopLeft);
        line(d, 0, d, 11);
        line(d, 0, d + 11, 0);
        canvas->Pen()->SetColor(colors.BottomRight);
        line(d + 1, 10, d + 11, 10);
        line(d + 10, 1, d + 10, 11);
        canvas->Pen()->SetColor(colors.Inside);
        canvas->Brush()->SetColor(colors.Inside);
        canvas->Rectangle(d + 1, 1, d + 10, 10);

        canvas->Brush()->SetStyle(bsClear);
        canvas->Font()->SetColor(FEnabled ? Font()->Color() : DisabledCaption);
        canvas->TextOut(FAtLeft ? 16 : 0, -1, FCaption);

        if (FChecked) {
            static constexpr int strokes[7][3] = {{2, 5, 8}, {3, 5, 9}, {4, 6, 9}, {5, 5, 8},
                                                  {6, 4, 7}, {7, 3, 6}, {8, 2, 5}};
            canvas->Pen()->SetColor(colors.Mark);
            for (const auto &s : strokes)
                line(d + s[0], s[1], d + s[0], s[2]);
        }
    } catch (...) {
    }
}
