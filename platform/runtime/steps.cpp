#include "platform/runtime/steps.h"

bool Steps::operator()(const std::function<void()> &step)
{
    while (!m_leaving) {
        int answer = 0;
        try {
            step();
            return true;
        } catch (const VbException &e) {
            answer = m_onError ? m_onError(e.err()) : 0;
        } catch (...) {
            if (m_traps == Traps::RunTimeErrors)
                throw;
            answer = m_onError ? m_onError(CurrentError(std::current_exception())) : 0;
        }
        if (answer == Retry)
            continue;
        if (answer == Ignore)
            return true;
        m_lastAnswer = answer;
        m_leaving = true;
    }
    return false;
}
