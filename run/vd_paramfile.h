// The parameter file (*.vdp): a whole analysis of the main window as plain text, one
// value per line, read back strictly by position. The window and the command-line
// program share this format; neither needs Qt for it.
#pragma once

#include <array>
#include <stdexcept>
#include <string>
#include <vector>

#include "run_settings.h"

namespace vd::run {

inline constexpr const char* paramFileMark = "VANDO 3.0";

// One gage row of the table: its flow file and whether its Use mark is set.
struct ParamFileEntry {
    std::string path;
    bool use = true;
    bool operator==(const ParamFileEntry&) const = default;
};

// Everything a parameter file keeps, named after the controls it comes from.
struct ParamFile {
    int MRG = 0;  // selected calculation-period item, 0..4
    std::string MEdit1, MEdit2;
    bool CheckBox2 = true;  // "Season is full climatic year"
    std::string Edit1 = "Mar 31";
    std::string Edit2 = "Apr 1";
    std::string SDayText = "Apr 1";
    std::string EdayText = "Mar 31";
    std::vector<std::string> comments;
    bool CheckBox1 = true;  // "Use defaults"
    bool RadioButton1 = true;
    bool RadioButton2 = false;
    bool RadioButton3 = false;
    std::array<std::string, 5> EditBio{"1", "3", "120", "5", "1"};
    std::array<std::string, 5> Bio{};  // the user's own biological values
    std::string Edit3 = "7";
    std::string Edit4 = "10";
    std::vector<ParamFileEntry> entries;
    // Optional entries, after the files: files without them (every older one) read as these
    // defaults, and a file whose options all keep them is written without the section.
    NonBiologicalKind nonBiological = NonBiologicalKind::hydrological;
    std::string flow = "5";          // "Explicit flow value", as typed
    std::string percentile = "0.1";  // "Flow percentile", as typed
    bool bioWithinSeason = false;
    bool operator==(const ParamFile&) const = default;
};

// The line that opens the optional entries, each a "name=value" line after it.
inline constexpr const char* paramFileOptionsMark = "--Options";

// A refusal of the reader; what() is the whole message the user sees (caption "Error!").
class ParamFileError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// The file's text, every line ended by CR LF. Kept biological texts are cut to 255
// characters, as the window keeps them. The optional entries follow the files section, and
// only those that differ from their defaults, so that older readers (which stop after the
// files) read the file as before and a file of defaults is exactly the older form.
std::string paramFileText(const ParamFile& p);

// Parses a parameter file's text; `path` names it in messages and is the folder against
// which relative flow-file paths are resolved (so a shipped analysis opens from any
// folder). Refuses, with ParamFileError, a text whose first line is not the format mark,
// an integer line that does not hold an integer, and a text that ends before its layout
// is complete. After the files, a "--Options" line opens the optional entries: an entry of
// an unknown name is passed over (a newer program's), a known one with a value it cannot take
// and a line that is no "name=value" are refused; anything else after the files is passed
// over, as it always was. Nothing is returned on refusal, so a caller changes nothing.
ParamFile parseParamFile(const std::string& text, const std::string& path);

// The settings a parameter file keeps, as texts; the report switch, which it does not keep,
// keeps its default.
SettingsTexts settingsTextsOf(const ParamFile& p);

// Reads and parses the file at `path`; a file that cannot be read is a ParamFileError.
ParamFile loadParamFile(const std::string& path);

}  // namespace vd::run
