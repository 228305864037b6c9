// What `run`, `excursions` and `plot` share: the gage table built from the files named,
// the calculation run over it, and the options that shaped both.
#pragma once

#include <optional>
#include <ostream>
#include <string>

#include "analysis.h"
#include "cli.h"
#include "run_options.h"

namespace vd::cli {

struct Outcome {
    std::string helpText;  // --help: the help, and nothing run
    // The files added as the gage table adds them, and its run.
    Analysis analysis;
    const run::RunResult& result() const { return *analysis.result(); }
    RunOptions options;
    bool failures = false;  // a file could not be read, or stored files are missing
};

// Parses the options of `command`, builds the table and runs the calculation; returns the
// exit status when the command cannot go on (after saying why on `err`).
std::optional<int> calculateRun(const Args& args, const LogPearsonLibrary& lib, RunCommand command,
                                Outcome& outcome, std::ostream& err);

}  // namespace vd::cli
