// The Water Data API as the tests need it, on a local server: sites with their names and
// their daily values served in pages joined by "next" links, and replies the test wants
// given first (busy, failing or cut short), in order.
#pragma once

#include <deque>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "local_http_server.h"
#include "water_data_restate.h"

namespace vd::test {

class FakeWaterData {
  public:
    FakeWaterData() : server_([this](const HttpRequest& r) { return reply(r); }) {}

    std::string url() const { return server_.url(); }
    std::vector<HttpRequest> requests() const { return server_.requests(); }

    // The site's days, served over `pages` pages (the last page takes the rest).
    void addSite(const std::string& number, const std::string& name,
                 const std::vector<RestatedDay>& days, std::size_t pages) {
        const std::lock_guard lock(mutex_);
        names_[number] = name;
        auto& p = pages_[number];
        const std::size_t per = (days.size() + pages - 1) / pages;
        for (std::size_t i = 0; i < days.size(); i += per)
            p.emplace_back(
                days.begin() + static_cast<std::ptrdiff_t>(i),
                days.begin() + static_cast<std::ptrdiff_t>(std::min(i + per, days.size())));
    }

    // Given, in order, to the next requests for daily values instead of the pages.
    void replyFirst(const HttpReply& r) {
        const std::lock_guard lock(mutex_);
        first_.push_back(r);
    }

  private:
    static std::string queryValue(const std::string& target, const std::string& name) {
        const std::size_t at = target.find(name + "=");
        if (at == std::string::npos) return "";
        const std::size_t from = at + name.size() + 1;
        return target.substr(from, target.find('&', from) - from);
    }

    HttpReply reply(const HttpRequest& r) {
        const std::lock_guard lock(mutex_);
        constexpr std::string_view locations = "/collections/monitoring-locations/items/USGS-";
        if (r.target.starts_with(locations)) {
            const std::string site =
                r.target.substr(locations.size(), r.target.find('?') - locations.size());
            const auto it = names_.find(site);
            if (it == names_.end()) return {404, R"({"code":"NotFound"})", {}, false};
            return {
                200,
                R"({"type":"Feature","id":"USGS-)" + site +
                    R"(","geometry":null,"properties":{"agency_code":"USGS","monitoring_location_number":")" +
                    site + R"(","monitoring_location_name":")" + it->second + R"("}})",
                {"Content-Type: application/geo+json"},
                false};
        }
        if (!first_.empty()) {
            HttpReply special = first_.front();
            first_.pop_front();
            return special;
        }
        const std::string location = queryValue(r.target, "monitoring_location_id");
        const std::string site = location.substr(location.find('-') + 1);
        const std::string cursor = queryValue(r.target, "cursor");
        const std::size_t page = cursor.empty() ? 0 : std::stoul(cursor);
        const auto& pages = pages_[site];
        const std::vector<RestatedDay> days =
            page < pages.size() ? pages[page] : std::vector<RestatedDay>{};
        const std::string next =
            page + 1 < pages.size()
                ? server_.url() +
                      "/collections/daily/items?f=json&monitoring_location_id=" + location +
                      "&cursor=" + std::to_string(page + 1)
                : "";
        return {200, asWaterDataPage(days, next), {"Content-Type: application/geo+json"}, false};
    }

    std::mutex mutex_;
    std::map<std::string, std::string> names_;
    std::map<std::string, std::vector<std::vector<RestatedDay>>> pages_;
    std::deque<HttpReply> first_;
    LocalHttpServer server_;  // last: stopped before the data it serves goes
};

}  // namespace vd::test
