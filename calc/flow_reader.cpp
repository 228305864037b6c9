#include "flow_reader.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <vector>

#include "errors.h"
#include "flow_file_cache.h"
#include "flow_format.h"
#include "flow_series.h"
#include "flow_text.h"
#include "line_breaks.h"
#include "season_date.h"

namespace vd {
namespace {

std::string fileNameOf(const std::string& path) {
    return std::filesystem::path(path).filename().string();
}

std::string readWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
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

Season seasonOf(const CalcState& s) {
    const SeasonDate start = niceenoughdate(s.seasonStart);
    const SeasonDate end = niceenoughdate(s.seasonEnd);
    return {start.NEMonth, start.NEDay, end.NEMonth, end.NEDay};
}

// Reads, converts to CR LF breaks where needed, and parses the file.
std::shared_ptr<const ParsedFlowFile> parseFile(const std::string& path) {
    std::string text = readWholeFile(path);
    const bool classic = flowFormatOf(text) == FlowFormat::Classic;  // API files stay as given
    if (classic && hasNonCrLfBreaks(std::string_view(text).substr(0, lineBreakProbeBytes))) {
        std::string converted = toCrLf(text);
        if (replaceWithCrLfCopy(path, converted)) text = std::move(converted);
    }
    if (text.find_first_not_of(" \t\r\n") == std::string::npos)
        throw CalcError("The file \"" + path + "\" holds no flow records");
    return std::make_shared<const ParsedFlowFile>(parseAnyFlowText(text, fileNameOf(path)));
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

bool isNWIS2006File(const std::string& InputFilename) {
    std::ifstream in(InputFilename, std::ios::binary);
    if (!in)
        throw InOutError("Cannot open file \"" + InputFilename + "\": " + std::strerror(errno));
    std::string head(lineBreakProbeBytes, '\0');
    in.read(head.data(), static_cast<std::streamsize>(head.size()));
    head.resize(static_cast<std::size_t>(in.gcount()));
    return hasNonCrLfBreaks(head);
}

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
