// The labels the chart axes carry: dates on year, month or day boundaries that never
// repeat, log-axis labels at 1, 2 and 5 where there is room, and the scale of an image of
// a given size and resolution.
#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "calendar.h"
#include "date_axis_ticks.h"
#include "hydrograph_data.h"
#include "image_scale.h"
#include "log_axis_ticks.h"

using namespace vd;
using namespace vd::run;

namespace {

double startOfDay(int year, int month, int day) {
    return epochMilliseconds(DayNumber(year - 1900, month, day));
}

std::vector<std::string> labelsOf(const std::vector<AxisTick>& ticks) {
    std::vector<std::string> labels;
    for (const AxisTick& t : ticks) labels.push_back(t.label);
    return labels;
}

struct DateCase {
    const char* what;
    double first;
    double last;
    double pixels;
    std::vector<std::string> labels;
};

TEST(DateAxisTicks, FallOnBoundariesWithLabelsThatNeverRepeat) {
    const DateCase cases[] = {
        {"a climatic-year record of 19 years: every other 1 January",
         startOfDay(1994, 4, 1),
         startOfDay(2013, 4, 1),
         800,
         {"1996", "1998", "2000", "2002", "2004", "2006", "2008", "2010", "2012"}},
        {"the same on a narrow axis: decades",
         startOfDay(1994, 4, 1),
         startOfDay(2013, 4, 1),
         200,
         {"2000", "2010"}},
        {"two centuries",
         startOfDay(1900, 1, 1),
         startOfDay(2099, 12, 31),
         800,
         {"1900", "1920", "1940", "1960", "1980", "2000", "2020", "2040", "2060", "2080"}},
        {"zoomed to 22 months: quarters named with their year",
         startOfDay(2011, 1, 15),
         startOfDay(2012, 11, 20),
         800,
         {"Apr 2011", "Jul 2011", "Oct 2011", "Jan 2012", "Apr 2012", "Jul 2012", "Oct 2012"}},
        {"zoomed to 5 months, across a new year",
         startOfDay(2011, 10, 10),
         startOfDay(2012, 3, 10),
         800,
         {"Nov 2011", "Dec 2011", "Jan 2012", "Feb 2012", "Mar 2012"}},
        {"zoomed to 17 days: every other day",
         startOfDay(2011, 7, 3),
         startOfDay(2011, 7, 20),
         800,
         {"3 Jul 2011", "5 Jul 2011", "7 Jul 2011", "9 Jul 2011", "11 Jul 2011", "13 Jul 2011",
          "15 Jul 2011", "17 Jul 2011", "19 Jul 2011"}},
        {"half a day in the middle of a day: no boundary",
         startOfDay(2011, 7, 3) + 3.6e6,
         startOfDay(2011, 7, 3) + 4.32e7,
         800,
         {}},
        {"a reversed range", startOfDay(2012, 1, 1), startOfDay(2011, 1, 1), 800, {}},
        {"an axis not laid out", startOfDay(2011, 1, 1), startOfDay(2012, 1, 1), 0, {}},
    };
    for (const DateCase& c : cases) {
        const std::vector<AxisTick> ticks = dateAxisTicks(c.first, c.last, c.pixels);
        EXPECT_EQ(labelsOf(ticks), c.labels) << c.what;
        const std::set<std::string> distinct(c.labels.begin(), c.labels.end());
        EXPECT_EQ(distinct.size(), c.labels.size()) << c.what;
        for (std::size_t k = 0; k < ticks.size(); ++k) {
            EXPECT_GE(ticks[k].position, c.first) << c.what;
            EXPECT_LE(ticks[k].position, c.last) << c.what;
            if (k > 0) {
                EXPECT_GT(ticks[k].position, ticks[k - 1].position) << c.what;
            }
        }
    }
    // A tick lies at the start of the day it names.
    const auto year = dateAxisTicks(startOfDay(2003, 6, 1), startOfDay(2006, 6, 1), 200);
    ASSERT_FALSE(year.empty());
    EXPECT_EQ(year.front().label, "2004");
    EXPECT_EQ(year.front().position, startOfDay(2004, 1, 1));
}

struct LogCase {
    const char* what;
    double low;
    double high;
    double pixels;
    std::vector<std::string> labels;
};

TEST(LogAxisTicks, OneTwoFiveWhereThereIsRoomAndNeverCloserThanALabel) {
    const LogCase cases[] = {
        {"four decades on a chart's height",
         0,
         4,
         440,
         {"1", "2", "5", "10", "20", "50", "100", "200", "500", "1000", "2000", "5000", "10000"}},
        {"below 1 cfs", -2, 0, 440, {"0.01", "0.02", "0.05", "0.1", "0.2", "0.5", "1"}},
        {"nine decades: powers of ten only",
         -5,
         4,
         440,
         {"1e-05", "0.0001", "0.001", "0.01", "0.1", "1", "10", "100", "1000", "10000"}},
        {"nine decades on a short axis: every other power",
         -5,
         4,
         150,
         {"0.0001", "0.01", "1", "100", "10000"}},
        {"one decade: every digit", 0, 1, 440, {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10"}},
        {"zoomed across a decade", 0.5, 1.5, 440, {"4", "5", "6", "7", "8", "9", "10", "20", "30"}},
        {"an empty range", 1, 1, 440, {}},
    };
    for (const LogCase& c : cases) {
        const std::vector<AxisTick> ticks = logAxisTicks(c.low, c.high, c.pixels);
        EXPECT_EQ(labelsOf(ticks), c.labels) << c.what;
        const double pixelsPerDecade = c.pixels / (c.high - c.low);
        for (std::size_t k = 1; k < ticks.size(); ++k)
            EXPECT_GE((ticks[k].position - ticks[k - 1].position) * pixelsPerDecade,
                      leastLabelSpacing - 1e-9)
                << c.what << " at " << ticks[k].label;
    }
    const auto ticks = logAxisTicks(-2, 0, 440);
    EXPECT_DOUBLE_EQ(ticks.at(1).position, std::log10(0.02));
}

TEST(ImageScale, LaysTheChartOutAtScreenSizeAndScalesItToThePixels) {
    const ImageScale factSheet = imageScale(1950, 1200, 300);
    EXPECT_EQ(factSheet.layoutWidth, 624);
    EXPECT_EQ(factSheet.layoutHeight, 384);
    EXPECT_DOUBLE_EQ(factSheet.scale, 3.125);
    EXPECT_EQ(factSheet.dotsPerMeter, 11811);
    EXPECT_NEAR(factSheet.widthMm, 6.5 * 25.4, 1e-9);
    EXPECT_NEAR(factSheet.heightMm, 4 * 25.4, 1e-9);
    const ImageScale screen = imageScale(1000, 650, screenDpi);
    EXPECT_EQ(screen.layoutWidth, 1000);
    EXPECT_EQ(screen.layoutHeight, 650);
    EXPECT_DOUBLE_EQ(screen.scale, 1);
    EXPECT_EQ(screen.dotsPerMeter, 3780);
}

}  // namespace
