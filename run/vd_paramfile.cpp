#include "vd_paramfile.h"

#include <algorithm>
#include <charconv>
#include <cstddef>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "errors.h"
#include "input_file.h"
#include "utf8_path.h"

namespace vd::run {

namespace {

constexpr std::size_t keptTextLimit = 255;

class LineWriter {
  public:
    void line(const std::string& text) { out_ << text << "\r\n"; }
    void integer(int value) { line(std::to_string(value)); }
    void flag(bool value) { line(value ? "1" : "0"); }
    std::string text() const { return out_.str(); }

  private:
    std::ostringstream out_;
};

// Reads the text line by line, as the format was always read: whole lines for texts,
// and for integers the first number after any blanks and line ends, the rest of its line
// skipped. Running out of lines is a refusal, never a silent empty value.
class LineReader {
  public:
    LineReader(const std::string& text, std::string path) : path_(std::move(path)) {
        std::size_t begin = 0;
        while (begin < text.size()) {
            std::size_t end = text.find('\n', begin);
            if (end == std::string::npos) end = text.size();
            std::string line = text.substr(begin, end - begin);
            if (!line.empty() && line.back() == '\r') line.pop_back();
            lines_.push_back(std::move(line));
            begin = end + 1;
        }
    }

    std::string line(const char* what) {
        if (next_ >= lines_.size()) throw endsEarly(what);
        return lines_[next_++];
    }

    void marker(const char* what) { line(what); }

    int integer(const char* what) {
        while (next_ < lines_.size() && isBlank(lines_[next_])) ++next_;
        if (next_ >= lines_.size()) throw endsEarly(what);
        const std::string& text = lines_[next_];
        const std::size_t first = text.find_first_not_of(" \t");
        const char* begin = text.data() + first;
        const char* end = text.data() + text.size();
        if (*begin == '+') ++begin;
        int value = 0;
        const auto [stop, ec] = std::from_chars(begin, end, value);
        const bool endsAtBlank = stop == end || *stop == ' ' || *stop == '\t';
        if (ec != std::errc{} || !endsAtBlank) throw invalidNumber(what, text);
        ++next_;
        return value;
    }

    int count(const char* what) {
        const std::size_t at = next_;
        const int value = integer(what);
        if (value < 0) throw invalidNumber(what, lines_[at]);
        return value;
    }

    bool flag(const char* what) { return integer(what) == 1; }

  private:
    static bool isBlank(const std::string& s) {
        return s.find_first_not_of(" \t") == std::string::npos;
    }
    ParamFileError endsEarly(const char* what) const {
        return ParamFileError("\"" + path_ + "\" ends before the parameter file is complete: " +
                              what + " (line " + std::to_string(next_ + 1) + ") is missing.");
    }
    ParamFileError invalidNumber(const char* what, const std::string& text) const {
        return ParamFileError("Invalid numeric input in line " + std::to_string(next_ + 1) +
                              " of \"" + path_ + "\": '" + vd::fieldExcerpt(text) +
                              "' is not a valid " + what + ".");
    }

  public:
    std::size_t linesLeft() const { return lines_.size() - next_; }

    // The next line that is not blank, or null at the end of the text; blank lines are passed.
    const std::string* nextFilledLine() {
        while (next_ < lines_.size() && isBlank(lines_[next_])) ++next_;
        return next_ < lines_.size() ? &lines_[next_] : nullptr;
    }
    void skip() { ++next_; }
    std::size_t lineNumber() const { return next_ + 1; }

  private:
    std::vector<std::string> lines_;
    std::size_t next_ = 0;
    std::string path_;
};

// Entries may name their flow files relative to the parameter file, so that an analysis
// kept beside its data opens from wherever the folder is. A path from a root is kept as
// written, with or without a drive letter on Windows.
std::string resolveEntryPath(const std::string& entry, const std::string& paramPath) {
    namespace fs = std::filesystem;
    const fs::path p = pathFromUtf8(entry);
    if (entry.empty() || p.has_root_directory()) return entry;
    const fs::path folder = pathFromUtf8(paramPath).parent_path();
    return utf8Text(fs::absolute(folder / p).lexically_normal());
}

// One optional entry: its name, what its value may be (for a refusal), its value as written
// and how a read value is taken (false: the value is refused). Adding an option is adding
// one line to the table.
struct OptionalEntry {
    const char* name;
    const char* takes;
    std::string (*value)(const ParamFile&);
    bool (*take)(ParamFile&, const std::string&);
};

bool takeFlag(bool& flag, const std::string& value) {
    if (value != "0" && value != "1") return false;
    flag = value == "1";
    return true;
}

// The names are those of the command line's --nonbio.
const char* nonBiologicalName(NonBiologicalKind kind) {
    switch (kind) {
        case NonBiologicalKind::explicitFlow:
            return "flow";
        case NonBiologicalKind::percentile:
            return "perc";
        case NonBiologicalKind::hydrological:
            break;
    }
    return "hydro";
}

bool takeNonBiological(ParamFile& p, const std::string& value) {
    for (const NonBiologicalKind kind :
         {NonBiologicalKind::hydrological, NonBiologicalKind::explicitFlow,
          NonBiologicalKind::percentile})
        if (value == nonBiologicalName(kind)) {
            p.nonBiological = kind;
            return true;
        }
    return false;
}

const OptionalEntry optionalEntries[] = {
    {"nonbio", "hydro, flow or perc",
     [](const ParamFile& p) { return std::string(nonBiologicalName(p.nonBiological)); },
     takeNonBiological},
    // The two values are kept as typed; the run refuses what is no flow or percentile.
    {"flow", "any text", [](const ParamFile& p) { return p.flow; },
     [](ParamFile& p, const std::string& v) {
         p.flow = v;
         return true;
     }},
    {"percentile", "any text", [](const ParamFile& p) { return p.percentile; },
     [](ParamFile& p, const std::string& v) {
         p.percentile = v;
         return true;
     }},
    {"bio_within_season", "0 or 1",
     [](const ParamFile& p) { return std::string(p.bioWithinSeason ? "1" : "0"); },
     [](ParamFile& p, const std::string& v) { return takeFlag(p.bioWithinSeason, v); }},
};

void writeOptionalEntries(LineWriter& w, const ParamFile& p) {
    const ParamFile defaults;
    std::vector<std::string> lines;
    for (const OptionalEntry& e : optionalEntries) {
        const std::string value = e.value(p);
        if (value != e.value(defaults)) lines.push_back(std::string(e.name) + "=" + value);
    }
    if (lines.empty()) return;
    w.line(paramFileOptionsMark);
    for (const std::string& line : lines) w.line(line);
}

void readOptionalEntry(ParamFile& p, const std::string& line, std::size_t number,
                       const std::string& path) {
    const std::size_t equals = line.find('=');
    const auto refuse = [&](const std::string& rule) {
        return ParamFileError("Invalid entry in line " + std::to_string(number) + " of \"" + path +
                              "\": '" + vd::fieldExcerpt(line) + "'; " + rule + ".");
    };
    if (equals == std::string::npos) throw refuse("an optional entry is a name=value line");
    const std::string name = line.substr(0, equals);
    const std::string value = line.substr(equals + 1);
    for (const OptionalEntry& e : optionalEntries) {
        if (name != e.name) continue;
        if (!e.take(p, value)) throw refuse(name + " takes " + e.takes);
        return;
    }
    // An unknown name is a newer program's option: passed over.
}

// Older files end with the files section, or hold anything after it, which was never read.
void readOptionalEntries(LineReader& r, ParamFile& p, const std::string& path) {
    const std::string* mark = r.nextFilledLine();
    if (mark == nullptr || *mark != paramFileOptionsMark) return;
    r.skip();
    while (const std::string* line = r.nextFilledLine()) {
        readOptionalEntry(p, *line, r.lineNumber(), path);
        r.skip();
    }
}

}  // namespace

std::string paramFileText(const ParamFile& p) {
    LineWriter w;
    w.line(paramFileMark);
    w.line("--Calculation Period");
    w.integer(p.MRG);
    w.line(p.MEdit1);
    w.line(p.MEdit2);
    w.line("--Season");
    w.flag(p.CheckBox2);
    w.line(p.Edit1);
    w.line(p.Edit2);
    w.line(p.SDayText);
    w.line(p.EdayText);
    w.line("--Comments");
    w.integer(static_cast<int>(p.comments.size()));
    for (const auto& c : p.comments) w.line(c);
    w.line("--Biological");
    w.flag(p.CheckBox1);
    w.flag(p.RadioButton1);
    w.flag(p.RadioButton2);
    w.flag(p.RadioButton3);
    for (const auto& t : p.EditBio) w.line(t);
    for (const auto& t : p.Bio) w.line(t.substr(0, keptTextLimit));
    w.line("--Hydrological");
    w.line(p.Edit3);
    w.line(p.Edit4);
    w.line("--Files");
    w.integer(static_cast<int>(p.entries.size()));
    for (const auto& e : p.entries) {
        w.line(e.path);
        w.flag(e.use);
    }
    writeOptionalEntries(w, p);
    return w.text();
}

ParamFile parseParamFile(const std::string& text, const std::string& path) {
    LineReader r(text, path);
    if (text.empty() || r.line("the format mark") != paramFileMark)
        throw ParamFileError(path + " is not a VANDO 3.0 parameter file.");

    ParamFile p;
    r.marker("the calculation period marker");
    p.MRG = r.integer("calculation period index");
    if (p.MRG < 0 || p.MRG > 4)
        throw ParamFileError("\"" + path + "\": calculation period index " + std::to_string(p.MRG) +
                             " is outside 0 to 4.");
    p.MEdit1 = r.line("the first year of the period");
    p.MEdit2 = r.line("the last year of the period");
    r.marker("the season marker");
    p.CheckBox2 = r.flag("full climatic year flag");
    p.Edit1 = r.line("the season end date");
    p.Edit2 = r.line("the season start date");
    p.SDayText = r.line("the saved season start");
    p.EdayText = r.line("the saved season end");
    r.marker("the comments marker");
    const int ncomments = r.count("number of comment lines");
    for (int i = 0; i < ncomments; ++i) p.comments.push_back(r.line("a comment line"));
    r.marker("the biological marker");
    p.CheckBox1 = r.flag("\"Use defaults\" flag");
    p.RadioButton1 = r.flag("acute criterion flag");
    p.RadioButton2 = r.flag("chronic criterion flag");
    p.RadioButton3 = r.flag("ammonia criterion flag");
    for (auto& t : p.EditBio) t = r.line("a biological value");
    for (auto& t : p.Bio) t = r.line("a kept biological value").substr(0, keptTextLimit);
    r.marker("the hydrological marker");
    p.Edit3 = r.line("the flow averaging period");
    p.Edit4 = r.line("the return period");
    r.marker("the files marker");
    const int nentries = r.count("number of flow-file entries");
    // Two lines an entry: a count beyond what the text holds must not reserve memory for it.
    p.entries.reserve(std::min(static_cast<std::size_t>(nentries), r.linesLeft() / 2));
    for (int i = 0; i < nentries; ++i) {
        ParamFileEntry e;
        e.path = resolveEntryPath(r.line("a flow-file path"), path);
        e.use = r.integer("Use mark") != 0;
        p.entries.push_back(std::move(e));
    }
    readOptionalEntries(r, p, path);
    return p;
}

ParamFile loadParamFile(const std::string& path) {
    // A folder or a named pipe is refused before it is opened: opening a pipe would block.
    if (const char* kind = vd::nonRegularFileKind(path))
        throw ParamFileError("\"" + path + "\" is " + kind + ", not a parameter file.");
    std::ifstream in(pathFromUtf8(path), std::ios::binary);
    if (!in) throw ParamFileError("Cannot open \"" + path + "\".");
    std::ostringstream text;
    text << in.rdbuf();
    if (in.bad()) throw ParamFileError("Cannot read \"" + path + "\".");
    return parseParamFile(text.str(), path);
}

SettingsTexts settingsTextsOf(const ParamFile& p) {
    SettingsTexts t;
    t.period = static_cast<PeriodKind>(p.MRG);
    t.firstYear = p.MEdit1;
    t.lastYear = p.MEdit2;
    t.fullClimaticYear = p.CheckBox2;
    t.seasonEnd = p.Edit1;
    t.seasonStart = p.Edit2;
    t.comments = p.comments;
    t.useDefaults = p.CheckBox1;
    t.criterion = p.RadioButton3   ? CriterionKind::ammonia
                  : p.RadioButton2 ? CriterionKind::chronic
                                   : CriterionKind::acute;
    t.bioAveragingDays = p.EditBio[0];
    t.bioYearsBetween = p.EditBio[1];
    t.bioClusterDays = p.EditBio[2];
    t.bioExcursionsPerCluster = p.EditBio[3];
    t.averagingPeriods = p.Edit3;
    t.returnYears = p.Edit4;
    t.nonBiological = p.nonBiological;
    t.flow = p.flow;
    t.percentile = p.percentile;
    t.bioWithinSeason = p.bioWithinSeason;
    return t;
}

}  // namespace vd::run
