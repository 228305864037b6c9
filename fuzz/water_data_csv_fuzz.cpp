// Any text given to the Water Data API CSV reader either reads or fails with a failure of
// the calculator; nothing else may escape, crash or hang.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "errors.h"
#include "water_data_csv.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    try {
        (void)vd::looksLikeWaterDataCsv(text);
        (void)vd::parseWaterDataCsv(text, "fuzz.csv");
    } catch (const vd::Error&) {
    }
    return 0;
}
