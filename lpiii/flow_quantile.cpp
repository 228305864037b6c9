#include <cmath>

#include "lpiii/quantile.h"

namespace lpiii {

namespace {

double standardizedQuantile(double g, double p) {
    return p >= 1.0 ? upperBound(g) : frequencyFactor(g, p);
}

double toFlow(const LogPearsonFit& fit, double z) {
    const double flow = fit.ofFlowsThemselves ? z : std::pow(10.0, z);
    return std::isfinite(flow) && flow <= noFlow ? flow : noFlow;
}

}  // namespace

double flowAtProbability(const LogPearsonFit& fit, double p) {
    if (fit.standardDeviation == 0) return toFlow(fit, fit.mean);
    const double K = standardizedQuantile(fit.skew, p);
    if (std::isinf(K)) return noFlow;
    return toFlow(fit, fit.mean + K * fit.standardDeviation);
}

double conditionalProbability(double p, int n, int nzi) {
    if (p >= 1.0) return 1.0;  // every year lies at or below the upper bound
    const double N = static_cast<double>(n) + nzi;
    return (p - nzi / N) * N / n;
}

double flowWithZeroYears(const LogPearsonFit& fit, double p) {
    const double adjusted = conditionalProbability(p, fit.nonzeroYears, fit.zeroYears);
    return adjusted <= 0 ? 0.0 : flowAtProbability(fit, adjusted);
}

}  // namespace lpiii
