// The CSV form of the Water Data API's daily values (`f=csv`): a header line naming the
// columns, then one line per daily value. Columns are found by name.
#pragma once

#include <string>
#include <string_view>

#include "flow_text.h"

namespace vd {

// True when the first line is such a header (it names monitoring_location_id, time and value).
bool looksLikeWaterDataCsv(std::string_view text);

// The daily mean discharge of every series in the text. Throws a calculation or conversion error
// naming the line and `fileName`.
ParsedFlowFile parseWaterDataCsv(std::string_view text, const std::string& fileName);

}  // namespace vd
