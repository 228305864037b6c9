#include "water_data_pages.h"

#include <cctype>
#include <nlohmann/json.hpp>

#include "errors.h"

namespace vd::fetch {
namespace {

using Json = nlohmann::json;

// A query value: letters, digits and "-._~" stay, the rest is %-escaped.
std::string escaped(std::string_view text) {
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

Json parsed(const std::string& body, std::string_view url) {
    Json doc = Json::parse(body, nullptr, false);
    if (doc.is_discarded())
        throw Error(ErrorCode::fetch,
                    "The answer from " + std::string(url) + " is not whole JSON (cut short?)");
    return doc;
}

std::string textOr(const Json& object, const char* name, std::string fallback = {}) {
    const auto it = object.find(name);
    return it != object.end() && it->is_string() ? it->get<std::string>() : fallback;
}

std::optional<std::string> valueOf(const Json& properties) {
    const auto it = properties.find("value");
    if (it == properties.end() || it->is_null()) return std::nullopt;
    if (it->is_number()) return it->dump();
    if (it->is_string() && !it->get_ref<const std::string&>().empty())
        return it->get<std::string>();
    return std::nullopt;
}

}  // namespace

std::string dailyUrl(std::string_view baseUrl, std::string_view locationId, std::string_view start,
                     std::string_view end) {
    std::string url =
        trimmedBase(baseUrl) +
        "/collections/daily/items?f=json&monitoring_location_id=" + escaped(locationId) +
        "&parameter_code=00060&statistic_id=00003&skipGeometry=true&limit=50000";
    if (!start.empty() || !end.empty())
        url += "&time=" + (start.empty() ? std::string("..") : escaped(start)) + "%2F" +
               (end.empty() ? std::string("..") : escaped(end));
    return url;
}

std::string locationUrl(std::string_view baseUrl, std::string_view locationId) {
    return trimmedBase(baseUrl) + "/collections/monitoring-locations/items/" + escaped(locationId) +
           "?f=json&skipGeometry=true";
}

DailyPage parseDailyPage(const std::string& body, std::string_view url) {
    const Json doc = parsed(body, url);
    const auto features = doc.is_object() ? doc.find("features") : doc.end();
    if (features == doc.end() || !features->is_array())
        throw Error(ErrorCode::fetch,
                    "The answer from " + std::string(url) + " is no FeatureCollection");
    DailyPage page;
    page.values.reserve(features->size());
    for (const Json& f : *features) {
        const auto props = f.is_object() ? f.find("properties") : f.end();
        if (props == f.end() || !props->is_object()) continue;
        if (textOr(*props, "parameter_code", "00060") != "00060" ||
            textOr(*props, "statistic_id", "00003") != "00003")
            continue;
        page.values.push_back({textOr(*props, "time_series_id"),
                               textOr(*props, "time").substr(0, 10), valueOf(*props),
                               textOr(*props, "approval_status")});
    }
    const auto links = doc.find("links");
    if (links != doc.end() && links->is_array())
        for (const Json& link : *links)
            if (link.is_object() && textOr(link, "rel") == "next" && !textOr(link, "href").empty())
                page.next = textOr(link, "href");
    return page;
}

std::string parseLocationName(const std::string& body, std::string_view url) {
    const Json doc = parsed(body, url);
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
