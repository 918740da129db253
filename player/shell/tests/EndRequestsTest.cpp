// Ends that come from outside the player's windows arrive as one signal on the event loop.

#include "ShellTestSupport.h"

#include "EndRequests.h"
#include "EventWait.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <csignal>
#include <gtest/gtest.h>

TEST(EndRequests, TerminateInterruptAndHangUpEachArriveOnTheEventLoop)
{
    ShellTest::app();
    EndRequests outside;
    int requests = 0;
    QObject::connect(&outside, &EndRequests::requested, [&] { ++requests; });
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
        const int before = requests;
        ASSERT_EQ(::raise(signal), 0);  // the process lives on: the signal is caught
        QElapsedTimer waited;
        waited.start();
        while (requests == before && waited.elapsed() < EventWaitMs) QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        EXPECT_EQ(requests, before + 1) << signal;
    }
}
