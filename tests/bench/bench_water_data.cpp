// Reading speed of a 100-year Water Data API file (about 15 MB as GeoJSON), read whole each
// time as when a file is first added.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>

#include "../common/water_data_restate.h"
#include "calendar.h"
#include "flow_reader.h"

namespace {

std::vector<vd::test::RestatedDay> hundredYears() {
    std::vector<vd::test::RestatedDay> days;
    const int first = vd::DayNumber(21, 1, 1);
    const int last = vd::DayNumber(120, 12, 31);
    for (int dn = first; dn <= last; ++dn) {
        const vd::CalendarDate d = vd::DateOfDayNumber(dn);
        char date[16];
        std::snprintf(date, sizeof date, "%04d-%02d-%02d", d.year, d.month, d.day);
        days.push_back({"09506000", date, std::to_string(100 + dn % 977) + ".5", "Approved"});
    }
    return days;
}

class ApiFile {
  public:
    ApiFile(const std::string& suffix, const std::string& text)
        : path_(std::filesystem::temp_directory_path() / ("vd_bench_water_data" + suffix)) {
        std::ofstream(path_, std::ios::binary) << text;
    }
    ~ApiFile() { std::filesystem::remove(path_); }
    std::string path() const { return path_.string(); }

  private:
    std::filesystem::path path_;
};

void readWhole(benchmark::State& st, const std::string& suffix,
               std::string (*restate)(const std::vector<vd::test::RestatedDay>&)) {
    const ApiFile file(suffix, restate(vd::test::reversed(hundredYears())));
    for (auto _ : st) {
        const auto gages = vd::readGageSeries(file.path(), "Apr 1", "Mar 31", {}, nullptr);
        benchmark::DoNotOptimize(gages.front().recordDays);
    }
    st.SetBytesProcessed(st.iterations() *
                         static_cast<std::int64_t>(std::filesystem::file_size(file.path())));
}

void BM_ReadHundredYearGeoJson(benchmark::State& st) {
    readWhole(st, ".json", vd::test::asWaterDataGeoJson);
}
BENCHMARK(BM_ReadHundredYearGeoJson)->Unit(benchmark::kMillisecond);

void BM_ReadHundredYearCsv(benchmark::State& st) {
    readWhole(st, ".csv", vd::test::asWaterDataCsv);
}
BENCHMARK(BM_ReadHundredYearCsv)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
