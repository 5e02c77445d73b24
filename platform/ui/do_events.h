#pragma once

// The run time's DoEvents for work that keeps the user-interface thread for a
// long time: windows paint, timers and posted work run, and the operator's
// keys, clicks and wheel turns that arrived meanwhile are dropped, not kept
// for later. So nothing the operator does while the work runs can change the
// grids or the values it is working on, nor start it a second time.
#include <QElapsedTimer>
#include <QEvent>

namespace ui {

// The operator's own input: keys, clicks, wheel turns, context menus, text
// from an input method, touch, tablet and drops. What DoEvents drops and a
// window busy with a run refuses; paint, timers and posted work are none of it.
bool IsOperatorInput(QEvent::Type type);

void DoEvents();

// DoEvents at most once per interval, the first call always: for a loop
// that would yield at each of thousands of short steps, where each yield
// costs more than the step and the screen cannot show them anyway.
class DoEventsEvery
{
public:
    explicit DoEventsEvery(int milliseconds = 50)
        : m_interval(milliseconds)
    {}
    void operator()()
    {
        if (m_last.isValid() && !m_last.hasExpired(m_interval))
            return;
        DoEvents();
        m_last.start();
    }

private:
    int m_interval;
    QElapsedTimer m_last;
};

} // namespace ui
