#pragma once
// Mouse input as the window system delivers it: events sent through the
// application to the widget under the pointer, not calls into handlers.

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>

inline void SendMouse(QWidget *W, QEvent::Type Type, QPointF At, Qt::MouseButton Button,
                      Qt::MouseButtons Buttons)
{
    QMouseEvent event(Type, At, W->mapToGlobal(At), Button, Buttons, Qt::NoModifier);
    QApplication::sendEvent(W, &event);
}

// A left press and release at At of W.
inline void PressAndRelease(QWidget *W, QPointF At)
{
    SendMouse(W, QEvent::MouseButtonPress, At, Qt::LeftButton, Qt::LeftButton);
    SendMouse(W, QEvent::MouseButtonRelease, At, Qt::LeftButton, Qt::NoButton);
}

// A left click in the middle of W.
inline void Click(QWidget *W)
{
    PressAndRelease(W, QPointF(W->width() / 2.0, W->height() / 2.0));
}

// A user's left click at At of W: the pointer comes there, the button goes
// down and up.
inline void ClickAt(QWidget *W, QPointF At)
{
    SendMouse(W, QEvent::MouseMove, At, Qt::NoButton, Qt::NoButton);
    PressAndRelease(W, At);
}
