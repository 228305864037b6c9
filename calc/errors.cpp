#include "errors.h"

namespace vd {

namespace {

// The read-error message's word for a failure that has no kind of its own.
constexpr std::string_view plainClassWord = "Exception";

}  // namespace

ErrorTexts errorTexts(ErrorCode code) noexcept {
    // No default: a code without its texts does not compile (-Wswitch).
    switch (code) {
        case ErrorCode::range:
            return {"ERangeError", "Range check error"};
        case ErrorCode::conversion:
            return {"EConvertError", ""};
        case ErrorCode::inOut:
            return {"EInOutError", ""};
        case ErrorCode::fetchCancelled:
            return {plainClassWord, "Fetching was cancelled"};
        case ErrorCode::calculation:
        case ErrorCode::libraryBinding:
        case ErrorCode::paramFile:
        case ErrorCode::threadStart:
        case ErrorCode::usage:
        case ErrorCode::fetch:
        case ErrorCode::fetchStalled:
            return {plainClassWord, ""};
    }
    return {plainClassWord, ""};
}

std::string_view classWordOf(const std::exception& e) noexcept {
    const auto* error = dynamic_cast<const Error*>(&e);
    return error ? errorTexts(error->code()).classWord : plainClassWord;
}

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
