// The averaging-period list ("7,30"): a refusal, or distinct periods from 1 to 255 in
// ascending order, no more of them than entries typed.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

#include "errors.h"
#include "run_settings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    vd::run::AveragingPeriods periods;
    try {
        periods = vd::run::parseAveragingPeriods(text);
    } catch (const vd::Error&) {
        return 0;
    }
    const auto& d = periods.distinct;
    const bool inRange = std::all_of(d.begin(), d.end(), [](int p) { return p >= 1 && p <= 255; });
    const bool ascending =
        std::adjacent_find(d.begin(), d.end(), std::greater_equal<>()) == d.end();
    if (!inRange || !ascending || static_cast<int>(d.size()) > periods.entries) __builtin_trap();
    return 0;
}
