// The settings of a calculation, in two forms: the texts a user typed (in the main window,
// on the command line or in a parameter file) and the typed values the engine computes
// with. settingsFromTexts() is the one conversion between them, so every front end refuses
// the same texts with the same messages in the same order.
#pragma once

#include <string>
#include <variant>
#include <vector>

namespace vd::run {

enum class PeriodKind { all, common, longest, table, years };
enum class CriterionKind { acute, chronic, ammonia };
enum class NonBiologicalKind { hydrological, explicitFlow, percentile };
// What the biological flow, the percentiles and the excursion rates are computed over: the
// whole record of the period, or only the days of its season (the xQy flows always follow
// the season).
enum class BioScope { record, season };

// The biological values a criterion stands for when "Use defaults" is set.
struct CriterionValues {
    const char* averagingDays;
    const char* yearsBetween;
    const char* clusterDays;
    const char* excursionsPerCluster;
};
CriterionValues criterionDefaults(CriterionKind kind);

// What the user typed and chose, as typed. Defaults are those of a new analysis.
struct SettingsTexts {
    std::string seasonStart = "Apr 1";
    std::string seasonEnd = "Mar 31";
    bool fullClimaticYear = true;
    PeriodKind period = PeriodKind::all;
    std::string firstYear;  // of PeriodKind::years
    std::string lastYear;
    CriterionKind criterion = CriterionKind::acute;
    bool useDefaults = true;
    std::string bioAveragingDays = "1";
    std::string bioYearsBetween = "3";
    std::string bioClusterDays = "120";
    std::string bioExcursionsPerCluster = "5";
    NonBiologicalKind nonBiological = NonBiologicalKind::hydrological;
    std::string averagingPeriods = "7";  // e.g. "7,30"
    std::string returnYears = "10";
    std::string flow = "5";
    std::string percentile = "0.1";
    std::vector<std::string> comments;
    bool advancedReport = true;    // "Advanced results in clipboard"
    bool bioWithinSeason = false;  // "Biological flow within the season"

    // Selects a criterion; with "Use defaults" set its values replace the biological texts.
    void chooseCriterion(CriterionKind kind);
    // The chosen criterion's values replace the biological texts.
    void writeCriterionDefaults();

    bool operator==(const SettingsTexts&) const = default;
};

struct Season {
    std::string startText = "Apr 1";
    std::string endText = "Mar 31";
    int startDay = 0;    // day position of the start, counted from the 1st of its month
    int endDay = 0;      // day position of the end (above 365 when it lies in the next year)
    int yearAdjust = 0;  // 1 when the season runs over the end of the year
    bool fullClimaticYear = true;
};

// Whether the season is shorter than a year, so that the whole record and the season differ.
bool seasonShorterThanYear(const Season& season);

struct PeriodChoice {
    PeriodKind kind = PeriodKind::all;
    int firstYear = 0;  // PeriodKind::years only
    int lastYear = 0;
};

struct BiologicalCriterion {
    CriterionKind kind = CriterionKind::acute;
    bool custom = false;  // the user's own values ("Use defaults" off)
    int averagingDays = 1;
    double yearsBetween = 3;
    double clusterDays = 120;
    double excursionsPerCluster = 5;
    // The ammonia criterion with its default values: the lower of the 30-day flow and twice
    // the 4-day flow.
    bool ammoniaRule() const { return kind == CriterionKind::ammonia && !custom; }
};

struct Hydrological {
    double returnYears = 10;
};
struct ExplicitFlow {
    double cfs = 0;
};
struct FlowPercentile {
    double percent = 0;
};
using NonBiological = std::variant<Hydrological, ExplicitFlow, FlowPercentile>;

struct RunSettings {
    Season season;
    PeriodChoice period;
    BiologicalCriterion biological;
    // Averaging periods (days) of the non-biological blocks, distinct and ascending; every
    // kind gives one block per period.
    std::vector<int> averagingDays;
    // The hydrological return period of each averaging period, in the same order: the one
    // typed with it ("30:5"), else that of the Hydrological choice.
    std::vector<double> averagingReturnYears;
    int averagingEntries = 0;  // periods as typed, repeats counted (the progress counts them)
    NonBiological nonBiological = Hydrological{};
    std::vector<std::string> comments;
    bool advancedReport = true;
    // The season only when it was chosen and the season is shorter than a year: a full year's
    // season is the whole record.
    BioScope bioScope = BioScope::record;
};

// How much of the texts a run needs: without a gage in use only the season and the
// averaging periods are read (the parameters are refused only when something would use them).
enum class SettingsScope { everything, seasonAndPeriods };

// Converts and checks the texts: season, averaging periods, biological values, the field of
// the chosen non-biological kind (when there are averaging periods), the years of the fifth
// period choice. Throws the calculator's errors (calc/errors.h) with the texts' messages.
RunSettings settingsFromTexts(const SettingsTexts& texts,
                              SettingsScope scope = SettingsScope::everything);

// Day positions of the season texts (as a year without a leap day counts them). A text that
// names no month is a range error.
Season seasonOf(const std::string& startText, const std::string& endText);

struct AveragingPeriods {
    std::vector<int> distinct;  // the distinct periods, ascending
    int entries = 0;            // entries typed, repeats counted
    // The return period typed with each distinct period ("7:10"), 0 where none was.
    std::vector<int> returnYears;
};

// Parses the averaging-period text: runs of digits separated by exactly one character of
// any kind ("7,30", "7;30"), each optionally with its own return period in years ("7:10,30:5").
// An empty run is a conversion error, a period above 255 a range error; a period of 0, a
// decimal period ("7.5"), a return period below 1 and one period given two return periods
// are refusals naming the field.
AveragingPeriods parseAveragingPeriods(const std::string& text);

// The averaging-period and return-period texts as a parameter file keeps them: when every
// period has the same return period, the plain list and that return period (the form files
// have always had); otherwise the list with each period's own return period.
struct PeriodTexts {
    std::string averagingPeriods;
    std::string returnYears;
};
PeriodTexts periodTextsForFile(const std::string& averagingPeriods, const std::string& returnYears);

}  // namespace vd::run
