#include "report_text.h"

#include <algorithm>

#include "number_format.h"
#include "results_table.h"

namespace vd::run {
namespace {

constexpr const char* crlf = "\r\n";
constexpr float blankFlowAbove = 1e10f;  // a return period the distribution cannot reach

// Orders the entries by their annual minimum, taking the year along and leaving the
// return-period fields in place. This exchange sort does not keep the order of equal
// minima; the years line depends on exactly this order.
void sortByMinimum(std::vector<AnnualMinimum>& table) {
    for (std::size_t a = 1; a < table.size(); ++a)
        for (std::size_t b = 0; b < a; ++b)
            if (table[a].minimum < table[b].minimum) {
                std::swap(table[a].yearIndex, table[b].yearIndex);
                std::swap(table[a].minimum, table[b].minimum);
            }
}

}  // namespace

std::string commentsText(const std::vector<std::string>& comments) {
    if (comments.empty()) return {};
    std::string text = crlf;
    for (const std::string& line : comments) text += line + crlf;
    return text + crlf;
}

std::string tableText(const std::vector<std::vector<std::string>>& grid) {
    std::string text;
    for (const auto& row : grid) {
        for (const std::string& cell : row) text += cell + "\t";
        text += crlf;
    }
    return text;
}

// Cells are appended piece by piece: "\t" + a temporary string makes GCC 12 at -O3 warn of
// an overlapping copy that cannot happen (-Wrestrict).
std::string advancedRowText(const std::string& gageName, const std::vector<AnnualMinimum>& stored) {
    std::vector<AnnualMinimum> table = stored;
    const int n = static_cast<int>(table.size());
    std::string text = gageName;
    text += "\r\nRecurrence Period";
    for (int k = 1; k <= n; ++k) text.append("\t").append(std::to_string(k));
    text += "\r\nCalculated";
    for (const AnnualMinimum& entry : table) {
        text += "\t";
        if (!(entry.returnPeriodFlow > blankFlowAbove))
            text += formatFixed(entry.returnPeriodFlow, 2, 2);
    }
    sortByMinimum(table);
    text += "\r\nRecurrence Period";
    for (int k = 1; k <= n; ++k)
        text.append("\t").append(formatFixed(static_cast<double>(n) / k, 3, 3));
    text += "\r\nObserved";
    for (const AnnualMinimum& entry : table)
        text.append("\t").append(formatFixed(entry.minimum, 2, 2));
    text += crlf;
    for (const AnnualMinimum& entry : table)
        text.append("\t").append(formatFixed(1900 + entry.yearIndex, 0, 1));
    return text + crlf + crlf;
}

std::string zeroAdjustedHarmonicText(const std::vector<GageResult>& gages) {
    const bool anyZeroDays = std::any_of(gages.begin(), gages.end(), [](const GageResult& g) {
        return !g.shortRecord && g.zeroDays > 0;
    });
    if (!anyZeroDays) return {};
    std::string text =
        "\r\nZero-adjusted harmonic mean (harmonic mean of the nonzero days times the share of "
        "nonzero days)\r\n";
    for (const GageResult& g : gages)
        if (!g.shortRecord)
            text.append(g.name)
                .append("\t")
                .append(NiceFlow(g.harmonicMeanZeroAdjusted))
                .append("\t\r\n");
    return text;
}

ReportSettings reportSettingsOf(const RunSettings& settings) {
    return {settings.comments, settings.season, settings.advancedReport, settings.bioScope};
}

std::string bioScopeText(BioScope scope) {
    if (scope == BioScope::record) return {};
    return "Biological flow, percentiles and excursion rates within the season only\r\n\r\n";
}

std::string reportText(const RunResult& result, const ReportSettings& settings) {
    std::string text = commentsText(settings.comments);
    text += seasonLine(settings.season) + crlf + crlf;
    text += bioScopeText(settings.bioScope);
    text += tableText(result.grid);
    text += zeroAdjustedHarmonicText(result.gages);

    const bool anyTable = std::any_of(result.gages.begin(), result.gages.end(),
                                      [](const GageResult& g) { return g.annualTable != nullptr; });
    if (!settings.advanced || !anyTable) return text;
    text += "\r\n\r\nAdvanced information\r\n\r\n";
    for (const GageResult& g : result.gages)
        if (g.annualTable) text += advancedRowText(g.name, *g.annualTable);
    return text;
}

}  // namespace vd::run
