// The calculator's one failure type. Its code says what failed, and so where it is caught;
// its message, what() as the user sees it, says why.
#pragma once

#include <exception>
#include <stdexcept>
#include <string>
#include <string_view>

namespace vd {

enum class ErrorCode {
    range,           // an index outside its declared range, a number too large for its field
    conversion,      // a text that does not convert to the number its field needs
    inOut,           // a file that cannot be opened, read, renamed or written
    calculation,     // any other failure the calculator reports by message
    libraryBinding,  // the log-Pearson library or one of its entries is missing
    paramFile,       // a parameter file the reader refuses
    threadStart,     // not one thread of a batch could be started
    usage,           // a command line that cannot be understood; the message names the option
    fetch,           // a site that could not be fetched
    fetchStalled,    // an answer that stopped coming: worth asking again
    fetchCancelled,  // the user stopped the fetching
};

// The fixed texts of a code, all kept in one table.
struct ErrorTexts {
    // The kind of failure as the read-error message names it.
    std::string_view classWord;
    // The message of a failure raised without one of its own; empty for a code that is
    // always raised with its own.
    std::string_view defaultMessage;
};
ErrorTexts errorTexts(ErrorCode code) noexcept;

class Error : public std::runtime_error {
  public:
    Error(ErrorCode code, const std::string& message) : std::runtime_error(message), code_(code) {}
    // A failure with its code's default message.
    explicit Error(ErrorCode code) : Error(code, std::string(errorTexts(code).defaultMessage)) {}

    ErrorCode code() const noexcept { return code_; }

  private:
    ErrorCode code_;
};

// The kind of failure the read-error message names for `e`: its code's class word, or
// "Exception" for a failure that is no vd::Error.
std::string_view classWordOf(const std::exception& e) noexcept;

// A fetch's failures: a site that could not be fetched, stalled or cancelled included.
constexpr bool isFetchFailure(ErrorCode code) noexcept {
    return code == ErrorCode::fetch || code == ErrorCode::fetchStalled ||
           code == ErrorCode::fetchCancelled;
}

// An offending field as a message quotes it: its first 40 characters, then "…" when it is
// longer, so that a huge field cannot flood a message box or a log.
std::string fieldExcerpt(std::string_view text);

std::string invalidIntegerMessage(std::string_view text);
std::string invalidFloatMessage(std::string_view text);
// A number that is no finite flow (nan, inf, or too large to add up over a series).
std::string invalidFlowMessage(std::string_view text);

}  // namespace vd
