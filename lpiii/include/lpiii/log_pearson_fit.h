// One log-Pearson type III fit of annual low flows, as the library's two entry points pass
// it between them and as the calculator keeps it for every flow, limit and chart of it.
#pragma once

namespace lpiii {

struct LogPearsonFit {
    bool ok = false;  // false: fewer than two nonzero years, or the library refused the sample
    // The moments of log10 of the nonzero years' flows. They come out of the library as
    // floats and go back into it as floats, so they hold float values exactly.
    double mean = 0;
    double standardDeviation = 0;
    double skew = 0;
    int nonzeroYears = 0;  // annual minima fitted
    int zeroYears = 0;     // annual minima at or near zero, left out of the moments
    // The moments are those of the flows themselves, not of their logarithms: only a caller
    // of the library that asks for it (LOGARH = 0) has such a fit.
    bool ofFlowsThemselves = false;

    // The annual minima of the period, zero years included.
    int years() const { return nonzeroYears + zeroYears; }
};

}  // namespace lpiii
