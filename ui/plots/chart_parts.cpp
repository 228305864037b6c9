#include "chart_parts.h"

#include <QCategoryAxis>
#include <QChart>
#include <QLegendMarker>
#include <QLineSeries>

#include "log_axis_ticks.h"
#include "plot_palette.h"
#include "tick_axis.h"

namespace vd::ui {

QCategoryAxis* addLogFlowAxis(QChart& chart, const vd::run::LogAxisRange& range) {
    QCategoryAxis* axis = addTickAxis(chart, Qt::AlignLeft, range.lowPosition(),
                                      range.highPosition(), vd::run::logAxisTicks);
    axis->setTitleText(QStringLiteral("Flow (cfs)"));
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
    return QString::fromStdString(vd::run::designFlowLegend(level));
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
    chart->setBackgroundBrush(Qt::white);
    chart->setBackgroundRoundness(0);
    return chart;
}

}  // namespace vd::ui
