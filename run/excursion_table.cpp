#include "excursion_table.h"

#include "calendar.h"
#include "errors.h"
#include "number_format.h"
#include "report_text.h"
#include "season_date.h"

namespace vd::run {
namespace {

std::string averageExcursion(const ExcursionPeriod& period) {
    return formatFixed(period.averageExcursionPercent(), 1, 6) + "%";
}

}  // namespace

std::string excursionDate(int dayNumber) {
    const CalendarDate d = DateOfDayNumber(dayNumber);
    if (d.month < 1 || d.month > 12) throw Error(ErrorCode::range);
    return monthAbbreviation(d.month) + formatInteger(d.day, 3) + "," + formatInteger(d.year, 5);
}

ExcursionTable excursionTable(const BiologicalExcursions& record) {
    const Excursions& e = record.excursions;
    ExcursionTable t;
    t.cells.push_back({"Cluster Start", "Excursions", "Period Start", "Duration", "Avg Excursion"});
    t.endsCluster.push_back(false);
    double total = 0;
    for (const ExcursionCluster& c : e.clusters) {
        for (int k = c.firstPeriod; k <= c.lastPeriod; ++k) {
            const ExcursionPeriod& period = e.periods.at(static_cast<std::size_t>(k));
            const std::string date = excursionDate(record.dayNumber(period.firstDay));
            std::vector<std::string> row(5);
            if (k == c.firstPeriod) {
                row[0] = date;
                row[1] = formatFixed(c.excursions, 2, 6);
                total += c.excursions;
            }
            row[2] = date;
            row[3] = formatInteger(period.lastDay - period.firstDay + 1, 4);
            row[4] = averageExcursion(period);
            t.cells.push_back(std::move(row));
            t.endsCluster.push_back(k == c.lastPeriod);
        }
    }
    t.cells.push_back({"Total", formatFixed(total, 2, 6), "", "", ""});
    t.endsCluster.push_back(false);
    return t;
}

ExcursionTable excursionTableOfRow(const RunResult& result, int row) {
    if (row < 1 || row > result.dataRowCount())
        throw Error(ErrorCode::calculation, "There is no results row " + std::to_string(row) +
                                                "; the table has " +
                                                std::to_string(result.dataRowCount()) + " rows.");
    const GageResult& gage = result.gage(row);
    if (!gage.excursions)
        throw Error(ErrorCode::calculation,
                    "Results row " + std::to_string(row) +
                        " has no excursion analysis: its biological design flow was not "
                        "computed in this run.");
    return excursionTable(*gage.excursions);
}

std::string excursionCopyText(const ExcursionTable& table, const std::vector<std::string>& comments,
                              int sday, int eday, BioScope scope) {
    std::string text = commentsText(comments);
    if (sday != 1 || eday != 365)
        text += "Seasonal calculation: start day is " + std::to_string(sday) + ", end day is " +
                std::to_string(eday) + "\r\n\r\n";
    return text + bioScopeText(scope) + tableText(table.cells);
}

}  // namespace vd::run
