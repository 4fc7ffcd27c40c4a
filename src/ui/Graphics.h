#pragma once
// The class library's graphics on a pixel buffer, with the drawing rules of
// the classic Windows graphics device: no antialiasing, lines leave out their
// end pixel, rectangles and ellipses leave out their right and bottom edge,
// raster operations work bit by bit on 24-bit colours.
//
// Every canvas draws onto a TBitmap: a 24-bit image whose rows are runs of
// blue, green, red bytes. Controls keep such a bitmap as their backing store
// (Controls.h).

#include "Classes.h"

#include <QFont>
#include <QImage>
#include <QRegion>

#include <cstdint>
#include <string>
#include <vector>

// ---------------------------------------------------------------- colours

// $00BBGGRR; values from $80000000 up name system colours by their low byte.
using TColor = int32_t;

constexpr TColor TColorOf(uint32_t Value)
{
    return static_cast<TColor>(Value);
}

constexpr TColor clSystemColor = TColorOf(0x80000000);
constexpr TColor clScrollBar = TColorOf(0x80000000);
constexpr TColor clBackground = TColorOf(0x80000001);
constexpr TColor clActiveCaption = TColorOf(0x80000002);
constexpr TColor clInactiveCaption = TColorOf(0x80000003);
constexpr TColor clMenu = TColorOf(0x80000004);
constexpr TColor clWindow = TColorOf(0x80000005);
constexpr TColor clWindowFrame = TColorOf(0x80000006);
constexpr TColor clMenuText = TColorOf(0x80000007);
constexpr TColor clWindowText = TColorOf(0x80000008);
constexpr TColor clCaptionText = TColorOf(0x80000009);
constexpr TColor clActiveBorder = TColorOf(0x8000000A);
constexpr TColor clInactiveBorder = TColorOf(0x8000000B);
constexpr TColor clAppWorkSpace = TColorOf(0x8000000C);
constexpr TColor clHighlight = TColorOf(0x8000000D);
constexpr TColor clHighlightText = TColorOf(0x8000000E);
constexpr TColor clBtnFace = TColorOf(0x8000000F);
constexpr TColor clBtnShadow = TColorOf(0x80000010);
constexpr TColor clGrayText = TColorOf(0x80000011);
constexpr TColor clBtnText = TColorOf(0x80000012);
constexpr TColor clInactiveCaptionText = TColorOf(0x80000013);
constexpr TColor clBtnHighlight = TColorOf(0x80000014);
constexpr TColor cl3DDkShadow = TColorOf(0x80000015);
constexpr TColor cl3DLight = TColorOf(0x80000016);
constexpr TColor clInfoText = TColorOf(0x80000017);
constexpr TColor clInfoBk = TColorOf(0x80000018);
constexpr TColor clHotLight = TColorOf(0x8000001A);
constexpr TColor clGradientActiveCaption = TColorOf(0x8000001B);
constexpr TColor clGradientInactiveCaption = TColorOf(0x8000001C);
constexpr TColor clMenuHighlight = TColorOf(0x8000001D);
constexpr TColor clMenuBar = TColorOf(0x8000001E);

constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clOlive = 0x008080;
constexpr TColor clNavy = 0x800000;
constexpr TColor clPurple = 0x800080;
constexpr TColor clTeal = 0x808000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clLtGray = 0xC0C0C0;
constexpr TColor clDkGray = 0x808080;
constexpr TColor clMoneyGreen = 0xC0DCC0;
constexpr TColor clSkyBlue = 0xF0CAA6;
constexpr TColor clCream = 0xF0FBFF;
constexpr TColor clMedGray = 0xA4A0A0;
constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clDefault = 0x20000000;

// The classic Windows scheme's colour for a system colour index (0 .. 30);
// black for an index without one.
TColor GetSysColor(int Index);
// A system colour becomes its RGB value; any other colour is returned as it is.
TColor ColorToRGB(TColor Color);
inline TColor ResolveColor(TColor Color)
{
    return ColorToRGB(Color);
}

constexpr TColor RGB(int R, int G, int B)
{
    return (R & 0xFF) | ((G & 0xFF) << 8) | ((B & 0xFF) << 16);
}
constexpr uint8_t GetRValue(TColor C)
{
    return static_cast<uint8_t>(C & 0xFF);
}
constexpr uint8_t GetGValue(TColor C)
{
    return static_cast<uint8_t>((C >> 8) & 0xFF);
}
constexpr uint8_t GetBValue(TColor C)
{
    return static_cast<uint8_t>((C >> 16) & 0xFF);
}

// ---------------------------------------------------------------- geometry

struct TPoint {
    int X = 0;
    int Y = 0;
    friend bool operator==(const TPoint &, const TPoint &) = default;
};

struct TSize {
    int cx = 0;
    int cy = 0;
    friend bool operator==(const TSize &, const TSize &) = default;
};

// Right and Bottom are exclusive.
struct TRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    TPoint TopLeft() const { return {Left, Top}; }
    TPoint BottomRight() const { return {Right, Bottom}; }
    bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
    bool Contains(int X, int Y) const { return X >= Left && X < Right && Y >= Top && Y < Bottom; }
    friend bool operator==(const TRect &, const TRect &) = default;
};

inline TPoint Point(int X, int Y)
{
    return {X, Y};
}
inline TRect Rect(int Left, int Top, int Right, int Bottom)
{
    return {Left, Top, Right, Bottom};
}
inline TRect Bounds(int Left, int Top, int Width, int Height)
{
    return {Left, Top, Left + Width, Top + Height};
}
inline void OffsetRect(TRect &R, int DX, int DY)
{
    R.Left += DX;
    R.Right += DX;
    R.Top += DY;
    R.Bottom += DY;
}
inline void InflateRect(TRect &R, int DX, int DY)
{
    R.Left -= DX;
    R.Right += DX;
    R.Top -= DY;
    R.Bottom += DY;
}
inline bool PtInRect(const TRect &R, TPoint P)
{
    return R.Contains(P.X, P.Y);
}
// The common part of A and B; false (and an empty Result) when they do not meet.
bool IntersectRect(TRect &Result, const TRect &A, const TRect &B);

// ---------------------------------------------------------------- regions

enum : int { ALTERNATE = 1, WINDING = 2 };
enum : int { RGN_AND = 1, RGN_OR = 2, RGN_XOR = 3, RGN_DIFF = 4, RGN_COPY = 5 };
enum : int { RGNERROR = 0, NULLREGION = 1, SIMPLEREGION = 2, COMPLEXREGION = 3 };

// A set of pixels, as the platform's regions: a rectangle region covers
// Left .. Right - 1; a polygon region the pixels whose centres lie inside
// the polygon; an elliptic region the pixels whose centres lie inside the
// ellipse inscribed in its box. A value type.
class TRegion {
public:
    TRegion() = default;
    explicit TRegion(const QRegion &Region) : FRegion(Region) {}

    bool Contains(int X, int Y) const { return FRegion.contains(QPoint(X, Y)); }
    bool IsEmpty() const { return FRegion.isEmpty(); }
    TRect Bounds() const;
    void Offset(int DX, int DY) { FRegion.translate(DX, DY); }
    const QRegion &ToQRegion() const { return FRegion; }
    friend bool operator==(const TRegion &A, const TRegion &B) { return A.FRegion == B.FRegion; }

private:
    QRegion FRegion;
};

TRegion CreateRectRgn(int Left, int Top, int Right, int Bottom);
// FillMode ALTERNATE (even-odd) or WINDING (non-zero).
TRegion CreatePolygonRgn(const std::vector<TPoint> &Points, int FillMode = ALTERNATE);
TRegion CreateEllipticRgn(int Left, int Top, int Right, int Bottom);
// Dest := A op B; returns NULLREGION, SIMPLEREGION or COMPLEXREGION.
int CombineRgn(TRegion &Dest, const TRegion &A, const TRegion &B, int Mode);
inline bool PtInRegion(const TRegion &Region, int X, int Y)
{
    return Region.Contains(X, Y);
}
inline void OffsetRgn(TRegion &Region, int DX, int DY)
{
    Region.Offset(DX, DY);
}

// ---------------------------------------------------------------- pens, brushes, fonts

enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
enum TPenMode {
    pmBlack,
    pmWhite,
    pmNop,
    pmNot,
    pmCopy,
    pmNotCopy,
    pmMergePenNot,
    pmMaskPenNot,
    pmMergeNotPen,
    pmMaskNotPen,
    pmMerge,
    pmNotMerge,
    pmMask,
    pmNotMask,
    pmXor,
    pmNotXor
};
enum TBrushStyle { bsSolid, bsClear };

// A drawing attribute whose changes reach its owner through OnChange.
class TGraphicsObject : public TPersistent {
public:
    TNotifyEvent OnChange;

protected:
    void Changed()
    {
        if (OnChange)
            OnChange(this);
    }
    // Stores Value and notifies, unless it is the stored value already.
    template <class T> void Update(T &Field, const T &Value)
    {
        if (Field != Value) {
            Field = Value;
            Changed();
        }
    }
};

class TPen : public TGraphicsObject {
public:
    const char *ClassName() const override { return "TPen"; }
    void Assign(const TPersistent *Source) override;

    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    // Width below 1 counts as 1.
    int Width() const { return FWidth; }
    void SetWidth(int Value);
    TPenStyle Style() const { return FStyle; }
    void SetStyle(TPenStyle Value);
    TPenMode Mode() const { return FMode; }
    void SetMode(TPenMode Value);

private:
    TColor FColor = clBlack;
    int FWidth = 1;
    TPenStyle FStyle = psSolid;
    TPenMode FMode = pmCopy;
};

class TBrush : public TGraphicsObject {
public:
    const char *ClassName() const override { return "TBrush"; }
    void Assign(const TPersistent *Source) override;

    TColor Color() const { return FColor; }
    // Setting a colour makes a clear brush solid, as the class library does.
    void SetColor(TColor Value);
    TBrushStyle Style() const { return FStyle; }
    void SetStyle(TBrushStyle Value);

private:
    TColor FColor = clWhite;
    TBrushStyle FStyle = bsSolid;
};

enum TFontStyle : unsigned { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using TFontStyles = unsigned;
enum TFontCharset : uint8_t { ANSI_CHARSET = 0, DEFAULT_CHARSET = 1, SYMBOL_CHARSET = 2 };

// The installed family that draws a face of the window resources: one with
// the same widths where installed (MS Sans Serif and Tahoma from
// fonts-wine, Liberation Sans, Mono and Serif for Arial, Courier New and
// Times New Roman), DejaVu Sans for Verdana, and DejaVu as the last resort,
// with one warning on standard error. Other names go by their kind.
// PixelHeight is the character height asked for (0: not known), which
// matters for faces installed at one size only.
QString FontFamilyFor(const std::string &Name, int PixelHeight = 11, bool Bold = false,
                      bool Italic = false);

// Name, size and style of text. Size is in points at 96 pixels per inch;
// Height is the class library's: negative for the character height in
// pixels, positive for the cell height. Drawn in FontFamilyFor(Name).
class TFont : public TGraphicsObject {
public:
    static constexpr int PixelsPerInch = 96;

    const char *ClassName() const override { return "TFont"; }
    void Assign(const TPersistent *Source) override;

    const std::string &Name() const { return FName; }
    void SetName(const std::string &Value);
    int Size() const;
    void SetSize(int Value);
    int Height() const { return FHeight; }
    void SetHeight(int Value);
    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    TFontStyles Style() const { return FStyle; }
    void SetStyle(TFontStyles Value);
    // Escapement in tenths of a degree, counter-clockwise on the screen.
    int Orientation() const { return FOrientation; }
    void SetOrientation(int Value);
    TFontCharset Charset() const { return FCharset; }
    void SetCharset(TFontCharset Value);

    // The Qt font that draws this one: stand-in face, pixel size, no antialiasing.
    QFont ToQFont() const;

private:
    QFont BuildQFont() const;
    mutable QFont FQFont;
    mutable bool FQFontValid = false;
    std::string FName = "MS Sans Serif";
    int FHeight = -11;
    TColor FColor = clWindowText;
    TFontStyles FStyle = 0;
    int FOrientation = 0;
    TFontCharset FCharset = DEFAULT_CHARSET;
};

// ---------------------------------------------------------------- canvas

// Raster operations of BitBlt and CopyMode (ternary: pattern, source, destination).
enum : uint32_t {
    SRCCOPY = 0x00CC0020,
    SRCPAINT = 0x00EE0086,
    SRCAND = 0x008800C6,
    SRCINVERT = 0x00660046,
    SRCERASE = 0x00440328,
    NOTSRCCOPY = 0x00330008,
    NOTSRCERASE = 0x001100A6,
    MERGECOPY = 0x00C000CA,
    MERGEPAINT = 0x00BB0226,
    PATCOPY = 0x00F00021,
    PATPAINT = 0x00FB0A09,
    PATINVERT = 0x005A0049,
    DSTINVERT = 0x00550009,
    BLACKNESS = 0x00000042,
    WHITENESS = 0x00FF0062,
};
using TCopyMode = uint32_t;
constexpr TCopyMode cmSrcCopy = SRCCOPY;
constexpr TCopyMode cmSrcInvert = SRCINVERT;
constexpr TCopyMode cmSrcAnd = SRCAND;
constexpr TCopyMode cmSrcPaint = SRCPAINT;
constexpr TCopyMode cmBlackness = BLACKNESS;
constexpr TCopyMode cmWhiteness = WHITENESS;

// DrawText format flags.
enum : unsigned {
    DT_TOP = 0x0,
    DT_LEFT = 0x0,
    DT_CENTER = 0x1,
    DT_RIGHT = 0x2,
    DT_VCENTER = 0x4,
    DT_BOTTOM = 0x8,
    DT_WORDBREAK = 0x10,
    DT_SINGLELINE = 0x20,
    DT_EXPANDTABS = 0x40,
    DT_NOCLIP = 0x100,
    DT_CALCRECT = 0x400,
    DT_NOPREFIX = 0x800,
    DT_END_ELLIPSIS = 0x8000,
    DT_RTLREADING = 0x20000,
};

enum TBkMode : int { TRANSPARENT = 1, OPAQUE = 2 };

// A picture the system cannot make (a bitmap whose pixels cannot be had).
class EOutOfResources : public Exception {
public:
    EOutOfResources() : Exception("Out of system resources") {}
};

class TBitmap;

// Drawing onto a bitmap. The text colour follows the font's colour and the
// background colour and mode follow the brush (a clear brush draws text
// transparently) each time those change; SetTextColor and SetBkColor
// override them until the next change.
class TCanvas : public TPersistent {
public:
    explicit TCanvas(TBitmap *Target);
    ~TCanvas() override;
    TCanvas(const TCanvas &) = delete;
    TCanvas &operator=(const TCanvas &) = delete;
    const char *ClassName() const override { return "TCanvas"; }

    TPen *Pen() { return &FPen; }
    TBrush *Brush() { return &FBrush; }
    TFont *Font() { return &FFont; }
    TBitmap *Bitmap() const { return FTarget; }
    TCopyMode CopyMode() const { return FCopyMode; }
    void SetCopyMode(TCopyMode Value) { FCopyMode = Value; }
    // Runs after each drawing operation (not after ScanLine writes).
    TNotifyEvent OnChange;

    // Device-context state.
    void SetTextColor(TColor Color) { FTextColor = ColorToRGB(Color); }
    void SetBkColor(TColor Color) { FBkColor = ColorToRGB(Color); }
    void SetBkMode(TBkMode Mode) { FBkMode = Mode; }
    TColor TextColor() const { return FTextColor; }
    TColor BkColor() const { return FBkColor; }

    // Pixels. Reading outside the bitmap gives -1; writing there does nothing.
    TColor Pixels(int X, int Y) const;
    void SetPixels(int X, int Y, TColor Color);

    // Lines with the pen: LineTo draws from the pen position up to, not
    // including, (X, Y), and moves the pen there. Wide pens draw round ends
    // and include the end point.
    TPoint PenPos() const { return FPenPos; }
    void MoveTo(int X, int Y);
    void LineTo(int X, int Y);
    // Lines through the points; the last point is left out.
    void Polyline(const std::vector<TPoint> &Points);

    // Filled shapes: interior in the brush, outline in the pen; the right and
    // bottom edge of the box are left out. With a clear pen the shape is one
    // pixel smaller on the right and bottom.
    void Rectangle(int Left, int Top, int Right, int Bottom);
    void Rectangle(const TRect &R) { Rectangle(R.Left, R.Top, R.Right, R.Bottom); }
    // Rounded corners from an ellipse of CornerWidth x CornerHeight.
    void RoundRect(int Left, int Top, int Right, int Bottom, int CornerWidth, int CornerHeight);
    void Ellipse(int Left, int Top, int Right, int Bottom);
    void Ellipse(const TRect &R) { Ellipse(R.Left, R.Top, R.Right, R.Bottom); }
    // Closed polygon: interior by FillMode, outline through every point.
    void Polygon(const std::vector<TPoint> &Points, int FillMode = ALTERNATE);

    // Brush-only fills and frames (no pen, pen mode ignored).
    void FillRect(const TRect &R);
    void FrameRect(const TRect &R);
    void FillRgn(const TRegion &Region, TColor Color);
    // Inverts every second pixel of the frame of R (by the parity of x + y);
    // drawing it twice restores the pixels.
    void DrawFocusRect(const TRect &R);

    // Text with the font, its top-left at (X, Y); rotated about that point by
    // the font's Orientation. The background is filled in the background
    // colour unless the mode is transparent.
    void TextOut(int X, int Y, const std::string &Text);
    // TextOut clipped to R; an opaque background fills all of R.
    void TextRect(const TRect &R, int X, int Y, const std::string &Text);
    TSize TextExtent(const std::string &Text);
    int TextWidth(const std::string &Text) { return TextExtent(Text).cx; }
    int TextHeight(const std::string &Text) { return TextExtent(Text).cy; }
    // The platform's DrawText: lines, word breaks, alignment, end ellipsis
    // and '&' accelerators (underlined; "&&" is a literal '&') unless
    // DT_NOPREFIX. With DT_CALCRECT nothing is drawn and R's Right and Bottom
    // are set to bound the text. Returns the height of the text.
    int DrawText(const std::string &Text, TRect &R, unsigned Flags);

    // Bitmaps through CopyMode; a Transparent bitmap is copied without the
    // pixels of its transparent colour instead.
    void Draw(int X, int Y, TBitmap *Source);
    // Draw scaled to R (nearest pixel).
    void StretchDraw(const TRect &R, TBitmap *Source);
    // Copies (scaling) SourceRect of Source into R with CopyMode.
    void CopyRect(const TRect &R, TCanvas *Source, const TRect &SourceRect);
    // Copies SourceRect of Source into R leaving out the pixels of
    // TransparentColor, as the class library's BrushCopy with a clear brush.
    void BrushCopy(const TRect &R, TBitmap *Source, const TRect &SourceRect,
                   TColor TransparentColor);

    // Clipping: every drawing operation stays inside the region; none clips
    // to the bitmap only.
    void SelectClipRgn(const TRegion *Region);
    TRect ClipRect() const;

    // Canvas locking of the class library; a no-op here (one GUI thread).
    void Lock() {}
    void Unlock() {}

    // Where a pixel may be written; null when clipping is off.
    const QRegion *ClipRegion() const { return FHasClip ? &FClip : nullptr; }
    void Changed();

private:
    friend bool BitBlt(TCanvas *, int, int, int, int, TCanvas *, int, int, uint32_t);
    friend bool PatBlt(TCanvas *, int, int, int, int, uint32_t);
    struct TTextLine;
    void PlotSpan(int Y, int X0, int X1, TColor Color, TPenMode Mode);
    void PlotPixel(int X, int Y, TColor Color, TPenMode Mode);
    void PenLine(int X0, int Y0, int X1, int Y1, bool IncludeEnd);
    void FillMask(const TRect &Box, const std::vector<uint8_t> &Inside, TColor Color);
    void DrawTextLine(int X, int Y, const std::string &Text, int AccelIndex, const QRegion &Clip,
                      bool Opaque);
    QRegion EffectiveClip() const;

    TBitmap *FTarget;
    TPen FPen;
    TBrush FBrush;
    TFont FFont;
    TPoint FPenPos;
    TCopyMode FCopyMode = cmSrcCopy;
    TColor FTextColor = 0;
    TColor FBkColor = clWhite;
    TBkMode FBkMode = OPAQUE;
    bool FHasClip = false;
    QRegion FClip;
    int FPenPhase = 0;
};

// Copies W x H pixels from (XSrc, YSrc) of Source to (X, Y) of Dest with a
// ternary raster operation; the pattern is Dest's brush colour. A monochrome
// source puts Dest's background colour for its white and the text colour for
// its black pixels; a monochrome destination takes white where the source has
// Source's background colour and black elsewhere. Source may be Dest or null
// for operations without a source.
bool BitBlt(TCanvas *Dest, int X, int Y, int W, int H, TCanvas *Source, int XSrc, int YSrc,
            uint32_t Rop);
bool PatBlt(TCanvas *Dest, int X, int Y, int W, int H, uint32_t Rop);
// The bitwise result of a ternary raster operation on 24-bit values.
TColor ApplyRop3(uint32_t Rop, TColor Pattern, TColor Source, TColor Dest);

// ---------------------------------------------------------------- bitmap

enum TPixelFormat { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit };
enum TTransparentMode { tmAuto, tmFixed };

// A bitmap of 24-bit pixels: ScanLine(y) points at Width runs of blue, green,
// red bytes (rows are padded to four bytes). A monochrome bitmap (pf1bit) has
// the same layout and holds only black and white. Growing a bitmap keeps its
// pixels and fills the new area with its canvas's brush colour.
class TBitmap : public TPersistent {
public:
    TBitmap();
    ~TBitmap() override;
    TBitmap(const TBitmap &) = delete;
    TBitmap &operator=(const TBitmap &) = delete;
    const char *ClassName() const override { return "TBitmap"; }
    // Copies the picture and the transparency settings of another bitmap;
    // null empties this one.
    void Assign(const TPersistent *Source) override;

    // Width and height are kept apart: a bitmap given only a height keeps it
    // (and has no pixels) until it gets a width.
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    void SetWidth(int Value) { SetSize(Value, Height()); }
    void SetHeight(int Value) { SetSize(Width(), Value); }
    // Raises EOutOfResources, the bitmap unchanged, when the pixels cannot
    // be had.
    void SetSize(int Width, int Height);
    bool Empty() const { return Width() == 0 || Height() == 0; }

    TPixelFormat PixelFormat() const { return FPixelFormat; }
    // pf1bit makes the bitmap monochrome (pixels become black or white by
    // brightness); every other format keeps 24-bit pixels.
    void SetPixelFormat(TPixelFormat Value);
    bool Monochrome() const { return FPixelFormat == pf1bit; }
    void SetMonochrome(bool Value) { SetPixelFormat(Value ? pf1bit : pf24bit); }

    // Row Y, top first; null outside the bitmap.
    uint8_t *ScanLine(int Y);
    const uint8_t *ScanLine(int Y) const;

    TCanvas *Canvas() { return FCanvas; }

    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool Value);
    // tmAuto: the bottom-left pixel; tmFixed: the colour set last.
    TColor TransparentColor() const;
    void SetTransparentColor(TColor Value);
    TTransparentMode TransparentMode() const { return FTransparentMode; }
    void SetTransparentMode(TTransparentMode Value);

    // Windows bitmap files and the other formats Qt reads; raises EInOutError.
    void LoadFromFile(const std::string &FileName);
    void SaveToFile(const std::string &FileName) const;

    // Runs when the picture or its settings change (Assign, size, drawing).
    TNotifyEvent OnChange;
    void Changed();

    QImage &Image() { return FImage; }
    const QImage &Image() const { return FImage; }
    // Takes the picture of Image, converted to 24 bits.
    void SetImage(const QImage &Image);

private:
    QImage FImage;
    int FWidth = 0;
    int FHeight = 0;
    TCanvas *FCanvas;
    TPixelFormat FPixelFormat = pfDevice;
    bool FTransparent = false;
    TTransparentMode FTransparentMode = tmAuto;
    TColor FTransparentColor = clDefault;
};
