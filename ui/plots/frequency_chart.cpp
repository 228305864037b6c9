#include "frequency_chart.h"

#include <QAreaSeries>
#include <QCategoryAxis>
#include <QLineSeries>
#include <QScatterSeries>

#include "chart_parts.h"
#include "design_flow_levels.h"
#include "plot_palette.h"
#include "probability_scale.h"

namespace vd::ui {
namespace {

using vd::run::ProbabilityPoint;
using vd::run::probabilityPosition;

struct Axes {
    QAbstractAxis* probability;
    QAbstractAxis* flow;
    vd::run::LogAxisRange flowRange;
};

void attach(QChart& chart, QAbstractSeries* series, const Axes& axes) {
    chart.addSeries(series);
    series->attachAxis(axes.probability);
    series->attachAxis(axes.flow);
}

enum class FlowChoice { positive, zero, zeroAtFloor };

bool drawsFlow(double flow, FlowChoice which) {
    switch (which) {
        case FlowChoice::positive:
            return flow > 0;
        case FlowChoice::zero:
            return flow == 0;
        case FlowChoice::zeroAtFloor:
            break;
    }
    return flow >= 0;
}

// Points without a place on the axes (probabilities 0 and 1, and the flows not asked for)
// are left out; a zero flow lies at the axis floor.
template <typename Series>
void appendPoints(Series& series, const std::vector<ProbabilityPoint>& points, const Axes& axes,
                  FlowChoice which = FlowChoice::positive) {
    for (const ProbabilityPoint& p : points)
        if (drawsFlow(p.flow, which) && p.nonExceedance > 0 && p.nonExceedance < 1)
            series.append(probabilityPosition(p.nonExceedance), axes.flowRange.position(p.flow));
}

QCategoryAxis* probabilityAxis(QChart& chart, const vd::run::FrequencyPlotData& data) {
    const vd::run::ProbabilityScale scale = vd::run::probabilityScale(data);
    auto* axis = new QCategoryAxis(&chart);
    axis->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    for (const vd::run::ProbabilityTick& t : scale.ticks) {
        QString label = QString::fromStdString(t.probability);
        if (!t.returnPeriod.empty())
            label += QStringLiteral("<br>") + QString::fromStdString(t.returnPeriod);
        axis->append(label, t.position);
    }
    axis->setRange(scale.low, scale.high);
    axis->setTitleText(
        QStringLiteral("Non-exceedance probability in a season-year "
                       "(return period 1/p years)"));
    chart.addAxis(axis, Qt::AlignBottom);
    return axis;
}

void addBand(QChart& chart, const vd::run::FrequencyPlotData& data, const Axes& axes) {
    if (data.lower90.empty() || data.upper90.empty()) return;
    auto* upper = new QLineSeries(&chart);
    auto* lower = new QLineSeries(&chart);
    appendPoints(*upper, data.upper90, axes);
    appendPoints(*lower, data.lower90, axes);
    auto* band = new QAreaSeries(upper, lower);
    band->setParent(&chart);
    band->setName(QString::fromLatin1(confidenceBandName));
    band->setBrush(palette::translucent(palette::skyBlue, 90));
    band->setPen(QPen(palette::skyBlue, 1));
    attach(chart, band, axes);
}

void addFit(QChart& chart, const vd::run::FrequencyPlotData& data, const Axes& axes) {
    auto* fitted = new QLineSeries(&chart);
    fitted->setName(QString::fromLatin1(fittedCurveName));
    fitted->setPen(QPen(palette::blue, 2));
    appendPoints(*fitted, data.fitted, axes);
    attach(chart, fitted, axes);
}

void addMinima(QChart& chart, const vd::run::FrequencyPlotData& data, const Axes& axes) {
    auto* minima = new QScatterSeries(&chart);
    minima->setName(QStringLiteral("Seasonal annual %1-day minima").arg(data.days));
    minima->setMarkerShape(QScatterSeries::MarkerShapeCircle);
    minima->setMarkerSize(7);
    minima->setColor(palette::black);
    minima->setBorderColor(palette::black);
    appendPoints(*minima, data.minima, axes);
    attach(chart, minima, axes);
    if (data.zeroYearsNote.empty()) return;
    // The zero years stay on the chart, hollow at the floor, not dropped without a word.
    auto* zeros = new QScatterSeries(&chart);
    zeros->setName(QStringLiteral("Zero minima: 0 cfs (at axis floor)"));
    zeros->setMarkerShape(QScatterSeries::MarkerShapeTriangle);
    zeros->setMarkerSize(9);
    zeros->setColor(Qt::white);
    zeros->setBorderColor(palette::black);
    appendPoints(*zeros, data.minima, axes, FlowChoice::zero);
    attach(chart, zeros, axes);
}

void addDesign(QChart& chart, const vd::run::FrequencyPlotData& data, const Axes& axes) {
    if (!data.design) return;
    auto* design = new QScatterSeries(&chart);
    design->setName(QString::fromStdString(vd::run::designFlowLegend(
        {vd::run::DesignFlowKind::block,
         std::to_string(data.days) + 'Q' + std::to_string(data.returnYears), data.design->flow,
         0})));
    design->setMarkerShape(QScatterSeries::MarkerShapeRectangle);
    design->setMarkerSize(12);
    design->setColor(palette::vermillion);
    design->setBorderColor(palette::black);
    appendPoints(*design, {*data.design}, axes, FlowChoice::zeroAtFloor);
    attach(chart, design, axes);
}

}  // namespace

std::unique_ptr<QChart> frequencyChart(const vd::run::FrequencyPlotData& data,
                                       const std::string& title) {
    std::string fullTitle = title;
    if (!data.trendText.empty()) fullTitle += "\n" + data.trendText;
    if (!data.zeroYearsNote.empty()) fullTitle += "\n" + data.zeroYearsNote;
    auto chart = newChart(fullTitle);
    const vd::run::LogAxisRange flowRange = vd::run::frequencyFlowRange(data);
    const Axes axes{probabilityAxis(*chart, data), addLogFlowAxis(*chart, flowRange), flowRange};
    addBand(*chart, data, axes);
    addFit(*chart, data, axes);
    addMinima(*chart, data, axes);
    addDesign(*chart, data, axes);
    return chart;
}

std::unique_ptr<QChart> emptyChart(const std::string& title, const std::string& why) {
    return newChart(title + "\n" + why);
}

}  // namespace vd::ui
