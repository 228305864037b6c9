// A gage fetched from a local stand-in for the Water Data API into a scratch folder, with
// the waits between retries recorded instead of slept, and every file written read back
// by the calculator's own reader.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>

#include "../common/fake_water_data.h"
#include "../common/scratch_dir.h"
#include "errors.h"
#include "flow_text.h"
#include "site_fetch.h"

namespace vd::test {

inline const std::string kSite = "01010000";
inline const std::string kExpectedFile = "01010000_TEST-CREEK-NEAR-SOMEWHERE-ME_2020-2021.txt";

// A week out of date order, with nulls, an empty value and a day given twice alike.
inline std::vector<RestatedDay> testCreekDays() {
    return {{kSite, "2021-01-02", "5.5", "Approved"},     {kSite, "2020-12-31", "", "Approved"},
            {kSite, "2020-12-30", "4", "Approved"},       {kSite, "2021-01-05", "7", "Provisional"},
            {kSite, "2021-01-01", "4.8", "Approved"},     {kSite, "2021-01-02", "5.5", "Approved"},
            {kSite, "2021-01-03", "6.25", "Provisional"}, {kSite, "2021-01-04", "", "Provisional"}};
}

inline std::vector<std::string> filesIn(const std::filesystem::path& dir) {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(dir))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

class SiteFetchFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        service_.addSite(kSite, "TEST CREEK NEAR SOMEWHERE, ME", testCreekDays(), 2);
        options_.baseUrl = service_.url();
        options_.outDir = scratch_.path();
        options_.retrieved = "2024-05-06 07:08:09 UTC";
        options_.retry.firstWait = std::chrono::milliseconds(10);
        options_.retry.sleep = [this](std::chrono::milliseconds w) { waits_.push_back(w); };
    }

    // The failure's message, or "" when the site was fetched (and its files read back).
    std::string failureOf(const std::string& site) {
        try {
            for (const auto& path : vd::fetch::fetchSite(site, options_)) expectReadsBack(path);
            return "";
        } catch (const vd::Error& e) {
            EXPECT_TRUE(vd::isFetchFailure(e.code())) << e.what();
            return e.what();
        }
    }

    // The calculator reads every record of a fetched file, each a day with a discharge.
    static void expectReadsBack(const std::filesystem::path& path) {
        const std::string text = fileText(path);
        const vd::ParsedFlowFile parsed = vd::parseFlowText(text, path.string());
        EXPECT_FALSE(parsed.failure) << path;
        EXPECT_EQ(parsed.names.size(), 1u) << path;
        const auto lines = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
        EXPECT_EQ(parsed.records.size(), lines - 19) << path;  // the header has 19 lines
        for (const vd::FlowRecord& r : parsed.records) EXPECT_TRUE(r.hasFlow) << path;
    }

    FakeWaterData service_;
    ScratchDir scratch_{"vd_fetch"};
    vd::fetch::FetchOptions options_;
    std::vector<std::chrono::milliseconds> waits_;
};

}  // namespace vd::test
