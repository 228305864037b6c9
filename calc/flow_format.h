// Which form a flow file's text is in, told from its content: the Water Data API's GeoJSON
// or CSV, else the classic tab-delimited daily values or an old flow file.
#pragma once

#include <string>
#include <string_view>

#include "flow_text.h"

namespace vd {

enum class FlowFormat { Classic, WaterDataCsv, WaterDataGeoJson };

FlowFormat flowFormatOf(std::string_view text);

// Reads the records of the text with the parser of its form.
ParsedFlowFile parseAnyFlowText(std::string_view text, const std::string& fileName);

}  // namespace vd
