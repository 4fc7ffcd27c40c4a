#pragma once
// The built-in glyph tables of TLCDLabel, as pictures: '#' is a lit dot and
// '.' an unlit one; each glyph row after row from the top, each row left to
// right, glyph after glyph from the set's first code. The bounds let the
// compiler check every table against its cell size and code range.

extern const char Mat5x7Glyphs[95 * 5 * 7 + 1];    // codes 32 .. 126
extern const char Mat5x8Glyphs[95 * 5 * 8 + 1];    // codes 32 .. 126
extern const char Mat7x9Glyphs[95 * 7 * 9 + 1];    // codes 32 .. 126
extern const char Mat9x12Glyphs[95 * 9 * 12 + 1];  // codes 32 .. 126
extern const char HitachiGlyphs[192 * 5 * 7 + 1];  // codes 32 .. 223
extern const char Hitachi2Glyphs[30 * 5 * 10 + 1]; // codes 194 .. 223
extern const char Dos5x7Glyphs[256 * 5 * 7 + 1];   // codes 0 .. 255
