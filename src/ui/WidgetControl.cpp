#include "WidgetControl.h"

#include "Forms.h"

#include <QKeyEvent>

TWidgetControl::TWidgetControl(TComponent *AOwner, QWidget *Face)
    : TWinControl(AOwner), FFace(Face)
{
    SetControlStyle(ControlStyle() | csOpaque);
    FFace->setParent(this);
    FFace->setGeometry(0, 0, Width(), Height());
    setFocusProxy(FFace);
    FFace->installEventFilter(this);
    for (QWidget *child : FFace->findChildren<QWidget *>())
        child->installEventFilter(this);
}

void TWidgetControl::resizeEvent(QResizeEvent *Event)
{
    TWinControl::resizeEvent(Event);
    FFace->setGeometry(0, 0, width(), height());
}

void TWidgetControl::keyPressEvent(QKeyEvent *Event)
{
    Event->accept();
}

void TWidgetControl::keyReleaseEvent(QKeyEvent *Event)
{
    Event->accept();
}

void TWidgetControl::CMFontChanged()
{
    TWinControl::CMFontChanged();
    FFace->setFont(Font()->ToQFont());
}

bool TWidgetControl::eventFilter(QObject *, QEvent *Event)
{
    try {
        switch (Event->type()) {
        case QEvent::KeyPress: {
            const auto *key = static_cast<QKeyEvent *>(Event);
            const uint16_t code = VirtualKeyOf(*key);
            return code && !HandleKeyDown(code, ShiftStateOf(key->modifiers()));
        }
        case QEvent::KeyRelease: {
            const auto *key = static_cast<QKeyEvent *>(Event);
            const uint16_t code = VirtualKeyOf(*key);
            if (code && !key->isAutoRepeat())
                HandleKeyUp(code, ShiftStateOf(key->modifiers()));
            return false;
        }
        case QEvent::FocusIn:
            if (TCustomForm *form = GetParentForm(this); form && !Focused())
                form->SetActiveControl(this);
            return false;
        default:
            return false;
        }
    } catch (...) {
        Application->HandleException(this);
        return true;
    }
}
