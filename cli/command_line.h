// Command lines read with CLI11: every command's --help, errors that name the option, and
// the options in the order they were given (later ones override earlier ones).
#pragma once

#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "cli.h"

namespace CLI {
class App;
class Option;
}  // namespace CLI

namespace vd::cli {

// A command line that cannot be understood; what() names the option.
class UsageError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// --help was given: what() is the help text, for standard output.
class HelpRequest : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Parses `args` (without the program and command names). Throws UsageError or HelpRequest.
void parseCommandLine(CLI::App& app, const Args& args);

// Each occurrence of an option or a positional argument with its value, in the order given
// (a flag's value is CLI11's "true").
std::vector<std::pair<const CLI::Option*, std::string>> optionsInOrder(const CLI::App& app);

}  // namespace vd::cli
