#include "platform/runtime/vberror.h"
#include "tests/support/raised_error.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct StepCase
{
    const char *nombre;
    std::vector<int> answers;  // answers the handler gives, in order
    int failuresOfStep2;       // how many times step 2 fails before it succeeds
    std::vector<int> expected; // steps that completed, in order
    bool leaving;
};

void PrintTo(const StepCase &c, std::ostream *os)
{
    *os << c.nombre;
}

class StepsTest : public ::testing::TestWithParam<StepCase>
{};

TEST_P(StepsTest, FollowsTheAnswer)
{
    const StepCase &c = GetParam();
    size_t asked = 0;
    Steps steps([&](const ErrObject &e) {
        EXPECT_EQ(e.Number, vberr::DivisionByZero);
        return asked < c.answers.size() ? c.answers[asked++] : 0;
    });
    std::vector<int> done;
    int failures = c.failuresOfStep2;
    steps([&] { done.push_back(1); });
    steps([&] {
        if (failures-- > 0)
            Raise(vberr::DivisionByZero);
        done.push_back(2);
    });
    steps([&] { done.push_back(3); });
    EXPECT_EQ(done, c.expected);
    EXPECT_EQ(steps.leaving(), c.leaving);
}

INSTANTIATE_TEST_SUITE_P(Answers,
                         StepsTest,
                         ::testing::Values(StepCase{"NoFailure", {}, 0, {1, 2, 3}, false},
                                           StepCase{"RetryThenSucceed", {4, 4}, 2, {1, 2, 3}, false},
                                           StepCase{"IgnoreSkipsTheStep", {5}, 1, {1, 3}, false},
                                           StepCase{"AbortLeaves", {3}, 1, {1}, true},
                                           StepCase{"RetryThenLeave", {4, 2}, 5, {1}, true},
                                           StepCase{"ZeroLeaves", {0}, 1, {1}, true}),
                         [](const auto &info) { return std::string(info.param.nombre); });

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
