// The gages of a region from a local stand-in for the Water Data API: found by state,
// county, hydrologic unit or box and by their record's dates, fetched several to a request,
// each written as a single-site fetch writes it, within the hourly allowance.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include "many_sites.h"
#include "site_fetch_fixture.h"

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using vd::test::filesIn;
using vd::test::fileText;
using vd::test::RestatedDay;

namespace {

std::vector<RestatedDay> daysOf(const std::string& site, const std::string& year) {
    std::vector<RestatedDay> days;
    for (const char* date : {"-03-01", "-03-02", "-03-03", "-03-04"})
        days.push_back({site, year + date, "12.5", "Approved"});
    return days;
}

std::vector<std::string> numbersOf(const std::vector<vd::fetch::FoundSite>& sites) {
    std::vector<std::string> numbers;
    for (const auto& s : sites) numbers.push_back(s.id.number);
    return numbers;
}

class ManySites : public vd::test::SiteFetchFixture {
  protected:
    // The single-site fixture's options, without its gage.
    void SetUp() override {
        options_.baseUrl = service_.url();
        options_.outDir = scratch_.path();
        options_.retrieved = "2024-05-06 07:08:09 UTC";
        options_.retry.firstWait = 10ms;
        options_.retry.sleep = [this](std::chrono::milliseconds w) { waits_.push_back(w); };
        // Three Arizona gages in two counties and two basins, one in New Mexico, a listed
        // gage without daily values and one whose record ended long ago.
        service_.addSite("09500001", "ONE CREEK, AZ", daysOf("09500001", "2021"), 2);
        service_.addSite("09500002", "TWO CREEK, AZ", daysOf("09500002", "2021"), 1,
                         {"04", "013", "15060106", -112.0, 33.5});
        service_.addSite("08300003", "THREE RIVER, NM", daysOf("08300003", "2021"), 1,
                         {"35", "001", "13020203", -106.6, 35.1});
        service_.addLocationOnly("09500004", "NO FLOW WELL, AZ");
        service_.addSite("09500005", "OLD CREEK, AZ", daysOf("09500005", "1990"), 1);
        service_.addSite("09500006", "SIX CREEK, AZ", daysOf("09500006", "2021"), 1,
                         {"04", "025", "15060202", -111.7, 34.6});
        options_.start = "2020-01-01";
    }

    std::vector<vd::fetch::FoundSite> find(const vd::fetch::SiteFilter& filter) {
        return vd::fetch::findSites(filter, options_, allowance_);
    }

    std::vector<vd::fetch::SiteOutcome> fetchAll(const std::vector<vd::fetch::FoundSite>& sites,
                                                 std::size_t perRequest) {
        std::vector<vd::fetch::SiteOutcome> outcomes;
        vd::fetch::fetchSites(
            sites, options_, allowance_,
            [&](const vd::fetch::SiteOutcome& o) { outcomes.push_back(o); }, perRequest);
        return outcomes;
    }

    vd::fetch::RateAllowance allowance_;
};

TEST_F(ManySites, TheFilterAndTheDatesChooseTheGages) {
    struct Case {
        vd::fetch::SiteFilter filter;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {{"04", "", "", {}}, {"09500001", "09500002", "09500006"}},
        {{"04", "025", "", {}}, {"09500001", "09500006"}},
        {{"", "", "150602", {}}, {"09500001", "09500006"}},
        {{"04", "", "1506010", {}}, {"09500002"}},
        {{"", "", "", vd::fetch::BoundingBox{-112.5, 33.0, -111.9, 34.0}}, {"09500002"}},
        {{"35", "", "", {}}, {"08300003"}},
        {{"", "", "", vd::fetch::BoundingBox{0, 0, 1, 1}}, {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(numbersOf(find(c.filter)), c.expected)
            << c.filter.stateCode << " " << c.filter.countyCode << " " << c.filter.hucPrefix;
    const auto sites = find({"04", "", "", {}});
    ASSERT_FALSE(sites.empty());
    EXPECT_EQ(sites[0].name, "ONE CREEK, AZ");
    EXPECT_EQ(sites[0].id.locationId, "USGS-09500001");
}

TEST_F(ManySites, LocationsComeInPagesAndTheOldRecordCountsWithoutDates) {
    service_.setLocationsPerPage(2);
    options_.start.clear();
    EXPECT_EQ(numbersOf(find({"04", "", "", {}})),
              (std::vector<std::string>{"09500001", "09500002", "09500005", "09500006"}));
}

TEST_F(ManySites, SeveralSitesGoInOneRequestAndEachGetsItsOwnFile) {
    const auto sites = find({"04", "", "", {}});
    const std::size_t before = service_.requests().size();
    const auto outcomes = fetchAll(sites, 2);
    ASSERT_EQ(outcomes.size(), 3u);
    for (const auto& o : outcomes) {
        EXPECT_EQ(o.error, "") << o.site.id.number;
        ASSERT_EQ(o.written.size(), 1u) << o.site.id.number;
        EXPECT_TRUE(o.written[0].filename().string().starts_with(o.site.id.number));
        expectReadsBack(o.written[0]);
        // Each file holds its own site's days only.
        EXPECT_EQ(vd::parseFlowText(fileText(o.written[0]), "f").records.size(), 4u);
    }
    const auto requests = service_.requests();
    // Sites 1 and 2 in one request, its three pages (site 1 has two) joined by links, then
    // site 6; no name is asked for, the search gave them.
    ASSERT_EQ(requests.size() - before, 4u);
    EXPECT_NE(requests[before].target.find("monitoring_location_id=USGS-09500001,USGS-09500002"),
              std::string::npos)
        << requests[before].target;
    for (std::size_t i = before; i < requests.size(); ++i)
        EXPECT_TRUE(requests[i].target.starts_with("/collections/daily/items?"));
}

TEST_F(ManySites, ASiteWithoutValuesFailsAloneAndAGroupThatFailsNamesItsSites) {
    std::vector<vd::fetch::FoundSite> sites = find({"04", "", "", {}});
    sites.insert(sites.begin() + 1, {vd::fetch::checkedSite("09500004"), "NO FLOW WELL, AZ"});
    options_.retry.attempts = 1;
    service_.replyFirst({200, "not json", {}, false});  // the first group's page
    const auto outcomes = fetchAll(sites, 2);
    ASSERT_EQ(outcomes.size(), 4u);
    EXPECT_NE(outcomes[0].error.find("not whole JSON"), std::string::npos) << outcomes[0].error;
    EXPECT_EQ(outcomes[1].error, outcomes[0].error);
    EXPECT_EQ(outcomes[2].error, "");
    EXPECT_EQ(outcomes[3].error, "");
    EXPECT_EQ(filesIn(scratch_.path()).size(), 2u);

    const auto again = fetchAll({sites[1]}, 2);
    ASSERT_EQ(again.size(), 1u);
    EXPECT_EQ(again[0].error,
              "Site 09500004: the service has no daily mean discharge in the dates asked for");
}

TEST_F(ManySites, TheFetchingPausesWhenTheAllowanceIsSpentInsteadOfBeingRefused) {
    service_.setAllowance(2, 2);
    std::vector<std::chrono::milliseconds> pauses;
    options_.retry.sleep = [&](std::chrono::milliseconds w) {
        pauses.push_back(w);
        service_.renewAllowance();  // the hour turns while the fetching waits
    };
    const auto sites = find({"04", "", "", {}});  // two requests
    const auto outcomes = fetchAll(sites, 1);     // four more: site 1 has two pages
    ASSERT_EQ(outcomes.size(), 3u);
    for (const auto& o : outcomes) EXPECT_EQ(o.error, "") << o.site.id.number;
    EXPECT_EQ(service_.refusedForRate(), 0);
    EXPECT_EQ(pauses, (std::vector<std::chrono::milliseconds>{60000ms, 60000ms}));
    EXPECT_EQ(allowance_.requests(), 6);
    EXPECT_EQ(allowance_.limit(), 2);
    EXPECT_EQ(allowance_.paused(), 120000ms);
}

TEST(RegionTexts, StatesAndBoxesAreReadOrRefused) {
    struct StateCase {
        const char* text;
        std::optional<std::string> fips;
    };
    const StateCase states[] = {{"AZ", "04"}, {"az", "04"}, {"04", "04"}, {"4", "04"},
                                {"PR", "72"}, {"DC", "11"}, {"03", {}},   {"XX", {}},
                                {"", {}},     {"ARIZ", {}}, {"123", {}}};
    for (const StateCase& c : states) EXPECT_EQ(vd::fetch::stateFipsCode(c.text), c.fips) << c.text;

    const auto box = vd::fetch::boundingBox("-112.5,33,-111.25,34.5");
    ASSERT_TRUE(box);
    EXPECT_EQ(box->west, -112.5);
    EXPECT_EQ(box->north, 34.5);
    for (const char* bad : {"", "1,2,3", "1,2,3,4,5", "-111,33,-112,34", "-112,34,-111,33",
                            "-190,0,0,1", "a,b,c,d", "1,,3,4", "-112,33,-111,34,"})
        EXPECT_FALSE(vd::fetch::boundingBox(bad)) << bad;
}

}  // namespace
