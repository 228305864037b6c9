#include "errors.h"

namespace vd {

std::string fieldExcerpt(std::string_view text) {
    constexpr std::size_t maxCharacters = 40;
    std::size_t characters = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        // A character starts at any byte that is not a UTF-8 continuation byte.
        if ((static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) continue;
        if (characters++ == maxCharacters) return std::string(text.substr(0, i)) + "\xE2\x80\xA6";
    }
    return std::string(text);
}

namespace {

// The excerpt quoted and followed by `what`. Built by appending: "'" + a temporary string
// makes GCC 12 at -O3 warn of an overlapping copy that cannot happen (-Wrestrict).
std::string quotedExcerpt(std::string_view text, const char* what) {
    std::string message = "'";
    message.append(fieldExcerpt(text)).append("' ").append(what);
    return message;
}

}  // namespace

std::string invalidIntegerMessage(std::string_view text) {
    return quotedExcerpt(text, "is not a valid integer value");
}

std::string invalidFloatMessage(std::string_view text) {
    return quotedExcerpt(text, "is not a valid floating point value");
}

std::string invalidFlowMessage(std::string_view text) {
    return quotedExcerpt(text, "is not a valid flow value");
}

}  // namespace vd
