#pragma once

#include <QElapsedTimer>
#include <functional>

// Called by the conversion loops after each field and line so that the window
// can handle its events (the stop button, repaints) during a long run.
using LetEventsRun = std::function<void()>;

// Lets the event loop run at most once every few milliseconds, so that a call
// after every field costs next to nothing.
class ThrottledEventPump
{
public:
    explicit ThrottledEventPump(int intervalMs = 30);
    void operator()();

private:
    QElapsedTimer m_sinceLastRun;
    int m_intervalMs;
};
