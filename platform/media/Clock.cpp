#include "Clock.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <limits>

// ---- SystemClock ----------------------------------------------------------

struct SystemClock::Impl {
    QElapsedTimer elapsed;
    TimerId nextId = 1;
    std::map<TimerId, QTimer *> timers;
};

SystemClock::SystemClock() : d(new Impl) { d->elapsed.start(); }

SystemClock::~SystemClock()
{
    for (auto &entry : d->timers)
        delete entry.second;
    delete d;
}

qint64 SystemClock::now() const { return d->elapsed.elapsed(); }

namespace {
MediaClock::TimerId startQtTimer(std::map<MediaClock::TimerId, QTimer *> &timers, MediaClock::TimerId id, int ms,
                                 bool single, MediaClock::Callback fn, QObject *context)
{
    auto *timer = new QTimer;
    timer->setSingleShot(single);
    timer->setInterval(qMax(0, ms));
    const bool hasContext = context != nullptr;
    QPointer<QObject> guard(context);
    QObject::connect(timer, &QTimer::timeout, [&timers, id, single, fn, hasContext, guard]() {
        auto it = timers.find(id);
        if (it == timers.end())
            return;
        if (hasContext && !guard) {
            it->second->deleteLater();
            timers.erase(it);
            return;
        }
        if (single) {
            it->second->deleteLater();
            timers.erase(it);
        }
        fn();
    });
    timers[id] = timer;
    timer->start();
    return id;
}
} // namespace

MediaClock::TimerId SystemClock::singleShot(int ms, Callback fn, QObject *context)
{
    return startQtTimer(d->timers, d->nextId++, ms, true, std::move(fn), context);
}

MediaClock::TimerId SystemClock::repeating(int ms, Callback fn, QObject *context)
{
    if (ms <= 0)
        return 0;
    return startQtTimer(d->timers, d->nextId++, ms, false, std::move(fn), context);
}

void SystemClock::cancel(TimerId id)
{
    auto it = d->timers.find(id);
    if (it == d->timers.end())
        return;
    it->second->stop();
    it->second->deleteLater();
    d->timers.erase(it);
}

void SystemClock::wait(int ms)
{
    if (ms <= 0) {
        QCoreApplication::processEvents();
        return;
    }
    // A local loop with its own deadline, so that waits nest.
    QEventLoop loop;
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, &loop, &QEventLoop::quit);
    deadline.start(ms);
    loop.exec();
}

// ---- VirtualClock ---------------------------------------------------------

MediaClock::TimerId VirtualClock::add(int ms, int interval, Callback fn, QObject *context)
{
    Timer timer;
    timer.due = m_now + qMax(0, ms);
    timer.interval = interval;
    timer.order = m_nextOrder++;
    timer.fn = std::move(fn);
    timer.context = context;
    timer.hasContext = context != nullptr;
    const TimerId id = m_nextId++;
    m_timers.emplace(id, std::move(timer));
    return id;
}

MediaClock::TimerId VirtualClock::singleShot(int ms, Callback fn, QObject *context)
{
    return add(ms, 0, std::move(fn), context);
}

MediaClock::TimerId VirtualClock::repeating(int ms, Callback fn, QObject *context)
{
    if (ms <= 0)
        return 0;
    return add(ms, ms, std::move(fn), context);
}

void VirtualClock::cancel(TimerId id) { m_timers.erase(id); }

bool VirtualClock::fireNextDue(qint64 limit)
{
    auto next = m_timers.end();
    for (auto it = m_timers.begin(); it != m_timers.end(); ++it) {
        if (it->second.due > limit)
            continue;
        if (next == m_timers.end() || it->second.due < next->second.due ||
            (it->second.due == next->second.due && it->second.order < next->second.order))
            next = it;
    }
    if (next == m_timers.end())
        return false;

    const TimerId id = next->first;
    Timer &timer = next->second;
    if (timer.due > m_now)
        m_now = timer.due;
    if (timer.hasContext && !timer.context) {
        m_timers.erase(next);
        return true;
    }
    Callback fn = timer.fn;  // the callback may cancel its own timer
    if (timer.interval > 0) {
        timer.due += timer.interval;
        timer.order = m_nextOrder++;
    } else {
        m_timers.erase(next);
    }
    Q_UNUSED(id)
    fn();
    return true;
}

void VirtualClock::advance(qint64 ms)
{
    const qint64 target = m_now + qMax<qint64>(0, ms);
    // A callback may advance the clock itself (a nested wait); the loop then
    // simply carries on from the later time.
    while (fireNextDue(target)) {
    }
    if (target > m_now)
        m_now = target;
}

void VirtualClock::wait(int ms)
{
    if (QCoreApplication::instance())
        QCoreApplication::processEvents();
    advance(ms);
}

// ---- the process-wide clock ----------------------------------------------

namespace {
MediaClock *g_installed = nullptr;
quint64 g_generation = 0;

// Never destroyed: media devices held in other statics still stop their timers
// while the process ends, after function-local statics have gone.
MediaClock &systemClock()
{
    static SystemClock *clock = new SystemClock;
    return *clock;
}
} // namespace

MediaClock &mediaClock() { return g_installed ? *g_installed : systemClock(); }

void setMediaClock(MediaClock *clock)
{
    g_installed = clock;
    ++g_generation;
}

// A timer started on a clock that has since been replaced (and perhaps
// destroyed) must not touch it again; the generation tells.
quint64 mediaClockGeneration() { return g_generation; }

// ---- ClockTimer ----------------------------------------------------------

ClockTimer::ClockTimer(QObject *parent) : QObject(parent) {}

ClockTimer::~ClockTimer() { stop(); }

void ClockTimer::setInterval(int ms)
{
    m_interval = ms;
    if (m_active)
        start();
}

void ClockTimer::setEnabled(bool on)
{
    if (on && !m_active)
        start();
    else if (!on)
        stop();
}

void ClockTimer::start(int ms)
{
    m_interval = ms;
    start();
}

void ClockTimer::start()
{
    stop();
    if (m_interval <= 0)
        return;  // never fires; not active, as a disabled timer
    m_clock = &mediaClock();
    m_generation = mediaClockGeneration();
    m_active = true;
    if (m_singleShot)
        m_id = m_clock->singleShot(m_interval, [this] { fire(); }, this);
    else
        m_id = m_clock->repeating(m_interval, [this] { fire(); }, this);
}

void ClockTimer::stop()
{
    if (m_active && m_clock && m_generation == mediaClockGeneration())
        m_clock->cancel(m_id);
    m_active = false;
    m_clock = nullptr;
    m_id = 0;
}

void ClockTimer::fire()
{
    if (m_singleShot) {
        m_active = false;
        m_id = 0;
        m_clock = nullptr;
    }
    emit timeout();
}
