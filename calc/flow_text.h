// The records of a flow file as read from its text, before any season or year bounds are
// applied: what reading costs is done once per file and can be kept for later readings.
#pragma once

#include <exception>
#include <string>
#include <string_view>
#include <vector>

namespace vd {

struct FlowRecord {
    int myr = 0;  // year index
    int month = 0;
    int mday = 0;
    double q = 0;              // daily value; unknown for a missing value
    int line = 0;              // line of the file that ends the record
    bool hasFlow = true;       // false: the record's block holds no discharge
    bool siteChanged = false;  // the record's site differs from the previous record's
};

struct ParsedFlowFile {
    bool nwis = true;
    // Gage names: one per site line of an NWIS file; the name line of an old flow file.
    std::vector<std::string> names;
    std::vector<FlowRecord> records;
    // What reading one record more raises (a record that does not convert), if anything
    // but blank lines follows the last record.
    std::exception_ptr failure;
};

// Reads every record of a flow file's text. Header failures throw at once; a failing
// record ends the records and is kept as `failure`. Messages name the line and `fileName`.
ParsedFlowFile parseFlowText(std::string_view text, const std::string& fileName);

// Appends " at line N of FILE" to a failure of the calculator, keeping its kind.
[[noreturn]] void rethrowAtLine(const std::exception& e, int line, const std::string& fileName);

}  // namespace vd
