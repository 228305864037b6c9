// The excursion analysis table and its copied text, on hand-made excursion records.
#include <gtest/gtest.h>

#include "../common/error_assertions.h"
#include "calendar.h"
#include "errors.h"
#include "excursion_table.h"

using namespace vd;
using namespace vd::run;

namespace {

struct Period {
    int first, last, days;
    double sum;
};

// A record whose clusters hold the given periods.
BiologicalExcursions record(int dayBeforeStart, const std::vector<std::vector<Period>>& clusters,
                            const std::vector<double>& counted) {
    BiologicalExcursions r;
    r.dayBeforeStart = dayBeforeStart;
    std::vector<ExcursionPeriod>& periods = r.excursions.periods;
    for (std::size_t c = 0; c < clusters.size(); ++c) {
        ExcursionCluster cluster;
        cluster.firstPeriod = static_cast<int>(periods.size());
        for (const Period& p : clusters[c]) periods.push_back({p.first, p.last, p.days, p.sum, 0});
        cluster.lastPeriod = static_cast<int>(periods.size()) - 1;
        cluster.excursions = counted[c];
        r.excursions.clusters.push_back(cluster);
    }
    return r;
}

TEST(ExcursionTable, RowsGroupedByClusterWithATotal) {
    const int dayBeforeStart = DayNumber(75, 4, 1) - 1;  // day 1 is 1 April 1975
    const auto r =
        record(dayBeforeStart,
               {{{1, 1, 1, 1.014}, {8, 9, 2, 2.2}, {15, 15, 0, 0}}, {{400, 406, 7, 7 * 1.204}}},
               {3.0, 1.75});
    const ExcursionTable t = excursionTable(r);
    ASSERT_EQ(t.cells.size(), 6u);
    const std::vector<std::vector<std::string>> expected = {
        {"Cluster Start", "Excursions", "Period Start", "Duration", "Avg Excursion"},
        {"Apr  1, 1975", "  3.00", "Apr  1, 1975", "   1", "   1.4%"},
        {"", "", "Apr  8, 1975", "   2", "  10.0%"},
        {"", "", "Apr 15, 1975", "   1", "   0.0%"},  // no day counted: 0 %
        {"May  4, 1976", "  1.75", "May  4, 1976", "   7", "  20.4%"},
        {"Total", "  4.75", "", "", ""},
    };
    EXPECT_EQ(t.cells, expected);
    EXPECT_EQ(t.endsCluster, (std::vector<bool>{false, false, false, true, true, false}));
}

TEST(ExcursionTable, RecordWithoutClustersGivesATotalOfZero) {
    const ExcursionTable t = excursionTable(BiologicalExcursions{});
    ASSERT_EQ(t.cells.size(), 2u);
    EXPECT_EQ(t.cells[1], (std::vector<std::string>{"Total", "  0.00", "", "", ""}));
}

TEST(ExcursionTable, DatesFollowTheDayNumbering) {
    EXPECT_EQ(excursionDate(27499), "Apr 16, 1975");
    EXPECT_EQ(excursionDate(1), "Jan  1, 1900");
    EXPECT_EQ(excursionDate(36584), "Feb 29, 2000");
}

TEST(ExcursionTable, CopiedTextHasTheSeasonLineOnlyForASeason) {
    const ExcursionTable t = excursionTable(BiologicalExcursions{});
    const std::string table =
        "Cluster Start\tExcursions\tPeriod Start\tDuration\tAvg Excursion\t\r\nTotal\t  "
        "0.00\t\t\t\t\r\n";
    EXPECT_EQ(excursionCopyText(t, {}, 1, 365), table);
    EXPECT_EQ(
        excursionCopyText(t, {"Note"}, 1, 122),
        "\r\nNote\r\n\r\nSeasonal calculation: start day is 1, end day is 122\r\n\r\n" + table);
    EXPECT_EQ(excursionCopyText(t, {}, 15, 379)
                  .find("Seasonal calculation: start day is 15, end day is 379\r\n\r\nCluster"),
              0u);
    // Within the season, the copy says so as the report does.
    EXPECT_EQ(excursionCopyText(t, {}, 152, 273, BioScope::season),
              "Seasonal calculation: start day is 152, end day is 273\r\n\r\n"
              "Biological flow, percentiles and excursion rates within the season only\r\n\r\n" +
                  table);
}

TEST(ExcursionTable, RowWithoutRecordOfThisRunIsRefused) {
    RunResult result;
    result.grid = {{"Gage"}, {"A"}, {"B"}};
    result.gages.resize(2);
    result.gages[1].excursions = std::make_shared<const BiologicalExcursions>();
    EXPECT_ERROR_CODE(excursionTableOfRow(result, 1), ErrorCode::calculation);
    EXPECT_EQ(excursionTableOfRow(result, 2).cells.size(), 2u);
    EXPECT_ERROR_CODE(excursionTableOfRow(result, 0), ErrorCode::calculation);
    EXPECT_ERROR_CODE(excursionTableOfRow(result, 3), ErrorCode::calculation);
}

}  // namespace
