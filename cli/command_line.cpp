#include "command_line.h"

#include <CLI/CLI.hpp>
#include <map>

namespace vd::cli {

void parseCommandLine(CLI::App& app, const Args& args) {
    try {
        // CLI11 takes the arguments last first.
        app.parse(std::vector<std::string>(args.rbegin(), args.rend()));
    } catch (const CLI::CallForHelp&) {
        throw HelpRequest{app.help()};
    } catch (const CLI::ParseError& e) {
        throw Error(ErrorCode::usage, e.what());
    }
}

std::vector<std::pair<const CLI::Option*, std::string>> optionsInOrder(const CLI::App& app) {
    std::vector<std::pair<const CLI::Option*, std::string>> given;
    std::map<const CLI::Option*, std::size_t> taken;
    for (const CLI::Option* option : app.parse_order()) {
        // Every entry of the parse order stands for the next result of its option.
        const std::size_t at = taken[option]++;
        const CLI::results_t& results = option->results();
        given.emplace_back(option, at < results.size() ? results[at] : std::string());
    }
    return given;
}

}  // namespace vd::cli
