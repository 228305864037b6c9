// Binding to the log-Pearson type III library (loaded at start from beside the program)
// and the xQy low flow built on it.
#pragma once

#include <span>
#include <string>

#include "flow_values.h"
#include "lpiii/log_pearson_fit.h"
#include "range_array.h"

namespace vd {

using lfarray = RangeArray<float, 1, nmax>;  // annual minima, as the fit takes them

extern "C" {
using LGPST1Fn = void (*)(int* FPRT, float* Y, int* LOGARH, int* n, float* XBAR, float* VARNCE,
                          float* STD, float* SKEW, float* SESKEW, float* SCC, float* CVR, float* X,
                          int* RETCOD);
using LGPST2Fn = void (*)(int* n, int* nzi, int* NUMONS, int* NQS, float* XBAR, float* STD,
                          float* SKEW, int* LOGARH, int* ILH, float* SE, float* C, float* CCPA,
                          float* P, float* Q, float* ADP, float* QNEW, float* RI, float* RSOUT,
                          int* RETCOD);
}

// The library's file name on this platform.
std::string logPearsonLibraryFileName();

// The folder of the running program, where the library is installed.
std::string programFolder();

// Annual minima at or below this are zero years: they have no logarithm and are left out
// of the fit, then accounted for by the conditional probability.
inline constexpr double zeroYearFlow = 1.0e-6;

// The fit of one averaging period's minima, reusable for every recurrence interval.
using lpiii::LogPearsonFit;

class LogPearsonLibrary {
  public:
    // Loads the library from `folder` (the program's folder), else from its installed place
    // relative to it. Refuses to start, with a library-binding error, when the library or one
    // of its entries is missing; its what() is the text the program shows (caption "Error")
    // before it ends.
    static LogPearsonLibrary load(const std::string& folder);

    // Removes zero minima and fits the rest (the first `n` entries of annual_mins).
    LogPearsonFit fit(int n, const lfarray& annual_mins) const;
    // The same fit of every one of `minima`.
    LogPearsonFit fit(std::span<const float> minima) const;
    // The flow of recurrence interval `irpy` years from a fit; -1 when it cannot be computed.
    float flowFor(const LogPearsonFit& f, int irpy) const;
    // fit + flowFor: the xQy flow, or -1.
    float xQy(int n, const lfarray& annual_mins, int irpy) const;

  private:
    // The library stays loaded until the process ends, so no handle is kept.
    LogPearsonLibrary(LGPST1Fn f1, LGPST2Fn f2) : LGPST1(f1), LGPST2(f2) {}
    LGPST1Fn LGPST1;
    LGPST2Fn LGPST2;
};

}  // namespace vd
