// Options of `vando3-cli run` and `vando3-cli excursions`: each stands for a control of the
// main or results window. They are applied in the order given, so options after --vdp
// override what the parameter file set.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "cli.h"
#include "command_line.h"
#include "run_settings.h"
#include "vd_paramfile.h"

namespace vd::cli {

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

// The commands that take the run options; each adds a few of its own.
enum class RunCommand { run, excursions, batch, plot };

// What only the batch takes.
struct BatchOptions {
    int jobs = 0;  // 0: one thread per core
    std::string out;
    std::vector<std::string> filesFrom;  // lists of paths, "-" for standard input
    std::optional<bool> progress;        // --progress / --quiet; otherwise when a terminal
};

// What only the plot takes.
struct PlotOptions {
    std::string kind;        // hydrograph, duration or frequency
    int averagingIndex = 1;  // --avg-index: the frequency chart's averaging period, from 1
    std::string out;         // FILE.png or FILE.svg
    int width = 1000;        // --width, --height: the image in pixels
    int height = 650;
    int dpi = 96;  // --dpi: the PNG's resolution; the chart is scaled by dpi/96 to the pixels
};

struct RunOptions {
    run::SettingsTexts texts;
    std::vector<FileToAdd> files;
    // Flow files the parameter file names but which no longer exist.
    bool missingStoredFiles = false;
    std::vector<std::string> missingStoredPaths;
    // Options given that the chosen settings leave unused.
    std::vector<std::string> warnings;
    std::vector<TableYears> tableYears;
    std::vector<int> unmarked;
    // Calculation period chosen by --period or the parameter file; otherwise adding files
    // selects "All available dates" with the years of the last gage added.
    bool periodChosen = false;
    std::optional<int> row;  // --row (excursions, plot)
    bool timing = false;     // --timing (run)
    BatchOptions batch;
    PlotOptions plot;
};

// Parses the arguments after the command name. Throws usage errors, HelpRequest and the
// parameter file's refusals (parameter-file errors).
RunOptions parseRunOptions(const Args& args, RunCommand command);

}  // namespace vd::cli
