// Log-Pearson type III low-flow frequency library, file usgs-awstat-a193.so (Linux) or
// usgs-awstat-a193.dll (Windows). The calculator loads it at run time from its own folder.
//
// C ABI, two entry points, every argument by reference, int and float of 4 bytes, arrays
// 1-based in the callers' terms (element 1 is the first float the pointer points to).
//
// LGPST1 fits the moments of a sample.
//   In:  FPRT (print switch, ignored: the library never prints), Y[1..n], LOGARH, n.
//   LOGARH = 1: X[i] = log10(Y[i]); LOGARH = 0: X[i] = Y[i].
//   Out: XBAR   mean of X
//        VARNCE sum (X - XBAR)^2 / (n - 1)
//        STD    sqrt(VARNCE); exactly 0 when all X are equal
//        SKEW   n sum (X - XBAR)^3 / ((n - 1)(n - 2) STD^3) when n >= 3 and STD > 0, else 0
//        SESKEW standard error of the station skew, sqrt(6n(n-1) / ((n-2)(n+1)(n+3))),
//               0 when n < 3
//        SCC    lag-one serial correlation coefficient of X (0 when STD = 0)
//        CVR    STD / XBAR, 0 when XBAR = 0
//        X[1..n] the transformed sample
//        RETCOD 0 success; 1 bad input (n < 2, n > 3000, LOGARH not 0 or 1, a Y that is
//               not finite or, with LOGARH = 1, not positive); 2 internal failure.
//   Logarithms and every sum are taken in double; only the outputs are stored as float.
//
// LGPST2 gives the flows of 13 recurrence intervals from those moments.
//   In:  n (years fitted), nzi (zero years left out of the fit), NUMONS (ignored, left
//        as it is), NQS (minus the requested recurrence interval T in years), XBAR, STD,
//        SKEW, LOGARH, ILH (2: annual low flows, probabilities of non-exceedance).
//   Out, for i = 1..13 with interval RI[i]:
//        RI[i]   the interval in years (table below)
//        P[i]    1 / RI[i], the non-exceedance probability, 1 when RI[i] <= 1
//        ADP[i]  p' = (P[i] - nzi/N) N / n with N = n + nzi: the probability conditional
//                on a nonzero year
//        Q[i]    10^(XBAR + K(SKEW, P[i]) STD)   (XBAR + K STD when LOGARH = 0)
//        QNEW[i] 0 when p' <= 0, else 10^(XBAR + K(SKEW, p') STD)
//        SE[1..27], C[1..27], CCPA[1..27], RSOUT[1..22]: not computed, set to 0.
//        RETCOD  0 success; 1 bad input (n < 1, nzi < 0, ILH not 2, LOGARH not 0 or 1,
//                moments not finite, STD < 0); 2 internal failure.
//   K(g, p) is the Pearson type III frequency factor: the normal quantile for |g| < 1e-6;
//   for g > 0 with a = 4/g^2, (P^-1(a, p) - a)/sqrt(a); for g < 0, (a - P^-1(a, 1 - p))/sqrt(a),
//   P^-1 the inverse regularized lower incomplete gamma function.
//   At p = 1 (an interval of one year or less) the flow is the distribution's upper bound
//   where it has one (g < 0), else 1.0e20, the "no value" mark. A flow above 1.0e20 is
//   given as 1.0e20. When STD = 0 every interval gives the one flow 10^XBAR (QNEW still 0
//   where p' <= 0). K, p', and the power are computed in double from the float arguments.
//
// Recurrence intervals RI[1..13] in years; entry 6 is the requested one, -NQS:
//   1.0101, 1.25, 2, 5, 10, T, 20, 25, 50, 100, 200, 500, 1000
#pragma once

#if defined(_WIN32)
#if defined(LPIII_BUILDING)
#define LPIII_API __declspec(dllexport)
#else
#define LPIII_API __declspec(dllimport)
#endif
#else
#define LPIII_API __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

LPIII_API void LGPST1(int* FPRT, float* Y, int* LOGARH, int* n, float* XBAR, float* VARNCE,
                      float* STD, float* SKEW, float* SESKEW, float* SCC, float* CVR, float* X,
                      int* RETCOD);

LPIII_API void LGPST2(int* n, int* nzi, int* NUMONS, int* NQS, float* XBAR, float* STD, float* SKEW,
                      int* LOGARH, int* ILH, float* SE, float* C, float* CCPA, float* P, float* Q,
                      float* ADP, float* QNEW, float* RI, float* RSOUT, int* RETCOD);

#ifdef __cplusplus
}
#endif
