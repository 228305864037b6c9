// The Pearson type III quantiles and the probabilities of return periods: the numbers the
// library's flow table is made of, for any probability a caller needs (a curve, its
// confidence limits, a probability axis).
#pragma once

#include "lpiii/log_pearson_fit.h"

namespace lpiii {

// The "no value" flow: beyond the distribution, or too large to mean anything.
inline constexpr double noFlow = 1.0e20;

// K(g, p): the standardized quantile of non-exceedance probability p (0 < p < 1) of a
// Pearson type III distribution with skew g.
double frequencyFactor(double g, double p);

// The standardized upper bound of a distribution with skew g, or +infinity when it has none
// (g >= 0, the normal limit included).
double upperBound(double g);

// Non-exceedance probability of an annual low flow of interval T years; 1 for T <= 1.
double lowFlowProbability(double T);

// The flow of non-exceedance probability p (0 < p <= 1) of a nonzero year; the fit's counts
// of years play no part. A standard deviation of 0 gives the one flow of the sample for
// every p; p = 1 gives the upper bound, or noFlow when there is none.
double flowAtProbability(const LogPearsonFit& fit, double p);

// p' of a nonzero year: (p - nzi/N) N / n with N = n + nzi.
double conditionalProbability(double p, int n, int nzi);

// The flow for all the fit's years, its zero years among them: 0 where p' <= 0.
double flowWithZeroYears(const LogPearsonFit& fit, double p);

}  // namespace lpiii
