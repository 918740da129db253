#include "DisplayServer.h"

#include <gtest/gtest.h>

TEST(DisplayServer, AWaylandSessionRunsOnXWaylandUnlessTheUserChose)
{
    EXPECT_EQ(DisplayServer::platformFor("wayland", ""), "xcb;wayland");
    EXPECT_EQ(DisplayServer::platformFor("Wayland", ""), "xcb;wayland");
    EXPECT_EQ(DisplayServer::platformFor("wayland", "wayland"), "") << "the user's choice stands";
    EXPECT_EQ(DisplayServer::platformFor("wayland", "offscreen"), "");
    EXPECT_EQ(DisplayServer::platformFor("x11", ""), "");
    EXPECT_EQ(DisplayServer::platformFor("", ""), "");
}

TEST(DisplayServer, TheEnvironmentIsSetBeforeTheApplicationStarts)
{
    const QByteArray session = qgetenv("XDG_SESSION_TYPE");
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    qputenv("XDG_SESSION_TYPE", "wayland");
    qunsetenv("QT_QPA_PLATFORM");
    DisplayServer::PreferX11UnderWayland();
    EXPECT_EQ(qgetenv("QT_QPA_PLATFORM"), "xcb;wayland");
    qputenv("QT_QPA_PLATFORM", "wayland");
    DisplayServer::PreferX11UnderWayland();
    EXPECT_EQ(qgetenv("QT_QPA_PLATFORM"), "wayland");
    qputenv("XDG_SESSION_TYPE", session);
    qputenv("QT_QPA_PLATFORM", platform);
}
