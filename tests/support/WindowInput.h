#pragma once
// Input as the window system delivers it: mouse buttons and keys handed to
// the top-level window through Qt's window-system interface, so that the
// application routes them as a user's, to the widget under the pointer
// (with Qt's own focus handling and grabs) and keys to the focus. Nothing
// is sent to an inner widget.

#include <QApplication>
#include <QCursor>
#include <QTest>
#include <QWidget>
#include <QWindow>

#include <string>

namespace windowinput {

// The top-level window that shows W.
inline QWindow *WindowOf(QWidget *W)
{
    QWidget *top = W->window();
    return top->windowHandle();
}

// The point At of W in its window's coordinates.
inline QPoint InWindow(QWidget *W, QPoint At)
{
    return W->mapTo(W->window(), At);
}

inline QPoint Middle(QWidget *W)
{
    return QPoint(W->width() / 2, W->height() / 2);
}

// The pointer moves to At of W.
inline void MoveTo(QWidget *W, QPoint At)
{
    QWindow *window = WindowOf(W);
    const QPoint p = InWindow(W, At);
    QCursor::setPos(window->mapToGlobal(p));
    QTest::mouseMove(window, p);
}

// A left click at At of W (its middle by default): the pointer comes
// there, the button goes down and up.
inline void ClickAt(QWidget *W, QPoint At)
{
    MoveTo(W, At);
    QTest::mouseClick(WindowOf(W), Qt::LeftButton, Qt::NoModifier, InWindow(W, At));
}
inline void Click(QWidget *W)
{
    ClickAt(W, Middle(W));
}

// One key pressed and released on the window that shows W.
inline void Key(QWidget *W, Qt::Key K, Qt::KeyboardModifiers Modifiers = Qt::NoModifier)
{
    QTest::keyClick(WindowOf(W), K, Modifiers);
}

// Text typed on the window that shows W, a key per character.
inline void Type(QWidget *W, const std::string &Text)
{
    for (char c : Text)
        QTest::keyClick(WindowOf(W), c);
}

} // namespace windowinput
