// The Pearson type III frequency factor K(g, 1/T), read back from the library's flow of the
// requested interval with XBAR = 0 and STD = 1, so that log10(Q) = K.
#include <gtest/gtest.h>

#include <cmath>

#include "../common/param_names.h"
#include "lpiii_entries.h"

namespace {

using lpiii_test::Args2;
using lpiii_test::callLGPST2;
using lpiii_test::requested;

struct KCase {
    float g;
    int T;
    double K;
};

// Independent reference values of the frequency factor (published tables of Pearson type
// III frequency factors for low flows, six decimals). A float flow carries K to about 3e-8,
// so 1e-6 is the last printed digit of the table.
const KCase referenceK[] = {
    {0.0f, 10, -1.281552},   {0.0f, 100, -2.326348},  {1.0f, 10, -1.127615}, {1.0f, 2, -0.163970},
    {-1.0f, 10, -1.340392},  {-1.0f, 100, -3.022559}, {2.0f, 10, -0.894639}, {-2.5f, 10, -1.250395},
    {-2.5f, 100, -3.845398}, {0.3f, 10, -1.245157},
};

class FrequencyFactor : public testing::TestWithParam<KCase> {};

TEST_P(FrequencyFactor, MatchesReferenceTable) {
    const KCase c = GetParam();
    const auto r = callLGPST2({.T = c.T, .XBAR = 0, .STD = 1, .SKEW = c.g});
    ASSERT_EQ(r.RETCOD, 0);
    EXPECT_NEAR(std::log10(static_cast<double>(r.Q[requested])), c.K, 1e-6);
}

INSTANTIATE_TEST_SUITE_P(Table, FrequencyFactor, testing::ValuesIn(referenceK),
                         [](const auto& info) {
                             // Appending keeps GCC 12's -O3 from a false -Wrestrict on "literal" +
                             // string.
                             return std::string("g")
                                 .append(vd::test::numberName(info.param.g))
                                 .append("_T")
                                 .append(std::to_string(info.param.T));
                         });

class NearlyNormal : public testing::TestWithParam<float> {};

TEST_P(NearlyNormal, FollowsTheFirstOrderSkewCorrection) {
    // For small g, K = z + (z^2 - 1) g / 6 + O(g^2), z the normal quantile; the neglected
    // terms stay below 2e-8 for these skews. Covers the switch to the normal quantile at
    // 1e-6 and the very large gamma shapes just above it.
    const double g = GetParam();
    const double z = -1.2815515655446004;  // normal quantile of 0.1
    const auto r = callLGPST2({.T = 10, .XBAR = 0, .STD = 1, .SKEW = GetParam()});
    ASSERT_EQ(r.RETCOD, 0);
    EXPECT_NEAR(std::log10(static_cast<double>(r.Q[requested])), z + (z * z - 1) * g / 6, 1e-7);
}

INSTANTIATE_TEST_SUITE_P(Skews, NearlyNormal,
                         testing::Values(0.0f, 9e-7f, -9e-7f, 2e-6f, -2e-6f, 1e-5f, -3e-5f, 9e-5f,
                                         1.2e-4f, -5e-4f),
                         [](const auto& info) {
                             return std::string("g").append(vd::test::numberName(info.param));
                         });

}  // namespace
