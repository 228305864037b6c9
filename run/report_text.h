// The text that "Copy to clipboard" of the results window puts on the clipboard: the
// comments, the season line, the results table (a TAB after every cell, CR LF after every
// row) and, on request, the per-year block of advanced results.
#pragma once

#include <string>
#include <vector>

#include "engine.h"

namespace vd::run {

// What the report takes from the main window at the time of copying.
struct ReportSettings {
    std::vector<std::string> comments;
    bool climaticYear = true;  // "Season is full climatic year"
    std::string seasonStart;
    std::string seasonEnd;
    bool advanced = true;  // "Advanced results in clipboard"
};

std::string reportText(const RunResult& result, const ReportSettings& settings);

// The comment lines as both copied texts begin: CR LF, each line with CR LF, CR LF; nothing
// without lines.
std::string commentsText(const std::vector<std::string>& comments);

// Every cell followed by TAB, every row by CR LF.
std::string tableText(const std::vector<std::vector<std::string>>& grid);

// One row's part of the advanced block. Entries are sorted by their annual minimum on a
// copy, so the stored table is left as the run made it and every copy gives the same text.
std::string advancedRowText(const std::string& gageName, const aparray& table);

}  // namespace vd::run
