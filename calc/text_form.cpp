#include "text_form.h"

#include <algorithm>
#include <cstdint>
#include <optional>

#include "errors.h"

namespace vd {
namespace {

enum class Utf16 { little, big };

std::optional<Utf16> utf16Mark(std::string_view b) {
    if (b.size() < 2) return std::nullopt;
    const auto b0 = static_cast<unsigned char>(b[0]);
    const auto b1 = static_cast<unsigned char>(b[1]);
    if (b0 == 0xFF && b1 == 0xFE) return Utf16::little;
    if (b0 == 0xFE && b1 == 0xFF) return Utf16::big;
    return std::nullopt;
}

void appendUtf8(std::string& out, std::uint32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// UTF-16 code units after the mark as UTF-8; a lone surrogate becomes U+FFFD.
std::string decodeUtf16(std::string_view units, Utf16 order) {
    const auto unitAt = [&](std::size_t i) -> std::uint32_t {
        const auto a = static_cast<unsigned char>(units[i]);
        const auto b = static_cast<unsigned char>(units[i + 1]);
        return order == Utf16::little ? (b << 8 | a) : (a << 8 | b);
    };
    constexpr std::uint32_t replacement = 0xFFFD;
    std::string out;
    out.reserve(units.size() / 2);
    for (std::size_t i = 0; i + 1 < units.size(); i += 2) {
        const std::uint32_t u = unitAt(i);
        if (u >= 0xD800 && u <= 0xDBFF && i + 3 < units.size()) {
            const std::uint32_t low = unitAt(i + 2);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                appendUtf8(out, 0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00));
                i += 2;
                continue;
            }
        }
        appendUtf8(out, u >= 0xD800 && u <= 0xDFFF ? replacement : u);
    }
    return out;
}

bool isControl(unsigned char c) {
    const bool allowed = c == '\t' || c == '\n' || c == '\r' || c == '\f';
    return (c < 0x20 && !allowed) || c == 0x7F;
}

[[noreturn]] void refuseAsNoText(const std::string& path) {
    throw Error(ErrorCode::calculation,
                "The file \"" + path + "\" is not a flow file in text format");
}

}  // namespace

bool looksBinary(std::string_view text) {
    if (text.find('\0') != std::string_view::npos) return true;
    const std::string_view head = text.substr(0, textProbeBytes);
    const auto controls = std::count_if(
        head.begin(), head.end(), [](char c) { return isControl(static_cast<unsigned char>(c)); });
    return static_cast<std::size_t>(controls) * 20 > head.size();
}

std::string flowTextOf(std::string bytes, const std::string& path) {
    if (const std::optional<Utf16> order = utf16Mark(bytes)) {
        if (bytes.size() % 2 != 0) refuseAsNoText(path);
        bytes = decodeUtf16(std::string_view(bytes).substr(2), *order);
    } else if (bytes.starts_with("\xEF\xBB\xBF")) {
        bytes.erase(0, 3);
    }
    if (looksBinary(bytes)) refuseAsNoText(path);
    return bytes;
}

}  // namespace vd
