// A gage's low-flow statistics beyond the design flow, on real records: the minima the fit
// used, the confidence limits and trend of its block, and the numbers of the frequency
// chart drawn from them.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>

#include "../common/scratch_dir.h"
#include "confidence_limits.h"
#include "flow_reader.h"
#include "frequency_plot_data.h"
#include "gage_computation.h"
#include "run_settings.h"
#include "trend_text.h"

namespace fs = std::filesystem;
using namespace vd;
using namespace vd::run;

namespace {

const std::string verdeRecord = "09506000_verde_camp_verde_dv_1989-2021.txt";
const std::string bayouRecord = "08023080_bayou_grand_cane_zeros.txt";

const LogPearsonLibrary& logPearson() {
    static const LogPearsonLibrary lib = LogPearsonLibrary::load(programFolder());
    return lib;
}

class LowFlowStatistics : public ::testing::Test {
  protected:
    void SetUp() override {
        scratch_ = std::make_unique<vd::test::ScratchDir>("vd_low_flow_statistics");
        scratch_->copyFilesOf(fs::path(VANDO_TEST_DATA) / "reference" / "inputs");
    }

    // The first gage of a file under the default settings (7Q10, Apr 1 - Mar 31) unless
    // changed.
    GageResult gage(const std::string& name, const SettingsTexts& texts = {},
                    SearchPath path = SearchPath::reuse, const GageExtras& extras = {}) const {
        const std::string file = (scratch_->path() / name).string();
        const auto series = readGageSeries(file, texts.seasonStart, texts.seasonEnd, {}, nullptr);
        return computeGage(series.at(0), {file, 1}, settingsFromTexts(texts), logPearson(), {},
                           path, extras);
    }

    std::unique_ptr<vd::test::ScratchDir> scratch_;
};

// Verde's 32 seasonal 7-day minima (season-years 1989-2020, no zero years). The expected
// numbers come from a python3 script over these minima as the engine keeps them: S by its
// double sum, the tie-corrected variance, p = erfc(|S - sign S| / sqrt(2 Var)); the median
// of the 496 pairwise slopes times 10; the limits from the fit's float moments with K of
// skew -0.44 at p = 0.1 by bisection on the incomplete gamma function's power series (K =
// -1.3193936), a and b as the method gives them and z = NormalDist().inv_cdf(0.95).
TEST_F(LowFlowStatistics, VerdeLimitsAndTrendMatchIndependentValues) {
    const GageResult g = gage(verdeRecord);
    const AveragingBlock& b = g.blocks.at(0);
    ASSERT_TRUE(b.flow && b.fit.ok);
    ASSERT_EQ(b.minima.size(), 32u);
    EXPECT_EQ(b.minima.front().seasonYear, 1989);
    EXPECT_EQ(b.minima.back().seasonYear, 2020);

    ASSERT_TRUE(b.limits90);
    EXPECT_NEAR(b.limits90->lower, 26.99630109506365, 1e-9);
    EXPECT_NEAR(b.limits90->upper, 33.75533700269374, 1e-9);
    EXPECT_LT(b.limits90->lower, *b.flow);
    EXPECT_GT(b.limits90->upper, *b.flow);

    ASSERT_TRUE(b.trend);
    EXPECT_NEAR(b.trend->p, 0.0004893169184721681, 1e-13);
    EXPECT_NEAR(b.trend->slopePerDecade, -6.764611547643488, 1e-12);
}

TEST_F(LowFlowStatistics, MinimaAreThoseOfThePerYearTableAndKeptWithoutIt) {
    SettingsTexts texts;
    texts.averagingPeriods = "7,30";
    const GageResult full = gage(verdeRecord, texts);
    const GageResult bare = gage(verdeRecord, texts, SearchPath::reuse, {false, false, false});
    ASSERT_EQ(full.blocks.size(), 2u);
    for (std::size_t k = 0; k < 2; ++k) {
        const AveragingBlock& b = full.blocks[k];
        ASSERT_NE(b.annualTable, nullptr);
        ASSERT_EQ(b.minima.size(), b.annualTable->size());
        for (std::size_t i = 0; i < b.minima.size(); ++i) {
            EXPECT_EQ(b.minima[i].seasonYear, 1900 + (*b.annualTable)[i].yearIndex);
            EXPECT_EQ(b.minima[i].flow, (*b.annualTable)[i].minimum);
        }
        const AveragingBlock& c = bare.blocks[k];
        EXPECT_EQ(c.annualTable, nullptr);
        ASSERT_EQ(c.minima.size(), b.minima.size());
        ASSERT_TRUE(c.trend && b.trend && c.limits90 && b.limits90);
        EXPECT_EQ(c.trend->p, b.trend->p);
        EXPECT_EQ(c.trend->slopePerDecade, b.trend->slopePerDecade);
        EXPECT_EQ(c.limits90->lower, b.limits90->lower);
        EXPECT_EQ(c.limits90->upper, b.limits90->upper);
    }
    // The 30-day minima are other numbers than the 7-day ones.
    EXPECT_NE(full.blocks[0].minima.front().flow, full.blocks[1].minima.front().flow);
}

TEST_F(LowFlowStatistics, ChartOfVerdeShowsTheEnginesNumbers) {
    const GageResult g = gage(verdeRecord);
    const AveragingBlock& b = g.blocks.at(0);
    const auto chart = frequencyPlotData(g, 0);
    ASSERT_TRUE(chart);
    EXPECT_EQ(chart->days, 7);
    EXPECT_EQ(chart->returnYears, 10);

    // The minima, smallest first, at i / (n + 1).
    std::vector<double> flows;
    for (const SeasonMinimum& m : b.minima) flows.push_back(m.flow);
    std::sort(flows.begin(), flows.end());
    ASSERT_EQ(chart->minima.size(), flows.size());
    for (std::size_t i = 0; i < flows.size(); ++i) {
        EXPECT_EQ(chart->minima[i].flow, flows[i]);
        EXPECT_DOUBLE_EQ(chart->minima[i].nonExceedance, (i + 1.0) / 33);
    }

    // The design point is the block's flow at 1/10, and the curve and band pass through it.
    ASSERT_TRUE(chart->design);
    EXPECT_EQ(chart->design->nonExceedance, 0.1);
    EXPECT_EQ(chart->design->flow, *b.flow);
    const auto at = [](const std::vector<ProbabilityPoint>& line, double p) {
        return std::find_if(line.begin(), line.end(),
                            [p](const ProbabilityPoint& q) { return q.nonExceedance == p; });
    };
    const auto fitted = at(chart->fitted, 0.1);
    ASSERT_NE(fitted, chart->fitted.end());
    EXPECT_NEAR(fitted->flow, *b.flow, 1e-6 * *b.flow);  // the library's flow is a float
    EXPECT_EQ(at(chart->lower90, 0.1)->flow, b.limits90->lower);
    EXPECT_EQ(at(chart->upper90, 0.1)->flow, b.limits90->upper);

    // From 0.002 to 0.998, rising, with the band around the curve at every probability.
    ASSERT_GE(chart->fitted.size(), 100u);
    ASSERT_EQ(chart->lower90.size(), chart->fitted.size());
    ASSERT_EQ(chart->upper90.size(), chart->fitted.size());
    EXPECT_NEAR(chart->fitted.front().nonExceedance, 0.002, 1e-12);
    EXPECT_NEAR(chart->fitted.back().nonExceedance, 0.998, 1e-12);
    for (std::size_t i = 0; i < chart->fitted.size(); ++i) {
        const ProbabilityPoint& f = chart->fitted[i];
        EXPECT_EQ(chart->lower90[i].nonExceedance, f.nonExceedance);
        EXPECT_LT(chart->lower90[i].flow, f.flow);
        EXPECT_GT(chart->upper90[i].flow, f.flow);
        if (i > 0) {
            EXPECT_GT(f.flow, chart->fitted[i - 1].flow);
        }
    }
    EXPECT_EQ(chart->trendText, "trend: \u22126.8 cfs/decade, p < 0.001");
    EXPECT_EQ(chart->zeroYearsNote, "");
}

TEST_F(LowFlowStatistics, ChartWithZeroYearsStartsItsCurveAboveThem) {
    const GageResult g = gage(bayouRecord);
    const AveragingBlock& b = g.blocks.at(0);
    ASSERT_EQ(b.fit.years(), 19);
    ASSERT_EQ(b.fit.zeroYears, 15);
    const auto chart = frequencyPlotData(g, 0);
    ASSERT_TRUE(chart);

    // The zero years (minima up to 1e-6, here down to 5.9e-7) are plotted too, first and at
    // 0 (the chart puts them at the floor of its log axis), and the chart says how many.
    ASSERT_EQ(chart->minima.size(), 19u);
    EXPECT_EQ(chart->zeroYearsNote, "15 of 19 years had a zero minimum");
    EXPECT_EQ(chart->minima[14].flow, 0.0);
    EXPECT_GT(chart->minima[15].flow, 1e-6);
    EXPECT_EQ(chart->minima[15].nonExceedance, 16.0 / 20);

    // Up to p = 15/19 the fitted flow is 0; above it the conditional probability of a
    // nonzero year gives the curve.
    ASSERT_FALSE(chart->fitted.empty());
    EXPECT_GT(chart->fitted.front().nonExceedance, 15.0 / 19);
    for (const ProbabilityPoint& f : chart->fitted)
        EXPECT_EQ(f.flow, fittedFlow(b.fit, f.nonExceedance).value());
    // The 7Q10 is 0: a design point without limits.
    ASSERT_TRUE(chart->design);
    EXPECT_EQ(chart->design->flow, 0.0);
    EXPECT_FALSE(b.limits90);
    ASSERT_TRUE(b.trend);
    EXPECT_EQ(chart->trendText, trendText(*b.trend));
}

TEST_F(LowFlowStatistics, NoChartWithoutAFit) {
    const GageResult g = gage(verdeRecord);
    EXPECT_FALSE(frequencyPlotData(g, 1));  // one averaging period only
    EXPECT_FALSE(frequencyPlotData(gage(verdeRecord, {}, SearchPath::literal), 0));

    SettingsTexts given;
    given.nonBiological = NonBiologicalKind::explicitFlow;
    const GageResult explicitFlow = gage(verdeRecord, given);
    EXPECT_FALSE(frequencyPlotData(explicitFlow, 0));
    EXPECT_FALSE(explicitFlow.blocks.at(0).trend);
    EXPECT_FALSE(explicitFlow.blocks.at(0).limits90);
}

}  // namespace
