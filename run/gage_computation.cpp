#include "gage_computation.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <optional>
#include <vector>

#include "confidence_limits.h"
#include "errors.h"
#include "log_pearson_library.h"
#include "lpiii/quantile.h"
#include "minima_trend.h"
#include "season_date.h"
#include "statistics.h"

namespace vd::run {
namespace {

constexpr double daysPerYear = 365.25;
constexpr int excursionYears = 3;  // excursion rates of the non-biological flows are per 3 years
constexpr int countingDays = 4;    // ... counted on the 4-day biological averages
constexpr float noYear = -999;
// The library's answer for a return period without a finite flow is 1.0e20; the per-year
// table leaves such flows out from 1e10 on too.
constexpr double infiniteFlow = 1e10;

// The hydrological search's work that does not depend on the return period: the x-day
// averages, their seasonal annual minima and the log-Pearson fit of them.
struct FittedMinima {
    int ny = 0;
    LogPearsonFit fit;
    // Flows already asked for, by return period in years (the equivalent-return-period
    // search and the per-year table ask for the same ones); NaN where not yet known.
    std::vector<double> flows;
};

int wholeYears(double years) {
    return static_cast<int>(std::trunc(years));
}

// The per-year table of a gage: one entry per season-year, rows of a block's minima written
// over those of the block before. A row shows while its year is a year (not `unknown`).
class PerYearTable {
  public:
    // Created on first use: no year in any row.
    std::vector<AnnualMinimum>& rows() {
        if (rows_.empty()) {
            rows_.resize(static_cast<std::size_t>(maxyears));
            for (AnnualMinimum& row : rows_) row.yearIndex = static_cast<float>(unknown);
        }
        return rows_;
    }

    bool exists() const { return !rows_.empty(); }

    // The minima of a block in rows 1..count; the other rows lose their year.
    void keepMinima(const AnnualMinima& minima) {
        if (minima.count() == 0) return;
        std::vector<AnnualMinimum>& table = rows();
        if (minima.count() > maxyears) throw Error(ErrorCode::range);
        for (AnnualMinimum& row : table) row.yearIndex = static_cast<float>(unknown);
        for (std::size_t n = 0; n < minima.flows.size(); ++n) {
            table[n].yearIndex = static_cast<float>(minima.yearIndex[n]);
            table[n].minimum = minima.flows[n];
        }
    }

    // Row n (from 1) of the table.
    AnnualMinimum& row(int n) {
        if (n < 1 || n > maxyears) throw Error(ErrorCode::range);
        return rows()[static_cast<std::size_t>(n - 1)];
    }

    // The rows that hold a year, as the advanced report reads them.
    std::shared_ptr<const std::vector<AnnualMinimum>> shownRows() const {
        auto shown = std::make_shared<std::vector<AnnualMinimum>>();
        for (const AnnualMinimum& row : rows_) {
            if (!(row.yearIndex > noYear)) break;
            shown->push_back(row);
        }
        return shown;
    }

    // The season-years' minima in rows 1..ny. A minimum the fit counts as a zero year is 0
    // here too: averaging leaves residues of rounding on runs of zero days, and the trend
    // test must see those years as the ties they are.
    std::vector<SeasonMinimum> seasonMinima(int ny) {
        constexpr double yearIndexBase = 1900;
        std::vector<SeasonMinimum> minima;
        minima.reserve(static_cast<std::size_t>(std::max(0, ny)));
        for (int n = 1; n <= std::min(ny, maxyears); ++n) {
            const AnnualMinimum& r = row(n);
            const double flow = r.minimum;
            minima.push_back({yearIndexBase + r.yearIndex, flow <= zeroYearFlow ? 0.0 : flow});
        }
        return minima;
    }

  private:
    std::vector<AnnualMinimum> rows_;
};

SeasonCalendar seasonCalendarOf(const GageSeries& series, const Season& season) {
    const SeasonDate start = parseSeasonDate(season.startText);
    const SeasonDate end = parseSeasonDate(season.endText);
    SeasonCalendar c;
    c.startMonth = start.month;
    c.startDay = start.day;
    c.endMonth = end.month;
    c.endDay = end.day;
    c.startPosition = season.startDay;
    c.endPosition = season.endDay;
    c.firstYear = series.firstYear;
    c.startsOnSeasonStart = series.startsOnSeasonStart;
    return c;
}

class GageComputation {
  public:
    GageComputation(const GageSeries& series, std::vector<double> days,
                    const GageIdentity& identity, const RunSettings& settings,
                    const LogPearsonLibrary& lib, const GageProgress& progress, SearchPath path,
                    const GageExtras& extras)
        : settings_(settings),
          lib_(lib),
          progress_(progress),
          path_(path),
          extras_(extras),
          firstYear_(series.firstYear),
          lastYear_(series.lastYear),
          dayBeforeStart_(series.dayBeforeStart),
          days_(std::move(days)) {
        out_.name = series.name;
        out_.file = identity.file;
        out_.gageInFile = identity.gageInFile;
        // A day past the stored ones is missing: the statistics look at days 1..dayCount,
        // the counts of the record at days 1..recordDays.
        const int dayCount = series.dayCount();
        const auto held = static_cast<std::size_t>(std::max(dayCount, series.recordDays));
        if (days_.size() < held) days_.resize(held, unknown);
        series_.days = std::span<const double>(days_).first(static_cast<std::size_t>(dayCount));
        series_.calendar = seasonCalendarOf(series, settings.season);
        series_.recordDays = series.recordDays;
    }

    GageResult compute() {
        countZeroAndMissing();
        if (seasonYears() < 1) {
            out_.shortRecord = true;
            return std::move(out_);
        }
        if (extras_.dailyFlows) keepDailyFlows();
        // The biological search takes the harmonic mean of the daily series, when it has days.
        if (series_.recordDays != 0) harmonic_ = harmonicMean(series_.days);
        biologicalFlow();
        for (std::size_t k = 0; k < settings_.averagingDays.size(); ++k)
            averagingBlock(settings_.averagingDays[k], returnYearsOfBlock(k));
        out_.harmonicMean = harmonic_.flow;
        out_.harmonicMeanZeroAdjusted = harmonic_.zeroAdjusted();
        out_.harmonicPercentile = percentileOf(harmonic_.flow);
        if (!out_.blocks.empty()) out_.annualTable = out_.blocks.back().annualTable;
        return std::move(out_);
    }

  private:
    // The season-years of the period: the last year is the one the last season ends in, the
    // first the one the first season starts in, so a season within one calendar year counts
    // its own year too.
    int seasonYears() const { return lastYear_ - firstYear_ + 1 - settings_.season.yearAdjust; }

    bool withinSeason() const { return settings_.bioScope == BioScope::season; }

    int dayCount() const { return static_cast<int>(series_.days.size()); }

    double percentileOf(double flow) const {
        return 100 - (withinSeason() ? seasonPercentNotBelow(series_, flow)
                                     : percentNotBelow(series_.days, series_.recordDays, flow));
    }

    // The flow below which `percent` of the days lie.
    double flowBelowPercent(double percent) const {
        return withinSeason() ? seasonFlowAtPercentile(series_, percent)
                              : flowAtPercentile(series_.days, series_.recordDays, percent);
    }

    // Excursions per `years` years of record; within the season, per `years` season-years.
    double ratePer(double years, double count) const {
        if (withinSeason())
            return count * years / std::max(1, seasonYearCount(series_.calendar, dayCount()));
        return count * years * daysPerYear / series_.recordDays;
    }

    std::span<const double> recordDays() const {
        return std::span<const double>(days_).first(
            static_cast<std::size_t>(std::max(0, series_.recordDays)));
    }

    void countZeroAndMissing() {
        int zeroOrMissing = 0;
        int missing = 0;
        for (const double v : recordDays()) {
            if (v == 0 || v == unknown) ++zeroOrMissing;
            if (v == unknown) ++missing;
        }
        out_.zeroDays = zeroOrMissing - missing;
        out_.missingDays = missing;
        out_.daysInRecord = series_.recordDays;
    }

    void keepDailyFlows() {
        auto daily = std::make_shared<DailyFlows>();
        daily->firstDay = dayBeforeStart_ + 1;
        daily->flows.reserve(recordDays().size());
        for (const double v : recordDays()) daily->flows.push_back(v == unknown ? std::nan("") : v);
        if (withinSeason()) out_.seasonDays = seasonDaysOf(daily->flows);
        out_.daily = std::move(daily);
    }

    // The same days the percentiles within the season count.
    std::shared_ptr<const std::vector<double>> seasonDaysOf(
        const std::vector<double>& flows) const {
        auto days = std::make_shared<std::vector<double>>();
        for (const SeasonWindowRange& r : seasonWindows(series_.calendar, dayCount(), 1))
            for (int i = r.first; i <= r.last; ++i)
                days->push_back(flows.at(static_cast<std::size_t>(i - 1)));
        return days;
    }

    void setBiologicalParameters() {
        const BiologicalCriterion& b = settings_.biological;
        p_.averagingDays = b.averagingDays;
        p_.yearsBetween = b.yearsBetween;
        p_.excursionsPerCluster = b.excursionsPerCluster;
        p_.clusterDays = b.clusterDays;
        p_.mode = biologicalMode;
        p_.withinSeason = withinSeason();
    }

    // The biological search of the current parameters; keeps its averages when they are
    // the 4-day ones the excursions of a hydrological flow are counted on.
    double biologicalSearchFlow() {
        LowFlowSearch found = lowFlowSearch(series_, p_, lib_);
        keepCountingAverages(found.averages);
        bioAverages_ = std::move(found.averages);
        return found.flow;
    }

    // The biological design flow, with the ammonia rule; keeps its excursions.
    void biologicalFlow() {
        setBiologicalParameters();
        const bool ammonia = settings_.biological.ammoniaRule();
        double fourDay = 1.0;
        if (ammonia) {
            p_.averagingDays = 4;
            p_.excursionsPerCluster = 5;
            fourDay = biologicalSearchFlow();
            p_.averagingDays = 30;
            p_.excursionsPerCluster = 4;
        }
        double flow = biologicalSearchFlow();
        bioM_ = p_.averagingDays;
        out_.firstYear = firstYear_ + settings_.season.yearAdjust + 1900;
        out_.lastYear = lastYear_ + 1900;
        out_.seasons = seasonYears();
        BiologicalResult& bio = out_.biological;
        bio.averagingDays = p_.averagingDays;
        bio.yearsBetween = wholeYears(p_.yearsBetween);
        bio.scope = settings_.bioScope;
        // Without its 4-day flow the ammonia criterion cannot be evaluated: twice a missing
        // flow (-1) is no design flow.
        if (flow < 0 || (ammonia && fourDay < 0)) return;
        if (ammonia && 2 * fourDay < flow) {
            flow = 2 * fourDay;
            bio.twiceFourDay = true;
        }
        bio.flow = flow;
        bio.percentile = percentileOf(flow);
        Excursions excursions = countExcursions(bioAverages_, p_, flow);
        bio.excursionRate = ratePer(p_.yearsBetween, excursions.count);
        if (extras_.excursionRecord)
            out_.excursions = std::make_shared<const BiologicalExcursions>(
                BiologicalExcursions{dayBeforeStart_, std::move(excursions)});
    }

    double returnYearsOfBlock(std::size_t k) const {
        const auto* hydro = std::get_if<Hydrological>(&settings_.nonBiological);
        if (k < settings_.averagingReturnYears.size() && settings_.averagingReturnYears[k] > 0)
            return settings_.averagingReturnYears[k];
        return hydro ? hydro->returnYears : 0;
    }

    void averagingBlock(int days, double returnYears) {
        hydroFit_.reset();
        AveragingBlock block;
        block.days = days;
        std::visit(
            [&](const auto& kind) {
                using Kind = std::decay_t<decltype(kind)>;
                if constexpr (std::is_same_v<Kind, Hydrological>) {
                    block.kind = NonBiologicalKind::hydrological;
                    hydrologicalFlow(block, returnYears);
                } else if constexpr (std::is_same_v<Kind, ExplicitFlow>) {
                    block.kind = NonBiologicalKind::explicitFlow;
                    givenFlow(block, kind.cfs);
                } else {
                    block.kind = NonBiologicalKind::percentile;
                    givenFlow(block, flowBelowPercent(kind.percent));
                }
            },
            settings_.nonBiological);
        step(2);
        equivalentReturnPeriod(block);
        if (extras_.perYearTables) {
            perYearTable(days);
            if (table_.exists()) block.annualTable = table_.shownRows();
        }
        step(1);
        searching({});
        out_.blocks.push_back(std::move(block));
    }

    void hydrologicalFlow(AveragingBlock& block, double returnYears) {
        p_.mode = hydrologicalMode;
        p_.yearsBetween = returnYears;
        p_.averagingDays = block.days;
        block.returnYears = wholeYears(returnYears);
        const double flow = lowFlow(/*keepMinima=*/true);
        if (hydroFit_ && hydroFit_->fit.ok) block.fit = hydroFit_->fit;
        if (hydroFit_) {
            block.minima = table_.seasonMinima(hydroFit_->ny);
            block.trend = minimaTrend(block.minima);
        }
        if (flow < 0) return;
        if (flow >= infiniteFlow) {
            block.noFiniteFlow = true;
            return;
        }
        block.flow = flow;
        block.limits90 = confidenceLimits(block.fit, lpiii::lowFlowProbability(block.returnYears));
        block.percentile = percentileOf(flow);
        const std::vector<double>& averages = fourDayAverages();
        block.excursionRate = ratePer(excursionYears, excursionCount(averages, p_, flow));
    }

    // An explicit flow (or the flow of a percentile): its percentile and how often the
    // biological search's averages fall below it.
    void givenFlow(AveragingBlock& block, double flow) {
        block.flow = flow;
        block.percentile = percentileOf(flow);
        p_.averagingDays = bioM_;
        block.excursionRate = ratePer(excursionYears, excursionCount(bioAverages_, p_, flow));
    }

    // A biological search over 4 days has just averaged the series as the excursions of a
    // hydrological flow are counted: those averages are kept rather than made again.
    void keepCountingAverages(const std::vector<double>& averages) {
        if (path_ == SearchPath::reuse && p_.averagingDays == countingDays && !countAverages_)
            countAverages_ = averages;
    }

    // The 4-day averages on which a hydrological flow's excursions are counted.
    const std::vector<double>& fourDayAverages() {
        p_.mode = biologicalMode;
        p_.averagingDays = countingDays;
        if (path_ == SearchPath::literal || !countAverages_)
            countAverages_ = series_.recordDays == 0
                                 ? std::vector<double>(series_.days.begin(), series_.days.end())
                                 : searchAverages(series_, p_);
        return *countAverages_;
    }

    // The smallest whole return period whose xQy flow does not exceed the biological flow.
    void equivalentReturnPeriod(AveragingBlock& block) {
        const double target = out_.biological.flow.value_or(-1);
        p_.averagingDays = block.days;
        p_.mode = hydrologicalMode;
        p_.yearsBetween = 0;
        double flow = target + 0.1;
        while (seasonYears() > p_.yearsBetween && flow > target) {
            p_.yearsBetween += 1;
            searching(std::to_string(block.days) + "Q" +
                      std::to_string(wholeYears(p_.yearsBetween)));
            flow = lowFlow(/*keepMinima=*/false);
        }
        searching({});
        if (flow <= target + 0.0001 && flow != -1) {
            block.equivalent.years = wholeYears(p_.yearsBetween);
            block.equivalent.flow = flow;
            block.equivalent.percentile = percentileOf(flow);
        }
    }

    void perYearTable(int days) {
        p_.averagingDays = days;
        p_.mode = hydrologicalMode;
        for (int n = 1; n <= seasonYears(); ++n) {
            p_.yearsBetween = n;
            const double flow = lowFlow(/*keepMinima=*/false);
            AnnualMinimum& entry = table_.row(n);
            entry.returnPeriodFlow = static_cast<float>(flow);
            entry.returnYears = static_cast<float>(n);
        }
    }

    // The hydrological design flow of the current averaging and return period; with
    // keepMinima the minima go to the per-year table. The literal path repeats the whole
    // search; the reuse path averages, takes the minima and fits once per averaging period,
    // and only asks the fit for each return period.
    double lowFlow(bool keepMinima) {
        if (keepMinima) table_.rows();
        if (path_ == SearchPath::literal) {
            // As the search of a record without days: no flow.
            if (series_.recordDays == 0) return -1;
            const std::vector<double> averages = searchAverages(series_, p_);
            const AnnualMinima minima = annualMinima(averages, series_.calendar, p_.averagingDays);
            if (keepMinima) table_.keepMinima(minima);
            const int ny = minima.count();
            if (ny < p_.yearsBetween) return -1;
            return snapTinyFlow(lowFlowOfFit(p_, lib_, lib_.fit(minima.flows), ny));
        }
        if (!hydroFit_ || keepMinima) {
            const std::vector<double> averages = searchAverages(series_, p_);
            const AnnualMinima minima = annualMinima(averages, series_.calendar, p_.averagingDays);
            if (keepMinima) table_.keepMinima(minima);
            FittedMinima f;
            f.ny = minima.count();
            f.fit = lib_.fit(minima.flows);
            hydroFit_ = f;
        }
        // The engine's return periods are whole years, so the whole part is the key.
        const auto years = static_cast<std::size_t>(std::max(0.0, std::trunc(p_.yearsBetween)));
        std::vector<double>& flows = hydroFit_->flows;
        if (years >= flows.size()) flows.resize(years + 1, std::nan(""));
        if (std::isnan(flows[years]))
            flows[years] = snapTinyFlow(lowFlowOfFit(p_, lib_, hydroFit_->fit, hydroFit_->ny));
        return flows[years];
    }

    void step(int steps) const {
        if (progress_.blockSteps) progress_.blockSteps(steps);
    }
    void searching(const std::string& what) const {
        if (progress_.searching) progress_.searching(what);
    }

    const RunSettings& settings_;
    const LogPearsonLibrary& lib_;
    const GageProgress& progress_;
    const SearchPath path_;
    const GageExtras extras_;
    const int firstYear_;
    const int lastYear_;
    const int dayBeforeStart_;
    std::vector<double> days_;  // the gage's days, at least through the record's last
    DailySeries series_;
    // The parameters of the search under way; each step changes the ones it needs and
    // the later steps find the rest as the earlier ones left them.
    SearchParameters p_;
    GageResult out_;
    HarmonicMean harmonic_;
    PerYearTable table_;

    std::optional<FittedMinima> hydroFit_;              // of the current averaging period
    std::optional<std::vector<double>> countAverages_;  // 4-day averages of the gage
    std::vector<double> bioAverages_;                   // the biological search's averages
    int bioM_ = 0;
};

}  // namespace

bool GageResult::missingDesignFlow() const {
    if (shortRecord) return false;
    if (!biological.flow) return true;
    return std::any_of(blocks.begin(), blocks.end(), [](const AveragingBlock& b) {
        return b.kind == NonBiologicalKind::hydrological && !b.flow && !b.noFiniteFlow;
    });
}

GageResult computeGage(const GageSeries& series, const GageIdentity& identity,
                       const RunSettings& settings, const LogPearsonLibrary& lib,
                       const GageProgress& progress, SearchPath path, const GageExtras& extras) {
    return GageComputation(series, std::vector<double>(series.days), identity, settings, lib,
                           progress, path, extras)
        .compute();
}

GageResult computeGage(GageSeries&& series, const GageIdentity& identity,
                       const RunSettings& settings, const LogPearsonLibrary& lib,
                       const GageProgress& progress, SearchPath path, const GageExtras& extras) {
    std::vector<double> days = std::move(series.days);
    return GageComputation(series, std::move(days), identity, settings, lib, progress, path, extras)
        .compute();
}

}  // namespace vd::run
