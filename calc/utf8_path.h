// File names travel through the program as UTF-8 text. A std::filesystem::path made from a
// plain std::string reads it in the system's code page on Windows, which need not be UTF-8,
// so every file is named through these two.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace vd {

inline std::filesystem::path pathFromUtf8(std::string_view text) {
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

inline std::string utf8Text(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

}  // namespace vd
