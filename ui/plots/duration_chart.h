// The flow-duration tab's chart: each daily flow of the period against the percent of
// days at or above it, on a log flow axis, with the design flows marked at their
// percentiles.
#pragma once

#include <QChart>
#include <memory>
#include <string>

#include "duration_curve_data.h"

namespace vd::ui {

inline constexpr const char* durationCurveName = "Daily flows";

std::unique_ptr<QChart> durationChart(const vd::run::DurationCurveData& data,
                                      const std::string& title);

}  // namespace vd::ui
