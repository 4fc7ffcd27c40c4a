#pragma once
// TLCDLabel: text shown as a dot-matrix display. Every character gets a cell
// drawn dot by dot from a glyph table; the label sizes itself to its cells,
// and a size given from outside is refitted to whole cells at the next paint.

#include "Controls.h"

#include <cstdint>
#include <string>
#include <vector>

enum TDotMatrix { mat5x7, mat5x8, mat7x9, mat9x12, Hitachi, Hitachi2, dos5x7, CustomFont };
enum TPixelSize {
    pix1x1,
    pix2x2,
    pix3x3,
    pix4x4,
    pix5x5,
    pix6x6,
    pix7x7,
    pix8x8,
    pix9x9,
    pix10x10,
    pix11x11,
    pix12x12,
    pix13x13,
    pix14x14,
    pix15x15,
    pix16x16,
    pixCustom
};
enum TPixelShape { spSquare, spShaped, spRound };
enum TMyBorder { frRaised, frLowered, frSingle, frNone };
using T_FileName = std::string;

// A glyph file: a little-endian header of four 32-bit signed numbers
// (columns, rows, first code, last code), then the glyphs of first .. last,
// each row after row from the top, one byte per dot, 0 lit and 1 unlit.
struct TGlyphFile {
    int Cols = 0;
    int Rows = 0;
    int First = 0;
    int Last = 0;
    // The glyphs of First .. Last, Cols x Rows bytes each, 1 = lit (the
    // file's sense inverted).
    std::vector<uint8_t> Dots;
};

// Reads a glyph file. False for a file that cannot be read, whose glyphs
// cannot be held in memory, or that lies outside the format: shorter than
// its header or its glyphs, columns or rows below 1, codes outside 0 .. 255
// or first above last, a dot byte other than 0 or 1. Result is left
// untouched then.
bool ReadGlyphFile(const std::string &FileName, TGlyphFile &Result);

class TLCDLabel : public TGraphicControl {
public:
    explicit TLCDLabel(TComponent *AOwner);
    ~TLCDLabel() override;
    const char *ClassName() const override { return "TLCDLabel"; }

    // At most 255 characters, one byte each; a longer text is cut. Reading
    // copies the text into TextBuffer, as drawing uses the buffer.
    std::string Caption() const;
    void SetCaption(const std::string &Value);
    TDotMatrix DotMatrix() const { return FDotMatrix; }
    // Always acts; CustomFont loads filename and falls back when that fails.
    void SetDotMatrix(TDotMatrix Value);
    const T_FileName &filename() const { return FFileName; }
    // Always reloads: stores the name and switches to CustomFont.
    void Setfilename(const T_FileName &Value);

    TPixelSize PixelSize() const { return FPixelSize; }
    void SetPixelSize(TPixelSize Value);
    int PixelWidth() const { return FCells.PixelWidth; }
    void SetPixelWidth(int Value);
    int PixelHeight() const { return FCells.PixelHeight; }
    void SetPixelHeight(int Value);
    int PixelSpacing() const { return FPixelSpacing; }
    void SetPixelSpacing(int Value);
    TPixelShape PixelShape() const { return FPixelShape; }
    void SetPixelShape(TPixelShape Value);
    int CharSpacing() const { return FCharSpacing; }
    void SetCharSpacing(int Value);
    int LineSpacing() const { return FLineSpacing; }
    void SetLineSpacing(int Value);
    int BorderSpace() const { return FBorderSpace; }
    void SetBorderSpace(int Value);
    int TextLines() const { return FCells.TextLines; }
    void SetTextLines(int Value);
    int NoOfChars() const { return FCells.NoOfChars; }
    void SetNoOfChars(int Value);
    TColor BackGround() const { return FBackGround; }
    void SetBackGround(TColor Value);
    TMyBorder BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TMyBorder Value);
    TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor Value);
    TColor PixelOn() const { return FPixelOn; }
    void SetPixelOn(TColor Value);
    TColor PixelOff() const { return FPixelOff; }
    void SetPixelOff(TColor Value);

    // Derived state.
    TColor DimColor() const { return FDimColor; }
    int DotWidth() const { return FCells.DotWidth; }
    int DotHeight() const { return FCells.DotHeight; }
    int GlyphCols() const { return FCells.GlyphCols; }
    int GlyphRows() const { return FCells.GlyphRows; }
    int CellWidth() const { return FCells.CellWidth; }
    int CellHeight() const { return FCells.CellHeight; }
    int FirstChar() const { return FCells.FirstChar; }
    int LastChar() const { return FCells.LastChar; }
    int LastWidth() const { return FCells.LastWidth; }
    int LastHeight() const { return FCells.LastHeight; }
    // The caption as drawn: 256 bytes, NUL-terminated.
    const char *TextBuffer() const { return FTextBuffer; }

    // Loads a glyph file as the custom glyph set; false (custom set and range
    // unchanged) when the file is refused.
    bool LoadCustomFont(const std::string &FileName);

    // A size from outside is taken in at the next paint; a label left with
    // no area gets none, so it is refitted to its cells at once.
    void WMSize(int ClientWidth, int ClientHeight) override;

protected:
    void Paint() override;

private:
    void CalcDimColor();
    void FillTextBuffer() const;
    void SetCharRange();
    // Everything the cells decide, with the four properties that a refit or
    // a fixed dot size rewrites, so that a failed change puts back one value.
    struct TCells {
        int NoOfChars = 10;
        int TextLines = 1;
        int PixelWidth = 2, PixelHeight = 2;
        int DotWidth = 0, DotHeight = 0;
        int GlyphCols = 5, GlyphRows = 7;
        int CellWidth = 0, CellHeight = 0;
        int FirstChar = 32, LastChar = 126;
        int LastWidth = 0, LastHeight = 0;
    };
    // The cells and the size they make, worked out from the properties
    // (refitting the cells to the label's size when FitToSize) before
    // anything is kept: a size that cannot be made raises EOutOfResources
    // with the label untouched.
    TCells Measured(bool FitToSize) const;
    // Keeps Cells and sizes the label to them.
    void Commit(const TCells &Cells);
    void DrawCells(TCanvas *Target);
    void DrawGlyph(TCanvas *Target, int X, int Y, int Code);
    bool GlyphDotLit(int Code, int Row, int Col) const;
    // Change, or the error message box when Value is below Lowest.
    void ChangeAtLeast(int &Field, int Value, int Lowest, const char *Message);
    // Stores Value and repaints, unless it is the stored value already.
    template <class T> void Change(T &Field, T Value);
    // Makes a change (Do) and repaints. A size the change needs that cannot
    // be made raises EOutOfResources with the change undone (Undone) and the
    // cells and size as they were.
    template <class Apply, class Undo> void ChangeOrUndo(Apply &&Do, Undo &&Undone);

    TDotMatrix FDotMatrix = mat5x7;
    TPixelSize FPixelSize = pix2x2;
    int FPixelSpacing = 1;
    TPixelShape FPixelShape = spSquare;
    int FCharSpacing = 2;
    int FLineSpacing = 2;
    int FBorderSpace = 3;
    TColor FBackGround = 0xC0C0C0;
    TMyBorder FBorderStyle = frLowered;
    TColor FBorderColor = 0x000000;
    TColor FPixelOn = 0x000000;
    TColor FPixelOff = 0xAAAAAA;
    T_FileName FFileName;

    TColor FDimColor = 0;
    TCells FCells;
    mutable char FTextBuffer[256] = {};
    TGlyphFile FCustom;
};
