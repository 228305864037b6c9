#include "duration_chart.h"

#include <QCategoryAxis>
#include <QLineSeries>
#include <QScatterSeries>

#include "chart_parts.h"
#include "number_format.h"
#include "plot_palette.h"
#include "probability_scale.h"

namespace vd::ui {
namespace {

QScatterSeries* markOf(QChart& chart, const vd::run::DurationCurveData& data,
                       const vd::run::DurationMark& mark, int blockIndex) {
    auto* point = new QScatterSeries(&chart);
    point->setName(designFlowName(mark.level) + QStringLiteral(" at ") +
                   QString::fromStdString(vd::run::formatFixed(mark.percentExceeded, 1)) +
                   QStringLiteral(" %"));
    const QPen pen = designFlowPen(mark.level.kind, blockIndex);
    point->setColor(pen.color());
    point->setBorderColor(palette::black);
    point->setMarkerSize(11);
    point->setMarkerShape(mark.level.kind == vd::run::DesignFlowKind::block
                              ? QScatterSeries::MarkerShapeRectangle
                              : QScatterSeries::MarkerShapeCircle);
    point->append(vd::run::durationMarkPosition(vd::run::durationScale(data), mark.percentExceeded),
                  data.flowRange.position(mark.level.flow));
    return point;
}

// Percent of days on a normal-probability scale, which spreads out the low-flow end where
// the design flows lie.
QCategoryAxis* percentAxis(QChart& chart, const vd::run::DurationCurveData& data) {
    const vd::run::ProbabilityScale scale = vd::run::durationScale(data);
    auto* axis = new QCategoryAxis(&chart);
    axis->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    for (const vd::run::ProbabilityTick& t : scale.ticks)
        axis->append(QString::fromStdString(t.probability), t.position);
    axis->setRange(scale.low, scale.high);
    axis->setTitleText(QStringLiteral("Percent of days the flow was equalled or exceeded"));
    chart.addAxis(axis, Qt::AlignBottom);
    return axis;
}

}  // namespace

std::unique_ptr<QChart> durationChart(const vd::run::DurationCurveData& data,
                                      const std::string& title) {
    auto chart = newChart(title);
    QCategoryAxis* percent = percentAxis(*chart, data);
    QCategoryAxis* flow = addLogFlowAxis(*chart, data.flowRange);

    auto* curve = new QLineSeries(chart.get());
    curve->setName(QString::fromLatin1(durationCurveName));
    curve->setPen(QPen(palette::blue, 2));
    for (const vd::run::DurationPoint& p : data.curve)
        if (p.percentExceeded > 0 && p.percentExceeded < 100)
            curve->append(vd::run::percentPosition(p.percentExceeded),
                          data.flowRange.position(p.flow));
    chart->addSeries(curve);
    curve->attachAxis(percent);
    curve->attachAxis(flow);

    int block = 0;
    for (const vd::run::DurationMark& mark : data.marks) {
        QScatterSeries* point = markOf(*chart, data, mark, block);
        if (mark.level.kind == vd::run::DesignFlowKind::block) ++block;
        chart->addSeries(point);
        point->attachAxis(percent);
        point->attachAxis(flow);
    }
    return chart;
}

}  // namespace vd::ui
