// Trend checks of a series in time order: the Mann-Kendall test of a monotonic trend and
// the Theil-Sen slope; and the trend of a block's seasonal annual minima made of them.
#pragma once

#include <optional>
#include <span>
#include <vector>

#include "gage_result.h"

namespace vd::run {

struct MannKendall {
    int n = 0;
    long long S = 0;      // sum over i < j of sign(x[j] - x[i])
    double variance = 0;  // of S with no trend, corrected for ties
    double p = 1;         // two-sided
    bool exact = false;   // p from the exact distribution of S (n < 10)
};

// The test of `series` (time order): for n >= 10 p comes from the normal approximation with
// continuity correction, (S - sign(S)) / sqrt(variance); below that from the exact
// distribution of S.
MannKendall mannKendall(std::span<const double> series);

// The median of the pairwise slopes (x[j] - x[i]) / (t[j] - t[i]) over pairs with
// t[i] != t[j]; none without such a pair. t and x have the same size.
std::optional<double> theilSenSlope(std::span<const double> t, std::span<const double> x);

// The trend of minima in season order: Mann-Kendall p and Theil-Sen slope per decade; none
// below 3 minima.
std::optional<MinimaTrend> minimaTrend(const std::vector<SeasonMinimum>& minima);

}  // namespace vd::run
