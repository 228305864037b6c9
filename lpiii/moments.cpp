#include "moments.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <numeric>

namespace lpiii {

namespace {

bool allEqual(std::span<const double> x) {
    return std::adjacent_find(x.begin(), x.end(), std::not_equal_to<>()) == x.end();
}

double centralSum(std::span<const double> x, double mean, int power) {
    double s = 0;
    for (const double v : x) s += std::pow(v - mean, power);
    return s;
}

double lagOneSerialCorrelation(std::span<const double> x, double mean, double squares) {
    if (squares == 0) return 0;
    double s = 0;
    for (std::size_t i = 1; i < x.size(); ++i) s += (x[i - 1] - mean) * (x[i] - mean);
    return s / squares;
}

double skewStandardError(double n) {
    if (n < 3) return 0;
    return std::sqrt(6.0 * n * (n - 1) / ((n - 2) * (n + 1) * (n + 3)));
}

}  // namespace

Moments sampleMoments(std::span<const double> x) {
    const double n = static_cast<double>(x.size());
    Moments m;
    // Equal values give exactly zero spread: a rounded mean would leave a tiny STD and a
    // meaningless skew behind.
    if (allEqual(x)) {
        m.XBAR = x.front();
    } else {
        m.XBAR = std::accumulate(x.begin(), x.end(), 0.0) / n;
        const double squares = centralSum(x, m.XBAR, 2);
        m.VARNCE = squares / (n - 1);
        m.STD = std::sqrt(m.VARNCE);
        if (n >= 3 && m.STD > 0) {
            m.SKEW = n * centralSum(x, m.XBAR, 3) / ((n - 1) * (n - 2) * std::pow(m.STD, 3));
        }
        m.SCC = lagOneSerialCorrelation(x, m.XBAR, squares);
    }
    m.SESKEW = skewStandardError(n);
    m.CVR = m.XBAR == 0 ? 0 : m.STD / m.XBAR;
    return m;
}

}  // namespace lpiii
