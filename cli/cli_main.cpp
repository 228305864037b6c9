#include <CLI/CLI.hpp>
#include <system_error>

#include "cli.h"
#include "command_line.h"
#include "descriptor_buffer.h"
#include "errors.h"
#include "log_pearson_library.h"
#include "vando_version.h"

namespace vd::cli {
namespace {

struct CommandEntry {
    const char* name;
    const char* summary;
    Command run;
};

// Each command parses its own options; adding one is adding a line here.
const std::vector<CommandEntry>& commands() {
    static const std::vector<CommandEntry> list = {
        {"table", "list the gages of flow files as the gage table would", cmdTable},
        {"run", "compute the design flows and print the report", cmdRun},
        {"excursions", "print the excursion analysis of a results row", cmdExcursions},
        {"batch", "compute every gage of many files independently, as CSV", cmdBatch},
#ifdef VANDO_HAS_PLOT
        {"plot", "draw a chart of a results row into a PNG or SVG file (by vando3-plot)",
         cmdPlotProgram},
#endif
#ifdef VANDO_HAS_FETCH
        {"fetch", "download daily flows of gages from the Water Data API", cmdFetch},
#endif
    };
    return list;
}

std::string commandsFooter() {
    std::string text = "Commands (vando3-cli COMMAND --help for their options):\n";
    for (const CommandEntry& c : commands())
        text += "  " + std::string(c.name) + std::string(12 - std::string(c.name).size(), ' ') +
                c.summary + "\n";
    return text;
}

// A report that did not reach standard output (a full disk, a closed pipe or descriptor)
// is a failure, whatever the command made of its work.
int checkedOutput(int status, std::ostream& out, std::ostream& err) {
    if (out.flush()) return status;
    const auto* kept = dynamic_cast<const DescriptorBuffer*>(out.rdbuf());
    const int reason = kept ? kept->error() : 0;
    err << "vando3-cli: cannot write to standard output"
        << (reason != 0 ? ": " + std::generic_category().message(reason) : std::string()) << '\n';
    return status == 0 ? 1 : status;
}

// As the window does, the program starts no work without its log-Pearson library.
int withLibrary(Command command, const Args& args, std::ostream& out, std::ostream& err) {
    try {
        const LogPearsonLibrary lib = LogPearsonLibrary::load(programFolder());
        return command(args, lib, out, err);
    } catch (const Error& e) {
        if (e.code() != ErrorCode::libraryBinding) throw;
        err << e.what() << '\n';
        return 1;
    }
}

int runCommandLine(const Args& args, std::ostream& out, std::ostream& err);

}  // namespace

int cliMain(const Args& args, std::ostream& out, std::ostream& err) {
    return checkedOutput(runCommandLine(args, out, err), out, err);
}

int runCommand(Command command, const Args& args, std::ostream& out, std::ostream& err) {
    return checkedOutput(withLibrary(command, args, out, err), out, err);
}

namespace {

int runCommandLine(const Args& args, std::ostream& out, std::ostream& err) {
    CLI::App app("The design-flow calculator without a window.", "vando3-cli");
    app.set_version_flag("--version", std::string("vando3-cli ") + version::text);
    app.footer(commandsFooter());
    // Everything from the command name on is the command's own.
    app.prefix_command();
    std::vector<std::string> rest;
    try {
        app.parse(std::vector<std::string>(args.rbegin(), args.rend()));
        rest = app.remaining();
    } catch (const CLI::CallForHelp&) {
        out << app.help();
        return 0;
    } catch (const CLI::CallForVersion& e) {
        out << e.what() << '\n';
        return 0;
    } catch (const CLI::ParseError& e) {
        err << "vando3-cli: " << e.what() << '\n' << app.help();
        return 2;
    }
    if (rest.empty()) {
        err << app.help();
        return 2;
    }
    const auto it = std::find_if(commands().begin(), commands().end(),
                                 [&](const CommandEntry& c) { return rest[0] == c.name; });
    if (it == commands().end()) {
        err << "vando3-cli: unknown command '" << rest[0] << "'\n" << commandsFooter();
        return 2;
    }
    return withLibrary(it->run, Args(rest.begin() + 1, rest.end()), out, err);
}

}  // namespace

}  // namespace vd::cli
