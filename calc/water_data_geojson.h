// The GeoJSON form of the Water Data API's daily values (`f=json`): a FeatureCollection
// whose features carry one daily value each in their properties.
#pragma once

#include <string>
#include <string_view>

#include "flow_text.h"

namespace vd {

// True when the text opens a JSON object (blanks and a byte order mark before it allowed).
bool looksLikeJson(std::string_view text);

// The daily mean discharge of every series in the collection. Throws a calculation or
// conversion error naming the feature (counted from 1) and `fileName`.
ParsedFlowFile parseWaterDataGeoJson(std::string_view text, const std::string& fileName);

}  // namespace vd
