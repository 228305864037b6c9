#include "vd_progress.h"

#include <QCoreApplication>
#include <QProgressBar>
#include <QVBoxLayout>
#include <algorithm>

namespace vd::ui {

TForm6::TForm6(QWidget* parent) : QWidget(parent, Qt::Tool), Gauge1(new QProgressBar(this)) {
    setWindowTitle(QStringLiteral("Progress"));
    Gauge1->setRange(0, 100);
    Gauge1->setValue(0);
    Gauge1->setTextVisible(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Gauge1);
    setFixedSize(320, 56);
}

void TForm6::setCaption(const QString& caption) {
    setWindowTitle(caption);
}

void TForm6::setGauge(int percent) {
    Gauge1->setValue(std::clamp(percent, 0, 100));
}

int TForm6::gauge() const {
    return Gauge1->value();
}

void TForm6::showNow() {
    show();
    raise();
    repaint();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void TForm6::progress(const std::string& caption, int percent) {
    setCaption(QString::fromStdString(caption));
    setGauge(percent);
    showNow();
}

}  // namespace vd::ui
