// The numbers behind "how sure and how steady is this design flow": the confidence limits of
// a fitted low flow, the Mann-Kendall test, the Theil-Sen slope and the trend's text. The
// expected values were computed apart from this code by a python3 script straight from the
// definitions (statistics.NormalDist for normal quantiles; Mann-Kendall S by its double sum,
// the exact p by going through all n! orderings with itertools.permutations).
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "../common/param_names.h"
#include "confidence_limits.h"
#include "log_pearson_library.h"
#include "minima_trend.h"
#include "trend_text.h"

using namespace vd::run;

namespace {

LogPearsonFit fitOf(double mean, double sd, double skew, int years, int zeroYears = 0) {
    return {.ok = true,
            .mean = mean,
            .standardDeviation = sd,
            .skew = skew,
            .nonzeroYears = years - zeroYears,
            .zeroYears = zeroYears};
}

struct LimitsCase {
    const char* name;
    LogPearsonFit fit;
    double p;
    double lower, upper;  // 10^(mean + K_L,U sd), K from the normal quantile or the table
    double tolerance;     // relative
};

// Skew 0: K is the normal quantile of p, so python gives the limits to the last digits.
// Skewed: K taken from the published frequency-factor table the library's tests pin (six
// decimals: g = 1, T = 10: -1.127615; g = -1, T = 100: -3.022559; g = -2.5, T = 10:
// -1.250395), which carries the limits to about 1e-6. With zero years (38 nonzero and 2
// zero) p is first made conditional: p = 0.145 gives p' = (0.145 - 2/40) 40/38 = 0.1, and
// p = 0.1 gives p' = 0.05263..., whose normal quantile is -1.6198562586382697.
const LimitsCase limitsCases[] = {
    {"skew0_p0_1_n30", fitOf(1.2, 0.3, 0, 30), 0.1, 4.67558965494569, 8.387047056384999, 1e-10},
    {"skew0_p0_5_n10", fitOf(0.8, 0.25, 0, 10), 0.5, 4.5596279443801295, 8.731132789993877, 1e-10},
    {"skew0_p0_02_n3", fitOf(2.0, 0.1, 0, 3), 0.02, 6.567323228452591, 81.91317527378217, 1e-10},
    {"skew1_T10_n25", fitOf(1.5, 0.2, 1, 25), 0.1, 14.881582799861619, 22.354391166344254, 1e-5},
    {"skewm1_T100_n40", fitOf(0.9, 0.35, -1, 40), 0.01, 0.3801393965469346, 1.0671843174991975,
     1e-5},
    {"skewm2_5_T10_n15", fitOf(1.1, 0.4, -2.5, 15), 0.1, 1.9871033978836388, 6.22970987189709,
     1e-5},
    {"skew1_zero_years", fitOf(1.5, 0.2, 1, 40, 2), 0.145, 15.685411008993686, 21.694088860194274,
     1e-5},
    {"skew0_zero_years", fitOf(1.5, 0.2, 0, 40, 2), 0.1, 12.009673500900872, 17.69854708442661,
     1e-10},
};

class ConfidenceLimits : public testing::TestWithParam<LimitsCase> {};

TEST_P(ConfidenceLimits, FollowTheApproximateMethod) {
    const LimitsCase& c = GetParam();
    const auto limits = confidenceLimits(c.fit, c.p);
    ASSERT_TRUE(limits);
    EXPECT_NEAR(limits->lower, c.lower, c.tolerance * c.lower);
    EXPECT_NEAR(limits->upper, c.upper, c.tolerance * c.upper);
    // The band holds the fitted flow itself.
    const auto flow = fittedFlow(c.fit, c.p);
    ASSERT_TRUE(flow);
    EXPECT_LT(limits->lower, *flow);
    EXPECT_GT(limits->upper, *flow);
}

INSTANTIATE_TEST_SUITE_P(Cases, ConfidenceLimits, testing::ValuesIn(limitsCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ConfidenceLimitsNotComputable, WhenTheMethodHasNoAnswer) {
    struct Case {
        const char* why;
        LogPearsonFit fit;
        double p;
    };
    LogPearsonFit noFit = fitOf(1, 0.2, 0, 30);
    noFit.ok = false;
    const Case cases[] = {
        {"no fit", noFit, 0.1},
        // a = 1 - z^2 / 2 < 0 for two years.
        {"two nonzero years", fitOf(1, 0.2, 0, 2), 0.1},
        {"two nonzero of five", fitOf(1, 0.2, 0, 5, 3), 0.9},
        // 2 of 10 years are zero: the flow of p = 0.1 is 0, which has no log-Pearson limits.
        {"p among the zero years", fitOf(1, 0.2, 0, 10, 2), 0.1},
        {"p of 1", fitOf(1, 0.2, -1, 30), 1},
        {"p of 0", fitOf(1, 0.2, 0, 30), 0},
    };
    for (const Case& c : cases) EXPECT_FALSE(confidenceLimits(c.fit, c.p)) << c.why;
    EXPECT_TRUE(confidenceLimits(fitOf(1, 0.2, 0, 3), 0.1)) << "three years are enough";
}

TEST(ConfidenceFactors, NarrowWithMoreYearsAndWidenWithTheLevel) {
    const double K = -1.2815515655446008;
    const auto few = confidenceFactors(K, 10, normalDeviate90);
    const auto many = confidenceFactors(K, 100, normalDeviate90);
    const auto wider = confidenceFactors(K, 100, 2.5758293035489004);  // 99 %
    ASSERT_TRUE(few && many && wider);
    EXPECT_LT(few->lower, many->lower);
    EXPECT_GT(few->upper, many->upper);
    EXPECT_LT(wider->lower, many->lower);
    EXPECT_GT(wider->upper, many->upper);
    EXPECT_FALSE(confidenceFactors(K, 1, normalDeviate90));
    EXPECT_FALSE(confidenceFactors(NAN, 30, normalDeviate90));
}

TEST(FittedFlow, IsZeroWhereTheZeroYearsAloneReachTheProbability) {
    const LogPearsonFit fit = fitOf(1, 0.2, 0, 10, 2);
    EXPECT_EQ(fittedFlow(fit, 0.1), 0.0);
    EXPECT_EQ(fittedFlow(fit, 0.2), 0.0);
    // p = 0.6 of all years is p' = (0.6 - 0.2) 10 / 8 = 0.5 of the nonzero ones: the mean.
    ASSERT_TRUE(fittedFlow(fit, 0.6));
    EXPECT_NEAR(*fittedFlow(fit, 0.6), 10.0, 1e-12);
    LogPearsonFit noFit = fit;
    noFit.ok = false;
    EXPECT_FALSE(fittedFlow(noFit, 0.6));
}

// The engine draws the fitted curve and its limits with the quantile code, the design flow
// comes from the library's table: on the same fit the two must agree to the float the
// library gives, with and without zero years (where the curve is 0 below them too).
TEST(FittedFlow, IsTheLibrarysFlowForEveryReturnPeriod) {
    const vd::LogPearsonLibrary lib = vd::LogPearsonLibrary::load(vd::programFolder());
    const std::vector<float> nonzero = {3.1f, 4.7f, 2.2f, 8.9f, 5.5f, 1.4f, 6.3f, 12.0f, 3.8f,
                                        2.9f, 4.1f, 7.2f, 1.9f, 5.0f, 9.6f, 2.5f, 3.3f,  6.8f};
    for (const int zeroYears : {0, 1, 4}) {
        vd::lfarray minima;
        int n = 0;
        for (const float v : nonzero) minima[++n] = v;
        for (int k = 0; k < zeroYears; ++k) minima[++n] = 0.0f;
        const LogPearsonFit fit = lib.fit(n, minima);
        ASSERT_TRUE(fit.ok);
        ASSERT_EQ(fit.zeroYears, zeroYears);
        for (int T = 2; T <= 60; ++T) {
            const auto flow = fittedFlow(fit, 1.0 / T);
            ASSERT_TRUE(flow) << zeroYears << " zero years, T " << T;
            EXPECT_EQ(static_cast<float>(*flow), lib.flowFor(fit, T))
                << zeroYears << " zero years, T " << T;
        }
    }
}

std::vector<double> years(std::size_t n) {
    std::vector<double> t;
    for (std::size_t i = 0; i < n; ++i) t.push_back(1990.0 + static_cast<double>(i));
    return t;
}

// Twelve years with two groups of three ties (7 and 8): S = 34, and
// Var(S) = (12*11*29 - 2 * 3*2*11) / 18 = (3828 - 132) / 18 = 205.33...; with continuity
// correction z = 33 / sqrt(205.33) = 2.3030, p = 2 (1 - Phi(z)) = 0.021281745335089. The
// Theil-Sen slope is the median of the 66 pairwise slopes, 17/36 per year.
TEST(MannKendall, NormalApproximationWithTiesOnAHandExample) {
    const std::vector<double> x = {5, 7, 7, 6, 9, 8, 8, 8, 10, 12, 11, 7};
    const MannKendall test = mannKendall(x);
    EXPECT_EQ(test.n, 12);
    EXPECT_EQ(test.S, 34);
    EXPECT_NEAR(test.variance, 3696.0 / 18, 1e-12);
    EXPECT_FALSE(test.exact);
    EXPECT_NEAR(test.p, 0.02128174533508932, 1e-14);
    const auto slope = theilSenSlope(years(x.size()), x);
    ASSERT_TRUE(slope);
    EXPECT_NEAR(*slope, 17.0 / 36, 1e-15);
}

struct ExactCase {
    std::vector<double> x;
    long long S;
    double p;  // the share of all n! orderings with |S| at least as large
};

// Below ten values p is exact. Ties are kept as observed (the third and fifth cases): p is
// over the orderings of the tied values too.
const ExactCase exactCases[] = {
    {{1, 3, 2, 5, 4, 6, 8, 7}, 22, 37.0 / 6720},
    {{2, 2, 3, 1, 5, 5}, 7, 23.0 / 90},
    {{4, 3, 2, 1, 0.5}, -10, 1.0 / 60},
    {{3, 1, 2}, -1, 1.0},
    {{6, 5, 7, 5, 6, 5, 4, 3, 2}, -24, 7.0 / 720},
    {{4, 4, 4, 4}, 0, 1.0},
};

class MannKendallExact : public testing::TestWithParam<ExactCase> {};

TEST_P(MannKendallExact, CountsTheOrderingsAsExtreme) {
    const ExactCase& c = GetParam();
    const MannKendall test = mannKendall(c.x);
    EXPECT_TRUE(test.exact);
    EXPECT_EQ(test.S, c.S);
    EXPECT_NEAR(test.p, c.p, 1e-15);
}

INSTANTIATE_TEST_SUITE_P(Cases, MannKendallExact, testing::ValuesIn(exactCases));

TEST(MannKendall, TenValuesTurnToTheNormalApproximation) {
    // Rising without ties: S = 45, Var = 10*9*25/18 = 125, z = 44/sqrt(125).
    const std::vector<double> x = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    const MannKendall test = mannKendall(x);
    EXPECT_FALSE(test.exact);
    EXPECT_EQ(test.S, 45);
    EXPECT_NEAR(test.p, std::erfc(44 / std::sqrt(125.0) / std::sqrt(2.0)), 1e-15);
    // Nothing varies: no evidence of a trend.
    EXPECT_EQ(mannKendall(std::vector<double>(12, 3.0)).p, 1.0);
}

TEST(TheilSen, MedianOfPairwiseSlopesAndNoneWithoutAPair) {
    // Slopes 2, 1, 0 (pairs 1-2, 1-3, 2-3): median 1.
    EXPECT_EQ(*theilSenSlope(std::vector<double>{0, 1, 2}, std::vector<double>{0, 2, 2}), 1.0);
    // Pairs of one time are left out; an even count takes the mean of the middle two: the
    // eight slopes 0, 1, 1, 1.5, 2, 2, 3, 3 give 1.75.
    EXPECT_EQ(
        *theilSenSlope(std::vector<double>{0, 0, 1, 1, 2}, std::vector<double>{0, 1, 3, 1, 4}),
        1.75);
    // One wild year does not move it: ten slopes of 1 and five to the last year.
    EXPECT_EQ(*theilSenSlope(years(6), std::vector<double>{0, 1, 2, 3, 4, 50}), 1.0);
    EXPECT_FALSE(theilSenSlope(std::vector<double>{5, 5}, std::vector<double>{1, 2}));
    EXPECT_FALSE(theilSenSlope(std::vector<double>{}, std::vector<double>{}));
}

TEST(MinimaTrend, PerDecadeAndNoneBelowThreeMinima) {
    const std::vector<SeasonMinimum> falling = {{2000, 9}, {2001, 8}, {2002, 7.5}, {2003, 6}};
    const auto trend = minimaTrend(falling);
    ASSERT_TRUE(trend);
    EXPECT_NEAR(trend->slopePerDecade, -10.0, 1e-12);  // slopes -1,-0.75,-1,-0.5,-1,-1.5
    EXPECT_NEAR(trend->p, 1.0 / 12, 1e-15);            // S = -6 of 24 orderings: 2 as extreme
    EXPECT_FALSE(minimaTrend({{2000, 9}, {2001, 8}}));
}

struct TextCase {
    MinimaTrend trend;
    const char* text;
};

const TextCase textCases[] = {
    {{0.0213, -3.14}, "trend: \u22123.1 cfs/decade, p = 0.02"},
    {{0.5, 0.0996}, "trend: 0.10 cfs/decade, p = 0.50"},
    {{0.0004, 123.4}, "trend: 123 cfs/decade, p < 0.001"},
    {{0.005, -0.004}, "trend: \u22120.0040 cfs/decade, p = 0.005"},
    {{1, 0}, "trend: 0 cfs/decade, p = 1.00"},
    {{0.3, -12.5}, "trend: \u221213 cfs/decade, p = 0.30"},
};

class TrendText : public testing::TestWithParam<TextCase> {};

TEST_P(TrendText, TwoSignificantDigitsAndATrueMinus) {
    EXPECT_EQ(trendText(GetParam().trend), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Cases, TrendText, testing::ValuesIn(textCases));

}  // namespace
