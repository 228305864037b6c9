// Options of `vando3-cli run` and `vando3-cli excursions`: each stands for a control of the
// main or results window. They are applied in the order given, so options after --vdp
// override what the parameter file set.
#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "cli.h"
#include "run_settings.h"
#include "vd_paramfile.h"

namespace vd::cli {

// A command line that cannot be understood; what() names the option.
class UsageError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// A flow file to add: named on the command line, or the consecutive rows a parameter file
// stored for it (with their Use marks).
struct FileToAdd {
    std::string path;
    std::vector<run::ParamFileEntry> stored;  // empty for a file named on the command line
};

struct TableYears {
    int row = 0;
    std::string start;
    std::string end;
};

struct RunOptions {
    run::SettingsTexts texts;
    std::vector<FileToAdd> files;
    // Flow files the parameter file names but which no longer exist.
    bool missingStoredFiles = false;
    std::vector<TableYears> tableYears;
    std::vector<int> unmarked;
    // Calculation period chosen by --period or the parameter file; otherwise adding files
    // selects "All available dates" with the years of the last gage added.
    bool periodChosen = false;
    std::optional<int> excursionRow;  // --row (excursions)
    bool timing = false;              // --timing (run)
};

// Parses the arguments after the command name. Throws UsageError, and the parameter file's
// refusals (run::ParamFileError).
RunOptions parseRunOptions(const Args& args, bool excursions);

}  // namespace vd::cli
