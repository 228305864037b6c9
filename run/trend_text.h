// How the trend of the seasonal annual minima reads beside a design flow.
#pragma once

#include <string>

#include "gage_result.h"

namespace vd::run {

// "trend: −3.1 cfs/decade, p = 0.02": the slope to two significant digits (whole numbers
// from 100 up) with a minus sign (U+2212) when it is negative, p to two decimals (three
// below 0.01, "p < 0.001" below that).
std::string trendText(const MinimaTrend& trend);

// What stands for the trend where too few season-years have a minimum to test one.
std::string trendText(const std::optional<MinimaTrend>& trend);

}  // namespace vd::run
