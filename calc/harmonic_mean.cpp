#include "statistics.h"

namespace vd {

HarmonicMean harmonicMean(std::span<const double> days) {
    double reciprocals = 0;
    HarmonicMean h;
    for (const double v : days) {
        if (v == unknown) continue;
        if (v == 0) {
            ++h.zeroDays;
            continue;
        }
        ++h.nonzeroDays;
        reciprocals += 1 / v;
    }
    // A record without a known nonzero day has no harmonic mean; 0 keeps the run going.
    h.flow = h.nonzeroDays == 0 ? 0.0 : h.nonzeroDays / reciprocals;
    return h;
}

double HarmonicMean::zeroAdjusted() const {
    if (zeroDays == 0) return flow;
    return flow * nonzeroDays / (nonzeroDays + zeroDays);
}

}  // namespace vd
