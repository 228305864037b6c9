#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <sys/stat.h>

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
    p.MEdit1 = "1990";
    p.MEdit2 = "2021";
    p.entries = {{"/data/verde.txt", true}};
    return p;
}

ParamFile richAnalysis() {
    ParamFile p;
    p.MRG = 3;
    p.MEdit1 = "1951";
    p.MEdit2 = "2000";
    p.CheckBox2 = false;
    p.Edit1 = "Sep 30";
    p.Edit2 = "Jun 1";
    p.SDayText = "Jun 1";
    p.EdayText = "Sep 30";
    p.comments = {"Upper reach, summer season", "", "  indented line"};
    p.CheckBox1 = false;
    p.RadioButton1 = false;
    p.RadioButton3 = true;
    p.EditBio = {"2", "4", "100", "3", "1"};
    p.Bio = {"30", "3", "120", "4", ""};
    p.Edit3 = "7,30";
    p.Edit4 = "5";
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
    p.Bio[0] = std::string(300, '7');
    EXPECT_EQ(parseParamFile(paramFileText(p), "/d/x.vdp").Bio[0], std::string(255, '7'));
}

TEST(ParamFile, IntegersAfterBlanksAndLineEndsRestOfLineSkipped) {
    auto lines = startingStateLines();
    lines[2] = "  3 trailing words";                // period index
    lines.insert(lines.begin() + 12, {"", "   "});  // blank lines before the comment count
    const ParamFile p = parseParamFile(joinCrLf(lines), "/d/x.vdp");
    EXPECT_EQ(p.MRG, 3);
    EXPECT_TRUE(p.comments.empty());
    EXPECT_EQ(p.CheckBox1, true);
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
        } catch (const ParamFileError& e) {
            EXPECT_STREQ(e.what(), "/d/old.vdp is not a VANDO 3.0 parameter file.");
        }
    }
    EXPECT_THROW(parseParamFile("", "/d/empty.vdp"), ParamFileError);
}

TEST(ParamFile, EveryTruncatedFileIsRefused) {
    const auto lines = startingStateLines();
    for (std::size_t keep = 1; keep < lines.size(); ++keep) {
        const std::vector<std::string> prefix(lines.begin(),
                                              lines.begin() + static_cast<long>(keep));
        EXPECT_THROW(parseParamFile(joinCrLf(prefix), "/d/cut.vdp"), ParamFileError)
            << "accepted a file of " << keep << " lines";
    }
}

TEST(ParamFile, TruncationMessageSaysWhatIsMissing) {
    auto lines = startingStateLines();
    lines.resize(13);  // ends after the comment count
    try {
        parseParamFile(joinCrLf(lines), "/d/cut.vdp");
        FAIL() << "accepted a truncated file";
    } catch (const ParamFileError& e) {
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
        EXPECT_THROW(parseParamFile(joinCrLf(lines), "/d/bad.vdp"), ParamFileError)
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
    EXPECT_THROW(loadParamFile((dir / "missing.vdp").string()), ParamFileError);
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
        } catch (const ParamFileError& e) {
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
    } catch (const ParamFileError& e) {
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
        } catch (const ParamFileError& e) {
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
        {[](ParamFile& p) { p.nonBiological = NonBiologicalKind::percentile; },
         {"--Options", "nonbio=perc"}},
        {[](ParamFile& p) {
             p.nonBiological = NonBiologicalKind::explicitFlow;
             p.flow = "12.5";
         },
         {"--Options", "nonbio=flow", "flow=12.5"}},
        {[](ParamFile& p) { p.percentile = " 2 "; }, {"--Options", "percentile= 2 "}},
        {[](ParamFile& p) { p.bioWithinSeason = true; }, {"--Options", "bio_within_season=1"}},
        {[](ParamFile& p) {
             p.nonBiological = NonBiologicalKind::percentile;
             p.flow = "";
             p.percentile = "1=2";
             p.bioWithinSeason = true;
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
    p.flow = "5";  // typed back to the default
    EXPECT_EQ(paramFileText(p), joinCrLf(startingStateLines()));
    const ParamFile old = parseParamFile(joinCrLf(startingStateLines()), "/d/old.vdp");
    const ParamFile defaults;
    EXPECT_EQ(old.nonBiological, defaults.nonBiological);
    EXPECT_EQ(old.flow, "5");
    EXPECT_EQ(old.percentile, "0.1");
    EXPECT_FALSE(old.bioWithinSeason);
    const SettingsTexts t = settingsTextsOf(old);
    EXPECT_EQ(t.nonBiological, NonBiologicalKind::hydrological);
    EXPECT_FALSE(t.bioWithinSeason);
}

TEST(ParamFileOptions, SettingsTakeTheStoredOptions) {
    ParamFile p = startingState();
    p.nonBiological = NonBiologicalKind::explicitFlow;
    p.flow = "3";
    p.percentile = "7";
    p.bioWithinSeason = true;
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
        EXPECT_TRUE(parseParamFile(withLinesAfterTheFiles(tail), "/d/a.vdp").bioWithinSeason)
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
        } catch (const ParamFileError& e) {
            const std::string expected = "Invalid entry in line 38 of \"/d/bad.vdp\": '" +
                                         std::string(c.line) + "'; " + c.rule + ".";
            EXPECT_EQ(e.what(), expected);
        }
    }
}
