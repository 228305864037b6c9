// The one failure type's table of fixed texts, and the read-error message, the one place a
// user sees a failure's class word.
#include <gtest/gtest.h>

#include <exception>
#include <stdexcept>
#include <string>

#include "errors.h"
#include "gage_rows.h"
#include "vando_version.h"

namespace {

using vd::Error;
using vd::ErrorCode;

TEST(ErrorTable, EachCodeHasItsClassWordAndDefaultMessage) {
    const struct {
        ErrorCode code;
        const char* classWord;
        const char* defaultMessage;
    } cases[] = {
        {ErrorCode::range, "ERangeError", "Range check error"},
        {ErrorCode::conversion, "EConvertError", ""},
        {ErrorCode::inOut, "EInOutError", ""},
        {ErrorCode::calculation, "Exception", ""},
        {ErrorCode::libraryBinding, "Exception", ""},
        {ErrorCode::paramFile, "Exception", ""},
        {ErrorCode::threadStart, "Exception", ""},
        {ErrorCode::usage, "Exception", ""},
        {ErrorCode::fetch, "Exception", ""},
        {ErrorCode::fetchStalled, "Exception", ""},
        {ErrorCode::fetchCancelled, "Exception", "Fetching was cancelled"},
    };
    for (const auto& c : cases) {
        const int code = static_cast<int>(c.code);
        EXPECT_EQ(vd::errorTexts(c.code).classWord, c.classWord) << "code " << code;
        EXPECT_EQ(vd::errorTexts(c.code).defaultMessage, c.defaultMessage) << "code " << code;
        const Error plain(c.code);
        EXPECT_EQ(plain.code(), c.code);
        EXPECT_STREQ(plain.what(), c.defaultMessage) << "code " << code;
        EXPECT_EQ(vd::classWordOf(plain), c.classWord) << "code " << code;
        // A message of its own replaces the default; the code stays.
        const Error told(c.code, "told");
        EXPECT_EQ(told.code(), c.code);
        EXPECT_STREQ(told.what(), "told");
    }
    EXPECT_EQ(vd::classWordOf(std::runtime_error("other")), "Exception");
}

TEST(ErrorTable, FetchFailuresAreTheFetchCodes) {
    EXPECT_TRUE(vd::isFetchFailure(ErrorCode::fetch));
    EXPECT_TRUE(vd::isFetchFailure(ErrorCode::fetchStalled));
    EXPECT_TRUE(vd::isFetchFailure(ErrorCode::fetchCancelled));
    for (const ErrorCode other : {ErrorCode::range, ErrorCode::conversion, ErrorCode::inOut,
                                  ErrorCode::calculation, ErrorCode::usage})
        EXPECT_FALSE(vd::isFetchFailure(other)) << static_cast<int>(other);
}

TEST(ReadErrorMessage, QuotesTheClassWordAndMessageOfTheFailure) {
    std::string start = "VANDO ";
    start.append(vd::version::text)
        .append(
            " is unable to read the file \"/d/a.txt\". Please confirm \nthat this file "
            "exists and that it is a valid flow file in text format.\n\n");
    const struct {
        const char* name;
        std::exception_ptr failure;
        const char* quoted;
    } cases[] = {
        {"range", std::make_exception_ptr(Error(ErrorCode::range)),
         "(Exception class name = ERangeError, message = Range check error)"},
        {"conversion", std::make_exception_ptr(Error(ErrorCode::conversion, "'x' is bad")),
         "(Exception class name = EConvertError, message = 'x' is bad)"},
        {"in-out", std::make_exception_ptr(Error(ErrorCode::inOut, "File not found")),
         "(Exception class name = EInOutError, message = File not found)"},
        {"calculation", std::make_exception_ptr(Error(ErrorCode::calculation, "no records")),
         "(Exception class name = Exception, message = no records)"},
        {"not the calculator's", std::make_exception_ptr(std::logic_error("broken")),
         "(Exception class name = Exception, message = broken)"},
    };
    for (const auto& c : cases) {
        try {
            std::rethrow_exception(c.failure);
        } catch (const std::exception& e) {
            EXPECT_EQ(vd::readErrorMessage("/d/a.txt", e, "\n"), start + c.quoted) << c.name;
        }
    }
}

}  // namespace
