// The values a calculation run takes from the main window's controls: the season's day
// positions, the list of non-biological averaging periods, and the biological and
// non-biological parameters, converted and checked before any file is read.
#pragma once

#include <string>
#include <vector>

#include "run_input.h"

namespace vd::run {

struct SeasonDays {
    int sday = 0;      // day position of the season start, counted from the 1st of month m1
    int eday = 0;      // day position of the season end (above 365 when it lies in the next year)
    int SYAdjust = 0;  // 1 when the season runs over the end of the year
};

// Day positions of the season texts (as a year without a leap day counts them). A text that
// names no month is a RangeError.
SeasonDays seasonDays(const std::string& startText, const std::string& endText);

struct AveragingPeriods {
    std::vector<int> distinct;  // the distinct periods, ascending
    int entries = 0;            // entries typed, repeats counted (they count in the progress)
};

// Parses the averaging-period text: runs of digits separated by exactly one character of
// any kind ("7,30", "7;30"). An empty run is a conversion error, a period above 255 a
// RangeError, a period of 0 a refusal naming the field.
AveragingPeriods parseAveragingPeriods(const std::string& text);

struct BiologicalParameters {
    int M = 0;             // averaging period (days)
    double XMR = 0;        // average years between excursions
    double XMI = 0;        // excursion clustering period (days)
    double XME = 0;        // excursions counted per cluster
    bool ammonia = false;  // ammonia criterion with the default values: the 2 x 4B3 rule
};

// Converts and checks the biological fields; a value below 1 is refused.
BiologicalParameters readBiological(const ControlTexts& c);

struct NonBiologicalParameters {
    int toggle = 4;
    double returnPeriod = 0;  // toggle 4: y of xQy
    double flow = 0;          // toggle 5: the explicit flow (cfs)
    double percentile = 0;    // toggle 6: the flow percentile
};

// Converts and checks the field of the chosen non-biological kind: a return period below 1
// or a percentile outside 0 to 100 is refused.
NonBiologicalParameters readNonBiological(const ControlTexts& c);

}  // namespace vd::run
