// The report view's control: the console's reports in it, the click at the
// left edge, finding, saving and loading again.
#include "Graphics.h"
#include "Rtf.h"
#include "RichEdit.h"
#include "RealInput.h"
#include "../console/Records.h"
#include "Dialogs.h"
#include "DownloadReport.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTextEdit>
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

namespace {

const std::string Rule(48, '=');

// A download of two records, 14:05:30 at 22.50 °C and 14:06:30 at 23.50 °C,
// reported at 08.12.2007 14:05:30, in a view as the console's.
class ReportView : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto state = NewState();
        PutRecord(state->DownloadBuffer, 0, TSample{});
        TSample second;
        second.Minute = 6;
        second.Temperature = 6350;
        PutRecord(state->DownloadBuffer, 1, second);
        state->ByteCount = 24;
        Path = TempPath(Dir, "last_bin.rtf");
        std::ofstream(Path, std::ios::binary) << logbridge::ReportText(
            logbridge::TReportKind::rkDownload, state->DownloadBuffer, state->ByteCount,
            EncodeDate(2007, 12, 8) + EncodeTime(14, 5, 30, 0));
        Rich.SetBounds(0, 0, 600, 400);
        Rich.show();
        Rich.SetReadOnly(true);
        Rich.SetScrollBars(ssVertical);
        Rich.Lines.LoadFromFile(Path);
    }

    QTextCharFormat FormatAt(int Position) const
    {
        QTextCursor c(Rich.Editor()->document());
        c.setPosition(Position + 1);
        return c.charFormat();
    }

    // The middle of line Line's first character, in the control.
    QPoint LineStartPoint(int Line) const
    {
        QTextCursor c(Rich.Editor()->document());
        c.setPosition(Rich.LineIndex(Line));
        return {2,
                Rich.Editor()->viewport()->mapTo(&Rich, Rich.Editor()->cursorRect(c).center()).y()};
    }

    // A user's click at Point of the control.
    void ClickAt(QPoint Point)
    {
        QWidget *viewport = Rich.Editor()->viewport();
        ::ClickAt(viewport, viewport->mapFrom(&Rich, Point));
    }

    QTemporaryDir Dir;
    std::string Path;
    TRichEdit Rich{nullptr};
};

} // namespace

TEST_F(ReportView, ShowsTheReportLineByLine)
{
    const std::vector<std::string> expected = {
        Rule,
        "Darazev izvrsena: 08.12.2007 [14:05:30]",
        "Podaci o zapisu: ",
        "    POCETAK: 08.12.2007.  [14:05:30]    ",
        "    KRAJ:      "
        "   08.12.2007.  [14:06:30]    ",
        "Ekstremne vrednosti:",
        "    Minimum: 22.50\xb0"
        "C  50.00 %RH",
        "    Maximum:23.50\xb0"
        "C  50.00 %RH",
        Rule,
        "",
        "08.12.2007.  [14:05:30]    22.50\xb0"
        "C   50.00 %RH  000",
        "08.12.2007.  [14:06:30]    23.50\xb0"
        "C   50.00 %RH  000",
        "",
    };
    ASSERT_EQ(Rich.Lines.Count(), int(expected.size()));
    for (int i = 0; i < Rich.Lines.Count(); ++i)
        EXPECT_EQ(Rich.Lines[i], expected[std::size_t(i)]) << i;
    EXPECT_EQ(Rich.LineIndex(10), Rich.LineIndex(9) + 1);
    EXPECT_EQ(Rich.LineFromChar(Rich.LineIndex(11) + 5), 11);
    EXPECT_EQ(Rich.LineIndex(13), -1);
}

TEST_F(ReportView, HeaderIsMaroonRecordsAreColouredBoldTenPoint)
{
    const auto check = [&](int Position, QColor Colour) {
        const QTextCharFormat f = FormatAt(Position);
        EXPECT_EQ(f.foreground().color(), Colour) << Position;
        EXPECT_EQ(f.fontWeight(), QFont::Bold) << Position;
        EXPECT_EQ(f.fontPointSize(), 10.0) << Position;
        EXPECT_EQ(RtfFaceName(f), "MS Sans Serif") << Position;
        // Bold ten points: not the size of the one-size bitmap face.
        EXPECT_EQ(f.fontFamilies().toStringList(),
                  QStringList{FontFamilyFor("MS Sans Serif", 13, true)})
            << Position;
    };
    check(0, QColor(128, 0, 0));
    check(Rich.LineIndex(7) + 3, QColor(128, 0, 0));
    const int line = Rich.LineIndex(11);
    check(line, QColor(0, 0, 0));
    check(line + 12, QColor(0, 0, 0));
    check(line + 13, QColor(0, 0, 255));
    check(line + 26, QColor(0, 0, 255));
    check(line + 27, QColor(255, 0, 0));
    check(line + 37, QColor(0, 128, 0));
    check(line + 48, QColor(128, 128, 128));
}

TEST_F(ReportView, ClickAtTheLeftEdgePicksTheLineStamp)
{
    std::string edit3;
    int clicks = 0;
    Rich.OnMouseMove = [&](TObject *, TShiftState, int X, int) {
        Rich.SetCursor(X < 5 ? crDrag : crDefault);
    };
    Rich.OnSelectionChange = [&](TObject *) {
        Rich.SetSelLength(23);
        if (Rich.Cursor() == crDrag)
            edit3 = Rich.SelText();
    };
    Rich.OnClick = [&](TObject *) { ++clicks; };

    const QPoint edge = LineStartPoint(11);
    ASSERT_LT(edge.x(), 5);
    EXPECT_EQ(Rich.CharFromPos(edge.x(), edge.y()), Rich.LineIndex(11));
    ClickAt(edge);
    EXPECT_EQ(edit3, "08.12.2007.  [14:06:30]");
    EXPECT_EQ(Rich.SelStart(), Rich.LineIndex(11));
    EXPECT_EQ(Rich.SelLength(), 23);
    EXPECT_EQ(clicks, 1);

    ClickAt(LineStartPoint(3));
    EXPECT_EQ(edit3, "    POCETAK: 08.12.2007");

    // Away from the edge the selection still covers 23 characters, but the
    // stamp stays.
    ClickAt(LineStartPoint(10) + QPoint(120, 0));
    EXPECT_GT(Rich.SelStart(), Rich.LineIndex(10));
    EXPECT_EQ(Rich.SelLength(), 23);
    EXPECT_EQ(edit3, "    POCETAK: 08.12.2007");
    EXPECT_EQ(clicks, 3);

    Rich.SetSelStart(Rich.GetTextLen() - 5);
    EXPECT_EQ(Rich.SelLength(), 5);
}

TEST_F(ReportView, FindsForwardWithinTheRange)
{
    const int len = Rich.GetTextLen();
    const int second = Rich.LineIndex(11);
    EXPECT_EQ(Rich.FindText("[14:0", Rich.LineIndex(10) + 14, len, stMatchCase), second + 13);
    EXPECT_EQ(Rich.FindText("darazev", 0, len, 0), Rich.LineIndex(1));
    EXPECT_EQ(Rich.FindText("darazev", 0, len, stMatchCase), -1);
    EXPECT_EQ(Rich.FindText("%rh", second, len, 0), second + 43);
    // The match must end within the range.
    const int pocetak = Rich.LineIndex(3) + 4;
    EXPECT_EQ(Rich.FindText("POCETAK", 0, pocetak + 6, stMatchCase), -1);
    EXPECT_EQ(Rich.FindText("POCETAK", 0, pocetak + 7, stMatchCase), pocetak);
    EXPECT_EQ(Rich.FindText("RAJ", 0, len, stMatchCase | stWholeWord), -1);
    EXPECT_EQ(Rich.FindText("KRAJ", 0, len, stMatchCase | stWholeWord), Rich.LineIndex(4) + 4);
    EXPECT_EQ(Rich.FindText("KRAJ", len, 10, stMatchCase), -1);
    EXPECT_EQ(Rich.FindText("", 0, len, 0), -1);
}

TEST_F(ReportView, SavedCopyLoadsAgainAlike)
{
    const std::string copy = TempPath(Dir, "copy.rtf");
    Rich.Lines.SaveToFile(copy);
    TRichEdit again(nullptr);
    again.Lines.LoadFromFile(copy);
    ASSERT_EQ(again.Lines.Count(), Rich.Lines.Count());
    EXPECT_EQ(again.Lines.Text(), Rich.Lines.Text());
    for (int at : {0, Rich.LineIndex(11) + 13, Rich.LineIndex(11) + 27, Rich.LineIndex(11) + 48}) {
        QTextCursor a(again.Editor()->document()), b(Rich.Editor()->document());
        a.setPosition(at + 1);
        b.setPosition(at + 1);
        EXPECT_EQ(a.charFormat().foreground().color(), b.charFormat().foreground().color()) << at;
        EXPECT_EQ(a.charFormat().fontWeight(), b.charFormat().fontWeight()) << at;
        EXPECT_EQ(a.charFormat().fontPointSize(), b.charFormat().fontPointSize()) << at;
    }

    // An empty view saves as rich text without text.
    Rich.Lines.Clear();
    EXPECT_EQ(Rich.Lines.Count(), 0);
    Rich.Lines.SaveToFile(copy);
    EXPECT_EQ(FileText(copy).substr(0, 6), "{\\rtf1");
    again.Lines.LoadFromFile(copy);
    EXPECT_EQ(again.Lines.Count(), 0);
}

// The console loads its report twice in a row; the second load must show the
// file as it is, whatever happened to the text or the file in between.
TEST_F(ReportView, LoadingAgainShowsTheFileAsItIs)
{
    const std::string original = Rich.Lines.Text();
    int changes = 0;
    Rich.OnChange = [&](TObject *) { ++changes; };

    // Edited text and a moved caret: the load restores both.
    QTextCursor edit(Rich.Editor()->document());
    edit.setPosition(Rich.LineIndex(11) + 3);
    edit.insertText("x");
    QTextCharFormat red;
    red.setForeground(QColor(255, 0, 0));
    edit.setPosition(0);
    edit.setPosition(5, QTextCursor::KeepAnchor);
    edit.mergeCharFormat(red);
    Rich.SetSelStart(Rich.LineIndex(12));
    changes = 0;
    Rich.Lines.LoadFromFile(Path);
    EXPECT_EQ(Rich.Lines.Text(), original);
    EXPECT_NE(FormatAt(0).foreground().color(), QColor(255, 0, 0));
    EXPECT_EQ(Rich.SelStart(), 0);
    EXPECT_EQ(changes, 1);

    // Untouched text, then the same file again: the same text, one change.
    Rich.Lines.LoadFromFile(Path);
    EXPECT_EQ(Rich.Lines.Text(), original);
    EXPECT_EQ(changes, 2);

    // The file rewritten under the same name.
    std::ofstream(Path, std::ios::binary | std::ios::trunc) << "{\\rtf1 other\\par}";
    Rich.Lines.LoadFromFile(Path);
    EXPECT_EQ(Rich.Lines[0], "other");

    // The same bytes read as plain text once PlainText is set.
    Rich.PlainText = true;
    Rich.Lines.LoadFromFile(Path);
    EXPECT_EQ(Rich.Lines[0], "{\\rtf1 other\\par}");
}

TEST_F(ReportView, FileErrorsRaiseStreamErrorsAndKeepTheText)
{
    EXPECT_THROW(Rich.Lines.LoadFromFile(TempPath(Dir, "missing.rtf")), EFOpenError);
    EXPECT_EQ(Rich.Lines.Count(), 13);
    EXPECT_THROW(Rich.Lines.SaveToFile(Dir.path().toStdString()), EFCreateError);

    const std::string plain = TempPath(Dir, "plain.txt");
    std::ofstream(plain, std::ios::binary) << "first\r\nsecond \xb0";
    int changes = 0;
    Rich.OnChange = [&](TObject *) { ++changes; };
    Rich.Lines.LoadFromFile(plain);
    EXPECT_EQ(changes, 1);
    ASSERT_EQ(Rich.Lines.Count(), 2);
    EXPECT_EQ(Rich.Lines[1], "second \xb0");
    EXPECT_EQ(Rich.Text(), "first\r\nsecond \xb0");

    // Plain text keeps rich text's codes as text, in and out.
    Rich.PlainText = true;
    Rich.Lines.LoadFromFile(Path);
    EXPECT_EQ(Rich.Lines[0].substr(0, 11), "{\\rtf1\\ansi");
    Rich.Lines.SaveToFile(plain);
    EXPECT_EQ(FileText(plain), FileText(Path));
}

TEST(FindDialog, FindNextReportsTheTypedText)
{
    TFindDialog dialog(nullptr);
    dialog.FindText = "abc";
    dialog.SetPosition(30, 40);
    std::vector<std::string> found;
    dialog.OnFind = [&](TObject *) { found.push_back(dialog.FindText); };
    EXPECT_TRUE(dialog.Execute());
    ASSERT_NE(dialog.Window(), nullptr);
    auto *text = dialog.Window()->findChild<QLineEdit *>();
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->text(), "abc");
    text->setText(QString("x") + QChar(0xE9));
    for (auto *button : dialog.Window()->findChildren<QAbstractButton *>())
        if (button->text() == "&Find Next")
            button->click();
    EXPECT_EQ(found, std::vector<std::string>{"x\xe9"});
    EXPECT_EQ(dialog.Options, TFindOptions(frDown));
    dialog.CloseDialog();
    EXPECT_FALSE(dialog.Window()->isVisible());
}
