#pragma once

#include <QObject>
#include <QPointer>
#include <QtGlobal>

#include <functional>
#include <map>

// The time base shared by the playback engine and the media back ends.
// Production code runs on SystemClock (real time, Qt timers); tests install a
// VirtualClock so that a whole song plays in a few milliseconds.
// Everything here lives on the user-interface thread.
class MediaClock {
public:
    using TimerId = int;
    using Callback = std::function<void()>;

    virtual ~MediaClock() = default;

    // Milliseconds since the clock was made; never goes backwards.
    virtual qint64 now() const = 0;

    // Runs fn once after ms milliseconds. When context is given and is
    // destroyed first, the timer is dropped. Returns an id for cancel().
    virtual TimerId singleShot(int ms, Callback fn, QObject *context = nullptr) = 0;
    // Runs fn every ms milliseconds until cancelled. An interval of 0 or less
    // never fires (a zero timer would spin) and returns 0.
    virtual TimerId repeating(int ms, Callback fn, QObject *context = nullptr) = 0;
    // Unknown or spent ids are ignored.
    virtual void cancel(TimerId id) = 0;

    // Waits ms milliseconds while events keep running (timers of this clock
    // fire meanwhile). A wait of 0 or less lets pending events run once.
    virtual void wait(int ms) = 0;
};

// Real time: QElapsedTimer for now(), QTimer for timers, QEventLoop for wait().
class SystemClock : public MediaClock {
public:
    SystemClock();
    ~SystemClock() override;

    qint64 now() const override;
    TimerId singleShot(int ms, Callback fn, QObject *context = nullptr) override;
    TimerId repeating(int ms, Callback fn, QObject *context = nullptr) override;
    void cancel(TimerId id) override;
    void wait(int ms) override;

private:
    struct Impl;
    Impl *d;
};

// Simulated time. advance(ms) moves the time forward and fires every timer
// that falls due on the way, earliest first (timers due at the same moment in
// the order they were set; a repeating timer counts as set again each time it
// fires), each at its own due time, so now() inside a
// callback reads the moment it was due. Media simulated on this clock move
// with it. wait(ms) lets pending events run once and then advances by ms, so
// code that waits under a VirtualClock does not block.
class VirtualClock : public MediaClock {
public:
    VirtualClock() = default;

    qint64 now() const override { return m_now; }
    TimerId singleShot(int ms, Callback fn, QObject *context = nullptr) override;
    TimerId repeating(int ms, Callback fn, QObject *context = nullptr) override;
    void cancel(TimerId id) override;
    void wait(int ms) override;

    // Moves the time forward by ms (0 or less only fires timers already due).
    // Callbacks may set, cancel, wait or advance again.
    void advance(qint64 ms);
    // Number of timers still pending.
    int pendingTimers() const { return int(m_timers.size()); }

private:
    struct Timer {
        qint64 due = 0;
        int interval = 0;  // 0 for a single shot
        quint64 order = 0; // tie-break for timers due at the same moment
        Callback fn;
        QPointer<QObject> context;
        bool hasContext = false;
    };
    TimerId add(int ms, int interval, Callback fn, QObject *context);
    bool fireNextDue(qint64 limit);

    qint64 m_now = 0;
    TimerId m_nextId = 1;
    quint64 m_nextOrder = 1;
    std::map<TimerId, Timer> m_timers;
};

// The process-wide clock. Starts as a SystemClock; tests install their own
// (not owned; pass nullptr to go back to the system clock).
MediaClock &mediaClock();
void setMediaClock(MediaClock *clock);
// Changes each time setMediaClock is called.
quint64 mediaClockGeneration();

// A QTimer-like timer on the current media clock (taken at start()). An
// interval of 0 or less never fires, as the timers the engine was designed on.
class ClockTimer : public QObject {
    Q_OBJECT
public:
    explicit ClockTimer(QObject *parent = nullptr);
    ~ClockTimer() override;

    void setInterval(int ms);
    int interval() const { return m_interval; }
    void setSingleShot(bool singleShot) { m_singleShot = singleShot; }
    bool isSingleShot() const { return m_singleShot; }
    bool isActive() const { return m_active; }
    // Enabled-style switch: true starts a stopped timer (a running one keeps
    // its count), false stops.
    void setEnabled(bool on);

public slots:
    void start();
    void start(int ms);
    void stop();

signals:
    void timeout();

private:
    void fire();

    int m_interval = 0;
    bool m_singleShot = false;
    bool m_active = false;
    MediaClock *m_clock = nullptr;
    quint64 m_generation = 0;
    MediaClock::TimerId m_id = 0;
};
