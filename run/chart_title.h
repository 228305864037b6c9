// The title every chart of a gage carries: the gage, the season and the period.
#pragma once

#include <string>

#include "gage_result.h"
#include "run_settings.h"

namespace vd::run {

// "09506000 VERDE RIVER NEAR CAMP VERDE, AZ" and, on a second line,
// "Climatic year Apr 1 - Mar 31, 1990-2021" (the years the first and last seasons end in).
std::string chartTitle(const GageResult& gage, const Season& season);

}  // namespace vd::run
