#include "RichEdit.h"

#include "Files.h"
#include "Forms.h"
#include "Rtf.h"
#include "Text.h"

#include <QMouseEvent>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <utility>
#include <vector>

namespace {

bool IsLineBreak(QChar Ch)
{
    return Ch == QChar::ParagraphSeparator || Ch == QChar::LineSeparator;
}

// Where each line starts in the raw text.
std::vector<int> LineStarts(const QString &Raw)
{
    std::vector<int> starts;
    if (Raw.isEmpty())
        return starts;
    starts.push_back(0);
    for (int i = 0; i < Raw.size(); ++i)
        if (IsLineBreak(Raw[i]))
            starts.push_back(i + 1);
    return starts;
}

bool IsWordCharacter(QChar Ch)
{
    return Ch.isLetterOrNumber() || Ch == '_';
}

std::string SystemError()
{
    return std::strerror(errno);
}

} // namespace

// The Qt text view as the control's face: the control sees the mouse after
// the view has moved the caret, as the platform's control reports a click
// after placing its caret.
class TRichEditFace : public QTextEdit {
public:
    explicit TRichEditFace(TRichEdit &Owner) : FOwner(Owner) {}

protected:
    void mousePressEvent(QMouseEvent *Event) override
    {
        QTextEdit::mousePressEvent(Event);
        Deliver(Event);
    }
    void mouseDoubleClickEvent(QMouseEvent *Event) override
    {
        QTextEdit::mouseDoubleClickEvent(Event);
        Deliver(Event);
    }
    void mouseMoveEvent(QMouseEvent *Event) override
    {
        QTextEdit::mouseMoveEvent(Event);
        Deliver(Event);
        // The view's own cursor (an I-beam) yields to one the program set.
        if (FOwner.Cursor() == crDefault)
            viewport()->setCursor(Qt::IBeamCursor);
        else
            viewport()->setCursor(FOwner.cursor());
    }
    void mouseReleaseEvent(QMouseEvent *Event) override
    {
        QTextEdit::mouseReleaseEvent(Event);
        Deliver(Event);
    }

private:
    void Deliver(const QMouseEvent *Event)
    {
        FOwner.HandleQtMouseEvent(*Event, viewport()->mapTo(&FOwner, Event->position().toPoint()));
    }

    TRichEdit &FOwner;
};

TRichEdit::TRichEdit(TComponent *AOwner)
    : TWidgetControl(AOwner, new TRichEditFace(*this)), FEditor(static_cast<QTextEdit *>(Face()))
{
    // The view keeps the mouse itself while a selection is dragged.
    SetControlStyle(ControlStyle() & ~csCaptureMouse);
    SetTabStop(true);
    FEditor->setAcceptRichText(false);
    FEditor->setContextMenuPolicy(Qt::NoContextMenu);
    FEditor->document()->setUndoRedoEnabled(false);
    SetScrollBars(ssNone);
    const auto noteSelection = [this] { Guarded(this, [this] { NoteSelection(); }); };
    QObject::connect(FEditor, &QTextEdit::cursorPositionChanged, FEditor, noteSelection);
    QObject::connect(FEditor, &QTextEdit::selectionChanged, FEditor, noteSelection);
    QObject::connect(FEditor, &QTextEdit::textChanged, FEditor,
                     [this] { Guarded(this, [this] { Change(); }); });
    QObject::connect(FEditor->document(), &QTextDocument::contentsChanged, FEditor,
                     [this] { FLoadedIntact = false; });
    SetBounds(0, 0, 185, 89);
}

TRichEdit::~TRichEdit()
{
    // The face's signals must not reach a control being torn down.
    QObject::disconnect(FEditor, nullptr, FEditor, nullptr);
}

bool TRichEdit::ReadOnly() const
{
    return FEditor->isReadOnly();
}

void TRichEdit::SetReadOnly(bool Value)
{
    FEditor->setReadOnly(Value);
    // Read-only text keeps a caret the keys can move and select with.
    if (Value)
        FEditor->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
}

void TRichEdit::SetScrollBars(TScrollStyle Value)
{
    FScrollBars = Value;
    const bool vertical = Value == ssVertical || Value == ssBoth;
    const bool horizontal = Value == ssHorizontal || Value == ssBoth;
    FEditor->setVerticalScrollBarPolicy(vertical ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    FEditor->setHorizontalScrollBarPolicy(horizontal ? Qt::ScrollBarAlwaysOn
                                                     : Qt::ScrollBarAlwaysOff);
}

bool TRichEdit::WordWrap() const
{
    return FEditor->lineWrapMode() != QTextEdit::NoWrap;
}

void TRichEdit::SetWordWrap(bool Value)
{
    FEditor->setLineWrapMode(Value ? QTextEdit::WidgetWidth : QTextEdit::NoWrap);
}

std::string TRichEdit::Text() const
{
    QString text = FEditor->document()->toRawText();
    for (QChar &ch : text)
        if (IsLineBreak(ch))
            ch = '\n';
    text.replace('\n', QStringLiteral("\r\n"));
    return ToAnsi(text);
}

int TRichEdit::GetTextLen() const
{
    return FEditor->document()->characterCount() - 1;
}

int TRichEdit::SelStart() const
{
    return FEditor->textCursor().selectionStart();
}

int TRichEdit::SelLength() const
{
    const QTextCursor c = FEditor->textCursor();
    return c.selectionEnd() - c.selectionStart();
}

void TRichEdit::SetSelStart(int Value)
{
    SetSelection(Value, 0);
}

void TRichEdit::SetSelLength(int Value)
{
    SetSelection(SelStart(), Value);
}

void TRichEdit::SelectAll()
{
    SetSelection(0, GetTextLen());
}

void TRichEdit::SetSelection(int Start, int Length)
{
    const int end = GetTextLen();
    const int from = std::clamp(Start, 0, end);
    const int to = from + std::clamp(Length, 0, end - from);
    QTextCursor c(FEditor->document());
    c.setPosition(from);
    c.setPosition(to, QTextCursor::KeepAnchor);
    FEditor->setTextCursor(c);
    FEditor->ensureCursorVisible();
    NoteSelection();
}

std::string TRichEdit::SelText() const
{
    QString text = FEditor->textCursor().selectedText();
    for (QChar &ch : text)
        if (ch == QChar::ParagraphSeparator)
            ch = '\r';
        else if (ch == QChar::LineSeparator)
            ch = '\v';
    return ToAnsi(text);
}

int TRichEdit::FindText(const std::string &SearchStr, int StartPos, int Length,
                        TSearchTypes Options) const
{
    const QString needle = FromAnsi(SearchStr);
    const QString raw = FEditor->document()->toRawText();
    if (needle.isEmpty() || StartPos < 0 || StartPos > raw.size() || Length <= 0)
        return -1;
    const int end = int(std::min<qsizetype>(raw.size(), qsizetype(StartPos) + Length));
    const Qt::CaseSensitivity cs = Options & stMatchCase ? Qt::CaseSensitive : Qt::CaseInsensitive;
    for (qsizetype at = raw.indexOf(needle, StartPos, cs); at >= 0 && at + needle.size() <= end;
         at = raw.indexOf(needle, at + 1, cs)) {
        if (Options & stWholeWord) {
            const bool before = at > 0 && IsWordCharacter(raw[at - 1]);
            const bool after =
                at + needle.size() < raw.size() && IsWordCharacter(raw[at + needle.size()]);
            if (before || after)
                continue;
        }
        return int(at);
    }
    return -1;
}

int TRichEdit::CharFromPos(int X, int Y) const
{
    const QPoint p = FEditor->viewport()->mapFrom(this, QPoint(X, Y));
    return FEditor->cursorForPosition(p).position();
}

int TRichEdit::LineFromChar(int Position) const
{
    const std::vector<int> starts = LineStarts(FEditor->document()->toRawText());
    const auto after = std::upper_bound(starts.begin(), starts.end(), Position);
    return after == starts.begin() ? 0 : int(after - starts.begin()) - 1;
}

int TRichEdit::LineIndex(int Line) const
{
    const std::vector<int> starts = LineStarts(FEditor->document()->toRawText());
    return Line >= 0 && std::size_t(Line) < starts.size() ? starts[std::size_t(Line)] : -1;
}

TPoint TRichEdit::CaretPos() const
{
    const int position = FEditor->textCursor().position();
    const int line = LineFromChar(position);
    return TPoint{position - std::max(0, LineIndex(line)), line};
}

void TRichEdit::NoteSelection()
{
    const int start = SelStart();
    const int length = SelLength();
    if (start == FLastStart && length == FLastLength)
        return;
    FLastStart = start;
    FLastLength = length;
    SelectionChange();
}

void TRichEdit::SelectionChange()
{
    if (OnSelectionChange)
        OnSelectionChange(this);
}

void TRichEdit::Change()
{
    if (OnChange)
        OnChange(this);
}

// ---------------------------------------------------------------- Lines

int TRichEditStrings::Count() const
{
    return int(LineStarts(FOwner.FEditor->document()->toRawText()).size());
}

std::string TRichEditStrings::Strings(int Index) const
{
    const QString raw = FOwner.FEditor->document()->toRawText();
    const std::vector<int> starts = LineStarts(raw);
    if (Index < 0 || std::size_t(Index) >= starts.size())
        return {};
    const int from = starts[std::size_t(Index)];
    const int to = std::size_t(Index) + 1 < starts.size() ? starts[std::size_t(Index) + 1] - 1
                                                          : int(raw.size());
    return ToAnsi(raw.mid(from, to - from));
}

std::string TRichEditStrings::Text() const
{
    std::string text;
    for (int i = 0, n = Count(); i < n; ++i)
        text += Strings(i) + "\r\n";
    return text;
}

void TRichEditStrings::Clear()
{
    FOwner.FEditor->clear();
}

void TRichEditStrings::Add(const std::string &Line)
{
    QTextCursor c(FOwner.FEditor->document());
    c.movePosition(QTextCursor::End);
    if (!FOwner.FEditor->document()->isEmpty())
        c.insertBlock();
    c.insertText(FromAnsi(Line));
}

void TRichEditStrings::LoadFromFile(const std::string &FileName)
{
    std::string data;
    bool opened = false;
    if (!ReadRegularFile(FileName, data, std::string::npos, nullptr, &opened)) {
        if (!opened)
            throw EFOpenError("Cannot open file \"" + FileName + "\". " + SystemError());
        throw EStreamError("Stream read error");
    }
    {
        // One change and one selection report for the whole load.
        const QSignalBlocker quiet(FOwner.FEditor);
        QTextDocument &doc = *FOwner.FEditor->document();
        const bool rich = IsRtf(data) && !FOwner.PlainText;
        if (!FOwner.FLoadedIntact || rich != FOwner.FLoadedRich || data != FOwner.FLoadedData) {
            if (rich)
                ReadRtf(data, doc);
            else
                ReadPlainText(data, doc);
            FOwner.FLoadedData = std::move(data);
            FOwner.FLoadedRich = rich;
            FOwner.FLoadedIntact = true;
        }
        FOwner.FEditor->setTextCursor(QTextCursor(&doc));
        FOwner.FEditor->verticalScrollBar()->setValue(0);
        FOwner.FEditor->horizontalScrollBar()->setValue(0);
    }
    FOwner.Change();
    FOwner.NoteSelection();
}

void TRichEditStrings::SaveToFile(const std::string &FileName) const
{
    const std::string rtf = FOwner.PlainText ? Text() : WriteRtf(*FOwner.FEditor->document());
    bool begun = false;
    if (!ReplaceFile(FileName, rtf, &begun)) {
        if (!begun)
            throw EFCreateError("Cannot create file \"" + FileName + "\". " + SystemError());
        throw EStreamError("Stream write error");
    }
}
