// The gages' results as CSV (RFC 4180, "." decimal point, LF line ends): one header line,
// one line per gage. Numbers are the unrounded values in their shortest form that reads
// back to the same double; a value that does not exist is an empty field. The batch command
// writes it line by line as gages complete; a whole run can be written at once.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "gage_result.h"
#include "run_settings.h"

namespace vd::run {

// ok: every design flow computed; shortRecord: less than one full season in the period;
// notAvailable: a design flow could not be computed; error: the file could not be read.
enum class CsvStatus { ok, shortRecord, notAvailable, error };

// "ok", "short", "na", "error".
const char* csvStatusText(CsvStatus status);

// The status of a computed gage and the reason when it is not ok.
struct GageStatus {
    CsvStatus status = CsvStatus::ok;
    std::string message;
};
GageStatus statusOf(const GageResult& gage);

// The site number a gage name begins with ("03451500 FRENCH BROAD ..." -> "03451500"):
// a first word of 8 to 15 digits; empty when the name begins otherwise.
std::string siteNumberOf(const std::string& gageName);

// A field quoted when it holds a comma, a quote or a line break.
std::string csvField(const std::string& text);

// True when `start` (a file's first bytes) begins as this CSV's header line does, so that
// results written into a folder of flow files are not taken for one.
bool isResultsCsvStart(std::string_view start);

// The shortest text that reads back as `value`.
std::string csvNumber(double value);

class ResultsCsv {
  public:
    // The columns follow the settings' averaging periods.
    explicit ResultsCsv(const RunSettings& settings);

    // Column names, comma-separated, with the line end.
    std::string headerLine() const;
    // The line of a computed gage.
    std::string gageLine(const GageResult& gage) const;
    // The line of a file that could not be read (gageInFile 0) or of a gage whose
    // computation failed: where, status "error" and the reason; every other field is empty.
    std::string errorLine(const std::string& file, int gageInFile,
                          const std::string& message) const;

  private:
    std::vector<int> days_;
};

// Header and one line per gage, in the order given.
std::string resultsCsvText(const std::vector<GageResult>& gages, const RunSettings& settings);

}  // namespace vd::run
