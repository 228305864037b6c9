#include "water_data_geojson.h"

#include <array>
#include <nlohmann/json.hpp>

#include "errors.h"
#include "water_data_values.h"

namespace vd {
namespace {

using Json = nlohmann::json;

std::string_view withoutByteOrderMark(std::string_view text) {
    constexpr std::string_view bom = "\xEF\xBB\xBF";
    return text.starts_with(bom) ? text.substr(bom.size()) : text;
}

// The properties read from a feature; the others are passed over.
enum Property { kSite, kSeries, kParameter, kStatistic, kTime, kValue, kUnit, kProperties, kOther };
constexpr std::array<std::string_view, kProperties> kPropertyNames = {
    "monitoring_location_id", "time_series_id", "parameter_code", "statistic_id", "time", "value",
    "unit_of_measure"};

Property propertyNamed(std::string_view name) {
    for (std::size_t p = 0; p < kProperties; ++p)
        if (kPropertyNames[p] == name) return static_cast<Property>(p);
    return kOther;
}

// Reads the collection as a stream of parse events, so that no document is built: each
// feature's properties are kept only until the feature ends. Nesting levels: 1 the
// collection, 2 the items of its "features", 3 a feature, 4 its properties.
class FeatureReader : public nlohmann::json_sax<Json> {
  public:
    FeatureReader(WaterDataValues& values, const std::string& fileName)
        : values_(values), fileName_(fileName) {}

    // After the whole text: it was a FeatureCollection.
    void checkCollection() const {
        if (type_ != "FeatureCollection" || !sawFeatures_) notACollection();
    }

    bool null() override { return scalar(Kind::Null, {}); }
    bool boolean(bool) override { return scalar(Kind::Other, {}); }
    bool number_integer(number_integer_t v) override {
        spelled_ = std::to_string(v);
        return scalar(Kind::Number, spelled_);
    }
    bool number_unsigned(number_unsigned_t v) override {
        spelled_ = std::to_string(v);
        return scalar(Kind::Number, spelled_);
    }
    bool number_float(number_float_t, const string_t& text) override {
        return scalar(Kind::Number, text);
    }
    bool string(string_t& s) override { return scalar(Kind::String, s); }
    bool binary(binary_t&) override { return scalar(Kind::Other, {}); }

    bool start_object(std::size_t) override {
        if (inFeatures_ && depth_ == 2) startFeature();
        if (inFeature_ && depth_ == 3 && featureKey_ == "properties") {
            inProperties_ = true;
            sawProperties_ = true;
        }
        ++depth_;
        return true;
    }
    bool end_object() override {
        --depth_;
        if (inProperties_ && depth_ == 3) inProperties_ = false;
        if (inFeature_ && depth_ == 2) endFeature();
        return true;
    }
    bool start_array(std::size_t) override {
        if (depth_ == 0) notACollection();
        if (inFeatures_ && depth_ == 2) notAnObject();
        if (depth_ == 1 && rootKey_ == "features") inFeatures_ = sawFeatures_ = true;
        ++depth_;
        return true;
    }
    bool end_array() override {
        --depth_;
        if (depth_ == 1) inFeatures_ = false;
        return true;
    }
    bool key(string_t& k) override {
        if (depth_ == 1) rootKey_ = k;
        if (inFeature_ && depth_ == 3) featureKey_ = k;
        if (inProperties_ && depth_ == 4) property_ = propertyNamed(k);
        return true;
    }
    bool parse_error(std::size_t, const std::string&,
                     const nlohmann::detail::exception& e) override {
        throw Error(ErrorCode::conversion,
                    "The file " + fileName_ + " is not valid JSON: " + e.what());
    }

  private:
    enum class Kind { Null, String, Number, Other };

    bool scalar(Kind kind, std::string_view text) {
        if (depth_ == 0) notACollection();
        if (depth_ == 1 && rootKey_ == "type") type_ = text;
        if (inFeatures_ && depth_ == 2) notAnObject();
        if (inProperties_ && depth_ == 4 && property_ != kOther) setProperty(kind, text);
        return true;
    }

    void setProperty(Kind kind, std::string_view text) {
        const bool fits = kind == Kind::String || kind == Kind::Null ||
                          (kind == Kind::Number && property_ == kValue);
        if (!fits)
            fail("The property '" + std::string(kPropertyNames[property_]) + "' is not a string");
        texts_[property_] = text;
        given_[property_] = kind != Kind::Null;
    }

    void startFeature() {
        ++number_;
        inFeature_ = true;
        sawProperties_ = false;
        featureKey_.clear();
        for (std::size_t p = 0; p < kProperties; ++p) {
            texts_[p].clear();
            given_[p] = false;
        }
    }

    void endFeature() {
        inFeature_ = false;
        if (!sawProperties_) fail("A feature has no properties");
        WaterDataValue v;
        v.site = texts_[kSite];
        v.series = texts_[kSeries];
        v.parameter = texts_[kParameter];
        v.statistic = texts_[kStatistic];
        v.time = texts_[kTime];
        v.unit = texts_[kUnit];
        if (given_[kValue] && !texts_[kValue].empty()) v.value = texts_[kValue];
        values_.add(v, number_);
    }

    [[noreturn]] void notAnObject() {
        ++number_;
        fail("A feature is not an object");
    }
    [[noreturn]] void fail(const std::string& what) const {
        throw Error(ErrorCode::conversion,
                    what + " at feature " + std::to_string(number_) + " of " + fileName_);
    }
    [[noreturn]] void notACollection() const {
        throw Error(ErrorCode::calculation,
                    "The file " + fileName_ + " is not a GeoJSON FeatureCollection");
    }

    WaterDataValues& values_;
    const std::string& fileName_;
    int depth_ = 0;
    int number_ = 0;  // features begun
    bool inFeatures_ = false, sawFeatures_ = false;
    bool inFeature_ = false, inProperties_ = false, sawProperties_ = false;
    std::string rootKey_, featureKey_, type_, spelled_;
    Property property_ = kOther;
    std::array<std::string, kProperties> texts_;
    std::array<bool, kProperties> given_{};
};

}  // namespace

bool looksLikeJson(std::string_view text) {
    text = withoutByteOrderMark(text);
    const std::size_t first = text.find_first_not_of(" \t\r\n");
    return first != std::string_view::npos && text[first] == '{';
}

ParsedFlowFile parseWaterDataGeoJson(std::string_view text, const std::string& fileName) {
    WaterDataValues values(fileName, "feature");
    FeatureReader reader(values, fileName);
    Json::sax_parse(withoutByteOrderMark(text), &reader);
    reader.checkCollection();
    return values.finish();
}

}  // namespace vd
