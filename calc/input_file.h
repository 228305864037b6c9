// Opening an input file the user named: only a regular file is opened, and only for
// reading, so that a folder, a named pipe or a device never blocks the program and
// read-only media and shared folders work.
#pragma once

#include <string>

namespace vd {

// What `path` is when it exists but is not a regular file ("a folder", "a named pipe",
// "a device", ...); nullptr for a regular file or a path that names nothing.
const char* nonRegularFileKind(const std::string& path);

// The whole file as bytes. Throws an input-output error when `path` is not a regular file (checked
// before it is opened) or cannot be opened or read.
std::string readInputFile(const std::string& path);

}  // namespace vd
