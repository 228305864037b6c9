#include "chart_image.h"

#include <QApplication>
#include <QBuffer>
#include <QChartView>
#include <QFileInfo>
#include <QFontMetrics>
#include <QImage>
#include <QLegend>
#include <QLegendMarker>
#include <QPainter>
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
    } catch (const vd::Error& e) {
        if (e.code() != vd::ErrorCode::inOut) throw;
        return QString::fromStdString(e.what());
    }
}

// The rendering of the view laid out at its size, scaled to the image's pixels.
struct Picture {
    QChartView& view;
    ImageSize size;
    vd::run::ImageScale scale;
};

void paint(QPainter& painter, const Picture& p) {
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    p.view.render(&painter, QRectF(QPointF(0, 0), QSizeF(p.size.pixels)), p.view.rect(),
                  Qt::IgnoreAspectRatio);
}

QString saveSvg(const Picture& p, const QString& path) {
    QBuffer bytes;
    bytes.open(QIODevice::WriteOnly);
    QSvgGenerator svg;
    svg.setOutputDevice(&bytes);
    svg.setSize(p.size.pixels);
    svg.setViewBox(QRect(QPoint(0, 0), p.size.pixels));
    svg.setResolution(p.size.dpi);
    // The chart's title is rich text; the drawing's title is plain.
    if (p.view.chart())
        svg.setTitle(
            QTextDocumentFragment::fromHtml(p.view.chart()->title()).toPlainText().toHtmlEscaped());
    QPainter painter;
    if (!painter.begin(&svg)) return QStringLiteral("Unable to write \"%1\".").arg(path);
    painter.fillRect(QRect(QPoint(0, 0), p.size.pixels), Qt::white);
    paint(painter, p);
    painter.end();
    return written(path, bytes.data());
}

QString savePng(const Picture& p, const QString& path) {
    QImage image(p.size.pixels, QImage::Format_ARGB32_Premultiplied);
    if (image.isNull()) return QStringLiteral("Unable to write \"%1\": too large.").arg(path);
    image.fill(Qt::white);
    image.setDotsPerMeterX(p.scale.dotsPerMeter);
    image.setDotsPerMeterY(p.scale.dotsPerMeter);
    QPainter painter(&image);
    paint(painter, p);
    painter.end();
    QBuffer bytes;
    bytes.open(QIODevice::WriteOnly);
    if (!image.save(&bytes, "PNG")) return QStringLiteral("Unable to write \"%1\".").arg(path);
    return written(path, bytes.data());
}

QString saveAt(QChartView& view, const QString& path, ImageSize size) {
    const Picture picture{view, size,
                          vd::run::imageScale(size.pixels.width(), size.pixels.height(), size.dpi)};
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("svg")) return saveSvg(picture, path);
    if (suffix != QLatin1String("png"))
        return QStringLiteral("\"%1\": images are written as .png or .svg.").arg(path);
    return savePng(picture, path);
}

}  // namespace

// A fact-sheet figure is laid out narrow: a legend below it would read "Excursi...".
void fitLegendToWidth(QChart& chart, int layoutWidth) {
    QLegend* legend = chart.legend();
    if (!legend || !legend->isVisible()) return;
    const QFontMetrics metrics(legend->font());
    int needed = 0;
    for (const QLegendMarker* marker : legend->markers())
        if (marker->isVisible())
            needed += metrics.horizontalAdvance(marker->label()) + 3 * metrics.height();
    if (needed > layoutWidth) legend->setAlignment(Qt::AlignRight);
}

QString saveChartImage(QChartView& view, const QString& path) {
    return saveAt(view, path, {view.size()});
}

QString saveChartImage(std::unique_ptr<QChart> chart, const QString& path, ImageSize size) {
    const vd::run::ImageScale scale =
        vd::run::imageScale(size.pixels.width(), size.pixels.height(), size.dpi);
    PlotChartView view;
    view.replaceChart(std::move(chart));
    view.setAttribute(Qt::WA_DontShowOnScreen);
    view.resize(scale.layoutWidth, scale.layoutHeight);
    view.show();
    QApplication::processEvents();
    // Which legend entries show is known once the chart is laid out.
    fitLegendToWidth(*view.chart(), scale.layoutWidth);
    QApplication::processEvents();
    return saveAt(view, path, size);
}

}  // namespace vd::ui
