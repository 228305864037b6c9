#include "chart_parts.h"

#include <QChart>
#include <QLegendMarker>
#include <QLineSeries>
#include <QLogValueAxis>

#include "number_format.h"
#include "plot_palette.h"

namespace vd::ui {

QLogValueAxis* addLogFlowAxis(QChart& chart, const vd::run::LogAxisRange& range) {
    auto* axis = new QLogValueAxis(&chart);
    axis->setBase(10);
    axis->setLabelFormat(QStringLiteral("%g"));
    axis->setMinorTickCount(8);
    axis->setRange(range.low, range.high);
    axis->setTitleText(QStringLiteral("Flow (cfs)"));
    chart.addAxis(axis, Qt::AlignLeft);
    return axis;
}

QString chartTitleText(const std::string& title) {
    QString text = QString::fromStdString(title).toHtmlEscaped();
    text.replace(QLatin1Char('\n'), QStringLiteral("<br>"));
    return QStringLiteral("<b>") + text + QStringLiteral("</b>");
}

QPen designFlowPen(vd::run::DesignFlowKind kind, int blockIndex) {
    switch (kind) {
        case vd::run::DesignFlowKind::biological:
            return QPen(palette::vermillion, 2, Qt::DashLine);
        case vd::run::DesignFlowKind::harmonicMean:
            return QPen(palette::reddishPurple, 2, Qt::DotLine);
        case vd::run::DesignFlowKind::block:
            break;
    }
    static const QColor blockColours[] = {palette::bluishGreen, palette::orange, palette::black,
                                          palette::skyBlue};
    static const Qt::PenStyle blockDashes[] = {Qt::DashDotLine, Qt::DashDotDotLine, Qt::DashLine,
                                               Qt::DotLine};
    const std::size_t k = static_cast<std::size_t>(blockIndex) % std::size(blockColours);
    return QPen(blockColours[k], 2, blockDashes[k]);
}

QString designFlowName(const vd::run::DesignFlowLevel& level) {
    return QString::fromStdString(level.label + ": " + vd::run::NiceFlow(level.flow) + " cfs");
}

void hideFromLegend(QChart& chart, QAbstractSeries* series) {
    for (QLegendMarker* marker : chart.legend()->markers(series)) marker->setVisible(false);
}

std::unique_ptr<QChart> newChart(const std::string& title) {
    auto chart = std::make_unique<QChart>();
    chart->setAnimationOptions(QChart::NoAnimation);
    chart->setTitle(chartTitleText(title));
    chart->legend()->setAlignment(Qt::AlignBottom);
    chart->legend()->setShowToolTips(true);
    return chart;
}

}  // namespace vd::ui
