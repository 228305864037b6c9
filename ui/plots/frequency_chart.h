// The low-flow frequency tab's chart: the seasonal annual minima of one averaging period
// at their plotting positions on a normal-probability axis, the fitted log-Pearson curve,
// its 90 % confidence band and the design xQy; the trend of the minima under the title.
#pragma once

#include <QChart>
#include <memory>
#include <string>

#include "frequency_plot_data.h"

namespace vd::ui {

inline constexpr const char* fittedCurveName = "Log-Pearson III fit";
inline constexpr const char* confidenceBandName = "90 % confidence band";

std::unique_ptr<QChart> frequencyChart(const vd::run::FrequencyPlotData& data,
                                       const std::string& title);

// The chart of a gage without a fit to show: its title and why.
std::unique_ptr<QChart> emptyChart(const std::string& title, const std::string& why);

}  // namespace vd::ui
