#include "run_options.h"

#include <filesystem>
#include <map>

#include "errors.h"
#include "number_text.h"
#include "season_date.h"
#include "utf8_path.h"
#include "vd_paramfile.h"

namespace vd::cli {
namespace {

struct Criterion {
    bool chronic;
    bool ammonia;
    const char* values[4];
};

const std::map<std::string, Criterion>& criteria() {
    static const std::map<std::string, Criterion> table = {
        {"acute", {false, false, {"1", "3", "120", "5"}}},
        {"chronic", {true, false, {"4", "3", "120", "5"}}},
        {"ammonia", {false, true, {"30", "3", "120", "4"}}},
    };
    return table;
}

void writeDefaults(run::ControlTexts& c) {
    const Criterion& k = criteria().at(c.RadioButton3   ? "ammonia"
                                       : c.RadioButton2 ? "chronic"
                                                        : "acute");
    c.EditBio1 = k.values[0];
    c.EditBio2 = k.values[1];
    c.EditBio3 = k.values[2];
    c.EditBio4 = k.values[3];
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
    Parser(const Args& args, bool excursions) : args_(args), excursions_(excursions) {}

    RunOptions parse() {
        for (i_ = 0; i_ < args_.size(); ++i_) {
            const std::string& a = args_[i_];
            if (a.starts_with("--"))
                option(a);
            else
                o_.files.push_back({a, {}});
        }
        finishSeason();
        if (excursions_ && !o_.excursionRow) throw UsageError("--row R is required");
        return std::move(o_);
    }

  private:
    std::string value(const std::string& option) {
        if (i_ + 1 >= args_.size()) throw UsageError(option + " needs a value");
        return args_[++i_];
    }

    void option(const std::string& a) {
        run::ControlTexts& c = o_.controls;
        if (a == "--season-start") {
            c.Edit2 = niceenoughdate(value(a)).text;
        } else if (a == "--season-end") {
            c.Edit1 = niceenoughdate(value(a)).text;
            // An own end date means a season, unless --climatic-year 1 follows.
            climaticYear_ = false;
        } else if (a == "--climatic-year") {
            climaticYear_ = flag(a, value(a));
        } else if (a == "--period") {
            period(value(a));
        } else if (a == "--table-years") {
            tableYears(value(a));
        } else if (a == "--bio") {
            bio(value(a));
        } else if (a == "--use-defaults") {
            c.CheckBox1 = flag(a, value(a));
            if (c.CheckBox1) writeDefaults(c);
        } else if (a == "--nonbio") {
            nonbio(value(a));
        } else if (a == "--avg") {
            c.Edit3 = value(a);
        } else if (a == "--rp") {
            c.Edit4 = value(a);
        } else if (a == "--flow") {
            c.Edit5 = value(a);
        } else if (a == "--perc") {
            c.Edit6 = value(a);
        } else if (a == "--unmark") {
            o_.unmarked.push_back(wholeNumber(a, value(a)));
        } else if (a == "--comment") {
            c.comments.push_back(value(a));
        } else if (a == "--advanced") {
            o_.advanced = flag(a, value(a));
        } else if (a == "--vdp") {
            parameterFile(value(a));
        } else if (a == "--row" && excursions_) {
            o_.excursionRow = wholeNumber(a, value(a));
        } else if (a == "--timing" && !excursions_) {
            o_.timing = true;
        } else {
            throw UsageError("unknown option " + a);
        }
    }

    void period(const std::string& v) {
        static const std::map<std::string, int> choices = {
            {"all", 0}, {"common", 1}, {"longest", 2}, {"table", 3}};
        run::ControlTexts& c = o_.controls;
        o_.periodChosen = true;
        if (const auto it = choices.find(v); it != choices.end()) {
            c.MRG = it->second;
            return;
        }
        const auto parts = split(v, ':');
        if (parts.size() != 3 || parts[0] != "years")
            throw UsageError("--period takes all, common, longest, table or years:FIRST:LAST");
        c.MRG = 4;
        c.MEdit1 = parts[1];
        c.MEdit2 = parts[2];
    }

    void tableYears(const std::string& v) {
        const auto parts = split(v, ':');
        if (parts.size() != 3) throw UsageError("--table-years takes ROW:START:END");
        o_.tableYears.push_back({wholeNumber("--table-years", parts[0]), parts[1], parts[2]});
    }

    void bio(const std::string& v) {
        run::ControlTexts& c = o_.controls;
        if (const auto it = criteria().find(v); it != criteria().end()) {
            c.RadioButton2 = it->second.chronic;
            c.RadioButton3 = it->second.ammonia;
            writeDefaults(c);
            return;
        }
        if (!v.starts_with("custom:"))
            throw UsageError("--bio takes acute, chronic, ammonia or custom:M,XMR,XMI,XME");
        const auto parts = split(v.substr(7), ',');
        if (parts.size() != 4) throw UsageError("--bio custom: needs four values M,XMR,XMI,XME");
        c.CheckBox1 = false;
        c.EditBio1 = parts[0];
        c.EditBio2 = parts[1];
        c.EditBio3 = parts[2];
        c.EditBio4 = parts[3];
    }

    void nonbio(const std::string& v) {
        static const std::map<std::string, int> kinds = {{"hydro", 4}, {"flow", 5}, {"perc", 6}};
        const auto it = kinds.find(v);
        if (it == kinds.end()) throw UsageError("--nonbio takes hydro, flow or perc");
        o_.controls.toggle = it->second;
    }

    void parameterFile(const std::string& path) {
        const run::ParamFile p = run::loadParamFile(path);
        run::ControlTexts& c = o_.controls;
        c.MRG = p.MRG;
        c.MEdit1 = p.MEdit1;
        c.MEdit2 = p.MEdit2;
        o_.periodChosen = true;
        c.CheckBox2 = p.CheckBox2;
        climaticYear_ = p.CheckBox2;
        c.Edit1 = p.Edit1;
        c.Edit2 = p.Edit2;
        c.comments = p.comments;
        c.CheckBox1 = p.CheckBox1;
        c.RadioButton2 = p.RadioButton2;
        c.RadioButton3 = p.RadioButton3;
        c.EditBio1 = p.EditBio[0];
        c.EditBio2 = p.EditBio[1];
        c.EditBio3 = p.EditBio[2];
        c.EditBio4 = p.EditBio[3];
        c.Edit3 = p.Edit3;
        c.Edit4 = p.Edit4;
        // The stored rows replace the table; consecutive entries of one file are its gages.
        o_.files.clear();
        o_.missingStoredFiles = false;
        for (const run::ParamFileEntry& e : p.entries) {
            if (!std::filesystem::exists(pathFromUtf8(e.path))) {
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
        run::ControlTexts& c = o_.controls;
        if (climaticYear_) c.CheckBox2 = *climaticYear_;
        if (c.CheckBox2) c.Edit1 = dayBeforeSeasonStart(c.Edit2);
    }

    const Args& args_;
    const bool excursions_;
    std::size_t i_ = 0;
    RunOptions o_;
    std::optional<bool> climaticYear_;
};

}  // namespace

RunOptions parseRunOptions(const Args& args, bool excursions) {
    return Parser(args, excursions).parse();
}

}  // namespace vd::cli
