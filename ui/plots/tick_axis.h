// An axis labelled where run/ puts its ticks, labelled again whenever the chart zooms, pans
// or is resized, so that the labels always suit the range and the room shown.
#pragma once

#include <qnamespace.h>
#include <functional>
#include <vector>

#include "axis_tick.h"

class QCategoryAxis;
class QChart;

namespace vd::ui {

// The ticks within [min, max] on an axis `pixels` long.
using TickSource =
    std::function<std::vector<vd::run::AxisTick>(double min, double max, double pixels)>;

// A new axis on `side` of `chart` over [min, max], labelled by `ticks`.
QCategoryAxis* addTickAxis(QChart& chart, Qt::Alignment side, double min, double max,
                           TickSource ticks);

}  // namespace vd::ui
