#include "progress_window.h"

#include <QCoreApplication>
#include <QProgressBar>
#include <QVBoxLayout>
#include <algorithm>

namespace vd::ui {

TForm6::TForm6(QWidget* parent) : QWidget(parent, Qt::Tool), Gauge1(new QProgressBar(this)) {
    // It only reports: the window the user works in keeps the focus.
    setAttribute(Qt::WA_ShowWithoutActivating);
    setWindowFlag(Qt::WindowDoesNotAcceptFocus);
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
    // Over the middle of the window that started the work, where the user is looking.
    if (!isVisible() && parentWidget() != nullptr)
        move(parentWidget()->geometry().center() - rect().center());
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
