// `vando3-cli batch` in-process: its numbers against `run`'s report, its order whatever the
// threads, folders, failing files and refused options; and the CSV writer's fields.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <tuple>

#if !defined(_WIN32)
#include <pthread.h>
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <iostream>
#endif

#include "cli_fixture.h"
#include "flow_reader.h"
#include "gage_computation.h"
#include "log_pearson_library.h"
#include "number_format.h"
#include "results_csv.h"
#include "results_table.h"

namespace fs = std::filesystem;

namespace {

using Row = std::vector<std::string>;

// RFC 4180 records of a text with LF line ends.
std::vector<Row> csvRows(const std::string& text) {
    std::vector<Row> rows;
    Row row;
    std::string field;
    bool quoted = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c != '"')
                field += c;
            else if (i + 1 < text.size() && text[i + 1] == '"')
                field += text[++i];
            else
                quoted = false;
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',' || c == '\n') {
            row.push_back(std::move(field));
            field.clear();
            if (c == '\n') rows.push_back(std::move(row)), row.clear();
        } else {
            field += c;
        }
    }
    return rows;
}

// The results table of a report: the rows after the header row, cells without the TAB
// that ends each.
std::vector<Row> reportRows(const std::string& report) {
    std::vector<Row> rows;
    std::istringstream in(report);
    std::string line;
    bool inTable = false;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.starts_with("Gage\tPeriod\t")) {
            inTable = true;
            continue;
        }
        if (!inTable) continue;
        if (line.empty()) break;
        Row cells;
        std::size_t from = 0;
        for (std::size_t tab; (tab = line.find('\t', from)) != std::string::npos; from = tab + 1)
            cells.push_back(line.substr(from, tab - from));
        rows.push_back(cells);
    }
    return rows;
}

// A CSV line's numbers rounded as the results table shows them.
class ReportCells {
  public:
    ReportCells(const Row& header, const Row& row) {
        for (std::size_t c = 0; c < header.size(); ++c) field_[header[c]] = row.at(c);
    }

    Row cells(const std::vector<int>& periods) const {
        Row cells = {at("gage_name"), at("period_start") + "-" + at("period_end"),
                     vd::run::formatThousands(num("days_in_record")), zeroMissing()};
        flowTriple(cells, at("bio_flow"), "bio_percentile", "bio_excursions_per_y",
                   at("bio_label").starts_with("2*") ? "2*4B3: " : "");
        for (const int d : periods) {
            const std::string D = "_" + std::to_string(d);
            flowTriple(cells, at("xqy_flow" + D), "xqy_percentile" + D, "xqy_excursions" + D, "");
            if (at("equiv_type" + D).empty()) {
                cells.insert(cells.end(), {"N/A", "", ""});
            } else {
                cells.push_back(at("equiv_type" + D));
                cells.push_back(vd::run::NiceFlow(num("equiv_flow" + D)));
                cells.push_back(vd::run::percentText(num("equiv_percentile" + D)));
            }
        }
        cells.push_back(vd::run::NiceFlow(num("harmonic_mean")));
        cells.push_back(vd::run::percentText(num("harmonic_percentile")));
        return cells;
    }

    const std::string& at(const std::string& column) const { return field_.at(column); }

  private:
    double num(const std::string& column) const { return std::stod(at(column)); }

    std::string zeroMissing() const {
        if (num("zero_days") + num("missing_days") == 0) return "None";
        return vd::run::formatThousands(num("zero_days")) + "/" +
               vd::run::formatThousands(num("missing_days"));
    }

    // A flow with its percentile and excursion rate; "N/A" without a flow, the flow alone
    // when it is the ammonia rule's.
    void flowTriple(Row& cells, const std::string& flow, const std::string& percentile,
                    const std::string& rate, const std::string& prefix) const {
        if (flow.empty()) {
            cells.insert(cells.end(), {"N/A", "", ""});
            return;
        }
        cells.push_back(prefix + vd::run::NiceFlow(std::stod(flow)));
        cells.push_back(at(percentile).empty() ? "" : vd::run::percentText(num(percentile)));
        cells.push_back(at(rate).empty() ? "" : vd::run::formatFixed(num(rate), 2, 4));
    }

    std::map<std::string, std::string> field_;
};

class CliBatch : public vd::test::CliFixture {
  protected:
    CliBatch() : CliFixture("vd_cli_batch") {}

    std::vector<std::string> inputs() const {
        return {input("09506000_verde_camp_verde_dv_1989-2021.txt"),
                input("11224000_mf_san_joaquin_mammoth_dv_2009-2021.txt"),
                input("08023080_bayou_grand_cane_zeros.txt"),
                input("08023080_bayou_grand_cane_zeros.flo")};
    }

    int callWith(vd::cli::Args args, const std::vector<std::string>& paths) {
        args.insert(args.end(), paths.begin(), paths.end());
        return call(args);
    }
};

TEST_F(CliBatch, NumbersRoundedAsTheReportGiveItsCells) {
    const std::vector<std::pair<vd::cli::Args, std::vector<int>>> cases = {
        {{}, {7}},
        {{"--avg", "7,30"}, {7, 30}},
        {{"--bio", "ammonia"}, {7}},
        {{"--bio", "chronic", "--avg", "30,4", "--rp", "5"}, {4, 30}},
        {{"--nonbio", "perc", "--perc", "10", "--season-start", "Jun 1", "--season-end", "Sep 30",
          "--climatic-year", "0"},
         {7}},
        {{"--nonbio", "flow", "--flow", "30"}, {7}},
        {{"--period", "years:2000:2015"}, {7}},
        {{"--period", "years:1950:1960"}, {7}},
        {{"--bio-within-season", "--bio", "chronic", "--avg", "7,30", "--season-start", "Jun 1",
          "--season-end", "Sep 30"},
         {7, 30}},
        {{"--nonbio", "perc", "--perc", "10", "--season-start", "Jun 1", "--season-end", "Sep 30",
          "--bio-within-season"},
         {7}},
    };
    for (const auto& [options, periods] : cases) {
        const std::string what = ::testing::PrintToString(options);
        vd::cli::Args runArgs = {"run"};
        runArgs.insert(runArgs.end(), options.begin(), options.end());
        ASSERT_EQ(callWith(runArgs, inputs()), 0) << what << err_.str();
        const std::vector<Row> report = reportRows(out_.str());
        ASSERT_EQ(report.size(), inputs().size()) << what;

        vd::cli::Args batchArgs = {"batch", "--jobs", "2"};
        batchArgs.insert(batchArgs.end(), options.begin(), options.end());
        ASSERT_EQ(callWith(batchArgs, inputs()), 0) << what << err_.str();
        const std::vector<Row> csv = csvRows(out_.str());

        ASSERT_EQ(csv.size(), report.size() + 1) << what;
        for (std::size_t r = 0; r < report.size(); ++r) {
            const ReportCells line(csv[0], csv[r + 1]);
            EXPECT_EQ(line.at("file"), inputs()[r]);
            // Every within-season case has a summer season.
            const bool within = std::ranges::find(options, "--bio-within-season") != options.end();
            if (line.at("status") == "short") {
                EXPECT_EQ(line.at("bio_scope"), "");
                EXPECT_EQ(report[r][1], "N/A") << what << " row " << r;
                EXPECT_EQ(line.at("bio_flow"), "");
                continue;
            }
            EXPECT_EQ(line.at("bio_scope"), within ? "season" : "record") << what;
            EXPECT_EQ(line.cells(periods), report[r]) << what << " row " << r;
        }
    }
}

// The batch computes without per-year tables; its confidence limits and trends are still
// those of a run that keeps everything (as the results window's run does), line for line.
TEST_F(CliBatch, LimitsAndTrendFollowEachPeriodsFlowsAsAFullRunGivesThem) {
    const std::vector<std::string> files = {inputs()[0], inputs()[2]};
    ASSERT_EQ(callWith({"batch", "--avg", "7,30", "--jobs", "2"}, files), 0) << err_.str();
    const std::string text = out_.str();
    const std::vector<Row> rows = csvRows(text);
    ASSERT_EQ(rows.size(), 3u);
    const Row& header = rows[0];
    const auto column = [&](const std::string& name) {
        return std::find(header.begin(), header.end(), name) - header.begin();
    };
    EXPECT_EQ(column("bio_scope"), column("bio_excursions_per_y") + 1);
    EXPECT_EQ(column("xqy_label_7"), column("bio_scope") + 1);
    for (const std::string D : {"_7", "_30"}) {
        EXPECT_EQ(column("xqy_lower90" + D), column("xqy_flow" + D) + 1);
        EXPECT_EQ(column("xqy_upper90" + D), column("xqy_flow" + D) + 2);
        EXPECT_EQ(column("xqy_percentile" + D), column("xqy_flow" + D) + 3);
        EXPECT_EQ(column("trend_p" + D), column("equiv_percentile" + D) + 1);
        EXPECT_EQ(column("trend_slope_per_decade" + D), column("equiv_percentile" + D) + 2);
    }
    EXPECT_EQ(column("xqy_label_30"), column("trend_slope_per_decade_7") + 1);
    EXPECT_EQ(column("harmonic_mean"), column("trend_slope_per_decade_30") + 1);

    vd::run::SettingsTexts texts;
    texts.averagingPeriods = "7,30";
    const vd::run::RunSettings settings = vd::run::settingsFromTexts(texts);
    const auto lib = vd::LogPearsonLibrary::load(vd::programFolder());
    const vd::run::ResultsCsv csv(settings);
    std::istringstream lines(text);
    std::string line;
    std::getline(lines, line);
    for (const std::string& file : files) {
        const auto series =
            vd::readGageSeries(file, texts.seasonStart, texts.seasonEnd, {}, nullptr);
        std::getline(lines, line);
        EXPECT_EQ(line + '\n',
                  csv.gageLine(vd::run::computeGage(series.at(0), {file, 1}, settings, lib)));
    }

    // Verde's limits hold its flows; Bayou Grand Cane's 7Q10 is 0 (dry years) and has none,
    // but its minima have a trend.
    const ReportCells verde(header, rows[1]);
    const ReportCells bayou(header, rows[2]);
    for (const std::string D : {"_7", "_30"}) {
        const double flow = std::stod(verde.at("xqy_flow" + D));
        EXPECT_LT(std::stod(verde.at("xqy_lower90" + D)), flow);
        EXPECT_GT(std::stod(verde.at("xqy_upper90" + D)), flow);
        EXPECT_LT(std::stod(verde.at("trend_p" + D)), 0.05);
        EXPECT_LT(std::stod(verde.at("trend_slope_per_decade" + D)), 0.0);
    }
    EXPECT_EQ(bayou.at("xqy_flow_7"), "0");
    EXPECT_EQ(bayou.at("xqy_lower90_7"), "");
    EXPECT_EQ(bayou.at("xqy_upper90_7"), "");
    EXPECT_NE(bayou.at("trend_p_7"), "");
}

TEST_F(CliBatch, SameLinesInInputOrderWhateverTheThreadsAndFoldersSearchedRecursively) {
    fs::create_directories(dir_ / "deeper" / "still");
    fs::copy_file(dir_ / "09506000_verde_camp_verde_dv_1989-2021.txt",
                  dir_ / "deeper" / "still" / "verde.rdb");
    std::ofstream(dir_ / "deeper" / "notes.md") << "not a flow file\n";

    ASSERT_EQ(call({"batch", "--jobs", "1", dir_.string()}), 0) << err_.str();
    const std::string one = out_.str();
    ASSERT_EQ(call({"batch", "--jobs", "4", dir_.string()}), 0) << err_.str();
    EXPECT_EQ(out_.str(), one);

    std::vector<std::string> files;
    for (const Row& r : csvRows(one)) files.push_back(r[0] + "#" + r[1]);
    // Paths as the system writes them (backslashes on Windows).
    const auto in = [&](const fs::path& p) { return (dir_ / p).string() + "#1"; };
    const std::vector<std::string> expected = {
        "file#gage_index",
        in("08023080_bayou_grand_cane_zeros.flo"),
        in("08023080_bayou_grand_cane_zeros.txt"),
        in("09506000_verde_camp_verde_dv_1989-2021.txt"),
        in("11224000_mf_san_joaquin_mammoth_dv_2009-2021.txt"),
        in("13010065_snake_flagg_ranch_dv_2006-2007_ice_2006layout.txt"),
        in(fs::path("deeper") / "still" / "verde.rdb"),
    };
    EXPECT_EQ(files, expected);

    // Files named one by one, and a list of them, keep the order given.
    const fs::path list = dir_ / "list.txt";
    std::ofstream(list, std::ios::binary) << inputs()[2] << "\r\n\n" << inputs()[0] << "\n";
    ASSERT_EQ(call({"batch", "--files-from", list.string(), inputs()[1]}), 0);
    const std::vector<Row> rows = csvRows(out_.str());
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[1][0], inputs()[1]);
    EXPECT_EQ(rows[2][0], inputs()[2]);
    EXPECT_EQ(rows[3][0], inputs()[0]);
}

TEST_F(CliBatch, UnreadableFilesGiveErrorLinesAndStatusThree) {
    std::ofstream(dir_ / "bad.txt", std::ios::binary)
        << "# Data for the following 1 site(s)\n#    USGS 01 X\n# ----\n"
           "agency_cd\tsite_no\tdatetime\t01_00060_00003\t01_00060_00003_cd\n5s\n"
           "USGS\t01\t2000-01-01\tabc\tA\n";
    const std::vector<std::string> paths = {input("missing.txt"), inputs()[0], input("bad.txt")};
    EXPECT_EQ(callWith({"batch", "--out", input("out.csv")}, paths), 3);
    EXPECT_EQ(out_.str(), "");
    EXPECT_NE(err_.str().find("2 of 3 files could not be read"), std::string::npos) << err_.str();

    const std::vector<Row> rows = csvRows(vd::test::fileText(dir_ / "out.csv"));
    ASSERT_EQ(rows.size(), 4u);
    for (const Row& r : rows) EXPECT_EQ(r.size(), rows[0].size());
    const auto field = [&](std::size_t row, const std::string& column) {
        const auto at = std::find(rows[0].begin(), rows[0].end(), column) - rows[0].begin();
        return rows[row].at(static_cast<std::size_t>(at));
    };
    EXPECT_EQ(field(1, "status"), "error");
    EXPECT_NE(field(1, "message").find("missing.txt"), std::string::npos);
    EXPECT_EQ(field(1, "gage_index"), "");
    EXPECT_EQ(field(2, "status"), "ok");
    EXPECT_EQ(field(2, "site_no"), "09506000");
    EXPECT_EQ(field(3, "status"), "error");
    EXPECT_NE(field(3, "message").find("'abc' is not a valid floating point value at line 6"),
              std::string::npos)
        << field(3, "message");
}

TEST_F(CliBatch, OptionsThatNeedAGageTableAreRefused) {
    const std::vector<std::pair<vd::cli::Args, std::string>> cases = {
        {{"batch", "--period", "common", "x.txt"}, "--period"},
        {{"batch", "--period", "table", "x.txt"}, "--period"},
        {{"batch", "--table-years", "1:2000:2010", "x.txt"}, "--table-years"},
        {{"batch", "--unmark", "1", "x.txt"}, "--unmark"},
        {{"batch", "--jobs", "0", "x.txt"}, "--jobs"},
        {{"batch"}, "no flow file"},
        // A folder without flow files gives no header-only CSV that passes for a result.
        {{"batch", (dir_ / "empty").string()}, "no flow file"},
    };
    fs::create_directories(dir_ / "empty");
    for (const auto& [args, named] : cases) {
        EXPECT_EQ(call(args), 2) << named;
        EXPECT_NE(err_.str().find(named), std::string::npos) << err_.str();
        EXPECT_EQ(out_.str(), "");
    }
}

TEST_F(CliBatch, AnOutputThatWouldOverwriteOrJoinTheInputsIsRefused) {
    const std::string verde = inputs()[0];
    const std::string before = vd::test::fileText(verde);
    fs::create_directories(dir_ / "deeper");
    const std::vector<std::tuple<vd::cli::Args, std::string, std::string>> cases = {
        {{"batch", "--out", verde, verde}, verde, "would be overwritten"},
        {{"batch", "--out", (dir_ / "." / fs::path(verde).filename()).string(), inputs()[1], verde},
         verde,
         "would be overwritten"},
        {{"batch", "--out", input("flows.csv"), dir_.string()}, dir_.string(), "being read"},
        {{"batch", "--out", (dir_ / "deeper" / "flows.TXT").string(), dir_.string()},
         dir_.string(),
         "being read"},
    };
    for (const auto& [args, named, why] : cases) {
        EXPECT_EQ(call(args), 2) << args[2];
        EXPECT_NE(err_.str().find(args[2]), std::string::npos) << err_.str();
        EXPECT_NE(err_.str().find("\"" + named + "\""), std::string::npos) << err_.str();
        EXPECT_NE(err_.str().find(why), std::string::npos) << err_.str();
    }
    EXPECT_EQ(vd::test::fileText(verde), before);
    EXPECT_FALSE(fs::exists(dir_ / "flows.csv"));
    EXPECT_FALSE(fs::exists(dir_ / "deeper" / "flows.TXT"));

    // A name the folder search passes over may lie among the inputs.
    EXPECT_EQ(call({"batch", "--out", input("flows.out"), dir_.string()}), 0) << err_.str();
    EXPECT_TRUE(fs::exists(dir_ / "flows.out"));
}

TEST_F(CliBatch, AnEarlierResultsFileInAFolderIsNotReadAsFlows) {
    const vd::test::ScratchDir elsewhere("vd_cli_batch_out");
    const fs::path first = elsewhere.path() / "flows.csv";
    ASSERT_EQ(call({"batch", "--out", first.string(), dir_.string()}), 0) << err_.str();
    fs::copy_file(first, dir_ / "flows.csv");
    ASSERT_EQ(call({"batch", dir_.string()}), 0) << err_.str();
    EXPECT_EQ(out_.str(), vd::test::fileText(first));
}

TEST_F(CliBatch, ALargeJobCountIsCutWithANote) {
    ASSERT_EQ(call({"batch", "--jobs", "1", inputs()[0], inputs()[1]}), 0);
    const std::string one = out_.str();
    ASSERT_EQ(call({"batch", "--jobs", "100000", inputs()[0], inputs()[1]}), 0);
    EXPECT_EQ(out_.str(), one);
    EXPECT_NE(err_.str().find("--jobs 100000 is more than 4 threads for each of the"),
              std::string::npos)
        << err_.str();
}

#if !defined(_WIN32)
// Faults the system makes: each runs the batch in a child process of the test, which
// prints the exit status and what the batch wrote so the test can match them.
namespace {

[[noreturn]] void reportBatch(vd::cli::Args args) {
    std::ostringstream out, err;
    const int status = vd::cli::cliMain(args, out, err);
    std::cerr << "status " << status << "\n" << err.str() << "out<" << out.str() << ">";
    std::exit(0);
}

}  // namespace

// Root reads any folder: the child gives up its privileges first.
[[noreturn]] void batchAsAnUnprivilegedUser(const vd::cli::Args& args) {
    if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) std::exit(9);
    reportBatch(args);
}

TEST_F(CliBatch, AFolderThatCannotBeReadIsAnErrorLine) {
    const fs::path locked = dir_ / "locked";
    fs::create_directories(locked);
    fs::copy_file(inputs()[0], locked / "verde.txt");
    fs::permissions(locked, fs::perms::none);
    const vd::cli::Args args = {"batch", "--jobs", "2", dir_.string()};
    EXPECT_EXIT(
        batchAsAnUnprivilegedUser(args), ::testing::ExitedWithCode(0),
        "status 3\n.*1 of 6 files could not be read.*locked,+error,\"Cannot read the folder "
        "\"\".*locked\"\": Permission denied\"");
    fs::permissions(locked, fs::perms::owner_all);
}

[[noreturn]] void batchBeyondTheFileSizeLimit(const vd::cli::Args& args) {
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit small{1000, 1000};
    setrlimit(RLIMIT_FSIZE, &small);
    reportBatch(args);
}

TEST_F(CliBatch, AResultsFileThatCannotBeWrittenLeavesNothing) {
    const fs::path out = dir_ / "flows.csv";
    const vd::cli::Args args = {"batch",      "--quiet",   "--out",
                                out.string(), inputs()[0], inputs()[1]};
    EXPECT_EXIT(batchBeyondTheFileSizeLimit(args), ::testing::ExitedWithCode(0),
                "status 1\nCannot write \".*flows.csv\": File too large");
    for (const auto& e : fs::directory_iterator(dir_))
        EXPECT_EQ(e.path().filename().string().find("flows.csv"), std::string::npos) << e.path();
}

#if !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)
// No room for a thread's stack: the batch says so instead of writing an empty table.
[[noreturn]] void batchWithoutRoomForThreads(const vd::cli::Args& args) {
    // The library is loaded before the limit, so that only the threads lack room.
    [[maybe_unused]] const vd::LogPearsonLibrary lib =
        vd::LogPearsonLibrary::load(vd::programFolder());
    // Every new thread asks for a 64 MB stack; the process may grow by a quarter of that.
    pthread_attr_t large;
    pthread_attr_init(&large);
    pthread_attr_setstacksize(&large, 64u << 20);
    pthread_setattr_default_np(&large);
    long pages = 0;
    std::ifstream("/proc/self/statm") >> pages;
    const rlim_t now = static_cast<rlim_t>(pages) * static_cast<rlim_t>(getpagesize());
    const rlimit tight{now + (16u << 20), now + (16u << 20)};
    setrlimit(RLIMIT_AS, &tight);
    reportBatch(args);
}

TEST_F(CliBatch, NoThreadToComputeWithIsAClearError) {
    const vd::cli::Args args = {"batch", "--quiet", "--jobs", "2", inputs()[0]};
    EXPECT_EXIT(batchWithoutRoomForThreads(args), ::testing::ExitedWithCode(0),
                "status 1\nCannot start a thread to compute the gages: .*\nout<>");
}
#endif
#endif

TEST(ResultsCsv, FieldsAreQuotedOnlyWhenTheyMustBe) {
    const std::pair<std::string, std::string> cases[] = {
        {"plain", "plain"},
        {"A, B", "\"A, B\""},
        {"say \"hi\"", "\"say \"\"hi\"\"\""},
        {"two\nlines", "\"two\nlines\""},
        {"", ""},
    };
    for (const auto& [text, field] : cases) EXPECT_EQ(vd::run::csvField(text), field);
}

TEST(ResultsCsv, NumbersReadBackExactlyAndNonFiniteIsEmpty) {
    for (const double v : {0.0, 0.1, 453.95773391474194, 1e-300, -2.5, 123456789.0})
        EXPECT_EQ(std::stod(vd::run::csvNumber(v)), v);
    EXPECT_EQ(vd::run::csvNumber(0.1), "0.1");
    EXPECT_EQ(vd::run::csvNumber(std::nan("")), "");
    EXPECT_EQ(vd::run::csvNumber(HUGE_VAL), "");
}

TEST(ResultsCsv, SiteNumberIsALeadingRunOfEightToFifteenDigits) {
    const std::pair<std::string, std::string> cases[] = {
        {"09506000 VERDE RIVER NEAR CAMP VERDE, AZ", "09506000"},
        {"394220106431500 A WELL-NAMED SITE", "394220106431500"},
        {"0950600 TOO SHORT", ""},
        {"USGS 09506000 VERDE", ""},
        {"09506000", "09506000"},
        {"", ""},
    };
    for (const auto& [name, site] : cases) EXPECT_EQ(vd::run::siteNumberOf(name), site) << name;
}

}  // namespace
