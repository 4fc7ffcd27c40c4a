#pragma once
// Shows a TChart in a window: paints it, zooms with the mouse, and turns
// the pages with the wheel or Page Up / Page Down. The chart is drawn into a
// picture when it changes or the window is resized; paint events show the
// picture.

#include <QImage>
#include <QWidget>

class TChart;

class TChartWidget : public QWidget {
public:
    // Chart is not owned and must outlive the widget.
    explicit TChartWidget(TChart &Chart, QWidget *Parent = nullptr);
    ~TChartWidget() override;
    TChart &Chart() { return FChart; }

protected:
    void paintEvent(QPaintEvent *) override;
    void mousePressEvent(QMouseEvent *E) override;
    void mouseMoveEvent(QMouseEvent *E) override;
    void mouseReleaseEvent(QMouseEvent *E) override;
    void wheelEvent(QWheelEvent *E) override;
    void keyPressEvent(QKeyEvent *E) override;

private:
    TChart &FChart;
    QImage FPicture;
    bool FStale = true;
};
