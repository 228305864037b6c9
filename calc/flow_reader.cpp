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

}  // namespace

FileSeries readFileSeries(const std::string& path, const std::string& seasonStart,
                          const std::string& seasonEnd, const GageYears& years,
                          FlowFileCache* cache, SeriesContent content) {
    const Season se = seasonOf(seasonStart, seasonEnd);
    const std::shared_ptr<const ParsedFlowFile> file = parsedFile(path, cache);
    RequestedYears requested;
    const std::size_t both = std::min(years.first.size(), years.last.size());
    requested.firstStarts.assign(years.first.begin(),
                                 years.first.begin() + static_cast<std::ptrdiff_t>(both));
    requested.lastStarts.assign(years.last.begin(),
                                years.last.begin() + static_cast<std::ptrdiff_t>(both));
    if (!years.first.empty() && !years.last.empty()) {
        requested.firstStart = years.first.back();
        requested.lastStart = years.last.back();
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

}  // namespace vd
