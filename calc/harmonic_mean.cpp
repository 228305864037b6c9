#include "statistics.h"

namespace vd {

void HarmonicMean(CalcState& s) {
    double reciprocals = 0;
    int known = 0;
    for (int n = 1; n <= s.JD2 - s.JD1; ++n) {
        const double v = s.x[n];
        if (v == unknown || v == 0) continue;
        ++known;
        reciprocals += 1 / v;
    }
    // A record without a known nonzero day has no harmonic mean; 0 keeps the run going.
    s.nh = known;
    s.hflow = known == 0 ? 0.0 : known / reciprocals;
}

}  // namespace vd
