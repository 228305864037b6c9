#include "frequency_chart.h"

#include <QAreaSeries>
#include <QCategoryAxis>
#include <QLineSeries>
#include <QLogValueAxis>
#include <QScatterSeries>

#include "chart_parts.h"
#include "number_format.h"
#include "plot_palette.h"
#include "probability_scale.h"

namespace vd::ui {
namespace {

using vd::run::ProbabilityPoint;
using vd::run::probabilityPosition;

struct Axes {
    QAbstractAxis* probability;
    QAbstractAxis* flow;
};

void attach(QChart& chart, QAbstractSeries* series, const Axes& axes) {
    chart.addSeries(series);
    series->attachAxis(axes.probability);
    series->attachAxis(axes.flow);
}

// Points without a place on the axes (zero flows, probabilities 0 and 1) are left out.
template <typename Series>
void appendPoints(Series& series, const std::vector<ProbabilityPoint>& points) {
    for (const ProbabilityPoint& p : points)
        if (p.flow > 0 && p.nonExceedance > 0 && p.nonExceedance < 1)
            series.append(probabilityPosition(p.nonExceedance), p.flow);
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
    appendPoints(*upper, data.upper90);
    appendPoints(*lower, data.lower90);
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
    appendPoints(*fitted, data.fitted);
    attach(chart, fitted, axes);
}

void addMinima(QChart& chart, const vd::run::FrequencyPlotData& data, const Axes& axes) {
    auto* minima = new QScatterSeries(&chart);
    minima->setName(QStringLiteral("Seasonal annual %1-day minima").arg(data.days));
    minima->setMarkerShape(QScatterSeries::MarkerShapeCircle);
    minima->setMarkerSize(7);
    minima->setColor(palette::black);
    minima->setBorderColor(palette::black);
    appendPoints(*minima, data.minima);
    attach(chart, minima, axes);
}

void addDesign(QChart& chart, const vd::run::FrequencyPlotData& data, const Axes& axes) {
    if (!data.design) return;
    auto* design = new QScatterSeries(&chart);
    design->setName(QStringLiteral("%1Q%2: %3 cfs")
                        .arg(data.days)
                        .arg(data.returnYears)
                        .arg(QString::fromStdString(vd::run::NiceFlow(data.design->flow))));
    design->setMarkerShape(QScatterSeries::MarkerShapeRectangle);
    design->setMarkerSize(12);
    design->setColor(palette::vermillion);
    design->setBorderColor(palette::black);
    appendPoints(*design, {*data.design});
    attach(chart, design, axes);
}

}  // namespace

std::unique_ptr<QChart> frequencyChart(const vd::run::FrequencyPlotData& data,
                                       const std::string& title) {
    std::string fullTitle = title;
    if (!data.trendText.empty()) fullTitle += "\n" + data.trendText;
    auto chart = newChart(fullTitle);
    const Axes axes{probabilityAxis(*chart, data),
                    addLogFlowAxis(*chart, vd::run::frequencyFlowRange(data))};
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
