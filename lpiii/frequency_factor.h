// Pearson type III frequency factor.
#pragma once

namespace lpiii {

// K(g, p): the standardized quantile of non-exceedance probability p (0 < p < 1) of a
// Pearson type III distribution with skew g.
double frequencyFactor(double g, double p);

// The standardized upper bound of a distribution with skew g, or +infinity when it has none
// (g >= 0, the normal limit included).
double upperBound(double g);

}  // namespace lpiii
