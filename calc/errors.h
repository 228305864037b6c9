// Typed failures of the calculator. The window and the command-line program show
// `className()` and `what()` the same way, so every failure carries both.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace vd {

class VandoError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
    virtual const char* className() const noexcept = 0;
};

// An index outside its declared range, or a number too large for its field.
class RangeError : public VandoError {
  public:
    explicit RangeError(const std::string& msg = "Range check error") : VandoError(msg) {}
    const char* className() const noexcept override { return "ERangeError"; }
};

// A text that does not convert to the number its field needs.
class ConvertError : public VandoError {
  public:
    using VandoError::VandoError;
    const char* className() const noexcept override { return "EConvertError"; }
};

// A file that cannot be opened, read, renamed or written.
class InOutError : public VandoError {
  public:
    using VandoError::VandoError;
    const char* className() const noexcept override { return "EInOutError"; }
};

// Any other failure the calculator reports by message (conversion of line breaks, limits).
class CalcError : public VandoError {
  public:
    using VandoError::VandoError;
    const char* className() const noexcept override { return "Exception"; }
};

// An offending field as a message quotes it: its first 40 characters, then "…" when it is
// longer, so that a huge field cannot flood a message box or a log.
std::string fieldExcerpt(std::string_view text);

std::string invalidIntegerMessage(std::string_view text);
std::string invalidFloatMessage(std::string_view text);
// A number that is no finite flow (nan, inf, or too large to add up over a series).
std::string invalidFlowMessage(std::string_view text);

}  // namespace vd
