// The settings as typed turned into the run's settings: season day positions, the
// averaging-period list with its one-separator syntax, the refusal of parameters that
// would hang or crash, and the order in which texts are checked.
#include <gtest/gtest.h>

#include <functional>

#include "../common/error_assertions.h"
#include "errors.h"
#include "run_settings.h"

using namespace vd;
using namespace vd::run;

namespace {

TEST(SeasonDays, CountFromTheFirstOfTheStartMonth) {
    struct Case {
        const char* start;
        const char* end;
        int sday, eday, seasonYearShift;
    };
    const Case cases[] = {
        {"Apr 1", "Mar 31", 1, 365, 1},    // the default climatic year
        {"Jun 1", "Sep 30", 1, 122, 0},    // a summer season
        {"Jan 1", "Dec 31", 1, 365, 0},    // the calendar year
        {"Oct 15", "Oct 14", 15, 379, 1},  // mid-month start: the end lies in the next year
        {"Oct 15", "Oct 20", 15, 20, 0},  {"Jul 15", "Mar 31", 15, 274, 1},
        {"Feb 10", "Feb 1", 10, 366, 1},
    };
    for (const Case& c : cases) {
        const Season d = seasonOf(c.start, c.end);
        EXPECT_EQ(d.startDay, c.sday) << c.start << " - " << c.end;
        EXPECT_EQ(d.endDay, c.eday) << c.start << " - " << c.end;
        EXPECT_EQ(d.yearAdjust, c.seasonYearShift) << c.start << " - " << c.end;
    }
}

TEST(SeasonDays, TextWithoutMonthIsARangeError) {
    EXPECT_ERROR_CODE(seasonOf("", "Mar 31"), ErrorCode::range);
    EXPECT_ERROR_CODE(seasonOf("Apr 1", "xyz"), ErrorCode::range);
}

TEST(AveragingPeriods, EntriesAreSeparatedByOneCharacterWithBlanksAround) {
    struct Case {
        const char* text;
        std::vector<int> distinct;
        int entries;
    };
    const Case cases[] = {
        {"7", {7}, 1},         {"7,30", {7, 30}, 2},      {"7;30", {7, 30}, 2},
        {"30,7", {7, 30}, 2},  {"7,7", {7}, 2},           {"", {}, 0},
        {"7,", {7}, 1},        {"255", {255}, 1},         {"1x2y3", {1, 2, 3}, 3},
        {"7, 30", {7, 30}, 2}, {" 7 ;  30 ", {7, 30}, 2}, {"7 30", {7, 30}, 2},
        {"  ", {}, 0},
    };
    for (const Case& c : cases) {
        const AveragingPeriods p = parseAveragingPeriods(c.text);
        EXPECT_EQ(p.distinct, c.distinct) << c.text;
        EXPECT_EQ(p.entries, c.entries) << c.text;
    }
}

TEST(AveragingPeriods, EachPeriodMayCarryItsOwnReturnPeriod) {
    struct Case {
        const char* text;
        std::vector<int> distinct;
        std::vector<int> returnYears;  // 0: the common one
    };
    const Case cases[] = {
        {"7:10,30:5", {7, 30}, {10, 5}}, {"30:5,7", {7, 30}, {0, 5}}, {"7:10, 7", {7}, {10}},
        {"7, 7:10", {7}, {10}},          {"7,30", {7, 30}, {0, 0}},
    };
    for (const Case& c : cases) {
        const AveragingPeriods p = parseAveragingPeriods(c.text);
        EXPECT_EQ(p.distinct, c.distinct) << c.text;
        EXPECT_EQ(p.returnYears, c.returnYears) << c.text;
    }
    SettingsTexts t;
    t.averagingPeriods = "30:5,7";
    t.returnYears = "2";
    EXPECT_EQ(settingsFromTexts(t).averagingReturnYears, (std::vector<double>{2, 5}));
    // With a return period on every entry the common field is not read.
    t.averagingPeriods = "7:10,30:5";
    t.returnYears = "ten";
    EXPECT_EQ(settingsFromTexts(t).averagingReturnYears, (std::vector<double>{10, 5}));
}

TEST(AveragingPeriods, ParameterFileKeepsThePlainFormWhenAllReturnPeriodsAgree) {
    const struct {
        const char* periods;
        const char* years;
        const char* storedPeriods;
        const char* storedYears;
    } cases[] = {
        {"7,30", "10", "7,30", "10"},
        {"7:5,30:5", "10", "7,30", "5"},
        {"7:10,30", "10", "7,30", "10"},
        {"7:10,30:5", "10", "7:10,30:5", "10"},
        {"7:5,30", "10", "7:5,30", "10"},
        {"7.5", "10", "7.5", "10"},  // refused when run, kept as typed
    };
    for (const auto& c : cases) {
        const PeriodTexts stored = periodTextsForFile(c.periods, c.years);
        EXPECT_EQ(stored.averagingPeriods, c.storedPeriods) << c.periods;
        EXPECT_EQ(stored.returnYears, c.storedYears) << c.periods;
    }
}

TEST(AveragingPeriods, BadEntriesAbandonTheRunNamingTheField) {
    const struct {
        const char* text;
        const char* message;
    } cases[] = {
        {"7,,30", "Non-biological flow averaging period (days): '' is not a valid integer value"},
        {"7, -5",
         "Non-biological flow averaging period (days): '-5' is not allowed; every "
         "averaging period must be at least 1."},
        {"256",
         "Non-biological flow averaging period (days): '256' is not allowed; an averaging "
         "period is at most 255 days."},
        {"7.5",
         "Non-biological flow averaging period (days): '7.5' is not allowed; an averaging "
         "period is a whole number of days."},
        {"7:10,7:5",
         "Non-biological flow averaging period (days): '7:5' is not allowed; a period has one "
         "return period."},
        {"7:",
         "Non-biological flow averaging period (days): '7:' is not allowed; give the return "
         "period in years after the colon."},
        {"7:0",
         "Return period on years with excursions (years): '0' is not allowed; it must be "
         "at least 1."},
    };
    for (const auto& c : cases) {
        try {
            parseAveragingPeriods(c.text);
            ADD_FAILURE() << c.text << " accepted";
        } catch (const Error& e) {
            EXPECT_STREQ(e.what(), c.message);
        }
    }
    EXPECT_ERROR_CODE(parseAveragingPeriods("99999999999"), ErrorCode::conversion);
    try {
        parseAveragingPeriods("7,0");
        FAIL() << "no error";
    } catch (const Error& e) {
        EXPECT_TRUE(test::hasCode(e, ErrorCode::calculation));
        EXPECT_NE(std::string(e.what()).find("averaging period"), std::string::npos) << e.what();
        EXPECT_NE(std::string(e.what()).find("'0'"), std::string::npos) << e.what();
    }
}

// The message of a refusal names the field and the value typed.
void expectRefusal(const std::function<void()>& read, const std::string& field,
                   const std::string& value) {
    try {
        read();
        ADD_FAILURE() << field << " " << value << " was accepted";
    } catch (const Error& e) {
        EXPECT_TRUE(test::hasCode(e, ErrorCode::calculation));
        const std::string message = e.what();
        EXPECT_NE(message.find(field), std::string::npos) << message;
        EXPECT_NE(message.find("'" + value + "'"), std::string::npos) << message;
    }
}

TEST(Parameters, ValuesThatWouldHangOrCrashTheSearchAreRefused) {
    struct Case {
        std::string SettingsTexts::*field;
        const char* value;
        const char* name;
    };
    const Case biological[] = {
        {&SettingsTexts::bioAveragingDays, "0", "Biological flow averaging period"},
        {&SettingsTexts::bioYearsBetween, "0", "years between excursions"},
        {&SettingsTexts::bioClusterDays, "-5", "clustering period"},
        {&SettingsTexts::bioExcursionsPerCluster, "0", "excursions counted per cluster"},
    };
    for (const Case& c : biological) {
        SettingsTexts t;
        t.*c.field = c.value;
        expectRefusal([&] { settingsFromTexts(t); }, c.name, c.value);
    }
    SettingsTexts t;
    t.returnYears = "0";
    expectRefusal([&] { settingsFromTexts(t); }, "Return period", "0");
    t.nonBiological = NonBiologicalKind::percentile;
    for (const char* p : {"-0.1", "100.5"}) {
        t.percentile = p;
        expectRefusal([&] { settingsFromTexts(t); }, "Flow percentile", p);
    }
    t.nonBiological = NonBiologicalKind::explicitFlow;
    for (const char* flow : {"-1", "-0.01"}) {
        t.flow = flow;
        expectRefusal([&] { settingsFromTexts(t); }, "Explicit flow value", flow);
    }
    t.flow = "0";  // a dry stream's flow is a flow
    EXPECT_EQ(std::get<ExplicitFlow>(settingsFromTexts(t).nonBiological).cfs, 0);
}

TEST(Parameters, EveryConversionErrorNamesItsField) {
    struct Case {
        std::string SettingsTexts::*field;
        const char* value;
        NonBiologicalKind kind;
        const char* message;
    };
    const Case cases[] = {
        {&SettingsTexts::returnYears, "abc", NonBiologicalKind::hydrological,
         "Return period on years with excursions (years): 'abc' is not a valid integer value"},
        {&SettingsTexts::flow, "abc", NonBiologicalKind::explicitFlow,
         "Explicit flow value: 'abc' is not a valid floating point value"},
        {&SettingsTexts::percentile, "ten", NonBiologicalKind::percentile,
         "Flow percentile: 'ten' is not a valid floating point value"},
        {&SettingsTexts::bioClusterDays, "1e2", NonBiologicalKind::hydrological,
         "Length of excursion clustering period (days): '1e2' is not a valid integer value"},
    };
    for (const Case& c : cases) {
        SettingsTexts t;
        t.nonBiological = c.kind;
        t.*c.field = c.value;
        try {
            settingsFromTexts(t);
            ADD_FAILURE() << c.value << " accepted";
        } catch (const Error& e) {
            EXPECT_TRUE(test::hasCode(e, ErrorCode::conversion));
            EXPECT_STREQ(e.what(), c.message);
        }
    }
}

TEST(Parameters, ConvertsTheFieldsOfTheChosenKindOnly) {
    SettingsTexts t;
    t.flow = "abc";  // not read for the hydrological kind
    t.percentile = "xyz";
    EXPECT_EQ(std::get<Hydrological>(settingsFromTexts(t).nonBiological).returnYears, 10);
    t.nonBiological = NonBiologicalKind::explicitFlow;
    EXPECT_ERROR_CODE(settingsFromTexts(t), ErrorCode::conversion);
    t.flow = "12.5";
    EXPECT_EQ(std::get<ExplicitFlow>(settingsFromTexts(t).nonBiological).cfs, 12.5);
    t.nonBiological = NonBiologicalKind::percentile;
    t.percentile = "100";
    EXPECT_EQ(std::get<FlowPercentile>(settingsFromTexts(t).nonBiological).percent, 100);
    // An empty list of averaging periods is refused, in every scope.
    for (const char* empty : {"", "  "}) {
        t.averagingPeriods = empty;
        for (const SettingsScope scope :
             {SettingsScope::everything, SettingsScope::seasonAndPeriods}) {
            try {
                settingsFromTexts(t, scope);
                ADD_FAILURE() << "'" << empty << "' accepted";
            } catch (const Error& e) {
                EXPECT_TRUE(test::hasCode(e, ErrorCode::calculation));
                EXPECT_STREQ(e.what(), "Flow averaging period: give at least one number of days");
            }
        }
    }

    SettingsTexts bio;
    bio.bioYearsBetween = "3.5";
    EXPECT_ERROR_CODE(settingsFromTexts(bio), ErrorCode::conversion);
    bio.bioYearsBetween = "3";
    bio.chooseCriterion(CriterionKind::ammonia);
    EXPECT_EQ(bio.bioAveragingDays, "30");
    EXPECT_TRUE(settingsFromTexts(bio).biological.ammoniaRule());
    bio.useDefaults = false;  // own values: no 2 x 4B3 rule
    EXPECT_FALSE(settingsFromTexts(bio).biological.ammoniaRule());
}

TEST(Parameters, TextsAreCheckedInTheirOrder) {
    // Each case breaks this field and every later one: the first broken field is refused.
    SettingsTexts t;
    t.period = PeriodKind::years;
    t.firstYear = "199x";
    t.returnYears = "ten";
    t.bioAveragingDays = "one";
    t.averagingPeriods = "7,0";
    t.seasonStart = "";
    const auto message = [&] {
        try {
            settingsFromTexts(t);
        } catch (const std::exception& e) {
            return std::string(e.what());
        }
        return std::string("accepted");
    };
    EXPECT_EQ(message(), Error(ErrorCode::range).what());
    t.seasonStart = "Apr 1";
    EXPECT_NE(message().find("averaging period (days): '0'"), std::string::npos) << message();
    t.averagingPeriods = "7";
    EXPECT_EQ(message(),
              "Biological flow averaging period (days): 'one' is not a valid integer value");
    t.bioAveragingDays = "1";
    EXPECT_EQ(message(),
              "Return period on years with excursions (years): 'ten' is not a valid integer value");
    t.returnYears = "10";
    EXPECT_EQ(message(),
              "First year of the calculation period: '199x' is not a valid integer value");
    // Without a gage in use only the season and the periods are read.
    EXPECT_NO_THROW(settingsFromTexts(t, SettingsScope::seasonAndPeriods));
    t.firstYear = "1990";
    t.lastYear = "2000";
    const RunSettings s = settingsFromTexts(t);
    EXPECT_EQ(s.period.firstYear, 1990);
    EXPECT_EQ(s.period.lastYear, 2000);
    // A reversed period is refused, one year is a period.
    t.firstYear = "2010";
    t.lastYear = "2001";
    EXPECT_EQ(message(),
              "Last year of the calculation period: '2001' is not allowed; it must not be before "
              "the first year, 2010.");
    t.lastYear = "2010";
    EXPECT_EQ(message(), "accepted");
}

TEST(Parameters, CriterionDefaultsLiveInOnePlace) {
    struct Case {
        CriterionKind kind;
        const char* values[4];
    };
    const Case cases[] = {{CriterionKind::acute, {"1", "3", "120", "5"}},
                          {CriterionKind::chronic, {"4", "3", "120", "5"}},
                          {CriterionKind::ammonia, {"30", "3", "120", "4"}}};
    for (const Case& c : cases) {
        SettingsTexts t;
        t.bioAveragingDays = "99";
        t.useDefaults = false;
        t.chooseCriterion(c.kind);
        EXPECT_EQ(t.bioAveragingDays, "99") << "own values stay without defaults";
        t.useDefaults = true;
        t.chooseCriterion(c.kind);
        EXPECT_EQ(t.bioAveragingDays, c.values[0]);
        EXPECT_EQ(t.bioYearsBetween, c.values[1]);
        EXPECT_EQ(t.bioClusterDays, c.values[2]);
        EXPECT_EQ(t.bioExcursionsPerCluster, c.values[3]);
    }
}

}  // namespace
