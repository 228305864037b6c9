// The two C entry points: argument checks, and the translation between the callers'
// float arrays and the double arithmetic of the fit.
#include "lpiii.h"

#include <algorithm>
#include <cmath>
#include <span>
#include <vector>

#include "flow_quantile.h"
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

int frequencyTable(int n, int nzi, int NQS, float XBAR, float STD, float SKEW, int logarh, int ilh,
                   float* P, float* Q, float* ADP, float* QNEW, float* RI) {
    const lpiii::FittedMoments m{XBAR, STD, SKEW, logarh == 1};
    if (n < 1 || nzi < 0 || ilh != lowFlows || !validLogSwitch(logarh) || !std::isfinite(m.XBAR) ||
        !std::isfinite(m.STD) || !std::isfinite(m.SKEW) || m.STD < 0) {
        return retBadInput;
    }
    const auto intervals = lpiii::recurrenceIntervals(-static_cast<double>(NQS));
    for (std::size_t i = 0; i < intervals.size(); ++i) {
        const double p = lpiii::lowFlowProbability(intervals[i]);
        RI[i] = static_cast<float>(intervals[i]);
        P[i] = static_cast<float>(p);
        ADP[i] = static_cast<float>(lpiii::conditionalProbability(p, n, nzi));
        Q[i] = static_cast<float>(lpiii::flowAtProbability(m, p));
        QNEW[i] = static_cast<float>(lpiii::flowWithZeroYears(m, p, n, nzi));
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
