// The flow files of a batch: files named as they are, folders searched recursively, in the
// order the batch writes its lines.
#pragma once

#include <istream>
#include <string>
#include <vector>

namespace vd::cli {

// True for the names a folder search takes: *.txt, *.rdb, *.cgi, *.flo and the Water Data
// API's *.csv, *.json, *.geojson (any case).
bool isFlowFileName(const std::string& path);

// Every path in the order given; a folder stands for its flow files, sorted by path.
// A path that does not exist is kept, so that its line says why it could not be read.
std::vector<std::string> expandFlowPaths(const std::vector<std::string>& paths);

// One path a line; blank lines are skipped and a CR before the LF is dropped.
std::vector<std::string> pathsFromList(std::istream& in);

}  // namespace vd::cli
