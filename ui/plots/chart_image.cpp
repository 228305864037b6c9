#include "chart_image.h"

#include <QApplication>
#include <QBuffer>
#include <QChartView>
#include <QFileInfo>
#include <QPainter>
#include <QPixmap>
#include <QSvgGenerator>
#include <QTextDocumentFragment>

#include "errors.h"
#include "plot_chart_view.h"
#include "utf8_path.h"
#include "whole_file.h"

namespace vd::ui {
namespace {

// The picture reaches its name whole or not at all, through the program's one file writer.
QString written(const QString& path, const QByteArray& bytes) {
    try {
        writeWholeFile(pathFromUtf8(path.toStdString()),
                       std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
        return {};
    } catch (const InOutError& e) {
        return QString::fromStdString(e.what());
    }
}

QString saveSvg(QChartView& view, const QString& path) {
    QBuffer bytes;
    bytes.open(QIODevice::WriteOnly);
    QSvgGenerator svg;
    svg.setOutputDevice(&bytes);
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
    return written(path, bytes.data());
}

QString savePng(QChartView& view, const QString& path) {
    QBuffer bytes;
    bytes.open(QIODevice::WriteOnly);
    if (!view.grab().save(&bytes, "PNG"))
        return QStringLiteral("Unable to write \"%1\".").arg(path);
    return written(path, bytes.data());
}

}  // namespace

QString saveChartImage(QChartView& view, const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("svg")) return saveSvg(view, path);
    if (suffix != QLatin1String("png"))
        return QStringLiteral("\"%1\": images are written as .png or .svg.").arg(path);
    return savePng(view, path);
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
