// Reading speed of the flow-file reader on the largest real file (CR LF, so no conversion).
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>

#include "flow_file_cache.h"
#include "flow_reader.h"

namespace {

const std::string kLargest =
    std::string(VANDO_TEST_DATA) + "/nwis/11264500_merced_happy_isles_1915-2021_multiparam.txt";

void BM_ReadLargestFile(benchmark::State& st) {
    const auto bytes = static_cast<std::int64_t>(std::filesystem::file_size(kLargest));
    for (auto _ : st) {
        const auto gages = vd::readGageSeries(kLargest, "Apr 1", "Mar 31", {}, nullptr);
        benchmark::DoNotOptimize(gages.front().recordDays);
    }
    st.SetBytesProcessed(st.iterations() * bytes);
}
BENCHMARK(BM_ReadLargestFile)->Unit(benchmark::kMillisecond);

// A file read before: its records are kept, and only the gage series are built again (the
// calculation run, or the re-reading after a season change).
void BM_ReadLargestFileAgain(benchmark::State& st) {
    vd::FlowFileCache cache;
    vd::readGageSeries(kLargest, "Apr 1", "Mar 31", {}, &cache);
    for (auto _ : st) {
        const auto gages = vd::readGageSeries(kLargest, "Apr 1", "Mar 31", {}, &cache);
        benchmark::DoNotOptimize(gages.front().recordDays);
    }
}
BENCHMARK(BM_ReadLargestFileAgain)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
