#include "hydrograph_chart.h"

#include <QAreaSeries>
#include <QCategoryAxis>
#include <QLineSeries>

#include "chart_parts.h"
#include "date_axis_ticks.h"
#include "plot_palette.h"
#include "tick_axis.h"

namespace vd::ui {
namespace {

using vd::run::epochMilliseconds;

// A day's interval runs from the start of its first day to the start of the day after.
double startOf(int day) {
    return epochMilliseconds(day);
}
double endOf(int day) {
    return epochMilliseconds(day + 1);
}

struct Axes {
    QAbstractAxis* date;
    QAbstractAxis* flow;
};

void attach(QChart& chart, QAbstractSeries* series, const Axes& axes) {
    chart.addSeries(series);
    series->attachAxis(axes.date);
    series->attachAxis(axes.flow);
}

void addDailyFlows(QChart& chart, const vd::run::HydrographData& h, const Axes& axes) {
    bool first = true;
    for (const auto& segment : h.segments) {
        auto* line = new QLineSeries(&chart);
        line->setName(QString::fromLatin1(dailyFlowName));
        line->setPen(QPen(palette::blue, 1));
        for (const vd::run::DayFlow& p : segment)
            line->append(startOf(p.day), h.flowRange.position(p.flow));
        attach(chart, line, axes);
        if (!first) hideFromLegend(chart, line);
        first = false;
    }
}

// One area over every period: its upper edge steps up to the top of the axis over a period
// and back down to the bottom between periods, where the area has no height.
void addExcursionShading(QChart& chart, const vd::run::HydrographData& h, const Axes& axes) {
    if (h.excursionPeriods.empty()) return;
    const double low = h.flowRange.lowPosition();
    const double high = h.flowRange.highPosition();
    auto* upper = new QLineSeries(&chart);
    auto* lower = new QLineSeries(&chart);
    for (const vd::run::DayInterval& p : h.excursionPeriods) {
        upper->append(startOf(p.firstDay), low);
        upper->append(startOf(p.firstDay), high);
        upper->append(endOf(p.lastDay), high);
        upper->append(endOf(p.lastDay), low);
    }
    lower->append(startOf(h.excursionPeriods.front().firstDay), low);
    lower->append(endOf(h.excursionPeriods.back().lastDay), low);
    auto* area = new QAreaSeries(upper, lower);
    area->setParent(&chart);
    area->setName(QString::fromLatin1(excursionPeriodsName));
    area->setBrush(palette::translucent(palette::vermillion, 110));
    area->setPen(Qt::NoPen);
    attach(chart, area, axes);
}

void addClusterOutlines(QChart& chart, const vd::run::HydrographData& h, const Axes& axes) {
    const double low = h.flowRange.lowPosition();
    const double high = h.flowRange.highPosition();
    bool first = true;
    for (const vd::run::DayInterval& c : h.clusters) {
        auto* outline = new QLineSeries(&chart);
        outline->setName(QString::fromLatin1(clustersName));
        outline->setPen(QPen(palette::black, 1, Qt::DashLine));
        outline->append(startOf(c.firstDay), low);
        outline->append(startOf(c.firstDay), high);
        outline->append(endOf(c.lastDay), high);
        outline->append(endOf(c.lastDay), low);
        attach(chart, outline, axes);
        if (!first) hideFromLegend(chart, outline);
        first = false;
    }
}

void addLevels(QChart& chart, const vd::run::HydrographData& h, const Axes& axes) {
    int block = 0;
    for (const vd::run::DesignFlowLevel& level : h.levels) {
        auto* line = new QLineSeries(&chart);
        line->setName(designFlowName(level));
        line->setPen(designFlowPen(level.kind, block));
        if (level.kind == vd::run::DesignFlowKind::block) ++block;
        line->append(startOf(h.firstDay), h.flowRange.position(level.flow));
        line->append(endOf(h.lastDay), h.flowRange.position(level.flow));
        attach(chart, line, axes);
    }
}

}  // namespace

std::unique_ptr<QChart> hydrographChart(const vd::run::HydrographData& data,
                                        const std::string& title) {
    auto chart = newChart(title);
    // Ticks on the first of a year or month, not the even spacing of a date-time axis.
    const bool days = data.lastDay >= data.firstDay;
    QCategoryAxis* date = addTickAxis(*chart, Qt::AlignBottom, days ? startOf(data.firstDay) : 0,
                                      days ? endOf(data.lastDay) : 1, vd::run::dateAxisTicks);
    date->setTitleText(QStringLiteral("Date"));
    const Axes axes{date, addLogFlowAxis(*chart, data.flowRange)};
    addExcursionShading(*chart, data, axes);
    addClusterOutlines(*chart, data, axes);
    addDailyFlows(*chart, data, axes);
    addLevels(*chart, data, axes);
    return chart;
}

}  // namespace vd::ui
