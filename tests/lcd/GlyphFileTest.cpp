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
    std::vector<uint8_t> tooWide = Header(MaxGlyphSide + 1, 1, 0, 0);
    tooWide.resize(tooWide.size() + MaxGlyphSide + 1, 1);
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
        {"too wide", tooWide},
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
    std::vector<uint8_t> widest = Header(MaxGlyphSide, 2, 0, 0);
    widest.resize(widest.size() + 2 * MaxGlyphSide, 1);
    TGlyphFile wide;
    EXPECT_TRUE(ReadGlyphFile(Write(widest), wide));
    EXPECT_EQ(wide.Cols, MaxGlyphSide);

    // Bytes after the announced glyphs are not part of the font.
    std::vector<uint8_t> trailing = SmallFont();
    trailing.push_back(7);
    TGlyphFile glyphs;
    EXPECT_TRUE(ReadGlyphFile(Write(trailing), glyphs));
    EXPECT_EQ(glyphs.Dots.size(), 256u * 12u);
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
