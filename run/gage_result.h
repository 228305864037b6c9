// What the calculation finds for one gage, as numbers: the period it used, the counts of
// its record, the biological design flow, one block per non-biological averaging period
// with the log-Pearson fit behind it, the harmonic mean, the annual minima and the
// excursions. The results table, the reports and the CSV are formatted from these.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "excursions.h"
#include "lpiii/log_pearson_fit.h"
#include "run_settings.h"

namespace vd::run {

// A design flow with how it sits in the record: the percent of days whose flow is below it
// (as the results table's "Percentile" shows it) and how often the averages fell below it.
struct FlowStatistics {
    double flow = 0;
    double percentile = 0;
    double excursionRate = 0;  // excursions per `excursionYears` years of record
};

struct BiologicalResult {
    int averagingDays = 0;  // x of xBy (30 under the ammonia rule)
    int yearsBetween = 0;   // y of xBy, whole years
    // None when no flow could be computed (too little data in the period).
    std::optional<double> flow;
    // The ammonia rule took twice the 4-day flow (the 30-day flow was higher); the
    // percentile and the excursions (on the 30-day averages) are those of the flow taken.
    bool twiceFourDay = false;
    double percentile = 0;
    double excursionRate = 0;  // excursions per `yearsBetween` years (season-years) of record
    // What the flow, every percentile and every excursion rate of the gage were computed over.
    BioScope scope = BioScope::record;
};

// The fit of a block's seasonal annual minima, as the log-Pearson library fitted them for
// the block's design flow.
using lpiii::LogPearsonFit;

// One season-year of the per-year table: its annual minimum and the xQk flow of return
// period k = the entry's position (as the advanced report lays them side by side).
struct AnnualMinimum {
    float yearIndex = 0;  // season-start year minus 1900
    float minimum = 0;
    float returnPeriodFlow = 0;  // the xQk flow of k = position; above 1e10 when none
    float returnYears = 0;
};

// One season-year's x-day minimum: the year its season starts in (a calendar year, as a
// number for the trend's slope) and the flow, in season order.
struct SeasonMinimum {
    double seasonYear = 0;
    double flow = 0;
};

// The lower and upper confidence limits of a design flow.
struct FlowLimits {
    double lower = 0;
    double upper = 0;
};

// The trend of the seasonal annual minima: the two-sided p of the Mann-Kendall test and the
// Theil-Sen slope in flow units (cfs) per decade.
struct MinimaTrend {
    double p = 1;
    double slopePerDecade = 0;
};

struct EquivalentReturnPeriod {
    // The smallest whole return period whose flow does not exceed the biological flow;
    // none when no such period exists in the record.
    std::optional<int> years;
    double flow = 0;
    double percentile = 0;
};

struct AveragingBlock {
    int days = 0;
    NonBiologicalKind kind = NonBiologicalKind::hydrological;
    int returnYears = 0;  // hydrological: y of xQy, whole years
    // The hydrological flow, the given flow or the flow at the given percentile; none when
    // it cannot be computed.
    std::optional<double> flow;
    // The return period has no finite flow (1 year with a skew of zero or more: the
    // library's 1.0e20); `flow` is none, and no data is missing.
    bool noFiniteFlow = false;
    double percentile = 0;
    double excursionRate = 0;  // excursions per 3 years of record
    LogPearsonFit fit;         // hydrological kind: the fit of this period's minima
    // Hydrological kind: the 90 % confidence limits of `flow` (none without a flow or a fit,
    // with fewer than 3 nonzero years, or where the flow is 0 for the zero years).
    std::optional<FlowLimits> limits90;
    // Hydrological kind: the seasonal annual minima behind the fit (zero years included),
    // kept whatever the per-year tables, and their trend (none below 3 minima).
    std::vector<SeasonMinimum> minima;
    std::optional<MinimaTrend> trend;
    EquivalentReturnPeriod equivalent;
    // The per-year table as it stood after this block (a later block writes over it).
    std::shared_ptr<const std::vector<AnnualMinimum>> annualTable;
};

// The daily flows of the period a gage was computed over, for plots: value k (from 0) is
// the flow of day number firstDay + k; NaN marks a missing day.
struct DailyFlows {
    int firstDay = 0;
    std::vector<double> flows;
};

// The excursions below the biological flow on the averages it was found on; their days
// count from the day after day number `dayBeforeStart`.
struct BiologicalExcursions {
    int dayBeforeStart = 0;
    Excursions excursions;

    // The day number of series day `day`.
    int dayNumber(int day) const { return dayBeforeStart + day; }
};

struct GageResult {
    std::string name;
    std::string file;    // path of the flow file
    int gageInFile = 0;  // 1-based position of the gage in its file
    // Less than a year of record in the period: nothing is computed.
    bool shortRecord = false;
    // The period as the table shows it: the year the first season ends in ... the last.
    int firstYear = 0;
    int lastYear = 0;
    int seasons = 0;       // season-years in the period (J2 - J1)
    int daysInRecord = 0;  // days of the gage's stored record
    int zeroDays = 0;      // known days with flow 0
    int missingDays = 0;   // days without a value
    BiologicalResult biological;
    std::vector<AveragingBlock> blocks;
    double harmonicMean = 0;  // of the nonzero days
    double harmonicPercentile = 0;
    // The harmonic mean of the nonzero days times the share of nonzero days among the days
    // with a value: the harmonic mean of a stream with zero days as water-quality guidance
    // takes it. Equal to harmonicMean when no day is zero.
    double harmonicMeanZeroAdjusted = 0;
    // The excursions below the biological flow; null when none was computed.
    std::shared_ptr<const BiologicalExcursions> excursions;
    // The record the flows were computed from (null for a short record).
    std::shared_ptr<const DailyFlows> daily;
    // The days of `daily` inside the season, in order (NaN for a missing day), when the
    // biological flow and the percentiles were taken within the season; null otherwise.
    std::shared_ptr<const std::vector<double>> seasonDays;
    // The per-year table of the last block (the advanced report's); null when none.
    std::shared_ptr<const std::vector<AnnualMinimum>> annualTable;

    // A design flow of this gage could not be computed (the results window's red notice).
    bool missingDesignFlow() const;
};

}  // namespace vd::run
