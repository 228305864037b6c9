// The Water Data API's CSV and GeoJSON files: told from the classic layouts by content,
// read into the same records, and refused with the place of the fault.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>

#include "../common/error_assertions.h"
#include "../common/scratch_dir.h"
#include "errors.h"
#include "flow_format.h"
#include "gage_rows.h"
#include "vd_calc.h"

using namespace vd;

namespace {

const std::string kCsvHeader =
    "x,y,id,time_series_id,monitoring_location_id,parameter_code,statistic_id,time,value,"
    "unit_of_measure,approval_status,qualifier,last_modified\n";

std::string csvLine(const std::string& series, const std::string& site, const std::string& time,
                    const std::string& value, const std::string& parameter = "00060",
                    const std::string& unit = "ft^3/s") {
    return ",,id," + series + ",USGS-" + site + "," + parameter + ",00003," + time + "," + value +
           "," + unit + ",Approved,,2024-01-01\n";
}

std::string feature(const std::string& series, const std::string& site, const std::string& time,
                    const std::string& valueJson, const std::string& unit = "ft^3/s") {
    return R"({"type":"Feature","id":"x","geometry":null,"properties":{"time_series_id":")" +
           series + R"(","monitoring_location_id":"USGS-)" + site +
           R"(","parameter_code":"00060","statistic_id":"00003","time":")" + time +
           R"(","value":)" + valueJson + R"(,"unit_of_measure":")" + unit +
           R"(","approval_status":"Provisional","qualifier":null,"last_modified":null}})";
}

std::string collection(const std::vector<std::string>& features) {
    std::string out = R"({"type":"FeatureCollection","features":[)";
    for (std::size_t i = 0; i < features.size(); ++i) out += (i ? "," : "") + features[i];
    return out + R"(],"numberReturned":)" + std::to_string(features.size()) + "}";
}

struct Day {
    int year, month, day;
    double q;
    bool first;
};

void expectDays(const ParsedFlowFile& f, const std::vector<Day>& days) {
    ASSERT_EQ(f.records.size(), days.size());
    for (std::size_t i = 0; i < days.size(); ++i) {
        const FlowRecord& r = f.records[i];
        EXPECT_EQ(r.myr + 1900, days[i].year) << i;
        EXPECT_EQ(r.month, days[i].month) << i;
        EXPECT_EQ(r.mday, days[i].day) << i;
        EXPECT_EQ(r.q, days[i].q) << i;
        EXPECT_EQ(r.siteChanged, days[i].first) << i;
        EXPECT_TRUE(r.hasFlow) << i;
    }
}

}  // namespace

TEST(WaterDataFormat, IsToldByContentNotName) {
    struct Case {
        std::string text;
        FlowFormat format;
    };
    const Case cases[] = {
        {kCsvHeader, FlowFormat::WaterDataCsv},
        {"\xEF\xBB\xBFtime,value,monitoring_location_id\r\n", FlowFormat::WaterDataCsv},
        {"\"monitoring_location_id\",\"time\",\"value\"\n", FlowFormat::WaterDataCsv},
        {"  \n{\"type\":\"FeatureCollection\"}", FlowFormat::WaterDataGeoJson},
        {"# U.S. Geological Survey\r\nagency_cd\tsite_no\r\n", FlowFormat::Classic},
        {"VERDE RIVER, time,value\n89 1 1 207\n", FlowFormat::Classic},  // an old flow file
        {"time,value\n", FlowFormat::Classic},
        {"", FlowFormat::Classic},
    };
    for (const Case& c : cases) EXPECT_EQ(flowFormatOf(c.text), c.format) << c.text;
}

TEST(WaterDataCsv, ReadsDailyMeanDischargeByColumnName) {
    // Columns in another order, a quoted qualifier holding commas and quotes, CR LF breaks,
    // a null, another parameter, days out of order and a day given twice alike.
    const std::string text =
        "value,time,qualifier,monitoring_location_id,time_series_id,parameter_code,"
        "statistic_id,unit_of_measure\r\n"
        "12.5,2001-01-02,\"[\"\"ICE\"\", \"\"EST\"\"]\",USGS-01,ts1,00060,00003,ft^3/s\r\n"
        "11,2001-01-01,,USGS-01,ts1,00060,00003,ft^3/s\r\n"
        ",2001-01-03,,USGS-01,ts1,00060,00003,ft^3/s\r\n"
        "9.1,2001-01-03,,USGS-01,ts1,00010,00003,degC\r\n"
        "11,2001-01-01,,USGS-01,ts1,00060,00003,ft^3/s\r\n"
        "\r\n";
    const ParsedFlowFile f = parseAnyFlowText(text, "a.csv");
    EXPECT_TRUE(f.nwis);
    EXPECT_EQ(f.names, std::vector<std::string>{"01"});
    expectDays(f,
               {{2001, 1, 1, 11, true}, {2001, 1, 2, 12.5, false}, {2001, 1, 3, unknown, false}});
    EXPECT_EQ(f.records[0].line, 3);  // the first of the two alike
    EXPECT_EQ(f.records[1].line, 2);
}

TEST(WaterDataReader, GivesEachSeriesItsOwnGageInOrderOfFirstAppearance) {
    const std::string csv = kCsvHeader + csvLine("bbbbbbbbbbbb", "02", "1990-05-01", "3") +
                            csvLine("aaaaaaaaaaaa", "01", "1990-05-01", "1") +
                            csvLine("cccccccccccc", "02", "1990-05-01", "4") +
                            csvLine("aaaaaaaaaaaa", "01", "1990-05-02", "2");
    const std::string json = collection({feature("bbbbbbbbbbbb", "02", "1990-05-01", "3"),
                                         feature("aaaaaaaaaaaa", "01", "1990-05-01", "1"),
                                         feature("cccccccccccc", "02", "1990-05-01", "4"),
                                         feature("aaaaaaaaaaaa", "01", "1990-05-02", "2")});
    for (const std::string& text : {csv, json}) {
        const ParsedFlowFile f = parseAnyFlowText(text, "two");
        EXPECT_EQ(f.names, (std::vector<std::string>{"02 bbbbbbbb", "01", "02 cccccccc"}));
        expectDays(f, {{1990, 5, 1, 3, true},
                       {1990, 5, 1, 1, true},
                       {1990, 5, 2, 2, false},
                       {1990, 5, 1, 4, true}});
    }
}

TEST(WaterDataGeoJson, ReadsValuesGivenAsTextNumbersOrNull) {
    const ParsedFlowFile f =
        parseAnyFlowText(collection({feature("t", "09506000", "2000-03-01", "\"7.25\""),
                                     feature("t", "09506000", "2000-02-29", "6"),
                                     feature("t", "09506000", "2000-03-02", "null"),
                                     feature("t", "09506000", "2000-03-03", "\"\"")}),
                         "f.json");
    EXPECT_EQ(f.names, std::vector<std::string>{"09506000"});
    expectDays(f, {{2000, 2, 29, 6, true},
                   {2000, 3, 1, 7.25, false},
                   {2000, 3, 2, unknown, false},
                   {2000, 3, 3, unknown, false}});
    EXPECT_EQ(f.records[0].line, 2);  // feature number
}

TEST(WaterDataReader, RefusesWhatItCannotReadNamingThePlace) {
    const std::string ok = csvLine("t", "01", "2001-01-01", "1");
    struct Case {
        std::string name;
        std::string text;
        std::string message;
        bool convertError;
    };
    const Case cases[] = {
        {"c.csv", kCsvHeader + ok + csvLine("t", "01", "2001-01-02", "1", "00060", "m^3/s"),
         "Daily discharge is given in 'm^3/s'; only ft^3/s is read at line 3 of c.csv", false},
        {"c.csv", kCsvHeader + ok + csvLine("t", "01", "2001-01-01", "2"),
         "The date 2001-01-01 is given twice with different values at line 3 of c.csv", false},
        {"c.csv", kCsvHeader + ok + csvLine("t", "01", "2001-02-29", "2"),
         "'2001-02-29' is not a valid date at line 3 of c.csv", true},
        {"c.csv", kCsvHeader + csvLine("t", "01", "2001-01-01", "1.5x"),
         "'1.5x' is not a valid floating point value at line 2 of c.csv", true},
        {"c.csv", kCsvHeader + ok + ",,\"open", "A quoted field is not closed at line 3 of c.csv",
         true},
        {"c.csv", "monitoring_location_id,time,value\nUSGS-1,2001-01-01,3\n",
         "The header of c.csv names no column 'parameter_code'", false},
        {"c.csv", kCsvHeader + csvLine("t", "01", "2001-01-01", "1", "00010"),
         "The file \"c.csv\" holds no daily mean discharge (parameter 00060, statistic 00003)",
         false},
        {"g.json",
         collection({feature("t", "01", "2001-01-01", "1"), feature("t", "01", "2001-01-01", "2")}),
         "The date 2001-01-01 is given twice with different values at feature 2 of g.json", false},
        {"g.json", collection({feature("t", "01", "2001-01-01", "1", "L/s")}),
         "Daily discharge is given in 'L/s'; only ft^3/s is read at feature 1 of g.json", false},
        {"g.json", collection({feature("t", "01", "2001-1-01", "1")}),
         "'2001-1-01' is not a valid date at feature 1 of g.json", true},
        {"g.json", collection({feature("t", "01", "2001-01-01", "true")}),
         "The property 'value' is not a string at feature 1 of g.json", true},
        {"g.json", R"({"type":"FeatureCollection","features":[1]})",
         "A feature is not an object at feature 1 of g.json", true},
        {"g.json", R"({"type":"Feature","features":[]})",
         "The file g.json is not a GeoJSON FeatureCollection", false},
        {"g.json", R"({"type":"FeatureCollection","features":[)",
         "The file g.json is not valid JSON", true},
    };
    for (const Case& c : cases) {
        try {
            parseAnyFlowText(c.text, c.name);
            ADD_FAILURE() << "no failure for: " << c.message;
        } catch (const Error& e) {
            EXPECT_EQ(std::string(e.what()).substr(0, c.message.size()), c.message);
            EXPECT_EQ(e.code() == ErrorCode::conversion, c.convertError) << c.message;
        }
    }
}

TEST(WaterDataReader, ReadingAnApiFileLeavesItAsItIs) {
    const vd::test::ScratchDir dir("vd_water_data");
    const std::string text = kCsvHeader + csvLine("t", "09506000", "1990-04-01", "5") +
                             csvLine("t", "09506000", "1991-03-31", "6");
    const auto path = dir.path() / "daily.csv";
    std::ofstream(path, std::ios::binary) << text;
    const std::vector<GageSeries> s = readGageSeries(path.string(), "Apr 1", "Mar 31", {}, nullptr);
    ASSERT_EQ(s.size(), 1u);
    EXPECT_EQ(s[0].name, "09506000");
    EXPECT_EQ(s[0].firstYear, 90);  // the season from April 1990
    EXPECT_EQ(s[0].lastYear, 91);   // to March 1991
    EXPECT_EQ(vd::test::fileText(path), text);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()),
                            std::filesystem::directory_iterator()),
              1);
}
