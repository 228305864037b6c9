// `vando3-cli table` run in-process on copies of real files.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

#include "cli_fixture.h"
#include "log_pearson_library.h"

namespace fs = std::filesystem;

namespace {

using vd::test::kReference;
const auto slurp = vd::test::fileText;

class CliTable : public vd::test::CliFixture {
  protected:
    CliTable() : CliFixture("vd_cli_table") {}
    int run(const vd::cli::Args& args) { return call(args); }
};

}  // namespace

TEST_F(CliTable, ListsTheGagesAsTheTableWould) {
    const int status = run({"table", input("09506000_verde_camp_verde_dv_1989-2021.txt"),
                            input("11224000_mf_san_joaquin_mammoth_dv_2009-2021.txt"),
                            input("08023080_bayou_grand_cane_zeros.txt"),
                            input("08023080_bayou_grand_cane_zeros.flo"),
                            input("13010065_snake_flagg_ranch_dv_2006-2007_ice_2006layout.txt")});
    EXPECT_EQ(status, 0) << err_.str();
    EXPECT_EQ(out_.str(), slurp(kReference / "table_default.tsv"));
    // Reading wrote nothing: the LF file is as it was, and nothing was added beside it.
    EXPECT_EQ(slurp(input("09506000_verde_camp_verde_dv_1989-2021.txt")),
              slurp(kReference / "inputs" / "09506000_verde_camp_verde_dv_1989-2021.txt"));
    EXPECT_EQ(
        std::distance(fs::directory_iterator(dir_), fs::directory_iterator{}),
        std::distance(fs::directory_iterator(kReference / "inputs"), fs::directory_iterator{}));
}

TEST_F(CliTable, SeasonOptionsChangeTheRecordPeriods) {
    const int status = run({"table", "--season-start", "jun 1", "--season-end", "9/30",
                            input("09506000_verde_camp_verde_dv_1989-2021.txt")});
    EXPECT_EQ(status, 0);
    // Seasons Jun-Sep 1989 .. 2021, within one calendar year: no year shift.
    EXPECT_EQ(out_.str(),
              " 01\t09506000 VERDE RIVER NEAR CAMP VERDE, AZ\t09506000_verde_camp_verde_dv_1989-"
              "2021\t1989-2021\t1989\t2021\t1\n");
}

TEST_F(CliTable, UnreadableFileIsReportedAndTheOthersStillListed) {
    std::ofstream(dir_ / "bad.txt", std::ios::binary)
        << "#\r\n# Sites in this file include:\r\n#  USGS 01 X\r\n#\r\nagency_cd\r\nf\r\n"
           "USGS\t01\t2000-04-01\tabc\r\n";
    const int status = run({"table", input("missing.txt"), input("bad.txt"),
                            input("08023080_bayou_grand_cane_zeros.flo")});
    EXPECT_NE(status, 0);
    EXPECT_NE(out_.str().find(" 01\t08023080 BAYOU GRAND CANE"), std::string::npos);
    const std::string err = err_.str();
    EXPECT_NE(err.find("VANDO 3.1b is unable to read the file \"" + input("missing.txt") +
                       "\". Please confirm \rthat this file exists and that it is a valid flow "
                       "file in text format.\r\r(Exception class name = EInOutError, message = "),
              std::string::npos)
        << err;
    EXPECT_NE(err.find("(Exception class name = EConvertError, message = 'abc' is not a valid "
                       "floating point value at line 7 of bad.txt)"),
              std::string::npos)
        << err;
}

TEST_F(CliTable, InvalidSeasonOrArgumentsAreRefused) {
    EXPECT_NE(run({"table", "--season-start", "Ju 4", input("x.txt")}), 0);
    EXPECT_EQ(err_.str(), "Invalid start date\n");
    EXPECT_NE(run({"table", "--season-end", "13/1", input("x.txt")}), 0);
    EXPECT_NE(run({"table"}), 0);
    EXPECT_NE(run({"table", "--bogus", input("x.txt")}), 0);
}

// Without its log-Pearson library beside it the program does no work at all.
TEST_F(CliTable, RefusesToStartWithoutTheLibrary) {
    const fs::path lonely = dir_ / "alone";
    fs::create_directories(lonely);
    const fs::path program = lonely / fs::path(VANDO3_CLI).filename();
    fs::copy_file(VANDO3_CLI, program);
    const std::string errFile = (dir_ / "err.txt").string();
    const std::string command = program.string() + " table " +
                                input("08023080_bayou_grand_cane_zeros.flo") + " >" +
                                (dir_ / "out.txt").string() + " 2>" + errFile;
    const int status = std::system(command.c_str());
    EXPECT_NE(status, 0);
    EXPECT_EQ(slurp(dir_ / "out.txt"), "");
    EXPECT_EQ(slurp(errFile), "Unable to find " + vd::logPearsonLibraryFileName() +
                                  " in current directory. Please check your installation.\n");
}
