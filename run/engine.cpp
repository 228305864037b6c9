#include "engine.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <optional>
#include <vector>

#include "errors.h"
#include "flow_reader.h"
#include "number_format.h"
#include "number_text.h"
#include "run_parameters.h"
#include "statistics.h"

namespace vd::run {
namespace {

constexpr int firstBlockColumn = 7;
constexpr int columnsPerBlock = 6;
constexpr int fixedColumns = 9;  // gage, period, days, zero/missing, 3 biological, harmonic pair
constexpr int minimumRecordDays = 365;
constexpr double daysPerYear = 365.25;
constexpr int excursionYears = 3;  // excursion rates of the non-biological flows are per 3 years

std::string yearsText(int years) {
    return std::to_string(years);
}

std::string percentText(double value) {
    return formatFixed(value, 2, 4) + "%";
}

// The hydrological search's work that does not depend on the return period: the x-day
// averages, their seasonal annual minima and the log-Pearson fit of them.
struct LowFlowFit {
    int ny = 0;
    LPFit fit;
    // Flows already asked for, by return period in years (the equivalent-return-period
    // search and the per-year table ask for the same ones); NaN where not yet known.
    std::vector<double> flows;
};

// The years of one gage row as the period choice gives them (season-end years as the
// table shows them, before the reader's shift to season-start years).
struct PeriodYears {
    int J1 = 1;
    int J2 = 0;  // J1 = 1, J2 = 0: the empty period
};

class Run {
  public:
    Run(const RunInput& input, const A193& lib, const ProgressFn& progress, SearchPath path)
        : in_(input),
          c_(input.controls),
          lib_(lib),
          progress_(progress),
          path_(path),
          s_(std::make_unique<CalcState>()) {
        s_->fileCache = input.files;
    }

    RunResult execute() {
        readControls();
        layOutTable();
        startProgress();
        findCommonYears();
        walkFiles();
        out_.tooshort = tooshort_;
        return std::move(out_);
    }

  private:
    // --- Controls -------------------------------------------------------------------------

    void readControls() {
        const SeasonDays days = seasonDays(c_.Edit2, c_.Edit1);
        out_.sday = s_->sday = days.sday;
        out_.eday = s_->eday = days.eday;
        out_.SYAdjust = SYAdjust_ = days.SYAdjust;
        periods_ = parseAveragingPeriods(c_.Edit3);
        for (const GageRow& r : in_.rows) used_ += r.use ? 1 : 0;
        // The results table, its per-year tables and excursion records have rows for 100
        // gages; say so before any work rather than stopping at the 101st gage.
        if (used_ > maxinfile)
            throw RangeError("Range check error: " + std::to_string(used_) +
                             " gages are in use; a calculation takes at most 100");
        // Every value a gage's calculation needs is refused here, before any file is read,
        // rather than in the middle of the run.
        if (used_ > 0) {
            bio_ = readBiological(c_);
            if (!periods_.distinct.empty()) nonbio_ = readNonBiological(c_);
        }
    }

    void layOutTable() {
        const int columns =
            fixedColumns + columnsPerBlock * static_cast<int>(periods_.distinct.size());
        out_.grid.assign(static_cast<std::size_t>(used_) + 1,
                         std::vector<std::string>(static_cast<std::size_t>(columns)));
        out_.rows.resize(static_cast<std::size_t>(used_));
        cell(0, 0) = "Gage";
        cell(1, 0) = "Period";
        cell(2, 0) = "Days in Record";
    }

    std::string& cell(int column, int row) {
        return out_.grid.at(static_cast<std::size_t>(row)).at(static_cast<std::size_t>(column));
    }

    // --- Progress -------------------------------------------------------------------------

    void startProgress() {
        nr_ = periods_.entries * used_ * 3;
        nd_ = 0;
        setCaption("Calculating - 0 of " + std::to_string(nr_));
        setGauge(0);
    }

    void setCaption(const std::string& caption) {
        caption_ = caption;
        if (progress_) progress_(caption_, gauge_);
    }

    void setGauge(int gauge) {
        gauge_ = gauge;
        if (progress_) progress_(caption_, gauge_);
    }

    void advance(int steps) {
        nd_ += steps;
        setGauge(nd_ * 100 / nr_);
    }

    std::string stepsCaption() const {
        return "Calculating " + std::to_string(nd_) + " of " + std::to_string(nr_);
    }

    // --- Periods --------------------------------------------------------------------------

    static bool isNA(const std::string& cellText) { return cellText == "N/A"; }

    // Latest first year, earliest last year and shortest span over the gages in use.
    void findCommonYears() {
        for (const GageRow& r : in_.rows) {
            if (!r.use || isNA(r.start) || isNA(r.end)) continue;
            const int start = toInteger(r.start);
            const int end = toInteger(r.end);
            j1c_ = std::max(j1c_, start);
            j2c_ = std::min(j2c_, end);
            jl_ = std::min(jl_, end - start);
        }
    }

    PeriodYears periodOf(const GageRow& r) const {
        // A gage without a period of its own gets the empty period whatever the choice.
        if (isNA(r.start) || isNA(r.end)) return {};
        switch (c_.MRG) {
            case 0:
                if (isNA(r.record)) return {};
                return {toInteger(r.record.substr(0, 4)) - 1900,
                        toInteger(r.record.size() > 5 ? r.record.substr(5, 4) : "") - 1900};
            case 1:
                // No gage in use has years of its own: there are no common years either.
                if (j2c_ == noCommonEnd) return {};
                return {j1c_ - 1900, j2c_ - 1900};
            case 2: {
                // As long as the shortest span in use, ending with the gage's own last year.
                const int J2 = toInteger(r.end) - 1900;
                return {J2 - jl_, J2};
            }
            case 3:
                return {toInteger(r.start) - 1900, toInteger(r.end) - 1900};
            case 4:
                return {toInteger(c_.MEdit1) - 1900, toInteger(c_.MEdit2) - 1900};
            default:
                throw RangeError();
        }
    }

    // --- Files ----------------------------------------------------------------------------

    void walkFiles() {
        const int rowCount = static_cast<int>(in_.rows.size());
        int gi = 0;
        while (gi < rowCount) {
            const int gages = in_.rows[static_cast<std::size_t>(gi)].gcount;
            if (gages < 1 || gi + gages > rowCount)
                throw CalcError("The gage table is damaged: row " + std::to_string(gi + 1) +
                                " claims " + std::to_string(gages) + " gages in its file");
            processFile(gi, gages);
            gi += gages;
        }
    }

    const GageRow& tableRow(int r) const { return in_.rows.at(static_cast<std::size_t>(r - 1)); }

    void processFile(int gi, int gages) {
        bool hasactive = false;
        for (int j = 1; j <= gages; ++j) hasactive = hasactive || tableRow(gi + j).use;
        if (!hasactive) return;

        for (int j = 1; j <= gages; ++j) {
            const PeriodYears years = periodOf(tableRow(gi + j));
            // The reader wants season-start years; the table shows the years seasons end in.
            s_->J1 = years.J1 - SYAdjust_;
            s_->J2 = years.J2 - SYAdjust_;
            s_->j1send[j] = s_->J1;
            s_->j2send[j] = s_->J2;
        }
        const GageRow& first = tableRow(gi + 1);
        s_->flowfile = first.path;
        s_->seasonStart = c_.Edit2;
        s_->seasonEnd = c_.Edit1;
        readFile();
        if (s_->sites < gages)
            throw CalcError("The file \"" + first.path + "\" now holds " +
                            std::to_string(s_->sites) + " gages instead of " +
                            std::to_string(gages) + ". Please add it to the table again.");

        out_.seasonLineShown = true;
        out_.seasonLineRed = !c_.CheckBox2;
        out_.seasonLine = std::string(c_.CheckBox2 ? "Climatic year" : "Season") + " defined as " +
                          c_.Edit2 + " - " + c_.Edit1;

        for (int j = 1; j <= gages; ++j)
            if (tableRow(gi + j).use) processGage(j);
    }

    void readFile() {
        const auto started = std::chrono::steady_clock::now();
        VDRead(*s_);
        out_.readSeconds +=
            std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    }

    // --- One gage -------------------------------------------------------------------------

    void processGage(int j) {
        const int i = ++i_;
        if (i > maxinfile) throw RangeError();  // results rows 1 to 100
        CalcState& s = *s_;
        s.M = bio_.M;
        s.XMR = bio_.XMR;
        s.XME = bio_.XME;
        s.XMI = bio_.XMI;
        s.K = 1;
        s.flows_idx = i;

        writeZeroMissing(j, i);
        LoadGage(s, j, i);
        if (s.NDAYS < minimumRecordDays) {
            cell(0, i) = s.sitenames[j];
            for (int col = 1; col < out_.columnCount(); ++col) cell(col, i) = "N/A";
            return;
        }
        hydroFit_.reset();
        countAverages_.reset();

        const double target = biologicalFlow(j, i);
        if (nonbio_.toggle != 4) {
            bioAverages_ = std::make_unique<darray>(s.x);
            bioM_ = s.M;
        }
        int ci = firstBlockColumn;
        for (const int MI : periods_.distinct) {
            averagingPeriodBlock(j, i, MI, ci, target);
            ci += columnsPerBlock;
        }
        cell(ci, 0) = "Harmonic";
        cell(ci + 1, 0) = "Percentile";
        cell(ci, i) = NiceFlow(s.hflow);
        cell(ci + 1, i) = percentText(100 - percentile(s, j, s.hflow));
        if (s.advpar[i])
            out_.rows[static_cast<std::size_t>(i - 1)].advpar =
                std::make_shared<const aparray>(*s.advpar[i]);
    }

    void writeZeroMissing(int j, int i) {
        const CalcState& s = *s_;
        int nmz = 0;
        int nm = 0;
        if (s.xbig[j]) {
            const darray& stored = *s.xbig[j];
            for (int k = 1; k <= s.ndaysbig[j]; ++k) {
                const double v = stored[k];
                if (v == 0 || v == unknown) ++nmz;
                if (v == unknown) ++nm;
            }
        }
        cell(3, i) = nmz > 0 ? formatThousands(nmz - nm) + "/" + formatThousands(nm) : "None";
    }

    // The biological design flow, with the ammonia rule; keeps its excursion record.
    // Returns the flow as shown (negative when none).
    double biologicalFlow(int j, int i) {
        CalcState& s = *s_;
        double vando2 = 1.0;
        if (bio_.ammonia) {
            s.M = 4;
            s.XME = 5;
            VDSearch(s, lib_);
            vando2 = s.vando;
            LoadXBig(s, j, i);
            s.M = 30;
            s.XME = 4;
        }
        VDSearch(s, lib_);

        cell(0, i) = s.sitenames[j];
        cell(1, i) = yearsText(s.J1 + SYAdjust_ + 1900) + "-" + yearsText(s.J2 + 1900);
        cell(2, i) = formatThousands(s.ndaysbig[j]);
        const int years = static_cast<int>(std::trunc(s.XMR));
        cell(3, 0) = "Zero/missing";
        cell(4, 0) = std::to_string(s.M) + "B" + std::to_string(years);
        cell(5, 0) = "Percentile";
        cell(6, 0) = "Excur. per " + std::to_string(years) + " Yrs";

        // Without its 4-day flow the ammonia criterion cannot be evaluated: twice a missing
        // flow (-1) is no design flow.
        if (s.vando < 0 || (bio_.ammonia && vando2 < 0)) {
            tooshort_ = true;
            cell(4, i) = "N/A";
            return -1;
        }
        if (bio_.ammonia && 2 * vando2 < s.vando) {
            s.vando = 2 * vando2;
            cell(4, i) = "2*4B3: " + NiceFlow(s.vando);
            Xcount(s, true, 2 * vando2);
        } else {
            cell(4, i) = NiceFlow(s.vando);
            cell(5, i) = percentText(100 - percentile(s, j, s.vando));
            const double count = Xcount(s, true, s.vando);
            cell(6, i) = formatFixed(count * s.XMR * daysPerYear / s.ndaysbig[j], 2, 4);
        }
        out_.rows[static_cast<std::size_t>(i - 1)].excursion =
            std::make_shared<const ExcursionRecord>(*s.excursions[i]);
        return s.vando;
    }

    // --- One averaging period -------------------------------------------------------------

    void averagingPeriodBlock(int j, int i, int MI, int ci, double target) {
        CalcState& s = *s_;
        hydroFit_.reset();
        switch (nonbio_.toggle) {
            case 4:
                hydrologicalFlow(j, i, MI, ci);
                break;
            case 5:
                cell(ci, 0) = "Given Flow";
                cell(ci + 1, 0) = "Percentile";
                cell(ci + 2, 0) = "Exc./ 3 Years";
                givenFlow(j, i, ci, nonbio_.flow);
                break;
            default:
                cell(ci, 0) = "Eq. Flow";
                cell(ci + 1, 0) = "Given Percentile";
                cell(ci + 2, 0) = "Exc./3 Years";
                givenFlow(j, i, ci, percentileflow(s, j, s.ndaysbig[j], nonbio_.percentile));
                break;
        }
        advance(2);
        equivalentReturnPeriod(j, i, MI, ci, target);
        perYearTable(j, i, MI);
        advance(1);
        setCaption(stepsCaption());
    }

    void hydrologicalFlow(int j, int i, int MI, int ci) {
        CalcState& s = *s_;
        s.K = 2;
        s.XMR = nonbio_.returnPeriod;
        s.M = MI;
        const int years = static_cast<int>(std::trunc(s.XMR));
        cell(ci, 0) = std::to_string(MI) + "Q" + std::to_string(years);
        cell(ci + 1, 0) = "Percentile";
        cell(ci + 2, 0) = "Excur. per 3 Yrs";
        const double flow = lowFlow(j, i, /*storeAP=*/true);
        if (flow < 0) {
            cell(ci, i) = "N/A";
            tooshort_ = true;
            return;
        }
        cell(ci, i) = NiceFlow(flow);
        cell(ci + 1, i) = percentText(100 - percentile(s, j, flow));
        loadFourDayAverages(j, i);
        const double count = Xcount(s, false, flow);
        cell(ci + 2, i) = excursionsPer3Years(j, count);
    }

    // An explicit flow (or the flow of a percentile): its percentile and how often the
    // biological search's averages fall below it.
    void givenFlow(int j, int i, int ci, double flow) {
        CalcState& s = *s_;
        cell(ci, i) = NiceFlow(flow);
        cell(ci + 1, i) = percentText(100 - percentile(s, j, flow));
        // Every block counts on the same averages, whatever an earlier block left in x.
        s.x = *bioAverages_;
        s.M = bioM_;
        const double count = Xcount(s, false, flow);
        cell(ci + 2, i) = excursionsPer3Years(j, count);
    }

    std::string excursionsPer3Years(int j, double count) const {
        return formatFixed(count * excursionYears * daysPerYear / s_->ndaysbig[j], 2, 4);
    }

    // The 4-day averages on which a hydrological flow's excursions are counted.
    void loadFourDayAverages(int j, int i) {
        CalcState& s = *s_;
        s.K = 1;
        s.M = 4;
        if (path_ == SearchPath::literal || !countAverages_) {
            LoadXBig(s, j, i);
            s.averageonlyflag = true;
            VDSearch(s, lib_);
            s.averageonlyflag = false;
            if (path_ == SearchPath::reuse) countAverages_ = std::make_unique<darray>(s.x);
        } else {
            s.x = *countAverages_;
        }
    }

    // The smallest whole return period whose xQy flow does not exceed the biological flow.
    void equivalentReturnPeriod(int j, int i, int MI, int ci, double target) {
        CalcState& s = *s_;
        s.M = MI;
        s.K = 2;
        s.XMR = 0;
        double flow = target + 0.1;
        while (s.J2 - s.J1 > s.XMR && flow > target) {
            s.XMR += 1;
            setCaption(stepsCaption() + " - " + std::to_string(MI) + "Q" +
                       std::to_string(static_cast<int>(std::trunc(s.XMR))));
            flow = lowFlow(j, i, /*storeAP=*/false);
        }
        setCaption(stepsCaption());
        cell(ci + 3, 0) = std::to_string(MI) + "Qy Type";
        cell(ci + 4, 0) = std::to_string(MI) + "Qy";
        cell(ci + 5, 0) = "Percentile";
        if (flow <= target + 0.0001 && flow != -1) {
            cell(ci + 3, i) =
                std::to_string(MI) + "Q" + std::to_string(static_cast<int>(std::trunc(s.XMR)));
            cell(ci + 4, i) = NiceFlow(flow);
            cell(ci + 5, i) = percentText(100 - percentile(s, j, flow));
        } else {
            cell(ci + 3, i) = "N/A";
        }
    }

    void perYearTable(int j, int i, int MI) {
        CalcState& s = *s_;
        s.M = MI;
        s.K = 2;
        for (int n = 1; n <= s.J2 - s.J1; ++n) {
            s.XMR = n;
            const double flow = lowFlow(j, i, /*storeAP=*/false);
            apentry& entry = advparRow(s, i)[n];
            entry[3] = static_cast<float>(flow);
            entry[4] = static_cast<float>(n);
        }
    }

    // The hydrological (K = 2) design flow of averaging period M and return period XMR.
    // The literal path repeats the whole search; the reuse path averages, takes the minima
    // and fits once per gage and averaging period, and only asks the fit for each XMR.
    double lowFlow(int j, int i, bool storeAP) {
        CalcState& s = *s_;
        if (path_ == SearchPath::literal) {
            LoadXBig(s, j, i);
            s.StoreAP = storeAP;
            VDSearch(s, lib_);
            s.StoreAP = false;
            return s.vando;
        }
        if (!hydroFit_ || storeAP) {
            LoadXBig(s, j, i);
            s.StoreAP = storeAP;
            if (storeAP) advparRow(s, i);
            HarmonicMean(s);
            AverageInPlace(s);
            lfarray minima;
            LowFlowFit f;
            f.ny = AnnualMinima(s, minima);
            s.StoreAP = false;
            f.fit = lib_.fit(f.ny, minima);
            hydroFit_ = f;
        }
        // The engine's return periods are whole years, so the whole part is the key.
        const auto years = static_cast<std::size_t>(std::max(0.0, std::trunc(s.XMR)));
        std::vector<double>& flows = hydroFit_->flows;
        if (years >= flows.size()) flows.resize(years + 1, std::nan(""));
        if (std::isnan(flows[years]))
            flows[years] = SnapTinyFlow(LowFlowOfFit(s, lib_, hydroFit_->fit, hydroFit_->ny));
        s.vando = flows[years];
        return s.vando;
    }

    const RunInput& in_;
    const ControlTexts& c_;
    const A193& lib_;
    const ProgressFn& progress_;
    const SearchPath path_;
    std::unique_ptr<CalcState> s_;
    RunResult out_;

    int SYAdjust_ = 0;
    AveragingPeriods periods_;
    BiologicalParameters bio_;
    NonBiologicalParameters nonbio_;
    int used_ = 0;

    int nr_ = 0;
    int nd_ = 0;
    std::string caption_;
    int gauge_ = 0;

    int j1c_ = 0;
    static constexpr int noCommonEnd = 9999;
    int j2c_ = noCommonEnd;
    int jl_ = 9999;
    int i_ = 0;
    bool tooshort_ = false;

    std::optional<LowFlowFit> hydroFit_;     // of the current gage and averaging period
    std::unique_ptr<darray> countAverages_;  // 4-day averages of the current gage
    std::unique_ptr<darray> bioAverages_;    // the biological search's averages
    int bioM_ = 0;
};

}  // namespace

RunResult runCalculation(const RunInput& input, const A193& lib, const ProgressFn& progress,
                         SearchPath path) {
    return Run(input, lib, progress, path).execute();
}

}  // namespace vd::run
