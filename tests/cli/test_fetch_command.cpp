// `vando3-cli fetch` in-process against a local stand-in for the Water Data API: the file
// it writes reads like the classic file of the same days, its command line, the API key
// over plain http, and (running the program) a standard output that cannot be written.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "../common/fake_water_data.h"
#include "cli_fixture.h"

namespace fs = std::filesystem;

namespace {

using vd::test::kReference;
const std::string kVerde = "09506000_verde_camp_verde_dv_1989-2021.txt";

class CliFetch : public vd::test::CliFixture {
  protected:
    CliFetch() : CliFixture("vd_cli_fetch") {}

    void SetUp() override {
        CliFixture::SetUp();
        // The service promises no order: the days come backwards, over three pages.
        service_.addSite("09506000", "VERDE RIVER NEAR CAMP VERDE, AZ",
                         vd::test::reversed(vd::test::classicDays(
                             vd::test::fileText(kReference / "inputs" / kVerde))),
                         3);
    }

    vd::test::FakeWaterData service_;
};

TEST_F(CliFetch, WritesAFileThatReportsLikeTheClassicFile) {
    const std::string outDir = (dir_ / "fetched").string();
    ASSERT_EQ(call({"fetch", "USGS-09506000", "--out-dir", outDir, "--base-url", service_.url()}),
              0)
        << err_.str();
    const std::string written = outDir + "/09506000_VERDE-RIVER-NEAR-CAMP-VERDE-AZ_1989-2021.txt";
    EXPECT_EQ(out_.str(), written + "\n");
    EXPECT_EQ(err_.str(), "");  // no progress off a terminal

    for (const vd::cli::Args& args :
         {vd::cli::Args{"run"}, vd::cli::Args{"run", "--avg", "7,30", "--bio", "ammonia"}}) {
        vd::cli::Args classic = args, fetched = args;
        classic.push_back(input(kVerde));
        fetched.push_back(written);
        ASSERT_EQ(call(classic), 0) << err_.str();
        const std::string expected = out_.str();
        ASSERT_EQ(call(fetched), 0) << err_.str();
        EXPECT_EQ(out_.str(), expected);
    }
}

TEST_F(CliFetch, GoesOnPastAFailedSiteKeepsTheOthersAndSaysSo) {
    const std::string outDir = (dir_ / "fetched").string();
    // The days from 2020 on only: the service gives those of the dates asked for.
    const std::string written = outDir + "/09506000_VERDE-RIVER-NEAR-CAMP-VERDE-AZ_2020-2021.txt";
    EXPECT_EQ(call({"fetch", "09999999", "09506000", "--out-dir", outDir, "--base-url",
                    service_.url(), "--start", "2020-01-01"}),
              1);
    EXPECT_EQ(err_.str(),
              "vando3-cli fetch: Site 09999999: the service has no daily mean discharge in the "
              "dates asked for\n");
    EXPECT_EQ(out_.str(), written + "\n");

    // A site failing after one was written: the first is listed and kept.
    std::filesystem::remove(written);
    service_.addSite("09500000", "A NAME\\nON TWO LINES",
                     {{"09500000", "2020-01-01", "1", "Approved"}}, 1);
    EXPECT_EQ(
        call({"fetch", "09506000", "09500000", "--out-dir", outDir, "--base-url", service_.url()}),
        1);
    const std::string whole = outDir + "/09506000_VERDE-RIVER-NEAR-CAMP-VERDE-AZ_1989-2021.txt";
    EXPECT_EQ(out_.str(), whole + "\n");
    EXPECT_TRUE(std::filesystem::exists(whole));
    EXPECT_EQ(err_.str(),
              "vando3-cli fetch: Site 09500000: the service gave the name 'A NAME\\x0AON TWO "
              "LINES', with a line break or a control character\n");
}

TEST_F(CliFetch, AnApiKeyGoesOverPlainHttpOnlyWhenAllowed) {
    ::setenv("API_USGS_PAT", "secret-key", 1);
    const std::string outDir = (dir_ / "fetched").string();
    const vd::cli::Args args = {"fetch", "09506000",   "--out-dir",
                                outDir,  "--base-url", service_.url()};
    const std::string warning =
        "vando3-cli fetch: warning: the API key of API_USGS_PAT would "
        "travel in clear text to " +
        service_.url() + "\n";
    const int refused = call(args);
    const std::string refusal = err_.str();
    EXPECT_TRUE(service_.requests().empty());
    vd::cli::Args allowed = args;
    allowed.push_back("--allow-insecure-key");
    const int sent = call(allowed);
    ::unsetenv("API_USGS_PAT");
    EXPECT_EQ(refused, 1);
    EXPECT_EQ(
        refusal,
        warning + "vando3-cli fetch: use an https:// address, or give --allow-insecure-key\n");
    EXPECT_EQ(sent, 0);
    EXPECT_EQ(err_.str(), warning);
    EXPECT_EQ(out_.str(), outDir + "/09506000_VERDE-RIVER-NEAR-CAMP-VERDE-AZ_1989-2021.txt\n");
    for (const auto& r : service_.requests()) EXPECT_EQ(r.headers.at("x-api-key"), "secret-key");
}

// The program writing its paths into a full or a closed standard output fails and says so.
TEST_F(CliFetch, AStandardOutputThatCannotBeWrittenIsAFailure) {
    struct Case {
        const char* redirection;
        std::string message;
    };
    const Case cases[] = {
        {">/dev/full", "No space left on device"},
        {">&-", "Bad file descriptor"},
    };
    const std::string errFile = (dir_ / "err.txt").string();
    for (const Case& c : cases)
        for (const std::string& args : {"fetch 09506000 --out-dir " + (dir_ / "fetched").string() +
                                            " --base-url " + service_.url(),
                                        std::string("fetch --help")}) {
            const std::string command =
                std::string(VANDO3_CLI) + " " + args + " " + c.redirection + " 2>" + errFile;
            EXPECT_NE(std::system(command.c_str()), 0) << command;
            const std::string err = vd::test::fileText(errFile);
            const std::string reason =
                "vando3-cli: cannot write to standard output: " + c.message + "\n";
            if (args.starts_with("fetch --help"))
                EXPECT_EQ(err, reason) << command;
            else
                EXPECT_EQ(err,
                          "vando3-cli fetch: the files of site 09506000 are written but could "
                          "not be listed; fetching stops\n" +
                              reason)
                    << command;
        }
}

TEST_F(CliFetch, RefusesABadCommandLineNamingTheOption) {
    struct Case {
        vd::cli::Args args;
        std::string message;
    };
    const Case cases[] = {
        {{"fetch"}, "no site number given"},
        {{"fetch", "09506000", "--start", "2020-1-1"},
         "--start takes a date YYYY-MM-DD that exists, not '2020-1-1'"},
        {{"fetch", "09506000", "--start", "2010-13-01"},
         "--start takes a date YYYY-MM-DD that exists, not '2010-13-01'"},
        {{"fetch", "09506000", "--end", "2021-02-29"},
         "--end takes a date YYYY-MM-DD that exists, not '2021-02-29'"},
        {{"fetch", "09506000", "--start", "2012-01-01", "--end", "2011-12-31"},
         "--start 2012-01-01 is after --end 2011-12-31"},
        {{"fetch", "09506000", "--end"}, "--end: 1 required YYYY-MM-DD missing"},
        {{"fetch", "09506000", "--limit", "5"}, "The following argument was not expected: --limit"},
        {{"fetch", "09506000", "../09506000"},
         "'../09506000' is no site number: give its digits, as 09506000 or USGS-09506000"},
        {{"fetch", "--state", "Arizona"},
         "--state takes a state's two letters or FIPS code, not 'Arizona'"},
        {{"fetch", "--state", "03"}, "--state takes a state's two letters or FIPS code, not '03'"},
        {{"fetch", "--county", "025"}, "--county needs --state: county codes are the state's"},
        {{"fetch", "--state", "AZ", "--county", "0025"},
         "--county takes a county's FIPS code of 1 to 3 digits, not '0025'"},
        {{"fetch", "--huc", "150"},
         "--huc takes the leading 2, 4, ... 12 digits of a hydrologic unit, not '150'"},
        {{"fetch", "--bbox", "-111,33,-112,34"},
         "--bbox takes west,south,east,north in degrees, not '-111,33,-112,34'"},
        {{"fetch", "--sites-from", "/no/such/list.txt"},
         "--sites-from: Cannot open file \"/no/such/list.txt\": No such file or directory"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(call(c.args), 2) << c.message;
        EXPECT_EQ(err_.str(), "vando3-cli fetch: " + c.message + "\n");
        EXPECT_EQ(out_.str(), "");
    }
    EXPECT_TRUE(service_.requests().empty());
}

TEST_F(CliFetch, AStateIsFetchedWholeAndAListFileAddsItsSites) {
    // A second Arizona gage and one in New Mexico; the state takes the two of Arizona.
    service_.addSite(
        "09500002", "TWO CREEK, AZ",
        {{"09500002", "2021-03-01", "5", "Approved"}, {"09500002", "2021-03-02", "6", "Approved"}},
        1, {"04", "013", "15060106", -112.0, 33.5});
    service_.addSite("08300003", "THREE RIVER, NM", {{"08300003", "2021-03-01", "5", "Approved"}},
                     1, {"35", "001", "13020203", -106.6, 35.1});
    const std::string outDir = (dir_ / "state").string();
    ASSERT_EQ(call({"fetch", "--state", "az", "--out-dir", outDir, "--base-url", service_.url()}),
              0)
        << err_.str();
    EXPECT_EQ(out_.str(), outDir + "/09506000_VERDE-RIVER-NEAR-CAMP-VERDE-AZ_1989-2021.txt\n" +
                              outDir + "/09500002_TWO-CREEK-AZ_2021-2021.txt\n");
    EXPECT_EQ(err_.str(), "");
    // The verde's file is the one a single-site fetch writes (but for the time retrieved).
    const auto withoutRetrieved = [](std::string text) {
        const std::size_t at = text.find("# retrieved: ");
        return at == std::string::npos ? text : text.erase(at, text.find('\n', at) - at);
    };
    const std::size_t before = service_.requests().size();
    const std::string single = (dir_ / "single").string();
    ASSERT_EQ(call({"fetch", "09506000", "--out-dir", single, "--base-url", service_.url()}), 0);
    const std::string name = "/09506000_VERDE-RIVER-NEAR-CAMP-VERDE-AZ_1989-2021.txt";
    EXPECT_TRUE(withoutRetrieved(vd::test::fileText(outDir + name)) ==
                withoutRetrieved(vd::test::fileText(single + name)));
    EXPECT_GT(service_.requests().size(), before);

    const fs::path list = dir_ / "sites.txt";
    std::ofstream(list) << "# gages of the permit\n08300003\n\n  USGS-09500002  # the creek\n";
    const std::string listed = (dir_ / "listed").string();
    ASSERT_EQ(call({"fetch", "--sites-from", list.string(), "--out-dir", listed, "--base-url",
                    service_.url()}),
              0)
        << err_.str();
    EXPECT_EQ(out_.str(), listed + "/08300003_THREE-RIVER-NM_2021-2021.txt\n" + listed +
                              "/09500002_TWO-CREEK-AZ_2021-2021.txt\n");
}

TEST_F(CliFetch, AnUpdateAsksOnlyForTheNewDays) {
    const std::string outDir = (dir_ / "fetched").string();
    const vd::cli::Args args = {"fetch", "09506000",   "--out-dir",
                                outDir,  "--base-url", service_.url()};
    ASSERT_EQ(call(args), 0) << err_.str();
    const std::size_t before = service_.requests().size();
    vd::cli::Args update = args;
    update.push_back("--update");
    ASSERT_EQ(call(update), 0) << err_.str();
    EXPECT_EQ(out_.str(), outDir + "/09506000_VERDE-RIVER-NEAR-CAMP-VERDE-AZ_1989-2021.txt\n");
    const auto requests = service_.requests();
    // The file's first provisional day is 2 June 2021: its days from then on are asked again
    // (over the stand-in's three pages), and nothing else.
    ASSERT_EQ(requests.size() - before, 3u);
    EXPECT_NE(requests[before].target.find("time=2021-06-02%2F.."), std::string::npos)
        << requests[before].target;
}

TEST_F(CliFetch, ARegionWithoutGagesIsAFailure) {
    EXPECT_EQ(call({"fetch", "--state", "NM", "--base-url", service_.url(), "--out-dir",
                    (dir_ / "none").string()}),
              1);
    EXPECT_EQ(err_.str(),
              "vando3-cli fetch: the service lists no stream gage with daily mean discharge "
              "there\n");
    EXPECT_FALSE(fs::exists(dir_ / "none"));
}

TEST_F(CliFetch, HelpGoesToStandardOutput) {
    ASSERT_EQ(call({"fetch", "--help"}), 0);
    EXPECT_EQ(err_.str(), "");
    for (const char* option :
         {"Usage: vando3-cli fetch", "--start YYYY-MM-DD", "--end YYYY-MM-DD", "--out-dir DIR",
          "--base-url URL", "--allow-insecure-key", "SITE", "--update", "--state STATE",
          "--huc PREFIX", "--bbox W,S,E,N", "--sites-from FILE"})
        EXPECT_NE(out_.str().find(option), std::string::npos) << option;
    EXPECT_TRUE(service_.requests().empty());
}

}  // namespace
