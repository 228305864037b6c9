// `vando3-cli run` and `vando3-cli excursions` in-process on copies of real files, against
// the independently computed reference outputs, and their errors.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

#include "cli_fixture.h"
#include "vd_paramfile.h"

namespace fs = std::filesystem;

namespace {

using vd::test::kReference;
const auto slurp = vd::test::fileText;

class CliRun : public vd::test::CliFixture {
  protected:
    CliRun() : CliFixture("vd_cli_run") {}

    int run(vd::cli::Args args, bool withFiles = true) {
        if (withFiles)
            for (const char* f : {"09506000_verde_camp_verde_dv_1989-2021.txt",
                                  "11224000_mf_san_joaquin_mammoth_dv_2009-2021.txt",
                                  "08023080_bayou_grand_cane_zeros.txt"})
                args.push_back(input(f));
        return call(args);
    }
};

TEST_F(CliRun, PrintsExactlyTheReferenceReports) {
    struct Case {
        vd::cli::Args args;
        const char* reference;
    };
    const Case cases[] = {
        {{"run"}, "report_default.txt"},
        {{"run", "--avg", "7,30"}, "report_avg7_30.txt"},
        {{"run", "--avg", "7, 30"}, "report_avg7_30.txt"},  // blanks around the separator
        {{"run", "--bio", "ammonia"}, "report_ammonia.txt"},
        {{"run", "--nonbio", "perc", "--perc", "10", "--season-start", "Jun 1", "--season-end",
          "Sep 30", "--climatic-year", "0"},
         "report_summer_perc10.txt"},
        {{"excursions", "--row", "1"}, "excursions_row1.txt"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(run(c.args), 0) << c.reference << ": " << err_.str();
        EXPECT_EQ(err_.str(), "") << c.reference;
        EXPECT_EQ(out_.str(), slurp(kReference / c.reference)) << c.reference;
    }
}

TEST_F(CliRun, OptionsStandForTheirControls) {
    // custom values equal to the chronic defaults give the chronic report
    ASSERT_EQ(run({"run", "--bio", "chronic"}), 0);
    const std::string chronic = out_.str();
    ASSERT_EQ(run({"run", "--bio", "custom:4,3,120,5"}), 0);
    EXPECT_EQ(out_.str(), chronic);
    EXPECT_NE(chronic.find("\t4B3\t"), std::string::npos);

    // a climatic year ends the day before its start; an own end date makes a season
    ASSERT_EQ(run({"run", "--season-start", "10/1", "--advanced", "0"}), 0);
    EXPECT_EQ(out_.str().find("Climatic year defined as Oct 1 - Sep 30\r\n\r\nGage\t"), 0u);
    EXPECT_EQ(out_.str().find("Advanced"), std::string::npos);
    ASSERT_EQ(run({"run", "--season-end", "Sep 30", "--season-start", "Jun 1", "--comment", "A",
                   "--comment", "B"}),
              0);
    EXPECT_EQ(out_.str().find("\r\nA\r\nB\r\n\r\nSeason defined as Jun 1 - Sep 30\r\n"), 0u);

    // the period years, a table row's years and an unmarked row
    ASSERT_EQ(run({"run", "--period", "table", "--table-years", "1:2000:2010", "--unmark", "3"}),
              0);
    EXPECT_NE(out_.str().find("\r\n09506000 VERDE RIVER NEAR CAMP VERDE, AZ\t2000-2010\t"),
              std::string::npos);
    EXPECT_EQ(out_.str().find("BAYOU"), std::string::npos);
}

TEST_F(CliRun, ParameterFileGivesTheAnalysisAndLaterOptionsOverride) {
    vd::run::ParamFile p;
    p.settings.period = vd::run::PeriodKind::years;
    p.settings.firstYear = "2000";
    p.settings.lastYear = "2015";
    p.settings.comments = {"from the file"};
    p.settings.useDefaults = true;
    p.settings.criterion = vd::run::CriterionKind::ammonia;
    p.settings.bioAveragingDays = "30";
    p.settings.bioExcursionsPerCluster = "4";
    p.settings.averagingPeriods = "7,30";
    p.entries = {{input("09506000_verde_camp_verde_dv_1989-2021.txt"), true},
                 {input("11224000_mf_san_joaquin_mammoth_dv_2009-2021.txt"), false},
                 {input("08023080_bayou_grand_cane_zeros.txt"), true}};
    const fs::path vdp = dir_ / "analysis.vdp";
    std::ofstream(vdp, std::ios::binary) << vd::run::paramFileText(p);

    ASSERT_EQ(run({"run", "--vdp", vdp.string()}, false), 0) << err_.str();
    const std::string fromFile = out_.str();
    ASSERT_EQ(run({"run", "--comment", "from the file", "--bio", "ammonia", "--avg", "7,30",
                   "--period", "years:2000:2015", "--unmark", "2"}),
              0);
    EXPECT_EQ(fromFile, out_.str());
    EXPECT_NE(fromFile.find("\t2000-2015\t"), std::string::npos);

    ASSERT_EQ(run({"run", "--vdp", vdp.string(), "--avg", "7"}, false), 0);
    EXPECT_EQ(out_.str().find("30Q10"), std::string::npos);

    // A stored file that no longer exists: one message, the rest is run.
    fs::remove(dir_ / "11224000_mf_san_joaquin_mammoth_dv_2009-2021.txt");
    EXPECT_EQ(run({"run", "--vdp", vdp.string()}, false), 1);
    // The message as the window words it, then the files it names.
    EXPECT_EQ(err_.str(),
              "One or more flow data files stored with the parameter file is missing and deleted "
              "from the list. \n  " +
                  input("11224000_mf_san_joaquin_mammoth_dv_2009-2021.txt") + "\n");
    EXPECT_NE(out_.str().find("BAYOU"), std::string::npos);
}

// The optional entries stand for the options: the file's non-biological kind, its value and
// the biological scope give the report the options give.
TEST_F(CliRun, ParameterFileOptionalEntriesAreTheirOptions) {
    vd::run::ParamFile p;
    p.settings.fullClimaticYear = false;
    p.settings.seasonEnd = "Sep 30";
    p.settings.seasonStart = "Jun 1";
    p.settings.nonBiological = vd::run::NonBiologicalKind::percentile;
    p.settings.percentile = "10";
    p.settings.bioWithinSeason = true;
    p.entries = {{input("09506000_verde_camp_verde_dv_1989-2021.txt"), true}};
    const fs::path vdp = dir_ / "options.vdp";
    std::ofstream(vdp, std::ios::binary) << vd::run::paramFileText(p);

    ASSERT_EQ(run({"run", "--vdp", vdp.string()}, false), 0) << err_.str();
    const std::string fromFile = out_.str();
    EXPECT_NE(fromFile.find("within the season only"), std::string::npos) << fromFile;
    ASSERT_EQ(call({"run", "--season-start", "Jun 1", "--season-end", "Sep 30", "--nonbio", "perc",
                    "--perc", "10", "--bio-within-season",
                    input("09506000_verde_camp_verde_dv_1989-2021.txt")}),
              0);
    EXPECT_EQ(fromFile, out_.str());
    // Options after the file override its entries.
    ASSERT_EQ(run({"run", "--vdp", vdp.string(), "--nonbio", "hydro"}, false), 0);
    EXPECT_NE(out_.str().find("7Q10"), std::string::npos);
}

TEST_F(CliRun, ErrorsPrintTheWindowsMessagesAndFail) {
    EXPECT_EQ(run({"run", "--season-start", "xyz"}), 1);
    EXPECT_EQ(err_.str(), "Invalid start date\n");
    EXPECT_EQ(out_.str(), "");

    EXPECT_EQ(run({"run", "--avg", "7,,30"}), 1);
    EXPECT_EQ(err_.str(),
              "Non-biological flow averaging period (days): '' is not a valid integer value\n");
    EXPECT_EQ(run({"run", "--avg", ""}), 1);
    EXPECT_EQ(err_.str(), "Flow averaging period: give at least one number of days\n");
    EXPECT_EQ(run({"run", "--nonbio", "flow", "--flow", "-2"}), 1);
    EXPECT_NE(err_.str().find("Explicit flow value: '-2'"), std::string::npos) << err_.str();

    EXPECT_EQ(run({"run", "--rp", "0"}), 1);
    EXPECT_NE(err_.str().find("Return period"), std::string::npos);

    // Refused rather than guessed: a decimal period, a day past the month's end, a reversed
    // period, and a run without files.
    const struct {
        vd::cli::Args args;
        int status;
        const char* message;
    } refusals[] = {
        {{"run", "--avg", "7.5"},
         1,
         "Non-biological flow averaging period (days): '7.5' is not allowed; an averaging period "
         "is a whole number of days.\n"},
        {{"run", "--season-start", "6/31"}, 1, "Invalid start date\n"},
        {{"run", "--season-end", "Feb 29"}, 1, "Invalid end date\n"},
        {{"run", "--period", "years:2010:2001"},
         1,
         "Last year of the calculation period: '2001' is not allowed; it must not be before the "
         "first year, 2010.\n"},
    };
    for (const auto& r : refusals) {
        EXPECT_EQ(run(r.args), r.status) << r.message;
        EXPECT_EQ(err_.str(), r.message);
        EXPECT_EQ(out_.str(), "");
    }
    EXPECT_EQ(run({"run"}, false), 2);
    EXPECT_EQ(err_.str(), "vando3-cli run: no flow file given\n");
    EXPECT_EQ(out_.str(), "");

    EXPECT_EQ(run({"run", "--bogus"}), 2);
    EXPECT_EQ(run({"excursions"}), 2);
    EXPECT_EQ(run({"run", "--table-years", "9:1990:2000"}), 2);

    // An unreadable file is reported, the others still run.
    EXPECT_EQ(run({"run", input("missing.txt")}), 1);
    EXPECT_EQ(err_.str().find("VANDO 3.1b is unable to read the file \"" + input("missing.txt")),
              0u);
    EXPECT_NE(out_.str().find("VERDE"), std::string::npos);
}

TEST_F(CliRun, GivenValuesWithoutTheirKindAreNamedAsIgnored) {
    ASSERT_EQ(run({"run", "--perc", "10"}), 0);
    EXPECT_EQ(out_.str(), slurp(kReference / "report_default.txt"));
    EXPECT_EQ(err_.str(),
              "vando3-cli run: --perc is used only with --nonbio perc; it is ignored\n");
    ASSERT_EQ(run({"run", "--flow", "3", "--nonbio", "flow"}), 0);
    EXPECT_EQ(err_.str(), "");
}

TEST_F(CliRun, ExcursionsOfARowWithoutARecordAreRefused) {
    EXPECT_EQ(run({"excursions", "--row", "4"}), 1);
    EXPECT_NE(err_.str().find("no results row 4"), std::string::npos) << err_.str();
    // The years 1950-1960 hold no data: every row reads "N/A", none has a record.
    EXPECT_EQ(run({"excursions", "--row", "1", "--period", "years:1950:1960"}), 1);
    EXPECT_NE(err_.str().find("has no excursion analysis"), std::string::npos) << err_.str();
    EXPECT_EQ(out_.str(), "");
}

TEST_F(CliRun, TimingGoesToStandardError) {
    ASSERT_EQ(run({"run", "--timing"}), 0);
    EXPECT_EQ(out_.str(), slurp(kReference / "report_default.txt"));
    EXPECT_NE(err_.str().find("read time: "), std::string::npos);
    EXPECT_NE(err_.str().find("\ntotal time: "), std::string::npos);
}

}  // namespace
