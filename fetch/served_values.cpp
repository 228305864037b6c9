#include "served_values.h"

#include "calendar_date.h"

#include <algorithm>
#include <exception>

#include "errors.h"
#include "number_text.h"
#include "site_number.h"

namespace vd::fetch {
namespace {

bool isControl(char ch) {
    const auto c = static_cast<unsigned char>(ch);
    return c < 0x20 || c == 0x7f;
}

bool hasControl(std::string_view text) {
    return std::any_of(text.begin(), text.end(), isControl);
}

// The characters of a number as the service writes one; anything else (blanks included)
// would not stay one field of the classic layout.
bool isNumberCharacter(char c) {
    return (c >= '0' && c <= '9') || c == '.' || c == '-' || c == '+' || c == 'e' || c == 'E';
}

bool isFlowText(const std::string& value) {
    if (value.empty() || !std::all_of(value.begin(), value.end(), isNumberCharacter)) return false;
    try {
        (void)toFlow(value);  // the reader's own conversion: finite, not too large
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

bool isIdText(const std::string& id) {
    return std::none_of(id.begin(), id.end(), [](char c) { return isControl(c) || c == ' '; });
}

[[noreturn]] void refuse(const std::string& site, const std::string& what) {
    throw Error(ErrorCode::fetch, "Site " + site + ": the service gave " + what);
}

}  // namespace

void checkServedDays(const std::vector<DailyValue>& days, const std::string& site) {
    for (const DailyValue& d : days) {
        if (!isoDate(d.date)) refuse(site, "the date '" + shownText(d.date) + "'");
        if (d.value && !isFlowText(*d.value))
            refuse(site, "the value '" + shownText(*d.value) + "' for " + d.date +
                             ", which is no finite number");
        if (!isIdText(d.series))
            refuse(site, "the series id '" + shownText(d.series) +
                             "', with a blank or a control character");
        if (hasControl(d.approval))
            refuse(site, "the approval '" + shownText(d.approval) + "' for " + d.date +
                             ", with a control character");
    }
}

void checkSiteName(const std::string& name, const std::string& site) {
    if (hasControl(name))
        refuse(site,
               "the name '" + shownText(name) + "', with a line break or a control character");
}

}  // namespace vd::fetch
