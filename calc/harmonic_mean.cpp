#include "statistics.h"

namespace vd {

void HarmonicMean(CalcState& s) {
    double reciprocals = 0;
    int known = 0;
    int zero = 0;
    const int last = s.JD2 - s.JD1;
    if (last > maxdays) throw Error(ErrorCode::range);
    // Days 1..last, proven in range above: indexed without a check per day (day n at n - 1).
    const double* const x = s.x.begin();
    for (int n = 1; n <= last; ++n) {
        const double v = x[n - 1];
        if (v == unknown) continue;
        if (v == 0) {
            ++zero;
            continue;
        }
        ++known;
        reciprocals += 1 / v;
    }
    // A record without a known nonzero day has no harmonic mean; 0 keeps the run going.
    s.nh = known;
    s.hzero = zero;
    s.hflow = known == 0 ? 0.0 : known / reciprocals;
}

double ZeroAdjustedHarmonicMean(const CalcState& s) {
    if (s.hzero == 0) return s.hflow;
    return s.hflow * s.nh / (s.nh + s.hzero);
}

}  // namespace vd
