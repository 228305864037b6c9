#include "engine.h"

#include "errors.h"

namespace vd::run {

RunResult runCalculation(const RunInput&, const A193&, const ProgressFn&, SearchPath) {
    throw CalcError("The calculation run is not built yet");
}

}  // namespace vd::run
