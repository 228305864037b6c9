// LGPST2: the 13 flows of a fit, zero years, the one-year interval and a fit without spread.
#include <gtest/gtest.h>

#include <cmath>

#include "../common/param_names.h"
#include "lpiii_entries.h"

namespace {

using lpiii_test::Args2;
using lpiii_test::callLGPST2;
using lpiii_test::requested;

TEST(LGPST2, RequestedIntervalIsEntrySix) {
    const auto r = callLGPST2({.T = 37, .XBAR = 1, .STD = 0.4f, .SKEW = -0.7f});
    ASSERT_EQ(r.RETCOD, 0);
    EXPECT_EQ(r.RI[requested], 37.0f);
    EXPECT_FLOAT_EQ(r.P[requested], 1.0f / 37);
    // The flows of a low-flow table fall as the interval grows.
    for (int i = 1; i < 13; ++i) {
        if (r.RI[i] > r.RI[i - 1]) {
            EXPECT_LT(r.Q[i], r.Q[i - 1]) << "entry " << i + 1;
        }
    }
}

TEST(LGPST2, ZeroYearsShiftTheProbability) {
    // 18 nonzero years and 2 zero years: N = 20, nzi/N = 0.1. At T = 5 the conditional
    // probability is (0.2 - 0.1) * 20 / 18 = 1/9, the plain probability of T = 9.
    const Args2 fit{.n = 18, .nzi = 2, .T = 5, .XBAR = 0.8f, .STD = 0.35f, .SKEW = 0.6f};
    const auto withZeros = callLGPST2(fit);
    auto nine = fit;
    nine.nzi = 0;
    nine.T = 9;
    const auto plain = callLGPST2(nine);
    ASSERT_EQ(withZeros.RETCOD, 0);
    EXPECT_FLOAT_EQ(withZeros.ADP[requested], 1.0f / 9);
    EXPECT_FLOAT_EQ(withZeros.QNEW[requested], plain.Q[requested]);
    // Q is still the flow of the nonzero years alone.
    auto five = fit;
    five.nzi = 0;
    EXPECT_EQ(withZeros.Q[requested], callLGPST2(five).Q[requested]);
}

class ZeroYearsCoverTheInterval : public testing::TestWithParam<int> {};

TEST_P(ZeroYearsCoverTheInterval, FlowIsZero) {
    const auto r = callLGPST2({.n = 18, .nzi = 2, .T = GetParam(), .XBAR = 0.8f, .STD = 0.35f});
    ASSERT_EQ(r.RETCOD, 0);
    EXPECT_EQ(r.QNEW[requested], 0.0f);
    EXPECT_GT(r.Q[requested], 0.0f);
}

// p' = 0 exactly at T = 10 (one year in ten is zero), negative at 20 and 100.
INSTANTIATE_TEST_SUITE_P(Intervals, ZeroYearsCoverTheInterval, testing::Values(10, 20, 100),
                         [](const auto& info) {
                             return std::string("T").append(std::to_string(info.param));
                         });

struct OneYearCase {
    int T;
    float SKEW;
    float expected;
};

class OneYearInterval : public testing::TestWithParam<OneYearCase> {};

TEST_P(OneYearInterval, GivesUpperBoundOrNoFlow) {
    const OneYearCase c = GetParam();
    const auto r = callLGPST2({.nzi = 3, .T = c.T, .XBAR = 1, .STD = 0.5f, .SKEW = c.SKEW});
    ASSERT_EQ(r.RETCOD, 0);
    EXPECT_EQ(r.P[requested], 1.0f);
    EXPECT_FLOAT_EQ(r.Q[requested], c.expected);
    EXPECT_FLOAT_EQ(r.QNEW[requested], c.expected);  // every year lies below the bound
}

// The upper bound of a negatively skewed fit lies 2/|g| standard deviations above the mean:
// g = -1: 10^(1 + 0.5 * 2) = 100; g = -2.5: 10^(1 + 0.5 * 0.8) = 10^1.4.
INSTANTIATE_TEST_SUITE_P(Bounds, OneYearInterval,
                         testing::Values(OneYearCase{1, -1.0f, 100.0f},
                                         OneYearCase{0, -1.0f, 100.0f},
                                         OneYearCase{1, -2.5f, 25.118864f},
                                         OneYearCase{1, 0.0f, 1.0e20f},
                                         OneYearCase{1, 0.5f, 1.0e20f}),
                         [](const auto& info) {
                             return std::string("T")
                                 .append(std::to_string(info.param.T))
                                 .append("_skew")
                                 .append(vd::test::numberName(info.param.SKEW));
                         });

TEST(LGPST2, WithoutSpreadEveryIntervalGivesTheOneFlow) {
    const float XBAR = static_cast<float>(std::log10(5.0));
    const auto r = callLGPST2({.n = 4, .nzi = 1, .T = 1, .XBAR = XBAR, .STD = 0, .SKEW = 0});
    ASSERT_EQ(r.RETCOD, 0);
    for (int i = 0; i < 13; ++i) {
        EXPECT_FLOAT_EQ(r.Q[i], 5.0f) << "entry " << i + 1;
        // One year in five is zero: nothing left at intervals of five years or more.
        if (r.RI[i] >= 5) {
            EXPECT_EQ(r.QNEW[i], 0.0f) << "entry " << i + 1;
        } else {
            EXPECT_FLOAT_EQ(r.QNEW[i], 5.0f) << "entry " << i + 1;
        }
    }
}

TEST(LGPST2, FlowsAboveTheNoFlowMarkAreCapped) {
    const auto r = callLGPST2({.T = 1000, .XBAR = 30, .STD = 1, .SKEW = 0});
    ASSERT_EQ(r.RETCOD, 0);
    EXPECT_EQ(r.Q[0], 1.0e20f);
}

struct Refusal2 {
    const char* what;
    Args2 args;
};

class LGPST2Refuses : public testing::TestWithParam<Refusal2> {};

TEST_P(LGPST2Refuses, WithReturnCodeOne) {
    EXPECT_EQ(callLGPST2(GetParam().args).RETCOD, 1);
}

INSTANTIATE_TEST_SUITE_P(BadInput, LGPST2Refuses,
                         testing::Values(Refusal2{"no years", {.n = 0}},
                                         Refusal2{"negative zero years", {.nzi = -1}},
                                         Refusal2{"negative deviation", {.STD = -1}},
                                         Refusal2{"unknown bound switch", {.ILH = 1}},
                                         Refusal2{"unknown logarithm switch", {.LOGARH = 3}},
                                         Refusal2{"skew not a number", {.SKEW = std::nanf("")}}),
                         [](const auto& info) { return vd::test::caseName(info.param.what); });

}  // namespace
