// `vando3-cli plot` in-process: each kind of chart written as PNG and SVG (the files are
// checked to be what they say; what the charts hold is checked on their data and in the
// plot window's tests), and the command lines it refuses.
#include <gtest/gtest.h>

#include <QFile>
#include <QXmlStreamReader>
#include <filesystem>
#include <fstream>

#include "cli_fixture.h"

namespace fs = std::filesystem;

namespace {

const char* const verde = "09506000_verde_camp_verde_dv_1989-2021.txt";

class CliPlot : public vd::test::CliFixture {
  protected:
    CliPlot() : CliFixture("vd_cli_plot") {}

    std::string out(const std::string& name) const { return (dir_ / name).string(); }
};

bool isPng(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::string header(8, '\0');
    file.read(header.data(), 8);
    return file && header == std::string("\x89PNG\r\n\x1a\n", 8);
}

// Whole, well-formed XML whose root is an <svg> element.
bool isSvg(const std::string& path) {
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly)) return false;
    QXmlStreamReader xml(&file);
    bool root = false;
    while (!xml.atEnd())
        if (xml.readNext() == QXmlStreamReader::StartElement && !root) {
            if (xml.name() != QLatin1String("svg")) return false;
            root = true;
        }
    return root && !xml.hasError();
}

TEST_F(CliPlot, WritesEachKindAsPngAndSvg) {
    for (const char* kind : {"hydrograph", "duration", "frequency"}) {
        for (const char* suffix : {".png", ".svg"}) {
            const std::string file = out(std::string(kind) + suffix);
            ASSERT_EQ(call({"plot", "--row", "1", "--kind", kind, "--avg", "7,30", "--avg-index",
                            "2", "--out", file, input(verde)}),
                      0)
                << err_.str();
            ASSERT_GT(fs::file_size(file), 0u) << file;
            EXPECT_TRUE(std::string(suffix) == ".png" ? isPng(file) : isSvg(file)) << file;
        }
    }
}

TEST_F(CliPlot, RefusesWhatItCannotDraw) {
    struct Case {
        vd::cli::Args args;
        int status;
        const char* message;
    };
    const std::string png = out("x.png");
    const Case cases[] = {
        {{"plot", "--kind", "hydrograph", "--out", png}, 2, "--row R is required"},
        {{"plot", "--row", "1", "--out", png}, 2, "--kind KIND is required"},
        {{"plot", "--row", "1", "--kind", "bars", "--out", png}, 2, "not bars"},
        {{"plot", "--row", "1", "--kind", "duration", "--out", out("x.jpg")}, 2, ".png or .svg"},
        {{"plot", "--row", "1", "--kind", "duration"}, 2, ".png or .svg"},
        {{"plot", "--row", "2", "--kind", "duration", "--out", png}, 1, "no results row 2"},
        {{"plot", "--row", "1", "--kind", "frequency", "--avg-index", "2", "--out", png},
         1,
         "the run has 1 averaging periods"},
    };
    for (const Case& c : cases) {
        vd::cli::Args args = c.args;
        args.push_back(input(verde));
        EXPECT_EQ(call(args), c.status) << args[1];
        EXPECT_NE(err_.str().find(c.message), std::string::npos) << err_.str();
        EXPECT_FALSE(fs::exists(png));
    }
}

}  // namespace
