// A whole analysis driven through the analysis header alone, as a newcomer to the engine
// would: settings, files, table edits, a run, its report and excursions, and what a batch
// computes for one file. The outputs must be the reference outputs of the command line.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "../common/scratch_dir.h"
#include "analysis.h"

namespace fs = std::filesystem;

namespace {

const fs::path kReference = fs::path(VANDO_TEST_DATA) / "reference";
const std::string verde = "09506000_verde_camp_verde_dv_1989-2021.txt";
const std::string sanJoaquin = "11224000_mf_san_joaquin_mammoth_dv_2009-2021.txt";
const std::string bayou = "08023080_bayou_grand_cane_zeros.txt";

const vd::LogPearsonLibrary& library() {
    static const vd::LogPearsonLibrary lib = vd::LogPearsonLibrary::load(vd::programFolder());
    return lib;
}

class AnalysisApi : public ::testing::Test {
  protected:
    AnalysisApi() { scratch_.copyFilesOf(kReference / "inputs"); }
    std::string path(const std::string& name) const { return (scratch_.path() / name).string(); }
    std::vector<std::string> threeGages() const {
        return {path(verde), path(sanJoaquin), path(bayou)};
    }

    vd::test::ScratchDir scratch_{"analysis"};
};

TEST_F(AnalysisApi, AWholeAnalysisGivesTheReferenceReportAndExcursions) {
    vd::Analysis analysis;
    const auto readings = analysis.addFiles(threeGages());
    ASSERT_EQ(readings.size(), 3u);
    for (const vd::FileReading& r : readings) EXPECT_TRUE(r.read()) << r.path;
    EXPECT_EQ(analysis.table().rowCount(), 3);
    EXPECT_EQ(analysis.table().countText(), "3 gages in 3 files");

    EXPECT_EQ(analysis.result(), nullptr);
    const vd::run::RunResult& result = analysis.run(library());
    EXPECT_EQ(result.dataRowCount(), 3);
    EXPECT_EQ(analysis.reportText(), vd::test::fileText(kReference / "report_default.txt"));
    EXPECT_EQ(analysis.excursionText(1), vd::test::fileText(kReference / "excursions_row1.txt"));
}

TEST_F(AnalysisApi, SettingsAndTableEditsShapeTheRun) {
    vd::Analysis analysis;
    vd::run::SettingsTexts texts;
    texts.averagingPeriods = "7,30";
    analysis.setSettings(texts);
    analysis.addFiles(threeGages());
    analysis.run(library());
    EXPECT_EQ(analysis.reportText(), vd::test::fileText(kReference / "report_avg7_30.txt"));

    // A file whose only gage is unmarked is left out of the run, then out of the table.
    analysis.table().toggleUse(1);
    EXPECT_EQ(analysis.run(library()).dataRowCount(), 2);
    EXPECT_EQ(analysis.removeUnused(), 1);
    EXPECT_EQ(analysis.table().filePaths(), (std::vector<std::string>{path(verde), path(bayou)}));
}

TEST_F(AnalysisApi, AFileThatCannotBeReadIsReportedAndAddsNoRow) {
    vd::Analysis analysis;
    const vd::FileReading missing = analysis.addFile(path("no such file.txt"));
    EXPECT_FALSE(missing.read());
    EXPECT_TRUE(missing.gages.empty());
    EXPECT_TRUE(analysis.table().empty());
    EXPECT_NE(vd::readErrorMessage(missing).find("is unable to read the file"), std::string::npos);
    // Nothing was run yet: there is neither a report nor an excursion table to give.
    EXPECT_ANY_THROW(analysis.reportText());
}

TEST_F(AnalysisApi, ABatchFileGivesTheNumbersOfTheTableRun) {
    vd::Analysis analysis;
    analysis.addFile(path(verde));
    const vd::run::RunResult& table = analysis.run(library());
    const auto gages =
        vd::computeFileGages(path(verde), table.settings, library(), {false, false, false});
    ASSERT_EQ(gages.size(), 1u);
    ASSERT_TRUE(gages[0].result) << gages[0].error;
    EXPECT_EQ(gages[0].result->biological.flow, table.gage(1).biological.flow);
    ASSERT_EQ(gages[0].result->blocks.size(), table.gage(1).blocks.size());
    EXPECT_EQ(gages[0].result->blocks[0].flow, table.gage(1).blocks[0].flow);
    EXPECT_EQ(gages[0].result->harmonicMean, table.gage(1).harmonicMean);
}

}  // namespace
