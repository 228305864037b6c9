#include "flow_quantile.h"

#include <cmath>

#include "frequency_factor.h"

namespace lpiii {

namespace {

double standardizedQuantile(double g, double p) {
    return p >= 1.0 ? upperBound(g) : frequencyFactor(g, p);
}

double toFlow(const FittedMoments& m, double z) {
    const double flow = m.logarithms ? std::pow(10.0, z) : z;
    return std::isfinite(flow) && flow <= noFlow ? flow : noFlow;
}

}  // namespace

double flowAtProbability(const FittedMoments& m, double p) {
    if (m.STD == 0) return toFlow(m, m.XBAR);
    const double K = standardizedQuantile(m.SKEW, p);
    if (std::isinf(K)) return noFlow;
    return toFlow(m, m.XBAR + K * m.STD);
}

double conditionalProbability(double p, int n, int nzi) {
    if (p >= 1.0) return 1.0;  // every year lies at or below the upper bound
    const double N = static_cast<double>(n) + nzi;
    return (p - nzi / N) * N / n;
}

double flowWithZeroYears(const FittedMoments& m, double p, int n, int nzi) {
    const double adjusted = conditionalProbability(p, n, nzi);
    return adjusted <= 0 ? 0.0 : flowAtProbability(m, adjusted);
}

}  // namespace lpiii
