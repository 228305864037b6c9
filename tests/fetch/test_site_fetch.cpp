// Fetching a gage from a local stand-in for the Water Data API: pages joined by "next",
// busy and failing answers, bodies cut short, unknown sites, and what is left on disk.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include "site_fetch_fixture.h"

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using vd::test::RestatedDay;

using vd::test::filesIn;
using vd::test::fileText;
using vd::test::kExpectedFile;
using vd::test::kSite;
using vd::test::testCreekDays;
using SiteFetch = vd::test::SiteFetchFixture;

TEST_F(SiteFetch, JoinsPagesAndWritesTheClassicLayout) {
    options_.apiKey = "secret-key";
    options_.allowInsecureKey = true;  // the local server speaks plain http
    options_.start = "2020-12-30";
    options_.end = "2021-01-05";
    const auto written = vd::fetch::fetchSite("USGS-" + kSite, options_);
    ASSERT_EQ(written.size(), 1u);
    EXPECT_EQ(written[0].filename().string(), kExpectedFile);
    EXPECT_EQ(fileText(written[0]), fileText(fs::path(VANDO_TEST_DATA) / "fetch" / kExpectedFile));
    EXPECT_EQ(filesIn(scratch_.path()), std::vector<std::string>{kExpectedFile});
    expectReadsBack(written[0]);

    const auto requests = service_.requests();
    ASSERT_EQ(requests.size(), 3u);  // two pages, then the name
    const std::string& first = requests[0].target;
    for (const char* part : {"/collections/daily/items?", "monitoring_location_id=USGS-01010000",
                             "parameter_code=00060", "statistic_id=00003", "skipGeometry=true",
                             "limit=", "time=2020-12-30%2F2021-01-05"})
        EXPECT_NE(first.find(part), std::string::npos) << part << " in " << first;
    EXPECT_NE(requests[1].target.find("cursor=1"), std::string::npos);
    EXPECT_TRUE(
        requests[2].target.starts_with("/collections/monitoring-locations/items/USGS-01010000"));
    for (const auto& r : requests) EXPECT_EQ(r.headers.at("x-api-key"), "secret-key");
    EXPECT_TRUE(waits_.empty());
}

TEST_F(SiteFetch, SendsNoKeyWhenNoneIsGiven) {
    ASSERT_EQ(failureOf(kSite), "");
    for (const auto& r : service_.requests()) EXPECT_EQ(r.headers.count("x-api-key"), 0u);
}

TEST_F(SiteFetch, WaitsOutBusyAnswers) {
    struct Case {
        std::vector<vd::test::HttpReply> first;
        std::vector<std::chrono::milliseconds> waits;
    };
    const Case cases[] = {
        {{{429, "slow down", {"Retry-After: 3"}, false}}, {3000ms}},   // the service's wait
        {{{503, "", {}, false}, {502, "", {}, false}}, {10ms, 20ms}},  // doubling from the first
        {{{429, "", {"Retry-After: 900"}, false}}, {60000ms}},         // cut to the longest wait
    };
    for (const Case& c : cases) {
        waits_.clear();
        for (const auto& r : c.first) service_.replyFirst(r);
        EXPECT_EQ(failureOf(kSite), "");
        EXPECT_EQ(waits_, c.waits);
        EXPECT_EQ(filesIn(scratch_.path()), std::vector<std::string>{kExpectedFile});
    }
}

TEST_F(SiteFetch, FailsTheSiteClearlyAndLeavesNoFile) {
    struct Case {
        std::string site;
        std::vector<vd::test::HttpReply> first;
        std::string message;  // the start of the failure's message
        std::size_t waits;
    };
    const vd::test::HttpReply failing{500, "oops", {}, false};
    const Case cases[] = {
        {kSite, {failing, failing, failing}, "The service answered HTTP 500 after 3 attempts", 2},
        {kSite,
         {{200, R"({"type":"FeatureCollection","features":[{"type":)", {}, true}},
         "The answer from " + service_.url() + "/collections/daily/items",
         0},
        {kSite,
         {{200, R"({"type":"FeatureCollection","features":[{"type":)", {}, false}},
         "The answer from ",
         0},
        {kSite, {{403, "no", {}, false}}, "The service answered HTTP 403 for ", 0},
        {"09999999", {}, "Site 09999999: the service has no daily mean discharge", 0},
    };
    for (const Case& c : cases) {
        waits_.clear();
        for (const auto& r : c.first) service_.replyFirst(r);
        const std::string message = failureOf(c.site);
        EXPECT_EQ(message.substr(0, c.message.size()), c.message) << message;
        EXPECT_EQ(waits_.size(), c.waits) << c.message;
        EXPECT_TRUE(filesIn(scratch_.path()).empty()) << c.message;
    }
}

TEST_F(SiteFetch, WritesOneFilePerSeriesOfASite) {
    std::vector<RestatedDay> days = testCreekDays();
    for (RestatedDay d : testCreekDays()) {
        d.series = "ffffffff00001111";
        days.push_back(d);
    }
    service_.addSite("02020000", "OTHER RIVER AT TOWN", days, 3);
    const auto written = vd::fetch::fetchSite("02020000", options_);
    ASSERT_EQ(written.size(), 2u);
    EXPECT_EQ(written[0].filename(), "02020000_OTHER-RIVER-AT-TOWN_2020-2021_a1b2c3d4.txt");
    EXPECT_EQ(written[1].filename(), "02020000_OTHER-RIVER-AT-TOWN_2020-2021_ffffffff.txt");
    for (const auto& path : written) expectReadsBack(path);
}

TEST_F(SiteFetch, RefusesADateGivenTwiceWithDifferentValues) {
    std::vector<RestatedDay> days = testCreekDays();
    days.push_back({"03030000", "2021-01-03", "9", "Approved"});
    for (RestatedDay& d : days) d.site = "03030000";
    service_.addSite("03030000", "X", days, 1);
    EXPECT_EQ(failureOf("03030000"),
              "Site 03030000: the date 2021-01-03 is given twice with different values");
    EXPECT_TRUE(filesIn(scratch_.path()).empty());
}
