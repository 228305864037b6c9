#include "chart_title.h"

namespace vd::run {

std::string chartTitle(const GageResult& gage, const Season& season) {
    std::string second = std::string(season.fullClimaticYear ? "Climatic year " : "Season ") +
                         season.startText + " - " + season.endText;
    if (!gage.shortRecord)
        second += ", " + std::to_string(gage.firstYear) + "-" + std::to_string(gage.lastYear);
    return gage.name + "\n" + second;
}

}  // namespace vd::run
