#include "chart_image.h"

#include <QApplication>
#include <QChartView>
#include <QFileInfo>
#include <QPainter>
#include <QPixmap>
#include <QSvgGenerator>
#include <QTextDocumentFragment>

#include "plot_chart_view.h"

namespace vd::ui {
namespace {

QString saveSvg(QChartView& view, const QString& path) {
    QSvgGenerator svg;
    svg.setFileName(path);
    svg.setSize(view.size());
    svg.setViewBox(QRect(QPoint(0, 0), view.size()));
    // The chart's title is rich text; the drawing's title is plain.
    if (view.chart())
        svg.setTitle(
            QTextDocumentFragment::fromHtml(view.chart()->title()).toPlainText().toHtmlEscaped());
    QPainter painter;
    if (!painter.begin(&svg)) return QStringLiteral("Unable to write \"%1\".").arg(path);
    view.render(&painter);
    painter.end();
    return QFileInfo(path).size() > 0 ? QString()
                                      : QStringLiteral("Unable to write \"%1\".").arg(path);
}

}  // namespace

QString saveChartImage(QChartView& view, const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("svg")) return saveSvg(view, path);
    if (suffix != QLatin1String("png"))
        return QStringLiteral("\"%1\": images are written as .png or .svg.").arg(path);
    return view.grab().save(path, "PNG") ? QString()
                                         : QStringLiteral("Unable to write \"%1\".").arg(path);
}

QString saveChartImage(std::unique_ptr<QChart> chart, const QString& path, QSize size) {
    PlotChartView view;
    view.replaceChart(std::move(chart));
    view.setAttribute(Qt::WA_DontShowOnScreen);
    view.resize(size);
    view.show();
    QApplication::processEvents();
    return saveChartImage(view, path);
}

}  // namespace vd::ui
