// A service that misbehaves, on purpose: links and redirects to other origins and other
// schemes, answers that trickle, stall, swell or decompress without end, pages that never
// end, and texts that would break the file. Each ends in a clear failure of the site, with
// nothing sent where it should not go and no file left behind.
#include <zlib.h>

#include "site_fetch_fixture.h"

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using vd::test::filesIn;
using vd::test::HttpReply;
using vd::test::kExpectedFile;
using vd::test::kSite;
using vd::test::RestatedDay;
using vd::test::testCreekDays;

namespace {

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// `zeros` zero bytes compressed as gzip (or zlib's deflate format), made a block at a time
// so the test itself never holds them.
std::string compressedZeros(std::size_t zeros, bool gzip) {
    z_stream z{};
    if (deflateInit2(&z, 9, Z_DEFLATED, gzip ? 31 : 15, 9, Z_DEFAULT_STRATEGY) != Z_OK)
        throw std::runtime_error("zlib");
    std::vector<unsigned char> block(1 << 16, 0), out(1 << 16);
    std::string compressed;
    for (std::size_t left = zeros;;) {
        const std::size_t n = std::min(left, block.size());
        left -= n;
        z.next_in = block.data();
        z.avail_in = static_cast<uInt>(n);
        const int flush = left == 0 ? Z_FINISH : Z_NO_FLUSH;
        int rc = Z_OK;
        do {
            z.next_out = out.data();
            z.avail_out = static_cast<uInt>(out.size());
            rc = deflate(&z, flush);
            compressed.append(reinterpret_cast<const char*>(out.data()), out.size() - z.avail_out);
        } while (z.avail_out == 0);
        if (rc == Z_STREAM_END) break;
    }
    deflateEnd(&z);
    return compressed;
}

std::string gzipped(const std::string& text) {
    z_stream z{};
    deflateInit2(&z, 6, Z_DEFLATED, 31, 9, Z_DEFAULT_STRATEGY);
    std::string out(deflateBound(&z, static_cast<uLong>(text.size())), '\0');
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(text.data()));
    z.avail_in = static_cast<uInt>(text.size());
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = static_cast<uInt>(out.size());
    deflate(&z, Z_FINISH);
    out.resize(z.total_out);
    deflateEnd(&z);
    return out;
}

class HostileService : public vd::test::SiteFetchFixture {
  protected:
    std::string dailyTarget() const {
        return "/collections/daily/items?f=json&monitoring_location_id=USGS-" + kSite;
    }
    std::string pageLinkingTo(const std::string& next) const {
        return vd::test::asWaterDataPage(testCreekDays(), next);
    }
    static HttpReply page(const std::string& body) { return {200, body, {}, false}; }
    static HttpReply redirectTo(const std::string& where) {
        return {302, "", {"Location: " + where}, false};
    }

    // A second server: another origin (another port) than the service's.
    vd::test::LocalHttpServer elsewhere_{[](const vd::test::HttpRequest&) {
        return HttpReply{200, vd::test::asWaterDataPage({}, ""), {}, false};
    }};
};

}  // namespace

TEST_F(HostileService, LinksAndRedirectsLeaveNeitherTheOriginNorTheWeb) {
    options_.apiKey = "secret-key";
    options_.allowInsecureKey = true;  // the local servers speak plain http
    const std::string other = elsewhere_.url();
    const std::string otherPort = other.substr(other.rfind(':') + 1);
    const std::string port = service_.url().substr(service_.url().rfind(':') + 1);
    struct Case {
        HttpReply first;
        std::string message;  // a part of the failure's message
    };
    const std::string crossOrigin = "to " + other + ", another origin than " + service_.url();
    const std::string onlyWeb = ": only http and https are followed";
    const Case cases[] = {
        {page(pageLinkingTo(other + dailyTarget())), "next page link " + crossOrigin},
        {redirectTo(other + dailyTarget()), "redirect " + crossOrigin},
        {page(pageLinkingTo("http://localhost:" + port + dailyTarget())),
         "to http://localhost:" + port + ", another origin than " + service_.url()},
        {page(pageLinkingTo("https://127.0.0.1:" + port + dailyTarget())),
         "to https://127.0.0.1:" + port + ", another origin"},
        {page(pageLinkingTo("ftp://127.0.0.1:" + otherPort + "/x")),
         "next page link to ftp://127.0.0.1:" + otherPort + "/x" + onlyWeb},
        {page(pageLinkingTo("gopher://127.0.0.1:" + otherPort + "/x")), onlyWeb},
        {page(pageLinkingTo("file:///etc/passwd")), onlyWeb},
        {page(pageLinkingTo("dict://127.0.0.1:" + otherPort + "/x")), onlyWeb},
        {redirectTo("ftp://127.0.0.1:" + otherPort + "/x"), "redirect to ftp://"},
        {redirectTo("gopher://127.0.0.1:" + otherPort + "/x"), "redirect to gopher://"},
    };
    for (const Case& c : cases) {
        service_.replyFirst(c.first);
        const std::string message = failureOf(kSite);
        EXPECT_TRUE(contains(message, c.message)) << message << "\nnot: " << c.message;
        EXPECT_TRUE(filesIn(scratch_.path()).empty()) << c.message;
    }
    EXPECT_EQ(elsewhere_.connections(), 0);  // nothing ever reached it, no key above all
    for (const auto& r : service_.requests()) EXPECT_EQ(r.headers.at("x-api-key"), "secret-key");
}

TEST_F(HostileService, RedirectsWithinTheOriginAreFollowedAFewTimes) {
    options_.apiKey = "secret-key";
    options_.allowInsecureKey = true;
    service_.replyFirst(redirectTo(dailyTarget()));  // relative, as a Location may be
    service_.replyFirst(redirectTo(service_.url() + dailyTarget()));
    EXPECT_EQ(failureOf(kSite), "");
    EXPECT_EQ(filesIn(scratch_.path()), std::vector<std::string>{kExpectedFile});
    for (const auto& r : service_.requests()) EXPECT_EQ(r.headers.at("x-api-key"), "secret-key");

    for (int i = 0; i <= vd::fetch::kMostRedirects; ++i)
        service_.replyFirst(
            redirectTo(service_.url() + dailyTarget() + "&hop=" + std::to_string(i)));
    EXPECT_EQ(failureOf(kSite), "The service redirected " + service_.url() + dailyTarget() +
                                    "&parameter_code=00060&statistic_id=00003&skipGeometry=true&"
                                    "limit=50000 more than 5 times");
}

TEST_F(HostileService, AKeyGoesOverPlainHttpOnlyWhenAllowed) {
    options_.apiKey = "secret-key";
    EXPECT_EQ(failureOf(kSite), "Site " + kSite + ": the API key would travel in clear text to " +
                                    service_.url() + "; it is sent over https only");
    EXPECT_TRUE(service_.requests().empty());
    options_.allowInsecureKey = true;
    EXPECT_EQ(failureOf(kSite), "");
}

TEST_F(HostileService, AnswersThatStallOrTrickleEndWithinTheLimits) {
    struct Case {
        HttpReply first;
        vd::fetch::TransferLimits limits;
        std::string message;
        std::size_t waits;  // a stall is asked again, like a busy answer
    };
    const std::string body = pageLinkingTo("") + std::string(1 << 20, ' ');
    HttpReply stall = page(body);
    stall.pace = HttpReply::Pace::stall;
    HttpReply slowDrip = page(body);  // 10 bytes a second, below the 1000 asked for
    slowDrip.pace = HttpReply::Pace::drip;
    slowDrip.dripGap = 100ms;
    HttpReply endlessDrip = page(body);  // fast enough, but never done within the total time
    endlessDrip.pace = HttpReply::Pace::drip;
    endlessDrip.dripBytes = 100;
    endlessDrip.dripGap = 20ms;
    const Case cases[] = {
        {stall, {1, 1s, 60s, 10s, 1 << 30}, "stalled", 1},
        {slowDrip, {1000, 1s, 60s, 10s, 1 << 30}, "stalled", 1},
        {endlessDrip, {1, 30s, 1s, 10s, 1 << 30}, "took longer than 1 s", 0},
    };
    options_.retry.attempts = 2;
    for (const Case& c : cases) {
        waits_.clear();
        options_.limits = c.limits;
        for (std::size_t i = 0; i <= c.waits; ++i) service_.replyFirst(c.first);
        const std::string message = failureOf(kSite);
        EXPECT_TRUE(message.starts_with("The answer from " + service_.url())) << message;
        EXPECT_TRUE(contains(message, c.message)) << message;
        EXPECT_EQ(waits_.size(), c.waits) << message;
        EXPECT_TRUE(filesIn(scratch_.path()).empty()) << message;
    }
}

TEST_F(HostileService, AnswersLargerThanTheLimitEndWithoutFillingTheMemory) {
    struct Case {
        HttpReply first;
        std::size_t largest;
        std::string message;
    };
    const auto encoded = [](std::string body, const char* encoding) {
        return HttpReply{
            200, std::move(body), {std::string("Content-Encoding: ") + encoding}, false};
    };
    const Case cases[] = {
        {page(pageLinkingTo("") + std::string(200000, ' ')), 65536, "is larger than 65536 bytes"},
        {encoded(compressedZeros(std::size_t{64} << 20, true), "gzip"), std::size_t{1} << 20,
         "is larger than 1 MB"},
        {encoded(compressedZeros(std::size_t{64} << 20, false), "deflate"), std::size_t{1} << 20,
         "is larger than 1 MB"},
    };
    for (const Case& c : cases) {
        options_.limits.largestAnswer = c.largest;
        service_.replyFirst(c.first);
        const std::string message = failureOf(kSite);
        EXPECT_EQ(message, "The answer from " + service_.url() + dailyTarget() +
                               "&parameter_code=00060&statistic_id=00003&skipGeometry=true&limit="
                               "50000 " +
                               c.message);
        EXPECT_TRUE(filesIn(scratch_.path()).empty()) << message;
    }
    // The limit counts decoded bytes, and a compressed page within it reads as any other.
    options_.limits.largestAnswer = 65536;
    service_.replyFirst(
        encoded(gzipped(pageLinkingTo(service_.url() + dailyTarget() + "&cursor=1")), "gzip"));
    EXPECT_EQ(failureOf(kSite), "");
}

TEST_F(HostileService, PagesThatNeverEndAreCut) {
    struct Case {
        vd::fetch::PageLimits limits;
        std::size_t emptyPages;  // given before the site's own pages, each linking on
        std::string message;
    };
    const Case cases[] = {
        {{}, 21, "the service sent 21 pages in a row without a value"},
        {{1, 20, 1000}, 0, "the service sent more than 1 pages"},
        {{1000, 20, 3}, 0, "the service sent more than 3 days"},
    };
    for (const Case& c : cases) {
        options_.pages = c.limits;
        for (std::size_t i = 0; i < c.emptyPages; ++i)
            service_.replyFirst(page(vd::test::asWaterDataPage(
                {}, service_.url() + dailyTarget() + "&cursor=" + std::to_string(100 + i))));
        const std::string message = failureOf(kSite);
        EXPECT_EQ(message, "Site " + kSite + ": " + c.message + "; the fetching stops there");
        EXPECT_TRUE(filesIn(scratch_.path()).empty()) << message;
    }
}

TEST_F(HostileService, SiteNumbersThatAreNoneAreRefusedBeforeAnyRequest) {
    for (const std::string site :
         {"../01010000", "0101/0000", "0101\\0000", "01010000/..", "..", "0101 0000", "01010000\n",
          "01010000\t", "", "USGS-", "-01010000", "US/GS-01010000", "USGS-..", "US GS-01010000",
          "0101000a", "USGS-01010000-2", "1234567890123456"}) {
        const std::string message = failureOf(site);
        EXPECT_TRUE(contains(message, "' is no site number")) << site << ": " << message;
        EXPECT_EQ(message.find_first_of("\n\t"), std::string::npos) << message;
    }
    EXPECT_TRUE(service_.requests().empty());
    EXPECT_TRUE(filesIn(scratch_.path()).empty());
}

TEST_F(HostileService, TextsThatWouldBreakTheFileAreRefused) {
    struct Case {
        std::string name;  // as JSON text: "\\n" is a line break once decoded
        RestatedDay extra;
        std::string message;
    };
    const auto day = [](std::string date, std::string value, std::string status = "Approved",
                        std::string series = vd::test::kRestatedSeries) {
        return RestatedDay{"", std::move(date), std::move(value), std::move(status),
                           std::move(series)};
    };
    const RestatedDay plain = day("2021-01-06", "3");
    const Case cases[] = {
        {"TEST\\nCREEK", plain,
         "the name 'TEST\\x0ACREEK', with a line break or a control character"},
        {"TEST\\tCREEK", plain, "the name 'TEST\\x09CREEK'"},
        {"TEST\\r", plain, "the name 'TEST\\x0D'"},
        {"X", day("2021-01-06", "nan"), "the value 'nan' for 2021-01-06, which is no"},
        {"X", day("2021-01-06", "inf"), "the value 'inf'"},
        {"X", day("2021-01-06", "1e999"), "the value '1e999'"},
        {"X", day("2021-01-06", "12abc"), "the value '12abc'"},
        {"X", day("2021-01-06", "1 2"), "the value '1 2'"},
        {"X", day("2021-01-06", "3\\n4"), "the value '3\\x0A4'"},
        {"X", day("2021-02-29", "3"), "the date '2021-02-29'"},
        {"X", day("2021-13-01", "3"), "the date '2021-13-01'"},
        {"X", day("2021-04-31", "3"), "the date '2021-04-31'"},
        {"X", day("2021-00-10", "3"), "the date '2021-00-10'"},
        {"X", day("2021-1-1", "3"), "the date '2021-1-1'"},
        {"X", day("2021-01-06", "3", "Approved\\n"), "the approval 'Approved\\x0A'"},
        {"X", day("2021-01-06", "3", "Approved", "a1b2\\nc3d4"),
         "the series id 'a1b2\\x0Ac3d4', with a blank or a control character"},
        {"X", day("2021-01-06", "3", "Approved", "a1b2 c3d4"), "the series id 'a1b2 c3d4'"},
    };
    int next = 40400000;
    for (const Case& c : cases) {
        const std::string site = std::to_string(++next);  // a site of its own for each case
        std::vector<RestatedDay> days = testCreekDays();
        days.push_back(c.extra);
        for (RestatedDay& d : days) d.site = site;
        service_.addSite(site, c.name, days, 2);
        const std::string message = failureOf(site);
        const std::string expected = "Site " + site + ": the service gave " + c.message;
        EXPECT_TRUE(message.starts_with(expected)) << message << "\nnot: " << expected;
        EXPECT_TRUE(filesIn(scratch_.path()).empty()) << message;
    }
}

TEST_F(HostileService, OddButHarmlessTextsGiveFilesInsideTheFolderThatReadBack) {
    std::vector<RestatedDay> days;
    for (RestatedDay d : testCreekDays()) {
        d.site = "05050000";
        days.push_back(d);
        d.series = "../../evil";  // its tag in a file name keeps letters and digits only
        days.push_back(d);
        d.series = "a1b2c3d4-other";  // begins as the restated series does
        days.push_back(d);
    }
    days.push_back({"05050000", "2020-02-29", "1.5e3", "Approved"});  // a leap day, an exponent
    service_.addSite("05050000", "ODD / NAME .. \\\\ WITH ÄÖ SIGNS", days, 2);
    const auto written = vd::fetch::fetchSite("05050000", options_);
    std::vector<std::string> names;
    for (const auto& path : written) {
        EXPECT_EQ(fs::canonical(path).parent_path(), fs::canonical(scratch_.path()));
        expectReadsBack(path);
        names.push_back(path.filename().string());
    }
    EXPECT_EQ(names,
              (std::vector<std::string>{"05050000_ODD-NAME-WITH-SIGNS_2020-2021_a1b2c3d4.txt",
                                        "05050000_ODD-NAME-WITH-SIGNS_2020-2021_______ev.txt",
                                        "05050000_ODD-NAME-WITH-SIGNS_2020-2021_a1b2c3d4_2.txt"}));
    EXPECT_EQ(filesIn(scratch_.path()).size(), 3u);
}
