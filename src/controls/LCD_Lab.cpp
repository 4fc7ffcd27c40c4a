#include "LCD_Lab.h"

#include "Dialogs.h"
#include "Files.h"
#include "LCD_Glyphs.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <new>

namespace {

// A built-in glyph set, unpacked to one byte per dot (1 lit).
struct TBuiltinSet {
    int Cols;
    int Rows;
    int First;
    int Last;
    std::vector<uint8_t> Dots;
};

TBuiltinSet Unpack(const char *Picture, int Cols, int Rows, int First, int Last)
{
    TBuiltinSet set{Cols, Rows, First, Last, {}};
    set.Dots.resize(size_t(Last - First + 1) * Cols * Rows);
    for (size_t i = 0; i < set.Dots.size(); ++i)
        set.Dots[i] = Picture[i] == '#';
    return set;
}

const TBuiltinSet &BuiltinSet(TDotMatrix Matrix)
{
    static const std::array<TBuiltinSet, 7> sets = {
        Unpack(Mat5x7Glyphs, 5, 7, 32, 126),  Unpack(Mat5x8Glyphs, 5, 8, 32, 126),
        Unpack(Mat7x9Glyphs, 7, 9, 32, 126),  Unpack(Mat9x12Glyphs, 9, 12, 32, 126),
        Unpack(HitachiGlyphs, 5, 7, 32, 223), Unpack(Hitachi2Glyphs, 5, 10, 194, 223),
        Unpack(Dos5x7Glyphs, 5, 7, 0, 255),
    };
    return sets[Matrix];
}

// The Hitachi2 set shows the Hitachi glyphs in its upper seven rows below
// code 194 and has a table of its own from there on.
constexpr int Hitachi2OwnFirst = 194;

int32_t LittleEndian(const uint8_t *Bytes)
{
    return int32_t(uint32_t(Bytes[0]) | uint32_t(Bytes[1]) << 8 | uint32_t(Bytes[2]) << 16 |
                   uint32_t(Bytes[3]) << 24);
}

} // namespace

bool ReadGlyphFile(const std::string &FileName, TGlyphFile &Result)
{
    // The file is read whole first: a FIFO or device never holds up the label.
    // The header tells how much of it is the font; memory follows what the
    // file holds, never what the header claims.
    std::string header;
    if (!ReadRegularFile(FileName, header, 16) || header.size() < 16)
        return false;
    const auto *head = reinterpret_cast<const uint8_t *>(header.data());
    TGlyphFile glyphs;
    glyphs.Cols = LittleEndian(head);
    glyphs.Rows = LittleEndian(head + 4);
    glyphs.First = LittleEndian(head + 8);
    glyphs.Last = LittleEndian(head + 12);
    if (glyphs.Cols < 1 || glyphs.Rows < 1)
        return false;
    if (glyphs.First < 0 || glyphs.First > glyphs.Last || glyphs.Last > 255)
        return false;
    size_t glyphSize, dots, fileSize;
    if (__builtin_mul_overflow(size_t(glyphs.Cols), size_t(glyphs.Rows), &glyphSize) ||
        __builtin_mul_overflow(glyphSize, size_t(glyphs.Last - glyphs.First + 1), &dots) ||
        __builtin_add_overflow(dots, size_t(16), &fileSize))
        return false;
    try {
        std::string bytes;
        if (!ReadRegularFile(FileName, bytes, fileSize) || bytes.size() < fileSize)
            return false;
        glyphs.Dots.resize(dots);
        for (size_t i = 0; i < dots; ++i) {
            const uint8_t dot = uint8_t(bytes[16 + i]);
            if (dot > 1)
                return false;
            glyphs.Dots[i] = dot == 0;
        }
    } catch (const std::bad_alloc &) {
        return false; // glyph memory that cannot be had
    }
    Result = std::move(glyphs);
    return true;
}

// ---------------------------------------------------------------- TLCDLabel

TLCDLabel::TLCDLabel(TComponent *AOwner) : TGraphicControl(AOwner)
{
    // The paint covers the whole control, so nothing is erased beneath it.
    SetControlStyle(ControlStyle() | csOpaque);
    CalcDimColor();
    Commit(Measured(false));
}

TLCDLabel::~TLCDLabel() = default;

std::string TLCDLabel::Caption() const
{
    FillTextBuffer();
    return TControl::Caption();
}

void TLCDLabel::FillTextBuffer() const
{
    const std::string &text = TControl::Caption();
    std::memset(FTextBuffer, 0, sizeof FTextBuffer);
    std::memcpy(FTextBuffer, text.data(), std::min(text.size(), sizeof FTextBuffer - 1));
}

void TLCDLabel::SetCaption(const std::string &Value)
{
    const std::string text = Value.substr(0, sizeof FTextBuffer - 1);
    if (text == TControl::Caption())
        return;
    TControl::SetCaption(text);
    FillTextBuffer();
    Repaint();
}

void TLCDLabel::SetDotMatrix(TDotMatrix Value)
{
    const TDotMatrix before = FDotMatrix;
    TGlyphFile custom = FCustom;
    ChangeOrUndo(
        [&] {
            TDotMatrix old = FDotMatrix == CustomFont ? mat5x7 : FDotMatrix;
            FDotMatrix = Value;
            if (Value == CustomFont) {
                if (FFileName.empty()) {
                    FDotMatrix = old;
                } else {
                    FCustom = TGlyphFile();
                    if (!LoadCustomFont(FFileName))
                        FDotMatrix = old;
                }
            }
        },
        [&] {
            FDotMatrix = before;
            FCustom = std::move(custom);
        });
}

void TLCDLabel::Setfilename(const T_FileName &Value)
{
    const T_FileName before = FFileName;
    FFileName = Value;
    try {
        SetDotMatrix(CustomFont);
    } catch (...) {
        FFileName = before;
        throw;
    }
    Repaint();
}

bool TLCDLabel::LoadCustomFont(const std::string &FileName)
{
    if (!ReadGlyphFile(FileName, FCustom))
        return false;
    FCells.GlyphCols = FCustom.Cols;
    FCells.GlyphRows = FCustom.Rows;
    FCells.FirstChar = FCustom.First;
    FCells.LastChar = FCustom.Last;
    return true;
}

void TLCDLabel::ChangeAtLeast(int &Field, int Value, int Lowest, const char *Message)
{
    if (Value < Lowest)
        Dialogs().MessageBox(Message, "Error", MB_OK | MB_ICONERROR);
    else
        Change(Field, Value);
}

template <class T> void TLCDLabel::Change(T &Field, T Value)
{
    if (Field == Value)
        return;
    const T old = Field;
    ChangeOrUndo([&] { Field = Value; }, [&] { Field = old; });
}

template <class Apply, class Undo> void TLCDLabel::ChangeOrUndo(Apply &&Do, Undo &&Undone)
{
    const TCells cells = FCells;
    const int width = Width(), height = Height();
    try {
        Do();
        Repaint();
    } catch (...) {
        Undone();
        FCells = cells;
        SetBounds(Left(), Top(), width, height);
        throw;
    }
}

void TLCDLabel::SetPixelSize(TPixelSize Value)
{
    Change(FPixelSize, Value);
}

void TLCDLabel::SetPixelWidth(int Value)
{
    if (FPixelSize != pixCustom || Value == FCells.PixelWidth)
        return;
    ChangeAtLeast(FCells.PixelWidth, Value, 1, "Display pixel width must be 1 or greater!");
}

void TLCDLabel::SetPixelHeight(int Value)
{
    if (FPixelSize != pixCustom || Value == FCells.PixelHeight)
        return;
    ChangeAtLeast(FCells.PixelHeight, Value, 1, "Display pixel height must be 1 or greate!");
}

void TLCDLabel::SetPixelSpacing(int Value)
{
    ChangeAtLeast(FPixelSpacing, Value, 0, "Pixel spacing can't be less than zero!");
}

void TLCDLabel::SetPixelShape(TPixelShape Value)
{
    Change(FPixelShape, Value);
}

void TLCDLabel::SetCharSpacing(int Value)
{
    ChangeAtLeast(FCharSpacing, Value, 0, "Character spacing can't be less than zero!");
}

void TLCDLabel::SetLineSpacing(int Value)
{
    ChangeAtLeast(FLineSpacing, Value, 0, "Line spacing can't be less than zero!");
}

void TLCDLabel::SetBorderSpace(int Value)
{
    ChangeAtLeast(FBorderSpace, Value, 0, "Border spacing can't be less than zero!");
}

void TLCDLabel::SetTextLines(int Value)
{
    ChangeAtLeast(FCells.TextLines, Value, 1, "Display needs at least on line!");
}

void TLCDLabel::SetNoOfChars(int Value)
{
    ChangeAtLeast(FCells.NoOfChars, Value, 1, "Display needs at least one character!");
}

void TLCDLabel::SetBackGround(TColor Value)
{
    Change(FBackGround, Value);
}
void TLCDLabel::SetBorderStyle(TMyBorder Value)
{
    Change(FBorderStyle, Value);
}
void TLCDLabel::SetBorderColor(TColor Value)
{
    Change(FBorderColor, Value);
}
void TLCDLabel::SetPixelOff(TColor Value)
{
    Change(FPixelOff, Value);
}

void TLCDLabel::SetPixelOn(TColor Value)
{
    if (Value == FPixelOn)
        return;
    const TColor old = FPixelOn;
    ChangeOrUndo(
        [&] {
            FPixelOn = Value;
            CalcDimColor();
        },
        [&] {
            FPixelOn = old;
            CalcDimColor();
        });
}

void TLCDLabel::CalcDimColor()
{
    // Works on the stored value: a system colour keeps its marker byte and
    // halves its index.
    const uint32_t on = uint32_t(FPixelOn);
    FDimColor = TColor((on & 0xFF000000u) | ((on >> 1) & 0x007F7F7Fu));
}

void TLCDLabel::SetCharRange()
{
    if (FDotMatrix == CustomFont) {
        FCells.FirstChar = FCustom.First;
        FCells.LastChar = FCustom.Last;
        return;
    }
    const TBuiltinSet &set = BuiltinSet(FDotMatrix == Hitachi2 ? Hitachi : FDotMatrix);
    FCells.FirstChar = set.First;
    FCells.LastChar = set.Last;
}

namespace {
// The largest side a label can have: the largest widget the window system
// makes. Sizes are summed in 64 bits, so no property value overflows them.
constexpr int64_t MaxLabelSide = 16777215;
// The most pixels a label's picture may have (256 MB at three bytes each):
// a glyph file of a few megabytes must not make a label of gigabytes.
constexpr int64_t MaxLabelPixels = (int64_t(256) << 20) / 3;

int64_t CheckedSide(int64_t Side)
{
    if (Side > MaxLabelSide)
        throw EOutOfResources();
    return Side;
}
} // namespace

TLCDLabel::TCells TLCDLabel::Measured(bool FitToSize) const
{
    TCells c = FCells;
    if (FPixelSize == pixCustom) {
        c.DotWidth = c.PixelWidth;
        c.DotHeight = c.PixelHeight;
    } else {
        c.DotWidth = c.DotHeight = FPixelSize + 1;
        c.PixelWidth = c.PixelHeight = c.DotWidth;
    }
    if (FDotMatrix == CustomFont) {
        c.GlyphCols = FCustom.Cols;
        c.GlyphRows = FCustom.Rows;
    } else {
        c.GlyphCols = BuiltinSet(FDotMatrix).Cols;
        c.GlyphRows = BuiltinSet(FDotMatrix).Rows;
    }
    c.CellWidth = int(
        CheckedSide(int64_t(c.GlyphCols) * c.DotWidth + int64_t(c.GlyphCols - 1) * FPixelSpacing));
    c.CellHeight = int(
        CheckedSide(int64_t(c.GlyphRows) * c.DotHeight + int64_t(c.GlyphRows - 1) * FPixelSpacing));
    if (FitToSize) {
        // The quotients are at most the size, so they fit.
        c.NoOfChars =
            int(std::max<int64_t>(1, (int64_t(Width()) + FCharSpacing - 2 * int64_t(FBorderSpace)) /
                                         (int64_t(FCharSpacing) + c.CellWidth)));
        c.TextLines = int(
            std::max<int64_t>(1, (int64_t(Height()) + FLineSpacing - 2 * int64_t(FBorderSpace)) /
                                     (int64_t(FLineSpacing) + c.CellHeight)));
    }
    c.LastWidth =
        int(CheckedSide(2 * int64_t(FBorderSpace) + int64_t(c.NoOfChars - 1) * FCharSpacing +
                        int64_t(c.NoOfChars) * c.CellWidth + 2));
    c.LastHeight =
        int(CheckedSide(2 * int64_t(FBorderSpace) + int64_t(c.TextLines - 1) * FLineSpacing +
                        int64_t(c.TextLines) * c.CellHeight + 2));
    if (int64_t(c.LastWidth) * c.LastHeight > MaxLabelPixels)
        throw EOutOfResources();
    return c;
}

void TLCDLabel::Commit(const TCells &Cells)
{
    FCells = Cells;
    SetBounds(Left(), Top(), Cells.LastWidth, Cells.LastHeight);
}

void TLCDLabel::WMSize(int ClientWidth, int ClientHeight)
{
    TGraphicControl::WMSize(ClientWidth, ClientHeight);
    if ((ClientWidth <= 0 || ClientHeight <= 0) && !IsLoading())
        Commit(Measured(true));
}

void TLCDLabel::Paint()
{
    SetCharRange();
    Commit(Measured(Width() != FCells.LastWidth || Height() != FCells.LastHeight));

    TBitmap bitmap;
    bitmap.SetPixelFormat(pf24bit);
    bitmap.SetSize(Width() + 2, Height() + 2);
    TCanvas *canvas = bitmap.Canvas();
    canvas->Pen()->SetStyle(psSolid);
    canvas->Brush()->SetStyle(bsSolid);
    if (Visible()) {
        canvas->Brush()->SetColor(FBackGround);
        const TRect face = Rect(0, 0, Width(), Height());
        canvas->FillRect(face);
        if (FBorderStyle != frNone) {
            const TColor frame = FBorderStyle == frRaised    ? clBtnShadow
                                 : FBorderStyle == frLowered ? clBtnHighlight
                                                             : FBorderColor;
            canvas->Brush()->SetColor(frame);
            canvas->FrameRect(face);
            if (FBorderStyle != frSingle) {
                canvas->Pen()->SetColor(FBorderStyle == frRaised ? clBtnHighlight : clBtnShadow);
                canvas->Polyline({Point(Width(), 0), Point(0, 0), Point(0, Height())});
            }
        }
        if (Enabled())
            DrawCells(canvas);
    } else {
        canvas->Brush()->SetColor(clBtnFace);
        canvas->FillRect(canvas->ClipRect());
    }
    BitBlt(Canvas(), 0, 0, Width(), Height(), canvas, 0, 0, SRCCOPY);
}

void TLCDLabel::DrawCells(TCanvas *Target)
{
    // In 64 bits: a spacing counts in the size only between cells, so the
    // step past the last cell may leave the 32 bits.
    int64_t x = FBorderSpace + 1;
    int64_t y = FBorderSpace + 1;
    int index = 0;
    bool ended = false;
    for (int line = 0; line < FCells.TextLines; ++line) {
        for (int cell = 0; cell < FCells.NoOfChars; ++cell) {
            // The buffer always ends in a NUL within its 256 bytes, so the
            // index never reads past it.
            ended = ended || FTextBuffer[index] == 0;
            const int code = ended ? 0 : uint8_t(FTextBuffer[index]);
            DrawGlyph(Target, int(x), int(y), std::clamp(code, FCells.FirstChar, FCells.LastChar));
            x += int64_t(FCells.CellWidth) + FCharSpacing;
            ++index;
        }
        x = FBorderSpace + 1;
        y += int64_t(FCells.CellHeight) + FLineSpacing;
    }
}

bool TLCDLabel::GlyphDotLit(int Code, int Row, int Col) const
{
    if (FDotMatrix == CustomFont)
        return FCustom.Dots[(size_t(Code - FCustom.First) * FCells.GlyphRows + Row) *
                                FCells.GlyphCols +
                            Col] != 0;
    TDotMatrix matrix = FDotMatrix;
    if (matrix == Hitachi2) {
        if (Code < Hitachi2OwnFirst) {
            if (Row >= BuiltinSet(Hitachi).Rows)
                return false;
            matrix = Hitachi;
        }
    }
    const TBuiltinSet &set = BuiltinSet(matrix);
    return set.Dots[(size_t(Code - set.First) * set.Rows + Row) * set.Cols + Col] != 0;
}

void TLCDLabel::DrawGlyph(TCanvas *Target, int X, int Y, int Code)
{
    for (int row = 0; row < FCells.GlyphRows; ++row) {
        for (int col = 0; col < FCells.GlyphCols; ++col) {
            const TColor color = GlyphDotLit(Code, row, col) ? FPixelOn : FPixelOff;
            const int x = int(X + col * (int64_t(FCells.DotWidth) + FPixelSpacing));
            const int y = int(Y + row * (int64_t(FCells.DotHeight) + FPixelSpacing));
            if (FPixelSize == pix1x1) {
                Target->SetPixels(x, y, color);
                continue;
            }
            const bool shapedOn = FPixelShape == spShaped && color == FPixelOn;
            Target->Pen()->SetColor(shapedOn ? FDimColor : color);
            Target->Brush()->SetColor(shapedOn ? FDimColor : color);
            if (FPixelShape == spRound)
                Target->Ellipse(x, y, x + FCells.DotWidth, y + FCells.DotHeight);
            else
                Target->Rectangle(x, y, x + FCells.DotWidth, y + FCells.DotHeight);
            if (shapedOn) {
                Target->Pen()->SetColor(FPixelOn);
                Target->Brush()->SetColor(FPixelOn);
                Target->Ellipse(x, y, x + FCells.DotWidth, y + FCells.DotHeight);
            }
        }
    }
}
