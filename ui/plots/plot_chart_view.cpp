#include "plot_chart_view.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>
#include <cmath>

namespace vd::ui {
namespace {

constexpr double wheelStep = 1.25;  // zoom per notch of the wheel
constexpr int keyPanPixels = 40;

}  // namespace

PlotChartView::PlotChartView(QWidget* parent) : QChartView(parent) {
    setRenderHint(QPainter::Antialiasing);
    setRubberBand(QChartView::RectangleRubberBand);
    setFocusPolicy(Qt::StrongFocus);
    // The chart's margin is white too, in the window and in images.
    setBackgroundBrush(Qt::white);
}

void PlotChartView::replaceChart(std::unique_ptr<QChart> chart) {
    const std::unique_ptr<QChart> old(this->chart());
    setChart(chart.release());
}

void PlotChartView::resetZoom() {
    if (chart()) chart()->zoomReset();
}

// The plot area shrinks or grows by `factor` about `centre`, which stays where it is.
void PlotChartView::zoomAbout(QPointF centre, double factor) {
    if (!chart()) return;
    const QRectF area = chart()->plotArea();
    if (!area.contains(centre)) centre = area.center();
    const QSizeF size = area.size() / factor;
    const QPointF topLeft(centre.x() - (centre.x() - area.left()) / factor,
                          centre.y() - (centre.y() - area.top()) / factor);
    chart()->zoomIn(QRectF(topLeft, size));
}

void PlotChartView::wheelEvent(QWheelEvent* event) {
    const double notches = event->angleDelta().y() / 120.0;
    if (notches == 0) return;
    zoomAbout(chart() ? chart()->mapFromScene(mapToScene(event->position().toPoint())) : QPointF(),
              std::pow(wheelStep, notches));
    event->accept();
}

void PlotChartView::mousePressEvent(QMouseEvent* event) {
    const bool pan = event->button() == Qt::RightButton || event->button() == Qt::MiddleButton ||
                     (event->button() == Qt::LeftButton && event->modifiers() & Qt::ShiftModifier);
    if (!pan) {
        QChartView::mousePressEvent(event);
        return;
    }
    panning_ = true;
    lastPan_ = event->position().toPoint();
    setCursor(Qt::ClosedHandCursor);
    event->accept();
}

void PlotChartView::mouseMoveEvent(QMouseEvent* event) {
    if (!panning_) {
        QChartView::mouseMoveEvent(event);
        return;
    }
    const QPoint at = event->position().toPoint();
    const QPoint moved = at - lastPan_;
    lastPan_ = at;
    if (chart()) chart()->scroll(-moved.x(), moved.y());
    event->accept();
}

void PlotChartView::mouseReleaseEvent(QMouseEvent* event) {
    if (!panning_) {
        // The view's own rubber band zooms out on a right click; panning owns that button.
        if (event->button() != Qt::RightButton) QChartView::mouseReleaseEvent(event);
        return;
    }
    panning_ = false;
    unsetCursor();
    event->accept();
}

void PlotChartView::keyPressEvent(QKeyEvent* event) {
    if (!chart()) return QChartView::keyPressEvent(event);
    switch (event->key()) {
        case Qt::Key_Plus:
        case Qt::Key_Equal:
            zoomAbout(chart()->plotArea().center(), wheelStep);
            break;
        case Qt::Key_Minus:
            zoomAbout(chart()->plotArea().center(), 1 / wheelStep);
            break;
        case Qt::Key_Left:
            chart()->scroll(-keyPanPixels, 0);
            break;
        case Qt::Key_Right:
            chart()->scroll(keyPanPixels, 0);
            break;
        case Qt::Key_Up:
            chart()->scroll(0, keyPanPixels);
            break;
        case Qt::Key_Down:
            chart()->scroll(0, -keyPanPixels);
            break;
        case Qt::Key_Home:
            resetZoom();
            break;
        default:
            QChartView::keyPressEvent(event);
            return;
    }
    event->accept();
}

}  // namespace vd::ui
