// Sample moments of a log-Pearson fit.
#pragma once

#include <span>

namespace lpiii {

struct Moments {
    double XBAR = 0;
    double VARNCE = 0;
    double STD = 0;
    double SKEW = 0;
    double SESKEW = 0;
    double SCC = 0;
    double CVR = 0;
};

// Moments of x (at least two values); every sum in double.
Moments sampleMoments(std::span<const double> x);

}  // namespace lpiii
