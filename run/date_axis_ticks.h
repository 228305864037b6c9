// The labels of a date axis: ticks on the first day of a year (every 1, 2, 5, 10 ...
// years), of a month (every 1, 2, 3 or 6 months) or on days of a month, the finest step
// whose labels fit the axis. Labels never repeat: "2004" on a year step, "Jul 2011" on a
// month step, "6 Jul 2011" on a day step.
#pragma once

#include <vector>

#include "axis_tick.h"

namespace vd::run {

// The room one label takes along the axis, in pixels.
inline constexpr double dateLabelWidth = 80;

// Ticks within [firstMs, lastMs] (milliseconds since 1970-01-01, as the daily flows are
// drawn) on an axis `pixels` long, earliest first; none for an empty or reversed range.
std::vector<AxisTick> dateAxisTicks(double firstMs, double lastMs, double pixels);

}  // namespace vd::run
