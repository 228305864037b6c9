#include "confidence_limits.h"

#include <cmath>

#include "lpiii/quantile.h"

namespace vd::run {
namespace {

constexpr int fewestYearsForLimits = 3;

// p given that the year is not a zero year; p itself without zero years, as the library
// takes it.
double nonzeroYearProbability(const LogPearsonFit& fit, double p) {
    if (fit.zeroYears == 0) return p;
    return lpiii::conditionalProbability(p, fit.nonzeroYears, fit.zeroYears);
}

std::optional<double> finiteFlow(double flow) {
    if (!std::isfinite(flow) || flow >= lpiii::noFlow) return std::nullopt;
    return flow;
}

}  // namespace

std::optional<FactorLimits> confidenceFactors(double K, int n, double z) {
    if (n < 2 || !std::isfinite(K)) return std::nullopt;
    const double z2 = z * z;
    const double a = 1 - z2 / (2.0 * (n - 1));
    const double b = K * K - z2 / n;
    const double radicand = K * K - a * b;
    if (a <= 0 || radicand < 0) return std::nullopt;
    const double root = std::sqrt(radicand);
    return FactorLimits{(K - root) / a, (K + root) / a};
}

std::optional<double> fittedFlow(const LogPearsonFit& fit, double p) {
    if (!fit.ok || !(p > 0 && p <= 1)) return std::nullopt;
    const double conditional = nonzeroYearProbability(fit, p);
    if (conditional <= 0) return 0.0;
    // The numerics throw where they cannot converge: no flow there.
    try {
        return finiteFlow(lpiii::flowAtProbability(fit, conditional));
    } catch (...) {
        return std::nullopt;
    }
}

std::optional<FlowLimits> confidenceLimits(const LogPearsonFit& fit, double p, double z) {
    if (!fit.ok || fit.nonzeroYears < fewestYearsForLimits || !(p > 0 && p < 1))
        return std::nullopt;
    const double conditional = nonzeroYearProbability(fit, p);
    if (conditional <= 0 || conditional >= 1) return std::nullopt;
    double K = 0;
    try {
        K = lpiii::frequencyFactor(fit.skew, conditional);
    } catch (...) {
        return std::nullopt;
    }
    const auto factors = confidenceFactors(K, fit.nonzeroYears, z);
    if (!factors) return std::nullopt;
    const auto flowOf = [&](double k) {
        return finiteFlow(std::pow(10.0, fit.mean + k * fit.standardDeviation));
    };
    const auto lower = flowOf(factors->lower);
    const auto upper = flowOf(factors->upper);
    if (!lower || !upper) return std::nullopt;
    return FlowLimits{*lower, *upper};
}

}  // namespace vd::run
