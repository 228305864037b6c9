// The numbers the charts draw, checked against the engine's own numbers for real gages
// (every day's flow, the design flows and their percentiles, the excursion table) and
// against small hand-made results where a gap, a zero or a cut interval shows the fault.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <memory>

#include "../common/scratch_dir.h"
#include "calendar.h"
#include "chart_title.h"
#include "duration_curve_data.h"
#include "engine.h"
#include "excursion_table.h"
#include "gage_rows.h"
#include "hydrograph_data.h"
#include "number_format.h"
#include "probability_scale.h"

namespace fs = std::filesystem;
using namespace vd;
using namespace vd::run;

namespace {

const LogPearsonLibrary& library() {
    static const LogPearsonLibrary lib = LogPearsonLibrary::load(programFolder());
    return lib;
}

// Each file's first gage computed alone with the default settings (1B3, 7Q10) plus 30Q10;
// a file name ending in "#summer" is computed for Jun 1 - Sep 30 with the biological flow
// and the percentiles taken within that season.
class ChartData : public ::testing::TestWithParam<const char*> {
  protected:
    void SetUp() override {
        scratch_ = std::make_unique<vd::test::ScratchDir>("vd_chart_data");
        std::string name = GetParam();
        const bool summer = name.ends_with("#summer");
        if (summer) name.erase(name.size() - 7);
        const fs::path source = fs::path(VANDO_TEST_DATA) / name;
        const std::string path = (scratch_->path() / source.filename()).string();
        fs::copy_file(source, path);
        SettingsTexts texts;
        texts.averagingPeriods = "7,30";
        if (summer) {
            texts.seasonStart = "Jun 1";
            texts.seasonEnd = "Sep 30";
            texts.fullClimaticYear = false;
            texts.bioWithinSeason = true;
        }
        const auto gages = readGagesForTable(path, texts.seasonStart, texts.seasonEnd);
        ASSERT_FALSE(gages.empty());
        const TableGage& g = gages.front();
        std::vector<GageRow> rows{
            {g.name, path, static_cast<int>(gages.size()), g.record, g.start, g.end, true}};
        result_ = runCalculation({texts, rows}, library());
        ASSERT_EQ(result_.dataRowCount(), 1);
        ASSERT_FALSE(gage().shortRecord);
        ASSERT_TRUE(gage().daily);
    }

    const GageResult& gage() const { return result_.gage(1); }

    std::unique_ptr<vd::test::ScratchDir> scratch_;
    RunResult result_;
};

TEST_P(ChartData, HydrographHoldsEveryPositiveDayOnceAndBreaksAtTheOthers) {
    const DailyFlows& daily = *gage().daily;
    const HydrographData h = hydrographData(gage());
    EXPECT_EQ(h.firstDay, daily.firstDay);
    EXPECT_EQ(h.lastDay, daily.firstDay + static_cast<int>(daily.flows.size()) - 1);
    std::size_t points = 0;
    for (const auto& segment : h.segments) {
        ASSERT_FALSE(segment.empty());
        for (std::size_t i = 0; i < segment.size(); ++i) {
            const auto k = static_cast<std::size_t>(segment[i].day - daily.firstDay);
            ASSERT_LT(k, daily.flows.size());
            EXPECT_EQ(segment[i].flow, daily.flows[k]);
            if (i > 0) {
                EXPECT_EQ(segment[i].day, segment[i - 1].day + 1);
            }
        }
        // A segment ends where the record ends or the next day has no place on a log axis.
        const auto after = static_cast<std::size_t>(segment.back().day + 1 - daily.firstDay);
        if (after < daily.flows.size()) {
            EXPECT_FALSE(daily.flows[after] > 0) << after;
        }
        points += segment.size();
    }
    const auto positive = static_cast<std::size_t>(
        std::count_if(daily.flows.begin(), daily.flows.end(), [](double f) { return f > 0; }));
    EXPECT_EQ(points, positive);
    // Every level has a place: a positive one within the range, a zero one at its floor.
    for (const DesignFlowLevel& level : h.levels) {
        if (level.flow > 0) {
            EXPECT_LE(h.flowRange.low, level.flow);
        } else {
            EXPECT_EQ(h.flowRange.position(level.flow), h.flowRange.lowPosition());
        }
    }
    double largest = 0;
    for (const double f : daily.flows)
        if (f > largest) largest = f;
    EXPECT_GE(h.flowRange.high, largest);
}

TEST_P(ChartData, LevelsAreTheEngineDesignFlows) {
    const HydrographData h = hydrographData(gage());
    const GageResult& g = gage();
    std::vector<std::pair<std::string, double>> expected;
    // Zero flows too: the charts draw them at the axis floor rather than leave them out.
    if (g.biological.flow) expected.emplace_back("1B3", *g.biological.flow);
    for (const AveragingBlock& b : g.blocks)
        if (b.flow) expected.emplace_back(std::to_string(b.days) + "Q10", *b.flow);
    expected.emplace_back("Harmonic mean", g.harmonicMean);
    ASSERT_EQ(h.levels.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(h.levels[i].label, expected[i].first);
        EXPECT_EQ(h.levels[i].flow, expected[i].second);
    }
}

TEST_P(ChartData, ShadedPeriodsAreThoseOfTheExcursionTable) {
    ASSERT_TRUE(gage().excursions);
    const HydrographData h = hydrographData(gage());
    const ExcursionTable table = excursionTable(*gage().excursions);
    // Rows between the header and the total, one per period; a cluster's first row names it.
    ASSERT_EQ(h.excursionPeriods.size(), table.cells.size() - 2);
    std::size_t cluster = 0;
    for (std::size_t i = 0; i < h.excursionPeriods.size(); ++i) {
        const auto& row = table.cells[i + 1];
        const DayInterval& p = h.excursionPeriods[i];
        EXPECT_EQ(excursionDate(p.firstDay), row[2]) << i;
        if (p.lastDay < h.lastDay) {
            EXPECT_EQ(formatInteger(p.lastDay - p.firstDay + 1, 4), row[3]);
        }
        if (!row[0].empty()) {
            ASSERT_LT(cluster, h.clusters.size());
            EXPECT_EQ(excursionDate(h.clusters[cluster].firstDay), row[0]);
            ++cluster;
        }
        // Every period lies inside its cluster.
        ASSERT_GT(cluster, 0u);
        EXPECT_GE(p.firstDay, h.clusters[cluster - 1].firstDay);
        EXPECT_LE(p.lastDay, h.clusters[cluster - 1].lastDay);
    }
    EXPECT_EQ(cluster, h.clusters.size());
}

TEST_P(ChartData, DurationMarksSitOnTheCurveAtTheEnginePercentiles) {
    const DurationCurveData d = durationCurveData(gage());
    ASSERT_FALSE(d.curve.empty());
    for (std::size_t i = 1; i < d.curve.size(); ++i) {
        EXPECT_LT(d.curve[i].flow, d.curve[i - 1].flow);
        EXPECT_GT(d.curve[i].percentExceeded, d.curve[i - 1].percentExceeded);
    }
    const auto levels = designFlowLevels(gage());
    ASSERT_EQ(d.marks.size(), levels.size());
    for (const DurationMark& mark : d.marks) {
        EXPECT_DOUBLE_EQ(mark.percentExceeded, 100 - mark.level.percentile) << mark.level.label;
        // The percent of days not below a flow is that of the smallest curve flow at or
        // above it; a zero flow (every day) lies beyond the curve's positive flows.
        if (mark.level.flow == 0) {
            EXPECT_EQ(mark.percentExceeded, 100) << mark.level.label;
            continue;
        }
        const auto above = std::find_if(d.curve.rbegin(), d.curve.rend(),
                                        [&](const auto& p) { return p.flow >= mark.level.flow; });
        if (above != d.curve.rend()) {
            EXPECT_NEAR(above->percentExceeded, mark.percentExceeded, 1e-9) << mark.level.label;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Gages, ChartData,
    ::testing::Values("reference/inputs/09506000_verde_camp_verde_dv_1989-2021.txt",
                      // zero flows
                      "reference/inputs/08023080_bayou_grand_cane_zeros.txt",
                      // missing days
                      "reference/inputs/11224000_mf_san_joaquin_mammoth_dv_2009-2021.txt",
                      // the duration curve of the season's days
                      "reference/inputs/09506000_verde_camp_verde_dv_1989-2021.txt#summer"));

// A gage made by hand: days 100..106 with a missing day and a zero day.
GageResult handMadeGage() {
    GageResult g;
    g.name = "00000001 TEST CREEK";
    g.firstYear = 1971;
    g.lastYear = 1972;
    auto daily = std::make_shared<DailyFlows>();
    daily->firstDay = 100;
    daily->flows = {1, 2, std::nan(""), 3, 0, 4, 5};
    g.daily = daily;
    g.biological.averagingDays = 1;
    g.biological.yearsBetween = 3;
    g.biological.flow = 2.5;
    g.biological.percentile = 100.0 * 3 / 7;
    g.harmonicMean = 2;
    g.harmonicPercentile = 100.0 * 2 / 7;
    return g;
}

TEST(ChartDataByHand, MissingAndZeroDaysAreGapsNotPoints) {
    const HydrographData h = hydrographData(handMadeGage());
    ASSERT_EQ(h.segments.size(), 3u);
    const std::vector<std::vector<int>> days{{100, 101}, {103}, {105, 106}};
    for (std::size_t s = 0; s < days.size(); ++s) {
        ASSERT_EQ(h.segments[s].size(), days[s].size());
        for (std::size_t i = 0; i < days[s].size(); ++i)
            EXPECT_EQ(h.segments[s][i].day, days[s][i]);
    }
    EXPECT_EQ(h.flowRange.low, 1);
    EXPECT_EQ(h.flowRange.high, 10);
}

TEST(ChartDataByHand, DurationCountsMissingDaysAmongThoseNotBelow) {
    // Seven days: flows 1 2 3 4 5 known, one zero, one missing. Not below 3: 3, 4, 5 and
    // the missing day, 4 of 7.
    const DurationCurveData d = durationCurveData(handMadeGage());
    ASSERT_EQ(d.curve.size(), 5u);
    EXPECT_EQ(d.curve[2].flow, 3);
    EXPECT_NEAR(d.curve[2].percentExceeded, 100.0 * 4 / 7, 1e-12);
    EXPECT_NEAR(d.curve.back().percentExceeded, 100.0 * 6 / 7, 1e-12);
    ASSERT_EQ(d.marks.size(), 2u);  // biological and harmonic mean
    EXPECT_NEAR(d.marks[0].percentExceeded, 100.0 * 4 / 7, 1e-12);
}

TEST(ChartDataByHand, ZeroDesignFlowsLieAtTheFloorAndSaySo) {
    GageResult g = handMadeGage();
    g.biological.flow = 0.0;
    g.biological.percentile = 0;
    const HydrographData h = hydrographData(g);
    ASSERT_EQ(h.levels.size(), 2u);
    EXPECT_EQ(designFlowLegend(h.levels[0]), "1B3: 0 cfs (at axis floor)");
    EXPECT_EQ(designFlowLegend(h.levels[1]), "Harmonic mean: 2.00 cfs");
    EXPECT_EQ(h.flowRange.position(0), 0);  // the floor of 1 ... 10 cfs
    EXPECT_DOUBLE_EQ(h.flowRange.position(5), std::log10(5.0));

    // On the flow-duration chart a zero flow, equalled or exceeded on every day, sits at the
    // right-hand end of the scale, where the curve meets the zero days.
    const DurationCurveData d = durationCurveData(g);
    ASSERT_EQ(d.marks.size(), 2u);
    EXPECT_EQ(d.marks[0].percentExceeded, 100);
    const ProbabilityScale scale = durationScale(d);
    EXPECT_EQ(durationMarkPosition(scale, d.marks[0].percentExceeded), scale.high);
    EXPECT_EQ(durationMarkPosition(scale, 50), percentPosition(50));
    EXPECT_EQ(durationMarkPosition(scale, 0), scale.low);
}

TEST(ChartDataByHand, ClustersAreCutToThePeriodDrawn) {
    GageResult g = handMadeGage();
    auto record = std::make_shared<BiologicalExcursions>();
    record->dayBeforeStart = 99;  // day n is day number 99 + n
    // Two periods forming one cluster that runs past the end.
    record->excursions.periods = {{1, 2, 1, 1, 1}, {6, 9, 1, 1, 1}};
    record->excursions.clusters = {{0, 1, 2}};
    g.excursions = record;
    const HydrographData h = hydrographData(g);
    ASSERT_EQ(h.excursionPeriods.size(), 2u);
    EXPECT_EQ(h.excursionPeriods[0].firstDay, 100);
    EXPECT_EQ(h.excursionPeriods[0].lastDay, 101);
    EXPECT_EQ(h.excursionPeriods[1].firstDay, 105);
    EXPECT_EQ(h.excursionPeriods[1].lastDay, 106);
    ASSERT_EQ(h.clusters.size(), 1u);
    EXPECT_EQ(h.clusters[0].firstDay, 100);
    EXPECT_EQ(h.clusters[0].lastDay, 106);
}

TEST(ChartDataByHand, DatesAndTitle) {
    // 1 January 1970 is the epoch; 2000 is a leap year.
    EXPECT_EQ(epochMilliseconds(DayNumber(70, 1, 1)), 0.0);
    EXPECT_EQ(epochMilliseconds(DayNumber(100, 3, 1)), 11017.0 * 86400000);
    vd::run::Season season;
    season.startText = "Jun 1";
    season.endText = "Sep 30";
    season.fullClimaticYear = false;
    EXPECT_EQ(chartTitle(handMadeGage(), season),
              "00000001 TEST CREEK\nSeason Jun 1 - Sep 30, 1971-1972");
}

}  // namespace
