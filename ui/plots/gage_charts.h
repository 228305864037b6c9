// The three charts of a gage, made from its result: the one entry that the plot window
// and `vando3-cli plot` both draw through.
#pragma once

#include <QChart>
#include <cstddef>
#include <memory>

#include "gage_result.h"
#include "run_settings.h"

namespace vd::ui {

enum class ChartKind { hydrograph, duration, frequency };

// The frequency chart is that of averaging block `blockIndex`; a block without a low-flow
// fit gets a chart that says so.
std::unique_ptr<QChart> gageChart(const vd::run::GageResult& gage, const vd::run::Season& season,
                                  ChartKind kind, std::size_t blockIndex = 0);

}  // namespace vd::ui
