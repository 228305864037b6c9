#include "library_loading.h"

#include <filesystem>

#include "utf8_path.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace vd::platform {

#if defined(_WIN32)

void* openLibrary(const std::string& path) {
    return static_cast<void*>(LoadLibraryW(pathFromUtf8(path).c_str()));
}

void* findEntry(void* library, const char* name) {
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library), name));
}

std::string executableFolder() {
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD len =
            GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (len < buffer.size()) {
            buffer.resize(len);
            break;
        }
        buffer.resize(buffer.size() * 2);
    }
    return utf8Text(std::filesystem::path(buffer).parent_path());
}

#else

void* openLibrary(const std::string& path) {
    return dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
}

void* findEntry(void* library, const char* name) {
    return dlsym(library, name);
}

std::string executableFolder() {
    return std::filesystem::read_symlink("/proc/self/exe").parent_path().string();
}

#endif

}  // namespace vd::platform
