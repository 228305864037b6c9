#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>

#include <sys/stat.h>

#include "../common/error_assertions.h"
#include "../common/scratch_dir.h"
#include "flow_file_cache.h"
#include "gage_rows.h"
#include "vd_calc.h"

using namespace vd;
namespace fs = std::filesystem;

namespace {

// The gages of a file as a reading gives them, numbered from 1 as the table numbers them;
// a day past the end of a series is missing.
struct ReadGages {
    FileSeries file;
    int sites() const { return static_cast<int>(file.gages.size()); }
    const GageSeries& gage(int i) const { return file.gages.at(static_cast<std::size_t>(i - 1)); }
    double day(int i, int k) const {
        const std::vector<double>& days = gage(i).days;
        return k >= 1 && k <= static_cast<int>(days.size()) ? days[static_cast<std::size_t>(k - 1)]
                                                            : unknown;
    }
};

// A folder of its own for each test, removed afterwards.
class ReaderTest : public ::testing::Test {
  protected:
    void SetUp() override {
        scratch_ = std::make_unique<vd::test::ScratchDir>("vd_reader");
        dir_ = scratch_->path();
    }

    std::string write(const std::string& name, const std::string& text) {
        const fs::path p = dir_ / name;
        std::ofstream(p, std::ios::binary) << text;
        return p.string();
    }

    static std::string slurp(const std::string& path) { return vd::test::fileText(path); }

    // Reads with no restriction of years, as the gage table does.
    static ReadGages read(const std::string& path, const std::string& start = "Apr 1",
                          const std::string& end = "Mar 31") {
        return {readFileSeries(path, start, end, {}, nullptr)};
    }

    std::unique_ptr<vd::test::ScratchDir> scratch_;
    fs::path dir_;
};

// Daily records of one site from `first` for `days` days (value = day counter + 1).
std::string dailyRecords(const std::string& site, int yi, int month, int day, int days,
                         bool yearFirst = true, const std::string& sep = "\t") {
    std::string out;
    int dn = DayNumber(yi, month, day);
    for (int k = 0; k < days; ++k, ++dn) {
        const CalendarDate d = DateOfDayNumber(dn);
        char date[16];
        if (yearFirst)
            std::snprintf(date, sizeof date, "%04d-%02d-%02d", d.year, d.month, d.day);
        else
            std::snprintf(date, sizeof date, "%02d/%02d/%04d", d.month, d.day, d.year);
        out += "USGS" + sep + site + sep + date + sep + std::to_string(k + 1) + sep + "A\r\n";
    }
    return out;
}

std::string olderHeader(const std::vector<std::string>& sites) {
    std::string h = "# U.S. Geological Survey\r\n#\r\n# Sites in this file include:\r\n";
    for (const auto& s : sites) h += "#  USGS " + s + "\r\n";
    h += "#\r\nagency_cd\tsite_no\tdv_dt\tdv_va\tdv_cd\r\n5s\t15s\t10d\t12n\t3s\r\n";
    return h;
}

std::string currentHeader(const std::string& site, const std::string& columns) {
    return "# ---- WARNING ----\r\n#\r\n# Data for the following 1 site(s) are contained in this "
           "file\r\n#    USGS " +
           site + "\r\n# -----------------------------------------\r\n#\r\n" + columns +
           "\r\n5s\t15s\t20d\t14n\t10s\r\n";
}

}  // namespace

TEST_F(ReaderTest, OlderLayoutWithTwoSitesGivesTwoSeries) {
    // Site A: 1 Apr 1990 .. 31 Mar 1992 (two seasons); site B starts right after it.
    const std::string text = olderHeader({"01000001 RIVER ONE AT A", "01000002 RIVER TWO AT B"}) +
                             dailyRecords("01000001", 90, 4, 1, 731) +
                             dailyRecords("01000002", 95, 1, 1, 800);
    const ReadGages s = read(write("two.txt", text));
    ASSERT_EQ(s.sites(), 2);
    EXPECT_EQ(s.gage(1).name, "01000001 RIVER ONE AT A");
    EXPECT_EQ(s.gage(2).name, "01000002 RIVER TWO AT B");

    EXPECT_EQ(s.gage(1).firstYear, 90);
    EXPECT_EQ(s.gage(1).lastYear, 92);  // the season ending 31 Mar 1992 is complete
    EXPECT_EQ(s.gage(1).dayBeforeStart, DayNumber(90, 4, 1) - 1);
    EXPECT_EQ(s.gage(1).lastDay, DayNumber(92, 3, 31));
    EXPECT_EQ(s.gage(1).recordDays, s.gage(1).lastDay - s.gage(1).dayBeforeStart);
    EXPECT_EQ(s.day(1, 1), 1.0);  // x(1) is the season start day

    // The second block's first record (1 Jan 1995) is where its search begins.
    EXPECT_EQ(s.gage(2).firstYear, 95);
    EXPECT_EQ(s.day(2, 1), 91.0);  // 1 Apr 1995 is the 91st record of site B
    EXPECT_TRUE(s.gage(1).startsOnSeasonStart);
    EXPECT_FALSE(s.file.repeatedDates);
}

TEST_F(ReaderTest, NewerLayoutBlocksBringTheirOwnHeaderAndDischargeColumn) {
    // Block 1 holds temperature in field 4 and discharge further right; block 2 only
    // temperature; block 3 discharge in field 4. Blank runs also delimit in this layout.
    std::string text =
        "# Data for the following 3 site(s) are contained in this file\r\n"
        "#    USGS 02000001 FIRST CREEK\r\n#    USGS 02000002 SECOND CREEK\r\n"
        "#    USGS 02000003 THIRD CREEK\r\n# ----------------------------------\r\n#\r\n"
        "# Data provided for site 02000001\r\n"
        "agency_cd\tsite_no\tdatetime\t11_00010_00003\t11_00010_00003_cd\t12_00060_00003\t12_"
        "00060_00003_cd\r\n5s\t15s\t20d\t14n\t10s\t14n\t10s\r\n";
    int dn = DayNumber(100, 4, 1);
    for (int k = 0; k < 400; ++k, ++dn) {
        const CalendarDate d = DateOfDayNumber(dn);
        char line[96];
        std::snprintf(line, sizeof line, "USGS  02000001  %04d-%02d-%02d\t9.5\tA\t%d\tA\r\n",
                      d.year, d.month, d.day, 100 + k);
        text += line;
    }
    text +=
        "# Data provided for site 02000002\r\n#\r\nagency_cd\tsite_no\tdatetime\t"
        "21_00010_00001\t21_00010_00001_cd\r\n5s\t15s\t20d\t14n\t10s\r\n" +
        dailyRecords("02000002", 100, 4, 1, 400) +
        "# Data provided for site 02000003\r\nagency_cd\tsite_no\tdatetime\t"
        "31_00060_00003\t31_00060_00003_cd\r\n5s\t15s\t20d\t14n\t10s\r\n" +
        dailyRecords("02000003", 100, 4, 1, 400);
    const ReadGages s = read(write("three.txt", text));
    ASSERT_EQ(s.sites(), 3);
    EXPECT_EQ(s.gage(3).name, "02000003 THIRD CREEK");
    EXPECT_EQ(s.day(1, 1), 100.0);  // discharge, not the temperature of field 4
    EXPECT_EQ(s.day(1, 365), 464.0);
    EXPECT_EQ(s.gage(2).recordDays, 0);  // no discharge: an empty series
    EXPECT_LT(s.gage(2).lastYear, s.gage(2).firstYear);
    EXPECT_EQ(s.day(2, 1), unknown);
    EXPECT_EQ(s.day(3, 1), 1.0);
    EXPECT_EQ(s.gage(3).lastYear, 101);
}

TEST_F(ReaderTest, OlderLayoutTakesBlockHeadersAsRecordsAndFails) {
    const std::string text =
        olderHeader({"03000001 A", "03000002 B"}) + dailyRecords("03000001", 100, 4, 1, 400) +
        "# Data provided for site 03000002\r\n" + dailyRecords("03000002", 100, 4, 1, 400);
    const std::string path = write("old.txt", text);
    try {
        read(path);
        FAIL() << "a header line among the records must not read";
    } catch (const Error& e) {
        EXPECT_TRUE(test::hasCode(e, ErrorCode::conversion));
        EXPECT_NE(std::string(e.what()).find("'' is not a valid integer value"), std::string::npos);
        EXPECT_NE(std::string(e.what()).find("line 409"), std::string::npos) << e.what();
    }
}

TEST_F(ReaderTest, MissingValueTextsAreUnknownDaysThatStillCount) {
    std::string text = currentHeader("04000001 MISSING CREEK",
                                     "agency_cd\tsite_no\tdatetime\t01_00060_00003\t01_cd");
    std::string records = dailyRecords("04000001", 100, 4, 1, 400);
    // Days 2, 3 and 4 of the season: "Eqp", "Ice" and an empty field.
    const auto replaceValue = [&](const std::string& date, const std::string& value) {
        const std::size_t at = records.find(date);
        const std::size_t v = at + date.size() + 1;
        records.replace(v, records.find('\t', v) - v, value);
    };
    replaceValue("2000-04-02", "Eqp");
    replaceValue("2000-04-03", "Ice");
    replaceValue("2000-04-04", "");
    const ReadGages s = read(write("missing.txt", text + records));
    const auto x = [&](int k) { return s.day(1, k); };
    EXPECT_EQ(x(1), 1.0);
    EXPECT_EQ(x(2), unknown);
    EXPECT_EQ(x(3), unknown);
    EXPECT_EQ(x(4), unknown);
    EXPECT_EQ(x(5), 5.0);                  // later days stay on their dates
    EXPECT_EQ(s.gage(1).recordDays, 365);  // the statistics run up to the season end, included
}

TEST_F(ReaderTest, ValueThatIsNoNumberFailsNamingTheText) {
    std::string records = dailyRecords("04000002", 100, 4, 1, 10);
    records.replace(records.find("\t3\t"), 3, "\tabc\t");
    const std::string path = write(
        "bad.txt", currentHeader("04000002 X", "agency_cd\tsite_no\tdatetime\tdv_va") + records);
    try {
        read(path);
        FAIL();
    } catch (const Error& e) {
        EXPECT_TRUE(test::hasCode(e, ErrorCode::conversion));
        EXPECT_NE(std::string(e.what()).find("'abc' is not a valid floating point value"),
                  std::string::npos)
            << e.what();
        EXPECT_NE(std::string(e.what()).find("bad.txt"), std::string::npos);
    }
}

TEST_F(ReaderTest, LastCompleteSeasonFollowsTheLastRecord) {
    struct Case {
        const char* start;
        const char* end;
        int lastYi, lastMonth, lastDay;
        int expectedJ2;
    } cases[] = {
        {"Apr 1", "Mar 31", 105, 3, 30, 104},  // one day short of the season ending 2005
        {"Apr 1", "Mar 31", 105, 3, 31, 105},
        {"Jun 1", "Sep 30", 105, 9, 29, 104},
        {"Jun 1", "Sep 30", 105, 10, 16, 105},
    };
    for (const Case& c : cases) {
        const int first = DayNumber(100, 1, 1);
        const int days = DayNumber(c.lastYi, c.lastMonth, c.lastDay) - first + 1;
        const std::string path =
            write("season.txt", currentHeader("05000001 S", "agency_cd\tsite_no\tdatetime\tx") +
                                    dailyRecords("05000001", 100, 1, 1, days));
        const ReadGages s = read(path, c.start, c.end);
        EXPECT_EQ(s.gage(1).lastYear, c.expectedJ2)
            << c.start << " - " << c.end << " " << c.lastMonth << "/" << c.lastDay;
        const SeasonDate e = parseSeasonDate(c.end);
        EXPECT_EQ(s.gage(1).lastDay, DayNumber(c.expectedJ2, e.month, e.day));
    }
}

TEST_F(ReaderTest, RequestEndsWithTheSeasonThatStartsInTheLastYear) {
    const std::string path =
        write("req.txt", currentHeader("05000002 R", "agency_cd\tsite_no\tdatetime\tx") +
                             dailyRecords("05000002", 90, 1, 1, 6000));
    struct Case {
        const char* start;
        const char* end;
        int expectedJ2;
    } cases[] = {{"Jun 1", "Sep 30", 95}, {"Apr 1", "Mar 31", 96}, {"Oct 15", "Oct 14", 96}};
    for (const Case& c : cases) {
        // Seasons starting 1992 .. 1995.
        const ReadGages s{readFileSeries(path, c.start, c.end, {{92}, {95}}, nullptr)};
        EXPECT_EQ(s.gage(1).firstYear, 92) << c.start;
        EXPECT_EQ(s.gage(1).lastYear, c.expectedJ2) << c.start;
    }
}

TEST_F(ReaderTest, OldFlowFileStartsOnTheFirstOfTheSeasonMonth) {
    std::string flo = "# old format\r\nOLD CREEK NEAR TOWN\r\n";
    std::string nwis = currentHeader("06000001 OLD CREEK", "agency_cd\tsite_no\tdatetime\tx");
    int dn = DayNumber(100, 7, 1);
    for (int k = 0; k < 800; ++k, ++dn) {
        const CalendarDate d = DateOfDayNumber(dn);
        flo += std::to_string(d.year - 1900) + " " + std::to_string(d.month) + "\t" +
               std::to_string(d.day) + "  " + std::to_string(k + 1) + ".5 trailing text\r\n";
    }
    nwis += dailyRecords("06000001", 100, 7, 1, 800);
    flo += "\r\n\r\n";  // blank lines at the end are the end of the file

    const ReadGages f = read(write("old.flo", flo), "Jul 15", "Jul 14");
    EXPECT_EQ(f.gage(1).name, "OLD CREEK NEAR TOWN");
    EXPECT_FALSE(f.gage(1).startsOnSeasonStart);
    const auto xf = [&](int k) { return f.day(1, k); };
    for (int k = 1; k <= 14; ++k) EXPECT_EQ(xf(k), unknown) << k;
    EXPECT_EQ(xf(15), 15.5);  // 15 July
    EXPECT_EQ(f.gage(1).dayBeforeStart, DayNumber(100, 6, 30));
    EXPECT_EQ(f.gage(1).lastYear, 102);
    // The records from 15 July 2000 to the last season's end, 14 July 2002; those read
    // after it are no days of the record.
    EXPECT_EQ(f.gage(1).recordDays, 730);

    const ReadGages n = read(write("new.txt", nwis), "Jul 15", "Jul 14");
    EXPECT_TRUE(n.gage(1).startsOnSeasonStart);
    EXPECT_EQ(n.day(1, 1), 15.0);  // 15 July
    EXPECT_EQ(n.gage(1).recordDays, n.gage(1).lastDay - n.gage(1).dayBeforeStart);
}

TEST_F(ReaderTest, OldFlowFileThatNeverReachesTheSeasonStartIsEmpty) {
    const std::string flo = "OLD\r\n100 4 2 5.0\r\n100 4 3 6.0\r\n";
    const ReadGages s = read(write("short.flo", flo));
    EXPECT_EQ(s.sites(), 1);
    EXPECT_EQ(s.gage(1).recordDays, 0);
    EXPECT_LT(s.gage(1).lastYear, s.gage(1).firstYear);
}

TEST_F(ReaderTest, GageWithoutSeasonStartDoesNotInheritTheGageBeforeIt) {
    // Site A is complete; site B has only winter records, never 1 April.
    const std::string text = olderHeader({"07000001 A", "07000002 B"}) +
                             dailyRecords("07000001", 100, 4, 1, 800) +
                             dailyRecords("07000002", 101, 1, 1, 60);
    const ReadGages s = read(write("gap.txt", text));
    ASSERT_EQ(s.sites(), 2);
    EXPECT_EQ(s.gage(2).recordDays, 0);
    EXPECT_EQ(s.gage(2).lastDay, s.gage(2).dayBeforeStart - 1);
    EXPECT_EQ(s.gage(2).lastYear, s.gage(2).firstYear - 1);
    for (int k = 1; k <= 800; ++k) ASSERT_EQ(s.day(2, k), unknown) << k;
    EXPECT_GT(s.gage(1).recordDays, 0);
}

TEST_F(ReaderTest, RepeatedDateKeepsTheLaterValueAndRaisesTheFlag) {
    std::string records = dailyRecords("08000001", 100, 4, 1, 400);
    records.insert(records.find("USGS\t08000001\t2000-04-06"),
                   "USGS\t08000001\t2000-04-03\t777\tA\r\n");
    const ReadGages s =
        read(write("dup.txt", currentHeader("08000001 D", "agency_cd\tx") + records));
    EXPECT_TRUE(s.file.repeatedDates);
    EXPECT_EQ(s.day(1, 3), 777.0);
}

TEST_F(ReaderTest, DatesOutsideTheCalendarOrSeriesFailNamingTheLine) {
    struct Case {
        const char* name;
        std::string extra;
    } cases[] = {
        {"month", "USGS\t09000001\t2001-13-01\t5\tA\r\n"},
        {"calendar", "USGS\t09000001\t2101-04-01\t5\tA\r\n"},
        {"too far", "USGS\t09000001\t2120-01-01\t5\tA\r\n"},
        {"before start", "USGS\t09000001\t1999-01-01\t5\tA\r\n"},
    };
    for (const Case& c : cases) {
        const std::string text = currentHeader("09000001 R", "agency_cd\tx") +
                                 dailyRecords("09000001", 100, 4, 1, 200) + c.extra +
                                 dailyRecords("09000001", 101, 1, 1, 5);
        try {
            read(write("range.txt", text));
            ADD_FAILURE() << c.name;
        } catch (const Error& e) {
            EXPECT_TRUE(test::hasCode(e, ErrorCode::range));
            EXPECT_NE(std::string(e.what()).find("line 209"), std::string::npos)
                << c.name << ": " << e.what();
        }
    }
}

TEST_F(ReaderTest, MissingFileIsAnInputOutputError) {
    EXPECT_ERROR_CODE(read((dir_ / "nope.txt").string()), ErrorCode::inOut);
}

TEST_F(ReaderTest, MonthFirstDatesWithStationsHeader) {
    const std::string text =
        "#\r\n# Data for the following stations is contained in this file\r\n# ---------\r\n"
        "#  USGS 10000001 MONTH FIRST RIVER\r\n# -------\r\n#\r\n"
        "agency_cd\tsite_no\tdatetime\tdischarge\tcode\r\n5s\t15s\t10d\t12n\t3s\r\n" +
        dailyRecords("10000001", 100, 1, 1, 500, false);
    const ReadGages s = read(write("mf.txt", text));
    EXPECT_EQ(s.gage(1).name, "10000001 MONTH FIRST RIVER");
    EXPECT_EQ(s.gage(1).firstYear, 100);
    EXPECT_EQ(s.day(1, 1), 92.0);  // 1 April 2000 is day 92 of a leap year
}

// The folder's files with their bytes and times: reading must leave all of it as it was.
std::map<std::string, std::pair<std::string, fs::file_time_type>> folderState(const fs::path& dir) {
    std::map<std::string, std::pair<std::string, fs::file_time_type>> state;
    for (const auto& e : fs::directory_iterator(dir))
        state[e.path().filename().string()] = {vd::test::fileText(e.path()),
                                               fs::last_write_time(e.path())};
    return state;
}

std::string withBreaks(const std::string& crlfText, const std::vector<std::string>& breaks) {
    std::string t;
    std::size_t n = 0;
    for (std::size_t i = 0; i < crlfText.size(); ++i) {
        if (crlfText.compare(i, 2, "\r\n") == 0) {
            t += breaks[n++ % breaks.size()];
            ++i;
        } else {
            t += crlfText[i];
        }
    }
    return t;
}

// Every line-break style gives the records CR LF gives, and the file is only read.
TEST_F(ReaderTest, LineBreakStylesReadAlikeAndLeaveTheFileUntouched) {
    const std::string crlf =
        currentHeader("11000001 BREAKS", "agency_cd\tx") + dailyRecords("11000001", 100, 4, 1, 800);
    const ReadGages ref = read(write("ref.txt", crlf));
    const int refJ2 = ref.gage(1).lastYear;
    fs::remove(dir_ / "ref.txt");

    const struct {
        const char* name;
        std::vector<std::string> breaks;
    } styles[] = {{"LF", {"\n"}}, {"CR", {"\r"}}, {"mixed", {"\n", "\r\n", "\r"}}};
    for (const auto& style : styles) {
        const std::string path = write("style.txt", withBreaks(crlf, style.breaks));
        fs::last_write_time(path, fs::last_write_time(path) - std::chrono::hours(24));
        const auto before = folderState(dir_);
        const ReadGages s = read(path);
        EXPECT_EQ(s.gage(1).lastYear, refJ2) << style.name;
        for (int k = 1; k <= maxdays; ++k) ASSERT_EQ(s.day(1, k), ref.day(1, k)) << style.name << k;
        EXPECT_EQ(folderState(dir_), before) << style.name;
    }
}

#if !defined(_WIN32)  // Windows ignores the read-only mark of a folder.
TEST_F(ReaderTest, ReadOnlyFileInReadOnlyFolderReads) {
    const std::string lf = withBreaks(
        currentHeader("12000001 RO", "agency_cd\tx") + dailyRecords("12000001", 100, 4, 1, 800),
        {"\n"});
    const fs::path sub = dir_ / "rofolder";
    fs::create_directories(sub);
    const std::string file = (sub / "f.txt").string();
    std::ofstream(file, std::ios::binary) << lf;
    const auto noWrite = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    fs::permissions(file, noWrite, fs::perm_options::remove);
    fs::permissions(sub, noWrite, fs::perm_options::remove);
    const ReadGages s = read(file);
    EXPECT_EQ(s.gage(1).lastYear, 102);
    EXPECT_EQ(slurp(file), lf);
    fs::permissions(sub, fs::perms::owner_all, fs::perm_options::add);
}
#endif

TEST(SiteNames, AgencyCodeIsDroppedAndSiteNumberKept) {
    const fs::path p = fs::temp_directory_path() / "vd_names.txt";
    std::ofstream(p, std::ios::binary)
        << "# Sites in this file include:\r\n#  USGS 03451500 FRENCH BROAD RIVER AT ASHEVILLE, "
           "NC\r\n#    03451501 NO AGENCY\r\n# ------\r\nagency_cd\tsite_no\r\nfmt\r\n";
    const std::vector<GageSeries> s = readGageSeries(p.string(), "Apr 1", "Mar 31", {}, nullptr);
    ASSERT_EQ(s.size(), 2u);
    EXPECT_EQ(s[0].name, "03451500 FRENCH BROAD RIVER AT ASHEVILLE, NC");
    EXPECT_EQ(s[1].name, "03451501 NO AGENCY");
    fs::remove(p);
}

TEST_F(ReaderTest, FilesBeyondTheGageStoreAreRefused) {
    std::vector<std::string> sites;
    std::string blocks;
    for (int i = 1; i <= 101; ++i) {
        const std::string site = std::to_string(20000000 + i);
        sites.push_back(site + " CREEK " + std::to_string(i));
        blocks += dailyRecords(site, 100, 4, 1, 2);
    }
    EXPECT_ERROR_CODE(read(write("many.txt", olderHeader(sites) + blocks)), ErrorCode::range);

    std::vector<std::string> lines(1001, "30000000 SITE LINE");
    EXPECT_ERROR_CODE(read(write("lines.txt", olderHeader(lines))), ErrorCode::range);
    lines.pop_back();
    ReadGages full;
    EXPECT_NO_THROW(full = read(write("lines.txt", olderHeader(lines))));
    EXPECT_EQ(full.sites(), maxinfile);  // no records: a hundred empty gages
}

// Kept parses must give what a fresh reading gives, for any season and years, and must
// not outlive a change of the file.
TEST_F(ReaderTest, KeptParsesReadLikeFreshOnesAndFollowChanges) {
    const std::string text = olderHeader({"13000001 A", "13000002 B"}) +
                             dailyRecords("13000001", 90, 1, 1, 3000) +
                             dailyRecords("13000002", 92, 6, 1, 2500);
    const std::string path = write("kept.txt", text);
    auto cache = std::make_shared<FlowFileCache>();

    struct Case {
        const char* start;
        const char* end;
        int first, last;
    } cases[] = {{"Apr 1", "Mar 31", -999, 199},
                 {"Jun 1", "Sep 30", 93, 95},
                 {"Oct 15", "Oct 14", 91, 94},
                 {"Jan 1", "Dec 31", -999, 96}};
    for (const Case& c : cases) {
        const GageYears years{std::vector<int>(2, c.first), std::vector<int>(2, c.last)};
        const ReadGages fresh{readFileSeries(path, c.start, c.end, years, nullptr)};
        const ReadGages kept{readFileSeries(path, c.start, c.end, years, cache.get())};
        ASSERT_EQ(kept.sites(), fresh.sites());
        for (int g = 1; g <= fresh.sites(); ++g) {
            EXPECT_EQ(kept.gage(g).firstYear, fresh.gage(g).firstYear) << c.start;
            EXPECT_EQ(kept.gage(g).lastYear, fresh.gage(g).lastYear) << c.start;
            EXPECT_EQ(kept.gage(g).lastDay, fresh.gage(g).lastDay) << c.start;
            for (int k = 1; k <= maxdays; ++k)
                ASSERT_EQ(kept.day(g, k), fresh.day(g, k)) << c.start << " " << k;
        }
    }
    EXPECT_NE(cache->find(path), nullptr);

    // A changed file is parsed anew, and its failure is reported as a fresh reading would.
    write("kept.txt", text + "USGS\t13000002\t2000-01-01\tabc\tA\r\n");
    EXPECT_EQ(cache->find(path), nullptr);
    const auto readKept = [&] { return readFileSeries(path, "Apr 1", "Mar 31", {}, cache.get()); };
    try {
        readKept();
        FAIL();
    } catch (const Error& e) {
        EXPECT_TRUE(test::hasCode(e, ErrorCode::conversion));
        EXPECT_NE(std::string(e.what()).find("'abc' is not a valid floating point value at line"),
                  std::string::npos)
            << e.what();
    }
    // The failure is part of what was kept: a second reading fails the same way.
    EXPECT_ERROR_CODE(readKept(), ErrorCode::conversion);
}

// ---- Hostile input: every case is refused with its reason, nothing else happens --------

namespace {

std::string nwisWithValue(const std::string& value) {
    std::string records = dailyRecords("14000001", 100, 4, 1, 10);
    records.replace(records.find("\t3\t"), 3, "\t" + value + "\t");
    return currentHeader("14000001 HOSTILE", "agency_cd\tsite_no\tdatetime\tdv_va") + records;
}

std::string flowMessage(const std::string& value, int line, const std::string& file) {
    return "'" + value + "' is not a valid flow value at line " + std::to_string(line) + " of " +
           file;
}

}  // namespace

TEST_F(ReaderTest, FlowValuesThatAreNoFiniteNumberAreRefusedAtTheirLine) {
    // The third record sits on line 11 of the NWIS file, the second on line 3 of the .flo.
    for (const std::string value : {"nan", "NaN", "inf", "-Infinity", "1e400", "1e308", "-1e308"}) {
        try {
            read(write("nf.txt", nwisWithValue(value)));
            ADD_FAILURE() << value;
        } catch (const Error& e) {
            EXPECT_TRUE(test::hasCode(e, ErrorCode::conversion));
            EXPECT_EQ(std::string(e.what()), flowMessage(value, 11, "nf.txt"));
        }
        try {
            read(write("nf.flo", "OLD\r\n100 4 1 5.0\r\n100 4 2 " + value + "\r\n100 4 3 6\r\n"));
            ADD_FAILURE() << value;
        } catch (const Error& e) {
            EXPECT_TRUE(test::hasCode(e, ErrorCode::conversion));
            EXPECT_EQ(std::string(e.what()), flowMessage(value, 3, "nf.flo"));
        }
    }
}

TEST_F(ReaderTest, NegativeAndLargeFiniteFlowsStayFlows) {
    for (const auto& [text, value] : {std::pair{"-12.5", -12.5}, std::pair{"1e300", 1e300}}) {
        const ReadGages s = read(write("neg.txt", nwisWithValue(text)));
        EXPECT_EQ(s.day(1, 3), value) << text;
    }
}

TEST_F(ReaderTest, DaysThatDoNotExistAreRefusedAtTheirLine) {
    const struct {
        const char* date;
        const char* message;
    } cases[] = {
        {"2001-02-30", "day 30 of month 2 of 2001 does not exist"},
        {"2001-04-31", "day 31 of month 4 of 2001 does not exist"},
        {"1999-02-29", "day 29 of month 2 of 1999 does not exist"},
        {"2001-05-00", "day 0 of month 5 of 2001 does not exist"},
    };
    for (const auto& c : cases) {
        const std::string text = currentHeader("15000001 D", "agency_cd\tx") +
                                 dailyRecords("15000001", 100, 4, 1, 20) + "USGS\t15000001\t" +
                                 c.date + "\t5\tA\r\n";
        try {
            read(write("days.txt", text));
            ADD_FAILURE() << c.date;
        } catch (const Error& e) {
            EXPECT_TRUE(test::hasCode(e, ErrorCode::range));
            EXPECT_NE(
                std::string(e.what()).find(c.message + std::string(" at line 29 of days.txt")),
                std::string::npos)
                << e.what();
        }
    }
    // The old flow file's records are checked alike; a leap day of a leap year is a day.
    EXPECT_ERROR_CODE(read(write("d.flo", "OLD\r\n101 2 29 5.0\r\n")), ErrorCode::range);
    EXPECT_NO_THROW(read(write("d.flo", "OLD\r\n100 2 29 5.0\r\n")));
}

TEST_F(ReaderTest, BytesThatAreNoTextAreRefusedBeforeParsing) {
    const std::string good = nwisWithValue("3");
    std::string controls = good;
    for (std::size_t i = 0; i < controls.size(); i += 10) controls[i] = '\x01';
    const struct {
        const char* name;
        std::string bytes;
    } cases[] = {
        {"NUL in the middle", good.substr(0, 300) + std::string(1, '\0') + good.substr(300)},
        {"NUL at the end", good + std::string(1, '\0')},
        {"control bytes", controls},
        {"odd-length UTF-16", std::string("\xFF\xFE#\0\r", 5)},
        {"image", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16)},
    };
    for (const auto& c : cases) {
        try {
            read(write("bin.txt", c.bytes));
            ADD_FAILURE() << c.name;
        } catch (const Error& e) {
            EXPECT_TRUE(test::hasCode(e, ErrorCode::calculation));
            EXPECT_EQ(std::string(e.what()), "The file \"" + (dir_ / "bin.txt").string() +
                                                 "\" is not a flow file in text format")
                << c.name;
        }
    }
    // A control byte now and then (here in a comment line) is still text.
    std::string sparse = good;
    sparse.replace(sparse.find("WARNING"), 7, "WARN\x1a\x01\x1b\f");
    EXPECT_NO_THROW(read(write("ok.txt", sparse)));
}

TEST_F(ReaderTest, UnicodeSavedFilesReadLikeTheir8BitForm) {
    const std::string text = nwisWithValue("3");
    const ReadGages plain = read(write("plain.txt", text));
    const std::string name = plain.gage(1).name;

    const auto utf16 = [&](bool little) {
        std::string out = little ? "\xFF\xFE" : "\xFE\xFF";
        for (const char c : text) {
            const std::string unit = {c, '\0'};
            out += little ? unit : std::string{'\0', c};
        }
        return out;
    };
    for (const auto& [form, bytes] :
         {std::pair{"UTF-16LE", utf16(true)}, std::pair{"UTF-16BE", utf16(false)},
          std::pair{"UTF-8 with mark", "\xEF\xBB\xBF" + text}}) {
        const ReadGages s = read(write("unicode.txt", bytes));
        EXPECT_EQ(s.gage(1).name, name) << form;
        for (int k = 1; k <= maxdays; ++k) ASSERT_EQ(s.day(1, k), plain.day(1, k)) << form << k;
    }
}

#if !defined(_WIN32)  // named pipes are made with mkfifo
TEST_F(ReaderTest, AnythingButARegularFileIsRefusedWithoutOpeningIt) {
    const fs::path pipe = dir_ / "pipe.txt";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);  // opening it for reading would block
    const struct {
        std::string path;
        const char* kind;
    } cases[] = {
        {dir_.string(), "a folder"}, {pipe.string(), "a named pipe"}, {"/dev/zero", "a device"}};
    for (const auto& c : cases) {
        try {
            read(c.path);
            ADD_FAILURE() << c.path;
        } catch (const Error& e) {
            EXPECT_TRUE(test::hasCode(e, ErrorCode::inOut));
            EXPECT_EQ(std::string(e.what()),
                      "\"" + c.path + "\" is " + c.kind + ", not a flow file");
        }
    }
}
#endif

TEST_F(ReaderTest, MessagesQuoteAtMost40CharactersOfAField) {
    const std::string huge(1 << 20, '7');
    try {
        read(write("huge.txt", nwisWithValue(huge + "x")));
        FAIL();
    } catch (const Error& e) {
        EXPECT_TRUE(test::hasCode(e, ErrorCode::conversion));
        EXPECT_EQ(std::string(e.what()), "'" + std::string(40, '7') +
                                             "\xE2\x80\xA6' is not a valid floating point value "
                                             "at line 11 of huge.txt");
    }
}

TEST(FieldExcerpt, CutsAfter40CharactersNeverInsideOne) {
    const std::string e = "\xC3\xA9";  // one character, two bytes
    const struct {
        std::string in;
        std::string out;
    } cases[] = {
        {"", ""},
        {std::string(40, 'a'), std::string(40, 'a')},
        {std::string(41, 'a'), std::string(40, 'a') + "\xE2\x80\xA6"},
        {std::string(39, 'a') + e + e, std::string(39, 'a') + e + "\xE2\x80\xA6"},
    };
    for (const auto& c : cases) EXPECT_EQ(fieldExcerpt(c.in), c.out) << c.in;
}

// A reading for the years of a record alone stores no days, yet gives every gage the
// bounds, and every file the failure, of the reading with days.
TEST_F(ReaderTest, BoundsOnlyReadingGivesTheBoundsAndFailuresOfTheFullOne) {
    std::vector<std::string> files;
    for (const auto& entry : fs::directory_iterator(VANDO_EXAMPLES)) {
        const std::string ext = entry.path().extension().string();
        if (ext == ".txt" || ext == ".flo") files.push_back(entry.path().string());
    }
    files.push_back(write("bad_value.txt", nwisWithValue("x1")));
    files.push_back(write("bad_day.txt", currentHeader("15000001 D", "agency_cd\tx") +
                                             dailyRecords("15000001", 100, 4, 1, 20) +
                                             "USGS\t15000001\t2001-02-30\t5\tA\r\n"));
    // A record dated before its series' first day fails at the place the days would go.
    files.push_back(write("backwards.txt", currentHeader("15000002 B", "agency_cd\tx") +
                                               dailyRecords("15000002", 100, 4, 1, 400) +
                                               dailyRecords("15000002", 99, 4, 1, 2)));
    for (const bool seasonOnly : {false, true}) {
        const std::string end = seasonOnly ? "Oct 31" : "Mar 31";
        for (const std::string& file : files) {
            SCOPED_TRACE(file + " " + end);
            std::string daysFailure;
            std::string boundsFailure;
            std::vector<GageSeries> days;
            std::vector<GageSeries> bounds;
            try {
                days = readGageSeries(file, "Apr 1", end, {}, nullptr);
            } catch (const std::exception& e) {
                daysFailure = e.what();
            }
            try {
                bounds = readGageSeries(file, "Apr 1", end, {}, nullptr, SeriesContent::boundsOnly);
            } catch (const std::exception& e) {
                boundsFailure = e.what();
            }
            EXPECT_EQ(boundsFailure, daysFailure);
            ASSERT_EQ(bounds.size(), days.size());
            for (std::size_t g = 0; g < days.size(); ++g) {
                EXPECT_TRUE(bounds[g].days.empty());
                EXPECT_EQ(bounds[g].name, days[g].name);
                EXPECT_EQ(bounds[g].firstYear, days[g].firstYear);
                EXPECT_EQ(bounds[g].lastYear, days[g].lastYear);
                EXPECT_EQ(bounds[g].dayBeforeStart, days[g].dayBeforeStart);
                EXPECT_EQ(bounds[g].lastDay, days[g].lastDay);
                EXPECT_EQ(bounds[g].recordDays, days[g].recordDays);
            }
        }
    }
}
