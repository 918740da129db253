#include "EventPump.h"

#include <QCoreApplication>

ThrottledEventPump::ThrottledEventPump(int intervalMs)
    : m_intervalMs(intervalMs)
{
    m_sinceLastRun.start();
}

void ThrottledEventPump::operator()()
{
    if (m_sinceLastRun.elapsed() < m_intervalMs)
        return;
    QCoreApplication::processEvents();
    m_sinceLastRun.restart();
}
