#include "flow_reader.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <vector>

#include "errors.h"
#include "flow_file_cache.h"
#include "flow_series.h"
#include "flow_text.h"
#include "line_breaks.h"
#include "season_date.h"
#include "utf8_path.h"

namespace vd {
namespace {

std::string fileNameOf(const std::string& path) {
    return utf8Text(pathFromUtf8(path).filename());
}

std::string readWholeFile(const std::string& path) {
    std::ifstream in(pathFromUtf8(path), std::ios::binary);
    if (!in) throw InOutError("Cannot open file \"" + path + "\": " + std::strerror(errno));
    std::string text;
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    if (size > 0) {
        text.resize(static_cast<std::size_t>(size));
        in.seekg(0, std::ios::beg);
        in.read(text.data(), size);
    }
    if (!in) throw InOutError("Cannot read file \"" + path + "\"");
    return text;
}

Season seasonOf(const std::string& seasonStart, const std::string& seasonEnd) {
    const SeasonDate start = niceenoughdate(seasonStart);
    const SeasonDate end = niceenoughdate(seasonEnd);
    return {start.NEMonth, start.NEDay, end.NEMonth, end.NEDay};
}

// Reads, converts to CR LF breaks where needed, and parses the file.
std::shared_ptr<const ParsedFlowFile> parseFile(const std::string& path) {
    std::string text = readWholeFile(path);
    if (hasNonCrLfBreaks(std::string_view(text).substr(0, lineBreakProbeBytes))) {
        std::string converted = toCrLf(text);
        if (replaceWithCrLfCopy(path, converted)) text = std::move(converted);
    }
    if (text.find_first_not_of(" \t\r\n") == std::string::npos)
        throw CalcError("The file \"" + path + "\" holds no flow records");
    return std::make_shared<const ParsedFlowFile>(parseFlowText(text, fileNameOf(path)));
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
        store.sitenames[g] = src.name;
        store.xbig[g] = std::move(src.x);
        store.j1big[g] = src.J1;
        store.j2big[g] = src.J2;
        store.jd1big[g] = src.JD1;
        store.jd2big[g] = src.JD2;
        store.ndaysbig[g] = src.ndays;
        store.nwisbig[g] = src.nwis;
    }
    // The working series and its bounds hold the file's last gage.
    if (!gages.empty()) LoadGage(s, static_cast<int>(gages.size()), s.jglobal);
}

}  // namespace

bool isNWIS2006File(const std::string& InputFilename) {
    std::ifstream in(pathFromUtf8(InputFilename), std::ios::binary);
    if (!in)
        throw InOutError("Cannot open file \"" + InputFilename + "\": " + std::strerror(errno));
    std::string head(lineBreakProbeBytes, '\0');
    in.read(head.data(), static_cast<std::streamsize>(head.size()));
    head.resize(static_cast<std::size_t>(in.gcount()));
    return hasNonCrLfBreaks(head);
}

std::vector<GageSeries> readGageSeries(const std::string& path, const std::string& seasonStart,
                                       const std::string& seasonEnd, const GageYears& years,
                                       FlowFileCache* cache) {
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
    bool trouble = false;
    return buildGageSeries(*file, se, requested, trouble, fileNameOf(path));
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
