#pragma once
// Drawing helpers of the skin controls: rectangle sizes, colour splitting,
// the banded and diagonal two-colour gradient, and the button-style placing
// of a glyph beside a one-line caption.
//
// ResolveColor itself comes from Graphics.h (a system colour to its RGB value).

#include "Classes.h"
#include "Controls.h"
#include "Graphics.h"

#include <cstdint>
#include <string>

enum TDSGradDirection { tgdUpDown, tgdLeftRight, tgdChord1, tgdChord2 };
enum TDSImageTextLayout { tImageLeft, tImageRight, tImageTop, tImageBottom };

// The skin controls' setter rule: store Value and say true when it differs
// from Field; leave Field alone and say false when it is equal.
template <class T> bool StoreIfChanged(T &Field, const T &Value)
{
    if (Field == Value)
        return false;
    Field = Value;
    return true;
}

inline int RectWidth(const TRect &R)
{
    return R.Right - R.Left;
}
inline int RectHeight(const TRect &R)
{
    return R.Bottom - R.Top;
}

// The red, green and blue bytes of Color, a system colour resolved first.
void SplitColor(TColor Color, uint8_t &R, uint8_t &G, uint8_t &B);

// Channel by channel, C0 + (C1 - C0) * Position div Total (truncating), as a
// byte; Total must be positive.
TColor GradientColor(TColor StartColor, TColor EndColor, int Position, int Total);

// Paints StartColor to EndColor over Rect: tgdUpDown and tgdLeftRight in
// bands ColorWidth pixels wide (the last band may run past the far edge);
// tgdChord1 and tgdChord2 as diagonal lines of pen width ColorWidth in canvas
// coordinates, whatever Rect's position. Leaves the canvas's brush and pen
// as it set them. Draws nothing when the extent it steps over (H, W or
// W + H) is not positive or ColorWidth is below 1.
void GradientFill(TCanvas *Canvas, const TRect &Rect, TColor StartColor, TColor EndColor,
                  TDSGradDirection Direction, int ColorWidth);

// Places a glyph of GlyphSize and Caption (one line, measured in the
// canvas's current font) inside Client as the class library lays out a
// button's glyph. Margin -1 centres, Spacing -1 spreads; with no caption or
// no glyph the spacing counts as 0. GlyphPos is the glyph's top-left,
// TextBounds the caption's rectangle, both in Client's coordinates.
void CalcGlyphLayout(TCanvas *Canvas, const TRect &Client, const std::string &Caption,
                     TDSImageTextLayout Layout, int Margin, int Spacing, TPoint GlyphSize,
                     TPoint &GlyphPos, TRect &TextBounds);

// The outermost windowed control in the unbroken chain of windowed owners
// above Component; null when Component's own owner is not windowed.
TWinControl *OuterWindowedOwner(const TComponent *Component);
