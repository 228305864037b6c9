// The flow-file reader from bytes to gage series, all in memory: the text form (UTF-16,
// binary refusal), the record parser, and the series of every gage for a few seasons.
// Any failure must be one of the calculator's own refusals.
#include <cstddef>
#include <cstdint>
#include <string>

#include "errors.h"
#include "flow_series.h"
#include "flow_text.h"
#include "text_form.h"

namespace {

void buildForSeason(const vd::ParsedFlowFile& file, const vd::Season& season, int first, int last) {
    vd::RequestedYears years;
    years.firstStart = first;
    years.lastStart = last;
    years.firstStarts.assign(vd::maxinfile, first);
    years.lastStarts.assign(vd::maxinfile, last);
    bool trouble = false;
    try {
        (void)vd::buildGageSeries(file, season, years, trouble, "fuzz.txt");
    } catch (const vd::Error&) {
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    vd::ParsedFlowFile file;
    try {
        const std::string text =
            vd::flowTextOf(std::string(reinterpret_cast<const char*>(data), size), "fuzz.txt");
        file = vd::parseFlowText(text, "fuzz.txt");
    } catch (const vd::Error&) {
        return 0;
    }
    // Every gage's series takes 320 KB: files of many site lines are only parsed (their
    // limits have tests of their own), so that the fuzzer spends its time on new inputs.
    if (file.names.size() > 8) return 0;
    buildForSeason(file, {4, 1, 3, 31}, -999, 199);
    buildForSeason(file, {6, 1, 9, 30}, 90, 95);
    buildForSeason(file, {10, 15, 10, 14}, -999, 100);
    buildForSeason(file, {1, 1, 12, 31}, 150, 140);
    return 0;
}
