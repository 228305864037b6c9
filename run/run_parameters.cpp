#include "run_parameters.h"

#include <algorithm>
#include <cctype>

#include "calendar.h"
#include "errors.h"
#include "number_text.h"
#include "season_date.h"

namespace vd::run {
namespace {

constexpr int largestAveragingPeriod = 255;

[[noreturn]] void refuse(const std::string& field, const std::string& value,
                         const std::string& rule) {
    throw CalcError(field + ": '" + fieldExcerpt(value) + "' is not allowed; " + rule + ".");
}

int atLeastOne(const std::string& field, const std::string& text) {
    const int value = toInteger(text);
    if (value < 1) refuse(field, text, "it must be at least 1");
    return value;
}

// Days before the month plus the day, in a year without a leap day.
int dayOfYear(const SeasonDate& d) {
    return DaysByMonth(false, d.NEMonth) + d.NEDay;
}

}  // namespace

SeasonDays seasonDays(const std::string& startText, const std::string& endText) {
    const SeasonDate start = niceenoughdate(startText);
    const SeasonDate end = niceenoughdate(endText);
    // DaysByMonth refuses month 0 with a RangeError, the run's answer to a text without month.
    const int startDay = dayOfYear(start);
    const int endDay = dayOfYear(end);
    const int m1 = start.NEMonth;
    const int d1 = start.NEDay;
    const int firstOfM1 = DaysByMonth(false, m1);
    // A date before the season start in the season's own month lies in the next year too.
    const auto nextYear = [&](const SeasonDate& d) {
        return m1 > d.NEMonth || (m1 == d.NEMonth && d.NEDay < d1);
    };
    SeasonDays days;
    days.sday = startDay - firstOfM1 + (nextYear(start) ? 365 : 0);
    days.eday = endDay - firstOfM1 + (nextYear(end) ? 365 : 0);
    days.SYAdjust = startDay > endDay ? 1 : 0;
    return days;
}

AveragingPeriods parseAveragingPeriods(const std::string& text) {
    AveragingPeriods periods;
    std::string rest = text;
    while (!rest.empty()) {
        std::size_t digits = 0;
        while (digits < rest.size() && std::isdigit(static_cast<unsigned char>(rest[digits])))
            ++digits;
        const std::string entry = rest.substr(0, digits);
        const int period = toInteger(entry);
        if (period > largestAveragingPeriod) throw RangeError();
        if (period < 1)
            refuse("Non-biological flow averaging period (days)", entry,
                   "every averaging period must be at least 1");
        if (std::find(periods.distinct.begin(), periods.distinct.end(), period) ==
            periods.distinct.end())
            periods.distinct.push_back(period);
        ++periods.entries;
        rest.erase(0, std::min(rest.size(), digits + 1));
    }
    std::sort(periods.distinct.begin(), periods.distinct.end());
    return periods;
}

BiologicalParameters readBiological(const ControlTexts& c) {
    BiologicalParameters p;
    p.M = atLeastOne("Biological flow averaging period (days)", c.EditBio1);
    p.XMR = atLeastOne("Average number of years between excursions", c.EditBio2);
    p.XME = atLeastOne("Average number of excursions counted per cluster", c.EditBio4);
    p.XMI = atLeastOne("Length of excursion clustering period (days)", c.EditBio3);
    p.ammonia = c.RadioButton3 && c.CheckBox1;
    return p;
}

NonBiologicalParameters readNonBiological(const ControlTexts& c) {
    NonBiologicalParameters p;
    p.toggle = c.toggle;
    switch (c.toggle) {
        case 4:
            p.returnPeriod = atLeastOne("Return period on years with excursions (years)", c.Edit4);
            break;
        case 5:
            p.flow = toFloat(c.Edit5);
            break;
        case 6:
            p.percentile = toFloat(c.Edit6);
            if (!(p.percentile >= 0 && p.percentile <= 100))
                refuse("Flow percentile", c.Edit6, "it must lie between 0 and 100");
            break;
        default:
            throw CalcError("Unknown non-biological design flow kind " + std::to_string(c.toggle));
    }
    return p;
}

}  // namespace vd::run
