// What a calculation run reads: the texts and states of the main window's controls and
// the rows of the gage table. The window fills it from its widgets, the command-line
// program from its options; the engine converts and checks every text itself.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "flow_file_cache.h"

namespace vd::run {

struct ControlTexts {
    std::string Edit2 = "Apr 1";   // start date of season
    std::string Edit1 = "Mar 31";  // end date of season
    bool CheckBox2 = true;         // "Season is full climatic year"
    int MRG = 0;                 // calculation period: 0 all, 1 common, 2 longest, 3 table, 4 years
    std::string MEdit1;          // first year of the fifth period choice
    std::string MEdit2;          // last year of the fifth period choice
    std::string EditBio1 = "1";  // biological averaging period (days)
    std::string EditBio2 = "3";  // average years between excursions
    std::string EditBio3 = "120";       // excursion clustering period (days)
    std::string EditBio4 = "5";         // excursions counted per cluster
    bool RadioButton2 = false;          // chronic criterion
    bool RadioButton3 = false;          // ammonia criterion
    bool CheckBox1 = true;              // "Use defaults"
    std::string Edit3 = "7";            // non-biological averaging periods, e.g. "7,30"
    std::string Edit4 = "10";           // return period (years)
    std::string Edit5 = "5";            // explicit flow value (cfs)
    std::string Edit6 = "0.1";          // flow percentile
    int toggle = 4;                     // 4 hydrological, 5 explicit flow, 6 flow percentile
    std::vector<std::string> comments;  // lines of the comment box
};

// One row of the gage table. The rows of one file are consecutive and all carry the
// file's path and gage count.
struct GageRow {
    std::string name;    // gage name (column "Gage")
    std::string path;    // fullname: the file the gage came from
    int gcount = 0;      // gages in that file
    std::string record;  // "1990-2021" or "N/A"
    std::string start;   // first year, editable
    std::string end;     // last year, editable
    bool use = false;    // Use mark
};

struct RunInput {
    RunInput() = default;
    RunInput(ControlTexts c, std::vector<GageRow> r, std::shared_ptr<FlowFileCache> f = nullptr)
        : controls(std::move(c)), rows(std::move(r)), files(std::move(f)) {}

    ControlTexts controls;
    std::vector<GageRow> rows;
    // Files already parsed when the table was filled; none: the run parses every file.
    std::shared_ptr<FlowFileCache> files;
};

}  // namespace vd::run
