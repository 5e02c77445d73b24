#pragma once

#include "platform/runtime/vberror.h"

#include <functional>

// The error-answer convention, in one place: a procedure runs its steps through
// Steps; when a step fails, the handler shows the failure and returns the
// operator's answer: 4 runs the step again, 5 goes on with the next step, any
// other answer leaves the procedure (every later step is skipped).
//
//     Steps paso = Pasos(QStringLiteral("Cfg"));   // the database layer's factory
//     paso([&] { ... });
//     for (...) {
//         if (!paso([&] { ... }))
//             break;                                // leaving: stop the loop too
//     }
//     if (paso.leaving())
//         return ...;                               // what the procedure holds
//
// A step returns false once the procedure is leaving, so a loop breaks on it
// rather than testing leaving() after each step.
class Steps
{
public:
    using Handler = std::function<int(const ErrObject &)>;
    static constexpr int Retry = 4;
    static constexpr int Ignore = 5;

    // Which failures the handler answers: every one, or only the run time's
    // errors; any other failure then goes on to the caller as it was thrown.
    enum class Traps { Everything, RunTimeErrors };

    explicit Steps(Handler onError, Traps traps = Traps::Everything)
        : m_onError(std::move(onError))
        , m_traps(traps)
    {}
    // Steps whose failures are skipped, unreported: each step runs whatever the one before did.
    static Steps IgnoringErrors() { return Steps(ignore); }
    // The same for the run time's errors only: out of memory or a fault of the
    // program still reaches whoever handles the caller's failures.
    static Steps IgnoringRunTimeErrors() { return Steps(ignore, Traps::RunTimeErrors); }

    // Runs one step; false once the procedure is leaving.
    bool operator()(const std::function<void()> &step);
    bool leaving() const { return m_leaving; }
    // The procedure's own decision to stop.
    void leave() { m_leaving = true; }
    // The answer that made the procedure leave (0 when none did).
    int lastAnswer() const { return m_lastAnswer; }

private:
    static int ignore(const ErrObject &) { return Ignore; }

    Handler m_onError;
    Traps m_traps;
    bool m_leaving = false;
    int m_lastAnswer = 0;
};
