// The site numbers a user gives, checked before anything is asked of the service: what
// goes into a request and into a file name is only ever made of such checked parts.
#pragma once

#include <string>
#include <string_view>

namespace vd::fetch {

struct SiteId {
    std::string locationId;  // "USGS-09506000", as the service names the site
    std::string number;      // "09506000"
};

// "09506000" or "USGS-09506000" (another agency's letters and digits before the "-" are
// kept). Throws a fetch error naming the text for anything else: letters or signs among the
// digits, "/", "\", "..", blanks, control characters, an empty part.
SiteId checkedSite(std::string_view site);

// `text` for a message: control characters shown as \xNN, so a hostile text cannot
// rewrite the terminal or add lines to a log.
std::string shownText(std::string_view text);

}  // namespace vd::fetch
