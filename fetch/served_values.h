// What the service sends, checked before it reaches a file: a file that fetching writes
// must read back whole, so a value that is no finite number, a date that is no day of the
// calendar, or a text that would break a line or a column is refused, naming the site.
#pragma once

#include <string>
#include <vector>

#include "water_data_pages.h"

namespace vd::fetch {

// Throws a fetch error naming `site` and the first value, date or text that cannot be
// written as the classic layout reads it.
void checkServedDays(const std::vector<DailyValue>& days, const std::string& site);

// Throws a fetch error when the site's name holds a control character (a line break, a tab).
void checkSiteName(const std::string& name, const std::string& site);

}  // namespace vd::fetch
