// The progress window: a small tool window with a caption and a gauge from 0 to
// 100, shown while flow files are read and while a calculation runs.
#pragma once

#include <QWidget>
#include <string>

class QProgressBar;

namespace vd::ui {

class ProgressWindow final : public QWidget {
    Q_OBJECT
  public:
    explicit ProgressWindow(QWidget* parent = nullptr);

    void setCaption(const QString& caption);
    void setGauge(int percent);
    QString caption() const { return windowTitle(); }
    int gauge() const;
    // Shows the window and paints it at once: the work that drives it runs on this
    // thread and lets nothing else repaint until it ends.
    void showNow();
    // Caption and gauge in one call, in the shape the calculation run reports them.
    void progress(const std::string& caption, int percent);

    QProgressBar* gaugeBar;
};

}  // namespace vd::ui
