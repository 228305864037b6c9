// Speed of the design-flow search (1B3 and 7Q10) on the longest real gage at hand: the
// examples and the real NWIS files of the test data. Every search works on the daily series
// as it was read and makes its own averages.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "flow_reader.h"
#include "log_pearson_library.h"
#include "statistics.h"

namespace {

namespace fs = std::filesystem;

struct LongestGage {
    vd::GageSeries series;
    bool found = false;
};

// Reads one file (from a scratch copy: reading may rewrite line breaks) and keeps its
// longest gage in `best` when it is longer than the one kept.
void considerFile(const fs::path& file, LongestGage& best) {
    const fs::path copy = fs::temp_directory_path() / ("bench_search_" + file.filename().string());
    fs::copy_file(file, copy, fs::copy_options::overwrite_existing);
    std::vector<vd::GageSeries> gages;
    try {
        gages = vd::readGageSeries(copy.string(), "Apr 1", "Mar 31", {}, nullptr);
    } catch (const std::exception&) {
        return;  // a file the reader refuses is no candidate
    }
    for (vd::GageSeries& g : gages) {
        if (best.found && g.recordDays <= best.series.recordDays) continue;
        best.series = std::move(g);
        best.found = true;
    }
}

const LongestGage& longestGage() {
    static const LongestGage best = [] {
        LongestGage found;
        for (const char* folder : {VANDO_EXAMPLES, VANDO_TEST_DATA "/nwis"}) {
            if (!fs::is_directory(folder)) continue;
            for (const auto& entry : fs::directory_iterator(folder))
                if (entry.path().extension() == ".txt") considerFile(entry.path(), found);
        }
        if (!found.found) throw std::runtime_error("no readable real gage found");
        return found;
    }();
    return best;
}

const vd::LogPearsonLibrary& library() {
    static const vd::LogPearsonLibrary lib = vd::LogPearsonLibrary::load(vd::programFolder());
    return lib;
}

struct Parameters {
    int K;
    int M;
    double XMR;
};

void searchLongestGage(benchmark::State& st, Parameters p) {
    const vd::GageSeries& g = longestGage().series;
    std::vector<double> days = g.days;
    days.resize(static_cast<std::size_t>(g.dayCount()), vd::unknown);
    vd::DailySeries series;
    series.days = days;
    series.calendar.firstYear = g.firstYear;
    series.calendar.startsOnSeasonStart = g.startsOnSeasonStart;
    series.recordDays = g.recordDays;
    vd::SearchParameters search;
    search.clusterDays = 120;
    search.excursionsPerCluster = 5;
    search.mode = p.K;
    search.averagingDays = p.M;
    search.yearsBetween = p.XMR;
    double flow = -1;
    for (auto _ : st) {
        flow = vd::lowFlowSearch(series, search, library()).flow;
        benchmark::DoNotOptimize(flow);
    }
    st.counters["flow"] = flow;
    st.counters["days"] = g.recordDays;
    st.SetLabel(g.name);
}

void BM_LowFlowSearch_1B3(benchmark::State& st) {
    searchLongestGage(st, {1, 1, 3});
}
void BM_LowFlowSearch_7Q10(benchmark::State& st) {
    searchLongestGage(st, {2, 7, 10});
}
BENCHMARK(BM_LowFlowSearch_1B3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LowFlowSearch_7Q10)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
