// Flows of given non-exceedance probabilities from fitted moments.
#pragma once

namespace lpiii {

// The "no value" flow: beyond the distribution, or too large to mean anything.
inline constexpr double noFlow = 1.0e20;

struct FittedMoments {
    double XBAR = 0;
    double STD = 0;
    double SKEW = 0;
    bool logarithms = true;  // the moments are those of log10 of the flows
};

// The flow of non-exceedance probability p (0 < p <= 1). STD = 0 gives the one flow of
// the sample for every p; p = 1 gives the upper bound, or noFlow when there is none.
double flowAtProbability(const FittedMoments& m, double p);

// p' of a nonzero year: (p - nzi/N) N / n with N = n + nzi.
double conditionalProbability(double p, int n, int nzi);

// The flow for all years, nzi of which were zero: 0 where p' <= 0.
double flowWithZeroYears(const FittedMoments& m, double p, int n, int nzi);

}  // namespace lpiii
