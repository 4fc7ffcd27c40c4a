#include "Graphics.h"

#include "Math.h"
#include "Text.h"

#include <QFile>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QPainter>
#include <QPolygon>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>
#include <tuple>

// ---------------------------------------------------------------- colours

TColor GetSysColor(int Index)
{
    // The classic ("Windows Standard") scheme.
    static const TColor table[] = {
        0xC0C0C0, 0x808000, 0x800000, 0x808080, 0xC0C0C0, 0xFFFFFF, 0x000000, 0x000000,
        0x000000, 0xFFFFFF, 0xC0C0C0, 0xC0C0C0, 0x808080, 0x800000, 0xFFFFFF, 0xC0C0C0,
        0x808080, 0x808080, 0x000000, 0xC0C0C0, 0xFFFFFF, 0x000000, 0xC0C0C0, 0x000000,
        0xE1FFFF, 0xB5B5B5, 0x800000, 0xD08410, 0xB5B5B5, 0x800000, 0xC0C0C0,
    };
    if (Index < 0 || Index >= static_cast<int>(std::size(table)))
        return 0;
    return table[Index];
}

TColor ColorToRGB(TColor Color)
{
    return Color < 0 ? GetSysColor(Color & 0xFF) : Color;
}

bool IntersectRect(TRect &Result, const TRect &A, const TRect &B)
{
    Result = {std::max(A.Left, B.Left), std::max(A.Top, B.Top), std::min(A.Right, B.Right),
              std::min(A.Bottom, B.Bottom)};
    if (Result.IsEmpty()) {
        Result = {};
        return false;
    }
    return true;
}

// ---------------------------------------------------------------- scan conversion

namespace {

QRect ToQRect(const TRect &R)
{
    return QRect(R.Left, R.Top, R.Width(), R.Height());
}

// A shape as a mask over its bounding box: one byte per pixel, 1 = inside.
struct TMask {
    TRect Box;
    std::vector<uint8_t> Inside;
    bool At(int X, int Y) const
    {
        return Box.Contains(X, Y) && Inside[(Y - Box.Top) * Box.Width() + (X - Box.Left)];
    }
};

TMask EmptyMask(const TRect &Box)
{
    TMask m;
    m.Box = Box.IsEmpty() ? TRect{} : Box;
    m.Inside.assign(static_cast<size_t>(m.Box.Width()) * m.Box.Height(), 0);
    return m;
}

// Pixel centres inside the polygon, left edges in, right edges out.
TMask PolygonMask(const std::vector<TPoint> &Points, int FillMode)
{
    if (Points.size() < 3)
        return EmptyMask({});
    TRect box{Points[0].X, Points[0].Y, Points[0].X, Points[0].Y};
    for (const TPoint &p : Points) {
        box.Left = std::min(box.Left, p.X);
        box.Top = std::min(box.Top, p.Y);
        box.Right = std::max(box.Right, p.X);
        box.Bottom = std::max(box.Bottom, p.Y);
    }
    TMask m = EmptyMask(box);
    size_t n = Points.size();
    for (int y = box.Top; y < box.Bottom; ++y) {
        double yc = y + 0.5;
        struct Crossing {
            double X;
            int Dir;
        };
        std::vector<Crossing> crossings;
        for (size_t i = 0; i < n; ++i) {
            TPoint a = Points[i], b = Points[(i + 1) % n];
            if (a.Y == b.Y)
                continue;
            int dir = b.Y > a.Y ? 1 : -1;
            if (dir < 0)
                std::swap(a, b);
            if (yc < a.Y || yc >= b.Y)
                continue;
            double x = a.X + (yc - a.Y) * (b.X - a.X) / static_cast<double>(b.Y - a.Y);
            crossings.push_back({x, dir});
        }
        std::sort(crossings.begin(), crossings.end(),
                  [](const Crossing &l, const Crossing &r) { return l.X < r.X; });
        int winding = 0;
        for (size_t i = 0; i + 1 < crossings.size(); ++i) {
            winding += crossings[i].Dir;
            bool in = FillMode == WINDING ? winding != 0 : (i % 2) == 0;
            if (!in)
                continue;
            int x0 = static_cast<int>(std::ceil(crossings[i].X - 0.5));
            int x1 = static_cast<int>(std::ceil(crossings[i + 1].X - 0.5));
            for (int x = std::max(x0, box.Left); x < std::min(x1, box.Right); ++x)
                m.Inside[(y - box.Top) * box.Width() + (x - box.Left)] = 1;
        }
    }
    return m;
}

// Pixel centres inside the ellipse inscribed in Box, or inside the rounded
// rectangle Box whose corners are quarters of a CornerW x CornerH ellipse.
TMask RoundMask(const TRect &Box, int CornerW, int CornerH)
{
    TMask m = EmptyMask(Box);
    if (m.Box.IsEmpty())
        return m;
    double a = std::min(CornerW, Box.Width()) / 2.0;
    double b = std::min(CornerH, Box.Height()) / 2.0;
    for (int y = Box.Top; y < Box.Bottom; ++y)
        for (int x = Box.Left; x < Box.Right; ++x) {
            double px = x + 0.5, py = y + 0.5;
            // Nearest corner-ellipse centre; points between the centres are
            // on the straight sides.
            double cx = std::clamp(px, Box.Left + a, Box.Right - a);
            double cy = std::clamp(py, Box.Top + b, Box.Bottom - b);
            double dx = a > 0 ? (px - cx) / a : 0, dy = b > 0 ? (py - cy) / b : 0;
            if (dx * dx + dy * dy <= 1.0)
                m.Inside[(y - Box.Top) * Box.Width() + (x - Box.Left)] = 1;
        }
    return m;
}

// Pixels of the mask within Width pixels of its outside (4-neighbourhood).
TMask Outline(const TMask &Shape, int Width)
{
    TMask inner = Shape;
    for (int pass = 0; pass < Width; ++pass) {
        TMask next = inner;
        for (int y = inner.Box.Top; y < inner.Box.Bottom; ++y)
            for (int x = inner.Box.Left; x < inner.Box.Right; ++x)
                if (inner.At(x, y) && !(inner.At(x - 1, y) && inner.At(x + 1, y) &&
                                        inner.At(x, y - 1) && inner.At(x, y + 1)))
                    next.Inside[(y - inner.Box.Top) * inner.Box.Width() + (x - inner.Box.Left)] = 0;
        inner = std::move(next);
    }
    TMask ring = Shape;
    for (size_t i = 0; i < ring.Inside.size(); ++i)
        ring.Inside[i] = Shape.Inside[i] && !inner.Inside[i];
    return ring;
}

QRegion MaskRegion(const TMask &M)
{
    QRegion region;
    for (int y = M.Box.Top; y < M.Box.Bottom; ++y) {
        int x = M.Box.Left;
        while (x < M.Box.Right) {
            if (!M.At(x, y)) {
                ++x;
                continue;
            }
            int start = x;
            while (x < M.Box.Right && M.At(x, y))
                ++x;
            region += QRect(start, y, x - start, 1);
        }
    }
    return region;
}

TColor ApplyRop2(TPenMode Mode, TColor Pen, TColor Dest)
{
    uint32_t p = static_cast<uint32_t>(Pen), d = static_cast<uint32_t>(Dest), r = 0;
    switch (Mode) {
    case pmBlack: r = 0; break;
    case pmWhite: r = ~0u; break;
    case pmNop: r = d; break;
    case pmNot: r = ~d; break;
    case pmCopy: r = p; break;
    case pmNotCopy: r = ~p; break;
    case pmMergePenNot: r = p | ~d; break;
    case pmMaskPenNot: r = p & ~d; break;
    case pmMergeNotPen: r = ~p | d; break;
    case pmMaskNotPen: r = ~p & d; break;
    case pmMerge: r = p | d; break;
    case pmNotMerge: r = ~(p | d); break;
    case pmMask: r = p & d; break;
    case pmNotMask: r = ~(p & d); break;
    case pmXor: r = p ^ d; break;
    case pmNotXor: r = ~(p ^ d); break;
    }
    return static_cast<TColor>(r & 0xFFFFFF);
}

// Dash patterns of one-pixel pens, on and off runs.
const std::vector<int> &DashPattern(TPenStyle Style)
{
    static const std::vector<int> solid, dash{18, 6}, dot{3, 3}, dashDot{9, 6, 3, 6},
        dashDotDot{9, 3, 3, 3, 3, 3};
    switch (Style) {
    case psDash: return dash;
    case psDot: return dot;
    case psDashDot: return dashDot;
    case psDashDotDot: return dashDotDot;
    default: return solid;
    }
}

// The faces the window resources name, and the installed faces that draw
// them: ones with the same character widths where Debian has them, so that
// captions fit the boxes laid out for them. Verdana has no such free face;
// DejaVu Sans, drawn from Bitstream Vera, comes closest to its widths.
// MS Sans Serif is a bitmap face of one size, 8 points (11 pixels high),
// with no bold: other sizes and styles take its outline neighbour.
struct TFaceChoice {
    const char *Name; // lower case
    std::vector<const char *> Families;
    const char *Package;
    int OnlyHeight = 0; // the first family serves only this plain pixel height
    const char *LastResort = "DejaVu Sans";
};

const std::vector<TFaceChoice> &FaceChoices()
{
    static const std::vector<TFaceChoice> choices = {
        {"ms sans serif", {"MS Sans Serif", "Liberation Sans"}, "fonts-wine", 11},
        {"tahoma", {"Tahoma", "Liberation Sans"}, "fonts-wine"},
        {"arial", {"Liberation Sans"}, "fonts-liberation2"},
        {"courier new", {"Liberation Mono"}, "fonts-liberation2", 0, "DejaVu Sans Mono"},
        {"times new roman", {"Liberation Serif"}, "fonts-liberation2", 0, "DejaVu Serif"},
        {"verdana", {"DejaVu Sans"}, "fonts-dejavu-core"},
    };
    return choices;
}

// The wine package keeps its faces outside fontconfig's path.
constexpr const char *WineFontFolder = "/usr/share/wine/fonts/";

void LoadApplicationFaces()
{
    static bool loaded = false;
    if (loaded)
        return;
    loaded = true;
    for (const char *file : {"ms_sans_serif.ttf", "tahoma.ttf", "tahomabd.ttf"})
        if (QFile::exists(QString(WineFontFolder) + file))
            QFontDatabase::addApplicationFont(QString(WineFontFolder) + file);
}

bool Installed(const QString &Family)
{
    static const QStringList families = [] {
        LoadApplicationFaces();
        return QFontDatabase::families();
    }();
    return families.contains(Family, Qt::CaseInsensitive);
}

const TFaceChoice *FindChoice(const QString &Name)
{
    for (const TFaceChoice &c : FaceChoices())
        if (Name == c.Name)
            return &c;
    return nullptr;
}

const TFaceChoice &ChoiceFor(const QString &Name)
{
    if (const TFaceChoice *c = FindChoice(Name))
        return *c;
    // Other names by their kind.
    if (Name.contains("courier") || Name.contains("mono") || Name.contains("console") ||
        Name.contains("fixedsys") || Name.contains("terminal"))
        return *FindChoice("courier new");
    if (Name.contains("times") || (Name.contains("serif") && !Name.contains("sans")) ||
        Name.contains("georgia"))
        return *FindChoice("times new roman");
    return *FindChoice("arial");
}

QString FontFamily(const std::string &Name, int PixelHeight, bool Styled)
{
    static std::map<std::tuple<std::string, int, bool>, QString> resolved;
    const auto key = std::make_tuple(Name, PixelHeight, Styled);
    if (auto it = resolved.find(key); it != resolved.end())
        return it->second;
    const TFaceChoice &choice = ChoiceFor(QString::fromStdString(Name).toLower().trimmed());
    const bool firstFits = !choice.OnlyHeight || (PixelHeight == choice.OnlyHeight && !Styled);
    QString family;
    for (size_t i = firstFits ? 0 : 1; i < choice.Families.size(); ++i)
        if (Installed(choice.Families[i])) {
            family = choice.Families[i];
            break;
        }
    if (family.isEmpty())
        family = choice.LastResort;
    if (!Installed(choice.Families.front())) {
        static bool warned = false;
        if (!warned) {
            warned = true;
            std::fprintf(stderr,
                         "warning: the face \"%s\" is not installed (Debian package %s); "
                         "texts in it are drawn in %s and may not fit their boxes\n",
                         choice.Families.front(), choice.Package, qPrintable(family));
        }
    }
    resolved.emplace(key, family);
    return family;
}

} // namespace

// ---------------------------------------------------------------- regions

TRect TRegion::Bounds() const
{
    QRect r = FRegion.boundingRect();
    return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

TRegion CreateRectRgn(int Left, int Top, int Right, int Bottom)
{
    TRect r{std::min(Left, Right), std::min(Top, Bottom), std::max(Left, Right),
            std::max(Top, Bottom)};
    return TRegion(QRegion(ToQRect(r)));
}

TRegion CreatePolygonRgn(const std::vector<TPoint> &Points, int FillMode)
{
    return TRegion(MaskRegion(PolygonMask(Points, FillMode)));
}

TRegion CreateEllipticRgn(int Left, int Top, int Right, int Bottom)
{
    TRect box{std::min(Left, Right), std::min(Top, Bottom), std::max(Left, Right),
              std::max(Top, Bottom)};
    return TRegion(MaskRegion(RoundMask(box, box.Width(), box.Height())));
}

namespace {
// Qt 6.4 unites two regions wrongly when the second one ends in the band
// where the first one starts (it prepends it and merges the band badly,
// losing pixels); subtraction takes the general path and is sound.
QRegion Union(const QRegion &A, const QRegion &B)
{
    QRegion all(A.boundingRect() | B.boundingRect());
    return all - ((all - A) - B);
}
} // namespace

int CombineRgn(TRegion &Dest, const TRegion &A, const TRegion &B, int Mode)
{
    const QRegion &a = A.ToQRegion(), &b = B.ToQRegion();
    QRegion r;
    switch (Mode) {
    case RGN_AND: r = a & b; break;
    case RGN_OR: r = Union(a, b); break;
    case RGN_XOR: r = Union(a - b, b - a); break;
    case RGN_DIFF: r = a - b; break;
    case RGN_COPY: r = a; break;
    default: return RGNERROR;
    }
    Dest = TRegion(r);
    if (r.isEmpty())
        return NULLREGION;
    return r.rectCount() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

// ---------------------------------------------------------------- pen, brush, font

void TPen::Assign(const TPersistent *Source)
{
    if (auto pen = dynamic_cast<const TPen *>(Source)) {
        FColor = pen->FColor;
        FWidth = pen->FWidth;
        FStyle = pen->FStyle;
        FMode = pen->FMode;
        Changed();
        return;
    }
    TPersistent::Assign(Source);
}

void TPen::SetColor(TColor Value)
{
    Update(FColor, Value);
}

void TPen::SetWidth(int Value)
{
    Update(FWidth, std::max(Value, 1));
}

void TPen::SetStyle(TPenStyle Value)
{
    Update(FStyle, Value);
}

void TPen::SetMode(TPenMode Value)
{
    Update(FMode, Value);
}

void TBrush::Assign(const TPersistent *Source)
{
    if (auto brush = dynamic_cast<const TBrush *>(Source)) {
        FColor = brush->FColor;
        FStyle = brush->FStyle;
        Changed();
        return;
    }
    TPersistent::Assign(Source);
}

void TBrush::SetColor(TColor Value)
{
    if (FColor != Value || FStyle == bsClear) {
        FColor = Value;
        FStyle = bsSolid;
        Changed();
    }
}

void TBrush::SetStyle(TBrushStyle Value)
{
    Update(FStyle, Value);
}

void TFont::Assign(const TPersistent *Source)
{
    if (auto font = dynamic_cast<const TFont *>(Source)) {
        // The same name, height and style: the same font.
        FQFont = font->FQFont;
        FQFontValid = font->FQFontValid;
        FName = font->FName;
        FHeight = font->FHeight;
        FColor = font->FColor;
        FStyle = font->FStyle;
        FOrientation = font->FOrientation;
        FCharset = font->FCharset;
        Changed();
        return;
    }
    TPersistent::Assign(Source);
}

void TFont::SetName(const std::string &Value)
{
    FQFontValid = FQFontValid && FName == Value;
    Update(FName, Value);
}

int TFont::Size() const
{
    return -MulDiv(FHeight, 72, PixelsPerInch);
}

void TFont::SetSize(int Value)
{
    SetHeight(-MulDiv(Value, PixelsPerInch, 72));
}

void TFont::SetHeight(int Value)
{
    FQFontValid = FQFontValid && FHeight == Value;
    Update(FHeight, Value);
}

void TFont::SetColor(TColor Value)
{
    Update(FColor, Value);
}

void TFont::SetStyle(TFontStyles Value)
{
    FQFontValid = FQFontValid && FStyle == Value;
    Update(FStyle, Value);
}

void TFont::SetOrientation(int Value)
{
    Update(FOrientation, Value);
}

void TFont::SetCharset(TFontCharset Value)
{
    Update(FCharset, Value);
}

QString FontFamilyFor(const std::string &Name, int PixelHeight, bool Bold, bool Italic)
{
    return FontFamily(Name, PixelHeight, Bold || Italic);
}

QFont TFont::ToQFont() const
{
    // Built once per name, height and style: text is measured and drawn
    // many times over.
    if (!FQFontValid) {
        FQFont = BuildQFont();
        FQFontValid = true;
    }
    return FQFont;
}

QFont TFont::BuildQFont() const
{
    // A face of one size serves only a character height (a negative Height).
    QFont font(FontFamily(FName, FHeight < 0 ? -FHeight : 0, FStyle & (fsBold | fsItalic)));
    font.setStyleStrategy(QFont::StyleStrategy(QFont::NoAntialias | QFont::NoSubpixelAntialias));
    font.setHintingPreference(QFont::PreferFullHinting);
    font.setBold(FStyle & fsBold);
    font.setItalic(FStyle & fsItalic);
    font.setUnderline(FStyle & fsUnderline);
    font.setStrikeOut(FStyle & fsStrikeOut);
    if (FHeight < 0) {
        font.setPixelSize(-FHeight);
    } else if (FHeight > 0) {
        // A cell height: the largest character height whose cell fits.
        int size = FHeight;
        font.setPixelSize(size);
        while (size > 1 && QFontMetrics(font).height() > FHeight)
            font.setPixelSize(--size);
    } else {
        font.setPixelSize(13);
    }
    return font;
}

// ---------------------------------------------------------------- canvas

struct TCanvas::TTextLine {
    std::string Text;
    int AccelIndex = -1;
};

TCanvas::TCanvas(TBitmap *Target) : FTarget(Target)
{
    FTextColor = ColorToRGB(FFont.Color());
    FBrush.OnChange = [this](TObject *) {
        FBkColor = ColorToRGB(FBrush.Color());
        FBkMode = FBrush.Style() == bsClear ? TRANSPARENT : OPAQUE;
    };
    FFont.OnChange = [this](TObject *) { FTextColor = ColorToRGB(FFont.Color()); };
}

TCanvas::~TCanvas() = default;

void TCanvas::Changed()
{
    if (OnChange)
        OnChange(this);
}

QRegion TCanvas::EffectiveClip() const
{
    QRegion all(QRect(0, 0, FTarget->Width(), FTarget->Height()));
    return FHasClip ? all & FClip : all;
}

void TCanvas::SelectClipRgn(const TRegion *Region)
{
    FHasClip = Region != nullptr;
    FClip = Region ? Region->ToQRegion() : QRegion();
}

TRect TCanvas::ClipRect() const
{
    QRect r = EffectiveClip().boundingRect();
    return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

void TCanvas::PlotSpan(int Y, int X0, int X1, TColor Color, TPenMode Mode)
{
    if (Y < 0 || Y >= FTarget->Height())
        return;
    X0 = std::max(X0, 0);
    X1 = std::min(X1, FTarget->Width());
    if (X0 >= X1)
        return;
    uint8_t *row = FTarget->ScanLine(Y);
    TColor rgb = ColorToRGB(Color);
    auto put = [&](int from, int to) {
        for (int x = from; x < to; ++x) {
            uint8_t *p = row + 3 * x;
            TColor c = rgb;
            if (Mode != pmCopy)
                c = ApplyRop2(Mode, rgb, RGB(p[2], p[1], p[0]));
            p[0] = GetBValue(c);
            p[1] = GetGValue(c);
            p[2] = GetRValue(c);
        }
    };
    if (!FHasClip) {
        put(X0, X1);
        return;
    }
    for (const QRect &r : FClip)
        if (Y >= r.top() && Y <= r.bottom())
            put(std::max(X0, r.left()), std::min(X1, r.right() + 1));
}

void TCanvas::PlotPixel(int X, int Y, TColor Color, TPenMode Mode)
{
    PlotSpan(Y, X, X + 1, Color, Mode);
}

TColor TCanvas::Pixels(int X, int Y) const
{
    const uint8_t *row = FTarget->ScanLine(Y);
    if (!row || X < 0 || X >= FTarget->Width())
        return -1;
    const uint8_t *p = row + 3 * X;
    return RGB(p[2], p[1], p[0]);
}

void TCanvas::SetPixels(int X, int Y, TColor Color)
{
    PlotPixel(X, Y, Color, pmCopy);
    Changed();
}

void TCanvas::MoveTo(int X, int Y)
{
    FPenPos = {X, Y};
}

void TCanvas::PenLine(int X0, int Y0, int X1, int Y1, bool IncludeEnd)
{
    if (FPen.Style() == psClear)
        return;
    TColor color = FPen.Color();
    int width = FPen.Width();
    const std::vector<int> &dash = width == 1 ? DashPattern(FPen.Style()) : DashPattern(psSolid);
    int period = 0;
    for (int run : dash)
        period += run;
    auto plot = [&](int x, int y) {
        if (period > 0) {
            int phase = FPenPhase++ % period, at = 0;
            for (size_t i = 0; i < dash.size(); ++i) {
                at += dash[i];
                if (phase < at) {
                    if (i % 2)
                        return;
                    break;
                }
            }
        }
        if (width == 1) {
            PlotPixel(x, y, color, FPen.Mode());
            return;
        }
        // A round nib of the pen's width centred on the point.
        double radius = width / 2.0;
        int lo = -(width - 1) / 2, hi = width / 2;
        for (int dy = lo; dy <= hi; ++dy)
            for (int dx = lo; dx <= hi; ++dx) {
                double ox = dx - (width % 2 ? 0 : 0.5), oy = dy - (width % 2 ? 0 : 0.5);
                if (ox * ox + oy * oy <= radius * radius)
                    PlotPixel(x + dx, y + dy, color, FPen.Mode());
            }
    };
    int dx = std::abs(X1 - X0), dy = std::abs(Y1 - Y0);
    int sx = X0 < X1 ? 1 : -1, sy = Y0 < Y1 ? 1 : -1;
    int steps = std::max(dx, dy);
    // Bresenham along the major axis; a pixel exactly halfway goes toward the
    // end point, so corner cuts come out symmetric.
    int x = X0, y = Y0;
    if (dx >= dy) {
        int err = 2 * dy - dx;
        for (int i = 0; i < steps; ++i) {
            plot(x, y);
            if (err >= 0) {
                y += sy;
                err -= 2 * dx;
            }
            err += 2 * dy;
            x += sx;
        }
    } else {
        int err = 2 * dx - dy;
        for (int i = 0; i < steps; ++i) {
            plot(x, y);
            if (err >= 0) {
                x += sx;
                err -= 2 * dy;
            }
            err += 2 * dx;
            y += sy;
        }
    }
    if (IncludeEnd)
        plot(X1, Y1);
}

void TCanvas::LineTo(int X, int Y)
{
    FPenPhase = 0;
    PenLine(FPenPos.X, FPenPos.Y, X, Y, FPen.Width() > 1);
    FPenPos = {X, Y};
    Changed();
}

void TCanvas::Polyline(const std::vector<TPoint> &Points)
{
    if (Points.empty())
        return;
    FPenPhase = 0;
    for (size_t i = 1; i < Points.size(); ++i)
        PenLine(Points[i - 1].X, Points[i - 1].Y, Points[i].X, Points[i].Y, FPen.Width() > 1);
    Changed();
}

void TCanvas::FillMask(const TRect &Box, const std::vector<uint8_t> &Inside, TColor Color)
{
    for (int y = Box.Top; y < Box.Bottom; ++y) {
        const uint8_t *row = Inside.data() + static_cast<size_t>(y - Box.Top) * Box.Width();
        int x = 0;
        while (x < Box.Width()) {
            if (!row[x]) {
                ++x;
                continue;
            }
            int start = x;
            while (x < Box.Width() && row[x])
                ++x;
            PlotSpan(y, Box.Left + start, Box.Left + x, Color, FPen.Mode());
        }
    }
}

namespace {
// Shrinks a shape's box by one pixel on the right and bottom for a clear pen.
TRect ShapeBox(int Left, int Top, int Right, int Bottom, bool ClearPen)
{
    TRect box{std::min(Left, Right), std::min(Top, Bottom), std::max(Left, Right),
              std::max(Top, Bottom)};
    if (ClearPen) {
        --box.Right;
        --box.Bottom;
    }
    return box;
}
} // namespace

void TCanvas::Rectangle(int Left, int Top, int Right, int Bottom)
{
    RoundRect(Left, Top, Right, Bottom, 0, 0);
}

void TCanvas::RoundRect(int Left, int Top, int Right, int Bottom, int CornerWidth, int CornerHeight)
{
    bool clearPen = FPen.Style() == psClear;
    TRect box = ShapeBox(Left, Top, Right, Bottom, clearPen);
    if (CornerWidth <= 0 && CornerHeight <= 0) {
        // A plain rectangle: the pen's ring and the brush's inside, row by
        // row, as the masks below would give them.
        const int w = clearPen ? 0 : FPen.Width();
        const TRect inner{box.Left + w, box.Top + w, box.Right - w, box.Bottom - w};
        const bool hollow = inner.IsEmpty();
        for (int y = box.Top; y < box.Bottom; ++y) {
            const bool innerRow = !hollow && y >= inner.Top && y < inner.Bottom;
            if (!innerRow) {
                if (w > 0)
                    PlotSpan(y, box.Left, box.Right, FPen.Color(), FPen.Mode());
                continue;
            }
            if (w > 0) {
                PlotSpan(y, box.Left, inner.Left, FPen.Color(), FPen.Mode());
                PlotSpan(y, inner.Right, box.Right, FPen.Color(), FPen.Mode());
            }
            if (FBrush.Style() != bsClear)
                PlotSpan(y, inner.Left, inner.Right, FBrush.Color(), FPen.Mode());
        }
        Changed();
        return;
    }
    TMask shape = RoundMask(box, CornerWidth, CornerHeight);
    TMask ring = clearPen ? EmptyMask(box) : Outline(shape, FPen.Width());
    if (FBrush.Style() != bsClear) {
        TMask inner = shape;
        for (size_t i = 0; i < inner.Inside.size(); ++i)
            inner.Inside[i] = shape.Inside[i] && !ring.Inside[i];
        FillMask(inner.Box, inner.Inside, FBrush.Color());
    }
    if (!clearPen)
        FillMask(ring.Box, ring.Inside, FPen.Color());
    Changed();
}

void TCanvas::Ellipse(int Left, int Top, int Right, int Bottom)
{
    RoundRect(Left, Top, Right, Bottom, std::abs(Right - Left), std::abs(Bottom - Top));
}

void TCanvas::Polygon(const std::vector<TPoint> &Points, int FillMode)
{
    if (Points.empty())
        return;
    if (FBrush.Style() != bsClear) {
        TMask shape = PolygonMask(Points, FillMode);
        FillMask(shape.Box, shape.Inside, FBrush.Color());
    }
    FPenPhase = 0;
    for (size_t i = 0; i < Points.size(); ++i) {
        const TPoint &a = Points[i], &b = Points[(i + 1) % Points.size()];
        PenLine(a.X, a.Y, b.X, b.Y, FPen.Width() > 1);
    }
    Changed();
}

void TCanvas::FillRect(const TRect &R)
{
    TColor color = FBrush.Color();
    for (int y = R.Top; y < R.Bottom; ++y)
        PlotSpan(y, R.Left, R.Right, color, pmCopy);
    Changed();
}

void TCanvas::FrameRect(const TRect &R)
{
    if (R.IsEmpty())
        return;
    TColor color = FBrush.Color();
    PlotSpan(R.Top, R.Left, R.Right, color, pmCopy);
    PlotSpan(R.Bottom - 1, R.Left, R.Right, color, pmCopy);
    for (int y = R.Top + 1; y < R.Bottom - 1; ++y) {
        PlotPixel(R.Left, y, color, pmCopy);
        PlotPixel(R.Right - 1, y, color, pmCopy);
    }
    Changed();
}

void TCanvas::FillRgn(const TRegion &Region, TColor Color)
{
    for (const QRect &r : Region.ToQRegion())
        for (int y = r.top(); y <= r.bottom(); ++y)
            PlotSpan(y, r.left(), r.right() + 1, Color, pmCopy);
    Changed();
}

void TCanvas::DrawFocusRect(const TRect &R)
{
    if (R.IsEmpty())
        return;
    auto invert = [&](int x, int y) {
        if (((x + y) & 1) == 0)
            PlotPixel(x, y, clWhite, pmXor);
    };
    for (int x = R.Left; x < R.Right; ++x) {
        invert(x, R.Top);
        if (R.Bottom - 1 > R.Top)
            invert(x, R.Bottom - 1);
    }
    for (int y = R.Top + 1; y < R.Bottom - 1; ++y) {
        invert(R.Left, y);
        if (R.Right - 1 > R.Left)
            invert(R.Right - 1, y);
    }
    Changed();
}

// ---------------------------------------------------------------- text

TSize TCanvas::TextExtent(const std::string &Text)
{
    QFontMetrics metrics(FFont.ToQFont());
    return {metrics.horizontalAdvance(FromAnsi(Text)), metrics.height()};
}

void TCanvas::DrawTextLine(int X, int Y, const std::string &Text, int AccelIndex,
                           const QRegion &Clip, bool Opaque)
{
    if (FTarget->Empty())
        return;
    QFont font = FFont.ToQFont();
    QFontMetrics metrics(font);
    QString text = FromAnsi(Text);
    int width = metrics.horizontalAdvance(text);
    {
        QPainter painter(&FTarget->Image());
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setRenderHint(QPainter::TextAntialiasing, false);
        painter.setClipRegion(Clip);
        painter.translate(X, Y);
        if (FFont.Orientation() != 0)
            painter.rotate(-FFont.Orientation() / 10.0);
        auto qcolor = [](TColor c) { return QColor(GetRValue(c), GetGValue(c), GetBValue(c)); };
        if (Opaque)
            painter.fillRect(QRect(0, 0, width, metrics.height()), qcolor(FBkColor));
        painter.setFont(font);
        painter.setPen(qcolor(FTextColor));
        painter.drawText(0, metrics.ascent(), text);
        if (AccelIndex >= 0 && AccelIndex < static_cast<int>(Text.size())) {
            int from = metrics.horizontalAdvance(FromAnsi(Text.substr(0, AccelIndex)));
            int to = metrics.horizontalAdvance(FromAnsi(Text.substr(0, AccelIndex + 1)));
            int y = metrics.ascent() + std::max(1, metrics.underlinePos());
            painter.fillRect(QRect(from, y, to - from, std::max(1, metrics.lineWidth())),
                             qcolor(FTextColor));
        }
    }
}

void TCanvas::TextOut(int X, int Y, const std::string &Text)
{
    DrawTextLine(X, Y, Text, -1, EffectiveClip(), FBkMode == OPAQUE);
    FPenPos = {X + TextWidth(Text), Y};
    Changed();
}

void TCanvas::TextRect(const TRect &R, int X, int Y, const std::string &Text)
{
    QRegion clip = EffectiveClip() & QRegion(ToQRect(R));
    if (FBkMode == OPAQUE)
        for (const QRect &r : clip)
            for (int y = r.top(); y <= r.bottom(); ++y)
                PlotSpan(y, r.left(), r.right() + 1, FBkColor, pmCopy);
    DrawTextLine(X, Y, Text, -1, clip, false);
    Changed();
}

int TCanvas::DrawText(const std::string &Text, TRect &R, unsigned Flags)
{
    QFontMetrics metrics(FFont.ToQFont());
    auto width = [&](const std::string &s) { return metrics.horizontalAdvance(FromAnsi(s)); };
    int lineHeight = metrics.height();
    int boxWidth = R.Width();

    // Paragraphs, with the accelerator prefixes resolved.
    std::vector<TTextLine> paragraphs(1);
    for (size_t i = 0; i < Text.size(); ++i) {
        char c = Text[i];
        if (!(Flags & DT_NOPREFIX) && c == '&') {
            if (i + 1 < Text.size() && Text[i + 1] == '&') {
                paragraphs.back().Text += '&';
                ++i;
            } else if (i + 1 < Text.size()) {
                paragraphs.back().AccelIndex = static_cast<int>(paragraphs.back().Text.size());
            }
            continue;
        }
        if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < Text.size() && Text[i + 1] == '\n')
                ++i;
            if (!(Flags & DT_SINGLELINE))
                paragraphs.emplace_back();
            continue;
        }
        paragraphs.back().Text += c;
    }

    std::vector<TTextLine> lines;
    // An empty text has no line at all.
    if (paragraphs.size() == 1 && paragraphs[0].Text.empty())
        paragraphs.clear();
    for (const TTextLine &p : paragraphs) {
        if (!(Flags & DT_WORDBREAK) || (Flags & DT_SINGLELINE) || width(p.Text) <= boxWidth) {
            lines.push_back(p);
            continue;
        }
        // Greedy breaks at blanks; a word wider than the box keeps its own line.
        size_t start = 0;
        while (start < p.Text.size()) {
            size_t end = start, lastFit = std::string::npos;
            while (end <= p.Text.size()) {
                size_t blank = p.Text.find(' ', end);
                size_t wordEnd = blank == std::string::npos ? p.Text.size() : blank;
                if (width(p.Text.substr(start, wordEnd - start)) > boxWidth &&
                    lastFit != std::string::npos)
                    break;
                lastFit = wordEnd;
                end = wordEnd + 1;
                if (wordEnd == p.Text.size())
                    break;
            }
            TTextLine line;
            line.Text = p.Text.substr(start, lastFit - start);
            int accel = p.AccelIndex - static_cast<int>(start);
            if (accel >= 0 && accel < static_cast<int>(line.Text.size()))
                line.AccelIndex = accel;
            lines.push_back(line);
            start = lastFit;
            while (start < p.Text.size() && p.Text[start] == ' ')
                ++start;
        }
    }
    if (Flags & DT_END_ELLIPSIS)
        for (TTextLine &line : lines) {
            if (width(line.Text) <= boxWidth)
                continue;
            while (!line.Text.empty() && width(line.Text + "...") > boxWidth)
                line.Text.resize(line.Text.size() - LastCharacterSize(line.Text));
            line.Text += "...";
            if (line.AccelIndex >= static_cast<int>(line.Text.size()) - 3)
                line.AccelIndex = -1;
        }

    int total = lineHeight * static_cast<int>(lines.size());
    if (Flags & DT_CALCRECT) {
        int widest = 0;
        for (const TTextLine &line : lines)
            widest = std::max(widest, width(line.Text));
        R.Right = R.Left + widest;
        R.Bottom = R.Top + total;
        return total;
    }

    int y = R.Top;
    if (Flags & DT_SINGLELINE) {
        if (Flags & DT_VCENTER)
            y = R.Top + (R.Height() - lineHeight) / 2;
        else if (Flags & DT_BOTTOM)
            y = R.Bottom - lineHeight;
    }
    QRegion clip = EffectiveClip();
    if (!(Flags & DT_NOCLIP))
        clip &= QRegion(ToQRect(R));
    for (const TTextLine &line : lines) {
        int w = width(line.Text);
        int x = R.Left;
        if (Flags & DT_CENTER)
            x = R.Left + (R.Width() - w) / 2;
        else if (Flags & DT_RIGHT)
            x = R.Right - w;
        DrawTextLine(x, y, line.Text, line.AccelIndex, clip, FBkMode == OPAQUE);
        y += lineHeight;
    }
    Changed();
    return (Flags & DT_SINGLELINE) ? y - R.Top : total;
}

// ---------------------------------------------------------------- bitmaps on canvases

TColor ApplyRop3(uint32_t Rop, TColor Pattern, TColor Source, TColor Dest)
{
    uint32_t index = (Rop >> 16) & 0xFF;
    uint32_t p = static_cast<uint32_t>(Pattern), s = static_cast<uint32_t>(Source),
             d = static_cast<uint32_t>(Dest), result = 0;
    // Bit k of the operation index is the result for pattern, source and
    // destination bits (k >> 2, k >> 1, k) & 1.
    for (uint32_t k = 0; k < 8; ++k) {
        if (!((index >> k) & 1))
            continue;
        uint32_t bits = ((k & 4) ? p : ~p) & ((k & 2) ? s : ~s) & ((k & 1) ? d : ~d);
        result |= bits;
    }
    return static_cast<TColor>(result & 0xFFFFFF);
}

namespace {
// Whether a raster operation reads the source.
bool UsesSource(uint32_t Rop)
{
    uint32_t index = (Rop >> 16) & 0xFF;
    return ((index >> 2) & 0x33) != (index & 0x33);
}

// Stores C as a pixel of a bitmap: a monochrome one keeps white and turns
// every other colour black or white by brightness.
void StorePixel(uint8_t *P, TColor C, bool Monochrome)
{
    if (Monochrome)
        C = C == clWhite ? clWhite
                         : (GetRValue(C) + GetGValue(C) + GetBValue(C) >= 384 ? clWhite : clBlack);
    P[0] = GetBValue(C);
    P[1] = GetGValue(C);
    P[2] = GetRValue(C);
}

TColor LoadPixel(const uint8_t *P)
{
    return RGB(P[2], P[1], P[0]);
}

// Copies DestRect from SourceRect (scaled, nearest pixel) through Rop, row by
// row on the pixel buffers. Source pixels outside the source bitmap leave
// their destination pixels alone.
void Transfer(TCanvas *Dest, const TRect &DestRect, TCanvas *Source, const TRect &SourceRect,
              uint32_t Rop, const TColor *Skip)
{
    if (DestRect.IsEmpty())
        return;
    TBitmap *target = Dest->Bitmap();
    QRegion area = QRegion(ToQRect(DestRect)) & QRegion(0, 0, target->Width(), target->Height());
    if (const QRegion *clip = Dest->ClipRegion())
        area &= *clip;
    if (area.isEmpty())
        return;
    const bool withSource = Source && UsesSource(Rop);
    const bool monoDest = target->Monochrome();
    const int dw = DestRect.Width(), dh = DestRect.Height();

    // The source is read from a snapshot when it is the destination, so that
    // the two may overlap.
    QImage snapshot;
    const QImage *from = nullptr;
    bool monoSource = false;
    if (withSource) {
        from = &Source->Bitmap()->Image();
        if (Source->Bitmap() == target) {
            snapshot = from->copy();
            from = &snapshot;
        }
        monoSource = Source->Bitmap()->Monochrome();
    }
    const int sw = withSource ? from->width() : 0, sh = withSource ? from->height() : 0;

    if (withSource && Rop == SRCCOPY && !Skip && !monoSource && !monoDest &&
        SourceRect.Width() == dw && SourceRect.Height() == dh) {
        // Same size and a plain copy: whole runs of bytes.
        const int dx = SourceRect.Left - DestRect.Left, dy = SourceRect.Top - DestRect.Top;
        for (const QRect &r : area) {
            const int x0 = std::max(r.left(), -dx), x1 = std::min(r.right() + 1, sw - dx);
            if (x0 >= x1)
                continue;
            for (int y = r.top(); y <= r.bottom(); ++y) {
                const int sy = y + dy;
                if (sy < 0 || sy >= sh)
                    continue;
                std::memmove(target->ScanLine(y) + 3 * x0, from->constScanLine(sy) + 3 * (x0 + dx),
                             3 * static_cast<size_t>(x1 - x0));
            }
        }
        return;
    }

    if (!withSource && (Rop == PATCOPY || Rop == BLACKNESS || Rop == WHITENESS)) {
        // A fill: the brush colour (or black or white) on every pixel.
        const TColor fill = Rop == PATCOPY     ? ColorToRGB(Dest->Brush()->Color())
                            : Rop == BLACKNESS ? clBlack
                                               : clWhite;
        uint8_t px[3];
        StorePixel(px, fill, monoDest);
        for (const QRect &r : area)
            for (int y = r.top(); y <= r.bottom(); ++y) {
                uint8_t *p = target->ScanLine(y) + 3 * r.left();
                for (int x = r.left(); x <= r.right(); ++x, p += 3) {
                    p[0] = px[0];
                    p[1] = px[1];
                    p[2] = px[2];
                }
            }
        return;
    }

    // Source columns and rows of each destination column and row.
    std::vector<int> columns, rows;
    if (withSource) {
        columns.resize(dw);
        rows.resize(dh);
        for (int i = 0; i < dw; ++i)
            columns[i] = SourceRect.Left +
                         static_cast<int>(static_cast<int64_t>(i) * SourceRect.Width() / dw);
        for (int j = 0; j < dh; ++j)
            rows[j] = SourceRect.Top +
                      static_cast<int>(static_cast<int64_t>(j) * SourceRect.Height() / dh);
    }
    // A monochrome source paints the destination's background colour for
    // white and its text colour for black; a monochrome destination takes
    // white where the source has the source's background colour.
    const TColor destBk = Dest->BkColor(), destText = Dest->TextColor();
    const TColor sourceBk = withSource ? Source->BkColor() : 0;
    const TColor pattern = ColorToRGB(Dest->Brush()->Color());
    for (const QRect &r : area)
        for (int y = r.top(); y <= r.bottom(); ++y) {
            uint8_t *out = target->ScanLine(y);
            const uint8_t *in = nullptr;
            if (withSource) {
                const int sy = rows[y - DestRect.Top];
                if (sy < 0 || sy >= sh)
                    continue;
                in = from->constScanLine(sy);
            }
            for (int x = r.left(); x <= r.right(); ++x) {
                TColor s = 0;
                if (withSource) {
                    const int sx = columns[x - DestRect.Left];
                    if (sx < 0 || sx >= sw)
                        continue;
                    s = LoadPixel(in + 3 * sx);
                    if (monoSource && !monoDest)
                        s = s == clWhite ? destBk : destText;
                    else if (monoDest && !monoSource)
                        s = s == sourceBk ? clWhite : clBlack;
                    if (Skip && s == *Skip)
                        continue;
                }
                uint8_t *p = out + 3 * x;
                StorePixel(p, ApplyRop3(Rop, pattern, s, LoadPixel(p)), monoDest);
            }
        }
}
} // namespace

bool BitBlt(TCanvas *Dest, int X, int Y, int W, int H, TCanvas *Source, int XSrc, int YSrc,
            uint32_t Rop)
{
    if (!Dest || W <= 0 || H <= 0)
        return false;
    Transfer(Dest, Bounds(X, Y, W, H), Source, Bounds(XSrc, YSrc, W, H), Rop, nullptr);
    Dest->Changed();
    return true;
}

bool PatBlt(TCanvas *Dest, int X, int Y, int W, int H, uint32_t Rop)
{
    return BitBlt(Dest, X, Y, W, H, nullptr, 0, 0, Rop);
}

void TCanvas::Draw(int X, int Y, TBitmap *Source)
{
    if (!Source || Source->Empty())
        return;
    StretchDraw(Bounds(X, Y, Source->Width(), Source->Height()), Source);
}

void TCanvas::StretchDraw(const TRect &R, TBitmap *Source)
{
    if (!Source || Source->Empty())
        return;
    TColor skip = ColorToRGB(Source->TransparentColor());
    bool transparent = Source->Transparent();
    Transfer(this, R, Source->Canvas(), Bounds(0, 0, Source->Width(), Source->Height()),
             transparent ? SRCCOPY : FCopyMode, transparent ? &skip : nullptr);
    Changed();
}

void TCanvas::CopyRect(const TRect &R, TCanvas *Source, const TRect &SourceRect)
{
    Transfer(this, R, Source, SourceRect, FCopyMode, nullptr);
    Changed();
}

void TCanvas::BrushCopy(const TRect &R, TBitmap *Source, const TRect &SourceRect,
                        TColor TransparentColor)
{
    if (!Source)
        return;
    TColor skip = ColorToRGB(TransparentColor);
    Transfer(this, R, Source->Canvas(), SourceRect, SRCCOPY, &skip);
    Changed();
}

// ---------------------------------------------------------------- bitmap

TBitmap::TBitmap() : FCanvas(new TCanvas(this))
{
    FCanvas->OnChange = [this](TObject *) { Changed(); };
}

TBitmap::~TBitmap()
{
    delete FCanvas;
}

void TBitmap::Changed()
{
    if (OnChange)
        OnChange(this);
}

void TBitmap::Assign(const TPersistent *Source)
{
    if (!Source) {
        FImage = QImage();
        FWidth = FHeight = 0;
        Changed();
        return;
    }
    if (auto bitmap = dynamic_cast<const TBitmap *>(Source)) {
        if (bitmap == this)
            return;
        QImage copy = bitmap->FImage.copy();
        if (copy.isNull() != bitmap->FImage.isNull())
            throw EOutOfResources();
        FImage = std::move(copy);
        FWidth = bitmap->FWidth;
        FHeight = bitmap->FHeight;
        FPixelFormat = bitmap->FPixelFormat;
        FTransparent = bitmap->FTransparent;
        FTransparentMode = bitmap->FTransparentMode;
        FTransparentColor = bitmap->FTransparentColor;
        Changed();
        return;
    }
    TPersistent::Assign(Source);
}

void TBitmap::SetSize(int Width, int Height)
{
    Width = std::max(Width, 0);
    Height = std::max(Height, 0);
    if (Width == this->Width() && Height == this->Height())
        return;
    QImage image;
    if (Width > 0 && Height > 0) {
        image = QImage(Width, Height, QImage::Format_BGR888);
        if (image.isNull())
            throw EOutOfResources();
        TColor fill = ColorToRGB(FCanvas->Brush()->Color());
        image.fill(QColor(GetRValue(fill), GetGValue(fill), GetBValue(fill)));
        int w = std::min(Width, FImage.width()), h = std::min(Height, FImage.height());
        for (int y = 0; y < h; ++y)
            std::memcpy(image.scanLine(y), FImage.constScanLine(y), 3 * static_cast<size_t>(w));
    }
    FImage = image;
    FWidth = Width;
    FHeight = Height;
    Changed();
}

void TBitmap::SetPixelFormat(TPixelFormat Value)
{
    if (FPixelFormat == Value)
        return;
    FPixelFormat = Value;
    if (Value == pf1bit)
        for (int y = 0; y < Height(); ++y) {
            uint8_t *row = ScanLine(y);
            for (int x = 0; x < Width(); ++x) {
                uint8_t *p = row + 3 * x;
                uint8_t v = p[0] + p[1] + p[2] >= 384 ? 255 : 0;
                p[0] = p[1] = p[2] = v;
            }
        }
    Changed();
}

uint8_t *TBitmap::ScanLine(int Y)
{
    if (Y < 0 || Y >= FImage.height())
        return nullptr;
    return FImage.scanLine(Y);
}

const uint8_t *TBitmap::ScanLine(int Y) const
{
    if (Y < 0 || Y >= FImage.height())
        return nullptr;
    return FImage.constScanLine(Y);
}

void TBitmap::SetTransparent(bool Value)
{
    if (FTransparent != Value) {
        FTransparent = Value;
        Changed();
    }
}

TColor TBitmap::TransparentColor() const
{
    if (FTransparentMode == tmFixed && FTransparentColor != clDefault)
        return FTransparentColor;
    if (Monochrome())
        return clWhite;
    return Empty() ? clDefault : FCanvas->Pixels(0, Height() - 1);
}

void TBitmap::SetTransparentColor(TColor Value)
{
    FTransparentColor = Value;
    FTransparentMode = Value == clDefault ? tmAuto : tmFixed;
    Changed();
}

void TBitmap::SetTransparentMode(TTransparentMode Value)
{
    FTransparentMode = Value;
    if (Value == tmAuto)
        FTransparentColor = clDefault;
    Changed();
}

void TBitmap::SetImage(const QImage &Image)
{
    FImage = Image.isNull() ? QImage() : Image.convertToFormat(QImage::Format_BGR888);
    FWidth = FImage.width();
    FHeight = FImage.height();
    Changed();
}

void TBitmap::LoadFromFile(const std::string &FileName)
{
    QImage image;
    if (!image.load(FromFileName(FileName)))
        throw EInOutError("Cannot open file \"" + FileName + "\"", 2);
    SetImage(image);
}

void TBitmap::SaveToFile(const std::string &FileName) const
{
    if (!FImage.save(FromFileName(FileName)))
        throw EInOutError("Cannot create file \"" + FileName + "\"", 5);
}
