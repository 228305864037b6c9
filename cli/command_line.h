// Command lines read with CLI11: every command's --help, errors that name the option, and
// the options in the order they were given (later ones override earlier ones).
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "cli.h"
#include "errors.h"

namespace CLI {
class App;
class Option;
}  // namespace CLI

namespace vd::cli {

// --help was given: the help text, for standard output. No failure but a way out of the
// parsing, so it is no std::exception: a handler of failures cannot take it for one.
struct HelpRequest {
    std::string text;
};

// Parses `args` (without the program and command names). Throws HelpRequest, or a usage
// error (vd::Error) naming the option of a command line that cannot be understood.
void parseCommandLine(CLI::App& app, const Args& args);

// Each occurrence of an option or a positional argument with its value, in the order given
// (a flag's value is CLI11's "true").
std::vector<std::pair<const CLI::Option*, std::string>> optionsInOrder(const CLI::App& app);

}  // namespace vd::cli
