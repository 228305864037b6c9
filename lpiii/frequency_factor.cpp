#include "frequency_factor.h"

#include <boost/math/distributions/normal.hpp>
#include <boost/math/special_functions/gamma.hpp>
#include <cmath>
#include <limits>

namespace lpiii {

namespace {

// Below this skew the gamma shape 4/g^2 is so large that the distribution is normal to
// far more digits than a float carries.
constexpr double normalSkew = 1e-6;

double gammaShape(double g) {
    return 4.0 / (g * g);
}

}  // namespace

double frequencyFactor(double g, double p) {
    if (std::fabs(g) < normalSkew) {
        return boost::math::quantile(boost::math::normal_distribution<double>(), p);
    }
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
