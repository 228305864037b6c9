// What every command's command line answers before any work: help, version, and errors
// that name the option.
#include <gtest/gtest.h>

#include "cli_fixture.h"

namespace {

class CliCommandLine : public vd::test::CliFixture {
  protected:
    CliCommandLine() : CliFixture("vd_cli_line") {}
};

TEST_F(CliCommandLine, HelpAndVersionGoToStandardOutput) {
    const std::pair<vd::cli::Args, std::string> cases[] = {
        {{"--version"}, "vando3-cli 3.1b"},
        {{"--help"}, "batch"},
        {{"run", "--help"}, "--table-years ROW:START:END"},
        {{"excursions", "--help"}, "--row R"},
        {{"batch", "--help"}, "--files-from LIST"},
        {{"batch", "--help"}, "3 when some were not"},
        {{"table", "--help"}, "--season-end TEXT"},
    };
    for (const auto& [args, shown] : cases) {
        EXPECT_EQ(call(args), 0) << shown;
        EXPECT_NE(out_.str().find(shown), std::string::npos) << out_.str();
        EXPECT_EQ(err_.str(), "");
    }
}

TEST_F(CliCommandLine, UnknownOptionsAndMissingValuesAreNamed) {
    const std::pair<vd::cli::Args, std::string> cases[] = {
        {{"run", "--bogus", "x.txt"},
         "vando3-cli run: The following argument was not expected: --bogus"},
        {{"run", "--avg"}, "vando3-cli run: --avg"},
        {{"run", "--climatic-year", "2", "x.txt"}, "--climatic-year takes 1 or 0"},
        {{"excursions", "--row", "one", "x.txt"}, "--row: 'one' is not a whole number"},
        {{"batch", "--timing", "x.txt"}, "--timing"},
        {{"table", "--season-start"}, "vando3-cli table: --season-start"},
        {{"nothing"}, "unknown command 'nothing'"},
        {{}, "Commands"},
    };
    for (const auto& [args, named] : cases) {
        EXPECT_EQ(call(args), 2) << named;
        EXPECT_NE(err_.str().find(named), std::string::npos) << err_.str();
        EXPECT_EQ(out_.str(), "");
    }
}

// Options are applied in the order given: the last of a repeated option counts, and a
// value may begin with a dash.
TEST_F(CliCommandLine, LaterOptionsOverrideEarlierOnes) {
    const std::string file = input("09506000_verde_camp_verde_dv_1989-2021.txt");
    ASSERT_EQ(call({"run", "--avg", "7,30", file, "--avg", "30", "--comment", "-x"}), 0);
    EXPECT_EQ(out_.str().find("\r\n-x\r\n"), 0u);
    EXPECT_EQ(out_.str().find("7Q10"), std::string::npos);
    EXPECT_NE(out_.str().find("30Q10"), std::string::npos);
}

}  // namespace
