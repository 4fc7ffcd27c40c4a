#pragma once
// The rich-edit control: formatted text in a Qt text view, loaded from and
// saved to rich text files (Rtf.h).
//
// Character positions count from 0 over the whole text, each line break
// (paragraph end or \line) counting as one character, as the platform's
// rich-edit control counts them; SelStart, SelLength, FindText, CharFromPos
// and the line queries all use them. Lines are the text's lines as written
// (paragraphs and explicit line breaks), not the wrapped lines on screen.

#include "WidgetControl.h"

#include <string>

class QTextEdit;
class TRichEdit;

enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

// Options of FindText.
using TSearchTypes = unsigned;
enum : unsigned { stWholeWord = 1, stMatchCase = 2 };

// The lines of a rich-edit control.
class TRichEditStrings {
public:
    explicit TRichEditStrings(TRichEdit &Owner) : FOwner(Owner) {}

    int Count() const;
    // Line Index (8-bit text); empty past the end.
    std::string Strings(int Index) const;
    std::string operator[](int Index) const { return Strings(Index); }
    // The lines, each ended by CR LF.
    std::string Text() const;
    void Clear();
    // Appends a line in the format at the end of the text.
    void Add(const std::string &Line);

    // Replaces the contents by FileName's: rich text, or plain 8-bit text if
    // the file does not start as rich text or the control's PlainText is set.
    // A file that cannot be read raises EFOpenError and leaves the contents
    // as they were.
    void LoadFromFile(const std::string &FileName);
    // Writes the contents as rich text (as lines of 8-bit text ended by CR LF
    // when the control's PlainText is set), replacing FileName; raises
    // EFCreateError when it cannot be created and EStreamError when it
    // cannot be written whole.
    void SaveToFile(const std::string &FileName) const;

private:
    TRichEdit &FOwner;
};

class TRichEdit : public TWidgetControl {
public:
    explicit TRichEdit(TComponent *AOwner);
    ~TRichEdit() override;
    const char *ClassName() const override { return "TRichEdit"; }

    TRichEditStrings Lines{*this};

    bool ReadOnly() const;
    void SetReadOnly(bool Value);
    TScrollStyle ScrollBars() const { return FScrollBars; }
    void SetScrollBars(TScrollStyle Value);
    // Whether Lines load and save plain text rather than rich text.
    bool PlainText = false;
    bool WordWrap() const;
    void SetWordWrap(bool Value);

    // The whole text, lines ended by CR LF except the last.
    std::string Text() const;
    // Characters in the text (line breaks count one).
    int GetTextLen() const;

    // The selection: SelStart is its lower end, the caret may be at either.
    // Setting SelStart collapses the selection there; setting SelLength
    // selects from SelStart, cut at the end of the text. Both scroll the
    // selection into view and report a selection change.
    int SelStart() const;
    void SetSelStart(int Value);
    int SelLength() const;
    void SetSelLength(int Value);
    // The selected characters; a paragraph end reads as CR.
    std::string SelText() const;
    void SelectAll();

    // The first position of SearchStr within Length characters from
    // StartPos (the range cut to the text), or -1. Without stMatchCase
    // letters match regardless of case; stWholeWord wants a match that is
    // neither preceded nor followed by a letter, digit or underscore.
    int FindText(const std::string &SearchStr, int StartPos, int Length,
                 TSearchTypes Options) const;

    // The character at the point (X, Y) of the control, as a click there
    // would place the caret.
    int CharFromPos(int X, int Y) const;
    // The line holding the character at Position; the position of line
    // Line's first character (-1 past the last line).
    int LineFromChar(int Position) const;
    int LineIndex(int Line) const;
    // The caret: X its column, Y its line.
    TPoint CaretPos() const;

    // The caret or selection moved or changed (once per change).
    TNotifyEvent OnSelectionChange;
    // The text changed, by the user or by the program.
    TNotifyEvent OnChange;

    QTextEdit *Editor() const { return FEditor; }

protected:
    virtual void SelectionChange();
    virtual void Change();

private:
    friend class TRichEditStrings;
    friend class TRichEditFace;
    void SetSelection(int Start, int Length);
    void NoteSelection();

    QTextEdit *FEditor;
    // What the last load read, while the text is still exactly that load's:
    // loading the same file again then only resets the view.
    std::string FLoadedData;
    bool FLoadedRich = false;
    bool FLoadedIntact = false;
    TScrollStyle FScrollBars = ssNone;
    int FLastStart = 0;
    int FLastLength = 0;
};
