// What the chart builders share: the log flow axis, lines of one style, a title of
// several lines, and series that stay out of the legend (the second and later parts of
// one thing drawn in pieces).
#pragma once

#include <QPen>
#include <QString>
#include <memory>
#include <string>

#include "design_flow_levels.h"
#include "log_axis_range.h"

class QChart;
class QLineSeries;
class QCategoryAxis;
class QAbstractSeries;

namespace vd::ui {

// "Flow (cfs)" on a log axis over `range`, on the left of the chart. The axis counts in
// powers of ten: series give it range.position(flow).
QCategoryAxis* addLogFlowAxis(QChart& chart, const vd::run::LogAxisRange& range);

// The title lines of a run::chartTitle, as the chart shows them.
QString chartTitleText(const std::string& title);

// The pen of a design flow's line or mark: each kind its colour and dash; blocks in turn.
QPen designFlowPen(vd::run::DesignFlowKind kind, int blockIndex);

// "7Q10: 1.23 cfs" for the legend; a zero flow says that it lies at the axis floor.
QString designFlowName(const vd::run::DesignFlowLevel& level);

// Leaves a series out of the legend (it must already be in the chart).
void hideFromLegend(QChart& chart, QAbstractSeries* series);

// A new chart: no animations (an exported image shows the finished chart), legend below
// the plot so that it never covers data, a plain white background for printing.
std::unique_ptr<QChart> newChart(const std::string& title);

}  // namespace vd::ui
