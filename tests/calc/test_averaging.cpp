#include <gtest/gtest.h>

#include <vector>

#include "statistics.h"
#include "stats_fixture.h"

namespace vd {
namespace {

using test::U;

TEST(Averaging, OneDayHydrologicalCarriesFloatRoundingUntilAMissingDay) {
    const std::vector<double> days{0.1, 0.2, 0.3, U, 0.7};
    const std::vector<double> x = movingAverages(days, 1, /*harmonic=*/false);

    // The window keeps float copies, so each sum keeps the rounding of the values before.
    const double sum1 = 0.1;
    const double sum2 = sum1 - static_cast<double>(0.1f) + 0.2;
    const double sum3 = sum2 - static_cast<double>(0.2f) + 0.3;
    EXPECT_EQ(x[0], sum1);
    EXPECT_EQ(x[1], sum2);
    EXPECT_NE(x[1], 0.2);
    EXPECT_EQ(x[2], sum3);
    EXPECT_EQ(x[3], unknown);
    EXPECT_EQ(x[4], 0.7);  // the window restarted: reproduced exactly
}

struct WindowCase {
    const char* name;
    int K;
    int M;
    std::vector<double> days;
    std::vector<double> expected;  // the averages; U where no complete window starts
};

class AveragingWindows : public ::testing::TestWithParam<WindowCase> {};

TEST_P(AveragingWindows, GiveTheWindowAverageAtTheWindowStart) {
    const WindowCase& c = GetParam();
    const std::vector<double> x = movingAverages(c.days, c.M, c.K == biologicalMode);
    ASSERT_EQ(x.size(), c.days.size());
    for (std::size_t i = 0; i < c.expected.size(); ++i) {
        if (c.expected[i] == U)
            EXPECT_EQ(x[i], unknown) << "day " << i + 1;
        else
            EXPECT_DOUBLE_EQ(x[i], c.expected[i]) << "day " << i + 1;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AveragingWindows,
    ::testing::Values(
        // Harmonic mean of the nonzero days times their share: (4-1)^2 / 4 / (1/2+1/4+1/4).
        WindowCase{"BiologicalZeroDay", 1, 4, {2, 4, 0, 4}, {2.25, U, U, U}},
        WindowCase{"BiologicalAllZero", 1, 2, {0, 0, 5}, {0, 2.5, U}},
        WindowCase{"BiologicalRunningWindow", 1, 2, {2, 2, 4}, {2, 8.0 / 3, U}},
        WindowCase{"HydrologicalZerosIncluded", 2, 2, {1, 0, 3}, {0.5, 1.5, U}},
        // The missing day restarts the window: the next one starts right after it.
        WindowCase{"MissingDayRestarts", 1, 3, {1, U, 2, 4, 8, 8}, {U, U, 3 / 0.875, 6, U, U}},
        WindowCase{"HydrologicalMissingDay", 2, 2, {4, 6, U, 1, 3, 5}, {5, U, U, 2, 4, U}},
        WindowCase{"NoWindowShorterThanADay", 2, 0, {1, 2}, {U, U}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace vd
