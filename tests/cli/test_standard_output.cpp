// The program as a process whose standard output cannot take its report: a full device
// and a closed descriptor must end in a message and a failing status, never in silence.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <streambuf>

#include "cli_fixture.h"

namespace fs = std::filesystem;

namespace {

class StandardOutput : public vd::test::CliFixture {
  protected:
    StandardOutput() : CliFixture("vd_cli_stdout") {}
};

// Refuses every byte, as a stream on a full disk does.
class RefusingBuffer : public std::streambuf {
  protected:
    int_type overflow(int_type) override { return traits_type::eof(); }
    std::streamsize xsputn(const char*, std::streamsize) override { return 0; }
};

}  // namespace

TEST_F(StandardOutput, AReportThatCannotBeWrittenFailsTheCommand) {
    const std::string flow = input("08023080_bayou_grand_cane_zeros.flo");
    const std::vector<vd::cli::Args> commands = {
        {"run", flow},   {"table", flow}, {"excursions", "--row", "1", flow},
        {"batch", flow}, {"--help"},      {"run", "--help"},
        {"--version"}};
    for (const vd::cli::Args& args : commands) {
        RefusingBuffer refusing;
        std::ostream out(&refusing);
        std::ostringstream err;
        EXPECT_NE(vd::cli::cliMain(args, out, err), 0) << args[0];
        EXPECT_NE(err.str().find("cannot write to standard output"), std::string::npos)
            << args[0] << ": " << err.str();
    }
}

#if !defined(_WIN32)
TEST_F(StandardOutput, AFullDeviceOrAClosedDescriptorIsNamedWithTheReason) {
    const std::string flow = input("08023080_bayou_grand_cane_zeros.flo");
    const std::string errFile = (dir_ / "err.txt").string();
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"run " + flow + " >/dev/full", "No space left on device"},
        {"table " + flow + " >/dev/full", "No space left on device"},
        {"--help >/dev/full", "No space left on device"},
        {"run " + flow + " >&-", "Bad file descriptor"},
        {"excursions --row 1 " + flow + " >&-", "Bad file descriptor"},
        {"batch --quiet " + flow + " >&-", "Bad file descriptor"},
    };
    for (const auto& [command, reason] : cases) {
        const std::string line = std::string(VANDO3_CLI) + " " + command + " 2>" + errFile;
        const int status = std::system(line.c_str());
        EXPECT_NE(status, 0) << command;
        const std::string err = vd::test::fileText(errFile);
        EXPECT_NE(err.find("vando3-cli: cannot write to standard output: " + reason),
                  std::string::npos)
            << command << ": " << err;
    }
}
#endif
