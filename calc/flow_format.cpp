#include "flow_format.h"

#include "water_data_csv.h"
#include "water_data_geojson.h"

namespace vd {

FlowFormat flowFormatOf(std::string_view text) {
    if (looksLikeJson(text)) return FlowFormat::WaterDataGeoJson;
    if (looksLikeWaterDataCsv(text)) return FlowFormat::WaterDataCsv;
    return FlowFormat::Classic;
}

ParsedFlowFile parseAnyFlowText(std::string_view text, const std::string& fileName) {
    switch (flowFormatOf(text)) {
        case FlowFormat::WaterDataGeoJson:
            return parseWaterDataGeoJson(text, fileName);
        case FlowFormat::WaterDataCsv:
            return parseWaterDataCsv(text, fileName);
        case FlowFormat::Classic:
            break;
    }
    return parseFlowText(text, fileName);
}

}  // namespace vd
