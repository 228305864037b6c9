// What the run takes from the controls: season day positions, the averaging-period list
// with its one-separator syntax, and the refusal of parameters that would hang or crash.
#include <gtest/gtest.h>

#include <functional>

#include "errors.h"
#include "run_parameters.h"

using namespace vd;
using namespace vd::run;

namespace {

TEST(SeasonDays, CountFromTheFirstOfTheStartMonth) {
    struct Case {
        const char* start;
        const char* end;
        int sday, eday, SYAdjust;
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
        const SeasonDays d = seasonDays(c.start, c.end);
        EXPECT_EQ(d.sday, c.sday) << c.start << " - " << c.end;
        EXPECT_EQ(d.eday, c.eday) << c.start << " - " << c.end;
        EXPECT_EQ(d.SYAdjust, c.SYAdjust) << c.start << " - " << c.end;
    }
}

TEST(SeasonDays, TextWithoutMonthIsARangeError) {
    EXPECT_THROW(seasonDays("", "Mar 31"), RangeError);
    EXPECT_THROW(seasonDays("Apr 1", "xyz"), RangeError);
}

TEST(AveragingPeriods, EntriesAreSeparatedByExactlyOneCharacter) {
    struct Case {
        const char* text;
        std::vector<int> distinct;
        int entries;
    };
    const Case cases[] = {
        {"7", {7}, 1},        {"7,30", {7, 30}, 2}, {"7;30", {7, 30}, 2},
        {"30,7", {7, 30}, 2}, {"7,7", {7}, 2},      {"", {}, 0},
        {"7,", {7}, 1},       {"255", {255}, 1},    {"1x2y3", {1, 2, 3}, 3},
    };
    for (const Case& c : cases) {
        const AveragingPeriods p = parseAveragingPeriods(c.text);
        EXPECT_EQ(p.distinct, c.distinct) << c.text;
        EXPECT_EQ(p.entries, c.entries) << c.text;
    }
}

TEST(AveragingPeriods, BadEntriesAbandonTheRun) {
    // A blank after the separator starts an empty entry.
    try {
        parseAveragingPeriods("7, 30");
        FAIL() << "no error";
    } catch (const ConvertError& e) {
        EXPECT_STREQ(e.what(), "'' is not a valid integer value");
    }
    EXPECT_THROW(parseAveragingPeriods("256"), RangeError);
    EXPECT_THROW(parseAveragingPeriods("99999999999"), ConvertError);
    try {
        parseAveragingPeriods("7,0");
        FAIL() << "no error";
    } catch (const CalcError& e) {
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
    } catch (const CalcError& e) {
        const std::string message = e.what();
        EXPECT_NE(message.find(field), std::string::npos) << message;
        EXPECT_NE(message.find("'" + value + "'"), std::string::npos) << message;
    }
}

TEST(Parameters, ValuesThatWouldHangOrCrashTheSearchAreRefused) {
    struct Case {
        std::string ControlTexts::*field;
        const char* value;
        const char* name;
    };
    const Case biological[] = {
        {&ControlTexts::EditBio1, "0", "Biological flow averaging period"},
        {&ControlTexts::EditBio2, "0", "years between excursions"},
        {&ControlTexts::EditBio3, "-5", "clustering period"},
        {&ControlTexts::EditBio4, "0", "excursions counted per cluster"},
    };
    for (const Case& c : biological) {
        ControlTexts t;
        t.*c.field = c.value;
        expectRefusal([&] { readBiological(t); }, c.name, c.value);
    }
    ControlTexts t;
    t.Edit4 = "0";
    expectRefusal([&] { readNonBiological(t); }, "Return period", "0");
    t.toggle = 6;
    for (const char* p : {"-0.1", "100.5"}) {
        t.Edit6 = p;
        expectRefusal([&] { readNonBiological(t); }, "Flow percentile", p);
    }
}

TEST(Parameters, ConvertsTheFieldsOfTheChosenKindOnly) {
    ControlTexts t;
    t.Edit5 = "abc";  // not read for the hydrological kind
    t.Edit6 = "xyz";
    EXPECT_EQ(readNonBiological(t).returnPeriod, 10);
    t.toggle = 5;
    EXPECT_THROW(readNonBiological(t), ConvertError);
    t.Edit5 = "12.5";
    EXPECT_EQ(readNonBiological(t).flow, 12.5);
    t.toggle = 6;
    t.Edit6 = "100";
    EXPECT_EQ(readNonBiological(t).percentile, 100);

    ControlTexts bio;
    bio.EditBio2 = "3.5";
    EXPECT_THROW(readBiological(bio), ConvertError);
    bio.EditBio2 = "3";
    bio.RadioButton3 = true;
    EXPECT_TRUE(readBiological(bio).ammonia);
    bio.CheckBox1 = false;  // own values: no 2 x 4B3 rule
    EXPECT_FALSE(readBiological(bio).ammonia);
}

}  // namespace
