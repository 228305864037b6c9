#include "run_options.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <filesystem>
#include <map>

#include "errors.h"
#include "gage_table.h"
#include "image_scale.h"
#include "number_text.h"
#include "season_date.h"
#include "utf8_path.h"
#include "vd_paramfile.h"

namespace vd::cli {
namespace {

const std::map<std::string, run::CriterionKind>& criteria() {
    static const std::map<std::string, run::CriterionKind> table = {
        {"acute", run::CriterionKind::acute},
        {"chronic", run::CriterionKind::chronic},
        {"ammonia", run::CriterionKind::ammonia},
    };
    return table;
}

std::vector<std::string> split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::size_t from = 0;
    while (true) {
        const auto at = text.find(separator, from);
        parts.push_back(text.substr(from, at == std::string::npos ? std::string::npos : at - from));
        if (at == std::string::npos) return parts;
        from = at + 1;
    }
}

int wholeNumber(const std::string& option, const std::string& text) {
    try {
        return toInteger(text);
    } catch (const Error& e) {
        if (e.code() != ErrorCode::conversion) throw;
        throw Error(ErrorCode::usage, option + ": '" + text + "' is not a whole number");
    }
}

bool flag(const std::string& option, const std::string& text) {
    if (text == "1") return true;
    if (text == "0") return false;
    throw Error(ErrorCode::usage, option + " takes 1 or 0, not '" + text + "'");
}

// The options and which commands take them; a value name of null marks a flag.
struct OptionSpec {
    const char* name;
    const char* valueName;
    const char* help;
    std::vector<RunCommand> commands;
};

const std::vector<RunCommand> everyCommand = {RunCommand::run, RunCommand::excursions,
                                              RunCommand::batch, RunCommand::plot};
const std::vector<RunCommand> gageTable = {RunCommand::run, RunCommand::excursions,
                                           RunCommand::plot};

const std::vector<OptionSpec>& optionSpecs() {
    static const std::vector<OptionSpec> specs = {
        {"--season-start", "TEXT", "first day of the season or climatic year (\"Apr 1\", 4/1)",
         everyCommand},
        {"--season-end", "TEXT", "last day of the season; makes it a season, not a climatic year",
         everyCommand},
        {"--climatic-year", "1|0", "1: the season ends the day before it starts", everyCommand},
        {"--period", "PERIOD",
         "years used: all, common, longest, table or years:FIRST:LAST (batch: all or years)",
         everyCommand},
        {"--table-years", "ROW:START:END", "the years of a gage table row (--period table)",
         gageTable},
        {"--bio", "CRITERION",
         "biological criterion: acute, chronic, ammonia or custom:M,XMR,XMI,XME", everyCommand},
        {"--use-defaults", "1|0", "1: the criterion's own values", everyCommand},
        {"--nonbio", "KIND", "non-biological flow: hydro (xQy), flow (given) or perc (percentile)",
         everyCommand},
        {"--avg", "LIST",
         "averaging periods in days, e.g. 7,30; each may have its own return period: 7:10,30:5",
         everyCommand},
        {"--rp", "N", "return period in years of the xQy flow", everyCommand},
        {"--flow", "X", "the given flow (--nonbio flow)", everyCommand},
        {"--perc", "P", "the given percentile (--nonbio perc)", everyCommand},
        {"--bio-within-season", nullptr,
         "the biological flow, percentiles and excursion rates within the season only, not "
         "over the whole record",
         everyCommand},
        {"--unmark", "ROW", "leave gage table row ROW out of the run", gageTable},
        {"--comment", "LINE", "a comment line of the report (repeatable)", everyCommand},
        {"--advanced", "1|0", "1: the report holds the per-year block", everyCommand},
        {"--vdp", "FILE",
         "a parameter file's settings (and, but for batch, its files); later options override it",
         everyCommand},
        {"--row",
         "R",
         "the results row whose excursions are printed (required)",
         {RunCommand::excursions}},
        {"--row", "R", "the results row whose gage is drawn (required)", {RunCommand::plot}},
        {"--kind",
         "KIND",
         "the chart: hydrograph, duration or frequency (required)",
         {RunCommand::plot}},
        {"--avg-index",
         "K",
         "the frequency chart's averaging period: the K-th of --avg (default 1)",
         {RunCommand::plot}},
        {"--out",
         "FILE",
         "the image to write: FILE.png or FILE.svg (required)",
         {RunCommand::plot}},
        {"--width", "W", "the image's width in pixels (default 1000)", {RunCommand::plot}},
        {"--height", "H", "the image's height in pixels (default 650)", {RunCommand::plot}},
        {"--dpi",
         "N",
         "the image's resolution (default 96); the chart is drawn N/96 times larger, so "
         "that --width 1950 --height 1200 --dpi 300 gives a 6.5 x 4 in figure",
         {RunCommand::plot}},
        {"--timing",
         nullptr,
         "print the reading and total times on standard error",
         {RunCommand::run}},
        {"--jobs", "N", "threads computing gages (default: one per core)", {RunCommand::batch}},
        {"--out", "FILE.csv", "write the CSV here instead of standard output", {RunCommand::batch}},
        {"--files-from",
         "LIST",
         "read paths one per line from LIST (- for standard input)",
         {RunCommand::batch}},
        {"--quiet", nullptr, "no progress bar", {RunCommand::batch}},
        {"--progress",
         nullptr,
         "a progress bar on standard error even when it is no terminal",
         {RunCommand::batch}},
    };
    return specs;
}

const char* commandName(RunCommand command) {
    switch (command) {
        case RunCommand::run:
            return "run";
        case RunCommand::excursions:
            return "excursions";
        case RunCommand::batch:
            return "batch";
        case RunCommand::plot:
            return "plot";
    }
    return "";
}

const char* commandSummary(RunCommand command) {
    switch (command) {
        case RunCommand::run:
            return "Computes the design flows of the gages of FILE... and prints the report as "
                   "\"Copy to clipboard\" copies it.";
        case RunCommand::excursions:
            return "Prints the excursion analysis of the biological design flow of results row R.";
        case RunCommand::batch:
            return "Computes every gage of every file or folder PATH... independently and writes "
                   "one CSV line per gage, in input order.\nExit status: 0 when every file was "
                   "read and every gage computed, 3 when some were not (their lines say why), 2 "
                   "for a wrong command line, 1 for wrong settings.";
        case RunCommand::plot:
            return "Draws a chart of the gage of results row R, as the plot window shows it, "
                   "into a PNG or SVG file.";
    }
    return "";
}

// One CLI11 app of the command's options; the files are positional.
struct CommandLine {
    explicit CommandLine(RunCommand command)
        : app(commandSummary(command), std::string("vando3-cli ") + commandName(command)) {
        for (const OptionSpec& spec : optionSpecs()) {
            if (std::find(spec.commands.begin(), spec.commands.end(), command) ==
                spec.commands.end())
                continue;
            if (spec.valueName)
                app.add_option(spec.name, CLI::callback_t{}, spec.help)
                    ->type_name(spec.valueName)
                    ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
            else
                app.add_flag(spec.name, spec.help);
        }
        const bool batch = command == RunCommand::batch;
        files = app.add_option(batch ? "PATH" : "FILE", CLI::callback_t{},
                               batch ? "flow files and folders" : "flow files");
        files->expected(0, CLI::detail::expected_max_vector_size)->allow_extra_args();
    }
    CLI::App app;
    CLI::Option* files = nullptr;
};

class Parser {
  public:
    explicit Parser(RunCommand command) : command_(command) {}

    // Applies the options in the order given, so later ones override earlier ones.
    RunOptions parse(const Args& args) {
        CommandLine line(command_);
        parseCommandLine(line.app, args);
        for (const auto& [option, value] : optionsInOrder(line.app)) {
            if (option == line.files)
                o_.files.push_back({value, {}});
            else
                this->option(option->get_name(), value);
        }
        finishSeason();
        warnOfUnusedValues();
        if ((command_ == RunCommand::excursions || command_ == RunCommand::plot) && !o_.row)
            throw Error(ErrorCode::usage, "--row R is required");
        if (command_ == RunCommand::plot) checkPlotOptions();
        return std::move(o_);
    }

  private:
    std::string value(const std::string&) const { return *value_; }

    void option(const std::string& a, const std::string& value) {
        value_ = &value;
        option(a);
    }

    void option(const std::string& a) {
        run::SettingsTexts& c = o_.texts;
        if (a == "--season-start") {
            c.seasonStart = typedSeasonDate(value(a)).text;
        } else if (a == "--season-end") {
            c.seasonEnd = typedSeasonDate(value(a)).text;
            // An own end date means a season, unless --climatic-year 1 follows.
            climaticYear_ = false;
        } else if (a == "--climatic-year") {
            climaticYear_ = flag(a, value(a));
        } else if (a == "--period") {
            period(value(a));
        } else if (a == "--table-years" && command_ != RunCommand::batch) {
            tableYears(value(a));
        } else if (a == "--bio") {
            bio(value(a));
        } else if (a == "--use-defaults") {
            c.useDefaults = flag(a, value(a));
            if (c.useDefaults) c.writeCriterionDefaults();
        } else if (a == "--nonbio") {
            nonbio(value(a));
        } else if (a == "--avg") {
            c.averagingPeriods = value(a);
        } else if (a == "--rp") {
            c.returnYears = value(a);
        } else if (a == "--flow") {
            c.flow = value(a);
            flowGiven_ = true;
        } else if (a == "--perc") {
            c.percentile = value(a);
            percentileGiven_ = true;
        } else if (a == "--bio-within-season") {
            c.bioWithinSeason = true;
        } else if (a == "--unmark" && command_ != RunCommand::batch) {
            o_.unmarked.push_back(wholeNumber(a, value(a)));
        } else if (a == "--comment") {
            c.comments.push_back(value(a));
        } else if (a == "--advanced") {
            c.advancedReport = flag(a, value(a));
        } else if (a == "--vdp") {
            parameterFile(value(a));
        } else if (a == "--row" &&
                   (command_ == RunCommand::excursions || command_ == RunCommand::plot)) {
            o_.row = wholeNumber(a, value(a));
        } else if (a == "--timing" && command_ == RunCommand::run) {
            o_.timing = true;
        } else if (command_ == RunCommand::batch && batchOption(a)) {
        } else if (command_ == RunCommand::plot && plotOption(a)) {
        } else {
            throw Error(ErrorCode::usage, "unknown option " + a);
        }
    }

    bool batchOption(const std::string& a) {
        BatchOptions& b = o_.batch;
        if (a == "--jobs") {
            b.jobs = wholeNumber(a, value(a));
            if (b.jobs < 1)
                throw Error(ErrorCode::usage, "--jobs takes a number of threads from 1 up");
        } else if (a == "--out") {
            b.out = value(a);
        } else if (a == "--files-from") {
            b.filesFrom.push_back(value(a));
        } else if (a == "--quiet") {
            b.progress = false;
        } else if (a == "--progress") {
            b.progress = true;
        } else {
            return false;
        }
        return true;
    }

    bool plotOption(const std::string& a) {
        PlotOptions& p = o_.plot;
        if (a == "--kind") {
            p.kind = value(a);
        } else if (a == "--avg-index") {
            p.averagingIndex = wholeNumber(a, value(a));
        } else if (a == "--out") {
            p.out = value(a);
        } else if (a == "--width") {
            p.width = boundedNumber(a, vd::run::largestImageSide);
        } else if (a == "--height") {
            p.height = boundedNumber(a, vd::run::largestImageSide);
        } else if (a == "--dpi") {
            p.dpi = boundedNumber(a, vd::run::largestImageDpi);
        } else {
            return false;
        }
        return true;
    }

    int boundedNumber(const std::string& a, int largest) {
        const int n = wholeNumber(a, value(a));
        if (n < 1 || n > largest)
            throw Error(ErrorCode::usage,
                        a + " takes a number from 1 to " + std::to_string(largest));
        return n;
    }

    void checkPlotOptions() const {
        const PlotOptions& p = o_.plot;
        if (p.kind.empty()) throw Error(ErrorCode::usage, "--kind KIND is required");
        if (p.kind != "hydrograph" && p.kind != "duration" && p.kind != "frequency")
            throw Error(ErrorCode::usage,
                        "--kind takes hydrograph, duration or frequency, not " + p.kind);
        if (p.averagingIndex < 1)
            throw Error(ErrorCode::usage, "--avg-index takes a number from 1 up");
        const auto endsWith = [&](const char* suffix) {
            const std::string s(suffix);
            return p.out.size() > s.size() &&
                   p.out.compare(p.out.size() - s.size(), s.size(), s) == 0;
        };
        if (!endsWith(".png") && !endsWith(".svg"))
            throw Error(ErrorCode::usage, "--out FILE must end in .png or .svg");
    }

    void period(const std::string& v) {
        static const std::map<std::string, run::PeriodKind> choices = {
            {"all", run::PeriodKind::all},
            {"common", run::PeriodKind::common},
            {"longest", run::PeriodKind::longest},
            {"table", run::PeriodKind::table}};
        run::SettingsTexts& c = o_.texts;
        o_.periodChosen = true;
        if (const auto it = choices.find(v); it != choices.end()) {
            c.period = it->second;
            return;
        }
        const auto parts = split(v, ':');
        if (parts.size() != 3 || parts[0] != "years")
            throw Error(ErrorCode::usage,
                        "--period takes all, common, longest, table or years:FIRST:LAST");
        c.period = run::PeriodKind::years;
        c.firstYear = parts[1];
        c.lastYear = parts[2];
    }

    void tableYears(const std::string& v) {
        const auto parts = split(v, ':');
        if (parts.size() != 3) throw Error(ErrorCode::usage, "--table-years takes ROW:START:END");
        o_.tableYears.push_back({wholeNumber("--table-years", parts[0]), parts[1], parts[2]});
    }

    void bio(const std::string& v) {
        run::SettingsTexts& c = o_.texts;
        if (const auto it = criteria().find(v); it != criteria().end()) {
            // A named criterion brings its values whatever "Use defaults" says.
            c.criterion = it->second;
            c.writeCriterionDefaults();
            return;
        }
        if (!v.starts_with("custom:"))
            throw Error(ErrorCode::usage,
                        "--bio takes acute, chronic, ammonia or custom:M,XMR,XMI,XME");
        const auto parts = split(v.substr(7), ',');
        if (parts.size() != 4)
            throw Error(ErrorCode::usage, "--bio custom: needs four values M,XMR,XMI,XME");
        c.useDefaults = false;
        c.bioAveragingDays = parts[0];
        c.bioYearsBetween = parts[1];
        c.bioClusterDays = parts[2];
        c.bioExcursionsPerCluster = parts[3];
    }

    void nonbio(const std::string& v) {
        static const std::map<std::string, run::NonBiologicalKind> kinds = {
            {"hydro", run::NonBiologicalKind::hydrological},
            {"flow", run::NonBiologicalKind::explicitFlow},
            {"perc", run::NonBiologicalKind::percentile}};
        const auto it = kinds.find(v);
        if (it == kinds.end()) throw Error(ErrorCode::usage, "--nonbio takes hydro, flow or perc");
        o_.texts.nonBiological = it->second;
    }

    void parameterFile(const std::string& path) {
        const run::ParamFile p = run::loadParamFile(path);
        run::SettingsTexts& c = o_.texts;
        const bool advanced = c.advancedReport;
        c = run::settingsTextsOf(p);
        // The file does not keep the report switch.
        c.advancedReport = advanced;
        o_.periodChosen = true;
        climaticYear_ = c.fullClimaticYear;
        // A batch takes the file's settings only; its files are those named.
        if (command_ == RunCommand::batch) return;
        // The stored rows replace the table; consecutive entries of one file are its gages.
        o_.files.clear();
        const auto kept = run::entriesStillPresent(p.entries, o_.missingStoredFiles);
        o_.missingStoredPaths = run::missingStoredPaths(p.entries, kept);
        if (!kept.empty()) o_.files.push_back({{}, kept});
    }

    // A given flow or percentile without its kind would silently change nothing.
    void warnOfUnusedValues() {
        const run::NonBiologicalKind kind = o_.texts.nonBiological;
        if (percentileGiven_ && kind != run::NonBiologicalKind::percentile)
            o_.warnings.push_back("--perc is used only with --nonbio perc; it is ignored");
        if (flowGiven_ && kind != run::NonBiologicalKind::explicitFlow)
            o_.warnings.push_back("--flow is used only with --nonbio flow; it is ignored");
    }

    // The end date of a full climatic year is always the day before the start.
    void finishSeason() {
        run::SettingsTexts& c = o_.texts;
        if (climaticYear_) c.fullClimaticYear = *climaticYear_;
        if (c.fullClimaticYear) c.seasonEnd = dayBeforeSeasonStart(c.seasonStart);
    }

    const RunCommand command_;
    const std::string* value_ = nullptr;
    RunOptions o_;
    std::optional<bool> climaticYear_;
    bool percentileGiven_ = false;
    bool flowGiven_ = false;
};

}  // namespace

RunOptions parseRunOptions(const Args& args, RunCommand command) {
    return Parser(command).parse(args);
}

}  // namespace vd::cli
