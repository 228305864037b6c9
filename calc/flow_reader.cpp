#include "flow_reader.h"

#include <filesystem>
#include <vector>

#include "errors.h"
#include "flow_file_cache.h"
#include "flow_format.h"
#include "flow_series.h"
#include "flow_text.h"
#include "input_file.h"
#include "season_date.h"
#include "text_form.h"
#include "utf8_path.h"

namespace vd {
namespace {

std::string fileNameOf(const std::string& path) {
    return utf8Text(pathFromUtf8(path).filename());
}

Season seasonOf(const std::string& seasonStart, const std::string& seasonEnd) {
    const SeasonDate start = parseSeasonDate(seasonStart);
    const SeasonDate end = parseSeasonDate(seasonEnd);
    return {start.month, start.day, end.month, end.day};
}

// Reads and parses the file. Every line-break style is read in memory: the file itself is
// never written.
std::shared_ptr<const ParsedFlowFile> parseFile(const std::string& path) {
    const std::string text = flowTextOf(readInputFile(path), path);
    if (text.find_first_not_of(" \t\r\n") == std::string::npos)
        throw Error(ErrorCode::calculation, "The file \"" + path + "\" holds no flow records");
    return std::make_shared<const ParsedFlowFile>(parseAnyFlowText(text, fileNameOf(path)));
}

std::shared_ptr<const ParsedFlowFile> parsedFile(const std::string& path, FlowFileCache* cache) {
    if (!cache) return parseFile(path);
    if (auto kept = cache->find(path)) return kept;
    auto parsed = parseFile(path);
    cache->store(path, parsed);
    return parsed;
}

void storeGages(CalcState& s, std::vector<GageSeries>& gages) {
    GageStore& store = s.store;
    store.sites = static_cast<int>(gages.size());
    for (int g = 1; g <= static_cast<int>(gages.size()); ++g) {
        GageSeries& src = gages[static_cast<std::size_t>(g - 1)];
        storeGage(store, g, src, std::move(src.days));
    }
    // The working series and its bounds hold the file's last gage.
    if (!gages.empty()) LoadGage(s, static_cast<int>(gages.size()), s.jglobal);
}

}  // namespace

FileSeries readFileSeries(const std::string& path, const std::string& seasonStart,
                          const std::string& seasonEnd, const GageYears& years,
                          FlowFileCache* cache, SeriesContent content) {
    const Season se = seasonOf(seasonStart, seasonEnd);
    const std::shared_ptr<const ParsedFlowFile> file = parsedFile(path, cache);
    RangeArray<int, 1, maxinfile> first;
    RangeArray<int, 1, maxinfile> last;
    first.fill(-999);
    last.fill(199);
    for (std::size_t g = 0; g < years.first.size() && g < years.last.size(); ++g) {
        first[static_cast<int>(g) + 1] = years.first[g];
        last[static_cast<int>(g) + 1] = years.last[g];
    }
    RequestedYears requested{-999, 199, &first, &last};
    if (!years.first.empty() && !years.last.empty()) {
        requested.J1 = years.first.back();
        requested.J2 = years.last.back();
    }
    FileSeries out;
    out.gages = buildGageSeries(*file, se, requested, out.repeatedDates, fileNameOf(path), content);
    return out;
}

std::vector<GageSeries> readGageSeries(const std::string& path, const std::string& seasonStart,
                                       const std::string& seasonEnd, const GageYears& years,
                                       FlowFileCache* cache, SeriesContent content) {
    return readFileSeries(path, seasonStart, seasonEnd, years, cache, content).gages;
}

void VDRead(CalcState& s) {
    const Season se = seasonOf(s.seasonStart, s.seasonEnd);
    s.m1 = se.m1;
    s.d1 = se.d1;
    s.m2 = se.m2;
    s.d2 = se.d2;

    const std::shared_ptr<const ParsedFlowFile> file = parsedFile(s.flowfile, s.fileCache.get());
    RequestedYears years{s.J1, s.J2, &s.j1send, &s.j2send};
    bool trouble = false;
    std::vector<GageSeries> gages =
        buildGageSeries(*file, se, years, trouble, fileNameOf(s.flowfile));
    storeGages(s, gages);
    if (trouble) s.trouble = true;
}

}  // namespace vd
