#include "flow_reader.h"

#include <filesystem>
#include <vector>

#include "errors.h"
#include "flow_file_cache.h"
#include "flow_series.h"
#include "flow_text.h"
#include "input_file.h"
#include "season_date.h"
#include "text_form.h"

namespace vd {
namespace {

std::string fileNameOf(const std::string& path) {
    return std::filesystem::path(path).filename().string();
}

Season seasonOf(const CalcState& s) {
    const SeasonDate start = niceenoughdate(s.seasonStart);
    const SeasonDate end = niceenoughdate(s.seasonEnd);
    return {start.NEMonth, start.NEDay, end.NEMonth, end.NEDay};
}

// Reads and parses the file. Every line-break style is read in memory: the file itself is
// never written.
std::shared_ptr<const ParsedFlowFile> parseFile(const std::string& path) {
    const std::string text = flowTextOf(readInputFile(path), path);
    if (text.find_first_not_of(" \t\r\n") == std::string::npos)
        throw CalcError("The file \"" + path + "\" holds no flow records");
    return std::make_shared<const ParsedFlowFile>(parseFlowText(text, fileNameOf(path)));
}

std::shared_ptr<const ParsedFlowFile> parsedFile(const CalcState& s) {
    if (!s.fileCache) return parseFile(s.flowfile);
    if (auto kept = s.fileCache->find(s.flowfile)) return kept;
    auto parsed = parseFile(s.flowfile);
    s.fileCache->store(s.flowfile, parsed);
    return parsed;
}

void storeGages(CalcState& s, std::vector<GageSeries>& gages) {
    s.sites = static_cast<int>(gages.size());
    for (int g = 1; g <= static_cast<int>(gages.size()); ++g) {
        GageSeries& src = gages[static_cast<std::size_t>(g - 1)];
        s.sitenames[g] = src.name;
        s.xbig[g] = std::move(src.x);
        s.j1big[g] = src.J1;
        s.j2big[g] = src.J2;
        s.jd1big[g] = src.JD1;
        s.jd2big[g] = src.JD2;
        s.ndaysbig[g] = src.ndays;
        s.nwisbig[g] = src.nwis;
    }
    // The working series and its bounds hold the file's last gage.
    if (!gages.empty()) LoadGage(s, static_cast<int>(gages.size()), s.jglobal);
}

}  // namespace

void VDRead(CalcState& s) {
    const Season se = seasonOf(s);
    s.m1 = se.m1;
    s.d1 = se.d1;
    s.m2 = se.m2;
    s.d2 = se.d2;

    const std::shared_ptr<const ParsedFlowFile> file = parsedFile(s);
    RequestedYears years{s.J1, s.J2, &s.j1send, &s.j2send};
    bool trouble = false;
    std::vector<GageSeries> gages =
        buildGageSeries(*file, se, years, trouble, fileNameOf(s.flowfile));
    storeGages(s, gages);
    if (trouble) s.trouble = true;
}

}  // namespace vd
