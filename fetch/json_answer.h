// The service's JSON answers as the fetching reads them: whole or refused, and the text of
// a member or a fallback.
#pragma once

#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

#include "errors.h"

namespace vd::fetch {

using Json = nlohmann::json;

inline Json parsedAnswer(const std::string& body, std::string_view url) {
    Json doc = Json::parse(body, nullptr, false);
    if (doc.is_discarded())
        throw Error(ErrorCode::fetch,
                    "The answer from " + std::string(url) + " is not whole JSON (cut short?)");
    return doc;
}

inline std::string textOr(const Json& object, const char* name, std::string fallback = {}) {
    const auto it = object.find(name);
    return it != object.end() && it->is_string() ? it->get<std::string>() : fallback;
}

// The href of a collection's "next" link, when it has one.
inline std::optional<std::string> nextLink(const Json& doc) {
    const auto links = doc.is_object() ? doc.find("links") : doc.end();
    if (links == doc.end() || !links->is_array()) return std::nullopt;
    for (const Json& link : *links)
        if (link.is_object() && textOr(link, "rel") == "next" && !textOr(link, "href").empty())
            return textOr(link, "href");
    return std::nullopt;
}

// The features of a FeatureCollection; throws a fetch error for any other answer.
inline const Json& featuresOf(const Json& doc, std::string_view url) {
    const auto features = doc.is_object() ? doc.find("features") : doc.end();
    if (features == doc.end() || !features->is_array())
        throw Error(ErrorCode::fetch,
                    "The answer from " + std::string(url) + " is no FeatureCollection");
    return *features;
}

}  // namespace vd::fetch
