// The console's report view: picking the start record at the left edge,
// finding, saving a copy, the pop-up menu.

#include "../console/Records.h"
#include "RealInput.h"
#include "WindowInput.h"
#include "Buttons.h"
#include "ComCtrls.h"
#include "Dialogs.h"
#include "DownloadReport.h"
#include "DtsExport.h"
#include "EditCtrls.h"
#include "MainForm.h"
#include "Menus.h"
#include "RichEdit.h"
#include "StdCtrls.h"
#include "dxButton.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCursor>
#include <QTextEdit>
#include <QWindow>

#include <filesystem>
#include <memory>

using namespace logbridge;

namespace {

// Answers the save dialog from the test and keeps where the find dialog was
// asked to show before showing it; message boxes are only counted.
class TScriptedDialogs : public TDialogs {
public:
    int MessageBox(const std::string &Text, const std::string &, int) override
    {
        Boxes.push_back(Text);
        return IDOK;
    }
    bool SaveFile(TSaveDialog &Dialog) override
    {
        Asked.push_back(&Dialog);
        if (SaveAs.empty())
            return false;
        Dialog.FileName = SaveAs;
        return true;
    }
    void ShowFind(TFindDialog &Dialog) override
    {
        FindShownAt.push_back({Dialog.Left, Dialog.Top});
        TDialogs::ShowFind(Dialog);
    }
    std::vector<std::string> Boxes;
    std::vector<TSaveDialog *> Asked;
    std::string SaveAs;
    std::vector<TPoint> FindShownAt;
};

// Three records a minute apart from 08.12.2007 14:05:30, downloaded and
// reported at 09.12.2007 09:00:00, shown on the memory page.
class ReportView : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(Dir.isValid());
        Saved = SetDialogs(&Dialogs);
        Form = std::make_unique<TForm1>(nullptr);
        for (int k = 0; k < 3; ++k) {
            TSample s;
            s.Minute = uint8_t(5 + k);
            s.Temperature = uint16_t(6250 + 100 * k);
            PutRecord(Form->DownloadBuffer, k, s);
        }
        Form->ByteCount = 36;
        Form->WorkBuffer = Form->DownloadBuffer;
        Report = WriteDownloadReportFile(*Form, Dir.path().toStdString(),
                                         EncodeDate(2007, 12, 9) + EncodeTime(9, 0, 0, 0));
        Form->PageControl1->SetActivePage(Form->TabSheet2);
        Form->Show();
        View().Lines.LoadFromFile(Report);
    }
    void TearDown() override
    {
        Form.reset();
        SetDialogs(Saved);
        Application->OnException = nullptr;
    }

    TRichEdit &View() { return *Form->RichEdit1; }
    int Line(int Index) { return View().LineIndex(Index); }
    std::string Edit3() { return Form->Edit3->Text(); }

    // The control's point at the middle of line Index's first character;
    // X as given.
    QPoint LinePoint(int Index, int X)
    {
        QTextEdit *editor = View().Editor();
        QTextCursor c(editor->document());
        c.setPosition(Line(Index));
        return {X, editor->viewport()->mapTo(&View(), editor->cursorRect(c).center()).y()};
    }
    // A user's left click at At of the control.
    void ClickAt(QPoint At)
    {
        QWidget *viewport = View().Editor()->viewport();
        ::ClickAt(viewport, viewport->mapFrom(&View(), At));
    }
    void FindNext(const std::string &Text)
    {
        Form->FindDialog1->FindText = Text;
        Form->FindDialog1->OnFind(Form->FindDialog1);
    }
    std::string Info() { return Form->Label26->Caption(); }
    std::string Selection(int Start, int End)
    {
        return "  Selection Start: " + std::to_string(Start) +
               "  Selection End: " + std::to_string(End);
    }

    QTemporaryDir Dir;
    TScriptedDialogs Dialogs;
    TDialogs *Saved = nullptr;
    std::unique_ptr<TForm1> Form;
    std::string Report;
};

} // namespace

TEST_F(ReportView, ClickAtTheLeftEdgePicksTheRecordStamp)
{
    ASSERT_EQ(View().Lines[11].substr(0, 23), "08.12.2007.  [14:06:30]");
    Form->Edit3->SetText("earlier");

    ClickAt(LinePoint(11, 2));
    EXPECT_EQ(View().Cursor(), crDrag);
    EXPECT_EQ(Edit3(), "08.12.2007.  [14:06:30]");
    EXPECT_EQ(View().SelStart(), Line(11));
    EXPECT_EQ(View().SelLength(), 23);
    EXPECT_EQ(Info(), Selection(Line(11), Line(11) + 23));
    // The export then starts at that record: two of the three are written.
    TRecordingResult result;
    RecordingBytes(Form->WorkBuffer, Form->ByteCount, Edit3(), result);
    EXPECT_EQ(result.Written, 2);

    // Away from the edge 23 characters are selected, the stamp stays.
    ClickAt(LinePoint(12, 60));
    EXPECT_EQ(View().Cursor(), crDefault);
    EXPECT_GT(View().SelStart(), Line(12));
    EXPECT_EQ(View().SelLength(), 23);
    EXPECT_EQ(Edit3(), "08.12.2007.  [14:06:30]");

    // A header line holds no stamp at its start: the pick keeps what it had,
    // so the writers never start from header text, which names no record.
    ClickAt(LinePoint(3, 2));
    EXPECT_EQ(View().SelStart(), Line(3));
    EXPECT_EQ(View().SelText(), "    POCETAK: 08.12.2007");
    EXPECT_EQ(Edit3(), "08.12.2007.  [14:06:30]");
    ClickAt(LinePoint(0, 2));
    EXPECT_EQ(Edit3(), "08.12.2007.  [14:06:30]");
    RecordingBytes(Form->WorkBuffer, Form->ByteCount, "    POCETAK: 08.12.2007", result);
    EXPECT_EQ(result.Written, 0);
    EXPECT_FALSE(result.StartFound);

    // "Selektuj sve": every record again.
    Form->SpeedButton1->Click();
    EXPECT_EQ(Edit3(), "");

    // Near the end the selection is what is left.
    const int len = View().GetTextLen();
    View().SetSelStart(len - 5);
    EXPECT_EQ(View().SelLength(), 5);
    EXPECT_EQ(Info(), Selection(len - 5, len));
}

TEST_F(ReportView, DragCursorOnlyWhileThePointerIsAtTheEdge)
{
    View().HandleMouseMove(0, 4, 30);
    EXPECT_EQ(View().Cursor(), crDrag);
    View().HandleMouseMove(0, 5, 30);
    EXPECT_EQ(View().Cursor(), crDefault);
    View().HandleMouseMove(0, 0, 30);
    EXPECT_EQ(View().Cursor(), crDrag);

    // The pointer leaves over the left edge (towards a find dialog there):
    // a find afterwards must not replace the picked stamp.
    Form->Edit3->SetText("08.12.2007.  [14:06:30]");
    const QPointF edge(1, 30);
    QEnterEvent enter(edge, edge, View().mapToGlobal(edge));
    QApplication::sendEvent(&View(), &enter);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&View(), &leave);
    EXPECT_EQ(View().Cursor(), crDefault);
    FindNext("KRAJ");
    EXPECT_EQ(View().SelStart(), Line(4) + 4);
    EXPECT_EQ(Edit3(), "08.12.2007.  [14:06:30]");

    // With the pointer at the edge, what a find selects is picked as a
    // click would pick it: here the end stamp of the header.
    View().HandleMouseMove(0, 1, 30);
    View().SetSelStart(0);
    FindNext("08.12.2007.  [14:07");
    EXPECT_EQ(View().SelStart(), Line(4) + 18);
    EXPECT_EQ(Edit3(), "08.12.2007.  [14:07:30]");
}

TEST_F(ReportView, FindNextSearchesForwardFromTheSelectionsEnd)
{
    // The user, in the console, types into the find dialog and finds.
    QApplication::setActiveWindow(Form.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(Form.get()));
    Dialogs.Boxes.clear(); // the start-up finds no port here
    Form->Found1->Click();
    QWidget *dialog = Form->FindDialog1->Window();
    ASSERT_TRUE(dialog && QTest::qWaitForWindowActive(dialog));
    ASSERT_EQ(View().SelLength(), 0);
    windowinput::Type(dialog, "[14:");
    windowinput::Click(dialog->findChild<QPushButton *>()); // "Find Next"

    // Nothing selected: from the start; the match is widened to a stamp.
    EXPECT_EQ(View().SelStart(), Line(3) + 26);
    EXPECT_EQ(View().SelLength(), 23);
    EXPECT_EQ(Info(), Selection(Line(3) + 26, Line(3) + 49));
    // The keys go to the view; the dialog stays open.
    EXPECT_TRUE(View().Focused());
    EXPECT_TRUE(QTest::qWaitForWindowActive(Form.get()));
    EXPECT_TRUE(View().isAncestorOf(QApplication::focusWidget()));
    EXPECT_TRUE(dialog->isVisible());
    // The caret, at the selection's end on line 4, goes a line down.
    QTest::keyClick(QGuiApplication::focusWindow(), Qt::Key_Down);
    EXPECT_EQ(View().LineFromChar(View().SelStart()), 5);

    // From a picked stamp the next find starts after its 23 characters,
    // so the dots inside the stamp are passed over.
    View().SetSelStart(Line(10));
    FindNext(".");
    EXPECT_EQ(View().SelStart(), Line(10) + 29);
    FindNext(".");
    EXPECT_EQ(View().SelStart(), Line(11) + 2);

    // Case counts; whole words do not, whatever the dialog's boxes say.
    // Nothing after the selection: no wrapping round to the header.
    FindNext("OCETAK");
    EXPECT_EQ(View().SelStart(), Line(11) + 2);
    Form->FindDialog1->Options = frDown | frWholeWord;
    View().SetSelStart(0);
    FindNext("OCETAK");
    EXPECT_EQ(View().SelStart(), Line(3) + 5);
    const int before = View().SelStart();
    FindNext("pocetak");
    FindNext("no such text");
    FindNext("");
    EXPECT_EQ(View().SelStart(), before);
    EXPECT_EQ(View().SelLength(), 23);
    EXPECT_TRUE(Dialogs.Boxes.empty());

    FindNext("KRAJ");
    EXPECT_EQ(View().SelStart(), Line(4) + 4);
}

TEST_F(ReportView, SaveAsWritesTheViewAsRichText)
{
    const std::string copy = TempPath(Dir, "copy.rtf");
    // Cancelled: nothing written.
    Form->SaveASRTF1->Click();
    ASSERT_EQ(Dialogs.Asked.size(), 1u);
    TSaveDialog *dialog = Dialogs.Asked[0];
    EXPECT_EQ(dialog, Form->SaveDialog3);
    EXPECT_EQ(dialog->DefaultExt, "*.rtf");
    EXPECT_EQ(dialog->Filter, "Rich text format (*.RTF)|*.rtf|All files|*.*");
    EXPECT_EQ(dialog->Title, "");
    EXPECT_FALSE(std::filesystem::exists(copy));

    Dialogs.SaveAs = copy;
    Form->SaveASRTF1->Click();
    TRichEdit again(nullptr);
    again.Lines.LoadFromFile(copy);
    EXPECT_EQ(again.Lines.Count(), View().Lines.Count());
    EXPECT_EQ(again.Lines.Text(), View().Lines.Text());

    // "Export RTF" does the same, replacing the file; an empty view gives
    // rich text without text.
    View().Lines.Clear();
    Form->dxButton11->Click();
    EXPECT_EQ(Dialogs.Asked.size(), 3u);
    EXPECT_EQ(FileText(copy).substr(0, 6), "{\\rtf1");
    again.Lines.LoadFromFile(copy);
    EXPECT_EQ(again.Lines.Count(), 0);

    // A file that cannot be written raises the stream error, no message.
    Dialogs.SaveAs = Dir.path().toStdString();
    EXPECT_THROW(Form->SaveASRTF1Click(Form->SaveASRTF1), EStreamError);
    EXPECT_TRUE(Dialogs.Boxes.empty());
}

TEST_F(ReportView, RightClickShowsTheMenuOfTheView)
{
    TPopupMenu *menu = Form->PopupMenu1;
    ASSERT_EQ(View().PopupMenu(), menu);
    ASSERT_EQ(menu->Count(), 2);
    EXPECT_EQ(menu->Items(0)->Caption(), "Save AS (RTF)");
    EXPECT_EQ(menu->Items(1)->Caption(), "Trazi");
    const QList<QAction *> entries = menu->Menu()->actions();
    ASSERT_EQ(entries.size(), 2);
    EXPECT_EQ(entries[0]->text(), "Save AS (RTF)");
    EXPECT_EQ(entries[1]->text(), "Trazi");

    // The request reaches the view through its text area.
    QWidget *viewport = View().Editor()->viewport();
    QContextMenuEvent request(QContextMenuEvent::Mouse, QPoint(40, 20),
                              viewport->mapToGlobal(QPoint(40, 20)));
    QApplication::sendEvent(viewport, &request);
    EXPECT_TRUE(menu->Menu()->isVisible());
    EXPECT_EQ(menu->PopupComponent, &View());
    menu->Menu()->hide();

    // From the keyboard, Shift+F10 asks as the Menu key does: at the caret.
    Form->ShowForm();
    ASSERT_TRUE(QTest::qWaitForWindowActive(Form.get()));
    ClickAt(LinePoint(3, 60));
    QTest::keyClick(Form->windowHandle(), Qt::Key_F10, Qt::ShiftModifier);
    EXPECT_TRUE(menu->Menu()->isVisible());
    EXPECT_TRUE(
        QRect(View().mapToGlobal(QPoint(0, 0)), View().size()).contains(menu->Menu()->pos()));
    menu->Menu()->hide();

    // Other controls of the window have no menu: the request goes on.
    QContextMenuEvent elsewhere(QContextMenuEvent::Mouse, QPoint(2, 2),
                                Form->Label26->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(Form->Label26, &elsewhere);
    EXPECT_FALSE(elsewhere.isAccepted());

    // "Trazi" shows the find dialog at the view's right edge, its place in
    // the page taken as a screen position.
    entries[1]->trigger();
    ASSERT_EQ(Dialogs.FindShownAt.size(), 1u);
    EXPECT_EQ(Dialogs.FindShownAt[0].X, 8 + 400);
    EXPECT_EQ(Dialogs.FindShownAt[0].Y, 168);

    // What escapes an item goes to the application's handling.
    std::string escaped;
    Application->OnException = [&](TObject *, const std::exception &E) { escaped = E.what(); };
    Dialogs.SaveAs = Dir.path().toStdString();
    entries[0]->trigger();
    EXPECT_NE(escaped.find("Cannot create file"), std::string::npos) << escaped;
}
