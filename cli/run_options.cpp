#include "run_options.h"

#include <filesystem>
#include <map>

#include "errors.h"
#include "number_text.h"
#include "season_date.h"
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
    } catch (const ConvertError&) {
        throw UsageError(option + ": '" + text + "' is not a whole number");
    }
}

bool flag(const std::string& option, const std::string& text) {
    if (text == "1") return true;
    if (text == "0") return false;
    throw UsageError(option + " takes 1 or 0, not '" + text + "'");
}

class Parser {
  public:
    Parser(const Args& args, RunCommand command) : args_(args), command_(command) {}

    RunOptions parse() {
        for (i_ = 0; i_ < args_.size(); ++i_) {
            const std::string& a = args_[i_];
            if (a.starts_with("--"))
                option(a);
            else
                o_.files.push_back({a, {}});
        }
        finishSeason();
        if (command_ == RunCommand::excursions && !o_.excursionRow)
            throw UsageError("--row R is required");
        return std::move(o_);
    }

  private:
    std::string value(const std::string& option) {
        if (i_ + 1 >= args_.size()) throw UsageError(option + " needs a value");
        return args_[++i_];
    }

    void option(const std::string& a) {
        run::SettingsTexts& c = o_.texts;
        if (a == "--season-start") {
            c.seasonStart = niceenoughdate(value(a)).text;
        } else if (a == "--season-end") {
            c.seasonEnd = niceenoughdate(value(a)).text;
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
        } else if (a == "--perc") {
            c.percentile = value(a);
        } else if (a == "--unmark" && command_ != RunCommand::batch) {
            o_.unmarked.push_back(wholeNumber(a, value(a)));
        } else if (a == "--comment") {
            c.comments.push_back(value(a));
        } else if (a == "--advanced") {
            c.advancedReport = flag(a, value(a));
        } else if (a == "--vdp") {
            parameterFile(value(a));
        } else if (a == "--row" && command_ == RunCommand::excursions) {
            o_.excursionRow = wholeNumber(a, value(a));
        } else if (a == "--timing" && command_ == RunCommand::run) {
            o_.timing = true;
        } else if (command_ == RunCommand::batch && batchOption(a)) {
        } else {
            throw UsageError("unknown option " + a);
        }
    }

    bool batchOption(const std::string& a) {
        BatchOptions& b = o_.batch;
        if (a == "--jobs") {
            b.jobs = wholeNumber(a, value(a));
            if (b.jobs < 1) throw UsageError("--jobs takes a number of threads from 1 up");
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
            throw UsageError("--period takes all, common, longest, table or years:FIRST:LAST");
        c.period = run::PeriodKind::years;
        c.firstYear = parts[1];
        c.lastYear = parts[2];
    }

    void tableYears(const std::string& v) {
        const auto parts = split(v, ':');
        if (parts.size() != 3) throw UsageError("--table-years takes ROW:START:END");
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
            throw UsageError("--bio takes acute, chronic, ammonia or custom:M,XMR,XMI,XME");
        const auto parts = split(v.substr(7), ',');
        if (parts.size() != 4) throw UsageError("--bio custom: needs four values M,XMR,XMI,XME");
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
        if (it == kinds.end()) throw UsageError("--nonbio takes hydro, flow or perc");
        o_.texts.nonBiological = it->second;
    }

    void parameterFile(const std::string& path) {
        const run::ParamFile p = run::loadParamFile(path);
        run::SettingsTexts& c = o_.texts;
        const bool advanced = c.advancedReport;
        const run::NonBiologicalKind kind = c.nonBiological;
        const std::string flow = c.flow, percentile = c.percentile;
        c = run::settingsTextsOf(p);
        // The file keeps neither the non-biological kind's own fields nor the report switch.
        c.advancedReport = advanced;
        c.nonBiological = kind;
        c.flow = flow;
        c.percentile = percentile;
        o_.periodChosen = true;
        climaticYear_ = c.fullClimaticYear;
        // A batch takes the file's settings only; its files are those named.
        if (command_ == RunCommand::batch) return;
        // The stored rows replace the table; consecutive entries of one file are its gages.
        o_.files.clear();
        o_.missingStoredFiles = false;
        for (const run::ParamFileEntry& e : p.entries) {
            if (!std::filesystem::exists(e.path)) {
                o_.missingStoredFiles = true;
                continue;
            }
            if (o_.files.empty() || o_.files.back().path != e.path ||
                o_.files.back().storedUse.empty())
                o_.files.push_back({e.path, {}});
            o_.files.back().storedUse.push_back(e.use);
        }
    }

    // The end date of a full climatic year is always the day before the start.
    void finishSeason() {
        run::SettingsTexts& c = o_.texts;
        if (climaticYear_) c.fullClimaticYear = *climaticYear_;
        if (c.fullClimaticYear) c.seasonEnd = dayBeforeSeasonStart(c.seasonStart);
    }

    const Args& args_;
    const RunCommand command_;
    std::size_t i_ = 0;
    RunOptions o_;
    std::optional<bool> climaticYear_;
};

}  // namespace

RunOptions parseRunOptions(const Args& args, RunCommand command) {
    return Parser(args, command).parse();
}

}  // namespace vd::cli
