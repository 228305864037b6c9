// Speed of a whole calculation run with two averaging periods (7 and 30 days) on the real
// files at hand, reusing each gage's low-flow fit or repeating the literal searches, beside
// the time of reading the same files alone as the gage table does.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>

#include "engine.h"
#include "gage_rows.h"
#include "log_pearson_library.h"

namespace {

namespace fs = std::filesystem;

const vd::LogPearsonLibrary& library() {
    static const vd::LogPearsonLibrary lib = vd::LogPearsonLibrary::load(vd::programFolder());
    return lib;
}

// Scratch copies of the real files (reading may rewrite line breaks in place).
const std::vector<std::string>& files() {
    static const std::vector<std::string> copies = [] {
        std::vector<std::string> paths;
        const fs::path scratch = fs::temp_directory_path() / "bench_run";
        fs::create_directories(scratch);
        for (const char* folder : {VANDO_EXAMPLES, VANDO_TEST_DATA "/nwis"}) {
            if (!fs::is_directory(folder)) continue;
            for (const auto& entry : fs::directory_iterator(folder)) {
                const fs::path copy = scratch / entry.path().filename();
                fs::copy_file(entry.path(), copy, fs::copy_options::overwrite_existing);
                paths.push_back(copy.string());
            }
        }
        return paths;
    }();
    return copies;
}

std::vector<vd::run::GageRow> addAsTheTableWould(const vd::run::SettingsTexts& c) {
    std::vector<vd::run::GageRow> rows;
    for (const std::string& path : files()) {
        try {
            const auto gages = vd::readGagesForTable(path, c.seasonStart, c.seasonEnd);
            for (const vd::TableGage& g : gages)
                rows.push_back({g.name, path, static_cast<int>(gages.size()), g.record, g.start,
                                g.end, g.use});
        } catch (const std::exception&) {
            // a file the reader refuses adds nothing, as in the table
        }
    }
    return rows;
}

void readFilesAlone(benchmark::State& st) {
    const vd::run::SettingsTexts c;
    for (auto _ : st) benchmark::DoNotOptimize(addAsTheTableWould(c));
}

void wholeRun(benchmark::State& st, vd::run::SearchPath path) {
    vd::run::RunInput input;
    input.texts.averagingPeriods = "7,30";
    input.rows = addAsTheTableWould(input.texts);
    if (input.rows.empty()) throw std::runtime_error("no readable real gage found");
    for (auto _ : st) benchmark::DoNotOptimize(vd::run::runCalculation(input, library(), {}, path));
    st.counters["gages"] = static_cast<double>(input.rows.size());
}

}  // namespace

BENCHMARK(readFilesAlone)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(wholeRun, reuse, vd::run::SearchPath::reuse)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(wholeRun, literal, vd::run::SearchPath::literal)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
