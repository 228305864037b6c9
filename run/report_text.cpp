#include "report_text.h"

#include "number_format.h"

namespace vd::run {
namespace {

constexpr const char* crlf = "\r\n";
constexpr float noYear = -999;
constexpr float blankFlowAbove = 1e10f;  // a return period the distribution cannot reach

// Leading entries that hold a year.
int yearsInTable(const aparray& table) {
    int n = 0;
    while (n < maxyears && table[n + 1][1] > noYear) ++n;
    return n;
}

// Orders the entries by their annual minimum (field 2), taking the year (field 1) along
// and leaving the return-period fields in place. This exchange sort does not keep the order
// of equal minima; the years line depends on exactly this order.
void sortByMinimum(aparray& table, int n) {
    for (int a = 2; a <= n; ++a)
        for (int b = 1; b <= a - 1; ++b)
            if (table[a][2] < table[b][2]) {
                std::swap(table[a][1], table[b][1]);
                std::swap(table[a][2], table[b][2]);
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
std::string advancedRowText(const std::string& gageName, const aparray& stored) {
    aparray table = stored;
    const int n = yearsInTable(table);
    std::string text = gageName;
    text += "\r\nRecurrence Period";
    for (int k = 1; k <= n; ++k) text.append("\t").append(std::to_string(k));
    text += "\r\nCalculated";
    for (int k = 1; k <= n; ++k) {
        text += "\t";
        if (!(table[k][3] > blankFlowAbove)) text += formatFixed(table[k][3], 2, 2);
    }
    sortByMinimum(table, n);
    text += "\r\nRecurrence Period";
    for (int k = 1; k <= n; ++k)
        text.append("\t").append(formatFixed(static_cast<double>(n) / k, 3, 3));
    text += "\r\nObserved";
    for (int k = 1; k <= n; ++k) text.append("\t").append(formatFixed(table[k][2], 2, 2));
    text += crlf;
    for (int k = 1; k <= n; ++k) text.append("\t").append(formatFixed(1900 + table[k][1], 0, 1));
    return text + crlf + crlf;
}

std::string reportText(const RunResult& result, const ReportSettings& settings) {
    std::string text = commentsText(settings.comments);
    text += std::string(settings.climaticYear ? "Climatic year" : "Season") + " defined as " +
            settings.seasonStart + " - " + settings.seasonEnd + crlf + crlf;
    text += tableText(result.grid);

    bool anyTable = false;
    for (const ResultsRowData& row : result.rows) anyTable = anyTable || row.advpar != nullptr;
    if (!settings.advanced || !anyTable) return text;
    text += "\r\n\r\nAdvanced information\r\n\r\n";
    for (std::size_t r = 0; r < result.rows.size(); ++r) {
        const auto& table = result.rows[r].advpar;
        if (table) text += advancedRowText(result.grid.at(r + 1).at(0), *table);
    }
    return text;
}

}  // namespace vd::run
