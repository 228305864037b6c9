#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "../common/param_names.h"
#include "statistics.h"
#include "stats_fixture.h"

namespace vd {
namespace {

using test::U;

struct PercentileCase {
    std::vector<double> days;
    double flow;
    double expected;
};

class Percentile : public ::testing::TestWithParam<PercentileCase> {};

TEST_P(Percentile, IsTheShareOfDaysNotBelowTheFlow) {
    const auto& c = GetParam();
    EXPECT_DOUBLE_EQ(percentNotBelow(c.days, static_cast<int>(c.days.size()), c.flow), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, Percentile,
                         ::testing::Values(PercentileCase{{1, 2, 3, 4, 5}, 3, 60},
                                           PercentileCase{{1, 2, 3, 4, 5}, 1, 100},
                                           PercentileCase{{1, 2, 3, 4, 5}, 6, 0},
                                           // missing days count as not below
                                           PercentileCase{{1, U, U, 4}, 5, 50},
                                           PercentileCase{{U, U}, 5, 100}),
                         [](const auto& info) {
                             return "flow" + vd::test::numberName(info.param.flow) + "_of" +
                                    std::to_string(info.param.days.size()) + "days";
                         });

TEST(Percentile, NoDaysGiveZero) {
    const std::vector<double> days{1, 2};
    EXPECT_EQ(percentNotBelow(days, 0, 5), 0);
}

struct FlowCase {
    std::vector<double> days;
    double perc;
    double expected;
};

class PercentileFlow : public ::testing::TestWithParam<FlowCase> {};

TEST_P(PercentileFlow, IsTheNthSmallestKnownDay) {
    const auto& c = GetParam();
    EXPECT_EQ(flowAtPercentile(c.days, static_cast<int>(c.days.size()), c.perc), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PercentileFlow,
    ::testing::Values(FlowCase{{5, 1, 4, 2, 3}, 50, 3},   // position 3
                      FlowCase{{5, 1, 4, 2, 3}, 0, 1},    // position 1: the smallest
                      FlowCase{{5, 1, 4, 2, 3}, 100, 5},  // position 6 of 5: the largest
                      FlowCase{{2, 2, 2, 1}, 25, 2},      // position 2, repeats counted
                      FlowCase{{1, 3, 3, 2, 3, 0}, 60, 3},
                      FlowCase{{7, U, 3, U, 9, 8}, 50, 9},  // position 4 of 4 known
                      FlowCase{{3, 1, 2}, -50, 1},          // below 0: the smallest
                      FlowCase{{U, U, U}, 50, 99999.0}),
    [](const auto& info) {
        return "perc" + vd::test::numberName(info.param.perc) + "_of" +
               std::to_string(info.param.days.size()) + "days";
    });

TEST(PercentileFlow, ZeroDaysGiveZero) {
    const std::vector<double> days{1, 2};
    EXPECT_EQ(flowAtPercentile(days, 0, 50), 0);
}

TEST(PercentileFlow, FindsTheSameFlowAsSortingALongSeries) {
    std::vector<double> days;
    for (int i = 0; i < 20000; ++i) days.push_back((i * 7919) % 10007 / 10.0);
    std::vector<double> sorted = days;
    std::sort(sorted.begin(), sorted.end());
    for (const double perc : {0.0, 1.0, 10.0, 33.3, 50.0, 99.9}) {
        const auto position = static_cast<std::size_t>(20000 * perc / 100 + 1);
        EXPECT_EQ(flowAtPercentile(days, 20000, perc), sorted[position - 1]) << perc;
    }
}

TEST(HarmonicMean, LeavesOutZeroAndMissingDays) {
    const std::vector<double> days{1, 2, 0, U, 4};
    const HarmonicMean h = harmonicMean(days);
    EXPECT_EQ(h.nonzeroDays, 3);
    EXPECT_EQ(h.zeroDays, 1);
    EXPECT_DOUBLE_EQ(h.flow, 3 / 1.75);
    EXPECT_DOUBLE_EQ(h.zeroAdjusted(), 3 / 1.75 * 3 / 4);
}

TEST(HarmonicMean, WithoutAKnownNonzeroDayIsZero) {
    const std::vector<double> days{0, U, 0};
    const HarmonicMean h = harmonicMean(days);
    EXPECT_EQ(h.nonzeroDays, 0);
    EXPECT_EQ(h.flow, 0);
    EXPECT_EQ(h.zeroAdjusted(), 0);
}

}  // namespace
}  // namespace vd
