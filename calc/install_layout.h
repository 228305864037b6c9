// Where an installed program finds the log-Pearson library and the help file when they are
// not beside it: relative to the program's folder, in the layout `cmake --install` (and the
// package) lays out. The top CMakeLists.txt installs to the same places.
#pragma once

namespace vd {

inline constexpr const char* libraryFolderFromProgram = "../lib/vando3";
inline constexpr const char* helpFolderFromProgram = "../share/vando3";

}  // namespace vd
