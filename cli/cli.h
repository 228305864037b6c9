// The command-line calculator: `vando3-cli COMMAND [options] FILE...`.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace vd {
class LogPearsonLibrary;
}

namespace vd::cli {

using Args = std::vector<std::string>;

// Runs one command line (without the program name); returns the exit status.
int cliMain(const Args& args, std::ostream& out, std::ostream& err);

// The commands; each gets the arguments after its name and the log-Pearson library,
// loaded once before any command.
int cmdTable(const Args& args, const LogPearsonLibrary& lib, std::ostream& out, std::ostream& err);
int cmdRun(const Args& args, const LogPearsonLibrary& lib, std::ostream& out, std::ostream& err);
int cmdExcursions(const Args& args, const LogPearsonLibrary& lib, std::ostream& out,
                  std::ostream& err);
int cmdFetch(const Args& args, const LogPearsonLibrary& lib, std::ostream& out, std::ostream& err);
int cmdBatch(const Args& args, const LogPearsonLibrary& lib, std::ostream& out, std::ostream& err);
// Only in a build with the Qt programs (charts are drawn by Qt).
int cmdPlot(const Args& args, const LogPearsonLibrary& lib, std::ostream& out, std::ostream& err);

}  // namespace vd::cli
