#include "results_table.h"

#include <algorithm>

#include "number_format.h"

namespace vd::run {
namespace {

constexpr int firstBlockColumn = 7;
constexpr int columnsPerBlock = 6;
constexpr int fixedColumns = 9;  // gage, period, days, zero/missing, 3 biological, harmonic pair

class CellWriter {
  public:
    CellWriter(std::size_t rows, std::size_t columns)
        : cells_(rows, std::vector<std::string>(columns)) {}

    std::string& operator()(int column, int row) {
        return cells_.at(static_cast<std::size_t>(row)).at(static_cast<std::size_t>(column));
    }
    Cells take() { return std::move(cells_); }
    int columns() const { return static_cast<int>(cells_.front().size()); }

  private:
    Cells cells_;
};

std::string flowHeader(int days, char letter, int years) {
    return std::to_string(days) + letter + std::to_string(years);
}

void writeHeaders(CellWriter& cell, const GageResult& g) {
    const BiologicalResult& bio = g.biological;
    cell(3, 0) = "Zero/missing";
    cell(4, 0) = flowHeader(bio.averagingDays, 'B', bio.yearsBetween);
    cell(5, 0) = "Percentile";
    cell(6, 0) = "Excur. per " + std::to_string(bio.yearsBetween) + " Yrs";
    int ci = firstBlockColumn;
    for (const AveragingBlock& b : g.blocks) {
        switch (b.kind) {
            case NonBiologicalKind::hydrological:
                cell(ci, 0) = flowHeader(b.days, 'Q', b.returnYears);
                cell(ci + 1, 0) = "Percentile";
                cell(ci + 2, 0) = "Excur. per 3 Yrs";
                break;
            case NonBiologicalKind::explicitFlow:
                cell(ci, 0) = "Given Flow";
                cell(ci + 1, 0) = "Percentile";
                cell(ci + 2, 0) = "Exc./ 3 Years";
                break;
            case NonBiologicalKind::percentile:
                cell(ci, 0) = "Eq. Flow";
                cell(ci + 1, 0) = "Given Percentile";
                cell(ci + 2, 0) = "Exc./3 Years";
                break;
        }
        cell(ci + 3, 0) = std::to_string(b.days) + "Qy Type";
        cell(ci + 4, 0) = std::to_string(b.days) + "Qy";
        cell(ci + 5, 0) = "Percentile";
        ci += columnsPerBlock;
    }
    cell(ci, 0) = "Harmonic";
    cell(ci + 1, 0) = "Percentile";
}

std::string zeroMissingText(const GageResult& g) {
    if (g.zeroDays + g.missingDays == 0) return "None";
    return formatThousands(g.zeroDays) + "/" + formatThousands(g.missingDays);
}

std::string rateText(double rate) {
    return formatFixed(rate, 2, 4);
}

void writeBiological(CellWriter& cell, int row, const BiologicalResult& bio) {
    if (!bio.flow) {
        cell(4, row) = "N/A";
        return;
    }
    cell(4, row) = (bio.twiceFourDay ? "2*4B3: " : "") + NiceFlow(*bio.flow);
    cell(5, row) = percentText(bio.percentile);
    cell(6, row) = rateText(bio.excursionRate);
}

void writeBlock(CellWriter& cell, int row, int ci, const AveragingBlock& b) {
    if (b.flow) {
        cell(ci, row) = NiceFlow(*b.flow);
        cell(ci + 1, row) = percentText(b.percentile);
        cell(ci + 2, row) = rateText(b.excursionRate);
    } else {
        cell(ci, row) = "N/A";
    }
    const EquivalentReturnPeriod& e = b.equivalent;
    if (e.years) {
        cell(ci + 3, row) = flowHeader(b.days, 'Q', *e.years);
        cell(ci + 4, row) = NiceFlow(e.flow);
        cell(ci + 5, row) = percentText(e.percentile);
    } else {
        cell(ci + 3, row) = "N/A";
    }
}

void writeGage(CellWriter& cell, int row, const GageResult& g) {
    cell(0, row) = g.name;
    if (g.shortRecord) {
        for (int col = 1; col < cell.columns(); ++col) cell(col, row) = "N/A";
        return;
    }
    cell(1, row) = std::to_string(g.firstYear) + "-" + std::to_string(g.lastYear);
    cell(2, row) = formatThousands(g.daysInRecord);
    cell(3, row) = zeroMissingText(g);
    writeBiological(cell, row, g.biological);
    int ci = firstBlockColumn;
    for (const AveragingBlock& b : g.blocks) {
        writeBlock(cell, row, ci, b);
        ci += columnsPerBlock;
    }
    cell(ci, row) = NiceFlow(g.harmonicMean);
    cell(ci + 1, row) = percentText(g.harmonicPercentile);
}

}  // namespace

std::string percentText(double value) {
    return formatFixed(value, 2, 4) + "%";
}

std::string seasonLine(const Season& season) {
    return std::string(season.fullClimaticYear ? "Climatic year" : "Season") + " defined as " +
           season.startText + " - " + season.endText;
}

Cells resultsCells(const std::vector<GageResult>& gages, const RunSettings& settings) {
    const std::size_t columns = fixedColumns + columnsPerBlock * settings.averagingDays.size();
    CellWriter cell(gages.size() + 1, columns);
    cell(0, 0) = "Gage";
    cell(1, 0) = "Period";
    cell(2, 0) = "Days in Record";
    const auto computed = std::find_if(gages.begin(), gages.end(),
                                       [](const GageResult& g) { return !g.shortRecord; });
    if (computed != gages.end()) writeHeaders(cell, *computed);
    for (std::size_t r = 0; r < gages.size(); ++r)
        writeGage(cell, static_cast<int>(r) + 1, gages[r]);
    return cell.take();
}

}  // namespace vd::run
