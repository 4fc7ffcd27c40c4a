#include "EditCtrls.h"

#include "Forms.h"
#include "Text.h"

#include <QLineEdit>

TEdit::TEdit(TComponent *AOwner)
    : TWidgetControl(AOwner, new QLineEdit), FLine(static_cast<QLineEdit *>(Face()))
{
    SetTabStop(true);
    QObject::connect(FLine, &QLineEdit::textChanged, FLine, [this] {
        Guarded(this, [this] {
            if (OnChange)
                OnChange(this);
        });
    });
    SetBounds(0, 0, 121, 21);
}

std::string TEdit::Text() const
{
    return FSetText.Read(FLine->text());
}
void TEdit::SetText(const std::string &Value)
{
    FLine->setText(FSetText.Set(Value));
}
bool TEdit::ReadOnly() const
{
    return FLine->isReadOnly();
}
void TEdit::SetReadOnly(bool Value)
{
    FLine->setReadOnly(Value);
}

void TEdit::DoEnter()
{
    // A press puts the caret where it lands instead.
    if (AutoSelect && !FocusingByPress())
        FLine->selectAll();
    TWidgetControl::DoEnter();
}
