// The platform layer of the log-Pearson binding: loading a shared library and finding an
// entry in it (dlopen/dlsym, or LoadLibrary/GetProcAddress on Windows).
#pragma once

#include <string>

namespace vd::platform {

// The library at `path`, or nullptr. A loaded library is never unloaded: the handle does
// not own anything that has to be released.
void* openLibrary(const std::string& path);

// The address of exported entry `name`, or nullptr.
void* findEntry(void* library, const char* name);

// The folder of the running program file.
std::string executableFolder();

}  // namespace vd::platform
