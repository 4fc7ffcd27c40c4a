#include "dxCore.h"

#include "Dialogs.h"
#include "Forms.h"
#include "Math.h"
#include "Random.h"

#include <algorithm>

namespace {
const char *const CreditText = "dxGradient controls - gradient push button and its bases";
}

// ---------------------------------------------------------------- TdxCustomComponent

TdxCustomComponent::TdxCustomComponent(TComponent *AOwner) : TComponent(AOwner), FAbout(CreditText)
{
}

// ---------------------------------------------------------------- TdxStyleManager

TdxStyleManager::TdxStyleManager(TComponent *AOwner) : TdxCustomComponent(AOwner)
{
    Dialogs().MessageBox("The \"TdxStyleManager\" component is currently in beta state and has "
                         "no functionality yet!",
                         Application->Title, MB_OK | MB_ICONINFORMATION);
    FTheme = WindowsXP;
}

TdxStyleManager::~TdxStyleManager()
{
    RepaintControls();
    // The controls are told through the free notification each of them set up.
    NotifyFreeing();
    FControls.clear();
}

void TdxStyleManager::SetTheme(TdxTheme Value)
{
    if (FTheme == Value)
        return;
    FTheme = Value;
    RepaintControls();
}

void TdxStyleManager::RegisterControl(TdxCustomControl *Control)
{
    if (std::find(FControls.begin(), FControls.end(), Control) == FControls.end())
        FControls.push_back(Control);
}

void TdxStyleManager::UnregisterControl(TdxCustomControl *Control)
{
    std::erase(FControls, Control);
}

void TdxStyleManager::RepaintControls()
{
    for (TdxCustomControl *control : FControls)
        control->Invalidate();
}

// ---------------------------------------------------------------- TdxCustomControl

TdxCustomControl::TdxCustomControl(TComponent *AOwner) : TCustomControl(AOwner)
{
    // A quick second click is one more press and click, never a double click.
    SetControlStyle(ControlStyle() & ~csDoubleClicks);
    DoubleBuffered = true;
    SetTabStop(true);
    FAbout = CreditText;
}

TdxCustomControl::~TdxCustomControl()
{
    if (FStyleManager)
        FStyleManager->UnregisterControl(this);
}

void TdxCustomControl::SetStyleManager(TdxStyleManager *Value)
{
    if (FStyleManager == Value)
        return;
    if (FStyleManager) {
        FStyleManager->UnregisterControl(this);
        FStyleManager->RemoveFreeNotification(this);
    }
    if (Value) {
        Value->RegisterControl(this);
        Value->FreeNotification(this);
    }
    FStyleManager = Value;
    Invalidate();
}

void TdxCustomControl::Notification(TComponent *AComponent, TOperation Operation)
{
    if (Operation == opRemove && AComponent && AComponent == FStyleManager)
        FStyleManager = nullptr;
    TCustomControl::Notification(AComponent, Operation);
}

TdxTheme TdxCustomControl::ControlTheme() const
{
    return FStyleManager ? FStyleManager->Theme() : WindowsXP;
}

void TdxCustomControl::Click()
{
    if (TCustomForm *form = GetParentForm(this))
        form->SetModalResult(FModalResult);
    TCustomControl::Click();
}

void TdxCustomControl::DrawCaption(TCanvas *Canvas, const std::string &Text, unsigned Flags,
                                   TRect &Rect, bool ShowAccelChar, bool Enabled, TFont *Font)
{
    std::string text = Text;
    if ((Flags & DT_CALCRECT) && (text.empty() || (ShowAccelChar && text == "&")))
        text += ' ';
    if (!ShowAccelChar)
        Flags |= DT_NOPREFIX;
    Flags = DrawTextBiDiModeFlags(Flags);
    if (Font != Canvas->Font())
        Canvas->Font()->Assign(Font);
    if (Enabled) {
        Canvas->DrawText(text, Rect, Flags);
        return;
    }
    OffsetRect(Rect, 1, 1);
    Canvas->Font()->SetColor(clBtnHighlight);
    Canvas->DrawText(text, Rect, Flags);
    OffsetRect(Rect, -1, -1);
    Canvas->Font()->SetColor(clBtnShadow);
    Canvas->DrawText(text, Rect, Flags);
}

// The state-change chain.

void TdxCustomControl::DoEnabledChanged()
{
    Invalidate();
}

void TdxCustomControl::DoFocusChanged()
{
    if (Focused()) {
        Include(dxFocused);
    } else {
        Exclude(dxFocused);
        Exclude(dxPressed);
    }
    TCustomForm *form = GetParentForm(this);
    FDxFocus = form && dynamic_cast<TdxCustomControl *>(form->ActiveControl()) != nullptr;
    Invalidate();
}

void TdxCustomControl::DoLeftDown()
{
    if (!Focused())
        SetFocus();
    Include(dxPressed);
    Invalidate();
}

void TdxCustomControl::DoMouseEnter()
{
    Include(dxHot);
    Invalidate();
    if (OnMouseEnter)
        OnMouseEnter(this);
}

void TdxCustomControl::DoMouseLeave()
{
    Exclude(dxHot);
    Invalidate();
    if (OnMouseLeave)
        OnMouseLeave(this);
}

void TdxCustomControl::DoMouseMove(TShiftState, int, int) {}

void TdxCustomControl::DoLeftUp()
{
    Exclude(dxPressed);
    Invalidate();
    // A press that started on another gradient control and ends over this
    // one brings no enter notification of its own.
    TControl *under = FindControlAt(GetCursorPos());
    if (under && under != this)
        if (dynamic_cast<TdxCustomControl *>(under))
            under->HandleMouseEnter(); // once, whether or not the window system tells too
}

void TdxCustomControl::DoParentColorChanged()
{
    Invalidate();
}

void TdxCustomControl::DoLookChanged() {}

void TdxCustomControl::DoTextChanged()
{
    Invalidate();
}

// Notifications: the state-change method first, then the inherited handling.

void TdxCustomControl::CMEnabledChanged()
{
    DoEnabledChanged();
    TCustomControl::CMEnabledChanged();
}

void TdxCustomControl::CMFocusChanged(TWinControl *Focused)
{
    DoFocusChanged();
    TCustomControl::CMFocusChanged(Focused);
}

void TdxCustomControl::CMMouseEnter()
{
    DoMouseEnter();
    TCustomControl::CMMouseEnter();
}

void TdxCustomControl::CMMouseLeave()
{
    DoMouseLeave();
    TCustomControl::CMMouseLeave();
}

void TdxCustomControl::CMParentColorChanged()
{
    DoParentColorChanged();
    TCustomControl::CMParentColorChanged();
}

void TdxCustomControl::CMTextChanged()
{
    DoTextChanged();
    TCustomControl::CMTextChanged();
}

void TdxCustomControl::WMSize(int ClientWidth, int ClientHeight)
{
    DoLookChanged();
    TCustomControl::WMSize(ClientWidth, ClientHeight);
}

void TdxCustomControl::CMDialogChar(TCMDialogKey &Message)
{
    // The shift state is the keyboard's at the time the character arrived.
    bool altDown = (Message.Shift & ssAlt) || GetKeyState(VK_MENU) < 0;
    if (IsAccel(static_cast<char>(Message.CharCode), Caption()) && CanFocus() &&
        (Focused() || altDown)) {
        Click();
        Message.Result = 1;
        return;
    }
    TCustomControl::CMDialogChar(Message);
}

void TdxCustomControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button == mbLeft) {
        FLeftDown = true;
        DoLeftDown();
    }
    TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TdxCustomControl::MouseMove(TShiftState Shift, int X, int Y)
{
    DoMouseMove(Shift, X, Y);
    TCustomControl::MouseMove(Shift, X, Y);
}

void TdxCustomControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (FLeftDown) {
        FLeftDown = false;
        DoLeftUp();
    }
    TCustomControl::MouseUp(Button, Shift, X, Y);
}

// ---------------------------------------------------------------- drawing routines

void DrawEdgeLine(TCanvas *Canvas, int X1, int Y1, int X2, int Y2, bool Extend)
{
    if (Extend) {
        X2 += X1 <= X2 ? 1 : -1;
        Y2 += Y1 <= Y2 ? 1 : -1;
    }
    Canvas->MoveTo(X1, Y1);
    Canvas->LineTo(X2, Y2);
}

void BuildColorRamp(TColor FromColor, TColor ToColor, uint8_t Bands, uint8_t Direction,
                    TdxColorRamp &Ramp)
{
    TColor start = ColorToRGB(Direction <= 1 ? FromColor : ToColor);
    TColor end = ColorToRGB(Direction <= 1 ? ToColor : FromColor);
    const int first[3] = {GetRValue(start), GetGValue(start), GetBValue(start)};
    const int last[3] = {GetRValue(end), GetGValue(end), GetBValue(end)};
    double step[3];
    for (int c = 0; c < 3; ++c)
        step[c] = static_cast<double>(last[c] - first[c]) / (Bands - 1);
    for (int i = 0; i < Bands; ++i) {
        int channel[3];
        for (int c = 0; c < 3; ++c)
            channel[c] = first[c] + static_cast<int>(Round(i * step[c]));
        Ramp[static_cast<size_t>(i)] = RGB(channel[0], channel[1], channel[2]);
    }
}

void PaintGradient(int Width, int Height, TColor FromColor, TColor ToColor, uint8_t Bands,
                   uint8_t Direction, bool Dither, TBitmap *Bitmap)
{
    Bitmap->SetHeight(Height);
    Bitmap->SetWidth(Width);
    TdxColorRamp ramp{};
    BuildColorRamp(FromColor, ToColor, Bands, Direction, ramp);
    TCanvas *canvas = Bitmap->Canvas();
    canvas->Brush()->SetColor(FromColor);
    canvas->FillRect(Rect(0, 0, Width, Height));

    // Both directions are one loop: "along" is the axis the bands follow,
    // "across" the other one.
    const bool sideBySide = Direction == 0 || Direction == 2;
    const int along = sideBySide ? Width : Height;
    const int across = sideBySide ? Height : Width;
    auto fill = [&](int a0, int aLength, int c0, int cLength) {
        if (sideBySide)
            PatBlt(canvas, a0, c0, aLength, cLength, PATCOPY);
        else
            PatBlt(canvas, c0, a0, cLength, aLength, PATCOPY);
    };
    for (int i = 0; i < Bands; ++i) {
        int a0 = MulDiv(i, along, Bands);
        int a1 = MulDiv(i + 1, along, Bands);
        canvas->Brush()->SetColor(ramp[static_cast<size_t>(i)]);
        // The band reaches past its end; the following bands paint over it.
        fill(a0, a1, 0, across);
        if (Dither && i > 0) {
            int n = along / (Bands - 1);
            TColor previous = ramp[static_cast<size_t>(i - 1)];
            for (int c = 0; c <= 15; ++c)
                for (int k = 0; k <= n; ++k) {
                    int a = a0 + Random(k);
                    if (sideBySide)
                        canvas->SetPixels(a, c, previous);
                    else
                        canvas->SetPixels(c, a, previous);
                }
        }
    }
    // The 16-pixel strip repeats across the bitmap.
    if (sideBySide) {
        for (int j = 1; j <= Height / 16; ++j)
            BitBlt(canvas, 0, 16 * j, Width, 16, canvas, 0, 0, SRCCOPY);
    } else {
        for (int j = 0; j <= Width / 16; ++j)
            BitBlt(canvas, 16 * j, 0, 16, Height, canvas, 0, 0, SRCCOPY);
    }
}
