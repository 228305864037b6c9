// Season date texts typed by the user ("Apr 1", "4/1", "april 1", ...).
#pragma once

#include <string>

namespace vd {

struct SeasonDate {
    std::string text;  // normalised "Mmm d", or empty when the text is no valid date
    int month = 0;     // month found (1..12), 0 when none
    int day = 0;       // day found, 0 when none
    bool valid() const { return !text.empty(); }
};

// Parses and normalises a season date text; a day past the month's end is lowered to it
// (February has 28 days).
SeasonDate parseSeasonDate(const std::string& s);

// A season date as a user types it: as parseSeasonDate, but a day past the month's end
// ("6/31", "Feb 29") makes it no date rather than being lowered.
SeasonDate typedSeasonDate(const std::string& s);

// The day before a season start ("Apr 1" gives "Mar 31", "Jan 1" gives "Dec 31"): the end
// of a full climatic year. Empty when the start is no valid date.
std::string dayBeforeSeasonStart(const std::string& startText);

// "Jan".."Dec" for month 1..12.
std::string monthAbbreviation(int month);

}  // namespace vd
