#include "results_view.h"

#include <cctype>
#include <variant>

#include "number_format.h"
#include "trend_text.h"

namespace vd::run {
namespace {

bool isYear(const std::string& text, std::size_t from) {
    if (text.size() < from + 4) return false;
    for (std::size_t i = from; i < from + 4; ++i)
        if (!std::isdigit(static_cast<unsigned char>(text[i]))) return false;
    return true;
}

constexpr int firstBlockColumn = 7;
constexpr int columnsPerBlock = 6;

std::string str(int n) {
    return std::to_string(n);
}

// A whole number kept as double (cluster days, excursions per cluster), without decimals.
std::string whole(double v) {
    return std::to_string(static_cast<long long>(v));
}

std::string wholeRecordNote(const Season& season) {
    if (!seasonShorterThanYear(season)) return {};
    return " Computed over the whole record of the period, not only the season " +
           season.startText + " - " + season.endText +
           "; only the annual minima of the xQy flows follow the season.";
}

// The note of the values that always cover the whole record (the days, the harmonic mean).
std::string recordOnlyNote(const RunSettings& settings) {
    if (settings.bioScope == BioScope::record) return wholeRecordNote(settings.season);
    return " Over the whole record of the period, not only the season " +
           settings.season.startText + " - " + settings.season.endText + ".";
}

// The note of the values that follow the scope: the whole record's, or the season's.
std::string scopeNote(const RunSettings& settings) {
    if (settings.bioScope == BioScope::record) return wholeRecordNote(settings.season);
    return " Computed within the season " + settings.season.startText + " - " +
           settings.season.endText +
           " only: its days, the averages whose days all lie in it, and rates per "
           "season-year.";
}

// A gage with zero days has a second harmonic mean, the one used for streams that dry up.
std::string zeroAdjustedHarmonicNote(const RunResult& r, int gridRow) {
    const std::string how =
        " Zero-adjusted harmonic mean: the harmonic mean of the nonzero days times the share "
        "of nonzero days among the days with a value";
    if (gridRow < 1 || gridRow > r.dataRowCount()) return how + ".";
    const GageResult& g = r.gage(gridRow);
    if (g.shortRecord || g.zeroDays == 0) return {};
    return how + ": " + NiceFlow(g.harmonicMeanZeroAdjusted) + " cfs.";
}

const char* const percentileSentence =
    "the percent of the period's days whose daily flow is below it.";

// The gage whose numbers explain a column: the row's own, or the first computed one.
const GageResult* gageFor(const RunResult& r, int gridRow) {
    if (gridRow > 0 && gridRow <= r.dataRowCount() && !r.gage(gridRow).shortRecord)
        return &r.gage(gridRow);
    for (const GageResult& g : r.gages)
        if (!g.shortRecord) return &g;
    return nullptr;
}

std::string biologicalHint(const RunResult& r, const GageResult& g, int gridRow) {
    const BiologicalCriterion& c = r.settings.biological;
    const BiologicalResult& b = g.biological;
    const std::string clusters = "excursions counted in " + whole(c.clusterDays) +
                                 "-day clusters of at most " + whole(c.excursionsPerCluster);
    std::string hint = "Biological design flow: the " + str(b.averagingDays) +
                       "-day average flow may fall below it no more than once in " +
                       str(b.yearsBetween) + " years on average, " + clusters + ".";
    if (c.ammoniaRule())
        hint +=
            " For ammonia the flow is the lower of this 30-day flow and twice the 4-day "
            "flow (4B3, clusters of at most 5), shown as \"2*4B3: ...\".";
    if (gridRow > 0 && b.twiceFourDay)
        hint =
            "2*4B3: twice the 4-day biological flow (the 4-day average may fall below the "
            "4-day flow no more than once in 3 years). The ammonia criterion took it because "
            "it is lower than the 30-day flow 30B3; its percentile and excursions (of the "
            "30-day averages) follow.";
    return hint;
}

// A gage's own xQy hint adds how sure the flow is and whether its minima drift.
std::string limitsAndTrend(const AveragingBlock& b) {
    std::string text;
    if (b.limits90)
        text += " 90 % confidence limits: " + NiceFlow(b.limits90->lower) + " to " +
                NiceFlow(b.limits90->upper) + " cfs.";
    if (b.kind == NonBiologicalKind::hydrological && b.fit.years() > 0)
        text += " Annual minima " + trendText(b.trend) +
                " (every season-year, zero years as ties; Theil-Sen slope, two-sided "
                "Mann-Kendall test).";
    return text;
}

std::string blockHint(const RunResult& r, const GageResult& g, const AveragingBlock& b, int part,
                      int gridRow) {
    const std::string x = str(b.days);
    const int bioDays = g.biological.averagingDays;
    std::string flowName;
    switch (b.kind) {
        case NonBiologicalKind::hydrological:
            flowName = "the " + x + "Q" + str(b.returnYears) + " flow";
            break;
        case NonBiologicalKind::explicitFlow:
            flowName = "the given flow";
            break;
        case NonBiologicalKind::percentile:
            flowName = "the flow at the given percentile";
            break;
    }
    switch (part) {
        case 0:
            if (gridRow > 0 && b.noFiniteFlow)
                return "N/A: with a return period of 1 year and a skew of zero or more, the "
                       "fitted distribution has no finite " +
                       x + "Q1 flow.";
            if (b.kind == NonBiologicalKind::explicitFlow)
                return "Given flow: the explicit flow value typed, in cfs.";
            if (b.kind == NonBiologicalKind::percentile)
                return "Equivalent flow: the daily flow of the record at the given percentile.";
            return "Hydrological design flow " + x + "Q" + str(b.returnYears) + ": the lowest " +
                   x + "-day average flow of a season falls below it once in " +
                   str(b.returnYears) +
                   " years on average (log-Pearson type III fit of the seasonal annual minima)." +
                   (gridRow > 0 ? limitsAndTrend(b) : std::string());
        case 1:
            if (b.kind == NonBiologicalKind::percentile)
                return "Given percentile: the percent of the period's days whose daily flow is "
                       "below the equivalent flow." +
                       scopeNote(r.settings);
            return "Percentile of " + flowName + ": " + percentileSentence + scopeNote(r.settings);
        case 2:
            return "Excursions per 3 years: how often the " +
                   (b.kind == NonBiologicalKind::hydrological ? std::string("4") : str(bioDays)) +
                   "-day average flow fell below " + flowName +
                   ", per 3 years of record, in clusters as the biological flow counts them." +
                   scopeNote(r.settings);
        case 3:
            return x +
                   "Qy Type: the equivalent return period, the shortest return period y "
                   "whose " +
                   x +
                   "Qy flow is at or below the biological design flow: the biological flow "
                   "is about as rare as a " +
                   x + "Qy flow. N/A when no return period within the record reaches it.";
        case 4:
            return x + "Qy: the " + x + "-day flow of the equivalent return period.";
        default:
            return "Percentile of the " + x + "Qy flow: " + percentileSentence +
                   scopeNote(r.settings);
    }
}

}  // namespace

std::string cellHint(const RunResult& r, int col, int gridRow) {
    const bool data = gridRow > 0 && gridRow <= r.dataRowCount();
    const Season& season = r.settings.season;
    if (col == 0)
        return data ? r.grid.at(static_cast<std::size_t>(gridRow)).at(0)
                    : "Gage: the name its flow file gives it.";
    if (col == 1) {
        if (data) {
            const std::string& cell = r.grid.at(static_cast<std::size_t>(gridRow)).at(1);
            const std::string hint =
                periodHint(cell, season.startText, season.endText, season.yearAdjust);
            return hint.empty() ? cell : hint;
        }
        return "Period: the years of the calculation, from the year the first season ends to "
               "the year the last one ends.";
    }
    if (col == 2)
        return "Days in Record: the days of the gage's record in the period." +
               recordOnlyNote(r.settings);
    if (col == 3)
        return "Zero/missing: days with a flow of 0 / days without a value in the period's "
               "record; None when there are neither.";
    const GageResult* g = gageFor(r, gridRow);
    if (g == nullptr) return {};
    if (data && r.gage(gridRow).shortRecord)
        return "N/A: less than a year of record in the period; nothing is computed.";
    if (col == 4) return biologicalHint(r, *g, gridRow) + scopeNote(r.settings);
    if (col == 5)
        return std::string("Percentile of the biological design flow: ") + percentileSentence +
               scopeNote(r.settings);
    if (col == 6)
        return "Excursions per " + str(g->biological.yearsBetween) + " years: how often the " +
               str(g->biological.averagingDays) +
               "-day average flow fell below the biological design flow, per " +
               str(g->biological.yearsBetween) + " years of record." + scopeNote(r.settings);
    const int block = (col - firstBlockColumn) / columnsPerBlock;
    if (block < static_cast<int>(g->blocks.size()))
        return blockHint(r, *g, g->blocks[static_cast<std::size_t>(block)],
                         (col - firstBlockColumn) % columnsPerBlock, gridRow);
    if (col == r.columnCount() - 2)
        return "Harmonic: the harmonic mean of the nonzero daily flows of the period's record "
               "(the number of those days divided by the sum of their reciprocals)." +
               zeroAdjustedHarmonicNote(r, gridRow) +
               (r.settings.bioScope == BioScope::season ? recordOnlyNote(r.settings) : "");
    return std::string("Percentile of the harmonic mean flow: ") + percentileSentence +
           scopeNote(r.settings);
}

std::string periodHint(const std::string& periodCell, const std::string& seasonStart,
                       const std::string& seasonEnd, int seasonYearShift) {
    if (periodCell.size() != 9 || periodCell[4] != '-' || !isYear(periodCell, 0) ||
        !isYear(periodCell, 5))
        return {};
    const int firstYear = std::stoi(periodCell.substr(0, 4)) - seasonYearShift;
    return seasonStart + ", " + std::to_string(firstYear) + " - " + seasonEnd + ", " +
           periodCell.substr(5, 4);
}

std::string excursionCaption(const RunResult& result, int row) {
    const auto& header = result.grid.at(0);
    const auto& cells = result.grid.at(static_cast<std::size_t>(row));
    return "Excursion analysis for " + header.at(1) + " at " + cells.at(0);
}

}  // namespace vd::run
