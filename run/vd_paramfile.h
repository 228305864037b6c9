// The parameter file (*.vdp): a whole analysis of the main window as plain text, one
// value per line, read back strictly by position. The window and the command-line
// program share this format; neither needs Qt for it.
#pragma once

#include <array>
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

// What the window keeps beside the settings it shows, so that an opened analysis goes on as
// it was saved.
struct KeptTexts {
    // The season the window keeps aside: the end is what it gives back when "Season is full
    // climatic year" is cleared; the start is kept as it was when the analysis began.
    std::string seasonStart = "Apr 1";
    std::string seasonEnd = "Mar 31";
    // The user's own biological values, given back when "Use defaults" is cleared.
    std::array<std::string, 5> biological{};
    // A fifth biological value, beside the four of the settings, that is kept but never shown.
    std::string hiddenBiological = "1";
    bool operator==(const KeptTexts&) const = default;
};

// Everything a parameter file keeps: the settings as typed, the table's files and what the
// window keeps beside them. The defaults are those of a new analysis.
struct ParamFile {
    // All but the report switch, which the file does not keep: it is not written, and read as
    // its default. The averaging and return periods are kept as periodTextsForFile()
    // gives them. The non-biological kind, its two values and the biological scope are the
    // optional entries: files without them (every older one) read as the defaults, and a file
    // whose options all keep them is written without the section.
    SettingsTexts settings;
    std::vector<ParamFileEntry> entries;
    KeptTexts kept;
    // Whether the file marks a criterion at all: opening one that marks none leaves the
    // window's choice as it is (its settings then hold the acute criterion).
    bool criterionMarked = true;
    bool operator==(const ParamFile&) const = default;
};

// The line that opens the optional entries, each a "name=value" line after it.
inline constexpr const char* paramFileOptionsMark = "--Options";

// The file's text, every line ended by CR LF. Kept biological texts are cut to 255
// characters, as the window keeps them. The optional entries follow the files section, and
// only those that differ from their defaults, so that older readers (which stop after the
// files) read the file as before and a file of defaults is exactly the older form.
std::string paramFileText(const ParamFile& p);

// Parses a parameter file's text; `path` names it in messages and is the folder against
// which relative flow-file paths are resolved (so a shipped analysis opens from any
// folder). Refuses, with a parameter-file error (its what() is the whole message the user
// sees, caption "Error!"), a text whose first line is not the format mark,
// an integer line that does not hold an integer, and a text that ends before its layout
// is complete. After the files, a "--Options" line opens the optional entries: an entry of
// an unknown name is passed over (a newer program's), a known one with a value it cannot take
// and a line that is no "name=value" are refused; anything else after the files is passed
// over, as it always was. Nothing is returned on refusal, so a caller changes nothing.
ParamFile parseParamFile(const std::string& text, const std::string& path);

// The settings a parameter file keeps, as texts; the report switch, which it does not keep,
// keeps its default.
SettingsTexts settingsTextsOf(const ParamFile& p);

// Reads and parses the file at `path`; a file that cannot be read is a parameter-file error.
ParamFile loadParamFile(const std::string& path);

}  // namespace vd::run
