// A stand-in "state" of 50 gages of 100 years fetched from a local stand-in for the Water Data
// API that pages its daily values 50,000 to a page, as the service does: the time of the whole
// search and fetch, and the requests it takes (counter "requests").
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>

#include "../common/fake_water_data.h"
#include "../common/scratch_dir.h"
#include "calendar.h"
#include "many_sites.h"

namespace {

std::vector<vd::test::RestatedDay> hundredYears(const std::string& site, int seed) {
    std::vector<vd::test::RestatedDay> days;
    for (int dn = vd::DayNumber(21, 1, 1); dn <= vd::DayNumber(120, 12, 31); ++dn) {
        const vd::CalendarDate d = vd::DateOfDayNumber(dn);
        char date[16];
        std::snprintf(date, sizeof date, "%04d-%02d-%02d", d.year, d.month, d.day);
        days.push_back({site, date, std::to_string(100 + (dn + seed) % 977) + ".5", "Approved"});
    }
    return days;
}

void BM_FetchStateOf50Gages(benchmark::State& st) {
    vd::test::FakeWaterData service;
    for (int g = 0; g < 50; ++g) {
        const std::string site = std::to_string(9500000 + g);
        service.addSite("0" + site, "CREEK " + std::to_string(g), hundredYears("0" + site, g), 1);
    }
    service.setValuesPerPage(50000);
    std::size_t requests = 0;
    for (auto _ : st) {
        const vd::test::ScratchDir dir("vd_bench_state");
        vd::fetch::FetchOptions o;
        o.baseUrl = service.url();
        o.outDir = dir.path();
        vd::fetch::RateAllowance allowance;
        const std::size_t before = service.requests().size();
        const auto sites = vd::fetch::findSites({"04", "", "", {}}, o, allowance);
        std::size_t written = 0;
        vd::fetch::fetchSites(sites, o, allowance, [&](const vd::fetch::SiteOutcome& s) {
            written += s.written.size();
        });
        if (written != 50) st.SkipWithError("not every gage was written");
        requests = service.requests().size() - before;
    }
    st.counters["requests"] = static_cast<double>(requests);
}
BENCHMARK(BM_FetchStateOf50Gages)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
