// xQy through the binding: zero minima, the size rule, and fit-once-ask-many.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "../common/error_assertions.h"
#include "../common/param_names.h"
#include "log_pearson_library.h"
#include "lpiii_entries.h"

namespace {

vd::lfarray minima(const std::vector<float>& values) {
    vd::lfarray a;
    int i = 0;
    for (const float v : values) a[++i] = v;
    return a;
}

class XQy : public testing::Test {
  protected:
    const vd::LogPearsonLibrary lib = vd::LogPearsonLibrary::load(vd::programFolder());
    // 18 nonzero minima, varied enough for a skewed fit.
    const std::vector<float> nonzero = {3.1f, 4.7f, 2.2f, 8.9f, 5.5f, 1.4f, 6.3f, 12.0f, 3.8f,
                                        2.9f, 4.1f, 7.2f, 1.9f, 5.0f, 9.6f, 2.5f, 3.3f,  6.8f};
};

TEST_F(XQy, ZeroMinimaAreLeftOutAndCounted) {
    vd::lfarray withZeros = minima(nonzero);
    withZeros[19] = 0.0f;
    withZeros[20] = 0.0f;
    const vd::LogPearsonFit f = lib.fit(20, withZeros);
    const vd::LogPearsonFit plain = lib.fit(18, minima(nonzero));
    ASSERT_TRUE(f.ok);
    EXPECT_EQ(f.nonzeroYears, 18);
    EXPECT_EQ(f.zeroYears, 2);
    EXPECT_EQ(f.mean, plain.mean);
    EXPECT_EQ(f.skew, plain.skew);
    // One year in ten is zero: the 5-year flow of all years is the 9-year flow of the
    // nonzero ones, and nothing is left for the 10-year flow.
    EXPECT_FLOAT_EQ(lib.xQy(20, withZeros, 5), lib.xQy(18, minima(nonzero), 9));
    EXPECT_EQ(lib.xQy(20, withZeros, 10), 0.0f);
}

TEST_F(XQy, TheFitHoldsTheMomentsTheLibraryComputes) {
    // The fit keeps LGPST1's float moments as doubles and hands them back to LGPST2: any
    // rounding or mix-up of fields on the way would move every design flow.
    vd::lfarray withZeros = minima(nonzero);
    withZeros[19] = 0.0f;
    withZeros[20] = 1.0e-6f;
    const vd::LogPearsonFit f = lib.fit(20, withZeros);
    const lpiii_test::Fit1 library = lpiii_test::callLGPST1(nonzero, 18);
    ASSERT_EQ(library.RETCOD, 0);
    ASSERT_TRUE(f.ok);
    EXPECT_FALSE(f.ofFlowsThemselves);
    EXPECT_EQ(f.mean, static_cast<double>(library.XBAR));
    EXPECT_EQ(f.standardDeviation, static_cast<double>(library.STD));
    EXPECT_EQ(f.skew, static_cast<double>(library.SKEW));
    EXPECT_EQ(f.nonzeroYears, 18);
    EXPECT_EQ(f.zeroYears, 2);
    EXPECT_EQ(f.years(), 20);
    // LGPST2 with those floats and counts gives the binding's flow.
    const auto table = lpiii_test::callLGPST2({.n = 18,
                                               .nzi = 2,
                                               .T = 7,
                                               .XBAR = library.XBAR,
                                               .STD = library.STD,
                                               .SKEW = library.SKEW});
    ASSERT_EQ(table.RETCOD, 0);
    EXPECT_EQ(lib.flowFor(f, 7), table.QNEW[lpiii_test::requested]);
}

TEST_F(XQy, ZeroMinimaArePackedInOrder) {
    // The same minima with the zeros spread through them fit exactly as without.
    vd::lfarray spread;
    int i = 0;
    for (const float v : nonzero) {
        spread[++i] = v;
        if (i == 1 || i == 10) spread[++i] = 0.0f;
    }
    const vd::LogPearsonFit f = lib.fit(20, spread);
    const vd::LogPearsonFit plain = lib.fit(18, minima(nonzero));
    EXPECT_EQ(f.zeroYears, 2);
    EXPECT_EQ(f.mean, plain.mean);
    EXPECT_EQ(f.standardDeviation, plain.standardDeviation);
    EXPECT_EQ(f.skew, plain.skew);
}

struct ZeroRule {
    float last;
    int nzi;
};

class XQyZeroRule : public XQy, public testing::WithParamInterface<ZeroRule> {};

TEST_P(XQyZeroRule, AtOrBelowOneMillionthIsZero) {
    vd::lfarray a = minima(nonzero);
    a[19] = GetParam().last;
    const vd::LogPearsonFit f = lib.fit(19, a);
    ASSERT_TRUE(f.ok);
    EXPECT_EQ(f.zeroYears, GetParam().nzi);
    EXPECT_EQ(f.nonzeroYears, 19 - GetParam().nzi);
}

INSTANTIATE_TEST_SUITE_P(Threshold, XQyZeroRule,
                         testing::Values(ZeroRule{1.0e-6f, 1}, ZeroRule{1.1e-6f, 0},
                                         ZeroRule{0.0f, 1}, ZeroRule{-2.0f, 1}),
                         [](const auto& info) {
                             return "last" + vd::test::numberName(info.param.last);
                         });

struct TooFew {
    const char* what;
    int n;
    std::vector<float> values;
};

class XQyTooFew : public XQy, public testing::WithParamInterface<TooFew> {};

TEST_P(XQyTooFew, GivesMinusOne) {
    const TooFew c = GetParam();
    EXPECT_EQ(lib.xQy(c.n, minima(c.values), 10), -1.0f) << c.what;
    EXPECT_FALSE(lib.fit(c.n, minima(c.values)).ok) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, XQyTooFew,
    testing::Values(TooFew{"no minima", 0, {}}, TooFew{"one minimum", 1, {4.0f}},
                    TooFew{"one nonzero among zeros", 3, {0.0f, 4.0f, 1.0e-6f}},
                    TooFew{"only the first n count", 1, {4.0f, 5.0f, 6.0f}}),
    [](const auto& info) { return vd::test::caseName(info.param.what); });

TEST_F(XQy, EqualMinimaGiveThatFlow) {
    const vd::lfarray a = minima({5, 5, 5, 5, 0});
    EXPECT_FLOAT_EQ(lib.xQy(5, a, 2), 5.0f);
    EXPECT_FLOAT_EQ(lib.xQy(5, a, 1), 5.0f);
    EXPECT_EQ(lib.xQy(5, a, 5), 0.0f);  // one year in five is zero
}

TEST_F(XQy, OneYearIntervalGivesTheUpperBoundOrNoFlow) {
    const vd::LogPearsonFit negative = lib.fit(18, minima(nonzero));
    ASSERT_LT(negative.skew, 0.0);
    // A negatively skewed fit is bounded 2/|g| standard deviations above its mean.
    const double bound =
        std::pow(10.0, negative.mean + 2.0 * negative.standardDeviation / -negative.skew);
    EXPECT_FLOAT_EQ(lib.flowFor(negative, 1), static_cast<float>(bound));

    const vd::LogPearsonFit positive = lib.fit(4, minima({1, 10, 10, 1000}));
    ASSERT_GT(positive.skew, 0.0);
    EXPECT_EQ(lib.flowFor(positive, 1), 1.0e20f);
}

TEST_F(XQy, OneFitServesEveryInterval) {
    vd::lfarray a = minima(nonzero);
    a[19] = 0.0f;
    const vd::LogPearsonFit f = lib.fit(19, a);
    for (int irpy = 1; irpy <= 60; ++irpy) {
        EXPECT_EQ(lib.flowFor(f, irpy), lib.xQy(19, a, irpy)) << irpy;
    }
}

TEST_F(XQy, FailedFitHasNoFlow) {
    EXPECT_EQ(lib.flowFor(vd::LogPearsonFit{}, 10), -1.0f);
}

TEST_F(XQy, MoreMinimaThanTheTableHoldsIsARangeError) {
    EXPECT_ERROR_CODE((void)lib.fit(3001, minima({1, 2})), vd::ErrorCode::range);
}

}  // namespace
