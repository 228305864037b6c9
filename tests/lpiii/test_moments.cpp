// LGPST1: the moments of log10 of the sample, and its refusals.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "../common/param_names.h"
#include "lpiii_entries.h"

namespace {

using lpiii_test::callLGPST1;

TEST(LGPST1, MomentsOfPowersOfTen) {
    // log10 of 1, 10, 10, 1000 is 0, 1, 1, 3 exactly, so the moments have closed forms:
    // mean 5/4, squared deviations 19/4, cubed deviations 27/8.
    const auto r = callLGPST1({1, 10, 10, 1000}, 4);
    ASSERT_EQ(r.RETCOD, 0);
    const double variance = (19.0 / 4) / 3;
    const double sd = std::sqrt(variance);
    const double skew = 4 * (27.0 / 8) / (3 * 2 * sd * sd * sd);
    EXPECT_FLOAT_EQ(r.XBAR, 1.25f);
    EXPECT_FLOAT_EQ(r.VARNCE, static_cast<float>(variance));
    EXPECT_FLOAT_EQ(r.STD, static_cast<float>(sd));
    EXPECT_FLOAT_EQ(r.SKEW, static_cast<float>(skew));
    EXPECT_FLOAT_EQ(r.CVR, static_cast<float>(sd / 1.25));
    EXPECT_EQ(r.X[0], 0.0f);
    EXPECT_EQ(r.X[1], 1.0f);
    EXPECT_EQ(r.X[2], 1.0f);
    EXPECT_EQ(r.X[3], 3.0f);
}

TEST(LGPST1, TwoValuesHaveNoSkew) {
    const auto r = callLGPST1({1, 100}, 2);
    ASSERT_EQ(r.RETCOD, 0);
    EXPECT_FLOAT_EQ(r.XBAR, 1.0f);
    EXPECT_FLOAT_EQ(r.STD, static_cast<float>(std::sqrt(2.0)));
    EXPECT_EQ(r.SKEW, 0.0f);
}

TEST(LGPST1, LongSampleKeepsDoublePrecision) {
    // 3000 values of varied magnitude: a float accumulation drifts far beyond one float
    // step; the reference is a two-pass computation in long double.
    std::vector<float> Y;
    for (int i = 0; i < 3000; ++i) Y.push_back(0.37f + static_cast<float>((i * 7919) % 4001));
    long double mean = 0;
    for (const float y : Y) mean += std::log10(static_cast<long double>(y));
    mean /= Y.size();
    long double s2 = 0, s3 = 0;
    for (const float y : Y) {
        const long double d = std::log10(static_cast<long double>(y)) - mean;
        s2 += d * d;
        s3 += d * d * d;
    }
    const long double n = Y.size();
    const long double sd = std::sqrt(s2 / (n - 1));
    const long double skew = n * s3 / ((n - 1) * (n - 2) * sd * sd * sd);

    const auto r = callLGPST1(Y, 3000);
    ASSERT_EQ(r.RETCOD, 0);
    EXPECT_FLOAT_EQ(r.XBAR, static_cast<float>(mean));
    EXPECT_FLOAT_EQ(r.STD, static_cast<float>(sd));
    EXPECT_FLOAT_EQ(r.SKEW, static_cast<float>(skew));
}

TEST(LGPST1, EqualValuesHaveExactlyZeroSpread) {
    // The rounded mean of equal logarithms differs from them in the last bit; that must
    // not leave a tiny STD and a meaningless skew behind.
    const auto r = callLGPST1(std::vector<float>(7, 0.3f), 7);
    ASSERT_EQ(r.RETCOD, 0);
    EXPECT_EQ(r.XBAR, static_cast<float>(std::log10(static_cast<double>(0.3f))));
    EXPECT_EQ(r.STD, 0.0f);
    EXPECT_EQ(r.VARNCE, 0.0f);
    EXPECT_EQ(r.SKEW, 0.0f);
}

struct Refusal {
    const char* what;
    std::vector<float> Y;
    int n;
    int LOGARH;
};

class LGPST1Refuses : public testing::TestWithParam<Refusal> {};

TEST_P(LGPST1Refuses, WithReturnCodeOne) {
    const Refusal c = GetParam();
    EXPECT_EQ(callLGPST1(c.Y, c.n, c.LOGARH).RETCOD, 1) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    BadInput, LGPST1Refuses,
    testing::Values(Refusal{"a zero flow", {3, 0, 5}, 3, 1},
                    Refusal{"a negative flow", {3, 4, -5}, 3, 1},
                    Refusal{"not a number", {3, std::numeric_limits<float>::quiet_NaN(), 5}, 3, 1},
                    Refusal{"one value", {3}, 1, 1}, Refusal{"no value", {}, 0, 1},
                    Refusal{"more than the arrays hold", {3, 4}, 3001, 1},
                    Refusal{"unknown logarithm switch", {3, 4, 5}, 3, 2}),
    [](const auto& info) { return vd::test::caseName(info.param.what); });

TEST(LGPST1, WithoutLogarithmsTakesTheValuesThemselves) {
    const auto r = callLGPST1({-1, 0, 4}, 3, 0);
    ASSERT_EQ(r.RETCOD, 0);
    EXPECT_FLOAT_EQ(r.XBAR, 1.0f);
    EXPECT_FLOAT_EQ(r.VARNCE, 7.0f);
}

}  // namespace
