// Reading and writing rich text, below the control.
#include "Graphics.h"
#include "Rtf.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <gtest/gtest.h>

#include <string>

namespace {

QString Read(const std::string &Rtf)
{
    QTextDocument doc;
    ReadRtf(Rtf, doc);
    return doc.toRawText();
}

QTextCharFormat FormatAt(const QTextDocument &Doc, int Position)
{
    QTextCursor c(const_cast<QTextDocument *>(&Doc));
    c.setPosition(Position + 1);
    return c.charFormat();
}

const QString Par(QChar::ParagraphSeparator);

} // namespace

TEST(Rtf, ReadsTextEscapesAndLineBreaks)
{
    const struct {
        const char *Rtf;
        QString Text;
    } cases[] = {
        {"{\\rtf1 a\\par b\\par }", "a" + Par + "b"},
        {"{\\rtf1 a\\par\\par b\\par\\par}", "a" + Par + Par + "b" + Par},
        {"{\\rtf1 a\\line b\\tab c}", QString("a") + QChar::LineSeparator + "b\tc"},
        {"{\\rtf1 x\\'e9\\'80\\'b0}", QString("x") + QChar(0xE9) + QChar(0x20AC) + QChar(0xB0)},
        {"{\\rtf1 \\u1046?\\u-3913?z}", QString(QChar(0x0416)) + QChar(0xF0B7) + "z"},
        {"{\\rtf1 \\uc2\\u1046xyz}", QString(QChar(0x0416)) + "z"},
        {"{\\rtf1 \\uc0\\u233 e}", QString(QChar(0xE9)) + "e"},
        {"{\\rtf1 \\\\\\{\\}\\~}", QString("\\{}") + QChar(0xA0)},
        {"{\\rtf1 a\r\nb\\\r\nc}", "ab" + Par + "c"},
        {"{\\rtf1{\\*\\generator Word;}{\\info{\\title T}}{\\pict 0a0b}{\\stylesheet{\\s0 N;}}t}",
         "t"},
        {"{\\rtf1 {\\b bold} and {\\i italic}}", "bold and italic"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(Read(c.Rtf), c.Text) << c.Rtf;
}

TEST(Rtf, MalformedInputEndsCleanly)
{
    const struct {
        std::string Rtf;
        QString Text;
    } cases[] = {
        {"{\\rtf1 ab}}}}c", "ab"},
        {"}}}{\\rtf1 ab", "ab"},
        {"{\\rtf1 {\\b ab", "ab"},
        {"{\\rtf1 a{\\*\\blip\\bin3 }}}b}c}", "ac"},
        {"{\\rtf1 a\\bin99999999999 bc}", "a"},
        {"{\\rtf1 a\\'4", "a"},
        {"{\\rtf1 a\\'zzb", "azzb"},
        {"{\\rtf1 a\\", "a"},
        {"{\\rtf1 \\fs99999999999999999999 \\cf-99999999999 \\f2147483648 \\u99999999 ?a}", "a"},
        {"{\\rtf1 \\u-32768 x}", QString(QChar(0x8000))},
        {"{\\rtf1 \\uc99999999 \\u233 abc}", QString(QChar(0xE9))},
        {"{\\rtf1 a\\u0?b\\u13?c\\u65533?d}", "ab" + Par + "c" + QChar(0xFFFD) + "d"},
        {"{\\rtf1 " + std::string(100000, '{') + "deep" + std::string(100000, '}') + " after}",
         "deep after"},
        {std::string("{\\rtf1 \0x\x01y}", 12), "xy"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(Read(c.Rtf), c.Text) << c.Rtf.substr(0, 60);
}

TEST(Rtf, ReadsFontsSizesAndColours)
{
    QTextDocument doc;
    ReadRtf("{\\rtf1\\deff1{\\fonttbl{\\f0\\fswiss Arial;}{\\f1\\froman Times New Roman;}}"
            "{\\colortbl;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}"
            "d\\f0\\fs32\\b\\cf1 B{\\i\\ul\\cf2 I}\\b0 N\\plain P}",
            doc);
    ASSERT_EQ(doc.toRawText(), "dBINP");
    const QTextCharFormat d = FormatAt(doc, 0), b = FormatAt(doc, 1), i = FormatAt(doc, 2),
                          n = FormatAt(doc, 3), p = FormatAt(doc, 4);
    // Each run keeps the face it names and is drawn in the installed one
    // that matches it.
    EXPECT_EQ(RtfFaceName(d), "Times New Roman");
    EXPECT_EQ(d.fontFamilies().toStringList(), QStringList{FontFamilyFor("Times New Roman", 16)});
    EXPECT_EQ(d.fontPointSize(), 12.0);
    EXPECT_FALSE(d.hasProperty(QTextFormat::ForegroundBrush));
    EXPECT_EQ(RtfFaceName(b), "Arial");
    EXPECT_EQ(b.fontFamilies().toStringList(), QStringList{FontFamilyFor("Arial", 21, true)});
    EXPECT_EQ(b.fontPointSize(), 16.0);
    EXPECT_EQ(b.fontWeight(), QFont::Bold);
    EXPECT_EQ(b.foreground().color(), QColor(255, 0, 0));
    EXPECT_TRUE(i.fontItalic() && i.fontUnderline());
    EXPECT_EQ(i.fontWeight(), QFont::Bold);
    EXPECT_EQ(i.foreground().color(), QColor(0, 0, 255));
    EXPECT_FALSE(n.fontItalic() || n.fontUnderline());
    EXPECT_EQ(n.fontWeight(), QFont::Normal);
    EXPECT_EQ(n.foreground().color(), QColor(255, 0, 0));
    EXPECT_EQ(RtfFaceName(p), "Times New Roman");
    EXPECT_FALSE(p.hasProperty(QTextFormat::ForegroundBrush));
}

TEST(Rtf, WrittenDocumentReadsBackAlike)
{
    QTextDocument doc;
    QTextCursor c(&doc);
    QTextCharFormat f;
    f.setFontFamilies({"Serif"});
    f.setFontPointSize(9);
    f.setFontItalic(true);
    f.setForeground(QColor(1, 2, 3));
    c.insertText("a{b}\\c\t", f);
    f.setFontWeight(QFont::Bold);
    f.setFontItalic(false);
    f.setFontUnderline(true);
    c.insertText(QString("\xe9\xb0 ") + QChar(0x20AC) + QChar(0x0416) + QChar(0xD83D) +
                     QChar(0xDE00) + QChar::LineSeparator + "x",
                 f);
    c.insertBlock();
    c.insertBlock();

    const std::string rtf = WriteRtf(doc);
    QTextDocument back;
    ReadRtf(rtf, back);
    EXPECT_EQ(back.toRawText(), doc.toRawText());
    EXPECT_EQ(back.blockCount(), 3);
    for (int at : {0, 8}) {
        const QTextCharFormat was = FormatAt(doc, at), is = FormatAt(back, at);
        EXPECT_EQ(QStringList{RtfFaceName(is)}, was.fontFamilies().toStringList()) << at;
        EXPECT_EQ(is.fontPointSize(), was.fontPointSize()) << at;
        EXPECT_EQ(is.fontWeight(), was.fontWeight()) << at;
        EXPECT_EQ(is.fontItalic(), was.fontItalic()) << at;
        EXPECT_EQ(is.fontUnderline(), was.fontUnderline()) << at;
        EXPECT_EQ(is.foreground().color(), was.foreground().color()) << at;
    }
    EXPECT_EQ(WriteRtf(back), rtf);
}

TEST(Rtf, PlainTextLinesAnyEnding)
{
    QTextDocument doc;
    ReadPlainText("a\r\nb\nc\rd\xb0\r\n", doc);
    EXPECT_EQ(doc.toRawText(), "a" + Par + "b" + Par + "c" + Par + "d" + QChar(0xB0));
    EXPECT_FALSE(IsRtf("{\\rt"));
    EXPECT_TRUE(IsRtf("{\\rtf1"));
}

TEST(Rtf, WritingWhatWasReadIsStable)
{
    // Font names that the font table cannot keep as they are, and runs whose
    // formats differ only in what rich text does not keep.
    const std::string cases[] = {
        "{\\rtf1{\\fonttbl{\\f0 A\\{B;}{\\f1 AB;}{\\f2 \\u1046?x\\'01\\tab;}}\\f0 x\\f1 y\\f2 z}",
        "{\\rtf1{\\fonttbl{\\f0 Sans;\\'00\\'00}}\\f7 a\\f8 b\\par}",
    };
    for (const std::string &rtf : cases) {
        QTextDocument first, second;
        ReadRtf(rtf, first);
        const std::string written = WriteRtf(first);
        ReadRtf(written, second);
        EXPECT_EQ(second.toRawText(), first.toRawText()) << rtf;
        EXPECT_EQ(WriteRtf(second), written) << rtf;
    }
    QTextDocument doc;
    ReadRtf(cases[0], doc);
    EXPECT_EQ(RtfFaceName(FormatAt(doc, 0)), "AB");
    EXPECT_EQ(RtfFaceName(FormatAt(doc, 2)), QString(QChar(0x416)) + "x");
}
