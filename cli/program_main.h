// What every command-line program of ours does around its work: binary standard streams on
// Windows, standard descriptors that a caller closed held by the null device, standard
// output that keeps the reason of a refused write.
#pragma once

#include <functional>
#include <ostream>

#include "cli.h"

namespace vd::cli {

using ProgramEntry = std::function<int(const Args& args, std::ostream& out, std::ostream& err)>;

// Runs `entry` on the arguments after the program's name; its result is the exit status.
int programMain(int argc, char** argv, const ProgramEntry& entry);

}  // namespace vd::cli
