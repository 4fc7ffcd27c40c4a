// The report of a full download as the view shows it, in the faces the
// window resources name: one line on the screen per report line, and a
// click at the left edge of any line picks that line's stamp or nothing.

#include "ComCtrls.h"
#include "RealInput.h"
#include "DownloadReport.h"
#include "Dialogs.h"
#include "DtsExport.h"
#include "EditCtrls.h"
#include "Forms.h"
#include "Graphics.h"
#include "MainForm.h"
#include "QuietDialogs.h"
#include "RichEdit.h"
#include "SimClock.h"
#include "SimDevice.h"

#include <gtest/gtest.h>

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QFontDatabase>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextEdit>
#include <QTextLayout>

#include <memory>

using namespace logbridge;

namespace {

class FullReport : public ::testing::Test {
protected:
    void SetUp() override
    {
        FontFamilyFor("MS Sans Serif"); // loads the faces kept outside fontconfig's path
        for (const char *family : {"MS Sans Serif", "Liberation Sans", "Liberation Mono"})
            if (!QFontDatabase::families().contains(family))
                GTEST_SKIP() << family << " is not installed (scripts/deps installs it)";
        ASSERT_TRUE(Dir.isValid());
        // A logger's whole memory: 5,461 records over several runs.
        orvasim::TDeviceOptions options;
        options.Records = 5461;
        options.Seed = 11;
        orvasim::TCivilTime now;
        now.Year = 2007;
        now.Month = 12;
        now.Day = 9;
        now.Hour = 9;
        options.Clock = orvasim::CivilToSeconds(now);
        const orvasim::TDevice device(options, 0);
        // Activation finds no port here; nobody answers a dialog.
        Form = std::make_unique<TForm1>(nullptr);
        Form->SettingsFolder = Dir.path().toStdString();
        const std::vector<uint8_t> &memory = device.Memory();
        ASSERT_EQ(memory.size(), 5461u * RecordSize);
        std::copy(memory.begin(), memory.end(), Form->DownloadBuffer.begin());
        Form->ByteCount = int32_t(memory.size());
        Form->WorkBuffer = Form->DownloadBuffer;
        const std::string report = WriteDownloadReportFile(
            *Form, Dir.path().toStdString(), EncodeDate(2026, 12, 9) + EncodeTime(9, 0, 0, 0));
        Form->PageControl1->SetActivePage(Form->TabSheet2);
        Form->Show();
        View().Lines.LoadFromFile(report);
        QApplication::processEvents();
    }
    void TearDown() override { Form.reset(); }

    TRichEdit &View() { return *Form->RichEdit1; }
    QTextEdit *Editor() { return View().Editor(); }

    // A user's left click at the view's left edge on line Index: scrolled
    // into view, the pointer comes there, the button goes down and up.
    void ClickLine(int Index)
    {
        const QTextBlock block = Editor()->document()->findBlockByNumber(Index);
        const QRectF box = Editor()->document()->documentLayout()->blockBoundingRect(block);
        Editor()->verticalScrollBar()->setValue(int(box.top()));
        const QPointF at(2, box.top() - Editor()->verticalScrollBar()->value() + box.height() / 2);
        ::ClickAt(Editor()->viewport(), at);
    }

    TQuietDialogs Quiet;
    QTemporaryDir Dir;
    std::unique_ptr<TForm1> Form;
};

TEST_F(FullReport, EveryLineIsOneLineOnTheScreen)
{
    ASSERT_EQ(View().Width(), 400) << "the view's width in the window resource";
    QTextDocument *doc = Editor()->document();
    ASSERT_GT(doc->blockCount(), 5461);
    const int room = Editor()->viewport()->width() - 2 * int(doc->documentMargin());
    for (QTextBlock block = doc->begin(); block.isValid(); block = block.next()) {
        const std::string text = block.text().toStdString();
        ASSERT_EQ(block.layout()->lineCount(), 1)
            << "line " << block.blockNumber() << " breaks: " << text;
        // In the faces of their widths every line that says something also
        // fits the view; only the rulers of equals signs may run under its edge.
        if (text.find_first_not_of('=') != std::string::npos) {
            EXPECT_LE(block.layout()->lineAt(0).naturalTextWidth(), room)
                << "line " << block.blockNumber() << ": " << text;
        }
    }

    // Nor does any face or width break a line: a view far too narrow for
    // the report still shows each line as one.
    View().SetWidth(150);
    QApplication::processEvents();
    for (QTextBlock block = doc->begin(); block.isValid(); block = block.next())
        ASSERT_EQ(block.layout()->lineCount(), 1) << "line " << block.blockNumber();
}

TEST_F(FullReport, AClickAtTheLeftEdgePicksTheLinesStampOrNothing)
{
    const int lines = Editor()->document()->blockCount();
    int stamps = 0;
    for (int i = 0; i < lines; ++i) {
        const std::string text = View().Lines[i];
        const std::string head = text.substr(0, TForm1::StampLength);
        const bool record = IsRecordStamp(head);
        const std::string before = Form->Edit3->Text();
        ClickLine(i);
        ASSERT_EQ(View().Cursor(), crDrag) << i;
        if (record) {
            ++stamps;
            ASSERT_EQ(Form->Edit3->Text(), head) << "line " << i;
        } else {
            ASSERT_EQ(Form->Edit3->Text(), before) << "line " << i << ": " << text;
        }
    }
    EXPECT_EQ(stamps, 5461);

    // The last pick starts an export at the last record: one record.
    TRecordingResult result;
    RecordingBytes(Form->WorkBuffer, Form->ByteCount, Form->Edit3->Text(), result);
    EXPECT_TRUE(result.StartFound);
    EXPECT_EQ(result.Written, 1);
}

} // namespace
