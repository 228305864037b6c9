#include "date_axis_ticks.h"

#include <algorithm>
#include <cmath>

#include "calendar.h"
#include "hydrograph_data.h"

namespace vd::run {
namespace {

constexpr double millisecondsInADay = 86400000.0;
constexpr const char* monthNames[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                      "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

enum class StepUnit { day, month, year };

struct DateStep {
    StepUnit unit;
    int count;
    double approximateDays;
};

constexpr DateStep dateSteps[] = {
    {StepUnit::day, 1, 1},      {StepUnit::day, 2, 2},       {StepUnit::day, 5, 5},
    {StepUnit::day, 10, 10},    {StepUnit::month, 1, 30.4},  {StepUnit::month, 2, 60.9},
    {StepUnit::month, 3, 91.3}, {StepUnit::month, 6, 182.6}, {StepUnit::year, 1, 365.25},
    {StepUnit::year, 2, 730.5}, {StepUnit::year, 5, 1826},   {StepUnit::year, 10, 3652},
    {StepUnit::year, 20, 7305}, {StepUnit::year, 50, 18262}, {StepUnit::year, 100, 36525},
};

// The day whose start is at or after `ms`, and the day whose start is at or before it.
int dayAtOrAfter(double ms) {
    return static_cast<int>(std::ceil(ms / millisecondsInADay)) + DayNumber(70, 1, 1);
}
int dayAtOrBefore(double ms) {
    return static_cast<int>(std::floor(ms / millisecondsInADay)) + DayNumber(70, 1, 1);
}

bool onStep(const CalendarDate& d, const DateStep& step) {
    switch (step.unit) {
        case StepUnit::day:
            // Steps of 5 and 10 start again on the 1st; the month's last days stay bare.
            return (d.day - 1) % step.count == 0 && (step.count < 5 || d.day <= 26);
        case StepUnit::month:
            return d.day == 1 && (d.month - 1) % step.count == 0;
        case StepUnit::year:
            return d.day == 1 && d.month == 1 && d.year % step.count == 0;
    }
    return false;
}

std::string labelOf(const CalendarDate& d, StepUnit unit) {
    const std::string year = std::to_string(d.year);
    const std::string month = monthNames[d.month - 1];
    switch (unit) {
        case StepUnit::day:
            return std::to_string(d.day) + ' ' + month + ' ' + year;
        case StepUnit::month:
            return month + ' ' + year;
        case StepUnit::year:
            break;
    }
    return year;
}

std::vector<AxisTick> ticksOf(int firstDay, int lastDay, const DateStep& step) {
    std::vector<AxisTick> ticks;
    for (int day = firstDay; day <= lastDay; ++day) {
        const CalendarDate d = DateOfDayNumber(day);
        if (onStep(d, step)) ticks.push_back({epochMilliseconds(day), labelOf(d, step.unit)});
    }
    return ticks;
}

}  // namespace

std::vector<AxisTick> dateAxisTicks(double firstMs, double lastMs, double pixels) {
    if (!(lastMs > firstMs) || !std::isfinite(firstMs) || !std::isfinite(lastMs) || !(pixels > 0))
        return {};
    const int firstDay = std::max(dayAtOrAfter(firstMs), DayNumber(minYearIndex, 1, 1));
    const int lastDay = std::min(dayAtOrBefore(lastMs), DayNumber(maxYearIndex, 12, 31));
    if (lastDay < firstDay) return {};
    const double spanDays = (lastMs - firstMs) / millisecondsInADay;
    const double fitting = std::max(2.0, std::floor(pixels / dateLabelWidth));
    std::vector<AxisTick> widest;
    for (const DateStep& step : dateSteps) {
        // Too many ticks for certain: not worth walking the days.
        if (spanDays / step.approximateDays > 2 * fitting + 2) continue;
        std::vector<AxisTick> ticks = ticksOf(firstDay, lastDay, step);
        if (static_cast<double>(ticks.size()) <= fitting) return ticks;
        widest = std::move(ticks);
    }
    return widest;
}

}  // namespace vd::run
