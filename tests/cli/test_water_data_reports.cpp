// The reference gages restated as Water Data API CSV and GeoJSON give the reports of the
// classic files; only the gage names differ, as API files carry the site number alone.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "../common/water_data_restate.h"
#include "cli_fixture.h"

namespace {

using vd::test::kReference;

struct Gage {
    const char* file;
    const char* name;  // as the classic file names it
    const char* number;
};
const Gage kGages[] = {
    {"09506000_verde_camp_verde_dv_1989-2021.txt", "09506000 VERDE RIVER NEAR CAMP VERDE, AZ",
     "09506000"},
    {"11224000_mf_san_joaquin_mammoth_dv_2009-2021.txt",
     "11224000 MF SAN JOAQUIN R NR MAMMOTH LAKES CA", "11224000"},
    {"08023080_bayou_grand_cane_zeros.txt", "08023080 BAYOU GRAND CANE NEAR STANLEY, LA",
     "08023080"},
};

std::string withSiteNumbersForNames(std::string report) {
    for (const Gage& g : kGages)
        for (std::size_t at; (at = report.find(g.name)) != std::string::npos;)
            report.replace(at, std::string_view(g.name).size(), g.number);
    return report;
}

class WaterDataReports : public vd::test::CliFixture {
  protected:
    WaterDataReports() : CliFixture("vd_cli_water_data") {}

    // The reference gages, each restated by `restate` into a file ending in `suffix`.
    vd::cli::Args restatedFiles(std::string (*restate)(const std::vector<vd::test::RestatedDay>&),
                                bool backwards, const std::string& suffix) {
        vd::cli::Args files;
        for (const Gage& g : kGages) {
            auto days = vd::test::classicDays(vd::test::fileText(kReference / "inputs" / g.file));
            if (backwards) days = vd::test::reversed(std::move(days));
            const std::string path = input(std::string(g.number) + suffix);
            std::ofstream(path, std::ios::binary) << restate(days);
            files.push_back(path);
        }
        return files;
    }

    std::string report(vd::cli::Args args, const vd::cli::Args& files) {
        args.insert(args.end(), files.begin(), files.end());
        EXPECT_EQ(call(args), 0) << err_.str();
        return out_.str();
    }
};

TEST_F(WaterDataReports, MatchTheClassicFilesReports) {
    vd::cli::Args classic;
    for (const Gage& g : kGages) classic.push_back(input(g.file));
    // The GeoJSON is written backwards: the service promises no order.
    const vd::cli::Args csv = restatedFiles(vd::test::asWaterDataCsv, false, ".csv");
    const vd::cli::Args json = restatedFiles(vd::test::asWaterDataGeoJson, true, ".json");
    const vd::cli::Args runs[] = {
        {"run"},
        {"run", "--avg", "7,30", "--bio", "ammonia"},
        {"run", "--nonbio", "perc", "--perc", "10", "--season-start", "Jun 1", "--season-end",
         "Sep 30", "--climatic-year", "0"},
        {"excursions", "--row", "1"},
    };
    for (const vd::cli::Args& args : runs) {
        const std::string expected = withSiteNumbersForNames(report(args, classic));
        ASSERT_GT(std::count(expected.begin(), expected.end(), '\n'), 3) << args[0];
        EXPECT_EQ(report(args, csv), expected) << args.size();
        EXPECT_EQ(report(args, json), expected) << args.size();
    }
}

}  // namespace
