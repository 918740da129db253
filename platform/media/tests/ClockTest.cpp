#include "EventWait.h"
#include "Clock.h"
#include "MediaTestSupport.h"

#include <QElapsedTimer>
#include <QObject>

#include <gtest/gtest.h>

#include <memory>

TEST(VirtualClockTest, FiresDueTimersInTimeThenSetOrderAtTheirOwnTimes)
{
    VirtualClock clock;
    QStringList fired;
    auto note = [&](const char *name) { return [&, name] { fired << QString("%1@%2").arg(name).arg(clock.now()); }; };
    clock.singleShot(300, note("c"));
    clock.singleShot(100, note("a"));
    clock.singleShot(100, note("b"));  // same moment: after "a", which was set first
    clock.singleShot(301, note("late"));
    clock.advance(300);
    EXPECT_EQ(fired, QStringList({"a@100", "b@100", "c@300"}));
    EXPECT_EQ(clock.now(), 300);
    EXPECT_EQ(clock.pendingTimers(), 1);
    clock.advance(0);  // nothing newly due
    EXPECT_EQ(fired.size(), 3);
    clock.advance(1);
    EXPECT_EQ(fired.last(), "late@301");
}

TEST(VirtualClockTest, RepeatingTimersInterleaveAndStopWhenCancelled)
{
    VirtualClock clock;
    QStringList fired;
    MediaClock::TimerId fast = clock.repeating(200, [&] { fired << QString("f%1").arg(clock.now()); });
    clock.repeating(500, [&] { fired << QString("s%1").arg(clock.now()); });
    clock.advance(1000);
    // At 1000 both are due; the slow one was set again (at 500) before the
    // fast one (at 800), so it goes first.
    EXPECT_EQ(fired, QStringList({"f200", "f400", "s500", "f600", "f800", "s1000", "f1000"}));
    clock.cancel(fast);
    clock.cancel(fast);  // a spent id is ignored
    fired.clear();
    clock.advance(500);
    EXPECT_EQ(fired, QStringList({"s1500"}));
    EXPECT_EQ(clock.repeating(0, [&] { fired << "zero"; }), 0);
    clock.advance(100);
    EXPECT_FALSE(fired.contains("zero"));
}

TEST(VirtualClockTest, CallbacksMayWaitCancelAndSetTimers)
{
    VirtualClock clock;
    QStringList fired;
    MediaClock::TimerId victim = clock.singleShot(150, [&] { fired << "victim"; });
    clock.singleShot(100, [&] {
        fired << QString("outer%1").arg(clock.now());
        clock.cancel(victim);
        clock.singleShot(10, [&] { fired << QString("inner%1").arg(clock.now()); });
        clock.wait(50);  // a nested wait runs the inner timer at 110
        fired << QString("back%1").arg(clock.now());
    });
    clock.singleShot(400, [&] { fired << QString("last%1").arg(clock.now()); });
    clock.advance(500);
    EXPECT_EQ(fired, QStringList({"outer100", "inner110", "back150", "last400"}));
    EXPECT_EQ(clock.now(), 500);
}

TEST(VirtualClockTest, TimerOfADestroyedContextIsDropped)
{
    VirtualClock clock;
    int calls = 0;
    auto context = std::make_unique<QObject>();
    clock.repeating(100, [&] { ++calls; }, context.get());
    clock.advance(250);
    EXPECT_EQ(calls, 2);
    context.reset();
    clock.advance(500);
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(clock.pendingTimers(), 0);
}

TEST(ClockTimerTest, RunsOnTheInstalledClock)
{
    VirtualClock clock;
    setMediaClock(&clock);
    ClockTimer timer;
    int ticks = 0;
    QObject::connect(&timer, &ClockTimer::timeout, [&] { ++ticks; });
    timer.start(500);
    EXPECT_TRUE(timer.isActive());
    clock.advance(400);
    timer.setEnabled(true);  // already running: keeps its count
    clock.advance(1200);
    EXPECT_EQ(ticks, 3);
    timer.setEnabled(false);
    clock.advance(1000);
    EXPECT_EQ(ticks, 3);

    ClockTimer once;
    once.setSingleShot(true);
    int single = 0;
    QObject::connect(&once, &ClockTimer::timeout, [&] { ++single; });
    once.start(100);
    clock.advance(1000);
    EXPECT_EQ(single, 1);
    EXPECT_FALSE(once.isActive());
    setMediaClock(nullptr);
}

TEST(ClockTimerTest, ZeroIntervalNeverFires)
{
    VirtualClock clock;
    setMediaClock(&clock);
    ClockTimer timer;
    int ticks = 0;
    QObject::connect(&timer, &ClockTimer::timeout, [&] { ++ticks; });
    timer.start(0);
    EXPECT_FALSE(timer.isActive());
    clock.advance(10000);
    EXPECT_EQ(ticks, 0);
    setMediaClock(nullptr);
}

TEST(ClockTimerTest, OutlivesAReplacedClock)
{
    ClockTimer timer;
    {
        VirtualClock clock;
        setMediaClock(&clock);
        timer.start(100);
        setMediaClock(nullptr);
    }
    // The first clock is gone; stopping and restarting must not touch it.
    timer.stop();
    VirtualClock second;
    setMediaClock(&second);
    int ticks = 0;
    QObject::connect(&timer, &ClockTimer::timeout, [&] { ++ticks; });
    timer.start(100);
    second.advance(100);
    EXPECT_EQ(ticks, 1);
    timer.stop();
    setMediaClock(nullptr);
}

TEST(SystemClockTest, WaitsAndFiresInRealTime)
{
    ensureApplication();
    SystemClock clock;
    bool fired = false;
    clock.singleShot(20, [&] { fired = true; });
    QElapsedTimer elapsed;
    elapsed.start();
    clock.wait(60);
    EXPECT_GE(elapsed.elapsed(), 55);
    EXPECT_TRUE(fired);
    EXPECT_GE(clock.now(), 55);
    // A wait of nothing returns at once.
    elapsed.restart();
    clock.wait(0);
    clock.wait(-5);
    EXPECT_LT(elapsed.elapsed(), EventWaitMs);

    int ticks = 0;
    const MediaClock::TimerId id = clock.repeating(10, [&] { ++ticks; });
    clock.wait(55);
    clock.cancel(id);
    const int seen = ticks;
    EXPECT_GE(seen, 2);
    clock.wait(40);
    EXPECT_EQ(ticks, seen);
}

TEST(ClockTimerTest, MayBeRestartedOrStoppedFromItsOwnTimeout)
{
    VirtualClock clock;
    setMediaClock(&clock);
    ClockTimer once;
    once.setSingleShot(true);
    QList<qint64> onceTimes;
    QObject::connect(&once, &ClockTimer::timeout, [&] {
        onceTimes << clock.now();
        if (onceTimes.size() < 3)
            once.start(100);  // a single shot set again from its own timeout
    });
    once.start(100);

    ClockTimer repeat;
    QList<qint64> repeatTimes;
    QObject::connect(&repeat, &ClockTimer::timeout, [&] {
        repeatTimes << clock.now();
        if (repeatTimes.size() == 2)
            repeat.stop();
    });
    repeat.start(70);
    clock.advance(1000);
    EXPECT_EQ(onceTimes, QList<qint64>({100, 200, 300}));
    EXPECT_EQ(repeatTimes, QList<qint64>({70, 140}));
    EXPECT_EQ(clock.pendingTimers(), 0);
    setMediaClock(nullptr);
}
