// What a calculation run of the gage table reads: the settings as typed and the rows of
// the table. The window fills it from its widgets, the command-line program from its
// options; the run converts and checks every text through settingsFromTexts.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "flow_file_cache.h"
#include "run_settings.h"

namespace vd::run {

// One row of the gage table. The rows of one file are consecutive and all carry the
// file's path and gage count.
struct GageRow {
    std::string name;    // gage name (column "Gage")
    std::string path;    // the file the gage came from
    int gcount = 0;      // gages in that file
    std::string record;  // "1990-2021" or "N/A"
    std::string start;   // first year, editable
    std::string end;     // last year, editable
    bool use = false;    // Use mark
};

struct RunInput {
    RunInput() = default;
    RunInput(SettingsTexts t, std::vector<GageRow> r, std::shared_ptr<FlowFileCache> f = nullptr)
        : texts(std::move(t)), rows(std::move(r)), files(std::move(f)) {}

    SettingsTexts texts;
    std::vector<GageRow> rows;
    // Files already parsed when the table was filled; none: the run parses every file.
    std::shared_ptr<FlowFileCache> files;
};

}  // namespace vd::run
