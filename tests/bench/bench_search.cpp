// Speed of the design-flow search (1B3 and 7Q10) on the longest real gage at hand: the
// examples and the real NWIS files of the test data. Each search starts from a fresh copy
// of the daily series, as a calculation run does.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>

#include "flow_reader.h"
#include "log_pearson_library.h"
#include "statistics.h"

namespace {

namespace fs = std::filesystem;

struct LongestGage {
    std::unique_ptr<vd::CalcState> state = std::make_unique<vd::CalcState>();
    int gage = 0;
    std::string name;
};

// Reads one file (from a scratch copy: reading may rewrite line breaks) and keeps its
// longest gage in `best` when it is longer than the one kept.
void considerFile(const fs::path& file, LongestGage& best) {
    const fs::path copy = fs::temp_directory_path() / ("bench_search_" + file.filename().string());
    fs::copy_file(file, copy, fs::copy_options::overwrite_existing);
    auto s = std::make_unique<vd::CalcState>();
    s->flowfile = copy.string();
    s->J1 = -999;
    s->J2 = 199;
    try {
        vd::VDRead(*s);
    } catch (const std::exception&) {
        return;  // a file the reader refuses is no candidate
    }
    int longest = 0;
    for (int j = 1; j <= s->store.sites; ++j)
        if (longest == 0 || s->store.ndaysbig[j] > s->store.ndaysbig[longest]) longest = j;
    if (longest == 0) return;
    if (best.gage != 0 && s->store.ndaysbig[longest] <= best.state->store.ndaysbig[best.gage])
        return;
    best.name = s->store.sitenames[longest];
    best.gage = longest;
    best.state = std::move(s);
}

const LongestGage& longestGage() {
    static const LongestGage best = [] {
        LongestGage found;
        for (const char* folder : {VANDO_EXAMPLES, VANDO_TEST_DATA "/nwis"}) {
            if (!fs::is_directory(folder)) continue;
            for (const auto& entry : fs::directory_iterator(folder))
                if (entry.path().extension() == ".txt") considerFile(entry.path(), found);
        }
        if (found.gage == 0) throw std::runtime_error("no readable real gage found");
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
    const LongestGage& longest = longestGage();
    auto s = std::make_unique<vd::CalcState>();
    for (int j = 1; j <= longest.state->store.sites; ++j)
        if (longest.state->store.xbig[j])
            s->store.xbig[j] = std::make_unique<vd::darray>(*longest.state->store.xbig[j]);
    s->store.j1big = longest.state->store.j1big;
    s->store.j2big = longest.state->store.j2big;
    s->store.jd1big = longest.state->store.jd1big;
    s->store.jd2big = longest.state->store.jd2big;
    s->store.ndaysbig = longest.state->store.ndaysbig;
    s->store.nwisbig = longest.state->store.nwisbig;
    s->m1 = longest.state->m1;
    s->d1 = longest.state->d1;
    s->m2 = longest.state->m2;
    s->d2 = longest.state->d2;
    s->sday = 1;
    s->eday = 365;
    vd::SearchParameters search;
    search.clusterDays = 120;
    search.excursionsPerCluster = 5;
    search.mode = p.K;
    search.averagingDays = p.M;
    search.yearsBetween = p.XMR;
    s->flows_idx = 1;
    vd::LoadGage(*s, longest.gage, 1);
    for (auto _ : st) {
        vd::LoadXBig(*s, longest.gage, 1);
        vd::VDSearch(*s, search, library());
        benchmark::DoNotOptimize(s->vando);
    }
    st.counters["flow"] = s->vando;
    st.counters["days"] = s->NDAYS;
    st.SetLabel(longest.name);
}

void BM_VDSearch_1B3(benchmark::State& st) {
    searchLongestGage(st, {1, 1, 3});
}
void BM_VDSearch_7Q10(benchmark::State& st) {
    searchLongestGage(st, {2, 7, 10});
}
BENCHMARK(BM_VDSearch_1B3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_VDSearch_7Q10)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
