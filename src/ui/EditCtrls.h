#pragma once
// The class library's one-line edit field, on Qt's line edit.

#include "Text.h"
#include "WidgetControl.h"

#include <string>

class QLineEdit;

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
    // The keyboard or the program bringing the focus selects the whole text.
    bool AutoSelect = true;

    QLineEdit *Line() const { return FLine; }

protected:
    void DoEnter() override;

private:
    QLineEdit *FLine;
    TSpelledText FSetText;
};
