#include "Pixels.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <gtest/gtest.h>

namespace {
std::unique_ptr<TBitmap> TextBitmap(int Width, int Height)
{
    auto b = WhiteBitmap(Width, Height);
    b->Canvas()->Font()->SetName("Tahoma");
    b->Canvas()->Font()->SetSize(8);
    b->Canvas()->Font()->SetColor(clBlack);
    b->Canvas()->Brush()->SetStyle(bsClear);
    return b;
}
} // namespace

TEST(Font, SizeAndHeightAreTiedAt96PixelsPerInch)
{
    TFont font;
    EXPECT_EQ(font.Height(), -11);
    EXPECT_EQ(font.Size(), 8);
    int changes = 0;
    font.OnChange = [&](TObject *) { ++changes; };
    font.SetSize(9);
    EXPECT_EQ(font.Height(), -12);
    font.SetSize(9);
    font.SetStyle(fsBold);
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(font.ToQFont().pixelSize(), 12);
    EXPECT_TRUE(font.ToQFont().bold());
    EXPECT_EQ(font.ToQFont().family(), FontFamilyFor("MS Sans Serif", 12, true));
}

// Each face of the window resources is drawn in a face of the same widths
// where one is installed.
TEST(Font, ResourceFacesMapToFacesOfTheirWidths)
{
    const struct {
        const char *Resource;
        int Height;
        TFontStyles Style;
        const char *Family;
    } table[] = {
        {"MS Sans Serif", -11, 0, "MS Sans Serif"},
        // The bitmap face has one size and no bold: Arial's widths serve the rest.
        {"MS Sans Serif", -13, 0, "Liberation Sans"},
        {"MS Sans Serif", -11, fsBold, "Liberation Sans"},
        {"Tahoma", -11, 0, "Tahoma"},
        {"Tahoma", -13, fsBold, "Tahoma"},
        {"Arial", -12, fsBold, "Liberation Sans"},
        {"Courier New", -11, fsBold, "Liberation Mono"},
        {"Times New Roman", -16, 0, "Liberation Serif"},
        {"Verdana", -9, fsBold, "DejaVu Sans"},
        {"courier", -11, 0, "Liberation Mono"},
        {"Some Sans", -11, 0, "Liberation Sans"},
    };
    FontFamilyFor("MS Sans Serif"); // loads the faces kept outside fontconfig's path
    const QStringList installed = QFontDatabase::families();
    std::string missing;
    for (const auto &row : table)
        if (!installed.contains(row.Family))
            missing += std::string(" ") + row.Family;
    if (!missing.empty())
        GTEST_SKIP() << "not installed (scripts/deps installs them):" << missing;
    for (const auto &row : table) {
        TFont font;
        font.SetName(row.Resource);
        font.SetHeight(row.Height);
        font.SetStyle(row.Style);
        EXPECT_EQ(font.ToQFont().family(), row.Family) << row.Resource << " " << row.Height;
    }
}

TEST(Text, OutputColoursAndBackground)
{
    auto b = TextBitmap(60, 20);
    TCanvas *c = b->Canvas();
    TSize size = c->TextExtent("Hg");
    EXPECT_GT(size.cx, 8);
    EXPECT_GE(size.cy, 11);
    c->Font()->SetColor(clRed);
    c->TextOut(2, 2, "Hg");
    TRect ink = InkBounds(*b);
    EXPECT_GE(ink.Left, 2);
    EXPECT_LE(ink.Right, 2 + size.cx);
    EXPECT_LE(ink.Bottom, 2 + size.cy);
    for (int y = ink.Top; y < ink.Bottom; ++y)
        for (int x = ink.Left; x < ink.Right; ++x) {
            TColor p = c->Pixels(x, y);
            ASSERT_TRUE(p == clWhite || p == clRed) << "antialiased pixel at " << x << "," << y;
        }

    // A solid brush fills the text cell behind the letters.
    auto o = TextBitmap(60, 20);
    o->Canvas()->Brush()->SetColor(clYellow);
    o->Canvas()->TextOut(2, 2, "Hg");
    EXPECT_EQ(InkBounds(*o), Bounds(2, 2, size.cx, size.cy));
    EXPECT_EQ(o->Canvas()->Pixels(2, 2 + size.cy - 1), clYellow);
}

TEST(Text, TextRectClipsToItsRectangle)
{
    auto b = TextBitmap(80, 20);
    b->Canvas()->TextRect(Rect(5, 0, 20, 20), 0, 2, "WWWWWWWW");
    TRect ink = InkBounds(*b);
    EXPECT_GE(ink.Left, 5);
    EXPECT_LE(ink.Right, 20);
}

TEST(DrawText, CalcRectMeasuresLinesAndWords)
{
    auto b = TextBitmap(10, 10);
    TCanvas *c = b->Canvas();
    int line = c->TextHeight("A");
    TRect r = Rect(3, 4, 300, 100);
    EXPECT_EQ(c->DrawText("Snimi BIN", r, DT_CALCRECT | DT_SINGLELINE), line);
    EXPECT_EQ(r, Rect(3, 4, 3 + c->TextWidth("Snimi BIN"), 4 + line));

    // An empty text, and a lone accelerator sign, measure no line at all.
    TRect empty = Rect(0, 0, 50, 50);
    c->DrawText("", empty, DT_CALCRECT);
    EXPECT_EQ(empty, Rect(0, 0, 0, 0));
    TRect amp = Rect(0, 0, 50, 50);
    c->DrawText("&", amp, DT_CALCRECT);
    EXPECT_EQ(amp.Bottom, 0);

    int widest = c->TextWidth("akviziciju sada");
    TRect wrap = Rect(0, 0, widest + 2, 100);
    c->DrawText("Pokreni akviziciju sada", wrap, DT_CALCRECT | DT_WORDBREAK);
    EXPECT_EQ(wrap.Bottom, 2 * line); // "Pokreni" / "akviziciju sada"
    EXPECT_EQ(wrap.Right, widest);
    TRect word = Rect(0, 0, 10, 100);
    c->DrawText("akviziciju", word, DT_CALCRECT | DT_WORDBREAK);
    EXPECT_EQ(word.Right, c->TextWidth("akviziciju")); // a long word widens the box
    EXPECT_EQ(word.Bottom, line);

    TRect lines = Rect(0, 0, 300, 100);
    c->DrawText("one\r\ntwo\nthree", lines, DT_CALCRECT);
    EXPECT_EQ(lines.Bottom, 3 * line);
    EXPECT_EQ(lines.Right, c->TextWidth("three"));
}

TEST(DrawText, AcceleratorsAndPrefixes)
{
    auto b = TextBitmap(10, 10);
    TCanvas *c = b->Canvas();
    TRect plain = Rect(0, 0, 300, 50), prefixed = plain, literal = plain, raw = plain;
    c->DrawText("Ab", plain, DT_CALCRECT);
    c->DrawText("&Ab", prefixed, DT_CALCRECT);
    c->DrawText("A&&b", literal, DT_CALCRECT);
    c->DrawText("&Ab", raw, DT_CALCRECT | DT_NOPREFIX);
    EXPECT_EQ(prefixed, plain);
    EXPECT_EQ(literal.Right, c->TextWidth("A&b"));
    EXPECT_EQ(raw.Right, c->TextWidth("&Ab"));

    // The accelerator letter is underlined: the same text with the prefix
    // has ink below what it has without, under the first letter only.
    auto with = TextBitmap(40, 20), without = TextBitmap(40, 20);
    TRect r1 = Rect(0, 0, 40, 20), r2 = r1;
    with->Canvas()->DrawText("&Ab", r1, 0);
    without->Canvas()->DrawText("Ab", r2, 0);
    int a = c->TextWidth("A");
    EXPECT_GT(CountInk(*with, Rect(0, 0, a, 20)), CountInk(*without, Rect(0, 0, a, 20)));
    EXPECT_EQ(CountInk(*with, Rect(a + 1, 0, 40, 20)), CountInk(*without, Rect(a + 1, 0, 40, 20)));
}

TEST(DrawText, AlignmentEllipsisAndVerticalCentre)
{
    auto left = TextBitmap(100, 30), right = TextBitmap(100, 30), centre = TextBitmap(100, 30);
    TRect box = Rect(10, 0, 90, 30), r = box;
    left->Canvas()->DrawText("Zoom", r, DT_SINGLELINE);
    r = box;
    right->Canvas()->DrawText("Zoom", r, DT_SINGLELINE | DT_RIGHT);
    r = box;
    centre->Canvas()->DrawText("Zoom", r, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
    int w = left->Canvas()->TextWidth("Zoom");
    TRect l = InkBounds(*left), rr = InkBounds(*right), c = InkBounds(*centre);
    EXPECT_EQ(rr.Left - l.Left, 80 - w);
    EXPECT_EQ(c.Left - l.Left, (80 - w) / 2);
    int line = left->Canvas()->TextHeight("Zoom");
    EXPECT_EQ(c.Top - l.Top, (30 - line) / 2);

    auto e = TextBitmap(100, 30);
    TRect narrow = Rect(0, 0, 40, 30);
    e->Canvas()->DrawText("Osvezi komunikaciju", narrow, DT_CALCRECT | DT_END_ELLIPSIS);
    EXPECT_LE(narrow.Right, 40);
    EXPECT_GT(narrow.Right, 20);
    narrow = Rect(0, 0, 40, 30);
    e->Canvas()->DrawText("Osvezi komunikaciju", narrow, DT_END_ELLIPSIS);
    EXPECT_LE(InkBounds(*e).Right, 40);
}

// A file's name cut short for its room loses whole letters, never half of one.
TEST(DrawText, AnEllipsisCutsBetweenLetters)
{
    auto b = TextBitmap(200, 20);
    const QChar c(0x10C); // Č, two bytes in the name
    std::string name;
    for (int i = 0; i < 6; ++i)
        name += "\xC4\x8C";
    const QFontMetrics m(b->Canvas()->Font()->ToQFont());
    for (int room = 4; room < m.horizontalAdvance(QString(6, c)); ++room) {
        int whole = 6;
        while (whole > 0 && m.horizontalAdvance(QString(whole, c) + "...") > room)
            --whole;
        TRect r = Rect(0, 0, room, 20);
        b->Canvas()->DrawText(name, r, DT_CALCRECT | DT_SINGLELINE | DT_END_ELLIPSIS);
        EXPECT_EQ(r.Width(), m.horizontalAdvance(QString(whole, c) + "...")) << room;
    }
}

TEST(Text, RotatedTextTurnsAboutItsStartPoint)
{
    auto flat = TextBitmap(80, 80), up = TextBitmap(80, 80), down = TextBitmap(80, 80);
    flat->Canvas()->TextOut(30, 40, "100%");
    up->Canvas()->Font()->SetOrientation(900);
    up->Canvas()->TextOut(30, 60, "100%");
    down->Canvas()->Font()->SetOrientation(2700);
    down->Canvas()->TextOut(50, 10, "100%");
    TRect f = InkBounds(*flat), u = InkBounds(*up), d = InkBounds(*down);
    EXPECT_GT(f.Width(), f.Height());
    EXPECT_GT(u.Height(), u.Width());
    EXPECT_GT(d.Height(), d.Width());
    // 90 degrees reads upward from the start point, the cell to its right;
    // 270 degrees reads downward, the cell to its left.
    EXPECT_LE(u.Bottom, 61);
    EXPECT_GE(u.Left, 30);
    EXPECT_GE(d.Top, 9);
    EXPECT_LE(d.Right, 51);
    EXPECT_NEAR(u.Height(), f.Width(), 2);
}
