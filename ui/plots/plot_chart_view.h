// A chart view that zooms with the mouse wheel (about the pointer) or a rubber band
// (left drag), pans by dragging with the right or middle button (or Shift and the left),
// and answers the keyboard: + and - zoom, the arrows pan, Home resets.
#pragma once

#include <QChartView>
#include <QPoint>
#include <memory>

namespace vd::ui {

class PlotChartView final : public QChartView {
    Q_OBJECT
  public:
    explicit PlotChartView(QWidget* parent = nullptr);

    // Shows `chart` in place of the one shown, which is deleted (setChart only lets go of it).
    void replaceChart(std::unique_ptr<QChart> chart);

    // Back to the ranges the chart was built with.
    void resetZoom();

  protected:
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void zoomAbout(QPointF centre, double factor);

    bool panning_ = false;
    QPoint lastPan_;
};

}  // namespace vd::ui
