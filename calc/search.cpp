#include <cmath>

#include "statistics.h"

namespace vd {

namespace {

int returnPeriodYears(double XMR) {
    return static_cast<int>(std::trunc(XMR));
}

}  // namespace

double LowFlowOfFit(const CalcState& s, const A193& lib, const LPFit& fit, int ny) {
    if (ny < s.XMR) return -1;
    return lib.flowFor(fit, returnPeriodYears(s.XMR));
}

void VDSearch(CalcState& s, const A193& lib) {
    s.vando = -1;
    if (s.StoreAP) advparRow(s, s.jglobal);
    if (s.NDAYS == 0) return;
    HarmonicMean(s);
    AverageInPlace(s);
    if (s.averageonlyflag) return;

    lfarray minima;
    const int ny = AnnualMinima(s, minima);
    if (ny >= s.XMR) s.vando = LowFlowOfFit(s, lib, lib.fit(ny, minima), ny);
    if (s.K == 1) s.vando = BiologicalSearch(s, s.vando);
    s.vando = SnapTinyFlow(s.vando);
}

}  // namespace vd
