#include "results_view.h"

#include <cctype>

namespace vd::run {
namespace {

bool isYear(const std::string& text, std::size_t from) {
    if (text.size() < from + 4) return false;
    for (std::size_t i = from; i < from + 4; ++i)
        if (!std::isdigit(static_cast<unsigned char>(text[i]))) return false;
    return true;
}

}  // namespace

std::string periodHint(const std::string& periodCell, const std::string& seasonStart,
                       const std::string& seasonEnd, int SYAdjust) {
    if (periodCell.size() != 9 || periodCell[4] != '-' || !isYear(periodCell, 0) ||
        !isYear(periodCell, 5))
        return {};
    const int firstYear = std::stoi(periodCell.substr(0, 4)) - SYAdjust;
    return seasonStart + ", " + std::to_string(firstYear) + " - " + seasonEnd + ", " +
           periodCell.substr(5, 4);
}

std::string excursionCaption(const RunResult& result, int row) {
    const auto& header = result.grid.at(0);
    const auto& cells = result.grid.at(static_cast<std::size_t>(row));
    return "Excursion analysis for " + header.at(1) + " at " + cells.at(0);
}

}  // namespace vd::run
