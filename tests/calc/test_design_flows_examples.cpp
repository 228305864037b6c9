// The biological and the hydrological design flow of every real example gage, held to what
// a hydrologist would accept: the 1B3 among the lowest days, the 7Q10 among the annual
// 7-day minima.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <vector>

#include "flow_reader.h"
#include "statistics.h"

namespace vd {
namespace {

namespace fs = std::filesystem;

std::vector<fs::path> exampleFiles() {
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(VANDO_EXAMPLES)) {
        const std::string ext = entry.path().extension().string();
        if (ext == ".txt" || ext == ".flo") files.push_back(entry.path());  // flow files only
    }
    std::sort(files.begin(), files.end());
    return files;
}

// Reads a scratch copy: reading may rewrite the line breaks of a file.
std::vector<GageSeries> readCopy(const fs::path& file) {
    const fs::path copy = fs::temp_directory_path() / ("vd_examples_" + file.filename().string());
    fs::copy_file(file, copy, fs::copy_options::overwrite_existing);
    return readGageSeries(copy.string(), "Apr 1", "Mar 31", {}, nullptr);
}

// The statistics' view of a gage read for climatic years from 1 April.
DailySeries dailySeriesOf(const GageSeries& g) {
    DailySeries s;
    s.days = std::span<const double>(g.days).first(
        std::min(g.days.size(), static_cast<std::size_t>(g.dayCount())));
    s.calendar.firstYear = g.firstYear;
    s.calendar.startsOnSeasonStart = g.startsOnSeasonStart;
    s.recordDays = g.recordDays;
    return s;
}

std::vector<float> sortedAnnualMinima(std::span<const double> averages,
                                      const SeasonCalendar& calendar, int windowDays) {
    std::vector<float> minima = annualMinima(averages, calendar, windowDays).flows;
    std::sort(minima.begin(), minima.end());
    return minima;
}

TEST(ExampleGages, DesignFlowsArePlausible) {
    const LogPearsonLibrary lib = LogPearsonLibrary::load(programFolder());
    int gages = 0;
    for (const fs::path& file : exampleFiles()) {
        for (const GageSeries& g : readCopy(file)) {
            if (g.recordDays < 10 * 365) continue;  // too short for a 7Q10
            SCOPED_TRACE(file.filename().string() + ": " + g.name);
            ++gages;
            const DailySeries series = dailySeriesOf(g);
            SearchParameters p;
            p.clusterDays = 120;
            p.excursionsPerCluster = 5;

            p.mode = biologicalMode;
            p.averagingDays = 1;
            p.yearsBetween = 3;
            const LowFlowSearch biological = lowFlowSearch(series, p, lib);
            const double bio = biological.flow;
            ASSERT_GE(bio, 0);
            EXPECT_LE(excursionCount(biological.averages, p, bio),
                      series.recordDays / 365.0 / p.yearsBetween + eps);
            // below on under 1 % of days
            EXPECT_LT(100 - percentNotBelow(series.days, series.recordDays, bio), 1.0);

            p.mode = hydrologicalMode;
            p.averagingDays = 7;
            p.yearsBetween = 10;
            const LowFlowSearch hydrological = lowFlowSearch(series, p, lib);
            const double q7 = hydrological.flow;
            const std::vector<float> minima =
                sortedAnnualMinima(hydrological.averages, series.calendar, p.averagingDays);
            ASSERT_GE(minima.size(), 10u);
            // Ten years of a skewed record may put the 10-year flow a little below the
            // lowest year seen, never far below it nor above the typical year. Flows under
            // the tolerance are reported as 0.
            EXPECT_GE(q7, 0.9 * minima.front() - eps);
            EXPECT_LE(q7, minima[minima.size() / 2]);
            EXPECT_LE(bio, q7);
        }
    }
    EXPECT_GE(gages, 3);
}

}  // namespace
}  // namespace vd
