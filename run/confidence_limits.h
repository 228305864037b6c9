// The fitted log-Pearson curve of a block's seasonal annual minima at any probability of
// non-exceedance, and its confidence limits by the approximate method for log-Pearson
// quantiles: with K the frequency factor of the fit's skew at the probability, z the normal
// deviate of the confidence level and n the nonzero years fitted,
//   a = 1 - z^2 / (2 (n - 1)),  b = K^2 - z^2 / n,  K_U,L = (K +- sqrt(K^2 - a b)) / a,
// and the limits are 10^(mean + K_U,L sd). With zero years the probability is first made
// conditional on a nonzero year, as it is for the design flow itself.
#pragma once

#include <optional>

#include "gage_result.h"

namespace vd::run {

// z of a two-sided 90 % band: the standard normal quantile of 0.95.
inline constexpr double normalDeviate90 = 1.6448536269514722;

// The standardized limits K_L <= K_U.
struct FactorLimits {
    double lower = 0;
    double upper = 0;
};

// K_L and K_U of frequency factor K from n years at deviate z; none when n < 2, when
// a <= 0 (too few years for that z) or when K^2 - a b < 0.
std::optional<FactorLimits> confidenceFactors(double K, int n, double z);

// The fitted flow at non-exceedance probability p (0 < p <= 1): 0 where the zero years
// alone reach p; none without a fit or where the distribution has no finite flow.
std::optional<double> fittedFlow(const LogPearsonFit& fit, double p);

// The confidence limits of the fitted flow at p (0 < p < 1) at deviate z; none without a
// fit, with fewer than 3 nonzero years, where the flow is 0 for the zero years, or where a
// limit is not a finite flow.
std::optional<FlowLimits> confidenceLimits(const LogPearsonFit& fit, double p,
                                           double z = normalDeviate90);

}  // namespace vd::run
