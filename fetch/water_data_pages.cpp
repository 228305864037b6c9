#include "water_data_pages.h"

#include <cctype>
#include "errors.h"
#include "json_answer.h"

namespace vd::fetch {
namespace {

std::optional<std::string> valueOf(const Json& properties) {
    const auto it = properties.find("value");
    if (it == properties.end() || it->is_null()) return std::nullopt;
    if (it->is_number()) return it->dump();
    if (it->is_string() && !it->get_ref<const std::string&>().empty())
        return it->get<std::string>();
    return std::nullopt;
}

}  // namespace

std::string queryEscaped(std::string_view text) {
    static constexpr char hex[] = "0123456789ABCDEF";
    std::string out;
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (std::isalnum(c) || c == '-' || c == '.' || c == '_' || c == '~') {
            out += ch;
        } else {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 15];
        }
    }
    return out;
}

std::string trimmedBase(std::string_view baseUrl) {
    while (baseUrl.ends_with('/')) baseUrl.remove_suffix(1);
    return std::string(baseUrl);
}

std::string dailyUrl(std::string_view baseUrl, std::string_view locationId, std::string_view start,
                     std::string_view end) {
    return dailyUrl(baseUrl, std::vector<std::string>{std::string(locationId)}, start, end);
}

std::string idList(const std::vector<std::string>& locationIds) {
    std::string list;
    for (const std::string& id : locationIds) {
        if (!list.empty()) list += ',';
        list += queryEscaped(id);
    }
    return list;
}

std::string dailyUrl(std::string_view baseUrl, const std::vector<std::string>& locationIds,
                     std::string_view start, std::string_view end) {
    std::string url =
        trimmedBase(baseUrl) +
        "/collections/daily/items?f=json&monitoring_location_id=" + idList(locationIds) +
        "&parameter_code=00060&statistic_id=00003&skipGeometry=true&limit=50000";
    if (!start.empty() || !end.empty())
        url += "&time=" + (start.empty() ? std::string("..") : queryEscaped(start)) + "%2F" +
               (end.empty() ? std::string("..") : queryEscaped(end));
    return url;
}

std::string locationUrl(std::string_view baseUrl, std::string_view locationId) {
    return trimmedBase(baseUrl) + "/collections/monitoring-locations/items/" +
           queryEscaped(locationId) + "?f=json&skipGeometry=true";
}

DailyPage parseDailyPage(const std::string& body, std::string_view url) {
    const Json doc = parsedAnswer(body, url);
    const Json& features = featuresOf(doc, url);
    DailyPage page;
    page.values.reserve(features.size());
    for (const Json& f : features) {
        const auto props = f.is_object() ? f.find("properties") : f.end();
        if (props == f.end() || !props->is_object()) continue;
        if (textOr(*props, "parameter_code", "00060") != "00060" ||
            textOr(*props, "statistic_id", "00003") != "00003")
            continue;
        page.values.push_back({textOr(*props, "time_series_id"),
                               textOr(*props, "time").substr(0, 10), valueOf(*props),
                               textOr(*props, "approval_status"),
                               textOr(*props, "monitoring_location_id")});
    }
    page.next = nextLink(doc);
    return page;
}

std::string parseLocationName(const std::string& body, std::string_view url) {
    const Json doc = parsedAnswer(body, url);
    const Json* feature = &doc;
    const auto features = doc.is_object() ? doc.find("features") : doc.end();
    if (features != doc.end() && features->is_array() && !features->empty())
        feature = &features->front();
    const auto props = feature->is_object() ? feature->find("properties") : feature->end();
    const std::string name = props != feature->end() && props->is_object()
                                 ? textOr(*props, "monitoring_location_name")
                                 : std::string();
    if (name.empty())
        throw Error(ErrorCode::fetch,
                    "The service gives no name for the site at " + std::string(url));
    return name;
}

}  // namespace vd::fetch
