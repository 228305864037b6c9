// The hydrograph tab's chart: daily flows on a log axis against the date, the design flows
// as levels, the excursion periods of the biological flow shaded and each cluster outlined.
#pragma once

#include <QChart>
#include <memory>
#include <string>

#include "hydrograph_data.h"

namespace vd::ui {

// Series names, for the window's tests and the legend.
inline constexpr const char* dailyFlowName = "Daily flow";
inline constexpr const char* excursionPeriodsName = "Excursion periods";
inline constexpr const char* clustersName = "Excursion clusters";

std::unique_ptr<QChart> hydrographChart(const vd::run::HydrographData& data,
                                        const std::string& title);

}  // namespace vd::ui
