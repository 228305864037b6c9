#include "engine.h"

#include <algorithm>
#include <chrono>

#include "errors.h"
#include "flow_reader.h"
#include "number_text.h"
#include "results_table.h"

namespace vd::run {
namespace {

// The years of one gage row as the period choice gives them (season-end years as the
// table shows them, before the reader's shift to season-start years).
struct PeriodYears {
    int J1 = 1;
    int J2 = 0;  // J1 = 1, J2 = 0: the empty period
};

bool isNA(const std::string& cellText) {
    return cellText == "N/A";
}

int gagesInUse(const std::vector<GageRow>& rows) {
    return static_cast<int>(
        std::count_if(rows.begin(), rows.end(), [](const GageRow& r) { return r.use; }));
}

class TableRun {
  public:
    TableRun(const RunInput& input, const LogPearsonLibrary& lib, const ProgressFn& progress,
             SearchPath path)
        : in_(input), lib_(lib), progress_(progress), path_(path) {}

    RunResult execute() {
        readSettings();
        startProgress();
        findCommonYears();
        walkFiles();
        out_.tooshort = std::any_of(out_.gages.begin(), out_.gages.end(),
                                    [](const GageResult& g) { return g.missingDesignFlow(); });
        out_.grid = resultsCells(out_.gages, out_.settings);
        return std::move(out_);
    }

  private:
    void readSettings() {
        const int used = gagesInUse(in_.rows);
        // The results table, its per-year tables and excursion records have rows for 100
        // gages; say so before any work rather than stopping at the 101st gage.
        if (used > maxinfile)
            throw Error(ErrorCode::range, "Range check error: " + std::to_string(used) +
                                              " gages are in use; a calculation takes at most 100");
        // Every value a gage's calculation needs is refused here, before any file is read,
        // rather than in the middle of the run.
        out_.settings = settingsFromTexts(
            in_.texts, used > 0 ? SettingsScope::everything : SettingsScope::seasonAndPeriods);
        used_ = used;
    }

    // --- Progress -------------------------------------------------------------------------

    void startProgress() {
        nr_ = out_.settings.averagingEntries * used_ * 3;
        nd_ = 0;
        setCaption("Calculating - 0 of " + std::to_string(nr_));
        setGauge(0);
        gageProgress_.blockSteps = [this](int steps) {
            nd_ += steps;
            setGauge(nd_ * 100 / nr_);
        };
        gageProgress_.searching = [this](const std::string& what) {
            setCaption(what.empty() ? stepsCaption() : stepsCaption() + " - " + what);
        };
    }

    void setCaption(const std::string& caption) {
        caption_ = caption;
        if (progress_) progress_(caption_, gauge_);
    }

    void setGauge(int gauge) {
        gauge_ = gauge;
        if (progress_) progress_(caption_, gauge_);
    }

    std::string stepsCaption() const {
        return "Calculating " + std::to_string(nd_) + " of " + std::to_string(nr_);
    }

    // --- Periods --------------------------------------------------------------------------

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
        const PeriodChoice& p = out_.settings.period;
        switch (p.kind) {
            case PeriodKind::all:
                if (isNA(r.record)) return {};
                return {toInteger(r.record.substr(0, 4)) - 1900,
                        toInteger(r.record.size() > 5 ? r.record.substr(5, 4) : "") - 1900};
            case PeriodKind::common:
                // No gage in use has years of its own: there are no common years either.
                if (j2c_ == noCommonEnd) return {};
                return {j1c_ - 1900, j2c_ - 1900};
            case PeriodKind::longest: {
                // As long as the shortest span in use, ending with the gage's own last year.
                const int J2 = toInteger(r.end) - 1900;
                return {J2 - jl_, J2};
            }
            case PeriodKind::table:
                return {toInteger(r.start) - 1900, toInteger(r.end) - 1900};
            case PeriodKind::years:
                return {p.firstYear - 1900, p.lastYear - 1900};
        }
        throw Error(ErrorCode::range);
    }

    // --- Files ----------------------------------------------------------------------------

    void walkFiles() {
        const int rowCount = static_cast<int>(in_.rows.size());
        int gi = 0;
        while (gi < rowCount) {
            const int gages = in_.rows[static_cast<std::size_t>(gi)].gcount;
            if (gages < 1 || gi + gages > rowCount)
                throw Error(ErrorCode::calculation,
                            "The gage table is damaged: row " + std::to_string(gi + 1) +
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

        const int yearAdjust = out_.settings.season.yearAdjust;
        GageYears years;
        for (int j = 1; j <= gages; ++j) {
            const PeriodYears p = periodOf(tableRow(gi + j));
            // The reader wants season-start years; the table shows the years seasons end in.
            years.first.push_back(p.J1 - yearAdjust);
            years.last.push_back(p.J2 - yearAdjust);
        }
        const GageRow& first = tableRow(gi + 1);
        std::vector<GageSeries> series = readFile(first.path, years);
        if (static_cast<int>(series.size()) < gages)
            throw Error(ErrorCode::calculation, "The file \"" + first.path + "\" now holds " +
                                                    std::to_string(series.size()) +
                                                    " gages instead of " + std::to_string(gages) +
                                                    ". Please add it to the table again.");
        out_.seasonLineShown = true;

        for (int j = 1; j <= gages; ++j) {
            if (!tableRow(gi + j).use) continue;
            out_.gages.push_back(computeGage(std::move(series[static_cast<std::size_t>(j - 1)]),
                                             {first.path, j}, out_.settings, lib_, gageProgress_,
                                             path_));
        }
    }

    std::vector<GageSeries> readFile(const std::string& path, const GageYears& years) {
        const auto started = std::chrono::steady_clock::now();
        const Season& season = out_.settings.season;
        std::vector<GageSeries> series =
            readGageSeries(path, season.startText, season.endText, years, in_.files.get());
        out_.readSeconds +=
            std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
        return series;
    }

    const RunInput& in_;
    const LogPearsonLibrary& lib_;
    const ProgressFn& progress_;
    const SearchPath path_;
    RunResult out_;
    int used_ = 0;
    GageProgress gageProgress_;

    int nr_ = 0;
    int nd_ = 0;
    std::string caption_;
    int gauge_ = 0;

    int j1c_ = 0;
    static constexpr int noCommonEnd = 9999;
    int j2c_ = noCommonEnd;
    int jl_ = 9999;
};

}  // namespace

RunResult runCalculation(const RunInput& input, const LogPearsonLibrary& lib,
                         const ProgressFn& progress, SearchPath path) {
    return TableRun(input, lib, progress, path).execute();
}

}  // namespace vd::run
