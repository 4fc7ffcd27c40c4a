#include "dxButton.h"

#include "Forms.h"

// ---------------------------------------------------------------- TdxColors

void TdxColors::Update(TColor &Field, TColor Value)
{
    if (Field == Value)
        return;
    Field = Value;
    if (FOwner)
        FOwner->DoLookChanged();
}

void TdxColors::Assign(const TPersistent *Source)
{
    auto colors = dynamic_cast<const TdxColors *>(Source);
    if (!colors) {
        TPersistent::Assign(Source);
        return;
    }
    SetBackgroundFrom(colors->FBackgroundFrom);
    SetBackgroundTo(colors->FBackgroundTo);
    SetBorderEdges(colors->FBorderEdges);
    SetBorderLine(colors->FBorderLine);
    SetClickedFrom(colors->FClickedFrom);
    SetClickedTo(colors->FClickedTo);
    SetFocusedFrom(colors->FFocusedFrom);
    SetFocusedTo(colors->FFocusedTo);
    SetHighlightFrom(colors->FHighlightFrom);
    SetHighlightTo(colors->FHighlightTo);
    SetHotTrack(colors->FHotTrack);
}

// ---------------------------------------------------------------- TdxButtonActionLink

TdxButtonActionLink::~TdxButtonActionLink()
{
    if (FButton)
        FButton->Invalidate();
}

void TdxButtonActionLink::AssignClient(TObject *AClient)
{
    TWinControlActionLink::AssignClient(AClient);
    FButton = dynamic_cast<TdxButton *>(AClient);
    if (!FButton)
        throw EInvalidCast();
}

void TdxButtonActionLink::SetImageIndex(int Value)
{
    TWinControlActionLink::SetImageIndex(Value);
    FButton->SetImageIndex(Value);
    FButton->Invalidate();
}

// ---------------------------------------------------------------- TdxButton

TdxButton::TdxButton(TComponent *AOwner) : TdxCustomControl(AOwner)
{
    SetBounds(Left(), Top(), 73, 25);
    FImageChangeLink = std::make_unique<TChangeLink>();
    FImageChangeLink->OnChange = [this](TObject *Sender) { ImageListChange(Sender); };
    FGlyph = std::make_unique<TBitmap>();
    FColors = std::make_unique<TdxColors>(this);
    FBackground = std::make_unique<TBitmap>();
    FClicked = std::make_unique<TBitmap>();
    FFocused = std::make_unique<TBitmap>();
    FHighlight = std::make_unique<TBitmap>();
}

TdxButton::~TdxButton()
{
    // The link repaints this button as it goes, so it goes while the button
    // is whole.
    SetAction(nullptr);
    FBackground.reset();
    FClicked.reset();
    FFocused.reset();
    FHighlight.reset();
    FGlyph.reset();
    FColors.reset();
    FImageChangeLink->OnChange = nullptr;
    FImageChangeLink.reset();
}

template <class T> void TdxButton::Update(T &Field, T Value)
{
    if (Field == Value)
        return;
    Field = Value;
    Invalidate();
}

void TdxButton::SetAutoGray(bool Value)
{
    Update(FAutoGray, Value);
}
void TdxButton::SetHotTrack(bool Value)
{
    Update(FHotTrack, Value);
}
void TdxButton::SetLayout(TdxLayout Value)
{
    Update(FLayout, Value);
}
void TdxButton::SetShowAccelChar(bool Value)
{
    Update(FShowAccelChar, Value);
}
void TdxButton::SetShowFocusRect(bool Value)
{
    Update(FShowFocusRect, Value);
}
void TdxButton::SetSmoothEdges(bool Value)
{
    Update(FSmoothEdges, Value);
}
void TdxButton::SetSpacing(uint8_t Value)
{
    Update(FSpacing, Value);
}
void TdxButton::SetWordWrap(bool Value)
{
    Update(FWordWrap, Value);
}

void TdxButton::SetQuality(TdxQuality Value)
{
    if (FQuality == Value)
        return;
    FQuality = Value;
    DoLookChanged();
}

void TdxButton::SetGlyph(TBitmap *Value)
{
    FGlyph->Assign(Value);
    Invalidate();
}

void TdxButton::SetDefault(bool Value)
{
    if (FDefault == Value)
        return;
    FDefault = Value;
    if (TCustomForm *form = GetParentForm(this))
        form->CMFocusChanged(form->ActiveControl());
}

bool TdxButton::IsHighlighted(bool StateOnly) const
{
    bool result = Has(dxPressed) ? !Has(dxHot) : Has(dxHot) || Has(dxFocused);
    if (!StateOnly)
        result = result || (FDefault && CanFocus() && !DxFocus());
    return result;
}

void TdxButton::CMDialogKey(TCMDialogKey &Message)
{
    bool enter = Message.CharCode == VK_RETURN && (Focused() || (FDefault && !DxFocus()));
    bool escape =
        Message.CharCode == VK_ESCAPE && FCancel && !(Message.Shift & (ssShift | ssCtrl | ssAlt));
    if (CanFocus() && (enter || escape)) {
        Click();
        Message.Result = 1;
        return;
    }
    TdxCustomControl::CMDialogKey(Message);
}

void TdxButton::KeyDown(uint16_t &Key, TShiftState Shift)
{
    if (Key == VK_SPACE && Shift == 0) {
        Include(dxHot);
        DoLeftDown();
    }
    TdxCustomControl::KeyDown(Key, Shift);
}

void TdxButton::KeyUp(uint16_t &Key, TShiftState Shift)
{
    if (Has(dxPressed)) {
        TPoint pointer = ScreenToClient(GetCursorPos());
        if (!Rect(0, 0, Width(), Height()).Contains(pointer.X, pointer.Y))
            Exclude(dxHot);
        Exclude(dxPressed);
        Invalidate();
        Click();
    }
    TdxCustomControl::KeyUp(Key, Shift);
}

void TdxButton::DoLookChanged()
{
    TdxCustomControl::DoLookChanged();
    if (!FHighlight)
        return; // still under construction
    const uint8_t bands = FQuality == bqLow ? 8 : FQuality == bqMiddle ? 16 : 64;
    const bool dither = FQuality == bqHigh;
    const int k = IsHighlighted(true) ? 1 : 0;
    const int w = Width(), h = Height();
    PaintGradient(w - 2 - 4 * k, h - 2 - 4 * k, FColors->BackgroundFrom(), FColors->BackgroundTo(),
                  bands, 1, dither, FBackground.get());
    PaintGradient(w - 2, h - 2, FColors->ClickedFrom(), FColors->ClickedTo(), bands, 1, dither,
                  FClicked.get());
    PaintGradient(w - 2, h - 2, FColors->FocusedFrom(), FColors->FocusedTo(), bands, 1, dither,
                  FFocused.get());
    PaintGradient(w - 2, h - 2, FColors->HighlightFrom(), FColors->HighlightTo(), bands, 1, dither,
                  FHighlight.get());
    Invalidate();
}

TControlActionLinkClass TdxButton::GetActionLinkClass() const
{
    return &NewActionLink<TdxButtonActionLink>;
}

TCustomImageList *TdxButton::ActionImages() const
{
    auto action = dynamic_cast<TCustomAction *>(Action());
    if (!action || !action->ActionList())
        return nullptr;
    return action->ActionList()->Images();
}

void TdxButton::ActionChange(TObject *Sender, bool CheckDefaults)
{
    TdxCustomControl::ActionChange(Sender, CheckDefaults);
    auto action = dynamic_cast<TCustomAction *>(Sender);
    TCustomImageList *images =
        action && action->ActionList() ? action->ActionList()->Images() : nullptr;
    if (images) {
        if (FImageChangeLink->Sender() != images)
            images->RegisterChanges(FImageChangeLink.get());
        if (action->ImageIndex() >= 0 && action->ImageIndex() < images->Count())
            FImageIndex = action->ImageIndex();
    }
    Invalidate();
}

void TdxButton::ImageListChange(TObject *Sender)
{
    auto action = dynamic_cast<TCustomAction *>(Action());
    TCustomImageList *images = ActionImages();
    if (action && dynamic_cast<TCustomImageList *>(Sender) && images &&
        action->ImageIndex() < images->Count())
        FImageIndex = action->ImageIndex();
    else
        FImageIndex = -1;
    Invalidate();
}

void TdxButton::TakeGlyph(TBitmap *Result) const
{
    TCustomImageList *images = ActionImages();
    if (images && FImageIndex >= 0 && FImageIndex < images->Count())
        images->GetBitmap(FImageIndex, Result);
    else
        Result->Assign(FGlyph.get());
}

namespace {
// Disabled glyphs turn into greys from 96 to 223.
void GrayGlyph(TBitmap *Glyph)
{
    for (int x = 0; x < Glyph->Width(); ++x)
        for (int y = 0; y < Glyph->Height(); ++y) {
            uint8_t *pixel = Glyph->ScanLine(y) + 3 * x;
            int sum = pixel[0] + pixel[1] + pixel[2];
            auto grey = static_cast<uint8_t>((sum / 3) / 2 + 96);
            pixel[0] = pixel[1] = pixel[2] = grey;
        }
}
} // namespace

void TdxButton::Paint()
{
    const int w = Width(), h = Height();
    TCanvas *canvas = Canvas();
    TRect r = ClientRect();
    canvas->Brush()->SetColor(Color());
    canvas->FillRect(r);

    const bool highlighted = IsHighlighted(false);
    if (highlighted)
        canvas->Draw(1, 1, Has(dxHot) ? FHighlight.get() : FFocused.get());
    const bool pushed = Has(dxHot) && Has(dxPressed);
    if (pushed) {
        canvas->Draw(1, 1, FClicked.get());
    } else {
        const int k = highlighted ? 1 : 0;
        BitBlt(canvas, 2 * k + 1, 2 * k + 1, std::min(w - 6 * k, FBackground->Width()),
               std::min(h - 6 * k, FBackground->Height()), FBackground->Canvas(), 0, 0, SRCCOPY);
    }

    canvas->Pen()->SetColor(FColors->BorderLine());
    canvas->Brush()->SetStyle(bsClear);
    canvas->RoundRect(0, 0, w, h, 5, 5);

    canvas->Pen()->SetColor(FColors->BorderEdges());
    DrawEdgeLine(canvas, 0, 1, 2, 0, false);
    DrawEdgeLine(canvas, w - 2, 0, w, 2, false);
    DrawEdgeLine(canvas, 0, h - 2, 2, h, false);
    DrawEdgeLine(canvas, w - 3, h, w, h - 3, false);

    unsigned format = DT_END_ELLIPSIS;
    if (FWordWrap)
        format |= DT_WORDBREAK;

    TBitmap glyph;
    TakeGlyph(&glyph);
    if (FAutoGray && !Enabled())
        GrayGlyph(&glyph);

    canvas->Font()->Assign(Font());
    if (FHotTrack && Has(dxHot))
        canvas->Font()->SetColor(FColors->HotTrack());

    const int gw = glyph.Width(), gh = glyph.Height(), s = FSpacing;
    if (!glyph.Empty()) {
        switch (FLayout) {
        case blGlyphLeft: r.Left += gw + s; break;
        case blGlyphRight:
            r.Left -= gw + s;
            r.Right -= 2 * (gw + s);
            format |= DT_RIGHT;
            break;
        case blGlyphTop: r.Top += gh + s; break;
        case blGlyphBottom: r.Top -= gh + s; break;
        }
    }
    DrawCaption(canvas, Caption(), format | DT_CALCRECT, r, FShowAccelChar, Enabled(),
                canvas->Font());
    OffsetRect(r, (w - r.Right) / 2, (h - r.Bottom) / 2);
    int p = 0;
    if (pushed) {
        OffsetRect(r, 1, 1);
        p = 1;
    }

    if (!glyph.Empty()) {
        glyph.SetTransparent(true);
        TPoint at;
        switch (FLayout) {
        case blGlyphLeft: at = Point(r.Left - gw - s, (h - gh) / 2 + p); break;
        case blGlyphRight: at = Point(r.Right + s, (h - gh) / 2 + p); break;
        case blGlyphTop: at = Point((w - gw) / 2 + p, r.Top - gh - s); break;
        case blGlyphBottom: at = Point((w - gw) / 2 + p, r.Bottom + s); break;
        }
        canvas->Draw(at.X, at.Y, &glyph);
    }

    if (Has(dxFocused) && FShowFocusRect) {
        canvas->Brush()->SetStyle(bsSolid);
        canvas->DrawFocusRect(Rect(3, 3, w - 3, h - 3));
    }

    canvas->SetBkMode(TRANSPARENT);
    DrawCaption(canvas, Caption(), format, r, FShowAccelChar, Enabled(), canvas->Font());
}
