// The Water Data API as the tests need it, on a local server: sites with their names, their
// place (state, county, hydrologic unit, position) and their daily values served in pages
// joined by "next" links, for one site or a comma-separated list; the monitoring locations
// and the series of a region; an hourly allowance told in the rate headers (a request past
// it is refused with 429); and replies the test wants given first (busy, failing or cut
// short), in order.
#pragma once

#include <algorithm>
#include <deque>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "local_http_server.h"
#include "water_data_restate.h"

namespace vd::test {

// Where a gage lies: state and county (FIPS), hydrologic unit, position.
struct GagePlace {
    std::string state = "04";
    std::string county = "025";
    std::string huc = "15060203";
    double longitude = -111.8;
    double latitude = 34.4;
};

class FakeWaterData {
  public:
    using Place = GagePlace;

    FakeWaterData() : server_([this](const HttpRequest& r) { return reply(r); }) {}

    std::string url() const { return server_.url(); }
    std::vector<HttpRequest> requests() const { return server_.requests(); }

    // The site's days, served over `pages` pages (the last page takes the rest).
    void addSite(const std::string& number, const std::string& name,
                 const std::vector<RestatedDay>& days, std::size_t pages, Place place = {}) {
        const std::lock_guard lock(mutex_);
        // A site added again is restated: its days as now given replace the earlier ones.
        if (!names_.contains(number)) order_.push_back(number);
        names_[number] = name;
        places_[number] = place;
        auto& p = pages_[number];
        p.clear();
        const std::size_t per = (days.size() + pages - 1) / pages;
        for (std::size_t i = 0; i < days.size(); i += per)
            p.emplace_back(
                days.begin() + static_cast<std::ptrdiff_t>(i),
                days.begin() + static_cast<std::ptrdiff_t>(std::min(i + per, days.size())));
    }

    // A stream gage listed among the monitoring locations without daily values.
    void addLocationOnly(const std::string& number, const std::string& name, Place place = {}) {
        const std::lock_guard lock(mutex_);
        names_[number] = name;
        places_[number] = place;
        order_.push_back(number);
    }

    // Daily values served `n` to a page over all the sites of a request (0: each site's own
    // pages, as added).
    void setValuesPerPage(std::size_t n) {
        const std::lock_guard lock(mutex_);
        valuesPerPage_ = n;
    }

    // Monitoring locations served a few to a page.
    void setLocationsPerPage(std::size_t n) {
        const std::lock_guard lock(mutex_);
        locationsPerPage_ = n;
    }

    // An hourly allowance of `limit` requests with `remaining` left, told on every answer.
    void setAllowance(long limit, long remaining) {
        const std::lock_guard lock(mutex_);
        limit_ = limit;
        remaining_ = remaining;
    }
    // The hour turns: the whole allowance again.
    void renewAllowance() {
        const std::lock_guard lock(mutex_);
        remaining_ = limit_;
    }
    // Requests refused because the allowance was spent.
    int refusedForRate() const {
        const std::lock_guard lock(mutex_);
        return refused_;
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

    static std::string decoded(const std::string& text) {
        std::string out;
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (text[i] == '%' && i + 2 < text.size()) {
                out += static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16));
                i += 2;
            } else {
                out += text[i];
            }
        }
        return out;
    }

    static std::vector<std::string> commaList(const std::string& text) {
        std::vector<std::string> items;
        std::size_t from = 0;
        while (from <= text.size()) {
            const std::size_t comma = std::min(text.find(',', from), text.size());
            if (comma > from) items.push_back(text.substr(from, comma - from));
            from = comma + 1;
        }
        return items;
    }

    HttpReply reply(const HttpRequest& r) {
        const std::lock_guard lock(mutex_);
        if (limit_ > 0) {
            if (remaining_ <= 0) {
                ++refused_;
                return {429, R"({"code":"TooManyRequests"})", rateHeaders(), false};
            }
            --remaining_;
        }
        HttpReply answer = replyWithin(r);
        if (limit_ > 0)
            for (std::string& h : rateHeaders()) answer.headers.push_back(std::move(h));
        return answer;
    }

    // The days of `days` within the request's time=FIRST/LAST (either ".." for an open end).
    static std::vector<const RestatedDay*> withinTime(const std::vector<RestatedDay>& days,
                                                      const std::string& target) {
        const std::string span = decoded(queryValue(target, "time"));
        const std::size_t slash = span.find('/');
        const std::string first = slash == std::string::npos ? ".." : span.substr(0, slash);
        const std::string last = slash == std::string::npos ? ".." : span.substr(slash + 1);
        std::vector<const RestatedDay*> within;
        for (const RestatedDay& d : days)
            if ((first == ".." || d.date >= first) && (last == ".." || d.date <= last))
                within.push_back(&d);
        return within;
    }

    std::vector<std::vector<const RestatedDay*>> repaged(
        const std::vector<std::vector<const RestatedDay*>>& pages) const {
        std::vector<std::vector<const RestatedDay*>> out(1);
        for (const auto& page : pages)
            for (const RestatedDay* d : page) {
                if (out.back().size() == valuesPerPage_) out.emplace_back();
                out.back().push_back(d);
            }
        return out;
    }

    std::vector<std::string> rateHeaders() const {
        return {"X-RateLimit-Limit: " + std::to_string(limit_),
                "X-RateLimit-Remaining: " + std::to_string(remaining_)};
    }

    bool takes(const std::string& number, const std::string& target) const {
        const Place& p = places_.at(number);
        const std::string state = queryValue(target, "state_code");
        const std::string county = queryValue(target, "county_code");
        if (!state.empty() && p.state != state) return false;
        if (!county.empty() && p.county != county) return false;
        const std::string filter = decoded(queryValue(target, "filter"));
        const std::size_t quote = filter.find('\'');
        if (quote != std::string::npos) {
            const std::string prefix = filter.substr(quote + 1, filter.find('%') - quote - 1);
            if (!p.huc.starts_with(prefix)) return false;
        }
        const std::vector<std::string> box = commaList(decoded(queryValue(target, "bbox")));
        if (box.size() == 4 && (p.longitude < std::stod(box[0]) || p.latitude < std::stod(box[1]) ||
                                p.longitude > std::stod(box[2]) || p.latitude > std::stod(box[3])))
            return false;
        return true;
    }

    HttpReply locationsReply(const HttpRequest& r) {
        std::vector<std::string> found;
        for (const std::string& number : order_)
            if (takes(number, r.target)) found.push_back(number);
        const std::string cursor = queryValue(r.target, "cursor");
        const std::size_t from = cursor.empty() ? 0 : std::stoul(cursor);
        std::string out = R"({"type":"FeatureCollection","features":[)";
        for (std::size_t i = from; i < found.size() && i < from + locationsPerPage_; ++i) {
            const Place& p = places_.at(found[i]);
            if (i > from) out += ",";
            out += R"({"type":"Feature","id":"USGS-)" + found[i] +
                   R"(","geometry":null,"properties":{"monitoring_location_number":")" + found[i] +
                   R"(","monitoring_location_name":")" + names_.at(found[i]) +
                   R"(","state_code":")" + p.state + R"(","county_code":")" + p.county +
                   R"(","hydrologic_unit_code":")" + p.huc + R"(","site_type_code":"ST"}})";
        }
        out += R"(],"links":[)";
        if (from + locationsPerPage_ < found.size())
            out += R"({"rel":"next","href":")" + server_.url() +
                   r.target.substr(0, r.target.find("&cursor=")) +
                   "&cursor=" + std::to_string(from + locationsPerPage_) + R"("})";
        return {200, out + "]}", {"Content-Type: application/geo+json"}, false};
    }

    HttpReply seriesReply(const HttpRequest& r) {
        std::string out = R"({"type":"FeatureCollection","features":[)";
        bool first = true;
        for (const std::string& location :
             commaList(decoded(queryValue(r.target, "monitoring_location_id")))) {
            const std::string site = location.substr(location.find('-') + 1);
            const auto pages = pages_.find(site);
            if (pages == pages_.end() || pages->second.empty()) continue;
            std::string begin = "9999-12-31";
            std::string end = "0000-01-01";
            for (const auto& page : pages->second)
                for (const RestatedDay& d : page) {
                    begin = std::min(begin, d.date);
                    end = std::max(end, d.date);
                }
            if (!first) out += ",";
            first = false;
            out += R"({"type":"Feature","id":"s-)" + site +
                   R"(","geometry":null,"properties":{"monitoring_location_id":")" + location +
                   R"(","parameter_code":"00060","statistic_id":"00003","begin":")" + begin +
                   R"(","end":")" + end + R"("}})";
        }
        return {200, out + R"(],"links":[]})", {"Content-Type: application/geo+json"}, false};
    }

    HttpReply replyWithin(const HttpRequest& r) {
        if (r.target.starts_with("/collections/monitoring-locations/items?"))
            return locationsReply(r);
        if (r.target.starts_with("/collections/time-series-metadata/items?")) return seriesReply(r);
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
        // The pages of every site listed, one after another; or, with a number of values to a
        // page, all their days in pages of that many, as the service pages them.
        const std::string locationList = queryValue(r.target, "monitoring_location_id");
        std::vector<std::vector<const RestatedDay*>> pages;
        for (const std::string& location : commaList(decoded(locationList)))
            for (const auto& p : pages_[location.substr(location.find('-') + 1)])
                pages.push_back(withinTime(p, r.target));
        if (valuesPerPage_ > 0) pages = repaged(pages);
        const std::string cursor = queryValue(r.target, "cursor");
        const std::size_t page = cursor.empty() ? 0 : std::stoul(cursor);
        std::vector<RestatedDay> days;
        if (page < pages.size())
            for (const RestatedDay* d : pages[page]) days.push_back(*d);
        const std::string next = page + 1 < pages.size()
                                     ? server_.url() +
                                           r.target.substr(0, r.target.find("&cursor=")) +
                                           "&cursor=" + std::to_string(page + 1)
                                     : "";
        return {200, asWaterDataPage(days, next), {"Content-Type: application/geo+json"}, false};
    }

    mutable std::mutex mutex_;
    std::map<std::string, std::string> names_;
    std::map<std::string, Place> places_;
    std::vector<std::string> order_;  // in the order added
    std::size_t locationsPerPage_ = 1000;
    std::size_t valuesPerPage_ = 0;
    long limit_ = 0;  // 0: no allowance told or kept
    long remaining_ = 0;
    int refused_ = 0;
    std::map<std::string, std::vector<std::vector<RestatedDay>>> pages_;
    std::deque<HttpReply> first_;
    LocalHttpServer server_;  // last: stopped before the data it serves goes
};

}  // namespace vd::test
