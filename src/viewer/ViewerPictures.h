#pragma once
// The viewer's own picture, drawn in code: the maker's logo. Its buttons'
// glyphs are with the console's (ButtonGlyphs.h).

class TBitmap;

// The logo at the bitmap's size (the window uses 56 x 86).
void PaintLogo(TBitmap *Logo, int Width, int Height);
