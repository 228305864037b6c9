#include "about_box.h"

#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "vando_version.h"

namespace vd::ui {

namespace {

// The paragraphs of the box; the last one names the version this build makes.
QStringList credits() {
    const char* const paragraphs[] = {
        "VANDO 3 computes stream design flows by the published biologically based and "
        "hydrologically based design-flow methods for steady-state water-quality modelling.",
        "From long records of daily mean stream flow it finds, for any season, the biologically "
        "based flow that x-day averages fall below no more often than once in y years, counted "
        "in clusters of excursions.",
        "Beside it stand the hydrologically based xQy low flow from a log-Pearson type III fit of "
        "the seasonal annual minima, flows at a percentile, the excursions of a given flow and "
        "the harmonic mean flow.",
        "The program grew from a tool for permit writers into a calculator for many gages at "
        "once, with reports copied as text and whole analyses kept in parameter files.",
        "Version %1 reads daily-value files in the older and the 2006 layout, several gages "
        "per file, as well as old flow files, and runs as a portable desktop program."};
    QStringList texts;
    for (const char* paragraph : paragraphs) texts << QString::fromUtf8(paragraph);
    texts.back() = texts.back().arg(QString::fromLatin1(vd::version::text));
    return texts;
}

}  // namespace

AboutBox::AboutBox(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("About VANDO"));
    auto* layout = new QVBoxLayout(this);
    for (const QString& paragraph : credits()) {
        auto* label = new QLabel(paragraph, this);
        label->setWordWrap(true);
        label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        layout->addWidget(label);
    }
    layout->addStretch();
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    layout->addWidget(ok, 0, Qt::AlignHCenter);
    setFixedWidth(278);
    setMinimumHeight(424);
}

void AboutBox::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    const QRect s = screen()->geometry();
    move(s.x() + (s.width() - width()) / 2, s.y() + (s.height() - height()) / 2);
}

}  // namespace vd::ui
