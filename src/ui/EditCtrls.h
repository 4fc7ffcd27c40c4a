#pragma once
// The class library's one-line edit field and the rich-edit view, on Qt's
// line edit and text edit.

#include "WidgetControl.h"

#include <string>

class QLineEdit;
class QTextEdit;

// A one-line text field. OnChange runs when the text changes, by the user or
// by program.
class TEdit : public TWidgetControl {
public:
    explicit TEdit(TComponent *AOwner);
    const char *ClassName() const override { return "TEdit"; }

    std::string Text() const;
    void SetText(const std::string &Value);
    bool ReadOnly() const;
    void SetReadOnly(bool Value);

    TNotifyEvent OnChange;

    QLineEdit *Line() const { return FLine; }

private:
    QLineEdit *FLine;
};

// A scrolling view of formatted text.
class TRichEdit : public TWidgetControl {
public:
    explicit TRichEdit(TComponent *AOwner);
    const char *ClassName() const override { return "TRichEdit"; }

    bool ReadOnly() const;
    void SetReadOnly(bool Value);
    std::string Text() const;

    QTextEdit *View() const { return FView; }

private:
    QTextEdit *FView;
};
