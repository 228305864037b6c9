// The copied report on hand-made results: layout, line ends, and the advanced block with
// its sort by annual minimum.
#include <gtest/gtest.h>

#include "report_text.h"
#include "results_view.h"

using namespace vd;
using namespace vd::run;

namespace {

// A per-year table of `years` (year index, annual minimum, xQk flow) entries.
std::shared_ptr<const std::vector<AnnualMinimum>> perYearTable(
    const std::vector<std::tuple<float, float, float>>& years) {
    auto table = std::make_shared<std::vector<AnnualMinimum>>();
    for (const auto& [year, minimum, flow] : years)
        table->push_back({year, minimum, flow, static_cast<float>(table->size() + 1)});
    return table;
}

RunResult twoRowResult() {
    RunResult r;
    r.grid = {{"Gage", "Period"}, {"A", "1971-2000"}, {"B", "N/A"}};
    r.gages.resize(2);
    r.gages[0].name = "A";
    r.gages[1].name = "B";
    return r;
}

ReportSettings settings(bool advanced = true) {
    return {{}, seasonOf("Apr 1", "Mar 31"), advanced};
}

TEST(ReportText, CommentsSeasonLineAndTabAfterEveryCell) {
    ReportSettings s = settings(false);
    s.comments = {"Test", "second line"};
    EXPECT_EQ(reportText(twoRowResult(), s),
              "\r\nTest\r\nsecond line\r\n\r\n"
              "Climatic year defined as Apr 1 - Mar 31\r\n\r\n"
              "Gage\tPeriod\t\r\nA\t1971-2000\t\r\nB\tN/A\t\r\n");
    s.comments.clear();
    s.season = seasonOf("Jun 1", "Sep 30");
    s.season.fullClimaticYear = false;
    EXPECT_EQ(reportText(twoRowResult(), s).find("Season defined as Jun 1 - Sep 30\r\n\r\nGage"),
              0u);
}

TEST(ReportText, RunWithoutGagesGivesTheHeaderRowOnly) {
    RunResult r;
    r.grid = {{"Gage", "Period", "Days in Record", "", "", "", "", "", ""}};
    EXPECT_EQ(reportText(r, settings()),
              "Climatic year defined as Apr 1 - Mar 31\r\n\r\n"
              "Gage\tPeriod\tDays in Record\t\t\t\t\t\t\t\r\n");
}

TEST(ReportText, AdvancedBlockSortsYearsByTheirMinimum) {
    RunResult r = twoRowResult();
    // Years 1971..1974 with minima 5, 2, 5, 1 (the exchange sort swaps the tie), flows of return
    // periods 1..4; the first one the distribution cannot reach (blank cell).
    r.gages[0].annualTable =
        perYearTable({{71, 5.0f, 1e20f}, {72, 2.0f, 3.125f}, {73, 5.0f, 2.5f}, {74, 1.0f, 0.125f}});
    const std::string text = reportText(r, settings());
    const std::string block =
        "\r\n\r\nAdvanced information\r\n\r\n"
        "A\r\nRecurrence Period\t1\t2\t3\t4"
        "\r\nCalculated\t\t3.13\t2.50\t0.13"
        "\r\nRecurrence Period\t4.000\t2.000\t1.333\t1.000"
        "\r\nObserved\t1.00\t2.00\t5.00\t5.00"
        "\r\n\t1974\t1972\t1973\t1971\r\n\r\n";
    ASSERT_GE(text.size(), block.size());
    EXPECT_EQ(text.substr(text.size() - block.size()), block);
    // The stored table is not changed, and a second copy is the same.
    EXPECT_EQ((*r.gages[0].annualTable)[0].yearIndex, 71.0f);
    EXPECT_EQ(reportText(r, settings()), text);
}

TEST(ReportText, RowWithoutPerYearTableContributesNothing) {
    RunResult r = twoRowResult();
    r.gages[1].annualTable = perYearTable({{80, 1.5f, 2.0f}});
    const std::string text = reportText(r, settings());
    // Row A has no table: the block holds B only, although A is the first row.
    EXPECT_NE(text.find("Advanced information\r\n\r\nB\r\nRecurrence Period\t1\r\n"),
              std::string::npos)
        << text;
    EXPECT_EQ(text.find("A\r\nRecurrence"), std::string::npos);
    EXPECT_EQ(reportText(r, settings(false)).find("Advanced"), std::string::npos);

    // A table without years (flows of options 5 and 6 only) gives empty lines.
    RunResult empty = twoRowResult();
    empty.gages[0].annualTable = perYearTable({});
    EXPECT_NE(reportText(empty, settings())
                  .find("A\r\nRecurrence Period\r\nCalculated\r\nRecurrence Period\r\nObserved"
                        "\r\n\r\n\r\n"),
              std::string::npos);
}

TEST(ReportText, ThirtyYearsGiveReturnPeriodsFromThirtyDown) {
    std::vector<std::tuple<float, float, float>> years;
    for (int k = 0; k < 30; ++k) years.emplace_back(71 + k, 100.0f - k, 1.0f);
    const std::string text = advancedRowText("G", *perYearTable(years));
    EXPECT_NE(text.find("Recurrence Period\t30.000\t15.000\t10.000\t7.500\t6.000\t5.000\t4.286"),
              std::string::npos);
    EXPECT_NE(text.find("\r\n\t2000\t1999\t1998"), std::string::npos);  // smallest minimum first
}

TEST(ResultsView, PeriodHintNamesTheFirstSeasonStartAndTheLastSeasonEnd) {
    EXPECT_EQ(periodHint("1971-2000", "Apr 1", "Mar 31", 1), "Apr 1, 1970 - Mar 31, 2000");
    EXPECT_EQ(periodHint("1971-2000", "Jun 1", "Sep 30", 0), "Jun 1, 1971 - Sep 30, 2000");
    EXPECT_EQ(periodHint("N/A", "Apr 1", "Mar 31", 1), "");
    RunResult r = twoRowResult();
    EXPECT_EQ(excursionCaption(r, 1), "Excursion analysis for Period at A");
}

}  // namespace
