// Whole calculation runs on real flow files (copied to a scratch folder, since reading may
// convert line breaks in place): the reuse of low-flow fits against the literal loops, the
// period rules, the ammonia rule, short records, refusals and progress.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <future>
#include <memory>
#include <set>
#include <sstream>

#include "../common/error_assertions.h"
#include "../common/scratch_dir.h"
#include "calendar.h"
#include "engine.h"
#include "errors.h"
#include "excursion_table.h"
#include "flow_reader.h"
#include "gage_rows.h"
#include "number_format.h"
#include "number_text.h"
#include "report_text.h"
#include "results_table.h"
#include "results_view.h"
#include "statistics.h"

namespace fs = std::filesystem;
using namespace vd;
using namespace vd::run;

namespace {

const fs::path kInputs = fs::path(VANDO_TEST_DATA) / "reference" / "inputs";
const fs::path kExamples = VANDO_EXAMPLES;

const std::string verde = "09506000_verde_camp_verde_dv_1989-2021.txt";
const std::string sanJoaquin = "11224000_mf_san_joaquin_mammoth_dv_2009-2021.txt";
const std::string bayou = "08023080_bayou_grand_cane_zeros.txt";
const std::string bayouFlo = "08023080_bayou_grand_cane_zeros.flo";
const std::string snake = "13010065_snake_flagg_ranch_dv_2006-2007_ice_2006layout.txt";
const std::string colorado = "09070500_09071750_colorado_2sites_2000-2010.txt";

const LogPearsonLibrary& library() {
    static const LogPearsonLibrary lib = LogPearsonLibrary::load(programFolder());
    return lib;
}

class Engine : public ::testing::Test {
  protected:
    void SetUp() override {
        scratch_ = std::make_unique<vd::test::ScratchDir>("vd_engine");
        dir_ = scratch_->path();
        for (const fs::path& folder : {kInputs, kExamples}) scratch_->copyFilesOf(folder);
    }

    std::string path(const std::string& name) const { return (dir_ / name).string(); }
    void writeDips(const std::string& name, int days, const std::function<int(int)>& dip) const;

    // The gage table after adding each file alone, as the main window would.
    std::vector<GageRow> table(const std::vector<std::string>& names,
                               const SettingsTexts& c = {}) const {
        std::vector<GageRow> rows;
        for (const std::string& name : names) {
            const auto gages = readGagesForTable(path(name), c.seasonStart, c.seasonEnd);
            for (const TableGage& g : gages)
                rows.push_back({g.name, path(name), static_cast<int>(gages.size()), g.record,
                                g.start, g.end, g.use});
        }
        return rows;
    }

    RunResult run(const SettingsTexts& c, const std::vector<std::string>& names,
                  SearchPath p = SearchPath::reuse) const {
        return runCalculation({c, table(names, c)}, library(), {}, p);
    }

    std::unique_ptr<vd::test::ScratchDir> scratch_;
    fs::path dir_;
};

std::string report(const RunResult& r) {
    return reportText(r, reportSettingsOf(r.settings));
}

const std::string& cellOf(const RunResult& r, int column, int row) {
    return r.grid.at(static_cast<std::size_t>(row)).at(static_cast<std::size_t>(column));
}

SettingsTexts controls(const std::function<void(SettingsTexts&)>& change) {
    SettingsTexts c;
    change(c);
    return c;
}

// Everything a run gives, as text: the report (grid and per-year tables) and each row's
// excursion analysis.
std::string everything(const RunResult& r) {
    std::string text = report(r) + (r.tooshort ? "tooshort" : "") + "\n";
    for (int row = 1; row <= r.dataRowCount(); ++row) {
        if (!r.gage(row).excursions) continue;
        text += excursionCopyText(excursionTableOfRow(r, row), {}, r.settings.season.startDay,
                                  r.settings.season.endDay);
        text += std::to_string(r.gage(row).excursions->excursions.flow) + "\n";
    }
    return text;
}

TEST_F(Engine, ReusedFitsGiveExactlyWhatTheLiteralLoopsGive) {
    fs::copy_file(
        fs::path(VANDO_TEST_DATA) / "nwis" / "11264500_merced_happy_isles_1915-2021_multiparam.txt",
        dir_ / "merced.txt");
    const std::vector<std::string> names = {verde,    sanJoaquin, bayou,
                                            bayouFlo, colorado,   "merced.txt"};
    const std::vector<SettingsTexts> settings = {
        {},
        controls([](SettingsTexts& c) { c.averagingPeriods = "7,30,1"; }),
        controls([](SettingsTexts& c) {
            c.criterion = CriterionKind::ammonia;
            c.bioAveragingDays = "30";
            c.bioExcursionsPerCluster = "4";
        }),
        controls([](SettingsTexts& c) {
            c.nonBiological = NonBiologicalKind::explicitFlow;
            c.averagingPeriods = "4,30";
            c.flow = "20";
        }),
        controls([](SettingsTexts& c) {
            c.nonBiological = NonBiologicalKind::percentile;
            c.percentile = "10";
            c.seasonStart = "Jun 1";
            c.seasonEnd = "Sep 30";
            c.fullClimaticYear = false;
        }),
        controls([](SettingsTexts& c) {
            c.period = PeriodKind::longest;
            c.returnYears = "2";
        }),
        controls([](SettingsTexts& c) {
            c.criterion = CriterionKind::chronic;
            c.bioAveragingDays = "4";
            c.averagingPeriods = "7,30";
            c.seasonStart = "Jun 1";
            c.seasonEnd = "Sep 30";
            c.fullClimaticYear = false;
            c.bioWithinSeason = true;
        }),
    };
    for (const SettingsTexts& c : settings) {
        const RunResult reuse = run(c, names, SearchPath::reuse);
        const RunResult literal = run(c, names, SearchPath::literal);
        EXPECT_EQ(everything(reuse), everything(literal)) << "periods " << c.averagingPeriods;
        EXPECT_GE(reuse.dataRowCount(), 6);
    }
}

TEST_F(Engine, DefaultRunOnTheReferenceFiles) {
    const RunResult r = run({}, {verde, sanJoaquin, bayou});
    ASSERT_EQ(r.dataRowCount(), 3);
    EXPECT_EQ(r.columnCount(), 15);
    EXPECT_FALSE(r.tooshort);  // an equivalent return period not found does not count
    EXPECT_EQ(seasonLine(r.settings.season), "Climatic year defined as Apr 1 - Mar 31");
    EXPECT_TRUE(r.settings.season.fullClimaticYear);
    EXPECT_EQ(cellOf(r, 2, 1), "11,688");
    EXPECT_EQ(cellOf(r, 3, 3), "1,336/0");
    EXPECT_EQ(cellOf(r, 3, 1), "None");
    EXPECT_EQ(cellOf(r, 10, 2), "N/A");
    EXPECT_EQ(cellOf(r, 11, 2), "");
    EXPECT_EQ(cellOf(r, 10, 3), "7Q2");
    for (const GageResult& g : r.gages) {
        EXPECT_TRUE(g.excursions != nullptr);
        EXPECT_TRUE(g.annualTable != nullptr);
    }
    EXPECT_EQ(r.settings.season.startDay, 1);
    EXPECT_EQ(r.settings.season.endDay, 365);
}

// A steady flow of about 100 that drops for `days` days each August to dip(year index).
void Engine::writeDips(const std::string& name, int days,
                       const std::function<int(int)>& dip) const {
    std::ofstream flo(dir_ / name, std::ios::binary);
    flo << "# synthetic\r\nDIPS CREEK\r\n";
    for (int day = DayNumber(80, 1, 1); day <= DayNumber(100, 12, 31); ++day) {
        const CalendarDate d = DateOfDayNumber(day);
        const int yi = d.year - 1900;
        const bool low = d.month == 8 && d.day <= days;
        const int q = low ? dip(yi) : 100 + (yi * 7 + d.month * 3 + d.day) % 11;
        flo << yi << ' ' << d.month << ' ' << d.day << ' ' << q << "\r\n";
    }
}

// A steady river with a deep drop every January and a one-day shallow one every August: over the
// whole record the January drops set the biological flow, within a summer season the
// August ones alone.
class BioScopeRun : public Engine {
  protected:
    void SetUp() override {
        Engine::SetUp();
        std::ofstream flo(dir_ / "two_lows.flo", std::ios::binary);
        flo << "# synthetic\r\nTWO LOWS CREEK\r\n";
        for (int day = DayNumber(80, 1, 1); day <= DayNumber(100, 12, 31); ++day) {
            const CalendarDate d = DateOfDayNumber(day);
            const int yi = d.year - 1900;
            int q = 100 + (yi * 7 + d.month * 3 + d.day) % 11;
            if (d.month == 1 && d.day <= 10) q = 5;
            if (d.month == 8 && d.day == 1) q = 40 + yi % 7;
            flo << yi << ' ' << d.month << ' ' << d.day << ' ' << q << "\r\n";
        }
    }

    static SettingsTexts summer(bool within) {
        return controls([&](SettingsTexts& c) {
            c.seasonStart = "Jun 1";
            c.seasonEnd = "Sep 30";
            c.fullClimaticYear = false;
            c.bioWithinSeason = within;
        });
    }

    // The daily flows of the summer days, from the dates of the record the run used.
    static std::vector<double> summerFlows(const GageResult& g) {
        std::vector<double> flows;
        for (std::size_t k = 0; k < g.daily->flows.size(); ++k) {
            const int month = DateOfDayNumber(g.daily->firstDay + static_cast<int>(k)).month;
            if (month >= 6 && month <= 9) flows.push_back(g.daily->flows[k]);
        }
        return flows;
    }
};

TEST_F(BioScopeRun, WithinTheSeasonOnlyTheSeasonsDaysCount) {
    const RunResult record = run(summer(false), {"two_lows.flo"});
    const RunResult season = run(summer(true), {"two_lows.flo"});
    ASSERT_EQ(season.dataRowCount(), 1);
    const GageResult& r = record.gage(1);
    const GageResult& g = season.gage(1);
    EXPECT_EQ(r.biological.scope, BioScope::record);
    EXPECT_EQ(g.biological.scope, BioScope::season);
    ASSERT_TRUE(r.biological.flow && g.biological.flow);
    EXPECT_LT(*r.biological.flow, 5.0);
    EXPECT_GT(*g.biological.flow, 40.0);
    EXPECT_LT(*g.biological.flow, 100.0);
    // The xQy flow and the days of the record follow the season either way.
    EXPECT_EQ(r.blocks.at(0).flow, g.blocks.at(0).flow);
    EXPECT_EQ(r.daysInRecord, g.daysInRecord);

    // Every excursion lies in the season.
    ASSERT_TRUE(g.excursions);
    const BiologicalExcursions& e = *g.excursions;
    ASSERT_FALSE(e.excursions.periods.empty());
    for (const ExcursionPeriod& period : e.excursions.periods)
        for (const int day : {period.firstDay, period.lastDay})
            EXPECT_EQ(DateOfDayNumber(e.dayNumber(day)).month, 8) << period.firstDay;
    // About one excursion in 3 season-years, as the search aims for.
    EXPECT_GT(g.biological.excursionRate, 0.5);
    EXPECT_LE(g.biological.excursionRate, 1.0 + 1e-9);

    // Percentiles are shares of the season's days.
    const std::vector<double> days = summerFlows(g);
    const auto below = [&](double flow) {
        return 100.0 *
               static_cast<double>(
                   std::count_if(days.begin(), days.end(), [&](double v) { return v < flow; })) /
               static_cast<double>(days.size());
    };
    EXPECT_NEAR(g.biological.percentile, below(*g.biological.flow), 1e-9);
    EXPECT_NEAR(g.harmonicPercentile, below(g.harmonicMean), 1e-9);
    ASSERT_TRUE(g.blocks.at(0).flow);
    EXPECT_NEAR(g.blocks.at(0).percentile, below(*g.blocks.at(0).flow), 1e-9);
    // The harmonic mean itself stays the whole record's.
    EXPECT_EQ(r.harmonicMean, g.harmonicMean);
}

TEST_F(BioScopeRun, AGivenPercentileIsOneOfTheSeasonsDays) {
    SettingsTexts c = summer(true);
    c.nonBiological = NonBiologicalKind::percentile;
    c.percentile = "10";
    const RunResult season = run(c, {"two_lows.flo"});
    const GageResult& g = season.gage(1);
    std::vector<double> days = summerFlows(g);
    std::sort(days.begin(), days.end());
    const auto position = static_cast<std::size_t>(std::trunc(days.size() * 10.0 / 100 + 1));
    ASSERT_TRUE(g.blocks.at(0).flow);
    EXPECT_EQ(*g.blocks.at(0).flow, days.at(position - 1));
    c.bioWithinSeason = false;
    EXPECT_NE(run(c, {"two_lows.flo"}).gage(1).blocks.at(0).flow, g.blocks.at(0).flow);
}

TEST_F(BioScopeRun, AFullYearSeasonIsTheWholeRecordWhateverTheChoice) {
    SettingsTexts within;
    within.bioWithinSeason = true;
    const RunResult chosen = run(within, {"two_lows.flo", verde});
    EXPECT_EQ(chosen.settings.bioScope, BioScope::record);
    EXPECT_EQ(everything(chosen), everything(run({}, {"two_lows.flo", verde})));
}

TEST_F(BioScopeRun, ReportAndHintsSayWhichWasUsed) {
    const RunResult record = run(summer(false), {"two_lows.flo"});
    const RunResult season = run(summer(true), {"two_lows.flo"});
    const std::string line =
        "Season defined as Jun 1 - Sep 30\r\n\r\nBiological flow, percentiles and excursion "
        "rates within the season only\r\n\r\nGage";
    EXPECT_NE(report(season).find(line), std::string::npos) << report(season);
    EXPECT_EQ(report(record).find("within the season only"), std::string::npos);
    for (const int col : {4, 5, 6, 8, 9, 14}) {
        EXPECT_NE(cellHint(season, col, 1).find("Computed within the season Jun 1 - Sep 30 only"),
                  std::string::npos)
            << col;
        EXPECT_NE(cellHint(record, col, 1).find("Computed over the whole record"),
                  std::string::npos)
            << col;
    }
    EXPECT_NE(cellHint(season, 2, 1).find("Over the whole record of the period"),
              std::string::npos);
    EXPECT_NE(cellHint(season, 13, 1).find("Over the whole record of the period"),
              std::string::npos);
}

TEST_F(Engine, AmmoniaRuleTakesTwiceTheFourDayFlowWhenLower) {
    // A steady river that drops to about a tenth for four days each summer: the 30-day
    // harmonic average hardly notices, the 4-day flow does.
    writeDips("dips.flo", 4, [](int yi) { return 8 + yi % 5; });
    const SettingsTexts c = controls([](SettingsTexts& t) {
        t.criterion = CriterionKind::ammonia;
        t.bioAveragingDays = "30";
        t.bioExcursionsPerCluster = "4";
    });
    const RunResult r = run(c, {"dips.flo"});
    ASSERT_EQ(r.dataRowCount(), 1);

    // The 4-day flow computed on its own through the statistics.
    const std::vector<GageRow> rows = table({"dips.flo"});
    GageYears years;
    years.first = {toInteger(rows[0].start) - 1900 - 1};
    years.last = {toInteger(rows[0].end) - 1900 - 1};
    const std::vector<GageSeries> gages =
        readGageSeries(path("dips.flo"), "Apr 1", "Mar 31", years, nullptr);
    ASSERT_EQ(gages.size(), 1u);
    std::vector<double> days = gages[0].days;
    days.resize(static_cast<std::size_t>(gages[0].dayCount()), unknown);
    DailySeries series;
    series.days = days;
    series.calendar.firstYear = gages[0].firstYear;
    series.calendar.startsOnSeasonStart = gages[0].startsOnSeasonStart;
    series.recordDays = gages[0].recordDays;
    SearchParameters fourBThree;
    fourBThree.averagingDays = 4;
    fourBThree.yearsBetween = 3;
    fourBThree.clusterDays = 120;
    fourBThree.excursionsPerCluster = 5;
    fourBThree.mode = biologicalMode;
    const double fourDay = lowFlowSearch(series, fourBThree, library()).flow;
    ASSERT_GT(fourDay, 0);

    EXPECT_EQ(cellOf(r, 4, 0), "30B3");
    EXPECT_EQ(cellOf(r, 4, 1), "2*4B3: " + NiceFlow(2 * fourDay));
    // The flow shown has its percentile and excursion rate, as every biological flow has.
    const BiologicalResult& bio = r.gage(1).biological;
    EXPECT_TRUE(bio.twiceFourDay);
    EXPECT_GT(bio.percentile, 0);
    EXPECT_EQ(cellOf(r, 5, 1), percentText(bio.percentile));
    EXPECT_EQ(cellOf(r, 6, 1), formatFixed(bio.excursionRate, 2, 4));
    ASSERT_TRUE(r.gage(1).excursions != nullptr);
    EXPECT_EQ(r.gage(1).excursions->excursions.flow, 2 * fourDay);

    // A river dry for five days a year has no 4-day low flow to fit: the criterion cannot be
    // evaluated (twice the missing flow, -2, is no design flow).
    writeDips("dry.flo", 5, [](int) { return 0; });
    const RunResult dry = run(c, {"dry.flo"});
    EXPECT_EQ(cellOf(dry, 4, 1), "N/A");
    EXPECT_TRUE(dry.tooshort);
    EXPECT_EQ(dry.gage(1).excursions, nullptr);

    // With own values the rule does not apply.
    SettingsTexts own = c;
    own.useDefaults = false;
    const RunResult plain = run(own, {"dips.flo"});
    EXPECT_EQ(cellOf(plain, 4, 1).find("2*4B3"), std::string::npos);
    EXPECT_NE(cellOf(plain, 5, 1), "");
}

TEST_F(Engine, PeriodsReadExactlyTheYearsChosen) {
    struct Case {
        int choice;  // PeriodKind as a number
        const char* first;
        const char* last;
        bool summer;
        const char* verdePeriod;
        const char* sanJoaquinPeriod;
    };
    const Case cases[] = {
        {3, "1995", "2010", false, "1995-2010", "2011-2021"},
        {3, "1995", "2010", true, "1995-2010", "2010-2021"},
        {4, "2000", "2005", false, "2000-2005", "2000-2005"},
        {2, "", "", false, "2011-2021", "2011-2021"},  // longest: the shorter span, own end
        {1, "", "", false, "2011-2021", "2011-2021"},  // common years
    };
    for (const Case& k : cases) {
        SettingsTexts c;
        if (k.summer) {
            c.seasonStart = "Jun 1";
            c.seasonEnd = "Sep 30";
            c.fullClimaticYear = false;
        }
        c.period = static_cast<PeriodKind>(k.choice);
        c.firstYear = k.first;
        c.lastYear = k.last;
        std::vector<GageRow> rows = table({verde, sanJoaquin}, c);
        if (k.choice == 3) {
            rows[0].start = k.first;
            rows[0].end = k.last;
        }
        const RunResult r = runCalculation({c, rows}, library());
        EXPECT_EQ(cellOf(r, 1, 1), k.verdePeriod) << "choice " << k.choice;
        // San Joaquin's record starts in 2009/2011: the years 2000-2005 hold no season.
        if (k.choice != 4) {
            EXPECT_EQ(cellOf(r, 1, 2), k.sanJoaquinPeriod) << "choice " << k.choice;
        }
    }
}

TEST_F(Engine, GagesWithoutAPeriodReadNAWithoutTheNotice) {
    // Records 1990-2000 and 2011-2021 have no common years.
    SettingsTexts c;
    c.period = PeriodKind::common;
    std::vector<GageRow> rows = table({verde, sanJoaquin, snake}, c);
    rows[0].end = "2000";
    rows[2].use = true;  // "N/A" in Record, Start and End
    const RunResult r = runCalculation({c, rows}, library());
    ASSERT_EQ(r.dataRowCount(), 3);
    for (int row = 1; row <= 3; ++row) {
        EXPECT_FALSE(cellOf(r, 0, row).empty());
        for (int col = 1; col < r.columnCount(); ++col) EXPECT_EQ(cellOf(r, col, row), "N/A");
        EXPECT_EQ(r.gage(row).excursions, nullptr);
        EXPECT_EQ(r.gage(row).annualTable, nullptr);
    }
    EXPECT_FALSE(r.tooshort);

    // A file whose only gage in use has no period, beside an unused gage with years: there
    // are no common years, and nothing is asked of the reader outside the calendar.
    std::vector<GageRow> two = table({colorado}, c);
    ASSERT_EQ(two.size(), 2u);
    ASSERT_EQ(two[1].record, "N/A");
    two[0].use = false;
    two[1].use = true;
    const RunResult none = runCalculation({c, two}, library());
    EXPECT_EQ(cellOf(none, 1, 1), "N/A");

    // Only an "N/A" cell means "no period"; other text abandons the run.
    rows[0].start = "abc";
    try {
        runCalculation({c, rows}, library());
        FAIL() << "no error";
    } catch (const Error& e) {
        EXPECT_TRUE(test::hasCode(e, ErrorCode::conversion));
        EXPECT_STREQ(e.what(), "'abc' is not a valid integer value");
    }
}

TEST_F(Engine, FlowThatCannotBeComputedSetsTheNotice) {
    SettingsTexts c;
    c.period = PeriodKind::years;
    c.firstYear = "2015";  // six seasons: no 7Q10
    c.lastYear = "2021";
    const RunResult r = run(c, {verde});
    EXPECT_EQ(cellOf(r, 7, 1), "N/A");
    EXPECT_EQ(cellOf(r, 8, 1), "");
    EXPECT_TRUE(r.tooshort);
    EXPECT_NE(cellOf(r, 4, 1), "N/A");  // three years suffice for 1B3
}

TEST_F(Engine, ReturnPeriodWithoutFiniteFlowShowsNA) {
    // San Joaquin's 7-day minima have a positive skew: a 1-year return period has no finite
    // flow (the library's 1.0e20), which is not a flow that data was missing for.
    SettingsTexts c;
    c.returnYears = "1";
    const RunResult r = run(c, {sanJoaquin, verde});
    EXPECT_EQ(cellOf(r, 7, 0), "7Q1");
    EXPECT_EQ(cellOf(r, 7, 1), "N/A");
    EXPECT_EQ(cellOf(r, 8, 1), "");
    EXPECT_EQ(cellOf(r, 9, 1), "");
    EXPECT_TRUE(r.gage(1).blocks[0].noFiniteFlow);
    EXPECT_FALSE(r.tooshort);
    // Verde's minima give a finite 7Q1.
    EXPECT_FALSE(r.gage(2).blocks[0].noFiniteFlow);
    EXPECT_EQ(cellOf(r, 7, 2).find("E+"), std::string::npos);
    EXPECT_NE(cellOf(r, 8, 2), "");
}

TEST_F(Engine, EveryResultsColumnExplainsItself) {
    SettingsTexts c;
    c.averagingPeriods = "7,30";
    const RunResult year = run(c, {verde, sanJoaquin});
    std::set<std::string> sentences;
    for (int col = 2; col < year.columnCount(); ++col) {
        const std::string hint = cellHint(year, col, 0);
        EXPECT_TRUE(sentences.insert(hint).second) << "column " << col << ": " << hint;
        EXPECT_EQ(hint.find("whole record"), std::string::npos) << hint;  // a full year
    }
    EXPECT_EQ(cellHint(year, 4, 1),
              "Biological design flow: the 1-day average flow may fall below it no more than "
              "once in 3 years on average, excursions counted in 120-day clusters of at most 5.");
    EXPECT_NE(cellHint(year, 10, 0).find("equivalent return period"), std::string::npos);
    EXPECT_EQ(cellHint(year, 0, 2), cellOf(year, 0, 2));  // the whole gage name
    EXPECT_EQ(cellHint(year, 1, 1), periodHint(cellOf(year, 1, 1), "Apr 1", "Mar 31", 1));

    // A summer season: the values over the whole record say so, the xQy flows do not.
    c.seasonStart = "Jun 1";
    c.seasonEnd = "Sep 30";
    c.fullClimaticYear = false;
    const RunResult summer = run(c, {verde});
    for (const int col : {2, 4, 5, 6, 8, 9, 12, 20})
        EXPECT_NE(cellHint(summer, col, 1)
                      .find("whole record of the period, not only the season "
                            "Jun 1 - Sep 30"),
                  std::string::npos)
            << "column " << col;
    for (const int col : {0, 1, 3, 7, 10, 11, 19})
        EXPECT_EQ(cellHint(summer, col, 1).find("whole record"), std::string::npos)
            << "column " << col;

    // The cells with a special value explain it.
    c = {};
    c.returnYears = "1";
    const RunResult once = run(c, {sanJoaquin});
    EXPECT_NE(cellHint(once, 7, 1).find("no finite 7Q1 flow"), std::string::npos);
    c = {};
    c.criterion = CriterionKind::ammonia;
    c.writeCriterionDefaults();
    writeDips("dips.flo", 4, [](int yi) { return 8 + yi % 5; });
    const RunResult ammonia = run(c, {"dips.flo"});
    ASSERT_TRUE(ammonia.gage(1).biological.twiceFourDay);
    EXPECT_NE(cellHint(ammonia, 4, 1).find("2*4B3: twice the 4-day"), std::string::npos);
    EXPECT_NE(cellHint(ammonia, 4, 0).find("the lower of this 30-day flow and twice the 4-day"),
              std::string::npos);
}

TEST_F(Engine, XQyHintOfARowGivesItsConfidenceLimitsAndTrend) {
    SettingsTexts c;
    c.averagingPeriods = "7,30";
    const RunResult r = run(c, {verde, bayou});
    const AveragingBlock& b = r.gage(1).blocks[0];
    ASSERT_TRUE(b.limits90 && b.trend);
    const std::string hint = cellHint(r, 7, 1);
    EXPECT_NE(hint.find(" 90 % confidence limits: " + NiceFlow(b.limits90->lower) + " to " +
                        NiceFlow(b.limits90->upper) + " cfs."),
              std::string::npos)
        << hint;
    EXPECT_NE(hint.find("Annual minima trend: \u22126.8 cfs/decade, p < 0.001"), std::string::npos)
        << hint;
    // Each period its own; the header explains the column only.
    EXPECT_NE(cellHint(r, 13, 1).find(NiceFlow(r.gage(1).blocks[1].limits90->lower)),
              std::string::npos);
    EXPECT_EQ(cellHint(r, 7, 0).find("confidence"), std::string::npos);
    EXPECT_EQ(cellHint(r, 7, 0).find("trend"), std::string::npos);
    // Bayou Grand Cane's 7Q10 is 0 for its dry years: a trend, no limits.
    const std::string dry = cellHint(r, 7, 2);
    EXPECT_EQ(dry.find("confidence"), std::string::npos) << dry;
    EXPECT_NE(dry.find("Annual minima trend: "), std::string::npos) << dry;
}

TEST_F(Engine, ExplicitFlowIsCountedOnTheSameAveragesInEveryBlock) {
    SettingsTexts c;
    c.nonBiological = NonBiologicalKind::explicitFlow;
    c.flow = "50";
    c.averagingPeriods = "7,30";
    const RunResult two = run(c, {verde});
    c.averagingPeriods = "30";
    const RunResult one = run(c, {verde});
    EXPECT_EQ(cellOf(two, 7, 0), "Given Flow");
    EXPECT_EQ(cellOf(two, 9, 0), "Exc./ 3 Years");
    EXPECT_EQ(cellOf(two, 9, 1), cellOf(two, 15, 1));
    EXPECT_EQ(cellOf(two, 9, 1), cellOf(one, 9, 1));
    EXPECT_EQ(cellOf(two, 8, 1), "4.63%");
}

TEST_F(Engine, BadParametersAreRefusedBeforeAnyFileIsRead) {
    GageRow missing{"X", path("no-such-file.txt"), 1, "1990-2000", "1990", "2000", true};
    SettingsTexts c;
    c.bioExcursionsPerCluster = "0";  // would double the search's upper flow forever
    EXPECT_ERROR_CODE(runCalculation({c, {missing}}, library()), ErrorCode::calculation);
    c = {};
    c.averagingPeriods = "7,0";
    EXPECT_ERROR_CODE(runCalculation({c, {missing}}, library()), ErrorCode::calculation);
    c = {};
    EXPECT_ERROR_CODE(runCalculation({c, {missing}}, library()), ErrorCode::inOut);
    // Without a gage in use nothing is read or converted: the header row only.
    missing.use = false;
    c.bioAveragingDays = "abc";
    const RunResult r = runCalculation({c, {missing}}, library());
    EXPECT_EQ(r.grid.size(), 1u);
    EXPECT_EQ(cellOf(r, 0, 0), "Gage");
    EXPECT_FALSE(r.seasonLineShown);
}

TEST_F(Engine, ProgressCountsThreeStepsPerTypedEntryAndGage) {
    std::vector<std::pair<std::string, int>> seen;
    const ProgressFn record = [&](const std::string& caption, int gauge) {
        seen.emplace_back(caption, gauge);
    };
    SettingsTexts c;
    c.averagingPeriods = "7,30";
    runCalculation({c, table({verde, sanJoaquin}, c)}, library(), record);
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.front(), std::make_pair(std::string("Calculating - 0 of 12"), 0));
    EXPECT_EQ(seen.back(), std::make_pair(std::string("Calculating 12 of 12"), 100));
    EXPECT_NE(std::find_if(seen.begin(), seen.end(),
                           [](const auto& p) { return p.first == "Calculating 2 of 12 - 7Q1"; }),
              seen.end());

    // A repeated entry counts in the total but makes no block: the gauge stops at 50.
    seen.clear();
    c.averagingPeriods = "7,7";
    runCalculation({c, table({verde}, c)}, library(), record);
    EXPECT_EQ(seen.back(), std::make_pair(std::string("Calculating 3 of 6"), 50));
}

TEST_F(Engine, IndependentRunsOnTwoThreadsGiveTheSameResults) {
    const SettingsTexts c;
    const auto rows = table({verde, bayou}, c);
    const std::string alone = everything(runCalculation({c, rows}, library()));
    auto first = std::async(std::launch::async, [&] {
        return everything(runCalculation({c, rows}, library()));
    });
    auto second = std::async(std::launch::async, [&] {
        return everything(runCalculation({c, rows}, library()));
    });
    EXPECT_EQ(first.get(), alone);
    EXPECT_EQ(second.get(), alone);
}

TEST_F(Engine, ExampleFilesUnderSeveralSettings) {
    const std::vector<std::string> examples = {"08023080_bayou_grand_cane_zeros.txt", colorado,
                                               "09506000_verde_camp_verde_1989-2021.txt", bayouFlo};
    const RunResult r = run({}, examples);
    // The second Colorado gage has less than a season and stays unmarked.
    ASSERT_EQ(r.dataRowCount(), 4);
    EXPECT_EQ(cellOf(r, 0, 2), "09070500 COLORADO RIVER NEAR DOTSERO, CO");
    // A harmonic mean above 1000 takes the exponent form.
    const std::string harmonic = cellOf(r, 13, 2);
    EXPECT_EQ(harmonic.size(), 8u) << harmonic;
    EXPECT_EQ(harmonic.substr(1, 1) + harmonic.substr(4), ".E+03") << harmonic;
    // Both forms of one record count its days alike, the last season's end included.
    EXPECT_EQ(cellOf(r, 2, 1), "6,940");
    EXPECT_EQ(cellOf(r, 2, 4), "6,940");
    EXPECT_EQ(cellOf(r, 1, 1), cellOf(r, 1, 4));

    // Explicit flow in a summer season: every block counts the same excursions, and the
    // excursion text names the season's day positions.
    SettingsTexts summer;
    summer.seasonStart = "Jun 1";
    summer.seasonEnd = "Sep 30";
    summer.fullClimaticYear = false;
    summer.nonBiological = NonBiologicalKind::explicitFlow;
    summer.flow = "100";
    summer.averagingPeriods = "7,30";
    const RunResult s = run(summer, examples);
    EXPECT_FALSE(s.settings.season.fullClimaticYear);
    EXPECT_EQ(seasonLine(s.settings.season), "Season defined as Jun 1 - Sep 30");
    for (int row = 1; row <= s.dataRowCount(); ++row)
        EXPECT_EQ(cellOf(s, 9, row), cellOf(s, 15, row)) << row;
    EXPECT_EQ(excursionCopyText(excursionTableOfRow(s, 3), {}, s.settings.season.startDay,
                                s.settings.season.endDay)
                  .find("Seasonal calculation: start day is 1, end day is 122\r\n\r\n"),
              0u);
}

}  // namespace

TEST_F(Engine, MoreThanAHundredGagesInUseAreRefusedBeforeAnyWork) {
    const SettingsTexts c;
    std::vector<GageRow> rows = table({bayouFlo}, c);
    ASSERT_EQ(rows.size(), 1u);
    rows.resize(101, rows.front());
    int progressCalls = 0;
    try {
        runCalculation({c, rows}, library(), [&](const std::string&, int) { ++progressCalls; });
        FAIL() << "101 gages in use must be refused";
    } catch (const Error& e) {
        EXPECT_TRUE(test::hasCode(e, ErrorCode::range));
        EXPECT_STREQ(e.what(),
                     "Range check error: 101 gages are in use; a calculation takes at most 100");
    }
    EXPECT_EQ(progressCalls, 0);
    rows.resize(100);
    EXPECT_EQ(runCalculation({c, rows}, library()).dataRowCount(), 100);
}

namespace {

// Everything a gage's numbers say, to compare two computations exactly.
std::string numbersOf(const GageResult& g) {
    std::ostringstream o;
    o.precision(17);
    o << g.name << ' ' << g.firstYear << '-' << g.lastYear << ' ' << g.daysInRecord << ' '
      << g.zeroDays << '/' << g.missingDays << ' ' << g.biological.flow.value_or(-1) << ' '
      << g.biological.percentile << ' ' << g.biological.excursionRate << ' ' << g.harmonicMean;
    for (const AveragingBlock& b : g.blocks)
        o << " | " << b.days << ' ' << b.flow.value_or(-1) << ' ' << b.percentile << ' '
          << b.excursionRate << ' ' << b.equivalent.years.value_or(-1) << ' ' << b.fit.mean << ' '
          << b.fit.standardDeviation << ' ' << b.fit.skew << ' ' << b.fit.years();
    return o.str();
}

}  // namespace

TEST_F(Engine, AGageIsComputedFromItsSeriesAloneAsInTheTableRun) {
    SettingsTexts texts;
    texts.averagingPeriods = "7,30";
    const RunResult r = run(texts, {verde, colorado});
    ASSERT_EQ(r.dataRowCount(), 2);  // Colorado's second gage has no record and is not in use

    const RunSettings settings = settingsFromTexts(texts);
    const std::vector<GageSeries> series =
        readGageSeries(path(colorado), texts.seasonStart, texts.seasonEnd, {}, nullptr);
    ASSERT_EQ(series.size(), 2u);
    const GageResult alone = computeGage(series[0], {path(colorado), 1}, settings, library());
    EXPECT_EQ(numbersOf(alone), numbersOf(r.gage(2)));
    EXPECT_EQ(alone.file, path(colorado));

    // Two gages at once on two threads give what each gives alone.
    const auto verdeSeries =
        readGageSeries(path(verde), texts.seasonStart, texts.seasonEnd, {}, nullptr);
    auto a = std::async(std::launch::async, [&] {
        return computeGage(verdeSeries[0], {path(verde), 1}, settings, library());
    });
    auto b = std::async(std::launch::async, [&] {
        return computeGage(series[0], {path(colorado), 1}, settings, library());
    });
    EXPECT_EQ(numbersOf(a.get()), numbersOf(r.gage(1)));
    EXPECT_EQ(numbersOf(b.get()), numbersOf(r.gage(2)));
}

TEST_F(Engine, NumbersAreThoseTheCellsShow) {
    SettingsTexts texts;
    texts.averagingPeriods = "7,30";
    const RunResult r = run(texts, {verde, bayou});
    for (int row = 1; row <= r.dataRowCount(); ++row) {
        const GageResult& g = r.gage(row);
        EXPECT_EQ(cellOf(r, 0, row), g.name);
        EXPECT_EQ(cellOf(r, 1, row),
                  std::to_string(g.firstYear) + "-" + std::to_string(g.lastYear));
        EXPECT_EQ(cellOf(r, 4, row), NiceFlow(*g.biological.flow));
        EXPECT_EQ(cellOf(r, 5, row), percentText(g.biological.percentile));
        ASSERT_EQ(g.blocks.size(), 2u);
        for (std::size_t k = 0; k < 2; ++k) {
            const AveragingBlock& b = g.blocks[k];
            const int ci = 7 + 6 * static_cast<int>(k);
            EXPECT_EQ(cellOf(r, ci, row), NiceFlow(*b.flow));
            EXPECT_EQ(cellOf(r, ci + 1, row), percentText(b.percentile));
            // The fit behind the flow: as many years as the per-year table holds.
            EXPECT_TRUE(b.fit.ok);
            ASSERT_NE(b.annualTable, nullptr);
            EXPECT_EQ(b.fit.years(), static_cast<int>(b.annualTable->size()));
        }
        EXPECT_EQ(g.annualTable, g.blocks.back().annualTable);
    }
    // Bayou Grand Cane has dry years: the fit leaves them out of the moments.
    EXPECT_GT(r.gage(2).blocks[0].fit.zeroYears, 0);
    EXPECT_EQ(r.gage(1).blocks[0].fit.zeroYears, 0);
}

TEST_F(Engine, DailyFlowsOfThePeriodUsedMarkMissingDays) {
    SettingsTexts texts;
    texts.period = PeriodKind::years;
    texts.firstYear = "2000";
    texts.lastYear = "2005";
    const RunResult r = run(texts, {verde});
    const GageResult& g = r.gage(1);
    ASSERT_NE(g.daily, nullptr);
    EXPECT_EQ(static_cast<int>(g.daily->flows.size()), g.daysInRecord);
    // The period 2000-2005 of an Apr 1 climatic year begins on Apr 1, 1999.
    EXPECT_EQ(g.daily->firstDay, DayNumber(99, 4, 1));
    const auto missing = std::count_if(g.daily->flows.begin(), g.daily->flows.end(),
                                       [](double q) { return std::isnan(q); });
    EXPECT_EQ(missing, g.missingDays);
}

// A copy of Verde's daily values cut to the days from `first` to `last` (YYYY-MM-DD), with
// the file's header.
void writeVerdeCut(const fs::path& from, const fs::path& to, const std::string& first,
                   const std::string& last) {
    std::ifstream in(from);
    std::ofstream out(to);
    std::string line;
    while (std::getline(in, line)) {
        const auto tab = line.find('\t', line.find('\t') + 1);
        const std::string date = tab == std::string::npos ? "" : line.substr(tab + 1, 10);
        const bool record = line.starts_with("USGS\t");
        if (!record || (date >= first && date <= last)) out << line << '\n';
    }
}

SettingsTexts summer(const std::string& firstYear, const std::string& lastYear) {
    SettingsTexts c;
    c.seasonStart = "Jun 1";
    c.seasonEnd = "Sep 30";
    c.fullClimaticYear = false;
    if (!firstYear.empty()) {
        c.period = PeriodKind::years;
        c.firstYear = firstYear;
        c.lastYear = lastYear;
    }
    return c;
}

TEST_F(Engine, EveryDayOfThePeriodCountsInEveryFormat) {
    const RunResult r = run({}, {bayou, bayouFlo, verde});
    ASSERT_EQ(r.dataRowCount(), 3);
    // The daily-value file and the four-number file of one record give the same days.
    EXPECT_EQ(r.gage(1).daysInRecord, 6940);
    EXPECT_EQ(r.gage(2).daysInRecord, 6940);
    EXPECT_EQ(r.gage(1).harmonicMean, r.gage(2).harmonicMean);
    // Verde's record ends on 31 Mar 2021, the last day of its last climatic year.
    const DailyFlows& daily = *r.gage(3).daily;
    const int lastDay = daily.firstDay + static_cast<int>(daily.flows.size()) - 1;
    EXPECT_EQ(lastDay, DayNumber(121, 3, 31));
    EXPECT_FALSE(std::isnan(daily.flows.back()));
    EXPECT_EQ(r.gage(3).daysInRecord, static_cast<int>(daily.flows.size()));
}

TEST_F(Engine, OneFullSeasonIsEnough) {
    writeVerdeCut(path(verde), path("verde_2000_summer.txt"), "2000-05-01", "2000-10-31");
    const SettingsTexts all = summer("", "");
    const std::vector<GageRow> rows = table({"verde_2000_summer.txt"}, all);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].record, "2000-2000");
    EXPECT_TRUE(rows[0].use);
    const RunResult cut = runCalculation({all, rows}, library());
    EXPECT_FALSE(cut.gage(1).shortRecord);
    EXPECT_EQ(cut.gage(1).daysInRecord, 122);  // Jun 1 to Sep 30
    EXPECT_EQ(cellOf(cut, 1, 1), "2000-2000");

    const RunResult year = run(summer("2001", "2001"), {verde});
    EXPECT_FALSE(year.gage(1).shortRecord);
    EXPECT_EQ(year.gage(1).seasons, 1);
    EXPECT_EQ(cellOf(year, 1, 1), "2001-2001");
    EXPECT_EQ(cellOf(year, 2, 1), "122");
    EXPECT_NE(cellOf(year, year.columnCount() - 2, 1), "N/A");  // the harmonic mean
    // A climatic year of one season is a record too.
    SettingsTexts climatic;
    climatic.period = PeriodKind::years;
    climatic.firstYear = climatic.lastYear = "2005";
    const RunResult one = run(climatic, {verde});
    EXPECT_FALSE(one.gage(1).shortRecord);
    EXPECT_EQ(one.gage(1).daysInRecord, 365);
}

TEST_F(Engine, PerYearTableReachesItsLastRecurrencePeriod) {
    SettingsTexts c = summer("2001", "2010");
    const RunResult r = run(c, {verde});
    const GageResult& g = r.gage(1);
    ASSERT_NE(g.annualTable, nullptr);
    ASSERT_EQ(g.annualTable->size(), 10u);
    EXPECT_EQ(g.seasons, 10);
    // The 10-year column is the table's 7Q10, not an entry left unwritten.
    EXPECT_EQ(cellOf(r, 7, 1), "31.0");
    EXPECT_FLOAT_EQ(g.annualTable->back().returnPeriodFlow, static_cast<float>(*g.blocks[0].flow));
    EXPECT_NE(report(r).find("\t31.0"), std::string::npos);
}

TEST_F(Engine, TrendOfMinimaKeepsTheZeroYearsAsTies) {
    const RunResult r = run({}, {bayou, verde});
    const AveragingBlock& dry = r.gage(1).blocks[0];
    ASSERT_EQ(dry.minima.size(), 19u);
    const auto zeros = std::count_if(dry.minima.begin(), dry.minima.end(),
                                     [](const SeasonMinimum& m) { return m.flow == 0; });
    EXPECT_EQ(zeros, 15);
    EXPECT_EQ(zeros, dry.fit.zeroYears);
    ASSERT_TRUE(dry.trend);
    EXPECT_DOUBLE_EQ(dry.trend->p, 1.0);  // S = 0 over all 19 years
    // A stream without zero years keeps its test.
    ASSERT_TRUE(r.gage(2).blocks[0].trend);
    EXPECT_LT(r.gage(2).blocks[0].trend->p, 1.0);
}

TEST_F(Engine, ZeroAdjustedHarmonicMeanWeighsTheNonzeroDays) {
    const RunResult r = run({}, {bayou, verde});
    for (int row = 1; row <= 2; ++row) {
        const GageResult& g = r.gage(row);
        const auto& flows = g.daily->flows;
        const auto known =
            std::count_if(flows.begin(), flows.end(), [](double q) { return !std::isnan(q); });
        const auto nonzero =
            std::count_if(flows.begin(), flows.end(), [](double q) { return q > 0; });
        EXPECT_DOUBLE_EQ(g.harmonicMeanZeroAdjusted,
                         g.harmonicMean * static_cast<double>(nonzero) / known)
            << g.name;
    }
    EXPECT_LT(r.gage(1).harmonicMeanZeroAdjusted, r.gage(1).harmonicMean);
    EXPECT_EQ(r.gage(2).harmonicMeanZeroAdjusted, r.gage(2).harmonicMean);
    const std::string text = report(r);
    EXPECT_NE(text.find("Zero-adjusted harmonic mean"), std::string::npos);
    EXPECT_NE(
        text.find(r.gage(1).name + "\t" + NiceFlow(r.gage(1).harmonicMeanZeroAdjusted) + "\t\r\n"),
        std::string::npos);
    // Without a zero day the two means agree and the report has no such line.
    EXPECT_EQ(report(run({}, {verde})).find("Zero-adjusted"), std::string::npos);
}

TEST_F(Engine, EachAveragingPeriodMayHaveItsOwnReturnPeriod) {
    SettingsTexts mixed;
    mixed.averagingPeriods = "7:10,30:5";
    const RunResult r = run(mixed, {verde});
    EXPECT_EQ(cellOf(r, 7, 0), "7Q10");
    EXPECT_EQ(cellOf(r, 13, 0), "30Q5");
    SettingsTexts alone;
    alone.averagingPeriods = "30";
    alone.returnYears = "5";
    EXPECT_EQ(r.gage(1).blocks[1].flow, run(alone, {verde}).gage(1).blocks[0].flow);
    // A period without its own takes the common return period.
    mixed.averagingPeriods = "7,30:5";
    mixed.returnYears = "2";
    const RunResult partly = run(mixed, {verde});
    EXPECT_EQ(cellOf(partly, 7, 0), "7Q2");
    EXPECT_EQ(cellOf(partly, 13, 0), "30Q5");
}

TEST_F(Engine, TooFewSeasonYearsSayThereIsNoTrendTest) {
    SettingsTexts c;
    c.period = PeriodKind::years;
    c.firstYear = "2020";
    c.lastYear = "2021";
    const RunResult r = run(c, {verde});
    const AveragingBlock& b = r.gage(1).blocks[0];
    ASSERT_EQ(b.minima.size(), 2u);
    EXPECT_FALSE(b.trend);
    EXPECT_NE(cellHint(r, 7, 1).find("no trend test"), std::string::npos) << cellHint(r, 7, 1);
}
