#include "LcdHelpers.h"
#include "RandomBytes.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

namespace {

void PutInt(std::vector<uint8_t> &Bytes, int32_t Value)
{
    for (int i = 0; i < 4; ++i)
        Bytes.push_back(uint8_t(uint32_t(Value) >> (8 * i)));
}

std::vector<uint8_t> Header(int Cols, int Rows, int First, int Last)
{
    std::vector<uint8_t> bytes;
    for (int v : {Cols, Rows, First, Last})
        PutInt(bytes, v);
    return bytes;
}

// A 3 x 4 font for codes 65 and 66: 'A' is a frame, 'B' a vertical bar in
// the middle column (file sense: 0 lit).
std::vector<uint8_t> SmallFont()
{
    std::vector<uint8_t> bytes = Header(3, 4, 65, 66);
    const char *pictures[] = {"### #.# #.# ###", ".#. .#. .#. .#."};
    for (const char *picture : pictures)
        for (const char *p = picture; *p; ++p)
            if (*p != ' ')
                bytes.push_back(*p == '#' ? 0 : 1);
    return bytes;
}

class GlyphFile : public ::testing::Test {
protected:
    std::string Write(const std::vector<uint8_t> &Bytes, const char *Name = "font.fnt")
    {
        const std::string path = Dir.filePath(Name).toStdString();
        std::ofstream(path, std::ios::binary | std::ios::trunc)
            .write(reinterpret_cast<const char *>(Bytes.data()), std::streamsize(Bytes.size()));
        return path;
    }
    QTemporaryDir Dir;
};

TEST_F(GlyphFile, LoadsAndDrawsInTheFilesInvertedSense)
{
    TLCDLabel label(nullptr);
    MakeGlyphReader(label);
    label.Setfilename(Write(SmallFont()));
    EXPECT_EQ(label.DotMatrix(), CustomFont);
    EXPECT_EQ(label.GlyphCols(), 3);
    EXPECT_EQ(label.GlyphRows(), 4);
    EXPECT_EQ(PaintedGlyph(label, "A"), Rows("### #.# #.# ###"));
    EXPECT_EQ(PaintedGlyph(label, "B"), Rows(".#. .#. .#. .#."));
    EXPECT_EQ(label.FirstChar(), 65);
    EXPECT_EQ(label.LastChar(), 66);
    // Codes outside the file's range clamp into it, the blank cells included.
    EXPECT_EQ(PaintedGlyph(label, "Z"), PaintedGlyph(label, "B"));
    EXPECT_EQ(PaintedGlyph(label, ""), PaintedGlyph(label, "A"));
    // 1 x 1 dots, no spacing: the cell is the glyph plus frame and border.
    EXPECT_EQ(label.Width(), 5);
    EXPECT_EQ(label.Height(), 6);

    // Switching away and back reloads the file.
    label.SetDotMatrix(mat9x12);
    EXPECT_EQ(label.GlyphCols(), 9);
    label.SetDotMatrix(CustomFont);
    EXPECT_EQ(label.DotMatrix(), CustomFont);
    EXPECT_EQ(PaintedGlyph(label, "A"), Rows("### #.# #.# ###"));
}

TEST_F(GlyphFile, FailedLoadsKeepThePreviousSet)
{
    TLCDLabel label(nullptr);
    MakeGlyphReader(label);
    label.SetDotMatrix(CustomFont);
    EXPECT_EQ(label.DotMatrix(), mat5x7) << "no file name";

    label.SetDotMatrix(Hitachi);
    label.Setfilename(Dir.filePath("missing.fnt").toStdString());
    EXPECT_EQ(label.DotMatrix(), Hitachi);
    EXPECT_EQ(label.LastChar(), 223);

    // From a loaded custom set a failed load falls back to mat5x7.
    label.Setfilename(Write(SmallFont()));
    ASSERT_EQ(label.DotMatrix(), CustomFont);
    label.Setfilename(Dir.filePath("missing.fnt").toStdString());
    EXPECT_EQ(label.DotMatrix(), mat5x7);
    EXPECT_EQ(label.GlyphCols(), 5);
    EXPECT_EQ(label.GlyphRows(), 7);
    EXPECT_EQ(label.FirstChar(), 32);
    EXPECT_EQ(PaintedGlyph(label, "A"), Rows(".###. #...# #...# #...# ##### #...# #...#"));
}

TEST_F(GlyphFile, FilesOutsideTheFormatAreRefused)
{
    const std::vector<uint8_t> font = SmallFont();
    std::vector<uint8_t> badByte = font;
    badByte[16 + 5] = 2;
    std::vector<uint8_t> shortGlyphs = font;
    shortGlyphs.pop_back();
    const std::vector<std::pair<const char *, std::vector<uint8_t>>> cases = {
        {"empty", {}},
        {"short header", std::vector<uint8_t>(font.begin(), font.begin() + 15)},
        {"short glyphs", shortGlyphs},
        {"no columns", Header(0, 4, 65, 65)},
        {"negative rows", Header(3, -1, 65, 65)},
        {"first below 0", Header(1, 1, -1, 0)},
        {"last above 255", Header(1, 1, 250, 256)},
        {"first above last", Header(1, 1, 66, 65)},
        {"huge glyph", Header(1 << 20, 1 << 20, 0, 0)},
        {"largest glyphs", Header(INT32_MAX, INT32_MAX, 0, 255)},
        {"largest glyph, a little data",
         [] {
             std::vector<uint8_t> b = Header(INT32_MAX, INT32_MAX, 7, 7);
             b.resize(b.size() + 4096, 1);
             return b;
         }()},
        {"dot byte 2", badByte},
    };
    TGlyphFile untouched;
    untouched.Cols = 42;
    for (const auto &[name, bytes] : cases) {
        const std::string path = Write(bytes);
        EXPECT_FALSE(ReadGlyphFile(path, untouched)) << name;
        EXPECT_EQ(untouched.Cols, 42) << name;
        TLCDLabel label(nullptr);
        label.SetDotMatrix(mat7x9);
        label.Setfilename(path);
        EXPECT_EQ(label.DotMatrix(), mat7x9) << name;
        EXPECT_EQ(label.GlyphCols(), 7) << name;
    }

    // Bytes after the announced glyphs are not part of the font.
    std::vector<uint8_t> trailing = SmallFont();
    trailing.push_back(7);
    TGlyphFile glyphs;
    EXPECT_TRUE(ReadGlyphFile(Write(trailing), glyphs));
    EXPECT_EQ(glyphs.Dots.size(), 2u * 12u);
}

TEST_F(GlyphFile, GlyphsOfAnySizeTheFileHoldsLoad)
{
    // 100 columns by 70 rows for code 48: a frame with a diagonal.
    const int cols = 100, rows = 70;
    std::vector<uint8_t> bytes = Header(cols, rows, 48, 48);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c)
            bytes.push_back(r == 0 || c == 0 || r == rows - 1 || c == cols - 1 || c == r ? 0 : 1);
    TLCDLabel label(nullptr);
    MakeGlyphReader(label);
    label.Setfilename(Write(bytes));
    ASSERT_EQ(label.DotMatrix(), CustomFont);
    EXPECT_EQ(label.GlyphCols(), cols);
    EXPECT_EQ(label.GlyphRows(), rows);
    EXPECT_EQ(label.Width(), cols + 2);
    EXPECT_EQ(label.Height(), rows + 2);
    const std::vector<std::string> painted = PaintedGlyph(label, "0");
    ASSERT_EQ(painted.size(), size_t(rows));
    EXPECT_EQ(painted[0], std::string(cols, '#'));
    EXPECT_EQ(painted[5], "#....#" + std::string(cols - 7, '.') + "#");
    EXPECT_EQ(painted[69], std::string(cols, '#'));

    // One row of 300,000 dots is a file of 300 kB.
    std::vector<uint8_t> line = Header(300000, 1, 32, 32);
    line.resize(line.size() + 300000, 1);
    line[16 + 299999] = 0;
    TGlyphFile wide;
    ASSERT_TRUE(ReadGlyphFile(Write(line), wide));
    EXPECT_EQ(wide.Cols, 300000);
    EXPECT_EQ(wide.Dots.size(), 300000u);
    EXPECT_EQ(wide.Dots.back(), 1);

    // Glyphs whose cells no label can be made of: the label stays as it was.
    std::vector<uint8_t> huge = Header(2000000, 1, 32, 32);
    huge.resize(huge.size() + 2000000, 0);
    TLCDLabel plain(nullptr);
    plain.SetDotMatrix(Hitachi);
    EXPECT_THROW(plain.Setfilename(Write(huge, "huge.fnt")), EOutOfResources);
    EXPECT_EQ(plain.DotMatrix(), Hitachi);
    EXPECT_EQ(plain.filename(), "");
    EXPECT_EQ(plain.GlyphCols(), 5);
    EXPECT_EQ(plain.LastChar(), 223);
    EXPECT_EQ(plain.Width(), 166);
    EXPECT_EQ(PaintedGlyph(plain, "A")[0].size(), 5u);

    // A megabyte of glyph whose ten-cell label would be a picture of
    // gigabytes: refused the same way, before any of it is made.
    std::vector<uint8_t> square = Header(1000, 1000, 32, 32);
    square.resize(square.size() + 1000 * 1000, 0);
    EXPECT_THROW(plain.Setfilename(Write(square, "square.fnt")), EOutOfResources);
    EXPECT_EQ(plain.DotMatrix(), Hitachi);
    EXPECT_EQ(plain.Width(), 166);
}

// Whatever a file holds, the label ends with either the whole file's glyph
// set or the set it had before, and paints either without a fault.
TEST_F(GlyphFile, RandomAndTruncatedFilesNeverLeaveAHalfLoadedSet)
{
    TLCDLabel label(nullptr);
    label.SetPixelSize(pix1x1);
    label.SetCaption("Az\x01\xFF");
    auto check = [&](const std::vector<uint8_t> &bytes, int round) {
        label.SetDotMatrix(Hitachi2);
        label.Setfilename(Write(bytes));
        TGlyphFile expected;
        if (ReadGlyphFile(label.filename(), expected)) {
            ASSERT_EQ(label.DotMatrix(), CustomFont) << round;
            EXPECT_EQ(label.GlyphCols(), expected.Cols) << round;
            EXPECT_EQ(label.GlyphRows(), expected.Rows) << round;
            EXPECT_EQ(label.FirstChar(), expected.First) << round;
            EXPECT_EQ(label.LastChar(), expected.Last) << round;
        } else {
            ASSERT_EQ(label.DotMatrix(), Hitachi2) << round;
            EXPECT_EQ(label.GlyphCols(), 5) << round;
            EXPECT_EQ(label.GlyphRows(), 10) << round;
            EXPECT_EQ(label.LastChar(), 223) << round;
        }
        label.Repaint();
    };

    int loaded = 0;
    for (uint32_t round = 0; round < 300; ++round) {
        std::vector<uint8_t> noise = RandomBytes(16 + round % 97, round);
        check(noise, int(round));
        // Plausible headers with random dots: mostly refused for a stray byte,
        // loaded when the dots happen to be only zeros and ones.
        std::vector<uint8_t> bytes = Header(1 + round % 4, 1 + round % 3, 60 + round % 7, 66);
        const size_t dots = size_t(1 + round % 4) * (1 + round % 3) * (66 - (60 + round % 7) + 1);
        for (uint8_t b : RandomBytes(dots, round + 1000))
            bytes.push_back(round % 2 ? b & 1 : b % 3);
        check(bytes, int(round));
        loaded += label.DotMatrix() == CustomFont;
    }
    EXPECT_GT(loaded, 100);

    const std::vector<uint8_t> font = SmallFont();
    for (size_t length = 0; length <= font.size(); ++length) {
        check(std::vector<uint8_t>(font.begin(), font.begin() + length), int(length));
        EXPECT_EQ(label.DotMatrix() == CustomFont, length == font.size()) << length;
    }
}

} // namespace
