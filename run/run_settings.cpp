#include "run_settings.h"

#include <algorithm>
#include <cctype>

#include "calendar.h"
#include "errors.h"
#include "number_text.h"
#include "season_date.h"

namespace vd::run {
namespace {

constexpr int largestAveragingPeriod = 255;
const std::string averagingField = "Non-biological flow averaging period (days)";

[[noreturn]] void refuse(const std::string& field, const std::string& value,
                         const std::string& rule) {
    throw Error(ErrorCode::calculation,
                field + ": '" + fieldExcerpt(value) + "' is not allowed; " + rule + ".");
}

// A conversion error with the field's name in front, as the refusals name it.
template <class Convert>
auto inField(const std::string& field, Convert convert) {
    try {
        return convert();
    } catch (const Error& e) {
        if (e.code() != ErrorCode::conversion) throw;
        throw Error(ErrorCode::conversion, field + ": " + e.what());
    }
}

int integerIn(const std::string& field, const std::string& text) {
    return inField(field, [&] { return toInteger(text); });
}

double floatIn(const std::string& field, const std::string& text) {
    return inField(field, [&] { return toFloat(text); });
}

int atLeastOne(const std::string& field, const std::string& text) {
    const int value = integerIn(field, text);
    if (value < 1) refuse(field, text, "it must be at least 1");
    return value;
}

// Days before the month plus the day, in a year without a leap day.
int dayOfYear(const SeasonDate& d) {
    return DaysByMonth(false, d.month) + d.day;
}

BiologicalCriterion biologicalOf(const SettingsTexts& t) {
    BiologicalCriterion b;
    b.kind = t.criterion;
    b.custom = !t.useDefaults;
    b.averagingDays = atLeastOne("Biological flow averaging period (days)", t.bioAveragingDays);
    b.yearsBetween = atLeastOne("Average number of years between excursions", t.bioYearsBetween);
    b.excursionsPerCluster =
        atLeastOne("Average number of excursions counted per cluster", t.bioExcursionsPerCluster);
    b.clusterDays = atLeastOne("Length of excursion clustering period (days)", t.bioClusterDays);
    return b;
}

NonBiological nonBiologicalOf(const SettingsTexts& t) {
    switch (t.nonBiological) {
        case NonBiologicalKind::hydrological:
            return Hydrological{static_cast<double>(
                atLeastOne("Return period on years with excursions (years)", t.returnYears))};
        case NonBiologicalKind::explicitFlow: {
            const double cfs = floatIn("Explicit flow value", t.flow);
            if (!(cfs >= 0)) refuse("Explicit flow value", t.flow, "a flow is at least 0");
            return ExplicitFlow{cfs};
        }
        case NonBiologicalKind::percentile: {
            const double p = floatIn("Flow percentile", t.percentile);
            if (!(p >= 0 && p <= 100))
                refuse("Flow percentile", t.percentile, "it must lie between 0 and 100");
            return FlowPercentile{p};
        }
    }
    throw Error(ErrorCode::calculation, "Unknown non-biological design flow kind");
}

}  // namespace

CriterionValues criterionDefaults(CriterionKind kind) {
    switch (kind) {
        case CriterionKind::chronic:
            return {"4", "3", "120", "5"};
        case CriterionKind::ammonia:
            // The 30-day flow; its rule also takes twice the 4-day flow (see ammoniaRule).
            return {"30", "3", "120", "4"};
        case CriterionKind::acute:
            break;
    }
    return {"1", "3", "120", "5"};
}

void SettingsTexts::chooseCriterion(CriterionKind kind) {
    criterion = kind;
    if (useDefaults) writeCriterionDefaults();
}

void SettingsTexts::writeCriterionDefaults() {
    // Whole new strings rather than assigning the texts: GCC 12 at -O3 warns of an overlap
    // that cannot happen (-Wrestrict) when a short literal is assigned over a string.
    const CriterionValues v = criterionDefaults(criterion);
    bioAveragingDays = std::string(v.averagingDays);
    bioYearsBetween = std::string(v.yearsBetween);
    bioClusterDays = std::string(v.clusterDays);
    bioExcursionsPerCluster = std::string(v.excursionsPerCluster);
}

bool seasonShorterThanYear(const Season& season) {
    constexpr int daysPerYear = 365;
    return season.endDay - season.startDay + 1 < daysPerYear;
}

Season seasonOf(const std::string& startText, const std::string& endText) {
    const SeasonDate start = parseSeasonDate(startText);
    const SeasonDate end = parseSeasonDate(endText);
    // DaysByMonth refuses month 0 with a range error, the run's answer to a text without month.
    const int startDay = dayOfYear(start);
    const int endDay = dayOfYear(end);
    const int m1 = start.month;
    const int d1 = start.day;
    const int firstOfM1 = DaysByMonth(false, m1);
    // A date before the season start in the season's own month lies in the next year too.
    const auto nextYear = [&](const SeasonDate& d) {
        return m1 > d.month || (m1 == d.month && d.day < d1);
    };
    Season season;
    season.startText = startText;
    season.endText = endText;
    season.startDay = startDay - firstOfM1 + (nextYear(start) ? 365 : 0);
    season.endDay = endDay - firstOfM1 + (nextYear(end) ? 365 : 0);
    season.yearAdjust = startDay > endDay ? 1 : 0;
    return season;
}

namespace {

const std::string returnYearsField = "Return period on years with excursions (years)";

// The return period typed after a period's colon; `at` is past the colon, left past the digits.
int entryReturnYears(const std::string& text, std::size_t& at, const std::string& entry) {
    std::size_t end = at;
    while (end < text.size() && std::isdigit(static_cast<unsigned char>(text[end]))) ++end;
    const std::string years = text.substr(at, end - at);
    at = end;
    if (years.empty())
        refuse(averagingField, entry + ":", "give the return period in years after the colon");
    return atLeastOne(returnYearsField, years);
}

void addPeriod(AveragingPeriods& periods, int period, int returnYears, const std::string& entry) {
    const auto it = std::find(periods.distinct.begin(), periods.distinct.end(), period);
    if (it == periods.distinct.end()) {
        periods.distinct.push_back(period);
        periods.returnYears.push_back(returnYears);
        return;
    }
    int& kept = periods.returnYears[static_cast<std::size_t>(it - periods.distinct.begin())];
    if (returnYears != 0 && kept != 0 && kept != returnYears)
        refuse(averagingField, entry, "a period has one return period");
    if (kept == 0) kept = returnYears;
}

void sortByPeriod(AveragingPeriods& periods) {
    std::vector<std::size_t> order(periods.distinct.size());
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return periods.distinct[a] < periods.distinct[b];
    });
    AveragingPeriods sorted;
    sorted.entries = periods.entries;
    for (const std::size_t i : order) {
        sorted.distinct.push_back(periods.distinct[i]);
        sorted.returnYears.push_back(periods.returnYears[i]);
    }
    periods = std::move(sorted);
}

}  // namespace

AveragingPeriods parseAveragingPeriods(const std::string& text) {
    const auto blank = [&](std::size_t i) {
        return i < text.size() && std::isspace(static_cast<unsigned char>(text[i]));
    };
    const auto digit = [&](std::size_t i) {
        return i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]));
    };
    AveragingPeriods periods;
    std::size_t at = 0;
    while (blank(at)) ++at;
    while (at < text.size()) {
        std::size_t end = at;
        while (digit(end)) ++end;
        if (end == at) {
            // No digits: the entry is what stands before the next blank or separator.
            while (end < text.size() && !blank(end) && text[end] != ',' && text[end] != ';') ++end;
        }
        const std::string entry = text.substr(at, end - at);
        const int period = integerIn(averagingField, entry);
        if (period > largestAveragingPeriod)
            refuse(averagingField, entry, "an averaging period is at most 255 days");
        if (period < 1) refuse(averagingField, entry, "every averaging period must be at least 1");
        // A decimal point is no separator: "7.5" is no list of 7 and 5 days.
        if (end < text.size() && text[end] == '.' && digit(end + 1)) {
            std::size_t decimalsEnd = end + 1;
            while (digit(decimalsEnd)) ++decimalsEnd;
            refuse(averagingField, text.substr(at, decimalsEnd - at),
                   "an averaging period is a whole number of days");
        }
        int returnYears = 0;
        if (end < text.size() && text[end] == ':') {
            ++end;
            returnYears = entryReturnYears(text, end, entry);
        }
        addPeriod(periods, period, returnYears, text.substr(at, end - at));
        ++periods.entries;
        // One separator, with blanks on either side of it, or blanks alone.
        at = end;
        while (blank(at)) ++at;
        if (at < text.size() && !digit(at)) ++at;
        while (blank(at)) ++at;
    }
    sortByPeriod(periods);
    return periods;
}

PeriodTexts periodTextsForFile(const std::string& averagingPeriods,
                               const std::string& returnYears) {
    AveragingPeriods periods;
    try {
        periods = parseAveragingPeriods(averagingPeriods);
    } catch (const Error&) {
        return {averagingPeriods, returnYears};  // kept as typed, refused when run
    }
    int common = 0;
    bool allEqual = true;
    for (const int years : periods.returnYears) {
        const int y = years;
        if (y == 0) continue;
        if (common == 0) common = y;
        allEqual = allEqual && y == common;
    }
    if (common == 0) return {averagingPeriods, returnYears};
    int typedYears = 0;
    try {
        typedYears = toInteger(returnYears);
    } catch (const Error& e) {
        if (e.code() != ErrorCode::conversion) throw;
    }
    const bool someWithout = std::find(periods.returnYears.begin(), periods.returnYears.end(), 0) !=
                             periods.returnYears.end();
    if (allEqual && (!someWithout || typedYears == common)) {
        std::string list;
        for (const int days : periods.distinct) {
            if (!list.empty()) list += ',';
            list += std::to_string(days);
        }
        return {list, std::to_string(common)};
    }
    return {averagingPeriods, returnYears};
}

RunSettings settingsFromTexts(const SettingsTexts& t, SettingsScope scope) {
    RunSettings s;
    s.season = seasonOf(t.seasonStart, t.seasonEnd);
    s.season.fullClimaticYear = t.fullClimaticYear;
    const AveragingPeriods periods = parseAveragingPeriods(t.averagingPeriods);
    if (periods.entries == 0)
        throw Error(ErrorCode::calculation,
                    "Flow averaging period: give at least one number of days");
    s.averagingDays = periods.distinct;
    s.averagingEntries = periods.entries;
    s.averagingReturnYears.assign(periods.returnYears.begin(), periods.returnYears.end());
    s.comments = t.comments;
    s.advancedReport = t.advancedReport;
    s.bioScope =
        t.bioWithinSeason && seasonShorterThanYear(s.season) ? BioScope::season : BioScope::record;
    s.period.kind = t.period;
    s.biological.kind = t.criterion;
    s.biological.custom = !t.useDefaults;
    if (scope == SettingsScope::seasonAndPeriods) return s;
    s.biological = biologicalOf(t);
    if (!s.averagingDays.empty()) {
        // A return period typed with every averaging period leaves the common one unused.
        const bool allOwn = std::find(periods.returnYears.begin(), periods.returnYears.end(), 0) ==
                            periods.returnYears.end();
        if (allOwn && t.nonBiological == NonBiologicalKind::hydrological)
            s.nonBiological = Hydrological{static_cast<double>(periods.returnYears.front())};
        else
            s.nonBiological = nonBiologicalOf(t);
    }
    const double common = std::holds_alternative<Hydrological>(s.nonBiological)
                              ? std::get<Hydrological>(s.nonBiological).returnYears
                              : 0;
    for (double& years : s.averagingReturnYears)
        if (years == 0) years = common;
    if (t.period == PeriodKind::years) {
        s.period.firstYear = integerIn("First year of the calculation period", t.firstYear);
        s.period.lastYear = integerIn("Last year of the calculation period", t.lastYear);
        if (s.period.lastYear < s.period.firstYear)
            refuse("Last year of the calculation period", t.lastYear,
                   "it must not be before the first year, " + t.firstYear);
    }
    return s;
}

}  // namespace vd::run
