// The two C entry points: argument checks, and the translation between the callers'
// float arrays and the double arithmetic of the fit.
#include "lpiii.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <span>
#include <vector>

#include "lpiii/quantile.h"
#include "moments.h"
#include "recurrence_intervals.h"

namespace {

constexpr int retOk = 0;
constexpr int retBadInput = 1;
constexpr int retFailure = 2;
constexpr int maxSample = 3000;  // the callers' arrays hold 3000 values
constexpr int lowFlows = 2;

bool validLogSwitch(int logarh) {
    return logarh == 0 || logarh == 1;
}

// X of the sample, or empty when a value cannot be transformed.
std::vector<double> transformedSample(const float* Y, int n, bool logarithms) {
    std::vector<double> x;
    x.reserve(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        const double y = Y[i];
        if (!std::isfinite(y) || (logarithms && y <= 0)) return {};
        x.push_back(logarithms ? std::log10(y) : y);
    }
    return x;
}

int fitMoments(const float* Y, int logarh, int n, float* XBAR, float* VARNCE, float* STD,
               float* SKEW, float* SESKEW, float* SCC, float* CVR, float* X) {
    if (n < 2 || n > maxSample || !validLogSwitch(logarh)) return retBadInput;
    const std::vector<double> x = transformedSample(Y, n, logarh == 1);
    if (x.empty()) return retBadInput;
    const lpiii::Moments m = lpiii::sampleMoments(x);
    *XBAR = static_cast<float>(m.XBAR);
    *VARNCE = static_cast<float>(m.VARNCE);
    *STD = static_cast<float>(m.STD);
    *SKEW = static_cast<float>(m.SKEW);
    *SESKEW = static_cast<float>(m.SESKEW);
    *SCC = static_cast<float>(m.SCC);
    *CVR = static_cast<float>(m.CVR);
    std::transform(x.begin(), x.end(), X, [](double v) { return static_cast<float>(v); });
    return retOk;
}

struct TableEntry {
    float P, Q, ADP, QNEW, RI;
};

TableEntry entryFor(const lpiii::LogPearsonFit& fit, double T) {
    const double p = lpiii::lowFlowProbability(T);
    const double q = lpiii::flowAtProbability(fit, p);
    // Without zero years the adjusted probability is p itself.
    const double qnew = fit.zeroYears == 0 ? q : lpiii::flowWithZeroYears(fit, p);
    const double adjusted = lpiii::conditionalProbability(p, fit.nonzeroYears, fit.zeroYears);
    return {static_cast<float>(p), static_cast<float>(q), static_cast<float>(adjusted),
            static_cast<float>(qnew), static_cast<float>(T)};
}

// The standard intervals of a table depend only on the fit. Callers ask one fit for many
// recurrence intervals in a row, so the last fit's standard entries are kept (per thread,
// so that concurrent callers never share them).
struct StandardEntries {
    int n = -1, nzi = -1, logarh = -1;
    float XBAR = 0, STD = 0, SKEW = 0;
    std::array<TableEntry, lpiii::intervalCount> entries{};

    bool holds(int n_, int nzi_, float xbar, float std_, float skew, int logarh_) const {
        return n == n_ && nzi == nzi_ && logarh == logarh_ && XBAR == xbar && STD == std_ &&
               SKEW == skew;
    }
};

int frequencyTable(int n, int nzi, int NQS, float XBAR, float STD, float SKEW, int logarh, int ilh,
                   float* P, float* Q, float* ADP, float* QNEW, float* RI) {
    const lpiii::LogPearsonFit fit{.ok = true,
                                   .mean = XBAR,
                                   .standardDeviation = STD,
                                   .skew = SKEW,
                                   .nonzeroYears = n,
                                   .zeroYears = nzi,
                                   .ofFlowsThemselves = logarh == 0};
    if (n < 1 || nzi < 0 || ilh != lowFlows || !validLogSwitch(logarh) ||
        !std::isfinite(fit.mean) || !std::isfinite(fit.standardDeviation) ||
        !std::isfinite(fit.skew) || fit.standardDeviation < 0) {
        return retBadInput;
    }
    thread_local StandardEntries standard;
    const auto intervals = lpiii::recurrenceIntervals(-static_cast<double>(NQS));
    constexpr std::size_t requested = lpiii::requestedEntry - 1;
    if (!standard.holds(n, nzi, XBAR, STD, SKEW, logarh)) {
        standard = StandardEntries{n, nzi, logarh, XBAR, STD, SKEW, {}};
        for (std::size_t i = 0; i < intervals.size(); ++i)
            if (i != requested) standard.entries[i] = entryFor(fit, intervals[i]);
    }
    for (std::size_t i = 0; i < intervals.size(); ++i) {
        const TableEntry e = i == requested ? entryFor(fit, intervals[i]) : standard.entries[i];
        P[i] = e.P;
        Q[i] = e.Q;
        ADP[i] = e.ADP;
        QNEW[i] = e.QNEW;
        RI[i] = e.RI;
    }
    return retOk;
}

void clear(std::span<float> a) {
    std::fill(a.begin(), a.end(), 0.0f);
}

}  // namespace

extern "C" {

// No exception may cross the C boundary: a failure of the numerics is a return code.
LPIII_API void LGPST1(int* /*FPRT*/, float* Y, int* LOGARH, int* n, float* XBAR, float* VARNCE,
                      float* STD, float* SKEW, float* SESKEW, float* SCC, float* CVR, float* X,
                      int* RETCOD) {
    try {
        *RETCOD = fitMoments(Y, *LOGARH, *n, XBAR, VARNCE, STD, SKEW, SESKEW, SCC, CVR, X);
    } catch (...) {
        *RETCOD = retFailure;
    }
}

LPIII_API void LGPST2(int* n, int* nzi, int* /*NUMONS*/, int* NQS, float* XBAR, float* STD,
                      float* SKEW, int* LOGARH, int* ILH, float* SE, float* C, float* CCPA,
                      float* P, float* Q, float* ADP, float* QNEW, float* RI, float* RSOUT,
                      int* RETCOD) {
    try {
        clear({SE, 27});
        clear({C, 27});
        clear({CCPA, 27});
        clear({RSOUT, 22});
        *RETCOD =
            frequencyTable(*n, *nzi, *NQS, *XBAR, *STD, *SKEW, *LOGARH, *ILH, P, Q, ADP, QNEW, RI);
    } catch (...) {
        *RETCOD = retFailure;
    }
}

}  // extern "C"
