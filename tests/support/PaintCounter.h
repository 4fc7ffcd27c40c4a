#pragma once
// Counts the paint events that widgets receive from the window system, as
// a screen would cause them, and waits for a window to settle.

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QThread>
#include <QWidget>

#include <map>
#include <string>
#include <typeinfo>

class TPaintCounter : public QObject {
public:
    TPaintCounter() { qApp->installEventFilter(this); }
    ~TPaintCounter() override { qApp->removeEventFilter(this); }

    int Of(const QWidget *Widget) const
    {
        auto it = FCounts.find(Widget);
        return it == FCounts.end() ? 0 : it->second;
    }
    // Paints of Widget and every widget inside it.
    int Within(const QWidget *Widget) const
    {
        int n = 0;
        for (const auto &[w, count] : FCounts)
            if (w == Widget || Widget->isAncestorOf(w))
                n += count;
        return n;
    }
    int Total() const
    {
        int n = 0;
        for (const auto &entry : FCounts)
            n += entry.second;
        return n;
    }
    const std::map<const QWidget *, int> &Counts() const { return FCounts; }
    void Reset() { FCounts.clear(); }

    // Serves events for Ms milliseconds.
    static void Serve(int Ms)
    {
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < Ms) {
            QApplication::processEvents(QEventLoop::AllEvents, 5);
            QThread::msleep(2);
        }
    }
    // Serves events until no paint came for QuietMs, or LimitMs passed;
    // whether it settled.
    bool Settle(int QuietMs = 300, int LimitMs = 5000)
    {
        QElapsedTimer t, quiet;
        t.start();
        quiet.start();
        int seen = Total();
        while (t.elapsed() < LimitMs) {
            QApplication::processEvents(QEventLoop::AllEvents, 5);
            QThread::msleep(2);
            if (Total() != seen) {
                seen = Total();
                quiet.restart();
            } else if (quiet.elapsed() >= QuietMs) {
                return true;
            }
        }
        return false;
    }

protected:
    bool eventFilter(QObject *Watched, QEvent *Event) override
    {
        if (Event->type() == QEvent::Paint && Watched->isWidgetType())
            ++FCounts[static_cast<QWidget *>(Watched)];
        return false;
    }

private:
    std::map<const QWidget *, int> FCounts;
};

// What the window system shows of a top-level window now, without painting
// anything anew.
inline QImage ScreenPicture(QWidget &Window)
{
    return QGuiApplication::primaryScreen()->grabWindow(Window.winId()).toImage();
}
