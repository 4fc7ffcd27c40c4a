#include "LcdHelpers.h"

#include <gtest/gtest.h>

#include <cctype>
#include <climits>
#include <functional>
#include <string>
#include <vector>

// A picture too large for the machine is refused by the allocator, not
// reported by the sanitizer as a fault: the label must live with it.
extern "C" const char *__asan_default_options()
{
    return "allocator_may_return_null=1";
}

namespace {

class TCountingLabel : public TLCDLabel {
public:
    using TLCDLabel::TLCDLabel;
    int Paints = 0;

protected:
    void Paint() override
    {
        ++Paints;
        TLCDLabel::Paint();
    }
};

TEST(LcdLabel, SizesItselfFromItsCells)
{
    TLCDLabel fresh(nullptr);
    EXPECT_EQ(fresh.Width(), 166);
    EXPECT_EQ(fresh.Height(), 28);
    EXPECT_EQ(fresh.LastWidth(), 166);
    EXPECT_EQ(fresh.LastHeight(), 28);

    // The console's temperature and period read-outs.
    TLCDLabel temperature(nullptr);
    temperature.SetPixelSize(pix3x3);
    temperature.SetNoOfChars(6);
    EXPECT_EQ(temperature.Width(), 132);
    EXPECT_EQ(temperature.Height(), 35);
    EXPECT_EQ(temperature.CellWidth(), 19);
    EXPECT_EQ(temperature.CellHeight(), 27);

    TLCDLabel period(nullptr);
    period.SetPixelSize(pix1x1);
    period.SetNoOfChars(14);
    EXPECT_EQ(period.Width(), 160);
    EXPECT_EQ(period.Height(), 21);

    TLCDLabel twoLines(nullptr);
    twoLines.SetTextLines(2);
    twoLines.SetDotMatrix(mat9x12);
    // 2 x 3 + 2 + 2 x (12 x 2 + 11) + 2
    EXPECT_EQ(twoLines.Height(), 80);
}

TEST(LcdLabel, OutsideResizeRefitsToWholeCells)
{
    TLCDLabel label(nullptr);
    label.SetWidth(100);
    label.Repaint();
    EXPECT_EQ(label.NoOfChars(), 6);
    EXPECT_EQ(label.Width(), 102);
    EXPECT_EQ(label.LastWidth(), 102);

    label.SetBounds(0, 0, 5, 100);
    label.Repaint();
    EXPECT_EQ(label.NoOfChars(), 1);
    EXPECT_EQ(label.TextLines(), 4);
    EXPECT_EQ(label.Width(), 22);
    EXPECT_EQ(label.Height(), 94);

    // No area at all: no paint comes, and the label still fits one cell.
    for (const TSize size : {TSize{0, 0}, TSize{0, 50}, TSize{60, 0}}) {
        label.SetBounds(0, 0, size.cx, size.cy);
        EXPECT_GE(label.NoOfChars(), 1);
        EXPECT_GE(label.TextLines(), 1);
        EXPECT_EQ(label.Width(), label.LastWidth()) << size.cx << "x" << size.cy;
        EXPECT_EQ(label.Height(), label.LastHeight()) << size.cx << "x" << size.cy;
        EXPECT_GT(label.Width(), 0);
        EXPECT_GT(label.Height(), 0);
    }
    label.SetBounds(0, 0, 0, 0);
    EXPECT_EQ(label.NoOfChars(), 1);
    EXPECT_EQ(label.TextLines(), 1);
    EXPECT_EQ(label.Width(), 22) << "one cell, as the 5-wide label above";
}

TEST(LcdLabel, CellsAfterTheTextShowTheFirstGlyph)
{
    TLCDLabel label(nullptr);
    label.SetPixelOn(clBlack);
    label.SetPixelOff(clWhite);
    label.SetCaption("AB");
    label.Repaint();
    // pix2x2 with spacing 1: dot (row, col) of cell k starts at
    // x = 4 + 16 k + 3 col, y = 4 + 3 row.
    auto dot = [&](int cell, int row, int col) {
        return label.Canvas()->Pixels(4 + 16 * cell + 3 * col, 4 + 3 * row);
    };
    EXPECT_EQ(dot(0, 0, 0), clWhite);
    EXPECT_EQ(dot(0, 0, 1), clBlack);
    EXPECT_EQ(dot(1, 0, 0), clBlack);
    for (int cell = 2; cell < 10; ++cell)
        for (int row = 0; row < 7; ++row)
            for (int col = 0; col < 5; ++col)
                ASSERT_EQ(dot(cell, row, col), clWhite) << cell << " " << row << " " << col;
    // The gaps between dots show the background.
    EXPECT_EQ(label.Canvas()->Pixels(6, 4), 0xC0C0C0);
}

TEST(LcdLabel, CodesAreClampedIntoTheSetsRange)
{
    TLCDLabel label(nullptr);
    MakeGlyphReader(label);
    label.SetDotMatrix(mat9x12);
    EXPECT_EQ(PaintedGlyph(label, "\xC8"), PaintedGlyph(label, "~"));

    // A control code is the blank below the first code of the ASCII sets, but
    // dos5x7 starts at 0 and has glyphs of its own there.
    label.SetDotMatrix(mat5x7);
    EXPECT_EQ(PaintedGlyph(label, "\x01"), PaintedGlyph(label, " "));
    label.SetDotMatrix(dos5x7);
    EXPECT_EQ(label.FirstChar(), 0);
    EXPECT_NE(PaintedGlyph(label, "\x01"), PaintedGlyph(label, " "));

    label.SetDotMatrix(Hitachi);
    EXPECT_EQ(PaintedGlyph(label, "\xFF"), PaintedGlyph(label, "\xDF"));
}

struct TTellingGlyph {
    TDotMatrix Matrix;
    std::string Text;
    std::string Picture;
};

TEST(LcdLabel, BuiltInSetsDrawTheirTellingGlyphs)
{
    const std::vector<TTellingGlyph> cases = {
        {mat5x7, "A", ".###. #...# #...# #...# ##### #...# #...#"},
        {Hitachi, "A", ".###. #...# #...# #...# ##### #...# #...#"},
        {dos5x7, "A", ".###. #...# #...# #...# ##### #...# #...#"},
        {mat5x8, "A", ".###. #...# #...# #...# ##### #...# #...# ....."},
        {mat5x7, "0", ".###. #...# #..## #.#.# ##..# #...# .###."},
        {mat7x9, "A", "...#... ..#.#.. .#...#. #.....# #.....# ####### #.....# #.....# #.....#"},
        {mat9x12, "A",
         "..####... ...#.#... ...#.#... ..#...#.. ..#...#.. .#.....#. .#######. .#.....#. "
         ".#.....#. .#.....#. ###...### ........."},
        {Hitachi, "\xB0", ".###. #...# #...# .###. ..... ..... ....."},
        {dos5x7, "\xB0", "#.#.# ..... #.#.# ..... #.#.# ..... ....."},
        {Hitachi2, "\xC2", "..... ..... .###. #...# ####. #...# ####. #.... #.... #...."},
        {Hitachi2, "A", ".###. #...# #...# #...# ##### #...# #...# ..... ..... ....."},
    };
    TLCDLabel label(nullptr);
    MakeGlyphReader(label);
    for (const TTellingGlyph &c : cases) {
        label.SetDotMatrix(c.Matrix);
        EXPECT_EQ(PaintedGlyph(label, c.Text), Rows(c.Picture)) << c.Matrix << " " << c.Text;
    }
}

TEST(LcdLabel, EveryBuiltInSetHasItsCellAndRange)
{
    struct TSet {
        TDotMatrix Matrix;
        int Cols, Rows, First, Last;
    };
    const std::vector<TSet> sets = {
        {mat5x7, 5, 7, 32, 126},   {mat5x8, 5, 8, 32, 126},  {mat7x9, 7, 9, 32, 126},
        {mat9x12, 9, 12, 32, 126}, {Hitachi, 5, 7, 32, 223}, {Hitachi2, 5, 10, 32, 223},
        {dos5x7, 5, 7, 0, 255},
    };
    TLCDLabel label(nullptr);
    MakeGlyphReader(label);
    for (const TSet &s : sets) {
        label.SetDotMatrix(s.Matrix);
        EXPECT_EQ(label.GlyphCols(), s.Cols) << s.Matrix;
        EXPECT_EQ(label.GlyphRows(), s.Rows) << s.Matrix;
        EXPECT_EQ(label.FirstChar(), s.First) << s.Matrix;
        EXPECT_EQ(label.LastChar(), s.Last) << s.Matrix;
        // Every printable glyph but the blank lights something, and no two
        // letters share a picture.
        std::vector<std::vector<std::string>> letters;
        for (int code = 33; code <= 126; ++code) {
            auto glyph = PaintedGlyph(label, std::string(1, char(code)));
            EXPECT_NE(glyph, PaintedGlyph(label, " ")) << s.Matrix << " " << code;
            if (std::isalnum(code)) {
                for (const auto &other : letters)
                    EXPECT_NE(glyph, other) << s.Matrix << " " << char(code);
                letters.push_back(glyph);
            }
        }
    }
}

TEST(LcdLabel, DimColorHalvesTheStoredBytes)
{
    TLCDLabel label(nullptr);
    label.SetPixelOn(0x00FFFFFF);
    EXPECT_EQ(label.DimColor(), 0x007F7F7F);
    label.SetPixelOn(clWindowText);
    EXPECT_EQ(label.DimColor(), TColorOf(0x80000004));
    label.SetPixelOn(0x000080FF);
    EXPECT_EQ(label.DimColor(), 0x0000407F);
}

TEST(LcdLabel, PixelShapes)
{
    TLCDLabel label(nullptr);
    label.SetPixelSize(pix5x5);
    label.SetPixelOn(0x0000FF);
    label.SetPixelOff(0x00FF00);
    label.SetBackGround(clWhite);
    label.SetCaption("A");
    // Dot (0, 1) of 'A' is lit, dot (0, 0) unlit; each is 5 x 5 from
    // (4 + 6 col, 4 + 6 row).
    auto at = [&](int x, int y) { return label.Canvas()->Pixels(x, y); };

    label.Repaint();
    EXPECT_EQ(at(10, 4), 0x0000FF);
    EXPECT_EQ(at(4, 4), 0x00FF00);

    label.SetPixelShape(spShaped);
    EXPECT_EQ(at(10, 4), 0x00007F); // dim square corner
    EXPECT_EQ(at(12, 6), 0x0000FF); // lit circle inside
    EXPECT_EQ(at(4, 4), 0x00FF00);  // unlit dots stay square

    label.SetPixelShape(spRound);
    EXPECT_EQ(at(10, 4), clWhite);
    EXPECT_EQ(at(12, 6), 0x0000FF);
    EXPECT_EQ(at(4, 4), clWhite);
    EXPECT_EQ(at(6, 6), 0x00FF00);
}

TEST(LcdLabel, BordersAndStates)
{
    TLCDLabel label(nullptr);
    label.SetBackGround(0x123456);
    label.SetBorderColor(0x0000FF);
    const TColor shadow = ColorToRGB(clBtnShadow), light = ColorToRGB(clBtnHighlight);
    struct TCase {
        TMyBorder Border;
        TColor TopLeft, BottomRight;
    };
    for (TCase c : {TCase{frRaised, light, shadow}, TCase{frLowered, shadow, light},
                    TCase{frSingle, 0x0000FF, 0x0000FF}, TCase{frNone, 0x123456, 0x123456}}) {
        label.SetBorderStyle(c.Border);
        label.Repaint();
        EXPECT_EQ(label.Canvas()->Pixels(0, 5), c.TopLeft) << c.Border;
        EXPECT_EQ(label.Canvas()->Pixels(5, 0), c.TopLeft) << c.Border;
        EXPECT_EQ(label.Canvas()->Pixels(label.Width() - 1, 5), c.BottomRight) << c.Border;
        EXPECT_EQ(label.Canvas()->Pixels(5, label.Height() - 1), c.BottomRight) << c.Border;
    }

    // Disabled: background and frame, no dots.
    label.SetCaption("88888");
    label.SetEnabled(false);
    label.Repaint();
    TRect inner = Rect(1, 1, label.Width() - 1, label.Height() - 1);
    for (int y = inner.Top; y < inner.Bottom; ++y)
        for (int x = inner.Left; x < inner.Right; ++x)
            ASSERT_EQ(label.Canvas()->Pixels(x, y), 0x123456) << x << "," << y;

    label.SetVisible(false);
    label.Repaint();
    EXPECT_EQ(label.Canvas()->Pixels(0, 0), ColorToRGB(clBtnFace));
    EXPECT_EQ(label.Canvas()->Pixels(20, 10), ColorToRGB(clBtnFace));
}

TEST(LcdLabel, CaptionRepaintsOnlyOnAChange)
{
    TCountingLabel label(nullptr);
    label.SetCaption("12.5");
    const int paints = label.Paints;
    EXPECT_GE(paints, 1);
    label.SetCaption("12.5");
    EXPECT_EQ(label.Paints, paints);
    EXPECT_STREQ(label.TextBuffer(), "12.5");

    label.SetCaption(std::string(300, 'x'));
    EXPECT_EQ(label.Caption().size(), 255u);
    EXPECT_EQ(std::string(label.TextBuffer()).size(), 255u);
    // Cells beyond 256 keep drawing the blank after the buffer's end.
    label.SetNoOfChars(300);
    label.Repaint();
    EXPECT_EQ(label.NoOfChars(), 300);
}

struct TRefusal {
    void (TLCDLabel::*Set)(int);
    int (TLCDLabel::*Get)() const;
    int Lowest;
    const char *Message;
};

TEST(LcdLabel, RefusedValuesShowTheirMessageAndKeepTheOldValue)
{
    const std::vector<TRefusal> cases = {
        {&TLCDLabel::SetPixelSpacing, &TLCDLabel::PixelSpacing, 0,
         "Pixel spacing can't be less than zero!"},
        {&TLCDLabel::SetCharSpacing, &TLCDLabel::CharSpacing, 0,
         "Character spacing can't be less than zero!"},
        {&TLCDLabel::SetLineSpacing, &TLCDLabel::LineSpacing, 0,
         "Line spacing can't be less than zero!"},
        {&TLCDLabel::SetBorderSpace, &TLCDLabel::BorderSpace, 0,
         "Border spacing can't be less than zero!"},
        {&TLCDLabel::SetTextLines, &TLCDLabel::TextLines, 1, "Display needs at least on line!"},
        {&TLCDLabel::SetNoOfChars, &TLCDLabel::NoOfChars, 1,
         "Display needs at least one character!"},
        {&TLCDLabel::SetPixelWidth, &TLCDLabel::PixelWidth, 1,
         "Display pixel width must be 1 or greater!"},
        {&TLCDLabel::SetPixelHeight, &TLCDLabel::PixelHeight, 1,
         "Display pixel height must be 1 or greate!"},
    };
    for (const TRefusal &c : cases) {
        TScriptedDialogs dialogs;
        TLCDLabel label(nullptr);
        label.SetPixelSize(pixCustom);
        const int before = (label.*c.Get)();
        const int width = label.Width();
        (label.*c.Set)(c.Lowest - 1);
        ASSERT_EQ(dialogs.Texts.size(), 1u) << c.Message;
        EXPECT_EQ(dialogs.Texts[0], c.Message);
        EXPECT_EQ(dialogs.LastFlags, MB_OK | MB_ICONERROR);
        EXPECT_EQ((label.*c.Get)(), before) << c.Message;
        EXPECT_EQ(label.Width(), width) << c.Message;
        // The lowest valid value is taken without a word.
        (label.*c.Set)(c.Lowest);
        EXPECT_EQ(dialogs.Texts.size(), 1u) << c.Message;
        EXPECT_EQ((label.*c.Get)(), c.Lowest) << c.Message;
    }
    TScriptedDialogs dialogs;
    TLCDLabel label(nullptr);
    label.SetNoOfChars(0);
    EXPECT_EQ(label.NoOfChars(), 10);
    EXPECT_EQ(dialogs.Texts, std::vector<std::string>{"Display needs at least one character!"});
}

TEST(LcdLabel, PixelWidthAndHeightCountOnlyForCustomDots)
{
    TScriptedDialogs dialogs;
    TLCDLabel label(nullptr);
    label.SetPixelWidth(5);
    label.SetPixelHeight(0);
    EXPECT_TRUE(dialogs.Texts.empty());
    EXPECT_EQ(label.PixelWidth(), 2);
    label.Repaint();
    EXPECT_EQ(label.PixelWidth(), 2);
    EXPECT_EQ(label.Width(), 166);

    label.SetPixelSize(pix4x4);
    EXPECT_EQ(label.PixelWidth(), 4);
    EXPECT_EQ(label.PixelHeight(), 4);
    label.SetPixelSize(pixCustom);
    label.SetPixelWidth(1);
    label.SetPixelHeight(3);
    EXPECT_EQ(label.DotWidth(), 1);
    EXPECT_EQ(label.DotHeight(), 3);
    // 5 x 1 + 4 spacing; 7 x 3 + 6 spacing.
    EXPECT_EQ(label.CellWidth(), 9);
    EXPECT_EQ(label.CellHeight(), 27);
    EXPECT_TRUE(dialogs.Texts.empty());
}

// Every cell property is a 32-bit number with no upper bound: a size that
// cannot be made is refused whole, and the label goes on as it was.
TEST(LcdLabel, SizesThatCannotBeMadeLeaveTheLabelAsItWas)
{
    TLCDLabel label(nullptr);
    label.SetCaption("12.5");
    label.Repaint();
    const QImage before = label.Canvas()->Bitmap()->Image().copy();
    struct Case {
        const char *Name;
        std::function<void()> Set;
    };
    const std::vector<Case> cases = {
        {"NoOfChars 10,000,000", [&] { label.SetNoOfChars(10000000); }},
        {"NoOfChars INT_MAX", [&] { label.SetNoOfChars(INT_MAX); }},
        {"TextLines INT_MAX", [&] { label.SetTextLines(INT_MAX); }},
        {"PixelSpacing 200,000,000", [&] { label.SetPixelSpacing(200000000); }},
        {"PixelSpacing INT_MAX", [&] { label.SetPixelSpacing(INT_MAX); }},
        {"CharSpacing INT_MAX", [&] { label.SetCharSpacing(INT_MAX); }},
        {"BorderSpace INT_MAX", [&] { label.SetBorderSpace(INT_MAX); }},
        // Within the largest side, but no machine has the picture's memory.
        {"PixelSpacing 2,500,000 on one cell",
         [&] {
             label.SetNoOfChars(1);
             label.SetPixelSpacing(2500000);
         }},
    };
    for (const Case &c : cases) {
        EXPECT_THROW(c.Set(), EOutOfResources) << c.Name;
        label.SetNoOfChars(10);
        EXPECT_EQ(label.NoOfChars(), 10) << c.Name;
        EXPECT_EQ(label.TextLines(), 1) << c.Name;
        EXPECT_EQ(label.PixelSpacing(), 1) << c.Name;
        EXPECT_EQ(label.CharSpacing(), 2) << c.Name;
        EXPECT_EQ(label.BorderSpace(), 3) << c.Name;
        EXPECT_EQ(label.CellWidth(), 14) << c.Name;
        EXPECT_EQ(label.Width(), 166) << c.Name;
        EXPECT_EQ(label.Height(), 28) << c.Name;
        label.Repaint();
        EXPECT_TRUE(label.Canvas()->Bitmap()->Image() == before) << c.Name;
    }
    label.SetPixelSize(pixCustom);
    EXPECT_THROW(label.SetPixelWidth(INT_MAX), EOutOfResources);
    EXPECT_THROW(label.SetPixelHeight(INT_MAX), EOutOfResources);
    EXPECT_EQ(label.PixelWidth(), 2);
    EXPECT_EQ(label.PixelHeight(), 2);
    EXPECT_TRUE(label.Canvas()->Bitmap()->Image() == before);

    // A spacing that falls only between cells there are none of is fine.
    label.SetTextLines(1);
    label.SetLineSpacing(INT_MAX);
    EXPECT_EQ(label.Height(), 28);
    label.SetLineSpacing(2);

    // Ordinary values are taken and painted as ever.
    label.SetNoOfChars(12);
    EXPECT_EQ(label.Width(), 198);
    label.SetCaption("123456789012");
    label.Repaint();
    // The twelfth cell shows the same "2" as the second.
    int lit = 0;
    for (int dy = 0; dy < 20; ++dy)
        for (int dx = 0; dx < 14; ++dx) {
            const TColor last = label.Canvas()->Pixels(4 + 11 * 16 + dx, 4 + dy);
            EXPECT_EQ(last, label.Canvas()->Pixels(4 + 16 + dx, 4 + dy)) << dx << "," << dy;
            lit += last == label.PixelOn();
        }
    EXPECT_GT(lit, 20);
}

} // namespace
