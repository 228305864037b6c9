// The chart program (`vando3-plot`, run by `vando3-cli plot`) in-process: each kind of chart
// written as PNG and SVG (the files are checked to be what they say; what the charts hold is
// checked on their data and in the plot window's tests), and the command lines it refuses.
#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QSvgRenderer>
#include <QXmlStreamReader>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "cli_fixture.h"
#include "plot_command.h"

namespace fs = std::filesystem;

namespace {

const char* const verde = "09506000_verde_camp_verde_dv_1989-2021.txt";

class CliPlot : public vd::test::CliFixture {
  protected:
    CliPlot() : CliFixture("vd_cli_plot") {}

    std::string out(const std::string& name) const { return (dir_ / name).string(); }

    // The chart program's work in-process: `args` as given to `vando3-cli plot`.
    int call(const vd::cli::Args& args) {
        out_.str("");
        err_.str("");
        EXPECT_EQ(args.at(0), "plot");
        return vd::cli::runCommand(vd::cli::cmdPlot, vd::cli::Args(args.begin() + 1, args.end()),
                                   out_, err_);
    }
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

// --width and --height give the pixels, --dpi the resolution the PNG records; an SVG
// takes the size (its printed size in millimetres follows from the resolution).
TEST_F(CliPlot, ImageHasTheSizeAndResolutionAsked) {
    struct Case {
        vd::cli::Args size;
        QSize pixels;
        int dotsPerMeter;
    };
    const Case cases[] = {
        {{}, QSize(1000, 650), 3780},
        {{"--width", "1950", "--height", "1200", "--dpi", "300"}, QSize(1950, 1200), 11811},
        {{"--width", "400", "--height", "300"}, QSize(400, 300), 3780},
    };
    for (const Case& c : cases) {
        for (const char* suffix : {".png", ".svg"}) {
            const std::string file = out(std::string("sized") + suffix);
            fs::remove(file);
            vd::cli::Args args{"plot", "--row", "1", "--kind", "duration", "--out", file};
            args.insert(args.end(), c.size.begin(), c.size.end());
            args.push_back(input(verde));
            ASSERT_EQ(call(args), 0) << err_.str();
            if (std::string(suffix) == ".png") {
                const QImage image(QString::fromStdString(file));
                EXPECT_EQ(image.size(), c.pixels);
                EXPECT_EQ(image.dotsPerMeterX(), c.dotsPerMeter);
                EXPECT_EQ(image.pixelColor(1, 1), QColor(Qt::white));
            } else {
                const QSvgRenderer svg(QString::fromStdString(file));
                ASSERT_TRUE(svg.isValid());
                EXPECT_EQ(svg.viewBox().size(), c.pixels);
            }
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
        {{"plot", "--row", "1", "--kind", "duration", "--width", "0", "--out", png},
         2,
         "--width takes a number from 1 to 20000"},
        {{"plot", "--row", "1", "--kind", "duration", "--height", "20001", "--out", png},
         2,
         "--height takes a number from 1 to 20000"},
        {{"plot", "--row", "1", "--kind", "duration", "--dpi", "-3", "--out", png},
         2,
         "--dpi takes a number from 1 to 2400"},
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

#if !defined(_WIN32)
// vando3-cli draws no chart itself: its plot command runs vando3-plot from its own folder,
// and says so when that program is not there.
TEST_F(CliPlot, TheCommandLineProgramRunsTheChartProgram) {
    const std::string png = out("forwarded.png");
    const std::string errFile = out("err.txt");
    const std::string args =
        " plot --row 1 --kind hydrograph --out " + png + " " + input(verde) + " 2>" + errFile;
    EXPECT_EQ(std::system((std::string(VANDO3_CLI) + args).c_str()), 0)
        << vd::test::fileText(errFile);
    EXPECT_TRUE(isPng(png));

    const fs::path lonely = dir_ / "alone";
    fs::create_directories(lonely);
    for (const fs::path& file : {fs::path(VANDO3_CLI), fs::path(VANDO_LPIII)})
        fs::copy_file(file, lonely / file.filename());
    const std::string other = out("other.png");
    const std::string command = (lonely / "vando3-cli").string() +
                                " plot --row 1 --kind hydrograph --out " + other + " " +
                                input(verde) + " 2>" + errFile;
    EXPECT_NE(std::system(command.c_str()), 0);
    EXPECT_NE(vd::test::fileText(errFile).find(
                  "vando3-cli plot: charts are drawn by vando3-plot, which is not installed "
                  "beside vando3-cli"),
              std::string::npos)
        << vd::test::fileText(errFile);
    EXPECT_FALSE(fs::exists(other));
}
#endif

}  // namespace
