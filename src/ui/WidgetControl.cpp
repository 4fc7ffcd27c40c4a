#include "WidgetControl.h"

#include "Forms.h"

#include <QChildEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>

TWidgetControl::TWidgetControl(TComponent *AOwner, QWidget *Face) : TWinControl(AOwner), FFace(Face)
{
    SetControlStyle(ControlStyle() | csOpaque);
    FFace->setParent(this);
    FFace->setGeometry(0, 0, Width(), Height());
    setFocusProxy(FFace);
    TakeIn(FFace);
}

void TWidgetControl::TakeIn(QWidget *Widget)
{
    if (Widget->isWindow())
        return;
    Widget->setFocusPolicy(Qt::NoFocus);
    Widget->removeEventFilter(this);
    Widget->installEventFilter(this);
    for (QObject *child : Widget->children())
        if (child->isWidgetType())
            TakeIn(static_cast<QWidget *>(child));
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

bool TWidgetControl::eventFilter(QObject *Watched, QEvent *Event)
{
    bool eaten = true; // what a handler failed on goes no further
    Guarded(this, [&] { eaten = FilterEvent(Watched, Event); });
    return eaten;
}

bool TWidgetControl::FilterEvent(QObject *Watched, QEvent *Event)
{
    switch (Event->type()) {
    case QEvent::KeyPress: {
        const auto *key = static_cast<QKeyEvent *>(Event);
        const uint16_t code = VirtualKeyOf(*key);
        const TShiftState shift = ShiftStateOf(key->modifiers());
        if (code && !HandleKeyDown(code, shift))
            return true;
        // Alt+letter is for the accelerators; the face never types it.
        if (const char system = SystemCharOf(*key)) {
            HandleKeyPress(system, shift);
            return true;
        }
        return false;
    }
    case QEvent::KeyRelease: {
        const auto *key = static_cast<QKeyEvent *>(Event);
        const uint16_t code = VirtualKeyOf(*key);
        if (code && !key->isAutoRepeat())
            HandleKeyUp(code, ShiftStateOf(key->modifiers()));
        return false;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        // A scroll bar is the frame of the platform's control, not its
        // inside: a press there leaves the focus where it is.
        if (static_cast<QMouseEvent *>(Event)->button() == Qt::LeftButton &&
            !qobject_cast<QScrollBar *>(Watched))
            PressFocus();
        return false;
    case QEvent::FocusIn:
        if (TCustomForm *form = GetParentForm(this); form && !Focused())
            form->SetActiveControl(this);
        return false;
    case QEvent::ChildPolished:
        // A widget the face made later (the edit field of a combo box
        // made editable) is taken in like those it was made with.
        if (QObject *child = static_cast<QChildEvent *>(Event)->child();
            child && child->isWidgetType())
            TakeIn(static_cast<QWidget *>(child));
        return false;
    default: return false;
    }
}
