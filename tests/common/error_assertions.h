// Assertions on the calculator's failures: a statement must fail with a vd::Error of the
// expected code, since every failure is of that one type and only its code tells them apart.
#pragma once

#include <gtest/gtest.h>

#include "errors.h"

namespace vd::test {

inline ::testing::AssertionResult hasCode(const Error& e, ErrorCode expected) {
    if (e.code() == expected) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "error code " << static_cast<int>(e.code()) << " instead of "
           << static_cast<int>(expected) << ": " << e.what();
}

// Any other exception leaves the test, which reports it.
template <class Statement>
::testing::AssertionResult throwsError(Statement&& statement, ErrorCode expected) {
    try {
        statement();
    } catch (const Error& e) {
        return hasCode(e, expected);
    }
    return ::testing::AssertionFailure() << "no vd::Error thrown";
}

}  // namespace vd::test

// EXPECT_THROW for the calculator's failures: `statement` throws a vd::Error of `code`.
#define EXPECT_ERROR_CODE(statement, code) \
    EXPECT_TRUE(::vd::test::throwsError([&] { (void)(statement); }, (code)))
