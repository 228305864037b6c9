#include "gage_computation.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <optional>
#include <vector>

#include "confidence_limits.h"
#include "log_pearson_library.h"
#include "lpiii/quantile.h"
#include "minima_trend.h"
#include "season_date.h"
#include "season_windows.h"
#include "statistics.h"

namespace vd::run {
namespace {

constexpr double daysPerYear = 365.25;
constexpr int excursionYears = 3;  // excursion rates of the non-biological flows are per 3 years
constexpr int countingDays = 4;    // ... counted on the 4-day biological averages
constexpr int slot = 1;            // the gage's place in its own store and results row
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

// The per-year entries that hold a year, as the advanced report reads them.
std::shared_ptr<const std::vector<AnnualMinimum>> annualTableOf(const aparray& table) {
    auto rows = std::make_shared<std::vector<AnnualMinimum>>();
    for (int n = 1; n <= maxyears && table[n][1] > noYear; ++n)
        rows->push_back({table[n][1], table[n][2], table[n][3], table[n][4]});
    return rows;
}

// The season-years' minima the search put in rows 1..ny of the per-year table. A minimum the
// fit counts as a zero year is 0 here too: averaging leaves residues of rounding on runs of
// zero days, and the trend test must see those years as the ties they are.
std::vector<SeasonMinimum> seasonMinimaOf(const aparray& table, int ny) {
    constexpr double yearIndexBase = 1900;
    std::vector<SeasonMinimum> minima;
    minima.reserve(static_cast<std::size_t>(std::max(0, ny)));
    for (int n = 1; n <= std::min(ny, maxyears); ++n) {
        const double flow = table[n][2];
        minima.push_back({yearIndexBase + table[n][1], flow <= zeroYearFlow ? 0.0 : flow});
    }
    return minima;
}

class GageComputation {
  public:
    GageComputation(const GageSeries& series, std::vector<double> days,
                    const GageIdentity& identity, const RunSettings& settings,
                    const LogPearsonLibrary& lib, const GageProgress& progress, SearchPath path,
                    const GageExtras& extras)
        : settings_(settings), lib_(lib), progress_(progress), path_(path), extras_(extras) {
        out_.name = series.name;
        out_.file = identity.file;
        out_.gageInFile = identity.gageInFile;
        load(series, std::move(days));
    }

    GageResult compute() {
        CalcState& s = *s_;
        countZeroAndMissing();
        LoadGage(s, slot, slot);
        if (seasonYears() < 1) {
            out_.shortRecord = true;
            return std::move(out_);
        }
        if (extras_.dailyFlows) keepDailyFlows();
        biologicalFlow();
        if (!std::holds_alternative<Hydrological>(settings_.nonBiological)) {
            bioAverages_ = std::make_unique<darray>(s.x);
            bioM_ = p_.averagingDays;
        }
        for (std::size_t k = 0; k < settings_.averagingDays.size(); ++k)
            averagingBlock(settings_.averagingDays[k], returnYearsOfBlock(k));
        out_.harmonicMean = s.hflow;
        out_.harmonicMeanZeroAdjusted = harmonicZeroAdjusted_;
        out_.harmonicPercentile = percentileOf(s.hflow);
        if (!out_.blocks.empty()) out_.annualTable = out_.blocks.back().annualTable;
        return std::move(out_);
    }

  private:
    // The gage alone in a store of its own, with the season the statistics work in.
    void load(const GageSeries& series, std::vector<double> days) {
        CalcState& s = *s_;
        const SeasonDate start = parseSeasonDate(settings_.season.startText);
        const SeasonDate end = parseSeasonDate(settings_.season.endText);
        s.m1 = start.month;
        s.d1 = start.day;
        s.m2 = end.month;
        s.d2 = end.day;
        s.sday = settings_.season.startDay;
        s.eday = settings_.season.endDay;
        s.store.sites = slot;
        storeGage(s.store, slot, series, std::move(days));
    }

    // The season-years of the period: J2 is the year the last season ends in, J1 the year
    // the first one starts in, so a season within one calendar year counts its own year too.
    int seasonYears() const { return s_->J2 - s_->J1 + 1 - settings_.season.yearAdjust; }

    bool withinSeason() const { return settings_.bioScope == BioScope::season; }

    double percentileOf(double flow) const {
        return 100 -
               (withinSeason() ? seasonPercentile(*s_, slot, flow) : percentile(*s_, slot, flow));
    }

    // The flow below which `percent` of the days lie.
    double flowAtPercentile(double percent) const {
        return withinSeason() ? seasonPercentileFlow(*s_, slot, percent)
                              : percentileflow(*s_, slot, s_->store.ndaysbig[slot], percent);
    }

    // Excursions per `years` years of record; within the season, per `years` season-years.
    double ratePer(double years, double count) const {
        if (withinSeason()) return count * years / std::max(1, SeasonYearCount(*s_));
        return count * years * daysPerYear / s_->store.ndaysbig[slot];
    }

    void countZeroAndMissing() {
        const CalcState& s = *s_;
        const darray& stored = *s.store.xbig[slot];
        int zeroOrMissing = 0;
        int missing = 0;
        for (int k = 1; k <= s.store.ndaysbig[slot]; ++k) {
            const double v = stored[k];
            if (v == 0 || v == unknown) ++zeroOrMissing;
            if (v == unknown) ++missing;
        }
        out_.zeroDays = zeroOrMissing - missing;
        out_.missingDays = missing;
        out_.daysInRecord = s.store.ndaysbig[slot];
    }

    void keepDailyFlows() {
        const CalcState& s = *s_;
        auto daily = std::make_shared<DailyFlows>();
        daily->firstDay = s.JD1 + 1;
        daily->flows.reserve(static_cast<std::size_t>(std::max(0, s.NDAYS)));
        const darray& stored = *s.store.xbig[slot];
        for (int k = 1; k <= s.NDAYS; ++k)
            daily->flows.push_back(stored[k] == unknown ? std::nan("") : stored[k]);
        if (withinSeason()) out_.seasonDays = seasonDaysOf(daily->flows);
        out_.daily = std::move(daily);
    }

    // The same days the percentiles within the season count.
    std::shared_ptr<const std::vector<double>> seasonDaysOf(
        const std::vector<double>& flows) const {
        auto days = std::make_shared<std::vector<double>>();
        for (const SeasonWindowRange& r : SeasonWindows(*s_, 1))
            for (int i = r.first; i <= r.last; ++i)
                days->push_back(flows.at(static_cast<std::size_t>(i - 1)));
        return days;
    }

    void setBiologicalParameters() {
        CalcState& s = *s_;
        const BiologicalCriterion& b = settings_.biological;
        p_.averagingDays = b.averagingDays;
        p_.yearsBetween = b.yearsBetween;
        p_.excursionsPerCluster = b.excursionsPerCluster;
        p_.clusterDays = b.clusterDays;
        p_.mode = biologicalMode;
        p_.withinSeason = withinSeason();
        s.flows_idx = slot;
    }

    // The biological design flow, with the ammonia rule; keeps its excursion record.
    void biologicalFlow() {
        CalcState& s = *s_;
        setBiologicalParameters();
        const bool ammonia = settings_.biological.ammoniaRule();
        double fourDay = 1.0;
        if (ammonia) {
            p_.averagingDays = 4;
            p_.excursionsPerCluster = 5;
            VDSearch(s, p_, lib_);
            keepCountingAverages();
            fourDay = s.vando;
            LoadXBig(s, slot, slot);
            p_.averagingDays = 30;
            p_.excursionsPerCluster = 4;
        }
        VDSearch(s, p_, lib_);
        // The search took the harmonic mean of the daily series before averaging it.
        harmonicZeroAdjusted_ = ZeroAdjustedHarmonicMean(s);
        keepCountingAverages();
        out_.firstYear = s.J1 + settings_.season.yearAdjust + 1900;
        out_.lastYear = s.J2 + 1900;
        out_.seasons = seasonYears();
        BiologicalResult& bio = out_.biological;
        bio.averagingDays = p_.averagingDays;
        bio.yearsBetween = wholeYears(p_.yearsBetween);
        bio.scope = settings_.bioScope;
        // Without its 4-day flow the ammonia criterion cannot be evaluated: twice a missing
        // flow (-1) is no design flow.
        if (s.vando < 0 || (ammonia && fourDay < 0)) return;
        if (ammonia && 2 * fourDay < s.vando) {
            s.vando = 2 * fourDay;
            bio.twiceFourDay = true;
        }
        bio.flow = s.vando;
        bio.percentile = percentileOf(s.vando);
        bio.excursionRate = ratePer(p_.yearsBetween, Xcount(s, p_, true, s.vando));
        if (extras_.excursionRecord)
            out_.excursions = std::make_shared<const ExcursionRecord>(*s.excursions[slot]);
    }

    double returnYearsOfBlock(std::size_t k) const {
        const auto* hydro = std::get_if<Hydrological>(&settings_.nonBiological);
        if (k < settings_.averagingReturnYears.size() && settings_.averagingReturnYears[k] > 0)
            return settings_.averagingReturnYears[k];
        return hydro ? hydro->returnYears : 0;
    }

    void averagingBlock(int days, double returnYears) {
        CalcState& s = *s_;
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
                    givenFlow(block, flowAtPercentile(kind.percent));
                }
            },
            settings_.nonBiological);
        step(2);
        equivalentReturnPeriod(block);
        if (extras_.perYearTables) {
            perYearTable(days);
            if (s.advpar[slot]) block.annualTable = annualTableOf(*s.advpar[slot]);
        }
        step(1);
        searching({});
        out_.blocks.push_back(std::move(block));
    }

    void hydrologicalFlow(AveragingBlock& block, double returnYears) {
        CalcState& s = *s_;
        p_.mode = hydrologicalMode;
        p_.yearsBetween = returnYears;
        p_.averagingDays = block.days;
        block.returnYears = wholeYears(returnYears);
        const double flow = lowFlow(/*storeAP=*/true);
        if (hydroFit_ && hydroFit_->fit.ok) block.fit = hydroFit_->fit;
        if (hydroFit_) {
            block.minima = seasonMinimaOf(advparRow(s, slot), hydroFit_->ny);
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
        loadFourDayAverages();
        block.excursionRate = ratePer(excursionYears, Xcount(s, p_, false, flow));
    }

    // An explicit flow (or the flow of a percentile): its percentile and how often the
    // biological search's averages fall below it.
    void givenFlow(AveragingBlock& block, double flow) {
        CalcState& s = *s_;
        block.flow = flow;
        block.percentile = percentileOf(flow);
        // Every block counts on the same averages, whatever an earlier block left in x.
        s.x = *bioAverages_;
        p_.averagingDays = bioM_;
        block.excursionRate = ratePer(excursionYears, Xcount(s, p_, false, flow));
    }

    // A biological search over 4 days has just averaged the series as the excursions of a
    // hydrological flow are counted: those averages are kept rather than made again.
    void keepCountingAverages() {
        if (path_ == SearchPath::reuse && p_.averagingDays == countingDays && !countAverages_)
            countAverages_ = std::make_unique<darray>(s_->x);
    }

    // The 4-day averages on which a hydrological flow's excursions are counted.
    void loadFourDayAverages() {
        CalcState& s = *s_;
        p_.mode = biologicalMode;
        p_.averagingDays = countingDays;
        if (path_ == SearchPath::literal || !countAverages_) {
            LoadXBig(s, slot, slot);
            s.averageonlyflag = true;
            VDSearch(s, p_, lib_);
            s.averageonlyflag = false;
            if (path_ == SearchPath::reuse) countAverages_ = std::make_unique<darray>(s.x);
        } else {
            s.x = *countAverages_;
        }
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
            flow = lowFlow(/*storeAP=*/false);
        }
        searching({});
        if (flow <= target + 0.0001 && flow != -1) {
            block.equivalent.years = wholeYears(p_.yearsBetween);
            block.equivalent.flow = flow;
            block.equivalent.percentile = percentileOf(flow);
        }
    }

    void perYearTable(int days) {
        CalcState& s = *s_;
        p_.averagingDays = days;
        p_.mode = hydrologicalMode;
        for (int n = 1; n <= seasonYears(); ++n) {
            p_.yearsBetween = n;
            const double flow = lowFlow(/*storeAP=*/false);
            apentry& entry = advparRow(s, slot)[n];
            entry[3] = static_cast<float>(flow);
            entry[4] = static_cast<float>(n);
        }
    }

    // The hydrological (K = 2) design flow of averaging period M and return period XMR.
    // The literal path repeats the whole search; the reuse path averages, takes the minima
    // and fits once per averaging period, and only asks the fit for each XMR.
    double lowFlow(bool storeAP) {
        CalcState& s = *s_;
        if (path_ == SearchPath::literal) {
            LoadXBig(s, slot, slot);
            s.StoreAP = storeAP;
            VDSearch(s, p_, lib_);
            s.StoreAP = false;
            return s.vando;
        }
        if (!hydroFit_ || storeAP) {
            LoadXBig(s, slot, slot);
            s.StoreAP = storeAP;
            if (storeAP) advparRow(s, slot);
            // The harmonic mean (hflow) is the stored series' own: the biological search
            // took it from the same series before any averaging period is computed.
            AverageInPlace(s, p_);
            lfarray minima;
            FittedMinima f;
            f.ny = AnnualMinima(s, p_, minima);
            s.StoreAP = false;
            f.fit = lib_.fit(f.ny, minima);
            hydroFit_ = f;
        }
        // The engine's return periods are whole years, so the whole part is the key.
        const auto years = static_cast<std::size_t>(std::max(0.0, std::trunc(p_.yearsBetween)));
        std::vector<double>& flows = hydroFit_->flows;
        if (years >= flows.size()) flows.resize(years + 1, std::nan(""));
        if (std::isnan(flows[years]))
            flows[years] = SnapTinyFlow(LowFlowOfFit(p_, lib_, hydroFit_->fit, hydroFit_->ny));
        s.vando = flows[years];
        return s.vando;
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
    std::unique_ptr<CalcState> s_ = std::make_unique<CalcState>();
    // The parameters of the search under way; each step changes the ones it needs and
    // the later steps find the rest as the earlier ones left them.
    SearchParameters p_;
    GageResult out_;

    std::optional<FittedMinima> hydroFit_;   // of the current averaging period
    std::unique_ptr<darray> countAverages_;  // 4-day averages of the gage
    std::unique_ptr<darray> bioAverages_;    // the biological search's averages
    int bioM_ = 0;
    double harmonicZeroAdjusted_ = 0;
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
