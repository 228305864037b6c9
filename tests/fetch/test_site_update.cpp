// Updating fetched files: only the days after the last one and the provisional ones are
// asked for again, the file is rewritten whole and reads as a whole new fetch would, and a
// file fetching did not write is left alone.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "many_sites.h"
#include "site_fetch_fixture.h"

namespace fs = std::filesystem;
using vd::test::filesIn;
using vd::test::fileText;
using vd::test::kExpectedFile;
using vd::test::kSite;
using vd::test::RestatedDay;

namespace {

// The same week with the provisional days approved (one revised) and two days more.
std::vector<RestatedDay> revisedDays() {
    return {
        {kSite, "2020-12-30", "4", "Approved"},     {kSite, "2020-12-31", "", "Approved"},
        {kSite, "2021-01-01", "4.8", "Approved"},   {kSite, "2021-01-02", "5.5", "Approved"},
        {kSite, "2021-01-03", "6.5", "Approved"},   {kSite, "2021-01-04", "6.75", "Approved"},
        {kSite, "2021-01-05", "7", "Approved"},     {kSite, "2021-01-06", "7.25", "Provisional"},
        {kSite, "2021-01-07", "7.5", "Provisional"}};
}

std::string withoutRetrieved(std::string text) {
    const std::size_t at = text.find("# retrieved: ");
    return at == std::string::npos ? text : text.erase(at, text.find('\n', at) - at);
}

class SiteUpdate : public vd::test::SiteFetchFixture {
  protected:
    fs::path fetchedFile() {
        const auto written = vd::fetch::fetchSite(kSite, options_);
        EXPECT_EQ(written.size(), 1u);
        return written.empty() ? fs::path() : written[0];
    }

    // What a whole fetch of the service as it is now writes, in a folder of its own.
    std::string wholeFetchNow() {
        vd::fetch::FetchOptions whole = options_;
        whole.update = false;
        whole.outDir = scratch_.path() / "whole";
        const auto written = vd::fetch::fetchSite(kSite, whole);
        return written.size() == 1 ? withoutRetrieved(fileText(written[0])) : "";
    }
};

TEST_F(SiteUpdate, AsksFromTheFirstProvisionalDayAndWritesWhatAWholeFetchWould) {
    const fs::path first = fetchedFile();
    service_.addSite(kSite, "TEST CREEK NEAR SOMEWHERE, ME", revisedDays(), 2);
    options_.update = true;
    const std::size_t before = service_.requests().size();
    const auto written = vd::fetch::fetchSite(kSite, options_);
    ASSERT_EQ(written, std::vector<fs::path>{first});
    expectReadsBack(first);

    const auto requests = service_.requests();
    // The provisional days were 3 to 5 January: asked again from the 3rd, in two pages; the
    // name is the file's, not asked for.
    ASSERT_EQ(requests.size() - before, 2u);
    EXPECT_NE(requests[before].target.find("time=2021-01-03%2F.."), std::string::npos)
        << requests[before].target;
    EXPECT_EQ(withoutRetrieved(fileText(first)), wholeFetchNow());
    EXPECT_EQ(filesIn(scratch_.path()), (std::vector<std::string>{kExpectedFile, "whole"}));
}

TEST_F(SiteUpdate, AFileWithNothingNewIsLeftAsItIs) {
    service_.addSite(
        kSite, "TEST CREEK NEAR SOMEWHERE, ME",
        {{kSite, "2021-01-01", "4.8", "Approved"}, {kSite, "2021-01-02", "5", "Approved"}}, 1);
    const fs::path first = fetchedFile();
    const std::string text = fileText(first);
    const auto written = fs::last_write_time(first);
    options_.update = true;
    options_.retrieved = "2030-01-01 00:00:00 UTC";  // a rewrite would show it
    EXPECT_EQ(vd::fetch::fetchSite(kSite, options_), std::vector<fs::path>{first});
    EXPECT_EQ(fileText(first), text);
    EXPECT_EQ(fs::last_write_time(first), written);
    EXPECT_NE(service_.requests().back().target.find("time=2021-01-03%2F.."), std::string::npos);
}

TEST_F(SiteUpdate, ANewYearRenamesTheFileAndAForeignFileIsNotTouched) {
    const fs::path first = fetchedFile();
    std::vector<RestatedDay> days = revisedDays();
    days.push_back({kSite, "2022-01-01", "8", "Provisional"});
    service_.addSite(kSite, "TEST CREEK NEAR SOMEWHERE, ME", days, 1);
    // Named like the site's files, but not written by fetching: never read as one, never removed.
    const fs::path foreign = scratch_.path() / (kSite + "_my-own-notes.txt");
    std::ofstream(foreign) << "agency_cd\tsite_no\n";
    options_.update = true;
    const auto written = vd::fetch::fetchSite(kSite, options_);
    ASSERT_EQ(written.size(), 1u);
    EXPECT_EQ(written[0].filename().string(),
              "01010000_TEST-CREEK-NEAR-SOMEWHERE-ME_2020-2022.txt");
    EXPECT_FALSE(fs::exists(first));
    EXPECT_EQ(fileText(foreign), "agency_cd\tsite_no\n");
    EXPECT_EQ(withoutRetrieved(fileText(written[0])), wholeFetchNow());
}

TEST_F(SiteUpdate, ARegionAsksOnceForItsSitesFromTheEarliestDayOneNeeds) {
    service_.addSite("01010002", "SECOND CREEK, ME", {{"01010002", "2021-01-01", "3", "Approved"}},
                     1);
    vd::fetch::RateAllowance allowance;
    const auto sites = vd::fetch::findSites({"04", "", "", {}}, options_, allowance);
    ASSERT_EQ(sites.size(), 2u);
    const auto fetchAll = [&] {
        std::vector<vd::fetch::SiteOutcome> outcomes;
        vd::fetch::fetchSites(sites, options_, allowance,
                              [&](const vd::fetch::SiteOutcome& o) { outcomes.push_back(o); });
        return outcomes;
    };
    ASSERT_EQ(fetchAll().size(), 2u);
    service_.addSite(kSite, "TEST CREEK NEAR SOMEWHERE, ME", revisedDays(), 1);
    options_.update = true;
    const std::size_t before = service_.requests().size();
    const auto outcomes = fetchAll();
    ASSERT_EQ(outcomes.size(), 2u);
    for (const auto& o : outcomes) EXPECT_EQ(o.error, "") << o.site.id.number;
    const auto requests = service_.requests();
    // One request for both (the stand-in serves each site's days on a page of its own, joined
    // by a link). The second creek needs the days from 2 January, the test creek from the 3rd.
    ASSERT_EQ(requests.size() - before, 2u);
    EXPECT_NE(requests[before].target.find("monitoring_location_id=USGS-01010000,USGS-01010002"),
              std::string::npos);
    EXPECT_NE(requests[before].target.find("time=2021-01-02%2F.."), std::string::npos)
        << requests[before].target;
    EXPECT_EQ(withoutRetrieved(fileText(outcomes[0].written.at(0))), wholeFetchNow());
}

}  // namespace
