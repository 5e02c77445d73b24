#include "platform/runtime/steps.h"

#include <gtest/gtest.h>

#include <functional>
#include <new>
#include <stdexcept>
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

// Skipping only the run time's errors leaves any other failure to the caller,
// where skipping every error swallows it too.
TEST(Steps, WhatASkippingProcedureTraps)
{
    struct Caso
    {
        const char *nombre;
        std::function<void()> falla;
        bool sigueDeLargo; // reaches the caller of the run-time-only steps
    };
    const Caso casos[] = {
        {"run-time error", [] { Raise(vberr::Overflow); }, false},
        {"out of memory", [] { throw std::bad_alloc(); }, true},
        {"fault of the program", [] { throw std::out_of_range("at"); }, true},
    };
    for (const Caso &c : casos) {
        SCOPED_TRACE(c.nombre);
        Steps todos = Steps::IgnoringErrors();
        EXPECT_TRUE(todos(c.falla));
        EXPECT_FALSE(todos.leaving());

        Steps soloRunTime = Steps::IgnoringRunTimeErrors();
        bool llego = false;
        try {
            EXPECT_TRUE(soloRunTime(c.falla));
        } catch (...) {
            llego = true;
        }
        EXPECT_EQ(llego, c.sigueDeLargo);
        EXPECT_FALSE(soloRunTime.leaving());
        // Either way the procedure goes on with its next step.
        bool siguiente = false;
        EXPECT_TRUE(soloRunTime([&] { siguiente = true; }));
        EXPECT_TRUE(siguiente);
    }
}

} // namespace
