#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <sys/stat.h>

#include "../common/error_assertions.h"
#include "vd_paramfile.h"

using namespace vd::run;

namespace {

std::string joinCrLf(const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& l : lines) text += l + "\r\n";
    return text;
}

// The starting state of the window with one single-gage file added.
std::vector<std::string> startingStateLines() {
    return {"VANDO 3.0",
            "--Calculation Period",
            "0",
            "1990",
            "2021",
            "--Season",
            "1",
            "Mar 31",
            "Apr 1",
            "Apr 1",
            "Mar 31",
            "--Comments",
            "0",
            "--Biological",
            "1",
            "1",
            "0",
            "0",
            "1",
            "3",
            "120",
            "5",
            "1",
            "",
            "",
            "",
            "",
            "",
            "--Hydrological",
            "7",
            "10",
            "--Files",
            "1",
            "/data/verde.txt",
            "1"};
}

ParamFile startingState() {
    ParamFile p;
    p.settings.firstYear = "1990";
    p.settings.lastYear = "2021";
    p.entries = {{"/data/verde.txt", true}};
    return p;
}

ParamFile richAnalysis() {
    ParamFile p;
    p.settings.period = PeriodKind::table;
    p.settings.firstYear = "1951";
    p.settings.lastYear = "2000";
    p.settings.fullClimaticYear = false;
    p.settings.seasonEnd = "Sep 30";
    p.settings.seasonStart = "Jun 1";
    p.kept.seasonStart = "Jun 1";
    p.kept.seasonEnd = "Sep 30";
    p.settings.comments = {"Upper reach, summer season", "", "  indented line"};
    p.settings.useDefaults = false;
    p.settings.criterion = CriterionKind::ammonia;
    p.settings.bioAveragingDays = "2";
    p.settings.bioYearsBetween = "4";
    p.settings.bioClusterDays = "100";
    p.settings.bioExcursionsPerCluster = "3";
    p.kept.hiddenBiological = "1";
    p.kept.biological = {"30", "3", "120", "4", ""};
    p.settings.averagingPeriods = "7,30";
    p.settings.returnYears = "5";
    p.entries = {{"/d/A.txt", true}, {"/d/A.txt", false}, {"/d/B.flo", true}};
    return p;
}

}  // namespace

TEST(ParamFile, StartingStateIsWrittenLineByLine) {
    EXPECT_EQ(paramFileText(startingState()), joinCrLf(startingStateLines()));
}

TEST(ParamFile, RoundTripKeepsEveryStoredValue) {
    for (const ParamFile& p : {startingState(), richAnalysis(), ParamFile{}}) {
        const ParamFile back = parseParamFile(paramFileText(p), "/d/a.vdp");
        EXPECT_EQ(back, p);
    }
}

// Every line of the layout holds a value of its own, so that two lines read into each other's
// members (or a setting into a kept text) cannot go unnoticed.
TEST(ParamFile, EachStoredLineIsTheMemberItStandsFor) {
    const std::vector<std::string> lines = {"VANDO 3.0",
                                            "--Calculation Period",
                                            "2",
                                            "1951",
                                            "2000",
                                            "--Season",
                                            "0",
                                            "Sep 30",
                                            "Jun 1",
                                            "May 5",
                                            "Aug 8",
                                            "--Comments",
                                            "1",
                                            "a comment",
                                            "--Biological",
                                            "0",
                                            "0",
                                            "1",
                                            "0",
                                            "4",
                                            "6",
                                            "90",
                                            "2",
                                            "9",
                                            "k1",
                                            "k2",
                                            "k3",
                                            "k4",
                                            "k5",
                                            "--Hydrological",
                                            "7,30",
                                            "25",
                                            "--Files",
                                            "1",
                                            "/d/A.txt",
                                            "0"};
    ParamFile expected;
    SettingsTexts& t = expected.settings;
    t.period = PeriodKind::longest;
    t.firstYear = "1951";
    t.lastYear = "2000";
    t.fullClimaticYear = false;
    t.seasonEnd = "Sep 30";
    t.seasonStart = "Jun 1";
    expected.kept.seasonStart = "May 5";
    expected.kept.seasonEnd = "Aug 8";
    t.comments = {"a comment"};
    t.useDefaults = false;
    t.criterion = CriterionKind::chronic;
    t.bioAveragingDays = "4";
    t.bioYearsBetween = "6";
    t.bioClusterDays = "90";
    t.bioExcursionsPerCluster = "2";
    expected.kept.hiddenBiological = "9";
    expected.kept.biological = {"k1", "k2", "k3", "k4", "k5"};
    t.averagingPeriods = "7,30";
    t.returnYears = "25";
    expected.entries = {{"/d/A.txt", false}};

    const ParamFile read = parseParamFile(joinCrLf(lines), "/d/a.vdp");
    EXPECT_EQ(read, expected);
    EXPECT_EQ(paramFileText(expected), joinCrLf(lines));
    EXPECT_EQ(settingsTextsOf(read), t);
}

// The file does not keep the report switch: the settings of any file have its default.
TEST(ParamFile, SettingsOfAFileHaveTheDefaultReportSwitch) {
    ParamFile p = richAnalysis();
    p.settings.advancedReport = !SettingsTexts{}.advancedReport;
    EXPECT_EQ(settingsTextsOf(p).advancedReport, SettingsTexts{}.advancedReport);
    EXPECT_EQ(paramFileText(p), paramFileText(richAnalysis()));
}

// The period is stored as the index of the window's choice.
TEST(ParamFile, EveryPeriodKindIsItsStoredIndex) {
    const struct {
        PeriodKind kind;
        const char* stored;
    } cases[] = {{PeriodKind::all, "0"},
                 {PeriodKind::common, "1"},
                 {PeriodKind::longest, "2"},
                 {PeriodKind::table, "3"},
                 {PeriodKind::years, "4"}};
    for (const auto& c : cases) {
        ParamFile p = startingState();
        p.settings.period = c.kind;
        auto lines = startingStateLines();
        lines[2] = c.stored;
        EXPECT_EQ(paramFileText(p), joinCrLf(lines)) << c.stored;
        EXPECT_EQ(parseParamFile(joinCrLf(lines), "/d/a.vdp").settings.period, c.kind) << c.stored;
    }
}

// The criterion is three flags, one a criterion. A file may mark several (the last counts)
// or none (acute, and the window keeps its choice); it is written back with one mark or none.
TEST(ParamFile, CriterionMarksReadAsOneCriterionAndAreWrittenBackAsOne) {
    const struct {
        std::array<const char*, 3> stored;
        CriterionKind kind;
        bool marked;
        std::array<const char*, 3> written;
    } cases[] = {
        {{"1", "0", "0"}, CriterionKind::acute, true, {"1", "0", "0"}},
        {{"0", "1", "0"}, CriterionKind::chronic, true, {"0", "1", "0"}},
        {{"0", "0", "1"}, CriterionKind::ammonia, true, {"0", "0", "1"}},
        {{"0", "0", "0"}, CriterionKind::acute, false, {"0", "0", "0"}},
        {{"1", "1", "0"}, CriterionKind::chronic, true, {"0", "1", "0"}},
        {{"1", "1", "1"}, CriterionKind::ammonia, true, {"0", "0", "1"}},
        {{"2", "0", "0"}, CriterionKind::acute, false, {"0", "0", "0"}},  // only 1 marks
    };
    constexpr std::size_t acuteLine = 15;
    for (const auto& c : cases) {
        auto lines = startingStateLines();
        for (std::size_t i = 0; i < 3; ++i) lines[acuteLine + i] = c.stored[i];
        const std::string name = std::string(c.stored[0]) + c.stored[1] + c.stored[2];
        const ParamFile p = parseParamFile(joinCrLf(lines), "/d/a.vdp");
        EXPECT_EQ(p.settings.criterion, c.kind) << name;
        EXPECT_EQ(settingsTextsOf(p).criterion, c.kind) << name;
        EXPECT_EQ(p.criterionMarked, c.marked) << name;
        for (std::size_t i = 0; i < 3; ++i) lines[acuteLine + i] = c.written[i];
        EXPECT_EQ(paramFileText(p), joinCrLf(lines)) << name;
    }
}

TEST(ParamFile, EntriesOfSeveralFilesKeepOrderAndMarks) {
    const std::string text = paramFileText(richAnalysis());
    const std::string tail = text.substr(text.find("--Files\r\n"));
    EXPECT_EQ(tail, joinCrLf({"--Files", "3", "/d/A.txt", "1", "/d/A.txt", "0", "/d/B.flo", "1"}));
}

TEST(ParamFile, EmptyTableIsCountZeroAndNothingMore) {
    const std::string text = paramFileText(ParamFile{});
    EXPECT_TRUE(text.ends_with("--Files\r\n0\r\n"));
    EXPECT_TRUE(parseParamFile(text, "/d/x.vdp").entries.empty());
}

TEST(ParamFile, KeptBiologicalTextsAreCutTo255) {
    ParamFile p;
    p.kept.biological[0] = std::string(300, '7');
    EXPECT_EQ(parseParamFile(paramFileText(p), "/d/x.vdp").kept.biological[0],
              std::string(255, '7'));
}

TEST(ParamFile, IntegersAfterBlanksAndLineEndsRestOfLineSkipped) {
    auto lines = startingStateLines();
    lines[2] = "  3 trailing words";                // period index
    lines.insert(lines.begin() + 12, {"", "   "});  // blank lines before the comment count
    const ParamFile p = parseParamFile(joinCrLf(lines), "/d/x.vdp");
    EXPECT_EQ(p.settings.period, PeriodKind::table);
    EXPECT_TRUE(p.settings.comments.empty());
    EXPECT_EQ(p.settings.useDefaults, true);
}

TEST(ParamFile, LfOnlyLineBreaksAreRead) {
    std::string text;
    for (const auto& l : startingStateLines()) text += l + "\n";
    EXPECT_EQ(parseParamFile(text, "/d/x.vdp"), startingState());
}

TEST(ParamFile, UseMarkZeroClearsAnyOtherValueKeeps) {
    auto lines = startingStateLines();
    lines.back() = "2";
    EXPECT_TRUE(parseParamFile(joinCrLf(lines), "/d/x.vdp").entries[0].use);
    lines.back() = "0";
    EXPECT_FALSE(parseParamFile(joinCrLf(lines), "/d/x.vdp").entries[0].use);
}

TEST(ParamFile, RelativePathsResolveAgainstTheFilesFolder) {
    const struct {
        const char* entry;
        const char* vdp;
        const char* resolved;
    } cases[] = {
#if defined(_WIN32)
        {"../data/verde.txt", "C:\\Users\\u\\analyses\\a.vdp", "C:\\Users\\u\\data\\verde.txt"},
        {"..\\data\\verde.txt", "D:/u/analyses/a.vdp", "D:\\u\\data\\verde.txt"},
#else
        {"../data/verde.txt", "/home/u/analyses/a.vdp", "/home/u/data/verde.txt"},
#endif
    };
    for (const auto& c : cases) {
        auto lines = startingStateLines();
        lines[33] = c.entry;
        EXPECT_EQ(parseParamFile(joinCrLf(lines), c.vdp).entries[0].path, c.resolved) << c.entry;
    }
}

TEST(ParamFile, WrongFormatMarkIsRefused) {
    for (const std::string first : {"VANDO 3.1", "VANDO 3.0 ", "", "vando 3.0"}) {
        auto lines = startingStateLines();
        lines[0] = first;
        try {
            parseParamFile(joinCrLf(lines), "/d/old.vdp");
            ADD_FAILURE() << "accepted first line '" << first << "'";
        } catch (const vd::Error& e) {
            EXPECT_TRUE(vd::test::hasCode(e, vd::ErrorCode::paramFile));
            EXPECT_STREQ(e.what(), "/d/old.vdp is not a VANDO 3.0 parameter file.");
        }
    }
    EXPECT_ERROR_CODE(parseParamFile("", "/d/empty.vdp"), vd::ErrorCode::paramFile);
}

TEST(ParamFile, EveryTruncatedFileIsRefused) {
    const auto lines = startingStateLines();
    for (std::size_t keep = 1; keep < lines.size(); ++keep) {
        const std::vector<std::string> prefix(lines.begin(),
                                              lines.begin() + static_cast<long>(keep));
        EXPECT_ERROR_CODE(parseParamFile(joinCrLf(prefix), "/d/cut.vdp"), vd::ErrorCode::paramFile)
            << "accepted a file of " << keep << " lines";
    }
}

TEST(ParamFile, TruncationMessageSaysWhatIsMissing) {
    auto lines = startingStateLines();
    lines.resize(13);  // ends after the comment count
    try {
        parseParamFile(joinCrLf(lines), "/d/cut.vdp");
        FAIL() << "accepted a truncated file";
    } catch (const vd::Error& e) {
        EXPECT_TRUE(vd::test::hasCode(e, vd::ErrorCode::paramFile));
        EXPECT_NE(std::string(e.what()).find("ends before"), std::string::npos) << e.what();
        EXPECT_NE(std::string(e.what()).find("biological marker"), std::string::npos) << e.what();
    }
}

TEST(ParamFile, UnreadableIntegersAreRefused) {
    const struct {
        std::size_t line;
        const char* text;
    } cases[] = {{2, "x"},   {2, "1.5"}, {2, "7"},   {6, "yes"},        {12, "-1"},
                 {12, "2a"}, {32, ""},   {34, "on"}, {2, "99999999999"}};
    for (const auto& c : cases) {
        auto lines = startingStateLines();
        lines[c.line] = c.text;
        if (std::string(c.text).empty()) lines.resize(c.line + 1);  // nothing after the blank
        EXPECT_ERROR_CODE(parseParamFile(joinCrLf(lines), "/d/bad.vdp"), vd::ErrorCode::paramFile)
            << "line " << c.line + 1 << " '" << c.text << "'";
    }
}

TEST(ParamFile, LoadReadsFromDisk) {
    const auto dir = std::filesystem::temp_directory_path() / "vd_paramfile_test";
    std::filesystem::create_directories(dir);
    const auto file = dir / "a.vdp";
    {
        std::ofstream out(file, std::ios::binary);
        out << paramFileText(richAnalysis());
    }
    EXPECT_EQ(loadParamFile(file.string()), richAnalysis());
    EXPECT_ERROR_CODE(loadParamFile((dir / "missing.vdp").string()), vd::ErrorCode::paramFile);
    std::filesystem::remove_all(dir);
}

// Named in UTF-8 in a folder whose name is not ASCII, the file is read and its relative
// entries resolve to UTF-8 names in that folder (on Windows too, whatever the code page).
TEST(ParamFile, NonAsciiFolderIsReadAndEntriesResolvedInIt) {
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / fs::path(u8"vd_paramfile_Jürgen's gages");
    fs::create_directories(dir);
    ParamFile p = richAnalysis();
    p.entries = {{"verde.txt", true}};
    std::ofstream(dir / "a.vdp", std::ios::binary) << paramFileText(p);
    const std::u8string file = (dir / "a.vdp").u8string();
    const std::u8string entry = (dir / "verde.txt").lexically_normal().u8string();

    const ParamFile back = loadParamFile(std::string(file.begin(), file.end()));
    ASSERT_EQ(back.entries.size(), 1u);
    EXPECT_EQ(back.entries[0].path, std::string(entry.begin(), entry.end()));
    fs::remove_all(dir);
}

// Counts far beyond what the text holds end in the truncation refusal, not in an attempt
// to make room for them.
TEST(ParamFile, HugeCountsAreRefusedAsTruncation) {
    for (const std::size_t line : {12u, 32u}) {  // the comment count, the entry count
        auto lines = startingStateLines();
        lines[line] = "2147483647";
        try {
            parseParamFile(joinCrLf(lines), "/d/huge.vdp");
            ADD_FAILURE() << "line " << line + 1;
        } catch (const vd::Error& e) {
            EXPECT_TRUE(vd::test::hasCode(e, vd::ErrorCode::paramFile));
            EXPECT_NE(std::string(e.what()).find("ends before"), std::string::npos) << e.what();
        }
    }
}

TEST(ParamFile, RefusalQuotesAtMost40CharactersOfTheLine) {
    auto lines = startingStateLines();
    lines[2] = std::string(100000, '9') + "x";
    try {
        parseParamFile(joinCrLf(lines), "/d/long.vdp");
        FAIL();
    } catch (const vd::Error& e) {
        EXPECT_TRUE(vd::test::hasCode(e, vd::ErrorCode::paramFile));
        EXPECT_EQ(std::string(e.what()), "Invalid numeric input in line 3 of \"/d/long.vdp\": '" +
                                             std::string(40, '9') +
                                             "\xE2\x80\xA6' is not a valid calculation period "
                                             "index.");
    }
}

#if !defined(_WIN32)  // named pipes are made with mkfifo
TEST(ParamFile, AnythingButARegularFileIsRefusedWithoutOpeningIt) {
    const auto dir = std::filesystem::temp_directory_path() / "vd_paramfile_kinds";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    const auto pipe = dir / "pipe.vdp";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);  // opening it for reading would block
    for (const auto& [path, kind] :
         {std::pair{dir.string(), "a folder"}, std::pair{pipe.string(), "a named pipe"}}) {
        try {
            loadParamFile(path);
            ADD_FAILURE() << path;
        } catch (const vd::Error& e) {
            EXPECT_TRUE(vd::test::hasCode(e, vd::ErrorCode::paramFile));
            EXPECT_EQ(std::string(e.what()),
                      "\"" + path + "\" is " + std::string(kind) + ", not a parameter file.");
        }
    }
    std::filesystem::remove_all(dir);
}
#endif

namespace {

// The starting state's lines followed by `extra`.
std::string withLinesAfterTheFiles(const std::vector<std::string>& extra) {
    auto lines = startingStateLines();
    lines.insert(lines.end(), extra.begin(), extra.end());
    return joinCrLf(lines);
}

}  // namespace

TEST(ParamFileOptions, EachOptionIsWrittenOnlyWhenItDiffersAndReadBack) {
    const struct {
        void (*change)(ParamFile&);
        std::vector<std::string> section;
    } cases[] = {
        {[](ParamFile& p) { p.settings.nonBiological = NonBiologicalKind::percentile; },
         {"--Options", "nonbio=perc"}},
        {[](ParamFile& p) {
             p.settings.nonBiological = NonBiologicalKind::explicitFlow;
             p.settings.flow = "12.5";
         },
         {"--Options", "nonbio=flow", "flow=12.5"}},
        {[](ParamFile& p) { p.settings.percentile = " 2 "; }, {"--Options", "percentile= 2 "}},
        {[](ParamFile& p) { p.settings.bioWithinSeason = true; },
         {"--Options", "bio_within_season=1"}},
        {[](ParamFile& p) {
             p.settings.nonBiological = NonBiologicalKind::percentile;
             p.settings.flow = "";
             p.settings.percentile = "1=2";
             p.settings.bioWithinSeason = true;
         },
         {"--Options", "nonbio=perc", "flow=", "percentile=1=2", "bio_within_season=1"}},
    };
    for (const auto& c : cases) {
        ParamFile p = startingState();
        c.change(p);
        const std::string text = paramFileText(p);
        EXPECT_EQ(text, withLinesAfterTheFiles(c.section)) << c.section.back();
        EXPECT_EQ(parseParamFile(text, "/d/a.vdp"), p) << c.section.back();
    }
}

TEST(ParamFileOptions, DefaultsGiveTheOlderFileAndAnOlderFileReadsAsDefaults) {
    ParamFile p = startingState();
    p.settings.flow = "5";  // typed back to the default
    EXPECT_EQ(paramFileText(p), joinCrLf(startingStateLines()));
    const ParamFile old = parseParamFile(joinCrLf(startingStateLines()), "/d/old.vdp");
    const ParamFile defaults;
    EXPECT_EQ(old.settings.nonBiological, defaults.settings.nonBiological);
    EXPECT_EQ(old.settings.flow, "5");
    EXPECT_EQ(old.settings.percentile, "0.1");
    EXPECT_FALSE(old.settings.bioWithinSeason);
    const SettingsTexts t = settingsTextsOf(old);
    EXPECT_EQ(t.nonBiological, NonBiologicalKind::hydrological);
    EXPECT_FALSE(t.bioWithinSeason);
}

TEST(ParamFileOptions, SettingsTakeTheStoredOptions) {
    ParamFile p = startingState();
    p.settings.nonBiological = NonBiologicalKind::explicitFlow;
    p.settings.flow = "3";
    p.settings.percentile = "7";
    p.settings.bioWithinSeason = true;
    const SettingsTexts t = settingsTextsOf(parseParamFile(paramFileText(p), "/d/a.vdp"));
    EXPECT_EQ(t.nonBiological, NonBiologicalKind::explicitFlow);
    EXPECT_EQ(t.flow, "3");
    EXPECT_EQ(t.percentile, "7");
    EXPECT_TRUE(t.bioWithinSeason);
}

TEST(ParamFileOptions, UnknownNamesBlankLinesAndUnmarkedTailsArePassedOver) {
    const std::vector<std::vector<std::string>> tails = {
        {"", "--Options", "approved_only=1", "", "bio_within_season=1", ""},
        {"--Options", "Bio_Within_Season=0", "bio_within_season=1", "later=x=y"},
    };
    for (const auto& tail : tails)
        EXPECT_TRUE(
            parseParamFile(withLinesAfterTheFiles(tail), "/d/a.vdp").settings.bioWithinSeason)
            << tail.at(1);
    // Anything after the files without the mark was never read, and still is not.
    const ParamFile junk =
        parseParamFile(withLinesAfterTheFiles({"notes", "bio_within_season=1"}), "/d/a.vdp");
    EXPECT_EQ(junk, parseParamFile(joinCrLf(startingStateLines()), "/d/a.vdp"));
}

TEST(ParamFileOptions, MalformedEntriesAreRefusedNamingLineAndRule) {
    const struct {
        const char* line;
        const char* rule;
    } cases[] = {
        {"bio_within_season=yes", "bio_within_season takes 0 or 1"},
        {"bio_within_season=", "bio_within_season takes 0 or 1"},
        {"nonbio=xqy", "nonbio takes hydro, flow or perc"},
        {"bio_within_season", "an optional entry is a name=value line"},
    };
    for (const auto& c : cases) {
        try {
            parseParamFile(withLinesAfterTheFiles({"--Options", "flow=2", c.line}), "/d/bad.vdp");
            ADD_FAILURE() << "accepted " << c.line;
        } catch (const vd::Error& e) {
            EXPECT_TRUE(vd::test::hasCode(e, vd::ErrorCode::paramFile));
            const std::string expected = "Invalid entry in line 38 of \"/d/bad.vdp\": '" +
                                         std::string(c.line) + "'; " + c.rule + ".";
            EXPECT_EQ(e.what(), expected);
        }
    }
}
