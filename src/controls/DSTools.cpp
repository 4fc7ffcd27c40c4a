#include "DSTools.h"

void SplitColor(TColor Color, uint8_t &R, uint8_t &G, uint8_t &B)
{
    TColor rgb = ResolveColor(Color);
    R = GetRValue(rgb);
    G = GetGValue(rgb);
    B = GetBValue(rgb);
}

TColor GradientColor(TColor StartColor, TColor EndColor, int Position, int Total)
{
    uint8_t r0, g0, b0, r1, g1, b1;
    SplitColor(StartColor, r0, g0, b0);
    SplitColor(EndColor, r1, g1, b1);
    // The 64-bit product keeps huge extents from overflowing; the quotient
    // is what 32-bit arithmetic gives wherever that does not overflow.
    auto channel = [&](int c0, int c1) {
        return c0 + static_cast<int>(static_cast<int64_t>(c1 - c0) * Position / Total);
    };
    return RGB(channel(r0, r1), channel(g0, g1), channel(b0, b1));
}

void GradientFill(TCanvas *Canvas, const TRect &Rect, TColor StartColor, TColor EndColor,
                  TDSGradDirection Direction, int ColorWidth)
{
    const int w = RectWidth(Rect), h = RectHeight(Rect);
    if (ColorWidth < 1)
        return;
    switch (Direction) {
    case tgdUpDown:
    case tgdLeftRight: {
        const bool down = Direction == tgdUpDown;
        const int total = down ? h : w;
        if (total <= 0)
            return;
        TRect band = down ? Bounds(Rect.Left, Rect.Top, w, ColorWidth)
                          : Bounds(Rect.Left, Rect.Top, ColorWidth, h);
        for (int p = 0; p <= total; p += ColorWidth) {
            Canvas->Brush()->SetColor(GradientColor(StartColor, EndColor, p, total));
            Canvas->FillRect(band);
            if (down)
                OffsetRect(band, 0, ColorWidth);
            else
                OffsetRect(band, ColorWidth, 0);
        }
        break;
    }
    case tgdChord1:
    case tgdChord2: {
        const int total = w + h;
        if (total <= 0)
            return;
        Canvas->Pen()->SetWidth(ColorWidth);
        for (int x = 0; x <= total; x += ColorWidth) {
            Canvas->Pen()->SetColor(GradientColor(StartColor, EndColor, x, total));
            if (Direction == tgdChord1) {
                Canvas->MoveTo(x, 0);
                Canvas->LineTo(-1, x);
            } else {
                Canvas->MoveTo(0, h - x);
                Canvas->LineTo(x, h);
            }
        }
        break;
    }
    }
}

void CalcGlyphLayout(TCanvas *Canvas, const TRect &Client, const std::string &Caption,
                     TDSImageTextLayout Layout, int Margin, int Spacing, TPoint GlyphSize,
                     TPoint &GlyphPos, TRect &TextBounds)
{
    const TPoint clientSize{RectWidth(Client), RectHeight(Client)};
    TPoint textSize;
    if (Caption.empty()) {
        TextBounds = Rect(0, 0, 0, 0);
    } else {
        TextBounds = Rect(0, 0, RectWidth(Client), 0);
        Canvas->DrawText(Caption, TextBounds, DT_CALCRECT);
        textSize = {RectWidth(TextBounds), RectHeight(TextBounds)};
    }

    // Work along the layout's axis; the other axis is simply centred.
    const bool horizontal = Layout == tImageLeft || Layout == tImageRight;
    auto along = [horizontal](TPoint &p) -> int & { return horizontal ? p.X : p.Y; };
    auto across = [horizontal](TPoint &p) -> int & { return horizontal ? p.Y : p.X; };
    TPoint client = clientSize, glyph = GlyphSize, text = textSize, textPos;
    across(GlyphPos) = (across(client) - across(glyph) + 1) / 2;
    across(textPos) = (across(client) - across(text) + 1) / 2;

    if (textSize.X == 0 || GlyphSize.X == 0)
        Spacing = 0;
    if (Margin == -1 && Spacing == -1) {
        Margin = (along(client) - (along(glyph) + along(text))) / 3;
        Spacing = Margin;
    } else if (Margin == -1) {
        Margin = (along(client) - (along(glyph) + Spacing + along(text)) + 1) / 2;
    } else if (Spacing == -1) {
        Spacing = (along(client) - (Margin + along(glyph)) - along(text)) / 2;
    }

    switch (Layout) {
    case tImageLeft:
    case tImageTop:
        along(GlyphPos) = Margin;
        along(textPos) = along(GlyphPos) + along(glyph) + Spacing;
        break;
    case tImageRight:
    case tImageBottom:
        along(GlyphPos) = along(client) - Margin - along(glyph);
        along(textPos) = along(GlyphPos) - Spacing - along(text);
        break;
    }

    GlyphPos.X += Client.Left;
    GlyphPos.Y += Client.Top;
    OffsetRect(TextBounds, textPos.X + Client.Left, textPos.Y + Client.Top);
}

TWinControl *OuterWindowedOwner(const TComponent *Component)
{
    TWinControl *outer = nullptr;
    for (TComponent *owner = Component ? Component->Owner() : nullptr; owner;
         owner = owner->Owner()) {
        auto windowed = dynamic_cast<TWinControl *>(owner);
        if (!windowed)
            break;
        outer = windowed;
    }
    return outer;
}
