#include "ChartWidget.h"

#include "Chart.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QWheelEvent>

TChartWidget::TChartWidget(TChart &Chart, QWidget *Parent) : QWidget(Parent), FChart(Chart)
{
    setFocusPolicy(Qt::ClickFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    FChart.SetOnChange([this] {
        FStale = true;
        update();
    });
}

TChartWidget::~TChartWidget()
{
    FChart.SetOnChange(nullptr);
}

void TChartWidget::paintEvent(QPaintEvent *E)
{
    const qreal ratio = devicePixelRatio();
    if (FStale || FPicture.size() != size() * ratio) {
        FPicture = QImage(size() * ratio, QImage::Format_RGB32);
        FPicture.setDevicePixelRatio(ratio);
        QPainter p(&FPicture);
        FChart.Draw(p, QRectF(rect()));
        FStale = false;
    }
    QPainter p(this);
    for (const QRect &r : E->region())
        p.drawImage(r, FPicture, QRectF(QPointF(r.topLeft()) * ratio, QSizeF(r.size()) * ratio));
}

void TChartWidget::mousePressEvent(QMouseEvent *E)
{
    if (E->button() == Qt::LeftButton)
        FChart.MouseDown(E->position());
}

void TChartWidget::mouseMoveEvent(QMouseEvent *E)
{
    FChart.MouseMove(E->position());
}

void TChartWidget::mouseReleaseEvent(QMouseEvent *E)
{
    if (E->button() == Qt::LeftButton)
        FChart.MouseUp(E->position());
}

void TChartWidget::wheelEvent(QWheelEvent *E)
{
    const int delta = E->angleDelta().y();
    if (delta < 0)
        FChart.NextPage();
    else if (delta > 0)
        FChart.PreviousPage();
}

void TChartWidget::keyPressEvent(QKeyEvent *E)
{
    if (E->key() == Qt::Key_PageDown)
        FChart.NextPage();
    else if (E->key() == Qt::Key_PageUp)
        FChart.PreviousPage();
    else
        QWidget::keyPressEvent(E);
}
