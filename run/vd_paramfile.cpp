#include "vd_paramfile.h"

#include <algorithm>
#include <charconv>
#include <cstddef>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <type_traits>

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
    Error endsEarly(const char* what) const {
        return Error(ErrorCode::paramFile,
                     "\"" + path_ + "\" ends before the parameter file is complete: " + what +
                         " (line " + std::to_string(next_ + 1) + ") is missing.");
    }
    Error invalidNumber(const char* what, const std::string& text) const {
        return Error(ErrorCode::paramFile, "Invalid numeric input in line " +
                                               std::to_string(next_ + 1) + " of \"" + path_ +
                                               "\": '" + vd::fieldExcerpt(text) +
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
    const std::string& path() const { return path_; }

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
            p.settings.nonBiological = kind;
            return true;
        }
    return false;
}

const OptionalEntry optionalEntries[] = {
    {"nonbio", "hydro, flow or perc",
     [](const ParamFile& p) { return std::string(nonBiologicalName(p.settings.nonBiological)); },
     takeNonBiological},
    // The two values are kept as typed; the run refuses what is no flow or percentile.
    {"flow", "any text", [](const ParamFile& p) { return p.settings.flow; },
     [](ParamFile& p, const std::string& v) {
         p.settings.flow = v;
         return true;
     }},
    {"percentile", "any text", [](const ParamFile& p) { return p.settings.percentile; },
     [](ParamFile& p, const std::string& v) {
         p.settings.percentile = v;
         return true;
     }},
    {"bio_within_season", "0 or 1",
     [](const ParamFile& p) { return std::string(p.settings.bioWithinSeason ? "1" : "0"); },
     [](ParamFile& p, const std::string& v) { return takeFlag(p.settings.bioWithinSeason, v); }},
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
        return Error(ErrorCode::paramFile, "Invalid entry in line " + std::to_string(number) +
                                               " of \"" + path + "\": '" + vd::fieldExcerpt(line) +
                                               "'; " + rule + ".");
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

// How the lines of the fixed layout are written and read. A template argument names the
// member a line holds, so that each line of the table below is one entry.
using WriteLine = void (*)(LineWriter&, const ParamFile&);
using ReadLine = void (*)(LineReader&, ParamFile&, const char* what);

template <auto field>
void writeSetting(LineWriter& w, const ParamFile& p) {
    if constexpr (std::is_same_v<std::remove_cvref_t<decltype(p.settings.*field)>, bool>)
        w.flag(p.settings.*field);
    else
        w.line(p.settings.*field);
}
template <auto field>
void readSetting(LineReader& r, ParamFile& p, const char* what) {
    if constexpr (std::is_same_v<std::remove_cvref_t<decltype(p.settings.*field)>, bool>)
        p.settings.*field = r.flag(what);
    else
        p.settings.*field = r.line(what);
}

template <auto field>
void writeKept(LineWriter& w, const ParamFile& p) {
    w.line(p.kept.*field);
}
template <auto field>
void readKept(LineReader& r, ParamFile& p, const char* what) {
    p.kept.*field = r.line(what);
}

// The kept biological texts are cut as the window cuts them when it keeps them.
template <std::size_t i>
void writeKeptBiological(LineWriter& w, const ParamFile& p) {
    w.line(p.kept.biological[i].substr(0, keptTextLimit));
}
template <std::size_t i>
void readKeptBiological(LineReader& r, ParamFile& p, const char* what) {
    p.kept.biological[i] = r.line(what).substr(0, keptTextLimit);
}

// The period is stored as its index among the window's choices, which PeriodKind follows.
constexpr int highestPeriodIndex = static_cast<int>(PeriodKind::years);

void writePeriod(LineWriter& w, const ParamFile& p) {
    w.integer(static_cast<int>(p.settings.period));
}
void readPeriod(LineReader& r, ParamFile& p, const char* what) {
    const int index = r.integer(what);
    if (index < 0 || index > highestPeriodIndex)
        throw Error(ErrorCode::paramFile, "\"" + r.path() + "\": calculation period index " +
                                              std::to_string(index) + " is outside 0 to 4.");
    p.settings.period = static_cast<PeriodKind>(index);
}

// One flag a criterion. Of several marked, the last counts (ammonia before chronic before
// acute), as files were always read; a file that marks none is read as acute, unmarked.
template <CriterionKind kind>
void writeCriterionMark(LineWriter& w, const ParamFile& p) {
    w.flag(p.criterionMarked && p.settings.criterion == kind);
}
template <CriterionKind kind>
void readCriterionMark(LineReader& r, ParamFile& p, const char* what) {
    if (!r.flag(what)) return;
    p.settings.criterion = kind;
    p.criterionMarked = true;
}

void writeComments(LineWriter& w, const ParamFile& p) {
    w.integer(static_cast<int>(p.settings.comments.size()));
    for (const std::string& c : p.settings.comments) w.line(c);
}
void readComments(LineReader& r, ParamFile& p, const char* what) {
    const int count = r.count(what);
    for (int i = 0; i < count; ++i) p.settings.comments.push_back(r.line("a comment line"));
}

void writeEntries(LineWriter& w, const ParamFile& p) {
    w.integer(static_cast<int>(p.entries.size()));
    for (const ParamFileEntry& e : p.entries) {
        w.line(e.path);
        w.flag(e.use);
    }
}
void readEntries(LineReader& r, ParamFile& p, const char* what) {
    const int count = r.count(what);
    // Two lines an entry: a count beyond what the text holds must not reserve memory for it.
    p.entries.reserve(std::min(static_cast<std::size_t>(count), r.linesLeft() / 2));
    for (int i = 0; i < count; ++i) {
        ParamFileEntry e;
        e.path = resolveEntryPath(r.line("a flow-file path"), r.path());
        e.use = r.integer("Use mark") != 0;
        p.entries.push_back(std::move(e));
    }
}

// The format after its mark line, in the order of the file: the name each line has always had
// in the format (a section mark, or the control of the first window it came from), what it
// holds as a refusal names it, and the member it is. A section mark has no functions: it is
// written as its name and passed over when read. Reading and writing both walk this table, so
// a line cannot move in one and not in the other.
struct StoredLine {
    const char* name;
    const char* what;
    WriteLine write = nullptr;
    ReadLine read = nullptr;
};

const StoredLine storedLines[] = {
    {"--Calculation Period", "the calculation period marker"},
    {"MRG", "calculation period index", writePeriod, readPeriod},
    {"MEdit1", "the first year of the period", writeSetting<&SettingsTexts::firstYear>,
     readSetting<&SettingsTexts::firstYear>},
    {"MEdit2", "the last year of the period", writeSetting<&SettingsTexts::lastYear>,
     readSetting<&SettingsTexts::lastYear>},
    {"--Season", "the season marker"},
    {"CheckBox2", "full climatic year flag", writeSetting<&SettingsTexts::fullClimaticYear>,
     readSetting<&SettingsTexts::fullClimaticYear>},
    {"Edit1", "the season end date", writeSetting<&SettingsTexts::seasonEnd>,
     readSetting<&SettingsTexts::seasonEnd>},
    {"Edit2", "the season start date", writeSetting<&SettingsTexts::seasonStart>,
     readSetting<&SettingsTexts::seasonStart>},
    {"SDayText", "the saved season start", writeKept<&KeptTexts::seasonStart>,
     readKept<&KeptTexts::seasonStart>},
    {"EdayText", "the saved season end", writeKept<&KeptTexts::seasonEnd>,
     readKept<&KeptTexts::seasonEnd>},
    {"--Comments", "the comments marker"},
    {"comment count, then the lines", "number of comment lines", writeComments, readComments},
    {"--Biological", "the biological marker"},
    {"CheckBox1", "\"Use defaults\" flag", writeSetting<&SettingsTexts::useDefaults>,
     readSetting<&SettingsTexts::useDefaults>},
    {"RadioButton1", "acute criterion flag", writeCriterionMark<CriterionKind::acute>,
     readCriterionMark<CriterionKind::acute>},
    {"RadioButton2", "chronic criterion flag", writeCriterionMark<CriterionKind::chronic>,
     readCriterionMark<CriterionKind::chronic>},
    {"RadioButton3", "ammonia criterion flag", writeCriterionMark<CriterionKind::ammonia>,
     readCriterionMark<CriterionKind::ammonia>},
    {"EditBio[0]", "a biological value", writeSetting<&SettingsTexts::bioAveragingDays>,
     readSetting<&SettingsTexts::bioAveragingDays>},
    {"EditBio[1]", "a biological value", writeSetting<&SettingsTexts::bioYearsBetween>,
     readSetting<&SettingsTexts::bioYearsBetween>},
    {"EditBio[2]", "a biological value", writeSetting<&SettingsTexts::bioClusterDays>,
     readSetting<&SettingsTexts::bioClusterDays>},
    {"EditBio[3]", "a biological value", writeSetting<&SettingsTexts::bioExcursionsPerCluster>,
     readSetting<&SettingsTexts::bioExcursionsPerCluster>},
    {"EditBio[4]", "a biological value", writeKept<&KeptTexts::hiddenBiological>,
     readKept<&KeptTexts::hiddenBiological>},
    {"Bio[0]", "a kept biological value", writeKeptBiological<0>, readKeptBiological<0>},
    {"Bio[1]", "a kept biological value", writeKeptBiological<1>, readKeptBiological<1>},
    {"Bio[2]", "a kept biological value", writeKeptBiological<2>, readKeptBiological<2>},
    {"Bio[3]", "a kept biological value", writeKeptBiological<3>, readKeptBiological<3>},
    {"Bio[4]", "a kept biological value", writeKeptBiological<4>, readKeptBiological<4>},
    {"--Hydrological", "the hydrological marker"},
    {"Edit3", "the flow averaging period", writeSetting<&SettingsTexts::averagingPeriods>,
     readSetting<&SettingsTexts::averagingPeriods>},
    {"Edit4", "the return period", writeSetting<&SettingsTexts::returnYears>,
     readSetting<&SettingsTexts::returnYears>},
    {"--Files", "the files marker"},
    {"entry count, then path and Use mark each", "number of flow-file entries", writeEntries,
     readEntries},
};

}  // namespace

std::string paramFileText(const ParamFile& p) {
    LineWriter w;
    w.line(paramFileMark);
    for (const StoredLine& l : storedLines) {
        if (l.write == nullptr)
            w.line(l.name);
        else
            l.write(w, p);
    }
    writeOptionalEntries(w, p);
    return w.text();
}

ParamFile parseParamFile(const std::string& text, const std::string& path) {
    LineReader r(text, path);
    if (text.empty() || r.line("the format mark") != paramFileMark)
        throw Error(ErrorCode::paramFile, path + " is not a VANDO 3.0 parameter file.");

    ParamFile p;
    p.criterionMarked = false;  // until a criterion line marks one
    for (const StoredLine& l : storedLines) {
        if (l.read == nullptr)
            r.marker(l.what);
        else
            l.read(r, p, l.what);
    }
    readOptionalEntries(r, p, path);
    return p;
}

ParamFile loadParamFile(const std::string& path) {
    // A folder or a named pipe is refused before it is opened: opening a pipe would block.
    if (const char* kind = vd::nonRegularFileKind(path))
        throw Error(ErrorCode::paramFile,
                    "\"" + path + "\" is " + kind + ", not a parameter file.");
    std::ifstream in(pathFromUtf8(path), std::ios::binary);
    if (!in) throw Error(ErrorCode::paramFile, "Cannot open \"" + path + "\".");
    std::ostringstream text;
    text << in.rdbuf();
    if (in.bad()) throw Error(ErrorCode::paramFile, "Cannot read \"" + path + "\".");
    return parseParamFile(text.str(), path);
}

SettingsTexts settingsTextsOf(const ParamFile& p) {
    SettingsTexts t = p.settings;
    t.advancedReport = SettingsTexts{}.advancedReport;
    return t;
}

}  // namespace vd::run
