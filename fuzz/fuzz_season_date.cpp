// Season-date texts as typed in the window or kept in a parameter file: the date found is
// a day of the calendar, its normal form reads back as itself, and the season's day
// positions follow from two such texts (the input split at its first line break).
#include <cstddef>
#include <cstdint>
#include <string>

#include "errors.h"
#include "run_settings.h"
#include "season_date.h"

namespace {

void checkDate(const std::string& text) {
    const vd::SeasonDate d = vd::parseSeasonDate(text);
    if (!d.valid()) return;
    if (d.month < 1 || d.month > 12 || d.day < 1 || d.day > 31) __builtin_trap();
    const vd::SeasonDate again = vd::parseSeasonDate(d.text);
    if (again.text != d.text || again.month != d.month || again.day != d.day)
        __builtin_trap();
    if (vd::dayBeforeSeasonStart(text).empty()) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::size_t split = input.find('\n');
    const std::string start = input.substr(0, split);
    const std::string end = split == std::string::npos ? std::string() : input.substr(split + 1);
    checkDate(start);
    checkDate(end);
    try {
        const vd::run::Season season = vd::run::seasonOf(start, end);
        if (season.yearAdjust != 0 && season.yearAdjust != 1) __builtin_trap();
    } catch (const vd::Error&) {
    }
    return 0;
}
