// The one command of vando3-plot: a chart of one results row drawn offscreen into a PNG or
// SVG file. It takes the run options of `vando3-cli plot`.
#pragma once

#include <ostream>

#include "cli.h"

namespace vd::cli {

int cmdPlot(const Args& args, const LogPearsonLibrary& lib, std::ostream& out, std::ostream& err);

}  // namespace vd::cli
