#include <cmath>

#include "season_windows.h"
#include "statistics.h"

namespace vd {

namespace {

int returnPeriodYears(double XMR) {
    return static_cast<int>(std::trunc(XMR));
}

}  // namespace

double LowFlowOfFit(const SearchParameters& p, const LogPearsonLibrary& lib,
                    const LogPearsonFit& fit, int ny) {
    if (ny < p.yearsBetween) return -1;
    return lib.flowFor(fit, returnPeriodYears(p.yearsBetween));
}

void VDSearch(CalcState& s, const SearchParameters& p, const LogPearsonLibrary& lib) {
    s.vando = -1;
    if (s.StoreAP) advparRow(s, s.jglobal);
    if (s.NDAYS == 0) return;
    HarmonicMean(s);
    AverageInPlace(s, p);
    if (p.withinSeason && p.mode == biologicalMode) KeepSeasonWindows(s, p.averagingDays);
    if (s.averageonlyflag) return;

    lfarray minima;
    const int ny = AnnualMinima(s, p, minima);
    if (ny >= p.yearsBetween) s.vando = LowFlowOfFit(p, lib, lib.fit(ny, minima), ny);
    if (p.mode == biologicalMode) s.vando = BiologicalSearch(s, p, s.vando);
    s.vando = SnapTinyFlow(s.vando);
}

}  // namespace vd
