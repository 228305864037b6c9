#include "recurrence_intervals.h"

#include "lpiii/quantile.h"

namespace lpiii {

std::array<double, intervalCount> recurrenceIntervals(double requested) {
    return {1.0101, 1.25, 2, 5, 10, requested, 20, 25, 50, 100, 200, 500, 1000};
}

double lowFlowProbability(double T) {
    return T <= 1 ? 1.0 : 1.0 / T;
}

}  // namespace lpiii
