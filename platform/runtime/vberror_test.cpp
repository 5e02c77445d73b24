#include "platform/runtime/vberror.h"
#include "tests/support/error_provocado.h"

#include <gtest/gtest.h>

namespace {

TEST(Raise, UsesTheRunTimeTextWhenNoneIsGiven)
{
    const ErrObject e = RaisedError([] { Raise(vberr::Overflow); });
    EXPECT_EQ(e.Number, 6);
    EXPECT_EQ(e.Description, QStringLiteral("Desbordamiento"));
}

TEST(CurrentError, MapsForeignExceptions)
{
    const ErrObject e = CurrentError(std::make_exception_ptr(std::runtime_error("boom")));
    EXPECT_EQ(e.Number, vberr::InternalError);
    EXPECT_EQ(e.Description, QStringLiteral("boom"));
}

} // namespace
