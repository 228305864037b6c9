// The flow files of a batch: files named as they are, folders searched recursively, in the
// order the batch writes its lines.
#pragma once

#include <istream>
#include <optional>
#include <string>
#include <vector>

namespace vd::cli {

// True for the names a folder search takes: *.txt, *.rdb, *.cgi, *.flo and the Water Data
// API's *.csv, *.json, *.geojson (any case).
bool isFlowFileName(const std::string& path);

// One line (or more) of the batch: a flow file, or a folder of the search that could not
// be read, whose line says why.
struct BatchInput {
    std::string path;
    std::string unreadable;  // empty for a file to read
};

// Every path in the order given; a folder stands for its flow files, sorted by path, and
// for each of its subfolders that cannot be read. A path that does not exist is kept, so
// that its line says why it could not be read. A results CSV that an earlier batch left in
// a folder is no flow file and is passed over.
std::vector<BatchInput> expandFlowPaths(const std::vector<std::string>& paths);

// Why `out` may not be written by a batch over `paths` (its expansion `inputs`): it is one
// of the inputs, or a name the search of a folder being read would take. Empty when it may.
std::optional<std::string> outputClashWithInputs(const std::string& out,
                                                 const std::vector<std::string>& paths,
                                                 const std::vector<BatchInput>& inputs);

// One path a line; blank lines are skipped and a CR before the LF is dropped.
std::vector<std::string> pathsFromList(std::istream& in);

}  // namespace vd::cli
