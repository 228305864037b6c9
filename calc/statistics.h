// Design-flow statistics of a daily series: harmonic mean, x-day averaging, seasonal annual
// minima with the log-Pearson flow, excursion counting, the biological search, and
// percentiles of the daily flows. Each takes the days it works on and returns what it found.
#pragma once

#include <span>
#include <vector>

#include "excursions.h"
#include "flow_values.h"
#include "log_pearson_library.h"
#include "search_parameters.h"
#include "season_windows.h"

namespace vd {

// The daily flows of one gage as the statistics see them: days[k - 1] is day k, `unknown`
// when missing, and where day 1 lies in the season calendar.
struct DailySeries {
    std::span<const double> days;
    SeasonCalendar calendar;
    int recordDays = 0;  // the days of record (the years of record are recordDays / 365)
};

// The harmonic mean of the known nonzero days.
struct HarmonicMean {
    double flow = 0;  // 0 when no known day is nonzero
    int nonzeroDays = 0;
    int zeroDays = 0;  // known days with flow 0

    // For a stream with zero days: the flow times the share of the known days that are
    // nonzero; 0 without a known day.
    double zeroAdjusted() const;
};

HarmonicMean harmonicMean(std::span<const double> days);

// The `windowDays`-day average of every window of known days, at the window's first day;
// `unknown` where a window holds a missing day or runs past the end. Biological averages
// (`harmonic`) are harmonic means of the nonzero days times their share of the window.
std::vector<double> movingAverages(std::span<const double> days, int windowDays, bool harmonic);

// The minimum of the averages inside the season, one per season-year whose season windows
// are all known, in season order.
struct AnnualMinima {
    std::vector<int> yearIndex;  // the year index the season-year starts in
    std::vector<float> flows;    // kept as float, as the fit takes them
    int count() const { return static_cast<int>(flows.size()); }
};

AnnualMinima annualMinima(std::span<const double> averages, const SeasonCalendar& calendar,
                          int windowDays);

// The log-Pearson flow of `years` annual minima for a return period of p.yearsBetween years
// (whole part), from a fit made once per gage and averaging period: -1 when fewer minima
// exist than the return period or the fit gives no flow.
double lowFlowOfFit(const SearchParameters& p, const LogPearsonLibrary& lib,
                    const LogPearsonFit& fit, int years);

// The biological search on the averages from the starting flow `start` (the log-Pearson
// flow): the highest flow whose excursion count reaches the allowed count of one per
// p.yearsBetween of `recordYears`. Returns `start` unchanged when it is not positive or
// when the first upper count already matches, -1 when no flow can be found.
double biologicalSearch(std::span<const double> averages, const SearchParameters& p,
                        double recordYears, double start);

// The years the biological search allows one excursion per p.yearsBetween of: those of the
// record, or the season-years within the season.
double biologicalRecordYears(const DailySeries& series, const SearchParameters& p);

// A design flow whose size is below the search tolerance is reported as 0.
double snapTinyFlow(double flow);

// The whole design-flow search of a series: its averages (within the season only when the
// biological search is), their annual minima and log-Pearson flow, and in biological mode
// the biological search from that flow.
struct LowFlowSearch {
    double flow = -1;  // -1 when none
    std::vector<double> averages;
};

LowFlowSearch lowFlowSearch(const DailySeries& series, const SearchParameters& p,
                            const LogPearsonLibrary& lib);

// The averages the search counts excursions on, without the search itself.
std::vector<double> searchAverages(const DailySeries& series, const SearchParameters& p);

// Percentage of the `recordDays` days on which the flow is not below `flow`; missing days
// count as not below.
double percentNotBelow(std::span<const double> days, int recordDays, double flow);

// The flow at percentile `percent` of the `recordDays` days; 99999.0 when no day is known.
double flowAtPercentile(std::span<const double> days, int recordDays, double percent);

// The same two over the days inside the season only (the percent of the season's days, and
// the flow at a percentile of them); missing days count as above.
double seasonPercentNotBelow(const DailySeries& series, double flow);
double seasonFlowAtPercentile(const DailySeries& series, double percent);

}  // namespace vd
