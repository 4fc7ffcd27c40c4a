#pragma once
// The viewer's own pictures, drawn in code: the glyphs of "Load DTS" and
// "Print" (32 x 32 on a magenta ground, which their bottom-left pixel makes
// transparent) and the maker's logo.

class TBitmap;

void PaintLoadGlyph(TBitmap *Glyph);
void PaintPrintGlyph(TBitmap *Glyph);
// The logo at the bitmap's size (the window uses 56 x 86).
void PaintLogo(TBitmap *Logo, int Width, int Height);
