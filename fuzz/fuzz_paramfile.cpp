// The parameter-file reader on arbitrary bytes: a refusal or a parameter file, and what it
// reads is what writing it back and reading that gives.
#include <cstddef>
#include <cstdint>
#include <string>

#include "errors.h"
#include "vd_paramfile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    vd::run::ParamFile p;
    try {
        p = vd::run::parseParamFile(text, "/fuzz/analysis.vdp");
    } catch (const vd::Error& e) {
        if (e.code() != vd::ErrorCode::paramFile) throw;  // any other failure is a finding
        return 0;
    }
    const vd::run::ParamFile again =
        vd::run::parseParamFile(vd::run::paramFileText(p), "/fuzz/analysis.vdp");
    if (!(again == p)) __builtin_trap();
    return 0;
}
