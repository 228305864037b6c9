#include "progress_window.h"

#include <QCoreApplication>
#include <QProgressBar>
#include <QVBoxLayout>
#include <algorithm>

namespace vd::ui {

ProgressWindow::ProgressWindow(QWidget* parent)
    : QWidget(parent, Qt::Tool), gaugeBar(new QProgressBar(this)) {
    // It only reports: the window the user works in keeps the focus.
    setAttribute(Qt::WA_ShowWithoutActivating);
    setWindowFlag(Qt::WindowDoesNotAcceptFocus);
    setWindowTitle(QStringLiteral("Progress"));
    gaugeBar->setRange(0, 100);
    gaugeBar->setValue(0);
    gaugeBar->setTextVisible(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(gaugeBar);
    setFixedSize(320, 56);
}

void ProgressWindow::setCaption(const QString& caption) {
    setWindowTitle(caption);
}

void ProgressWindow::setGauge(int percent) {
    gaugeBar->setValue(std::clamp(percent, 0, 100));
}

int ProgressWindow::gauge() const {
    return gaugeBar->value();
}

void ProgressWindow::showNow() {
    // Over the middle of the window that started the work, where the user is looking.
    if (!isVisible() && parentWidget() != nullptr)
        move(parentWidget()->geometry().center() - rect().center());
    show();
    raise();
    repaint();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void ProgressWindow::progress(const std::string& caption, int percent) {
    setCaption(QString::fromStdString(caption));
    setGauge(percent);
    showNow();
}

}  // namespace vd::ui
