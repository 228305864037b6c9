#include "lpiii/quantile.h"

#include <boost/math/distributions/normal.hpp>
#include <boost/math/special_functions/gamma.hpp>
#include <cmath>
#include <limits>

namespace lpiii {

namespace {

// Below this skew the gamma shape 4/g^2 is so large that the distribution is normal to
// far more digits than a float carries.
constexpr double normalSkew = 1e-6;

// Below this skew (shape above 4e8) the inverse incomplete gamma function no longer
// converges; there the Cornish-Fisher expansion to second order in g is exact to 1e-12.
constexpr double expansionSkew = 1e-4;

double gammaShape(double g) {
    return 4.0 / (g * g);
}

double normalQuantile(double p) {
    return boost::math::quantile(boost::math::normal_distribution<double>(), p);
}

// Cornish-Fisher expansion of the standardized gamma quantile: skew g, excess kurtosis
// 1.5 g^2; the neglected terms are of order g^3.
double nearlyNormalFactor(double g, double p) {
    const double z = normalQuantile(p);
    const double z3 = z * z * z;
    return z + (z * z - 1) * g / 6 + g * g * ((z3 - 3 * z) / 16 - (2 * z3 - 5 * z) / 36);
}

}  // namespace

double frequencyFactor(double g, double p) {
    if (std::fabs(g) < normalSkew) return normalQuantile(p);
    if (std::fabs(g) < expansionSkew) return nearlyNormalFactor(g, p);
    const double a = gammaShape(g);
    if (g > 0) return (boost::math::gamma_p_inv(a, p) - a) / std::sqrt(a);
    // Negative skew: the mirror image of the positive-skew gamma.
    return (a - boost::math::gamma_p_inv(a, 1.0 - p)) / std::sqrt(a);
}

double upperBound(double g) {
    if (g > -normalSkew) return std::numeric_limits<double>::infinity();
    // The mirrored gamma variable cannot exceed its shift a: (a - 0)/sqrt(a).
    return std::sqrt(gammaShape(g));
}

}  // namespace lpiii
