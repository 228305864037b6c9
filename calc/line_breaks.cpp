#include "line_breaks.h"

#include <filesystem>
#include <fstream>
#include <system_error>

#include "errors.h"
#include "utf8_path.h"

namespace vd {
namespace fs = std::filesystem;

bool hasNonCrLfBreaks(std::string_view text) {
    for (std::size_t i = 1; i < text.size(); ++i) {
        if (text[i] == '\r' && (i + 1 >= text.size() || text[i + 1] != '\n')) return true;
        if (text[i] == '\n' && text[i - 1] != '\r') return true;
    }
    return false;
}

std::string toCrLf(std::string_view text) {
    text = text.substr(0, text.find('\0'));
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r') {
            out += "\r\n";
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else if (c == '\n') {
            out += "\r\n";
        } else {
            out += c;
        }
    }
    return out;
}

namespace {

bool ownerWritable(const fs::path& p) {
    std::error_code ec;
    const fs::file_status st = fs::status(p, ec);
    return !ec && (st.permissions() & fs::perms::owner_write) != fs::perms::none;
}

bool writeWhole(const fs::path& p, const std::string& text) {
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    out.close();
    return static_cast<bool>(out);
}

}  // namespace

bool replaceWithCrLfCopy(const std::string& path, const std::string& crlfText) {
    const fs::path file = pathFromUtf8(path);
    const fs::path folder = file.has_parent_path() ? file.parent_path() : fs::path(".");
    const fs::path keep = pathFromUtf8(path + ".unix");
    // Permission bits are checked, not just tried: an administrator can write anywhere,
    // but a file or folder marked read-only is the user's wish not to have it changed.
    if (!ownerWritable(file) || !ownerWritable(folder)) return false;

    std::error_code ec;
    if (fs::exists(keep, ec)) {
        if (!ownerWritable(keep) || !fs::remove(keep, ec)) return false;
    }
    fs::rename(file, keep, ec);
    if (ec) return false;
    if (writeWhole(file, crlfText)) return true;

    // Put the original back so that nothing is lost.
    fs::remove(file, ec);
    fs::rename(keep, file, ec);
    if (ec) throw CalcError("Unable to create temporary ROZ work file");
    return false;
}

}  // namespace vd
