#include "input_file.h"

#include "utf8_path.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "errors.h"

namespace vd {
namespace fs = std::filesystem;
namespace {

// Opening a named pipe for reading waits for a writer, and a device may never end: the
// kind of file is settled before anything is opened.
void refuseAnythingButARegularFile(const std::string& path) {
    if (const char* kind = nonRegularFileKind(path))
        throw Error(ErrorCode::inOut, "\"" + path + "\" is " + kind + ", not a flow file");
}

}  // namespace

const char* nonRegularFileKind(const std::string& path) {
    std::error_code ec;
    const fs::file_status st = fs::status(pathFromUtf8(path), ec);
    if (ec || !fs::exists(st) || fs::is_regular_file(st)) return nullptr;
    if (fs::is_directory(st)) return "a folder";
    if (fs::is_fifo(st)) return "a named pipe";
    if (fs::is_socket(st)) return "a socket";
    if (fs::is_block_file(st) || fs::is_character_file(st)) return "a device";
    return "something other than a regular file";
}

std::string readInputFile(const std::string& path) {
    refuseAnythingButARegularFile(path);
    std::ifstream in(pathFromUtf8(path), std::ios::in | std::ios::binary);
    if (!in)
        throw Error(ErrorCode::inOut, "Cannot open file \"" + path + "\": " + std::strerror(errno));
    std::string text;
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    if (size > 0) {
        text.resize(static_cast<std::size_t>(size));
        in.seekg(0, std::ios::beg);
        in.read(text.data(), size);
    }
    if (!in) throw Error(ErrorCode::inOut, "Cannot read file \"" + path + "\"");
    return text;
}

}  // namespace vd
